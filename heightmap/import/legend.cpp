// The legend: the colour text of `gdaldem color-relief`, one band per line, "ELEVATION R G B
// [A]", fields apart by spaces, tabs, commas or colons, "#" starting a comment. Percentages and
// "nv" have no meaning for a map whose bands are the heights, so they are refused.
#include <charconv>
#include <cmath>
#include <string>

#include "map_import.h"

namespace quarn {

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r,:", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t\r,:", start), line.size());
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Why the line's fields are no band, or empty when entry holds it.
std::string ReadEntry(const std::vector<std::string_view>& fields, LegendEntry& entry) {
    if (fields[0].ends_with('%'))
        return "a percentage elevation (" + std::string(fields[0]) + ") is not taken, only heights";
    if (fields[0] == "nv" || fields[0] == "NV")
        return "\"nv\" (no data) is not a band";
    if (fields.size() != 4 && fields.size() != 5)
        return "takes ELEVATION R G B [A]";
    if (!ParseNumber(fields[0], entry.elevation) || !std::isfinite(entry.elevation))
        return "\"" + std::string(fields[0]) + "\" is not an elevation";
    int components[4] = {0, 0, 0, 0};
    for (std::size_t i = 1; i < fields.size(); ++i) {
        int& component = components[i - 1];
        if (!ParseNumber(fields[i], component))
            return "\"" + std::string(fields[i]) + "\" is not a whole number";
        if (component < 0 || component > 255)
            return "colour component " + std::to_string(component) + " is outside 0 to 255";
    }
    entry.colour = PackRGB(components[0], components[1], components[2]);
    return {};
}

}  // namespace

LegendReading ParseLegend(std::string_view text) {
    LegendReading reading;
    std::vector<int> lineOfEntry;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line = line.substr(0, line.find('#'));
        const auto fields = Fields(line);
        if (fields.empty())
            continue;
        const std::string where = "Line " + std::to_string(lineNumber) + ": ";
        if (reading.entries.size() == kMaxBands)
            return {{}, where + "more than 16 bands"};
        LegendEntry entry;
        if (const std::string why = ReadEntry(fields, entry); !why.empty())
            return {{}, where + why};
        for (std::size_t i = 0; i < reading.entries.size(); ++i)
            if (reading.entries[i].colour == entry.colour)
                return {{},
                        where + "the colour of line " + std::to_string(lineOfEntry[i]) + " again"};
        reading.entries.push_back(entry);
        lineOfEntry.push_back(lineNumber);
    }
    if (reading.entries.empty())
        reading.refusal = "The legend names no band";
    return reading;
}

std::string ElevationText(double elevation) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, elevation).ptr;
    return {text, end};
}

}  // namespace quarn

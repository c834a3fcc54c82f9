#include "world_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

#include "message_box.h"

namespace quarn {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The candidate names of image's world file, in the order they are looked for.
std::vector<fs::path> WorldFileNames(const std::string& image) {
    const fs::path path(image);
    std::string extension = path.extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    std::vector<fs::path> names;
    const auto add = [&](const std::string& replacement) {
        names.push_back(fs::path(path).replace_extension(replacement));
    };
    for (const std::string& e : {extension, Lower(extension)}) {
        const std::string w = e == Lower(e) ? "w" : "W";
        if (e.size() >= 2)
            add(e.substr(0, 1) + e.back() + w);
        add(e + w);
    }
    add("wld");
    return names;
}

std::string Trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

std::string Refusal(const std::string& fileName, const std::string& why) {
    return "World file \"" + fs::path(fileName).filename().string() + "\" " + why;
}

}  // namespace

std::optional<std::string> FindWorldFile(const std::string& image) {
    for (const fs::path& candidate : WorldFileNames(image)) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error))
            return candidate.string();
    }
    return std::nullopt;
}

std::string WorldFileName(const std::string& image) {
    return WorldFileNames(image)[0].string();
}

std::optional<Georeference> ParseWorldFile(const std::string& text, const std::string& fileName) {
    std::array<double, 6> v{};
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (count < 6 && std::getline(lines, line)) {
        const std::string number = Trimmed(line);
        if (number.empty() && count == 0)
            continue;
        double value = 0;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), value);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
            !std::isfinite(value)) {
            ShowErrorBox(Refusal(fileName, "has no number on line " + std::to_string(count + 1) +
                                               ": \"" + number + "\"."));
            return std::nullopt;
        }
        v[std::size_t(count++)] = value;
    }
    if (count < 6) {
        ShowErrorBox(Refusal(
            fileName, "has " + std::to_string(count) + " of the six numbers that place a map."));
        return std::nullopt;
    }
    const double a = v[0], d = v[1], b = v[2], e = v[3], c = v[4], f = v[5];
    if (b != 0 || d != 0) {
        ShowErrorBox(Refusal(fileName, "turns the map: only maps with north up can be placed."));
        return std::nullopt;
    }
    if (!(a > 0) || !(e < 0)) {
        ShowErrorBox(Refusal(fileName, "has pixels that do not run east and south."));
        return std::nullopt;
    }
    // The file names the top-left pixel's centre; the placement its top-left corner.
    return Georeference{{c - a / 2, a, 0, f - e / 2, 0, e}, {}};
}

std::string WorldFileText(const Georeference& place) {
    const auto& t = place.transform;
    std::string text;
    for (const double value : {t[1], t[4], t[2], t[5], t[0] + t[1] / 2, t[3] + t[5] / 2}) {
        char number[32];
        std::snprintf(number, sizeof number, "%.17g\n", value);
        text += number;
    }
    return text;
}

}  // namespace quarn

#include "envi_header.h"

#include <cstdio>
#include <filesystem>

namespace quarn {

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

std::string EnviHeaderText(std::int32_t cols, std::int32_t rows, const std::string& description,
                           const std::optional<Georeference>& place) {
    // Data type 12 is unsigned 16-bit; byte order 0 is little endian.
    std::string text = "ENVI\ndescription = {" + description +
                       "}\nsamples = " + std::to_string(cols) +
                       "\nlines = " + std::to_string(rows) +
                       "\nbands = 1\nheader offset = 0\nfile type = ENVI Standard\n"
                       "data type = 12\ninterleave = bsq\nbyte order = 0\n";
    if (place) {
        // Reference pixel (1, 1) is the top-left corner of the top-left pixel.
        const auto& t = place->transform;
        text += "map info = {Arbitrary, 1, 1, " + Number(t[0]) + ", " + Number(t[3]) + ", " +
                Number(t[1]) + ", " + Number(-t[5]) + "}\n";
        if (!place->wkt.empty())
            text += "coordinate system string = {" + place->wkt + "}\n";
    }
    return text;
}

std::string EnviHeaderName(const std::string& rawFile) {
    return std::filesystem::path(rawFile).replace_extension("hdr").string();
}

}  // namespace quarn

#include "import_preview.h"

#include <algorithm>

#include "qt_colour.h"

namespace quarn {

namespace {

// A picture of width x height whose pixel (x, y) is colourAt(x, y).
template <typename ColourAt>
QImage Picture(std::int32_t width, std::int32_t height, ColourAt colourAt) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (std::int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (std::int32_t x = 0; x < width; ++x)
            row[x] = RgbOf(colourAt(x, y));
    }
    return picture;
}

}  // namespace

RgbImage ReducedCopy(const RgbImage& image, int longestSide) {
    const std::int32_t longer = std::max(image.width, image.height);
    if (longer <= longestSide)
        return image;
    // 64-bit products: a side of 16384 times a side of the copy would overflow 32 bits.
    const auto scaled = [&](std::int64_t length) {
        return static_cast<std::int32_t>(std::max<std::int64_t>(1, length * longestSide / longer));
    };
    RgbImage copy{scaled(image.width), scaled(image.height), {}};
    copy.pixels.reserve(static_cast<std::size_t>(copy.width) *
                        static_cast<std::size_t>(copy.height));
    for (std::int32_t y = 0; y < copy.height; ++y)
        for (std::int32_t x = 0; x < copy.width; ++x)
            copy.pixels.push_back(image.pixel(
                static_cast<std::int32_t>(std::int64_t{x} * image.width / copy.width),
                static_cast<std::int32_t>(std::int64_t{y} * image.height / copy.height)));
    return copy;
}

QImage PictureOf(const RgbImage& image) {
    return Picture(image.width, image.height,
                   [&](std::int32_t x, std::int32_t y) { return image.pixel(x, y); });
}

QImage PictureOf(const BandMap& map) {
    return Picture(map.width, map.height, [&](std::int32_t x, std::int32_t y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(map.width) +
                               static_cast<std::size_t>(x);
        return map.palette[map.indices[at]];
    });
}

}  // namespace quarn

#include "classify_image.h"

#include "parallel.h"
#include "qt_colour.h"

namespace quarn {

namespace {

// Small maps are not worth a thread.
constexpr std::int64_t kMinRowsPerBand = 256;

void ClassifyIndexed(const QImage& image, const SwatchColours& swatches, ClassifiedRaster& out) {
    std::array<std::uint8_t, 256> byIndex{};
    byIndex.fill(kNoClass);
    const QList<QRgb> table = image.colorTable();
    for (qsizetype i = 0; i < table.size() && i < 256; ++i)
        byIndex[static_cast<std::size_t>(i)] = Color_To_Index(ColourOfRgb(table[i]), swatches);
    const auto width = static_cast<std::size_t>(out.width);
    ForEachRowBand(out.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (auto y = static_cast<int>(begin); y < end; ++y) {
            const uchar* line = image.constScanLine(y);
            std::uint8_t* row = out.classes.data() + static_cast<std::size_t>(y) * width;
            for (std::size_t x = 0; x < width; ++x)
                row[x] = byIndex[line[x]];
        }
    });
}

void ClassifyTrueColour(const QImage& image, const SwatchColours& swatches, ClassifiedRaster& out) {
    const QImage rgb =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::size_t>(out.width);
    ForEachRowBand(out.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        ColourIndexCache cache(swatches);
        for (auto y = static_cast<int>(begin); y < end; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            std::uint8_t* row = out.classes.data() + static_cast<std::size_t>(y) * width;
            for (std::size_t x = 0; x < width; ++x)
                row[x] = cache.classOf(ColourOfRgb(line[x]));
        }
    });
}

}  // namespace

ClassifiedRaster ClassifyImage(const QImage& image, const SwatchColours& swatches) {
    ClassifiedRaster out;
    if (image.isNull())
        return out;
    out.width = image.width();
    out.height = image.height();
    out.classes.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    if (image.format() == QImage::Format_Indexed8)
        ClassifyIndexed(image, swatches, out);
    else
        ClassifyTrueColour(image, swatches, out);
    return out;
}

}  // namespace quarn

#include "picture_output.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "atomic_file.h"
#include "bmp_picture.h"
#include "free_space.h"
#include "qt_png_writer.h"
#include "text.h"

namespace quarn::cli {

namespace {

// Deflate's stored blocks and the PNG chunks around them add well under one part in 64; the
// signature, header and end chunks fit the fixed part.
constexpr std::uint64_t kPngOverheadParts = 64;
constexpr std::uint64_t kPngFixedOverhead = 4096;

// Bytes as megabytes or gigabytes with one decimal, rounded up or down.
std::string SizeText(std::uint64_t bytes, bool roundUp) {
    const bool giga = bytes >= 1'000'000'000;
    const double tenths = static_cast<double>(bytes) / (giga ? 1e8 : 1e5);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s",
                  (roundUp ? std::ceil(tenths) : std::floor(tenths)) / 10, giga ? "GB" : "MB");
    return text;
}

// The size of the regular file name that writing it replaces, 0 when there is none.
std::uint64_t ReplacedBytes(const std::string& name) {
    struct stat existing {};
    if (::stat(name.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode))
        return 0;
    return static_cast<std::uint64_t>(existing.st_size);
}

}  // namespace

bool IsPngName(const std::string& fileName) {
    return UpperCase(ExtractFileExt(fileName)) == ".PNG";
}

std::uint64_t PictureFileBound(const std::string& fileName, std::int32_t width,
                               std::int32_t height) {
    if (!IsPngName(fileName))
        return Bmp24FileSize(width, height);
    const std::uint64_t raw =
        static_cast<std::uint64_t>(height) * (1 + 3 * static_cast<std::uint64_t>(width));
    return raw + raw / kPngOverheadParts + kPngFixedOverhead;
}

std::optional<std::string> FramesSpaceRefusal(const std::vector<std::string>& frames,
                                              std::uint64_t frameBytes) {
    if (frames.empty())
        return std::nullopt;
    const auto free = FreeSpaceFor(frames.front());
    if (!free)
        return std::nullopt;
    // Each frame is complete beside the one it replaces before that one goes.
    std::uint64_t grown = 0, needed = 0;
    for (const std::string& frame : frames) {
        needed = std::max(needed, grown + frameBytes);
        grown += frameBytes - std::min(frameBytes, ReplacedBytes(frame));
    }
    if (needed <= *free)
        return std::nullopt;
    return "The " + std::to_string(frames.size()) + " frames need up to " + SizeText(needed, true) +
           " of disk space, but only " + SizeText(*free, false) + " are free!";
}

void SaveRendering(const std::string& fileName, ProjectedScene projected, const DrawingMode& mode,
                   std::int32_t width, std::int32_t height) {
    if (IsPngName(fileName)) {
        ColourPngImage image(width, height);
        DrawPictureInBands(std::move(projected), mode, width, height, false,
                           [&image](std::int32_t top, const PixelBuffer& band) {
                               image.setRows(top, band.pixels());
                           });
        AtomicFile file(fileName);
        image.write(file);
        file.commit();
        return;
    }
    // Opened with the first band, so that a fault of the drawing comes before the file's.
    std::optional<AtomicFile> file;
    std::optional<BinaryWriter> out;
    DrawPictureInBands(std::move(projected), mode, width, height, true,
                       [&](std::int32_t, const PixelBuffer& band) {
                           if (!file) {
                               file.emplace(fileName);
                               out.emplace(*file);
                               WriteBmp24Header(*out, width, height);
                           }
                           WriteBmp24Rows(*out, band);
                       });
    if (file)
        file->commit();
}

}  // namespace quarn::cli

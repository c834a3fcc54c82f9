// 16-bit greyscale pictures encoded as PNG by the platform's picture writer.
//
// The toolkit installs the encoder; without one (a core on its own) encoding raises the
// platform error "No PNG writer installed". An encoder's own failure is a PlatformError with
// its text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarn {

/// The text chunk in which a heightmap PNG names the heights its samples 0 and 65535 stand
/// for: "LOW..HIGH map units".
inline constexpr const char* kHeightRangeKey = "Quarn3D-HeightRange";

struct Grey16Picture {
    std::int32_t width = 0, height = 0;
    std::span<const std::uint16_t> samples;  // width * height, row after row from the top
    std::string textKey, textValue;          // one text chunk
};

class Grey16PngEncoder {
  public:
    virtual ~Grey16PngEncoder() = default;
    virtual std::vector<std::uint8_t> encode(const Grey16Picture& picture) = 0;
};

/// The PNG file's bytes for picture, by the installed encoder.
std::vector<std::uint8_t> EncodeGrey16Png(const Grey16Picture& picture);

/// Installs encoder (nullptr removes it); returns the previous one.
Grey16PngEncoder* SetGrey16PngEncoder(Grey16PngEncoder* encoder);

}  // namespace quarn

// Any bytes as a map file: the header check answers a code or raises a platform error, and
// never writes past the 16 palette entries; sizing the pixel data never overflows.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "bmp_info.h"
#include "platform_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    quarn::BMPHeaderFields header{};
    quarn::PaletteTable palette{};
    try {
        const std::uint8_t code = quarn::ReadBMPInfo(in, header, palette);
        if (code >= quarn::BMPErrorMessages.size() && code != quarn::kMapTooLarge)
            __builtin_trap();
        if (code == 0)
            (void)quarn::ImageRowCount(header);
        (void)quarn::BmpPixelDataComplete(header, size);
    } catch (const quarn::PlatformError&) {
    }
    return 0;
}

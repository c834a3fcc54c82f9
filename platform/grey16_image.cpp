#include "grey16_image.h"

#include "platform_error.h"

namespace quarn {

namespace {

Grey16PngEncoder* g_encoder = nullptr;

}  // namespace

std::vector<std::uint8_t> EncodeGrey16Png(const Grey16Picture& picture) {
    if (!g_encoder)
        throw PlatformError("No PNG writer installed");
    return g_encoder->encode(picture);
}

Grey16PngEncoder* SetGrey16PngEncoder(Grey16PngEncoder* encoder) {
    Grey16PngEncoder* previous = g_encoder;
    g_encoder = encoder;
    return previous;
}

}  // namespace quarn

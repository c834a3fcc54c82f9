// Any bytes as a 3DF file: the reading, then the projection and the drawing of what it
// accepts, end with a refusal, a platform error or a picture, never a crash, hang or runaway
// allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "draw.h"
#include "pixel_buffer.h"
#include "platform_error.h"
#include "projection.h"
#include "scene.h"
#include "scene_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto stream = std::make_unique<std::istringstream>(
        std::string(reinterpret_cast<const char*>(data), size));
    try {
        // Each run starts from a fresh application's settings.
        const auto loaded =
            quarn::ReadScene(quarn::SceneFile(std::move(stream)), quarn::kStartPerspectiveDistance);
        if (!loaded)
            return 0;
        // A small picture keeps each run fast; the rasterizer clips whatever falls outside.
        const auto projected =
            quarn::ProjectScene(loaded->scene, quarn::ViewAngles{}, 0.751f, 64, 48);
        if (!projected)
            return 0;
        quarn::PixelBuffer picture(64, 48);
        quarn::PixelCanvas canvas(picture);
        for (const bool shaded : {true, false})
            quarn::DrawProjected(*projected, 0.751f, shaded, canvas);
    } catch (const quarn::PlatformError&) {
    }
    return 0;
}

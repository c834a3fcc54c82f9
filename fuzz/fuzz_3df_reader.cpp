// Any bytes as a 3DF file: the two reading steps and the projection of what they accept end
// with a refusal, a platform error or a scene, never a crash, hang or runaway allocation.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "platform_error.h"
#include "projection.h"
#include "scene.h"
#include "scene_reader.h"

namespace {

class NoDisplay : public quarn::AngleDisplay {
  public:
    void showAngles(int, int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto stream = std::make_unique<std::istringstream>(
        std::string(reinterpret_cast<const char*>(data), size));
    quarn::SceneLoad load{quarn::SceneFile(std::move(stream))};
    NoDisplay display;
    // Each run starts from a fresh application's settings.
    quarn::PerspectiveDistance = -3.0f;
    quarn::TriangleList.clear();
    try {
        if (quarn::Read_Points(load, display) && quarn::Read_Triangles(load))
            quarn::Project_Scene(550, 418);
    } catch (const quarn::PlatformError&) {
    }
    return 0;
}

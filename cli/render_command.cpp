// quarn3d-cli render: the "Open 3DF file" command of a freshly started application, then the
// given view settings, one rendering and the picture saved as a 24-bit BMP.
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

#include "atomic_file.h"
#include "bmp_picture.h"
#include "commands.h"
#include "console.h"
#include "draw.h"
#include "message_box.h"
#include "options.h"
#include "pixel_buffer.h"
#include "scene.h"
#include "scene_load.h"

namespace quarn::cli {

namespace {

constexpr const char* kRenderUsage =
    "Usage: quarn3d-cli render SCENE.3df PICTURE.bmp [options]\n"
    "\n"
    "Draws the 3DF terrain SCENE.3df as the viewer window does right after opening it in a\n"
    "freshly started application, with the given settings applied after the load, and saves\n"
    "the picture as a 24-bit BMP.\n"
    "\n"
    "Options:\n"
    "  --elevation E        observer elevation, whole degrees 0 to 359 (default 20)\n"
    "  --azimuth A          observer azimuth, whole degrees 0 to 359 (default 60)\n"
    "  --sun-elevation E    sun elevation, whole degrees 0 to 359 (default 90)\n"
    "  --sun-azimuth A      sun azimuth, whole degrees 0 to 359 (default 180)\n"
    "  --zoom Z             zoom factor, a positive number (default 0.751)\n"
    "  --wire               white wire frame instead of shaded triangles\n"
    "  --size WxH           picture size in pixels, 1 to 16384 each (default 550x418)\n"
    "  --help               shows this text\n"
    "\n"
    "Exit status: 0 picture written (a summary line on stdout), 1 a message of the system or\n"
    "a platform error (its text on stderr, no picture written), 2 wrong usage.\n";

constexpr int kMaxSide = 16384;

// Nobody sees the spin buttons here.
class NoDisplay : public AngleDisplay {
  public:
    void showAngles(int, int) override {}
};

struct Arguments {
    std::string scene, picture;
    std::optional<std::uint16_t> elevation, azimuth, sunElevation, sunAzimuth;
    float zoom = 0.751f;
    bool wire = false;
    int width = 550, height = 418;
};

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    const auto w = ParseWhole(text.substr(0, x), 1, kMaxSide);
    const auto h = ParseWhole(text.substr(x + 1), 1, kMaxSide);
    if (!w || !h)
        return false;
    width = *w, height = *h;
    return true;
}

// Nothing when the usage is wrong.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    OptionParser options;
    const std::pair<const char*, std::optional<std::uint16_t>*> angles[] = {
        {"--elevation", &a.elevation},
        {"--azimuth", &a.azimuth},
        {"--sun-elevation", &a.sunElevation},
        {"--sun-azimuth", &a.sunAzimuth}};
    for (const auto& angle : angles) {
        options.value(angle.first, [target = angle.second](const std::string& text) {
            const auto degrees = ParseWhole(text, 0, 359);
            if (degrees)
                *target = static_cast<std::uint16_t>(*degrees);
            return degrees.has_value();
        });
    }
    options.value("--zoom", [&a](const std::string& text) {
        const auto zoom = ParsePositive<float>(text);
        if (zoom)
            a.zoom = *zoom;
        return zoom.has_value();
    });
    options.value("--size",
                  [&a](const std::string& text) { return ParseSize(text, a.width, a.height); });
    options.flag("--wire", a.wire);
    const auto positional = options.parse(args, 2);
    if (!positional || (*positional)[1].empty())
        return std::nullopt;
    a.scene = (*positional)[0];
    a.picture = (*positional)[1];
    return a;
}

int Render(const Arguments& a) {
    if (IsSameFile(a.picture, a.scene)) {
        ShowErrorBox(kOutputIsInputText);
        return 1;
    }
    SceneFileName = a.scene;
    ClearScene();
    NoDisplay display;
    if (!LoadScene(SceneFile::Open(SceneFileName), display))
        return 1;
    ObserverElevation = a.elevation.value_or(ObserverElevation);
    ObserverAzimuth = a.azimuth.value_or(ObserverAzimuth);
    SunElevation = a.sunElevation.value_or(SunElevation);
    SunAzimuth = a.sunAzimuth.value_or(SunAzimuth);
    ZoomFactor = a.zoom;
    ShadedMode = !a.wire;
    PixelBuffer picture(a.width, a.height);
    PixelCanvas canvas(picture);
    if (!ProjectClearDraw(canvas, a.width, a.height))
        return 1;
    SavePictureBmp(picture, a.picture);
    std::cout << TriangleList.size() << " triangles drawn to " << a.picture << " (" << a.width
              << 'x' << a.height << (a.wire ? ", wire" : ", shaded") << ")\n";
    return 0;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
    if (HelpAsked(args, kRenderUsage))
        return 0;
    const auto parsed = ParseArguments(args);
    if (!parsed)
        return WrongUsage(kRenderUsage);
    const StderrBoxes boxes;
    return RunReportingErrors([&] { return Render(*parsed); });
}

}  // namespace quarn::cli

// quarn3d-cli render: the "Open 3DF file" command of a freshly started application, then the
// given view settings and one rendering saved as a 24-bit BMP or a PNG; or, with --frames, a
// turntable of renderings of the scene read once, the observer azimuth turning between them.
// It runs the viewer's pipeline on values of its own: the file read into a scene, the scene
// projected for each picture, each projection drawn into its file.
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "console.h"
#include "elevation_scene.h"
#include "message_box.h"
#include "options.h"
#include "picture_output.h"
#include "picture_targets.h"
#include "projection.h"
#include "scene.h"
#include "scene_reader.h"
#include "show_error.h"

namespace quarn::cli {

namespace {

constexpr const char* kRenderUsage =
    "Usage: quarn3d-cli render SCENE PICTURE.bmp [options]\n"
    "\n"
    "Draws the 3DF terrain SCENE as the viewer window does right after opening it in a\n"
    "freshly started application, with the given settings applied after the load, and saves\n"
    "the picture as a 24-bit BMP, or as a PNG when PICTURE ends in .png. A SCENE ending in\n"
    ".tif, .tiff, .png, .asc or .dem is an elevation raster (GeoTIFF, a 16-bit heightmap PNG,\n"
    "an Esri ASCII grid, a USGS DEM): drawn as the 3DF of a map of its extent sampled once per\n"
    "cell, coloured by the height classes; above 4096 x 4096 cells it is read averaged down to\n"
    "about 8 million triangles.\n"
    "\n"
    "Options:\n"
    "  --elevation E        observer elevation, whole degrees 0 to 359 (default 20)\n"
    "  --azimuth A          observer azimuth, whole degrees 0 to 359 (default 60)\n"
    "  --sun-elevation E    sun elevation, whole degrees 0 to 359 (default 90)\n"
    "  --sun-azimuth A      sun azimuth, whole degrees 0 to 359 (default 180)\n"
    "  --zoom Z             zoom factor, a positive number (default 0.751)\n"
    "  --wire               white wire frame instead of shaded triangles\n"
    "  --hidden-surfaces    each pixel shows the surface nearest the observer, instead of\n"
    "                       the triangle latest in the file; wire edges behind surfaces hide\n"
    "  --keep-proportions   one scale for both picture axes, the scene centred, instead of\n"
    "                       stretched to fill the picture's width and height\n"
    "  --perspective        nearer parts larger, instead of a parallel projection\n"
    "  --size WxH           picture size in pixels, 1 to 16384 each (default 550x418)\n"
    "  --frames N           a turntable of N pictures (1 to 1000) from the scene read once,\n"
    "                       named after PICTURE with a three-digit frame number before the\n"
    "                       extension (spin.bmp: spin-000.bmp, spin-001.bmp, ...); refused\n"
    "                       before the first when they would not fit the free space\n"
    "  --azimuth-step S     with --frames: degrees, 0 to 359, that the observer azimuth\n"
    "                       turns from one frame to the next (default 10)\n"
    "  --water W            elevation rasters: Water level in map units (default: 10 % of\n"
    "                       the way from the lowest height to the highest)\n"
    "  --lawn L             elevation rasters: Lawn level (default 60 % of the way)\n"
    "  --snow S             elevation rasters: Snow level (default 90 % of the way)\n"
    "  --help               shows this text\n"
    "\n"
    "Exit status: 0 picture written (a summary line on stdout), 1 a message of the system or\n"
    "a platform error (its text on stderr; pictures of earlier frames stay), 2 wrong usage.\n";

constexpr int kMaxFrames = 1000;
constexpr int kDefaultAzimuthStep = 10;

constexpr int kMaxSide = 16384;

struct Arguments {
    std::string scene, picture;
    std::optional<int> elevation, azimuth, sunElevation, sunAzimuth;
    float zoom = kStartZoomFactor;
    bool wire = false;
    ViewOptions view;
    int width = 550, height = 418;
    std::optional<int> frames, azimuthStep;
    ElevationLevels levels;
};

// The frame's picture name: "-NNN" before the extension of the last path component.
std::string FrameName(const std::string& picture, int frame) {
    const auto slash = picture.find_last_of('/');
    const auto dot = picture.find_last_of('.');
    const auto cut = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                         ? dot
                         : picture.size();
    std::string number = std::to_string(frame);
    number.insert(0, 3 - std::min<std::size_t>(3, number.size()), '0');
    return picture.substr(0, cut) + "-" + number + picture.substr(cut);
}

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
    const std::pair<const char*, std::optional<int>*> angles[] = {
        {"--elevation", &a.elevation},
        {"--azimuth", &a.azimuth},
        {"--sun-elevation", &a.sunElevation},
        {"--sun-azimuth", &a.sunAzimuth}};
    for (const auto& angle : angles)
        options.value(angle.first, WholeOption(angle.first, 0, 359, *angle.second));
    options.value("--zoom", PositiveOption("--zoom", a.zoom));
    options.value("--size", [&a](const std::string& text) {
        const bool read = ParseSize(text, a.width, a.height);
        if (!read)
            std::cerr << "--size takes WxH, each a whole number from 1 to " << kMaxSide
                      << ", not \"" << text << "\".\n";
        return read;
    });
    options.flag("--wire", a.wire);
    options.flag("--hidden-surfaces", a.view.hiddenSurfaces);
    options.flag("--keep-proportions", a.view.keepProportions);
    options.flag("--perspective", a.view.perspective);
    options.value("--frames", WholeOption("--frames", 1, kMaxFrames, a.frames));
    options.value("--azimuth-step", WholeOption("--azimuth-step", 0, 359, a.azimuthStep));
    options.text("--water", a.levels.water);
    options.text("--lawn", a.levels.lawn);
    options.text("--snow", a.levels.snow);
    const auto positional = options.parse(args, 2);
    if (!positional)
        return std::nullopt;
    if (NamesNoFile((*positional)[1])) {
        std::cerr << "PICTURE names no file: \"" << (*positional)[1] << "\".\n";
        return std::nullopt;
    }
    if (a.azimuthStep && !a.frames) {
        std::cerr << "--azimuth-step needs --frames.\n";
        return std::nullopt;
    }
    a.scene = (*positional)[0];
    a.picture = (*positional)[1];
    return a;
}

// The picture names: PICTURE itself, or one per frame.
std::vector<std::string> PictureNames(const Arguments& a) {
    if (!a.frames)
        return {a.picture};
    std::vector<std::string> names;
    for (int frame = 0; frame < *a.frames; ++frame)
        names.push_back(FrameName(a.picture, frame));
    return names;
}

// The angles after the load (the start ones), with those given on the command line.
ViewAngles GivenAngles(const Arguments& a) {
    const auto angle = [](const std::optional<int>& given, std::uint16_t loaded) {
        return given ? static_cast<std::uint16_t>(*given) : loaded;
    };
    return {angle(a.elevation, kDefaultObserverElevation),
            angle(a.azimuth, kDefaultObserverAzimuth), angle(a.sunElevation, kDefaultSunElevation),
            angle(a.sunAzimuth, kDefaultSunAzimuth)};
}

int Render(const Arguments& a) {
    const std::vector<std::string> pictures = PictureNames(a);
    if (!MayWritePictures(pictures, a.scene))
        return 1;
    // A turntable that fills the disk half-way would leave its first frames and no room.
    const auto noRoom =
        a.frames ? FramesSpaceRefusal(pictures, PictureFileBound(a.picture, a.width, a.height))
                 : std::nullopt;
    if (noRoom) {
        ShowErrorBox(*noRoom);
        return 1;
    }
    std::optional<LoadedScene> loaded;
    if (IsElevationRasterName(a.scene)) {
        auto raster = ReadElevationScene(a.scene, a.levels, kStartPerspectiveDistance);
        if (!raster)
            return 1;
        std::cout << a.scene << ": " << raster->reading << '\n';
        loaded = std::move(raster->loaded);
    } else {
        loaded = ReadScene(SceneFile::Open(a.scene), kStartPerspectiveDistance);
        if (!loaded)
            return 1;
    }
    ViewAngles angles = GivenAngles(a);
    const ProjectionOptions projection = ProjectionOptionsFor(a.view, loaded->perspectiveDistance);
    const DrawingMode mode{a.zoom, !a.wire, a.view.hiddenSurfaces};
    const int step = a.azimuthStep.value_or(kDefaultAzimuthStep);
    const std::uint16_t firstAzimuth = angles.observerAzimuth;
    for (std::size_t frame = 0; frame < pictures.size(); ++frame) {
        // Each frame is the single rendering at its azimuth, on a fresh black picture.
        angles.observerAzimuth =
            static_cast<std::uint16_t>((firstAzimuth + frame * std::size_t(step)) % 360);
        std::optional<ProjectedScene> projected =
            ProjectScene(loaded->scene, angles, a.zoom, a.width, a.height, projection);
        if (!projected) {
            Show_Error(kDivisionByZeroText);
            return 1;
        }
        SaveRendering(pictures[frame], std::move(*projected), mode, a.width, a.height);
    }
    std::cout << loaded->scene.size() << " triangles drawn to " << pictures.front();
    if (pictures.size() > 1)
        std::cout << " ... " << pictures.back() << " (" << pictures.size() << " frames " << step
                  << " degrees apart, ";
    else
        std::cout << " (";
    std::cout << a.width << 'x' << a.height << (a.wire ? ", wire" : ", shaded") << ")\n";
    return 0;
}

}  // namespace

int RenderSubcommand(const std::vector<std::string>& args) {
    if (HelpAsked(args, kRenderUsage))
        return 0;
    const auto parsed = ParseArguments(args);
    if (!parsed)
        return WrongUsage(kRenderUsage);
    const StderrBoxes boxes;
    return RunReportingErrors([&] { return Render(*parsed); });
}

}  // namespace quarn::cli

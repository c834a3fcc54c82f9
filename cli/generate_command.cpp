// quarn3d-cli generate: the generate command of a freshly started application with MAP
// opened and the options typed into the panel's fields, run by the same command as the window
// (RunGenerateCommand), the save dialog answering OUTPUT.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bmp_image.h"
#include "bmp_info.h"
#include "classify_image.h"
#include "commands.h"
#include "console.h"
#include "file_dialog.h"
#include "generate_command.h"
#include "map_cleaning.h"
#include "map_place.h"
#include "map_state.h"
#include "message_box.h"
#include "options.h"
#include "output_formats.h"
#include "palette.h"

namespace quarn::cli {

namespace {

// The extensions of the output formats that keep passes, each with the one of the file it
// writes beside the output, listed as ".a, .b" and lastJoin ".c".
template <typename Keep>
std::string ExtensionList(Keep keep, const std::string& lastJoin) {
    std::vector<std::string> names;
    for (const OutputFormat& format : OutputFormats()) {
        if (!keep(format))
            continue;
        names.push_back(std::string(".") + format.extension);
        if (format.sideExtension)
            names.back() += std::string(" (with .") + format.sideExtension + ")";
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? lastJoin : ", ";
        list += names[i];
    }
    return list;
}

// The formats' lists come from their table, so that the text names what the command writes.
const std::string& GenerateUsage() {
    static const std::string usage =
        "Usage: quarn3d-cli generate MAP OUTPUT [options]\n"
        "\n"
        "Writes the terrain of the 16-colour BMP contour map MAP to OUTPUT, exactly as the\n"
        "application's generate command does with that map opened and these texts typed into the\n"
        "generator panel. MAP may also be any map image (PNG, JPEG, TIFF, GIF, BMP): it is then\n"
        "cleaned into bands as quarn3d-cli import does, and so is a BMP given the import options.\n"
        "The writer is chosen by OUTPUT's extension:\n" +
        ExtensionList([](const OutputFormat&) { return true; }, " or ") +
        ";\n"
        "a name without extension gets .3DF.\n"
        "Option values are field texts; an option left out is a blank field.\n"
        "\n"
        "Options:\n"
        "  --water W            Water level (heights at or below it are water)\n"
        "  --lawn L             Lawn level\n"
        "  --snow S             Snow level\n"
        "  --map-width MW       real width of the map, in map units (default for a map placed\n"
        "                       by a world file or GeoTIFF tags: its extent)\n"
        "  --map-height MH      real height of the map, in map units (the same default)\n"
        "  --interval I         sampling distance, in map units\n"
        "  --height INDEX=VALUE height of palette colour INDEX (0 to 15); may be repeated, and\n"
        "                       overrides a legend's\n" +
        std::string(kImportOptionsUsage) +
        "  --print-size MM      STL: the solid's longer side, 1 to 10000 millimetres (default "
        "150)\n"
        "  --exaggeration X     STL: heights over the horizontal scale, 0.01 to 100 (default 1)\n"
        "  --base MM            STL: bottom to lowest point, 0.1 to 1000 millimetres (default 3)\n"
        "  --surface S          terraced (default: each colour band flat at its height) or\n"
        "                       smooth (heights interpolated between the bands)\n"
        "  --max-error E        meshes: as few triangles as keep every sample within E map\n"
        "                       units of its height (0: exact); default the full grid\n"
        "  --max-triangles N    meshes: at most N triangles (2 to 999999999); with --max-error\n"
        "                       the tighter wins\n"
        "  --colours C          3MF: the height classes' colours (classes, the default) or the\n"
        "                       map's own band colours (bands)\n"
        "  --parts bands        STL and 3MF: a closed part per band, stacked into the whole\n"
        "                       solid: NAME-01.stl, NAME-02.stl, ... beside the STL, or one\n"
        "                       object per band in the 3MF\n"
        "  --srs SYSTEM         elevation outputs: their coordinate system, such as EPSG:32633\n"
        "                       (default: the map's .prj or GeoTIFF tags)\n"
        "  --help               shows this text\n"
        "\n"
        "Exit status: 0 file written (a summary line on stdout; for " +
        ExtensionList([](const OutputFormat& format) { return format.reportsHeightRange(); },
                      " and ") +
        "\n"
        "a second line with the grid size and the height range), 1 a\n"
        "message of the system or a platform error (its text on stderr, no file touched), 2\n"
        "wrong usage.\n";
    return usage;
}

// The save dialog answers OUTPUT, as a user typing that name would.
class FixedAnswer : public FileDialogPresenter {
  public:
    explicit FixedAnswer(std::string name) : m_name(std::move(name)) {}
    std::optional<std::string> open(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> save(const FileDialogRequest& request) override {
        return WithDefaultExtension(m_name, request.defaultExt);
    }

  private:
    std::string m_name;
};

struct Arguments {
    std::string map, output;
    GeneratorFields fields;
    ExportOptions exportOptions;
    ImportOptions importOptions;
    std::array<bool, kPaletteSize> heightGiven{};
    double maxError = -1;  // none
    std::optional<int> maxTriangles;
};

// Nothing when the usage is wrong.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    a.fields.outputChoice = "3DF";  // the panel's selection at start-up
    OptionParser options;
    options.text("--water", a.fields.water);
    options.text("--lawn", a.fields.lawn);
    options.text("--snow", a.fields.snow);
    options.text("--map-width", a.fields.mapWidth);
    options.text("--map-height", a.fields.mapHeight);
    options.text("--interval", a.fields.interval);
    options.keyed("--height", [&a](const std::string& index, const std::string& height) {
        const auto entry = ParseWhole(index, 0, 15, 2);
        if (entry) {
            a.fields.heights[static_cast<std::size_t>(*entry)] = height;
            a.heightGiven[static_cast<std::size_t>(*entry)] = true;
        }
        return entry.has_value();
    });
    ExportOptions& e = a.exportOptions;
    options.value("--print-size", NumberOption("--print-size", kPrintSizeRange.low,
                                               kPrintSizeRange.high, e.printSizeMm));
    options.value("--exaggeration", NumberOption("--exaggeration", kExaggerationRange.low,
                                                 kExaggerationRange.high, e.exaggeration));
    options.value("--base", NumberOption("--base", kBaseRange.low, kBaseRange.high, e.baseMm));
    options.value("--surface", [&a](const std::string& text) {
        const bool known = text == "smooth" || text == "terraced";
        if (known)
            a.exportOptions.surface = text == "smooth" ? Surface::Smooth : Surface::Terraced;
        else
            std::cerr << "--surface takes smooth or terraced, not \"" << text << "\".\n";
        return known;
    });
    options.value("--max-error", [&a](const std::string& text) {
        // 0 asks for an exact mesh; otherwise any positive finite number of map units.
        const bool zero = text.find_first_not_of("0.") == std::string::npos &&
                          text.find('0') != std::string::npos &&
                          std::count(text.begin(), text.end(), '.') <= 1;
        const auto number = zero ? std::optional(0.0) : ParsePositive<double>(text);
        if (number)
            a.maxError = *number;
        else
            std::cerr << "--max-error takes 0 or a number of map units above 0, not \"" << text
                      << "\".\n";
        return number.has_value();
    });
    options.value("--max-triangles", [&a](const std::string& text) {
        a.maxTriangles = ParseWhole(text, 2, 999999999, 9);
        if (!a.maxTriangles)
            std::cerr << "--max-triangles takes a whole number from 2 to 999999999, not \"" << text
                      << "\".\n";
        return a.maxTriangles.has_value();
    });
    options.value("--colours", [&a](const std::string& text) {
        const bool known = text == "classes" || text == "bands";
        if (known)
            a.exportOptions.printColours =
                text == "bands" ? PrintColours::Bands : PrintColours::Classes;
        else
            std::cerr << "--colours takes classes or bands, not \"" << text << "\".\n";
        return known;
    });
    options.value("--parts", [&a](const std::string& text) {
        a.exportOptions.partsByBand = text == "bands";
        if (!a.exportOptions.partsByBand)
            std::cerr << "--parts takes bands, not \"" << text << "\".\n";
        return a.exportOptions.partsByBand;
    });
    options.value("--srs", [&a](const std::string& text) {
        const auto wkt = CoordinateSystemWkt(text);
        if (wkt)
            a.exportOptions.coordinateSystem = *wkt;
        else
            std::cerr << "--srs takes a coordinate system such as EPSG:32633, not \"" << text
                      << "\".\n";
        return wkt.has_value();
    });
    AddImportOptions(options, a.importOptions);
    const auto positional = options.parse(args, 2);
    if (!positional || !ImportOptionsAgree(a.importOptions))
        return std::nullopt;
    if (a.maxError >= 0)
        e.maxError = a.maxError;
    e.maxTriangles = static_cast<std::size_t>(a.maxTriangles.value_or(0));
    // A name without a file part would become the hidden file ".3DF" in its folder.
    if (NamesNoFile((*positional)[1])) {
        std::cerr << "OUTPUT names no file: \"" << (*positional)[1] << "\".\n";
        return std::nullopt;
    }
    a.map = (*positional)[0];
    a.output = (*positional)[1];
    const OutputFormat* format = FormatOfFile(a.output);
    if (e.partsByBand && !(format && (format->bandPartFiles || format->usesBands))) {
        std::cerr << "--parts bands needs an .stl or .3mf OUTPUT.\n";
        return std::nullopt;
    }
    return a;
}

// True when the file starts otherwise than a BMP does: such a file is a map image to clean. A
// BMP, or a file that cannot be read, goes the way the window opens maps.
bool IsOtherImage(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    char signature[2] = {};
    return in.read(signature, 2) && (signature[0] != 'B' || signature[1] != 'M');
}

// The map cleaned as the import command cleans it, its bands as the palette and a legend's
// heights in the fields that no --height filled; nothing after a refusal.
std::optional<LoadedMap> CleanedMapOf(Arguments& a) {
    auto cleaned = CleanMapFile(a.map, a.importOptions);
    if (!cleaned)
        return std::nullopt;
    const BandMap& bands = cleaned->map;
    for (std::size_t i = 0; i < bands.palette.size(); ++i) {
        const Colour colour = bands.palette[i];
        Palette[i] = {static_cast<std::uint8_t>(colour >> 16),
                      static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour), 0};
    }
    for (std::size_t i = 0; i < cleaned->legend.size(); ++i)
        if (!a.heightGiven[i])
            a.fields.heights[i] = ElevationText(cleaned->legend[i].elevation);
    ClassifiedRaster raster{bands.width, bands.height, std::move(cleaned->map.indices)};
    return LoadedMap{raster.width, raster.height,
                     [shared = std::make_shared<ClassifiedRaster>(std::move(raster))] {
                         return std::move(*shared);
                     }};
}

// A blank Mapwidth or Mapheight takes the extent of a map placed on Earth.
void FillExtentFromPlace(GeneratorFields& fields, const Georeference& place, std::int32_t width,
                         std::int32_t height) {
    const auto text = [](double extent) {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", extent);
        return std::string(number);
    };
    if (fields.mapWidth.empty())
        fields.mapWidth = text(place.pixelWidth() * width);
    if (fields.mapHeight.empty())
        fields.mapHeight = text(place.pixelHeight() * height);
}

int Generate(Arguments& a, StderrBoxes& boxes) {
    const MapPlace place = ReadMapPlace(a.map);
    if (place.refused)
        return 1;
    a.exportOptions.mapPlace = place.place;
    std::optional<LoadedMap> cleaned;
    QImage image;
    if (a.importOptions.given() || IsOtherImage(a.map)) {
        cleaned = CleanedMapOf(a);
        if (!cleaned)
            return 1;
    } else {
        // The Palette starts black, as in a freshly started application.
        const std::uint8_t code = ReadBMPInfo(a.map);
        if (code != 0) {
            ShowErrorBox(BMPRefusalText(code, BMPHeader));
            return 1;
        }
        image = LoadBmpImage(a.map);
    }
    // The swatches show the palette just read, as after opening the map in the window.
    MapFileName = a.map;
    // The picture goes once classified, as the terrain needs the memory.
    const LoadedMap map = cleaned
                              ? std::move(*cleaned)
                              : LoadedMap{image.width(), image.height(), [&image] {
                                              return ClassifyImage(std::exchange(image, QImage()),
                                                                   PanelSwatchColours(Palette));
                                          }};
    if (place.place)
        FillExtentFromPlace(a.fields, *place.place, map.width, map.height);
    a.exportOptions.bandColours = PanelSwatchColours(Palette);
    const GenerateResult result = RunGenerateCommand(a.fields, map, a.exportOptions);
    if (!result.written || boxes.shown)
        return 1;
    std::cout << result.vertexCount << " vertices, " << result.triangleCount
              << " triangles written to " << result.fileName;
    if (result.largestError)
        std::cout << ", largest vertical error " << *result.largestError
                  << " map units at the samples";
    std::cout << '\n';
    if (result.samplesSummary)
        std::cout << *result.samplesSummary << '\n';
    if (result.colourChanges)
        std::cout << *result.colourChanges << '\n';
    return 0;
}

}  // namespace

int GenerateSubcommand(const std::vector<std::string>& args) {
    if (HelpAsked(args, GenerateUsage().c_str()))
        return 0;
    auto parsed = ParseArguments(args);
    if (!parsed)
        return WrongUsage(GenerateUsage().c_str());
    StderrBoxes boxes;
    FixedAnswer dialog(parsed->output);
    FileDialogPresenter* previousDialogs = SetFileDialogPresenter(&dialog);
    const int status = RunReportingErrors([&] { return Generate(*parsed, boxes); });
    SetFileDialogPresenter(previousDialogs);
    return status;
}

}  // namespace quarn::cli

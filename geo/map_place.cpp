#include "map_place.h"

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "atomic_file.h"
#include "binary_io.h"
#include "gdal_session.h"
#include "message_box.h"
#include "text.h"
#include "world_file.h"

namespace quarn {

namespace {

namespace fs = std::filesystem;

std::optional<std::string> FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsTiff(const std::string& fileName) {
    const std::string extension = UpperCase(fs::path(fileName).extension().string());
    return extension == ".TIF" || extension == ".TIFF";
}

// The GeoTIFF's placement and coordinate system; nothing when it has none.
MapPlace GeoTiffPlace(const std::string& fileName) {
    const GdalSession session;
    GDALDatasetH dataset = GDALOpen(fileName.c_str(), GA_ReadOnly);
    if (!dataset)
        return {};
    Georeference place;
    const bool placed = GDALGetGeoTransform(dataset, place.transform.data()) == CE_None;
    place.wkt = GDALGetProjectionRef(dataset);
    GDALClose(dataset);
    if (!placed)
        return {};
    if (!place.northUp()) {
        ShowErrorBox("\"" + fs::path(fileName).filename().string() +
                     "\" is placed turned or mirrored: only maps with north up can be placed.");
        return {true, {}};
    }
    return {false, place};
}

}  // namespace

std::optional<std::string> CoordinateSystemWkt(const std::string& userText) {
    const GdalSession session;
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    std::optional<std::string> wkt;
    char* text = nullptr;
    if (OSRSetFromUserInput(srs, userText.c_str()) == OGRERR_NONE &&
        OSRExportToWkt(srs, &text) == OGRERR_NONE)
        wkt = text;
    CPLFree(text);
    OSRDestroySpatialReference(srs);
    return wkt;
}

MapPlace ReadMapPlace(const std::string& fileName) {
    const auto worldFile = FindWorldFile(fileName);
    if (!worldFile)
        return IsTiff(fileName) ? GeoTiffPlace(fileName) : MapPlace{};
    const auto text = FileText(*worldFile);
    if (!text) {
        ShowErrorBox("World file \"" + fs::path(*worldFile).filename().string() +
                     "\" cannot be read.");
        return {true, {}};
    }
    auto place = ParseWorldFile(*text, *worldFile);
    if (!place)
        return {true, {}};
    const fs::path prj = fs::path(fileName).replace_extension("prj");
    if (const auto prjText = FileText(prj)) {
        const auto wkt = CoordinateSystemWkt(*prjText);
        if (!wkt) {
            ShowErrorBox("\"" + prj.filename().string() + "\" names no coordinate system.");
            return {true, {}};
        }
        place->wkt = *wkt;
    }
    return {false, place};
}

void WriteMapPlace(const std::string& image, const Georeference& place) {
    const auto write = [](const std::string& name, const std::string& text) {
        AtomicFile file(name);
        BinaryWriter out(file);
        out.writeText(text);
        file.commit();
    };
    write(WorldFileName(image), WorldFileText(place));
    if (!place.wkt.empty())
        write(fs::path(image).replace_extension("prj").string(), place.wkt);
}

}  // namespace quarn

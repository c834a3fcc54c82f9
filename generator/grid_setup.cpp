#include "grid_setup.h"

#include <limits>

#include "checked_float.h"
#include "message_box.h"
#include "numeric.h"
#include "text.h"

namespace quarn {

GridSetup g_GridSetup;

namespace {

float ParseField(const std::string& text) {
    return CheckedToFloat(StrToFloat(text));
}

bool FitsInt32(std::int64_t count) {
    return count <= std::numeric_limits<std::int32_t>::max();
}

// The grid into setup; false after the error box, setup keeping what was assigned before it.
bool FillGrid(const GeneratorFields& fields, std::int32_t imageWidth, std::int32_t imageHeight,
              GridSetup& setup) {
    setup.Water = ParseField(fields.water);
    setup.Lawn = ParseField(fields.lawn);
    setup.Snow = ParseField(fields.snow);
    setup.Mapwidth = ParseField(fields.mapWidth);
    setup.Mapheight = ParseField(fields.mapHeight);
    setup.Interval = ParseField(fields.interval);
    if (!(RealMin(setup.Mapwidth, setup.Mapheight) > setup.Interval)) {
        ShowErrorBox(kInvalidIntervalText);
        return false;
    }
    for (std::size_t e = 0; e < setup.heights.size(); ++e) {
        // Blanks decide only whether the field is set; the parser gets the whole text.
        const std::string& text = fields.heights[e];
        HeightEntry& entry = setup.heights[e];
        entry.set = !TrimLeftBlanks(text).empty();
        if (entry.set)
            entry.height = ParseField(text);
    }
    setup.ImageWidth = imageWidth;
    setup.ImageHeight = imageHeight;
    setup.MapExtent = static_cast<float>(RealMax(setup.Mapwidth, setup.Mapheight));
    const double extent = setup.MapExtent;
    const float halfWidth = CheckedToFloat(CheckedDivide(2.0 * setup.Mapwidth, extent) * 0.5);
    const float halfHeight = CheckedToFloat(CheckedDivide(2.0 * setup.Mapheight, extent) * 0.5);
    setup.CellSize = CheckedRoundToInt32(CheckedDivide(
        static_cast<double>(IntMax(imageWidth, imageHeight)) * setup.Interval, extent));
    if (setup.CellSize < 1) {
        ShowErrorBox(kIntervalTooSmallText);
        return false;
    }
    setup.GridCols = imageWidth / setup.CellSize;
    setup.GridRows = imageHeight / setup.CellSize;
    const std::int64_t vertexCount = std::int64_t{setup.GridCols} * setup.GridRows;
    // Fewer than two cells across or down gives no triangle (and a one-pixel side no mapping).
    if (setup.GridCols < 2 || setup.GridRows < 2) {
        ShowErrorBox(kGridTooSmallText);
        return false;
    }
    // Both counts are 32-bit fields of the file.
    if (!FitsInt32(vertexCount) || !FitsInt32(GridTriangleCount(setup.GridCols, setup.GridRows))) {
        ShowErrorBox(kGridTooLargeText);
        return false;
    }
    setup.VertexCount = static_cast<std::int32_t>(vertexCount);
    WindowMapping mapping;
    SetWorldWindow(mapping, -halfWidth, -halfHeight, halfWidth, halfHeight);
    SetDeviceViewport(mapping, 0, 0, imageWidth - 1, imageHeight - 1);
    setup.mapping = mapping;
    return true;
}

}  // namespace

std::int64_t GridTriangleCount(std::int64_t cols, std::int64_t rows) {
    return 2 * (cols - 1) * (rows - 1);
}

std::optional<GridSetup> MakeGrid(const GeneratorFields& fields, std::int32_t imageWidth,
                                  std::int32_t imageHeight) {
    GridSetup setup;
    if (!FillGrid(fields, imageWidth, imageHeight, setup))
        return std::nullopt;
    return setup;
}

bool Set_Grid(const GeneratorFields& fields, std::int32_t imageWidth, std::int32_t imageHeight,
              GridSetup& setup) {
    if (!FillGrid(fields, imageWidth, imageHeight, setup))
        return false;
    g_WindowMapping = setup.mapping;
    return true;
}

}  // namespace quarn

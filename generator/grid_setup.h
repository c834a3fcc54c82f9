// The sampling grid: the panel's texts turned into the numbers the terrain writers use.
//
// Set_Grid converts the six level and size texts and the 16 height texts, derives the cell
// size in pixels and the grid of whole cells from the image's top-left corner, and the window
// mapping from image pixels onto the map's plane, normalised so that the longer side spans -1
// to +1. The mapping travels in the GridSetup to the sampler; Set_Grid also publishes it as the
// process-wide one. Number texts the parser rejects raise its PlatformError.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "window_mapping.h"

namespace quarn {

/// The generator panel's texts as they stand (heights by palette index).
struct GeneratorFields {
    std::string water, lawn, snow, mapWidth, mapHeight, interval;
    std::array<std::string, 16> heights;
    std::string outputChoice;
};

struct HeightEntry {
    float height = 0;
    bool set = false;
};

using HeightTable = std::array<HeightEntry, 16>;

struct GridSetup {
    float Water = 0, Lawn = 0, Snow = 0;
    float Mapwidth = 0, Mapheight = 0, Interval = 0;
    float MapExtent = 0;
    std::int32_t ImageWidth = 0, ImageHeight = 0;
    std::int32_t CellSize = 0;
    std::int32_t GridCols = 0, GridRows = 0, VertexCount = 0;
    HeightTable heights{};
    WindowMapping mapping;  // image pixels to the map's plane
};

/// The grid of the last generate command that got as far as setting one up (generate_command.h).
extern GridSetup g_GridSetup;

inline constexpr const char* kInvalidIntervalText = "Invalid interval!";
inline constexpr const char* kIntervalTooSmallText = "Division by zero - Interval too small!";
inline constexpr const char* kGridTooSmallText =
    "Interval too large - the grid needs at least 2 x 2 cells!";
inline constexpr const char* kGridTooLargeText =
    "Interval too small - the grid has more cells than a 3DF file can count!";

/// Triangles of a grid of cols x rows vertices: 2 (cols - 1) (rows - 1), in 64 bits.
std::int64_t GridTriangleCount(std::int64_t cols, std::int64_t rows);

/// The grid of fields on an image of imageWidth x imageHeight pixels; nothing after showing its
/// error box.
std::optional<GridSetup> MakeGrid(const GeneratorFields& fields, std::int32_t imageWidth,
                                  std::int32_t imageHeight);

/// MakeGrid into setup, publishing its mapping in g_WindowMapping; false after showing its error
/// box. A failing call keeps what it assigned before the failure and leaves g_WindowMapping
/// untouched.
bool Set_Grid(const GeneratorFields& fields, std::int32_t imageWidth, std::int32_t imageHeight,
              GridSetup& setup);

}  // namespace quarn

#include "georeference.h"

namespace quarn {

Georeference CellGrid(const Georeference& map, std::int32_t cell) {
    Georeference grid = map;
    grid.transform[1] *= cell;
    grid.transform[5] *= cell;
    return grid;
}

Georeference MapUnitsFromTopLeft(double mapWidth, double mapHeight, std::int32_t width,
                                 std::int32_t height) {
    return {{0, mapWidth / width, 0, 0, 0, -mapHeight / height}, {}};
}

}  // namespace quarn

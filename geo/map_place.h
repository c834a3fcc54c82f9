// The place of a map image on Earth, as GIS programs give it: a world file beside the image (with
// a .prj beside it for the coordinate system), or a GeoTIFF's own tags.
#pragma once

#include <optional>
#include <string>

#include "georeference.h"

namespace quarn {

struct MapPlace {
    bool refused = false;               // the placement was there but unusable (shown why)
    std::optional<Georeference> place;  // nothing when the map has none
};

/// The place of the map image fileName. A world file beside it comes first; a TIFF without one
/// is asked for its GeoTIFF tags. A rotated placement, a world file that is no such file, or a
/// .prj that names no coordinate system is shown and refused.
MapPlace ReadMapPlace(const std::string& fileName);

/// The OGC WKT of a coordinate system as GIS users name it ("EPSG:32633", WKT, PROJ text);
/// nothing when GDAL knows no such system.
std::optional<std::string> CoordinateSystemWkt(const std::string& userText);

/// Writes the world file and, with a coordinate system, the .prj beside image (each replaced
/// atomically).
void WriteMapPlace(const std::string& image, const Georeference& place);

}  // namespace quarn

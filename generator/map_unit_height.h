// Heights between the normalised form the mesh keeps (divided by the map extent) and the map
// units a user typed, as elevation rasters hold them.
#pragma once

namespace quarn {

/// The normalised height of mapUnits, as the panel's typed heights are normalised.
float NormalisedHeight(float mapUnits, float mapExtent);

/// The map-unit height of a normalised one, rounded to seven significant digits where that
/// still normalises back to it (a typed 470 comes back as 470, not 469.99997); otherwise the
/// nearest float or one beside it that does, or the nearest where none does.
float MapUnitHeight(float normalised, float mapExtent);

}  // namespace quarn

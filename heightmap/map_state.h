// Program-wide state of the map: which file the map window shows, whether that window exists,
// and the palette index picked by the last map click that matched a palette colour.
//
// MapFileName is set by a successful image open and cleared when the map window closes; the
// generate command refuses to run while it is empty. CurrentColourIndex (0 at start) survives
// closing the map window and opening another image.
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

extern std::string MapFileName;
extern bool MapWindowOpen;
extern std::int32_t CurrentColourIndex;

}  // namespace quarn

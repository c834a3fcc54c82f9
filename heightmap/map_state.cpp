#include "map_state.h"

namespace quarn {

std::string MapFileName;
bool MapWindowOpen = false;
std::int32_t CurrentColourIndex = 0;

}  // namespace quarn

// Colours in CIELAB (D65), where distances follow what the eye sees, and the distance that
// decides a pixel's band: lightness counts for less than hue, since hill shading and uneven
// scans change lightness and leave the hue.
#pragma once

#include "colour.h"

namespace quarn {

struct Lab {
    float l = 0, a = 0, b = 0;
};

Lab ToLab(Colour colour);

/// The squared distance between two colours, lightness weighted down.
float BandDistance(const Lab& first, const Lab& second);

/// The squared band distance under which a pixel is taken as its band's colour (shaded, noisy).
inline constexpr float kNearBandDistance = 20.0f * 20.0f;

/// True for colours darker than a lightness of 40, the candidates for linework.
bool IsDark(Colour colour);

}  // namespace quarn

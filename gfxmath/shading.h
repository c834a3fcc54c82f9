// The flat shading colour of a triangle and the raster helpers it needs.
//
// Colours are packed as colour.h says. The colour code of a triangle is its hue in degrees; 32767
// means no hue (grey). The intensity kd*d + ka + ks*s^n becomes both saturation and value of an HSV
// colour. Degenerate geometry never divides by zero.
#pragma once

#include <cstdint>

#include "colour.h"
#include "vec3.h"

namespace quarn {

inline constexpr float kNoHue = 32767.0f;

/// Flat colour of the triangle P1 P2 P3 lit by a point light; vertex order sets the normal.
/// A hue that HSVToRGB leaves unset (above 360, at or below -60) gives the grey of the intensity.
Colour ComputeShadedColour(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light, float hue, float ka, float kd,
                           float ks, float n);

/// HSV (hue in degrees) to RGB in 0..1. For a hue outside [0, 360] with i outside 0..5 the
/// outputs are left as they were.
void HSVToRGB(float h, float s, float v, float& r, float& g, float& b);

}  // namespace quarn

#include "shading.h"

#include <cmath>

#include "checked_float.h"
#include "numeric.h"

namespace quarn {

namespace {

double d(float v) {
    return static_cast<double>(v);
}

constexpr double kTiny = 1e-9;
constexpr double kOneSixtieth = 1.0 / 60.0;

std::int32_t toByteLevel(float component) {
    return CheckedRoundToInt32(255.0 * d(component));
}

}  // namespace

Colour ComputeShadedColour(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light, float hue, float ka, float kd,
                           float ks, float n) {
    const Vec3 normal = TriangleNormal(p1, p2, p3);
    const Vec3 toLight = LightVector(p1, p2, p3, light);

    float diffuse = 1.0f;
    const double lengths = d(VecLength(normal)) * d(VecLength(toLight));
    if (lengths > kTiny)
        diffuse = CheckedToFloat(d(VecDot(normal, toLight)) / lengths);
    if (diffuse < 0.0f)
        diffuse = 0.0f;

    const float cosine = SpecularCosine(p1, p2, p3, light);
    const float specular = cosine > 0.0f ? CheckedToFloat(RealPower(cosine, n)) : 0.0f;

    const float intensity = CheckedToFloat(d(kd) * d(diffuse) + d(ka) + d(ks) * d(specular));
    const float saturation = hue == kNoHue ? 0.0f : intensity;

    float r = intensity;
    float g = intensity;
    float b = intensity;
    HSVToRGB(hue, saturation, intensity, r, g, b);
    return PackRGB(toByteLevel(r), toByteLevel(g), toByteLevel(b));
}

void HSVToRGB(float h, float s, float v, float& r, float& g, float& b) {
    if (std::fabs(d(s)) < kTiny) {
        r = g = b = v;
        return;
    }
    if (std::fabs(d(h) - 360.0) < kTiny)
        h = 0.0f;
    h = CheckedToFloat(d(h) * kOneSixtieth);
    // Truncated in double so that a hue far out of range cannot overflow an integer.
    const double sextant = std::trunc(d(h));
    const double f = d(CheckedToFloat(d(h) - sextant));
    const float p = CheckedToFloat((1.0 - d(s)) * d(v));
    const float q = CheckedToFloat((1.0 - d(s) * f) * d(v));
    const float t = CheckedToFloat((1.0 - d(s) * (1.0 - f)) * d(v));
    if (sextant == 0.0) {
        r = v, g = t, b = p;
    } else if (sextant == 1.0) {
        r = q, g = v, b = p;
    } else if (sextant == 2.0) {
        r = p, g = v, b = t;
    } else if (sextant == 3.0) {
        r = p, g = q, b = v;
    } else if (sextant == 4.0) {
        r = t, g = p, b = v;
    } else if (sextant == 5.0) {
        r = v, g = p, b = q;
    }
}

}  // namespace quarn

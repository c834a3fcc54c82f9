// Flat shading of many triangles at once, giving the colours ComputeShadedColour gives.
//
// ShadeBlock works on a block of triangles laid out one array per corner coordinate, with the
// specular exponent 0.5 that the viewer uses. It repeats ComputeShadedColour's arithmetic step
// by step (double sums and products, each result rounded to 32 bits where that rounds it) in
// one branch-free loop, and leaves out the fault checks. A triangle is
// marked unsure, its colour then to be taken from ComputeShadedColour itself, where some
// intermediate value is not finite (where ComputeShadedColour may fault) or where the square
// root that stands in for exp(0.5 ln c) lies too close to the middle between two 32-bit floats
// to be sure that both round the same way.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "shading.h"
#include "vec3.h"

namespace quarn {

inline constexpr std::size_t kShadeBlockSize = 64;

/// The corners and hues of up to kShadeBlockSize triangles.
struct ShadeBlockInput {
    float x1[kShadeBlockSize], y1[kShadeBlockSize], z1[kShadeBlockSize];
    float x2[kShadeBlockSize], y2[kShadeBlockSize], z2[kShadeBlockSize];
    float x3[kShadeBlockSize], y3[kShadeBlockSize], z3[kShadeBlockSize];
    float hue[kShadeBlockSize];
};

/// True when ComputeShadedColour (weights within 0..1, exponent 0.5) of any triangle whose
/// corners differ by at most edge and lie at most corner from 0 on each axis, lit from light,
/// surely raises no fault: a bound on every value it stores stays far inside the 32-bit range
/// (its divisions give cosines, about 1 at most).
inline bool ShadingSurelyFinite(double edge, double corner, Vec3 light) {
    const auto d = [](float v) { return static_cast<double>(v); };
    const auto big = [](double a, double b) { return a > b ? a : b; };
    const double lamp = std::fabs(d(light.x)) + std::fabs(d(light.y)) + std::fabs(d(light.z));
    // Bounds on the components, each widened by a tenth for the roundings on the way.
    const double n = 2.5 * edge * edge;  // the normal
    const double v = 1.2 * corner;       // NegCentroid; P1 + P2 + P3 stays below 3.3 corner
    const double m = 1.1 * (v + lamp);   // the light vector
    const double k = 6.6 * n * m;        // 2 (N . M)
    const double r = 1.1 * (k * n + m);  // the reflection
    constexpr double kLimit = 1e37;      // far below the largest float, 3.4e38
    // Every stored value lies below one of these: sums, products, squared lengths, dot
    // products. NaN bounds fail the comparison.
    const double largest = big(big(big(3.3 * corner, 3.3 * n * n), big(3.3 * m * m, k * n)),
                               big(3.3 * r * r, 3.3 * v * r));
    return largest <= kLimit;
}

/// The same for the triangle P1 P2 P3.
inline bool ShadingSurelyFinite(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light) {
    const auto d = [](float v) { return static_cast<double>(v); };
    const auto big = [](double a, double b) { return a > b ? a : b; };
    const double edge = big(big(big(std::fabs(d(p1.x) - d(p2.x)), std::fabs(d(p1.y) - d(p2.y))),
                                big(std::fabs(d(p1.z) - d(p2.z)), std::fabs(d(p3.x) - d(p2.x)))),
                            big(std::fabs(d(p3.y) - d(p2.y)), std::fabs(d(p3.z) - d(p2.z))));
    const double corner =
        big(big(big(big(std::fabs(d(p1.x)), std::fabs(d(p1.y))), std::fabs(d(p1.z))),
                big(big(std::fabs(d(p2.x)), std::fabs(d(p2.y))), std::fabs(d(p2.z)))),
            big(big(std::fabs(d(p3.x)), std::fabs(d(p3.y))), std::fabs(d(p3.z))));
    // NaN or infinite coordinates make the probe NaN.
    const double probe = 0.0 * (d(p1.x) + d(p1.y) + d(p1.z) + d(p2.x) + d(p2.y) + d(p2.z) +
                                d(p3.x) + d(p3.y) + d(p3.z));
    return ShadingSurelyFinite(edge + probe, corner + probe, light);
}

/// Colours of the first count triangles of in, lit from light with the ambient term ka, the
/// diffuse weight kd, the specular weight ks and the exponent 0.5; unsure[i] not 0 where the
/// colour must come from ComputeShadedColour instead.
void ShadeBlock(const ShadeBlockInput& in, std::size_t count, Vec3 light, float ka, float kd,
                float ks, Colour* colours, std::uint32_t* unsure);

}  // namespace quarn

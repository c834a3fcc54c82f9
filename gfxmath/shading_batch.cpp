#include "shading_batch.h"

#include <bit>
#include <cmath>

namespace quarn {

namespace {

double d(float v) {
    return static_cast<double>(v);
}
float f(double v) {
    return static_cast<float>(v);
}

constexpr float kMinusOneThird = -0.33333334f;
constexpr double kTiny = 1e-9;
constexpr double kOneSixtieth = 1.0 / 60.0;
// exp(0.5 ln c) stays within a few 1e-14 of sqrt c (the library's log and exp are within an
// ulp or two); a square root farther than this from a rounding boundary rounds like it.
constexpr double kRoundingMargin = 1e-12;
// Adding and taking away 1.5 * 2^52 rounds a double to an integer, halves to even.
constexpr double kRoundingShift = 6755399441055744.0;

// 255 component rounded to the nearest integer, halves to even, for |255 component| < 2^30.
std::int32_t ByteLevel(float component) {
    return static_cast<std::int32_t>((255.0 * d(component) + kRoundingShift) - kRoundingShift);
}

std::uint32_t Bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}
float Float(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

}  // namespace

void ShadeBlock(const ShadeBlockInput& in, std::size_t count, Vec3 light, float ka, float kd,
                float ks, Colour* colours, std::uint32_t* unsure) {
    for (std::size_t i = 0; i < count; ++i) {
        const float x1 = in.x1[i], y1 = in.y1[i], z1 = in.z1[i];
        const float x2 = in.x2[i], y2 = in.y2[i], z2 = in.z2[i];
        const float x3 = in.x3[i], y3 = in.y3[i], z3 = in.z3[i];
        // TriangleNormal: (P1 - P2) x (P3 - P2).
        const float ux = f(d(x1) - d(x2)), uy = f(d(y1) - d(y2)), uz = f(d(z1) - d(z2));
        const float wx = f(d(x3) - d(x2)), wy = f(d(y3) - d(y2)), wz = f(d(z3) - d(z2));
        const float nx = f(d(uy) * d(wz) - d(uz) * d(wy));
        const float ny = f(d(uz) * d(wx) - d(ux) * d(wz));
        const float nz = f(d(ux) * d(wy) - d(uy) * d(wx));
        // NegCentroid and LightVector.
        const float sx = f(d(f(d(x1) + d(x2))) + d(x3));
        const float sy = f(d(f(d(y1) + d(y2))) + d(y3));
        const float sz = f(d(f(d(z1) + d(z2))) + d(z3));
        const float vx = f(d(kMinusOneThird) * d(sx)), vy = f(d(kMinusOneThird) * d(sy)),
                    vz = f(d(kMinusOneThird) * d(sz));
        const float mx = f(d(vx) + d(light.x)), my = f(d(vy) + d(light.y)),
                    mz = f(d(vz) + d(light.z));
        // Diffuse: the cosine between the normal and the light vector, at least 0.
        const float nn = f(d(nx) * d(nx) + d(ny) * d(ny) + d(nz) * d(nz));
        const float mm = f(d(mx) * d(mx) + d(my) * d(my) + d(mz) * d(mz));
        const float nm = f(d(nx) * d(mx) + d(ny) * d(my) + d(nz) * d(mz));
        const double lengths = d(f(std::sqrt(d(nn)))) * d(f(std::sqrt(d(mm))));
        float diffuse = lengths > kTiny ? f(d(nm) / lengths) : 1.0f;
        diffuse = diffuse < 0.0f ? 0.0f : diffuse;
        // ReflectVector: N (2 (N . M)) - M.
        const float k = f(d(nm) * 2.0);
        const float rx = f(d(f(d(k) * d(nx))) - d(mx));
        const float ry = f(d(f(d(k) * d(ny))) - d(my));
        const float rz = f(d(f(d(k) * d(nz))) - d(mz));
        // SpecularCosine between NegCentroid and the reflection.
        const float vv = f(d(vx) * d(vx) + d(vy) * d(vy) + d(vz) * d(vz));
        const float rr = f(d(rx) * d(rx) + d(ry) * d(ry) + d(rz) * d(rz));
        const float vr = f(d(vx) * d(rx) + d(vy) * d(ry) + d(vz) * d(rz));
        const double lengths2 = d(f(std::sqrt(d(vv)))) * d(f(std::sqrt(d(rr))));
        const float cosine = lengths2 > kTiny ? f(d(vr) / lengths2) : 1.0f;
        // cosine^0.5 as the square root, and whether exp(0.5 ln cosine) surely rounds alike.
        const double root = std::sqrt(cosine > 0.0f ? d(cosine) : 0.0);
        const float specular = f(root);
        const float rootLow = f(root * (1.0 - kRoundingMargin)),
                    rootHigh = f(root * (1.0 + kRoundingMargin));

        const float intensity = f(d(kd) * d(diffuse) + d(ka) + d(ks) * d(specular));
        const float hue = in.hue[i];
        const float saturation = hue == kNoHue ? 0.0f : intensity;
        // HSVToRGB, worked out for every triangle and then chosen: no saturation, or a hue
        // outside the six sextants, leaves the grey of the intensity.
        const float h = f(d(std::fabs(d(hue) - 360.0) < kTiny ? 0.0f : hue) * kOneSixtieth);
        // trunc as a conversion: |h| stays below 2^31 / 60 for any hue code.
        const double sextant = double(static_cast<std::int32_t>(h));
        const double fraction = d(f(d(h) - sextant));
        const float p = f((1.0 - d(saturation)) * d(intensity));
        const float q = f((1.0 - d(saturation) * fraction) * d(intensity));
        const float t = f((1.0 - d(saturation) * (1.0 - fraction)) * d(intensity));
        const float v = intensity;
        // Chosen by masks over the bits, without branches.
        const std::uint32_t grey = std::fabs(d(saturation)) < kTiny ? ~0u : 0u;
        const std::uint32_t m0 = sextant == 0.0 ? ~grey : 0u, m1 = sextant == 1.0 ? ~grey : 0u,
                            m2 = sextant == 2.0 ? ~grey : 0u, m3 = sextant == 3.0 ? ~grey : 0u,
                            m4 = sextant == 4.0 ? ~grey : 0u, m5 = sextant == 5.0 ? ~grey : 0u;
        const std::uint32_t none = ~(m0 | m1 | m2 | m3 | m4 | m5);
        const std::uint32_t V = Bits(v), P = Bits(p), Q = Bits(q), T = Bits(t);
        float r = Float((V & (m0 | m5 | none)) | (Q & m1) | (P & (m2 | m3)) | (T & m4));
        float g = Float((T & m0) | (V & (m1 | m2 | none)) | (Q & m3) | (P & (m4 | m5)));
        float b = Float((P & (m0 | m1)) | (T & m2) | (V & (m3 | m4 | none)) | (Q & m5));
        // Levels that the rounding below cannot take make the triangle unsure.
        std::uint32_t bad = std::fabs(r) < 1e6f ? 0u : 1u;
        bad |= std::fabs(g) < 1e6f ? 0u : 1u;
        bad |= std::fabs(b) < 1e6f ? 0u : 1u;
        r = bad == 0 ? r : 0.0f;
        g = bad == 0 ? g : 0.0f;
        b = bad == 0 ? b : 0.0f;
        // PackRGB of the three levels.
        colours[i] = (Colour(ByteLevel(r)) & 255u) | (Colour(ByteLevel(g)) & 255u) << 8 |
                     (Colour(ByteLevel(b)) & 255u) << 16;
        // Not finite: x - x is 0 for every finite x.
        bad |= nn - nn == 0.0f ? 0u : 1u;
        bad |= mm - mm == 0.0f ? 0u : 1u;
        bad |= nm - nm == 0.0f ? 0u : 1u;
        bad |= vv - vv == 0.0f ? 0u : 1u;
        bad |= rr - rr == 0.0f ? 0u : 1u;
        bad |= vr - vr == 0.0f ? 0u : 1u;
        bad |= rootLow == rootHigh ? 0u : 1u;
        unsure[i] = bad;
    }
}

}  // namespace quarn

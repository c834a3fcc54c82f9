#include "vec3.h"

#include <cmath>

#include "checked_float.h"

namespace quarn {

namespace {

// Each result is formed in double and rounded to 32 bits once; an overflow or an invalid
// operation becomes the platform's fault instead of an infinity or a NaN.
Vec3 store(double x, double y, double z) {
    return {CheckedToFloat(x), CheckedToFloat(y), CheckedToFloat(z)};
}

double d(float v) {
    return static_cast<double>(v);
}

constexpr float kMinusOneThird = -0.33333334f;
constexpr double kSmallProduct = 1e-9;

}  // namespace

float VecDot(Vec3 a, Vec3 b) {
    return CheckedToFloat(d(a.x) * d(b.x) + d(a.y) * d(b.y) + d(a.z) * d(b.z));
}

float VecLength(Vec3 a) {
    return CheckedToFloat(std::sqrt(d(VecDot(a, a))));
}

Vec3 VecCross(Vec3 a, Vec3 b) {
    return store(d(a.y) * d(b.z) - d(a.z) * d(b.y), d(a.z) * d(b.x) - d(a.x) * d(b.z),
                 d(a.x) * d(b.y) - d(a.y) * d(b.x));
}

Vec3 VecAdd(Vec3 a, Vec3 b) {
    return store(d(a.x) + d(b.x), d(a.y) + d(b.y), d(a.z) + d(b.z));
}

Vec3 VecSub(Vec3 a, Vec3 b) {
    return store(d(a.x) - d(b.x), d(a.y) - d(b.y), d(a.z) - d(b.z));
}

Vec3 VecScale(Vec3 a, float k) {
    return store(d(k) * d(a.x), d(k) * d(a.y), d(k) * d(a.z));
}

Vec3 MatMulVec(Vec3 v, const Mat3& m) {
    return store(d(m[0]) * d(v.x) + d(m[1]) * d(v.y) + d(m[2]) * d(v.z),
                 d(m[3]) * d(v.x) + d(m[4]) * d(v.y) + d(m[5]) * d(v.z),
                 d(m[6]) * d(v.x) + d(m[7]) * d(v.y) + d(m[8]) * d(v.z));
}

Vec3 TriangleNormal(Vec3 p1, Vec3 p2, Vec3 p3) {
    return VecCross(VecSub(p1, p2), VecSub(p3, p2));
}

Vec3 NegCentroid(Vec3 p1, Vec3 p2, Vec3 p3) {
    return VecScale(VecAdd(VecAdd(p1, p2), p3), kMinusOneThird);
}

Vec3 LightVector(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light) {
    return VecAdd(NegCentroid(p1, p2, p3), light);
}

Vec3 ReflectVector(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light) {
    const Vec3 n = TriangleNormal(p1, p2, p3);
    const Vec3 m = LightVector(p1, p2, p3, light);
    const float k = CheckedToFloat(d(VecDot(n, m)) * 2.0);
    return VecSub(VecScale(n, k), m);
}

float SpecularCosine(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light) {
    const Vec3 v = NegCentroid(p1, p2, p3);
    const Vec3 r = ReflectVector(p1, p2, p3, light);
    const double lengths = d(VecLength(v)) * d(VecLength(r));
    if (!(lengths > kSmallProduct))
        return 1.0f;
    return CheckedToFloat(d(VecDot(v, r)) / lengths);
}

}  // namespace quarn

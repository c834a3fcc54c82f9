// 3-component vectors, the 3 x 3 matrix product and the triangle operations of the shading.
//
// Every component and scalar result is a 32-bit float; sums and products inside one
// operation are formed in double and rounded once on storing. Arguments are taken by value,
// so a result may be written over one of its inputs. Nothing divides except SpecularCosine,
// which guards its one division with a 1e-9 test. A result too large for 32 bits raises
// "Floating point overflow", a NaN "Invalid floating point operation".
#pragma once

#include <array>

namespace quarn {

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

/// Nine floats, row after row; multiplies a Vec3 taken as a column vector.
using Mat3 = std::array<float, 9>;

/// a.x b.x + a.y b.y + a.z b.z, summed in that order.
float VecDot(Vec3 a, Vec3 b);
/// Square root of VecDot(a, a) as stored in 32 bits.
float VecLength(Vec3 a);
/// a x b.
Vec3 VecCross(Vec3 a, Vec3 b);
/// a + b, component by component.
Vec3 VecAdd(Vec3 a, Vec3 b);
/// a - b, component by component.
Vec3 VecSub(Vec3 a, Vec3 b);
/// (k a.x, k a.y, k a.z).
Vec3 VecScale(Vec3 a, float k);
/// m v with v as a column vector.
Vec3 MatMulVec(Vec3 v, const Mat3& m);

/// VecCross(P1 - P2, P3 - P2): not normalised, length twice the area.
Vec3 TriangleNormal(Vec3 p1, Vec3 p2, Vec3 p3);
/// ((P1 + P2) + P3) * -0.33333334: from the centroid to the origin.
Vec3 NegCentroid(Vec3 p1, Vec3 p2, Vec3 p3);
/// NegCentroid + L: from the centroid to the light.
Vec3 LightVector(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light);
/// N * (2 (N . M)) - M with the unnormalised normal N and the light vector M.
Vec3 ReflectVector(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light);
/// Cosine between NegCentroid and ReflectVector; 1.0 when the lengths' product <= 1e-9.
float SpecularCosine(Vec3 p1, Vec3 p2, Vec3 p3, Vec3 light);

}  // namespace quarn

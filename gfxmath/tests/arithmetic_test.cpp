// The scalar helpers and the vector and triangle arithmetic under the shading.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <tuple>

#include "fault_text.h"
#include "numeric.h"
#include "vec3.h"

namespace quarn {

// Readable failure output for vectors.
void PrintTo(const Vec3& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

namespace {

TEST(Numeric, MinMaxAndPower) {
    EXPECT_EQ(std::tuple(IntMax(-3, 2), IntMax(7, -7), RealMin(1.0, 2.0), RealMax(-1.0, -2.0)),
              std::tuple(2, 7, 1.0, -1.0));
    // +0 and -0 compare equal, so the sign shows that the second argument came back.
    EXPECT_TRUE(std::signbit(RealMax(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(RealMin(0.0, -0.0)));
    EXPECT_DOUBLE_EQ(RealPower(4.0, 0.5), 2.0);
    EXPECT_DOUBLE_EQ(RealPower(2.0, 10.0), 1024.0);
    EXPECT_EQ(std::pair(RealPower(1.0, 123.0), RealPower(7.0, 0.0)), std::pair(1.0, 1.0));
}

TEST(Numeric, RealPowerFaultsRaiseThePlatformText) {
    const struct {
        double a, b;
        const char* text;
    } cases[] = {{0.0, 0.5, "Floating point division by zero"},  // ln 0 is a pole
                 {-1.0, 0.5, "Invalid floating point operation"},
                 {std::nan(""), 1.0, "Invalid floating point operation"},
                 {std::exp(1.0), 1000.0, "Floating point overflow"}};  // beyond the double range
    for (const auto& c : cases)
        EXPECT_EQ(testing::FaultText([&] { RealPower(c.a, c.b); }), c.text) << c.a << "^" << c.b;
}

TEST(Numeric, TrimLeftSkipsOnlyLeadingSpacesAndTabs) {
    const struct {
        const char *in, *out;
    } cases[] = {{"", ""},         {" \t \t", ""}, {"  12 ", "12 "},   {"\t12", "12"},
                 {"\n12", "\n12"}, {"1 2", "1 2"}, {" \r 12", "\r 12"}};
    for (const auto& c : cases)
        EXPECT_EQ(TrimLeftBlanks(c.in), c.out) << '"' << c.in << '"';
}

TEST(Vec3, DotAndLengthOfTheWorkedValues) {
    EXPECT_EQ(VecDot({1, 2, 3}, {4, 5, 6}), 32.0f);
    EXPECT_EQ(VecLength({3, 4, 12}), 13.0f);
    // The dot product rounds its sum once: two terms of 2^-24 vanish one by one against 1 in 32
    // bits, but not together.
    const float tiny = std::ldexp(1.0f, -24);
    EXPECT_EQ(VecDot({1, 1, 1}, {1, tiny, tiny}), 1.0f + std::ldexp(1.0f, -23));
}

TEST(Vec3, OverflowIsAPlatformFault) {
    const Vec3 big{3e38f, 0, 0};
    const Mat3 m{big.x, big.x, 0, 0, 0, 0, 0, 0, 0};
    constexpr const char* kOverflow = "Floating point overflow";
    EXPECT_EQ(testing::FaultText([&] { VecScale(big, 10); }), kOverflow);
    EXPECT_EQ(testing::FaultText([&] { VecAdd(big, big); }), kOverflow);
    EXPECT_EQ(testing::FaultText([&] { VecDot(big, big); }), kOverflow);
    EXPECT_EQ(testing::FaultText([&] { MatMulVec({1, 1, 0}, m); }), kOverflow);
}

TEST(Triangle, NormalsOfWorkedAndDegenerateTriangles) {
    EXPECT_EQ(TriangleNormal({1, 0, 0}, {0, 0, 0}, {0, 1, 0}), (Vec3{0, 0, 1}));
    EXPECT_EQ(TriangleNormal({1, 5, -1}, {-1, 5, 0}, {0, 5, 1}), (Vec3{0, -3, 0}));
    // Degenerate triangles have no normal.
    EXPECT_EQ(TriangleNormal({2, 3, 4}, {2, 3, 4}, {2, 3, 4}), (Vec3{0, 0, 0}));
    EXPECT_EQ(TriangleNormal({0, 0, 0}, {1, 1, 1}, {2, 2, 2}), (Vec3{0, 0, 0}));
}

TEST(Triangle, CentroidAndLightVectors) {
    const Vec3 p1{1, 2, 3}, p2{4, 5, 6}, p3{7, 8, 9};
    EXPECT_EQ(NegCentroid(p1, p2, p3), (Vec3{-4, -5, -6}));
    EXPECT_EQ(LightVector(p1, p2, p3, {10, 10, 10}), (Vec3{6, 5, 4}));
    // The centroid is multiplied by the float nearest -1/3: 5 times -0.33333334f rounds to a
    // different float than 5 divided by -3.
    const Vec3 v = NegCentroid({5, 0, 0}, {0, 0, 0}, {0, 0, 0});
    EXPECT_EQ(v.x, -1.6666667461395264f);
}

TEST(Triangle, ReflectionAndSpecularCosine) {
    const Vec3 p1{1, 5, -1}, p2{-1, 5, 0}, p3{0, 5, 1}, light{3, -4, 0};
    EXPECT_EQ(ReflectVector(p1, p2, p3, light), (Vec3{-3, -153, 0}));
    EXPECT_FLOAT_EQ(SpecularCosine(p1, p2, p3, light), 0.9998078f);
    // With the centroid at the origin the view vector has no length and the division is skipped.
    EXPECT_EQ(SpecularCosine({-1, 0, 1}, {1, 0, 1}, {0, 0, -2}, {5, 5, 5}), 1.0f);
}

}  // namespace
}  // namespace quarn

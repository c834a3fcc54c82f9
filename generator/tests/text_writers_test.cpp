#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "generator_test_support.h"
#include "write_3df.h"
#include "write_asc.h"
#include "write_plg.h"
#include "write_raw.h"

namespace quarn {
namespace {

using testing::Fields;
using testing::Paint;
using testing::SampleOnGrid;
using testing::UniformRaster;

// The 2 x 2 grid of a 20 x 20 map, one height everywhere: z = 2.5, both triangles mountain.
TerrainMesh TwoByTwo() {
    return SampleOnGrid(testing::TwoByTwoFields(), UniformRaster(20, 20, 0));
}

// A 30 x 20 grid whose column bands reach all four height classes.
TerrainMesh Banded() {
    GeneratorFields f = Fields("100", "200", "400", "600", "400", "20");
    for (std::size_t c = 0; c < 6; ++c)
        f.heights[c] = std::to_string(c * 100);
    ClassifiedRaster raster = UniformRaster(60, 40, 0);
    for (std::int32_t c = 0; c < 6; ++c)
        Paint(raster, c * 10, 0, 10, 40, static_cast<std::uint8_t>(c));
    Paint(raster, 0, 0, 3, 3, kNoClass);
    return SampleOnGrid(f, raster);
}

template <typename Format>
std::string Text(Format format, const TerrainMesh& mesh) {
    MemorySink sink;
    BinaryWriter out(sink);
    format(out, mesh);
    return {sink.bytes().begin(), sink.bytes().end()};
}

testing::TdfContents Tdf(const TerrainMesh& mesh) {
    MemorySink sink;
    BinaryWriter out(sink);
    Format3DF(out, mesh);
    return testing::ParseTdf(sink.bytes());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

float Number(const std::string& token) {
    char* end = nullptr;
    const float value = std::strtof(token.c_str(), &end);
    EXPECT_EQ(*end, '\0') << token;
    return value;
}

// The height class whose ASC material line or PLG colour this is.
template <typename Matches>
std::int32_t CodeWhere(Matches matches) {
    for (std::int32_t code : {kWaterCode, kLawnCode, kMountainCode, kSnowCode})
        if (matches(code))
            return code;
    ADD_FAILURE() << "no height class";
    return -1;
}

TEST(FormatASC, TwoByTwoGridText) {
    EXPECT_EQ(Text(FormatASC, TwoByTwo()),
              "Named object: \"Quarn terrain\"\n"
              "Tri-mesh, Vertices: 4 Faces: 2\n"
              "Vertex list:\n"
              "Vertex 0: X: -0.47368422 Y: 0.47368422 Z: 2.5\n"
              "Vertex 1: X: 0.57894737 Y: 0.47368422 Z: 2.5\n"
              "Vertex 2: X: -0.47368422 Y: -0.57894737 Z: 2.5\n"
              "Vertex 3: X: 0.57894737 Y: -0.57894737 Z: 2.5\n"
              "Face list:\n"
              "Face 0: A:0 B:1 C:3 AB:1 BC:1 CA:1\n"
              "Material:\"MOUNTAIN\"\n"
              "Face 1: A:0 B:3 C:2 AB:1 BC:1 CA:1\n"
              "Material:\"MOUNTAIN\"\n");
}

TEST(FormatRAW, TwoByTwoGridText) {
    EXPECT_EQ(Text(FormatRAW, TwoByTwo()),
              "-0.47368422 0.47368422 2.5 0.57894737 0.47368422 2.5 0.57894737 -0.57894737 2.5\n"
              "-0.47368422 0.47368422 2.5 0.57894737 -0.57894737 2.5 -0.47368422 -0.57894737 "
              "2.5\n");
}

TEST(FormatPLG, TwoByTwoGridText) {
    EXPECT_EQ(Text(FormatPLG, TwoByTwo()),
              "# Quarn 3D terrain\n"
              "quarn_terrain 4 2\n"
              "-0.47368422 0.47368422 2.5\n"
              "0.57894737 0.47368422 2.5\n"
              "-0.47368422 -0.57894737 2.5\n"
              "0.57894737 -0.57894737 2.5\n"
              "0x13ff 3 0 1 3\n"
              "0x13ff 3 0 3 2\n");
}

TEST(PlgColour, HueNibbleCarriesTheHeightClass) {
    EXPECT_EQ(PlgColour(kWaterCode), 0x11FFu);
    EXPECT_EQ(PlgColour(kLawnCode), 0x12FFu);
    EXPECT_EQ(PlgColour(kMountainCode), 0x13FFu);
    EXPECT_EQ(PlgColour(kSnowCode), 0x10FFu);
}

TEST(TextFormats, BandedMapReachesEveryClass) {
    std::set<std::int32_t> codes;
    for (const Triangle& t : Tdf(Banded()).triangles)
        codes.insert(t.colour);
    EXPECT_EQ(codes, (std::set<std::int32_t>{kWaterCode, kLawnCode, kMountainCode, kSnowCode}));
}

TEST(FormatASC, ReadsBackAsThe3DFOfTheSameMap) {
    const TerrainMesh mesh = Banded();
    const auto tdf = Tdf(mesh);
    const auto lines = Lines(Text(FormatASC, mesh));
    ASSERT_EQ(lines.size(), 4 + tdf.vertices.size() + 2 * tdf.triangles.size());
    EXPECT_EQ(lines[0], "Named object: \"Quarn terrain\"");
    EXPECT_EQ(lines[1], "Tri-mesh, Vertices: " + std::to_string(tdf.vertices.size()) +
                            " Faces: " + std::to_string(tdf.triangles.size()));
    EXPECT_EQ(lines[2], "Vertex list:");
    for (std::size_t k = 0; k < tdf.vertices.size(); ++k) {
        std::istringstream in(lines[3 + k]);
        std::string vertex, index, x, xv, y, yv, z, zv;
        in >> vertex >> index >> x >> xv >> y >> yv >> z >> zv;
        EXPECT_EQ(index, std::to_string(k) + ":");
        EXPECT_EQ(Number(xv), tdf.vertices[k].x);
        EXPECT_EQ(Number(yv), tdf.vertices[k].y);
        EXPECT_EQ(Number(zv), tdf.vertices[k].z);
    }
    const std::size_t faces = 3 + tdf.vertices.size();
    EXPECT_EQ(lines[faces], "Face list:");
    for (std::size_t i = 0; i < tdf.triangles.size(); ++i) {
        const Triangle& t = tdf.triangles[i];
        EXPECT_EQ(lines[faces + 1 + 2 * i], "Face " + std::to_string(i) + ": A:" +
                                                std::to_string(t.a) + " B:" + std::to_string(t.b) +
                                                " C:" + std::to_string(t.c) + " AB:1 BC:1 CA:1");
        EXPECT_EQ(CodeWhere([&](std::int32_t code) {
                      return lines[faces + 2 + 2 * i] ==
                             std::string("Material:\"") + AscMaterialName(code) + "\"";
                  }),
                  t.colour);
    }
}

TEST(FormatRAW, ReadsBackAsThe3DFOfTheSameMap) {
    const TerrainMesh mesh = Banded();
    const auto tdf = Tdf(mesh);
    const auto lines = Lines(Text(FormatRAW, mesh));
    ASSERT_EQ(lines.size(), tdf.triangles.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream in(lines[i]);
        std::vector<float> numbers;
        for (std::string token; in >> token;)
            numbers.push_back(Number(token));
        ASSERT_EQ(numbers.size(), 9u);
        const Triangle& t = tdf.triangles[i];
        std::size_t n = 0;
        for (std::int32_t corner : {t.a, t.b, t.c}) {
            const Vertex& v = tdf.vertices[static_cast<std::size_t>(corner)];
            EXPECT_EQ(numbers[n++], v.x);
            EXPECT_EQ(numbers[n++], v.y);
            EXPECT_EQ(numbers[n++], v.z);
        }
    }
}

TEST(FormatPLG, ReadsBackAsThe3DFOfTheSameMap) {
    const TerrainMesh mesh = Banded();
    const auto tdf = Tdf(mesh);
    std::istringstream in(Text(FormatPLG, mesh));
    std::string comment, name;
    std::getline(in, comment);
    EXPECT_EQ(comment[0], '#');
    std::size_t n = 0, t = 0;
    in >> name >> n >> t;
    EXPECT_EQ(name, "quarn_terrain");
    ASSERT_EQ(n, tdf.vertices.size());
    ASSERT_EQ(t, tdf.triangles.size());
    for (const Vertex& v : tdf.vertices) {
        std::string x, y, z;
        in >> x >> y >> z;
        EXPECT_EQ(Number(x), v.x);
        EXPECT_EQ(Number(y), v.y);
        EXPECT_EQ(Number(z), v.z);
    }
    for (const Triangle& expected : tdf.triangles) {
        std::string colour;
        int corners = 0;
        Triangle got;
        in >> colour >> corners >> got.a >> got.b >> got.c;
        EXPECT_EQ(corners, 3);
        const auto value = static_cast<std::uint32_t>(std::stoul(colour, nullptr, 16));
        EXPECT_EQ(CodeWhere([&](std::int32_t code) { return PlgColour(code) == value; }),
                  expected.colour);
        EXPECT_EQ(got.a, expected.a);
        EXPECT_EQ(got.b, expected.b);
        EXPECT_EQ(got.c, expected.c);
    }
    std::string rest;
    EXPECT_FALSE(in >> rest);
}

}  // namespace
}  // namespace quarn

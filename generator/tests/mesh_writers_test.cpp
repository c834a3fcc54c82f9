// OBJ, PLY and GLB read back by small parsers and compared with the 3DF of the same map: a
// 200 x 100 unit map, 10 x 5 vertices, four bands from water to snow (west to east).
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "generator_test_support.h"
#include "mesh_export.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"
#include "write_3df.h"

namespace quarn {
namespace {

using Face = std::array<std::int32_t, 4>;  // three corners and the height class

std::vector<std::string> Matches(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m)
        found.push_back((*m)[1]);
    return found;
}

class MeshWriters : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::uint8_t band = 0; band < 4; ++band) {
            testing::Paint(raster, 10 * band, 0, 10, 20, band);
            fields.heights[band] = std::array{"0", "30", "120", "400"}[band];
        }
        ASSERT_TRUE(Set_Grid(fields, raster.width, raster.height, setup));
        MemorySink sink;
        BinaryWriter out(sink);
        Format3DF(out, testing::SampleOnGrid(fields, raster));
        std::istringstream tdf({sink.bytes().begin() + 3, sink.bytes().end()});
        BinaryReader in(tdf);
        for (std::int32_t n = in.readInt32(); n > 0; --n) {
            const Vertex v = ReadVertex(in);  // map units: half the extent per plane unit
            vertices.push_back({v.x * 100, v.y * 100, v.z / 2.5f * 200});
        }
        for (std::int32_t n = in.readInt32(); n > 0; --n) {
            const Triangle t = ReadTriangle(in);  // upward: the second and third corners swap
            faces.push_back({t.a, t.c, t.b, std::int32_t(HeightClassIndex(t.colour))});
        }
    }
    // Writes name in the format its extension chooses, as the generate command does.
    bool Write(const std::string& name) {
        const std::string file = folder.file(name);
        return WriteTerrainFile(setup, raster, file, *FormatOfFile(file)).written;
    }
    void ExpectVertex(std::size_t k, float x, float y, float z) {
        ASSERT_LT(k, vertices.size());
        EXPECT_FLOAT_EQ(x, vertices[k].x) << k;
        EXPECT_FLOAT_EQ(y, vertices[k].y) << k;
        EXPECT_FLOAT_EQ(z, vertices[k].z) << k;
    }

    testing::ScriptedUi ui;
    testing::TempFolder folder;
    ClassifiedRaster raster = testing::UniformRaster(40, 20, 0);
    GeneratorFields fields = testing::Fields("10", "50", "200", "200", "100", "20");
    GridSetup setup;
    std::vector<Vertex> vertices;
    std::vector<Face> faces;
};

TEST_F(MeshWriters, ObjAndItsMaterialsMatchThe3DF) {
    ASSERT_TRUE(Write("land.obj"));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"land.mtl", "land.obj"}));
    std::istringstream obj(folder.read("land.obj"));
    std::string key, name;
    std::vector<Face> read;
    std::size_t k = 0;
    std::int32_t cls = -1;
    for (float x = 0, y = 0, z = 0; obj >> key; std::getline(obj, key)) {
        std::int32_t a = 0, b = 0, c = 0;
        if (key == "v" && obj >> x >> y >> z)
            ExpectVertex(k++, x, y, z);
        else if (key == "usemtl" && obj >> name)
            for (cls = 0; name != kHeightClasses[std::size_t(cls)].name && cls < 3;)
                ++cls;
        else if (key == "f" && obj >> a >> b >> c)
            read.push_back({a - 1, b - 1, c - 1, cls});
    }
    EXPECT_EQ(k, vertices.size());
    EXPECT_EQ(read, faces);
    const std::string objText = folder.read("land.obj"), mtl = folder.read("land.mtl");
    EXPECT_NE(objText.find("\nmtllib land.mtl\n"), std::string::npos);
    std::size_t changes = 1;  // a switch only where the class changes
    for (std::size_t f = 1; f < faces.size(); ++f)
        changes += faces[f][3] != faces[f - 1][3];
    EXPECT_EQ(Matches(objText, "usemtl (\\w+)").size(), changes);
    EXPECT_EQ(Matches(mtl, "newmtl (\\w+)"),
              (std::vector<std::string>{"water", "lawn", "mountain", "snow"}));
    EXPECT_EQ(Matches(mtl, "Kd ([ .0-9]+)"),
              (std::vector<std::string>{"0 0.4 1", "0 1 0", "1 0.4 0", "1 1 1"}));
}

TEST_F(MeshWriters, PlyMatchesThe3DFWithTheClassColourPerFace) {
    ASSERT_TRUE(Write("land.ply"));
    const std::string ply = folder.read("land.ply");
    EXPECT_EQ(ply.find("ply\nformat binary_little_endian 1.0\n"), 0u);
    EXPECT_NE(ply.find("element vertex 50\nproperty float x\nproperty float y\nproperty float z\n"
                       "element face 72\nproperty list uchar int vertex_indices\n"
                       "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                       "end_header\n"),
              std::string::npos);
    std::istringstream bytes(ply.substr(ply.find("end_header\n") + 11));
    BinaryReader in(bytes);
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const Vertex v = ReadVertex(in);
        ExpectVertex(k, v.x, v.y, v.z);
    }
    for (const Face& face : faces) {
        EXPECT_EQ(in.readUint8(), 3);
        EXPECT_EQ((Face{in.readInt32(), in.readInt32(), in.readInt32(), face[3]}), face);
        const HeightClass& c = kHeightClasses[std::size_t(face[3])];
        EXPECT_EQ((std::array{in.readUint8(), in.readUint8(), in.readUint8()}),
                  (std::array{c.red, c.green, c.blue}));
    }
    EXPECT_TRUE(in.atEnd());
}

TEST_F(MeshWriters, GlbChunksAccessorsAndPrimitivesMatchThe3DF) {
    ASSERT_TRUE(Write("land.glb"));
    std::istringstream glb(folder.read("land.glb"));
    BinaryReader in(glb);
    for (const std::uint32_t header : {0x46546C67u, 2u, std::uint32_t(glb.str().size())})
        EXPECT_EQ(in.readUint32(), header);
    std::string json(in.readUint32(), ' ');
    EXPECT_EQ(json.size() % 4, 0u);
    EXPECT_EQ(in.readUint32(), 0x4E4F534Au);
    in.readBytes({reinterpret_cast<std::uint8_t*>(json.data()), json.size()});
    EXPECT_EQ(in.readUint32() + 20 + json.size() + 8, glb.str().size());
    EXPECT_EQ(in.readUint32(), 0x004E4942u);
    EXPECT_EQ(Matches(json, "\"name\":\"(\\w+)\",\"pbr"),
              (std::vector<std::string>{"water", "lawn", "mountain", "snow"}));
    const std::vector<std::string> counts = Matches(json, "\"count\":(\\d+)");
    ASSERT_EQ(counts.size(), 5u);
    EXPECT_EQ(counts[0], "50");
    std::array<double, 6> bounds{1e9, 1e9, 1e9, -1e9, -1e9, -1e9}, declared{};
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const Vertex v = ReadVertex(in);  // x east, y up, z south
        ExpectVertex(k, v.x, -v.z, v.y);
        for (std::size_t i = 0; i < 3; ++i) {
            bounds[i] = std::min(bounds[i], double(std::array{v.x, v.y, v.z}[i]));
            bounds[i + 3] = std::max(bounds[i + 3], double(std::array{v.x, v.y, v.z}[i]));
        }
    }
    std::istringstream numbers(Matches(json, "\"min\":\\[(.*?)\\]")[0] + ',' +
                               Matches(json, "\"max\":\\[(.*?)\\]")[0]);
    char comma = 0;
    for (double& value : declared)
        numbers >> value >> comma;
    EXPECT_EQ(declared, bounds);  // exactly the stored float values
    std::vector<Face> read;
    for (std::int32_t p = 1; p < 5; ++p)
        for (std::int32_t n = std::stoi(counts[std::size_t(p)]) / 3; n > 0; --n)
            read.push_back({in.readInt32(), in.readInt32(), in.readInt32(), p - 1});
    EXPECT_TRUE(in.atEnd());
    std::stable_sort(faces.begin(), faces.end(),
                     [](const Face& a, const Face& b) { return a[3] < b[3]; });
    EXPECT_EQ(read, faces);
}

}  // namespace
}  // namespace quarn

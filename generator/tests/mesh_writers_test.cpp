// The mesh formats read back by small parsers and compared with the 3DF of the same map. OBJ,
// PLY and GLB: a 200 x 100 unit map, 10 x 5 vertices, four bands from water to snow (west to
// east). STL: the solid of a 5 x 3 grid with three heights, closed, facing out, sized in
// millimetres, and its surface on the 3DF vertices.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "export_options.h"
#include "generator_test_support.h"
#include "mesh_export.h"
#include "scripted_ui.h"
#include "simplified_terrain.h"
#include "tdf_format.h"
#include "temp_folder.h"
#include "terrain_file.h"
#include "write_3df.h"
#include "write_stl.h"

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
            ExpectVertex(k++, x, -z, y);  // x east, y up, z south
        else if (key == "usemtl" && obj >> name)
            for (cls = 0; name != kHeightClasses[std::size_t(cls)].name && cls < 3;)
                ++cls;
        else if (key == "f" && obj >> a >> b >> c)
            read.push_back({a - 1, b - 1, c - 1, cls});
    }
    EXPECT_EQ(k, vertices.size());
    std::vector<Face> byClass = faces;  // one switch per class, its faces in file order
    std::stable_sort(byClass.begin(), byClass.end(),
                     [](const Face& a, const Face& b) { return a[3] < b[3]; });
    EXPECT_EQ(read, byClass);
    const std::string objText = folder.read("land.obj"), mtl = folder.read("land.mtl");
    EXPECT_NE(objText.find("\nmtllib land.mtl\n"), std::string::npos);
    EXPECT_EQ(Matches(objText, "usemtl (\\w+)"),
              (std::vector<std::string>{"water", "lawn", "mountain", "snow"}));
    EXPECT_EQ(Matches(mtl, "newmtl (\\w+)"),
              (std::vector<std::string>{"water", "lawn", "mountain", "snow"}));
    EXPECT_EQ(Matches(mtl, "Kd ([ .0-9]+)"),
              (std::vector<std::string>{"0 0.4 1", "0 1 0", "1 0.4 0", "1 1 1"}));
}

TEST_F(MeshWriters, PlyMatchesThe3DFWithTheClassColourPerFaceAndPerVertex) {
    ASSERT_TRUE(Write("land.ply"));
    const std::string ply = folder.read("land.ply");
    EXPECT_EQ(ply.find("ply\nformat binary_little_endian 1.0\n"), 0u);
    const std::vector<std::string> counts = Matches(ply, "element \\w+ (\\d+)\n");
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_NE(ply.find("property float z\nproperty uchar red\nproperty uchar green\n"
                       "property uchar blue\nelement face 72\n"
                       "property list uchar int vertex_indices\n"
                       "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                       "end_header\n"),
              std::string::npos);
    std::istringstream bytes(ply.substr(ply.find("end_header\n") + 11));
    BinaryReader in(bytes);
    struct ColouredVertex {
        Vertex at;
        std::array<std::uint8_t, 3> colour;
    };
    std::vector<ColouredVertex> read(std::stoul(counts[0]));
    for (ColouredVertex& v : read)
        v = {ReadVertex(in), {in.readUint8(), in.readUint8(), in.readUint8()}};
    // Each face's corners are its 3DF corners, copies coloured as the face; a vertex is
    // copied once per class that meets at it.
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> copyOf;
    for (const Face& face : faces) {
        EXPECT_EQ(in.readUint8(), 3);
        const HeightClass& c = kHeightClasses[std::size_t(face[3])];
        const std::array<std::uint8_t, 3> colour{c.red, c.green, c.blue};
        for (std::size_t corner = 0; corner < 3; ++corner) {
            const std::int32_t index = in.readInt32();
            ASSERT_LT(std::size_t(index), read.size());
            const Vertex& v = read[std::size_t(index)].at;
            ExpectVertex(std::size_t(face[corner]), v.x, v.y, v.z);
            EXPECT_EQ(read[std::size_t(index)].colour, colour);
            const auto [at, added] = copyOf.try_emplace({face[corner], face[3]}, index);
            EXPECT_EQ(at->second, index) << "one copy per vertex and class";
        }
        EXPECT_EQ((std::array{in.readUint8(), in.readUint8(), in.readUint8()}), colour);
    }
    EXPECT_EQ(copyOf.size(), read.size()) << "no copy unused";
    EXPECT_GT(read.size(), vertices.size());
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

using Point = std::array<float, 3>;
using Bits = std::array<std::uint32_t, 3>;  // a corner compared bit for bit
using Facet = std::array<Point, 4>;         // the normal, then three corners

// The facets FormatSTL writes of mesh; the header is not a text STL's and every attribute is 0.
std::vector<Facet> Facets(const TerrainMesh& mesh, const ExportOptions& options) {
    MemorySink sink;
    BinaryWriter out(sink);
    FormatSTL(out, mesh, options);
    std::istringstream bytes(std::string(sink.bytes().begin(), sink.bytes().end()));
    BinaryReader in(bytes);
    std::array<std::uint8_t, 80> header{};
    in.readBytes(header);
    EXPECT_NE(std::string(header.begin(), header.begin() + 5), "solid");
    std::vector<Facet> facets(in.readUint32());
    for (Facet& facet : facets) {
        for (Point& point : facet)
            for (float& value : point)
                value = in.readFloat();
        EXPECT_EQ(in.readUint16(), 0);
    }
    EXPECT_TRUE(in.atEnd());
    return facets;
}

// The cross product of a facet's edges from its first corner: twice its area, facing out.
std::array<double, 3> Cross(const Facet& t) {
    std::array<double, 3> u{}, v{};
    for (std::size_t i = 0; i < 3; ++i)
        u[i] = double{t[2][i]} - t[1][i], v[i] = double{t[3][i]} - t[1][i];
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

TEST(StlWriter, ClosedOutwardSolidInMillimetresOnTheThreeDFVertices) {
    ClassifiedRaster raster = testing::UniformRaster(50, 30, 0);
    testing::Paint(raster, 0, 0, 20, 10, 1);    // a low corner on the border
    testing::Paint(raster, 20, 10, 10, 10, 2);  // a peak inside
    GeneratorFields fields = testing::Fields("0", "90", "150", "500", "300", "100");
    fields.heights[0] = "100", fields.heights[1] = "40", fields.heights[2] = "160";
    const TerrainMesh mesh = testing::SampleOnGrid(fields, raster);
    ASSERT_EQ(mesh.cols * mesh.rows, 15);

    std::vector<Vertex> vertices;  // as the 3DF file holds them
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        vertices.push_back(mesh.fileVertex(k));
    std::vector<Triangle> surface;
    ForEachTriangle(mesh, [&](const Triangle& t) { surface.push_back(t); });
    float zLow = vertices[0].z;
    for (const Vertex& v : vertices)
        zLow = std::min(zLow, v.z);
    const double side = std::max(vertices[4].x - vertices[0].x, vertices[0].y - vertices[10].y);

    for (const ExportOptions& options : {ExportOptions{}, ExportOptions{80, 2, 0.5}}) {
        const std::vector<Facet> facets = Facets(mesh, options);
        ASSERT_EQ(facets.size(), surface.size() + 6 * (5 + 3 - 2));
        const double mm = options.printSizeMm / side;
        std::map<std::pair<Bits, Bits>, int> edges;  // directed
        double volume = 0;
        Point high{}, low{1e9f, 1e9f, 1e9f};
        for (std::size_t n = 0; n < facets.size(); ++n) {
            const Point& normal = facets[n][0];
            const std::array<Point, 3> t{facets[n][1], facets[n][2], facets[n][3]};
            for (const Point& corner : t)
                for (std::size_t i = 0; i < 3; ++i)
                    high[i] = std::max(high[i], corner[i]), low[i] = std::min(low[i], corner[i]);
            const std::array<double, 3> c = Cross(facets[n]);
            const double twiceArea = std::hypot(c[0], c[1], c[2]);
            ASSERT_GT(twiceArea, 1e-6) << n;
            EXPECT_NEAR((c[0] * normal[0] + c[1] * normal[1] + c[2] * normal[2]) / twiceArea, 1,
                        1e-6);
            volume += t[0][0] * c[0] + t[0][1] * c[1] + t[0][2] * c[2];
            for (std::size_t k = 0; k < 3; ++k)
                ++edges[{std::bit_cast<Bits>(t[k]), std::bit_cast<Bits>(t[(k + 1) % 3])}];
            if (n >= surface.size())
                continue;
            // The surface: the 3DF triangle reversed, its vertices scaled to millimetres.
            const Triangle& s = surface[n];
            for (std::size_t k = 0; k < 3; ++k) {
                const Vertex& p = vertices[static_cast<std::size_t>(std::array{s.a, s.c, s.b}[k])];
                EXPECT_NEAR(t[k][0], (p.x - vertices[0].x) * mm, 1e-4);
                EXPECT_NEAR(t[k][1], (p.y - vertices[10].y) * mm, 1e-4);
                EXPECT_NEAR(t[k][2],
                            options.baseMm + (p.z - zLow) / 1.25 * mm * options.exaggeration, 1e-4);
            }
        }
        for (const auto& [edge, uses] : edges)
            EXPECT_TRUE(uses == 1 && edges.count({edge.second, edge.first}) == 1);
        EXPECT_GT(volume, 0);
        EXPECT_EQ(low, (Point{0, 0, 0}));
        EXPECT_FLOAT_EQ(std::max(high[0], high[1]), static_cast<float>(options.printSizeMm));
    }
}

// A simplified terrain, exact at every sample: its triangles coloured by the full grid's rule;
// its solid closed and outward, with walls along the simplified outline and a bottom of two
// triangles.
TEST(StlWriter, ASimplifiedSolidIsClosedAndOutwardWithATwoTriangleBottom) {
    ClassifiedRaster raster = testing::UniformRaster(60, 40, 0);
    testing::Paint(raster, 10, 10, 30, 20, 1);  // a plateau
    testing::Paint(raster, 20, 15, 10, 10, 2);  // a tower on it
    GeneratorFields fields = testing::Fields("0", "90", "150", "600", "400", "20");
    fields.heights[0] = "10", fields.heights[1] = "80", fields.heights[2] = "300";
    const TerrainMesh full = testing::SampleOnGrid(fields, raster);
    const SimplifiedTerrain simplified = SimplifyTerrain(full, 0.0, 0, 600);
    const TerrainMesh& mesh = simplified.mesh;
    EXPECT_EQ(simplified.largestError, 0);
    ASSERT_LT(mesh.triangleCount(), full.triangleCount() / 2);
    const NormalisedLevels& l = mesh.levels;
    ForEachTriangle(mesh, [&](const Triangle& t) {
        const auto h = [&](std::int32_t v) { return mesh.vertices[std::size_t(v)].h; };
        EXPECT_EQ(t.colour,
                  Triangle_Color(MeanHeight(h(t.a), h(t.b), h(t.c)), l.water, l.lawn, l.snow));
    });
    std::size_t border = 0;
    for (const std::int32_t k : mesh.samples)
        border += k / full.cols == 0 || k / full.cols == full.rows - 1 || k % full.cols == 0 ||
                  k % full.cols == full.cols - 1;
    const std::vector<Facet> facets = Facets(mesh, {});
    EXPECT_EQ(facets.size(), std::size_t(mesh.triangleCount()) + border + 4 + 2);
    std::map<std::pair<Bits, Bits>, int> edges;  // directed
    double volume = 0;
    std::size_t bottom = 0;
    for (const Facet& facet : facets) {
        const std::array<double, 3> c = Cross(facet);
        ASSERT_GT(std::hypot(c[0], c[1], c[2]), 1e-6);
        volume += facet[1][0] * c[0] + facet[1][1] * c[1] + facet[1][2] * c[2];
        bottom += facet[1][2] == 0 && facet[2][2] == 0 && facet[3][2] == 0 && c[2] < 0;
        for (std::size_t k = 1; k <= 3; ++k)
            ++edges[{std::bit_cast<Bits>(facet[k]), std::bit_cast<Bits>(facet[k % 3 + 1])}];
    }
    for (const auto& [edge, uses] : edges)
        EXPECT_TRUE(uses == 1 && edges.count({edge.second, edge.first}) == 1);
    EXPECT_GT(volume, 0);
    EXPECT_EQ(bottom, 2u);
}

// Within the accepted ranges every facet keeps an area, even on the finest grid a map allows
// (a cell of one pixel on a side of 16384); a print size of 1e-300 mm once gave a solid of
// facets without area.
TEST(StlWriter, EveryFacetKeepsAnAreaAtTheEndsOfTheAcceptedSizes) {
    ClassifiedRaster raster = testing::UniformRaster(16384, 2, 0);
    testing::Paint(raster, 0, 0, 8192, 1, 1);
    GeneratorFields fields = testing::Fields("0", "90", "150", "16384", "2", "1");
    fields.heights[0] = "0", fields.heights[1] = "30000";
    const TerrainMesh mesh = testing::SampleOnGrid(fields, raster);
    ASSERT_EQ(mesh.cols, 16384);
    for (const double print : {kPrintSizeRange.low, kPrintSizeRange.high})
        for (const double exaggeration : {kExaggerationRange.low, kExaggerationRange.high}) {
            const ExportOptions options{print, exaggeration, kBaseRange.low};
            std::size_t flat = 0;
            for (const Facet& facet : Facets(mesh, options)) {
                const std::array<double, 3> c = Cross(facet);
                flat += std::hypot(c[0], c[1], c[2]) > 0 ? 0 : 1;
            }
            EXPECT_EQ(flat, 0u) << print << " mm, exaggeration " << exaggeration;
        }
}

}  // namespace
}  // namespace quarn

// The STL solid of a 5 x 3 grid with three heights, read back by a small parser: closed,
// facing out, sized in millimetres, and its surface on the 3DF vertices of the same map.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

#include "export_options.h"
#include "generator_test_support.h"
#include "tdf_format.h"
#include "write_stl.h"

namespace quarn {
namespace {

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

    for (const ExportOptions options : {ExportOptions{}, ExportOptions{80, 2, 0.5}}) {
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

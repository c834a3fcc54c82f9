// The 3MF print and the parts per band, read back as a slicer reads them: the package unzipped,
// its model's XML checked against the core rules that apply (millimetres, triangles on existing
// vertices, base materials in range, closed meshes facing outwards), and the colour changes
// against the solid's own band tops.
#include <gtest/gtest.h>
#include <zip.h>

#include <QXmlStreamReader>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "generator_test_support.h"
#include "output_formats.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"

namespace quarn {
namespace {

struct ModelObject {
    std::string name;
    std::vector<std::array<double, 3>> vertices;
    std::vector<std::array<std::size_t, 4>> triangles;  // v1, v2, v3, p1
};

struct Model {
    std::string unit;
    std::vector<std::string> colours;  // the base materials' display colours
    std::vector<ModelObject> objects;
    std::map<std::string, std::string> metadata;
    std::size_t buildItems = 0;
};

std::string Entry(zip_t* archive, const char* name) {
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) != 0)
        return {};
    std::string bytes(stat.size, '\0');
    zip_file_t* file = zip_fopen(archive, name, 0);
    zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    return bytes;
}

// The package's model; empty where a part of the package is missing.
Model ReadModel(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    const std::string types = Entry(archive, "[Content_Types].xml");
    const std::string rels = Entry(archive, "_rels/.rels");
    const std::string xml = Entry(archive, "3D/3dmodel.model");
    zip_close(archive);
    if (types.find("3dmanufacturing-3dmodel+xml") == std::string::npos ||
        rels.find("Target=\"/3D/3dmodel.model\"") == std::string::npos)
        return {};
    Model model;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    std::string metadataName;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = reader.name();
        const auto attributes = reader.attributes();
        const auto number = [&](const char* key) { return attributes.value(key).toDouble(); };
        const auto index = [&](const char* key) {
            return std::size_t(attributes.value(key).toULong());
        };
        if (name == QStringLiteral("model"))
            model.unit = attributes.value("unit").toString().toStdString();
        else if (name == QStringLiteral("metadata"))
            model.metadata[attributes.value("name").toString().toStdString()] =
                reader.readElementText().toStdString();
        else if (name == QStringLiteral("base"))
            model.colours.push_back(attributes.value("displaycolor").toString().toStdString());
        else if (name == QStringLiteral("object"))
            model.objects.push_back({attributes.value("name").toString().toStdString(), {}, {}});
        else if (name == QStringLiteral("vertex"))
            model.objects.back().vertices.push_back({number("x"), number("y"), number("z")});
        else if (name == QStringLiteral("triangle"))
            model.objects.back().triangles.push_back(
                {index("v1"), index("v2"), index("v3"), index("p1")});
        else if (name == QStringLiteral("item"))
            ++model.buildItems;
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return model;
}

// The rules a slicer relies on: corners on existing vertices, materials in range, every edge
// met once in each direction, the volume positive (facing outwards). Returns the volume.
double CheckSolid(const ModelObject& object, std::size_t materials) {
    std::map<std::pair<std::size_t, std::size_t>, int> directed;
    double volume = 0;
    for (const auto& [a, b, c, material] : object.triangles) {
        EXPECT_LT(std::max({a, b, c}), object.vertices.size());
        EXPECT_LT(material, materials);
        if (std::max({a, b, c}) >= object.vertices.size())
            return 0;
        EXPECT_TRUE(a != b && b != c && a != c);
        for (const auto& edge : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            ++directed[edge];
        const auto& p = object.vertices[a];
        const auto& q = object.vertices[b];
        const auto& r = object.vertices[c];
        volume += (p[0] * (q[1] * r[2] - q[2] * r[1]) - p[1] * (q[0] * r[2] - q[2] * r[0]) +
                   p[2] * (q[0] * r[1] - q[1] * r[0])) /
                  6;
    }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << "an open edge";
    }
    EXPECT_GT(volume, 0);
    return volume;
}

// A 40 x 40 map of three bands, 10 units a pixel, sampled every 4 pixels: a low band 1 around
// a band 2 plateau with a band 3 peak.
class Print3mf : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::Paint(raster, 8, 8, 24, 24, 2);
        testing::Paint(raster, 16, 12, 8, 12, 3);
        fields.heights[1] = "0";
        fields.heights[2] = "50";
        fields.heights[3] = "120";
        ASSERT_TRUE(Set_Grid(fields, raster.width, raster.height, setup));
        options.bandColours[1] = 0x0000FF, options.bandColours[2] = 0x00FF00;
        options.bandColours[3] = 0xFFFFFF;
    }

    WrittenFile Write(const std::string& name) {
        const std::string file = folder.file(name);
        return WriteTerrainFile(setup, raster, file, *FormatOfFile(file), options);
    }

    testing::ScriptedUi ui;
    testing::TempFolder folder;
    ClassifiedRaster raster = testing::UniformRaster(40, 40, 1);
    GeneratorFields fields = testing::Fields("-10", "20", "100", "400", "400", "40");
    GridSetup setup;
    ExportOptions options{.printSizeMm = 100, .exaggeration = 1, .baseMm = 2};
};

TEST_F(Print3mf, OneClosedObjectInMillimetresColouredByClassOrBand) {
    const WrittenFile written = Write("land.3mf");
    ASSERT_TRUE(written.written);
    const Model classes = ReadModel(folder.file("land.3mf"));
    EXPECT_EQ(classes.unit, "millimeter");
    EXPECT_EQ(classes.colours,
              (std::vector<std::string>{"#0066FF", "#00FF00", "#FF6600", "#FFFFFF"}));
    ASSERT_EQ(classes.objects.size(), 1u);
    EXPECT_EQ(classes.buildItems, 1u);
    const ModelObject& solid = classes.objects[0];
    // The STL's facets: the surface's 2 x 9 x 9, three per border edge.
    EXPECT_EQ(solid.triangles.size(), 2u * 9 * 9 + 3 * 36);
    CheckSolid(solid, classes.colours.size());
    double east = 0;
    for (const auto& v : solid.vertices)
        east = std::max(east, v[0]);
    EXPECT_NEAR(east, 100, 1e-4);
    std::set<std::size_t> used;
    for (const auto& t : solid.triangles)
        used.insert(t[3]);
    EXPECT_EQ(used, (std::set<std::size_t>{1, 2, 3})) << "lawn, mountain and snow";

    options.printColours = PrintColours::Bands;
    Write("land.3mf");
    const Model bands = ReadModel(folder.file("land.3mf"));
    EXPECT_EQ(bands.colours, (std::vector<std::string>{"#FF0000", "#00FF00", "#FFFFFF"}));
    CheckSolid(bands.objects.at(0), bands.colours.size());
}

// The colour changes of the terraced solid: band 2 begins at the top of band 1, band 3 at the
// top of band 2, each where the solid's own vertices of that band stand.
TEST_F(Print3mf, ColourChangesStandAtTheBandTopsOfTheSolid) {
    const WrittenFile written = Write("land.3mf");
    ASSERT_TRUE(written.colourChanges);
    const Model model = ReadModel(folder.file("land.3mf"));
    const std::string heights = model.metadata.at("quarn:ColourChanges");
    double first = 0, second = 0;
    ASSERT_EQ(std::sscanf(heights.c_str(), "%lf %lf", &first, &second), 2) << heights;
    char expected[128];
    std::snprintf(expected, sizeof expected, "colour changes: band 2 at %.3f mm, band 3 at %.3f mm",
                  first, second);
    EXPECT_EQ(*written.colourChanges, expected);
    EXPECT_DOUBLE_EQ(first, 2.0) << "band 1 is the lowest: its top is the base";
    // Band 3 begins on band 2's plateau: the height of the vertices there.
    std::map<double, int> vertices;
    for (const auto& v : model.objects.at(0).vertices)
        ++vertices[v[2]];
    const auto plateau = vertices.lower_bound(second - 0.01);
    ASSERT_NE(plateau, vertices.end());
    EXPECT_LE(plateau->first, second + 0.01);
    EXPECT_GE(plateau->second, 10) << "a plateau, not a single vertex";
}

// One closed part per band, from the lowest up, together the whole solid: objects in the 3MF,
// files beside the STL with the colour changes.
TEST_F(Print3mf, PartsPerBandAreClosedAndMakeTheWholeSolid) {
    Write("whole.3mf");
    const double whole = CheckSolid(ReadModel(folder.file("whole.3mf")).objects.at(0), 4);
    options.partsByBand = true;
    Write("parts.3mf");
    const Model parts = ReadModel(folder.file("parts.3mf"));
    ASSERT_EQ(parts.objects.size(), 3u);
    EXPECT_EQ(parts.buildItems, 3u);
    double sum = 0;
    std::vector<std::string> names;
    for (const ModelObject& part : parts.objects) {
        sum += CheckSolid(part, parts.colours.size());
        names.push_back(part.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"band 1", "band 2", "band 3"}));
    EXPECT_NEAR(sum, whole, whole * 1e-5);

    // Simplified, the bands' patches touch at corners: each part still closed edge by edge.
    options.maxError = 0;
    options.partsByBand = false;
    Write("simplified.3mf");
    const double simplifiedWhole =
        CheckSolid(ReadModel(folder.file("simplified.3mf")).objects.at(0), 4);
    options.partsByBand = true;
    Write("simplified.3mf");
    const Model simplified = ReadModel(folder.file("simplified.3mf"));
    double simplifiedSum = 0;
    for (const ModelObject& part : simplified.objects)
        simplifiedSum += CheckSolid(part, simplified.colours.size());
    EXPECT_NEAR(simplifiedSum, simplifiedWhole, simplifiedWhole * 1e-5);
    std::filesystem::remove(folder.file("simplified.3mf"));
    options.maxError.reset();

    Write("land.stl");
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"land-01.stl", "land-02.stl", "land-03.stl",
                                        "land-colours.txt", "land.stl", "parts.3mf", "whole.3mf"}));
    EXPECT_TRUE(folder.read("land-colours.txt")
                    .starts_with("# Heights above the bottom in millimetres where each band "
                                 "begins\nband 2 2.000\nband 3 "));
    EXPECT_EQ(folder.read("land-02.stl").size(), 84 + 50 * parts.objects[1].triangles.size());
}

}  // namespace
}  // namespace quarn

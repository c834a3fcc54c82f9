// World files and .prj beside map images: found by the names GIS programs use, read strictly,
// written back so that reading gives the same placement.
#include <gtest/gtest.h>

#include "map_place.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "world_file.h"

namespace quarn {
namespace {

using testing::ScriptedUi;
using testing::TempFolder;

constexpr const char* kUtmPlace = "2.5\n0\n0\n-2.5\n500001.25\n5200098.75\n";

TEST(WorldFile, FoundByTheNamesGisProgramsUseInTheirOrder) {
    const TempFolder folder;
    const std::string png = folder.file("map.png");
    EXPECT_FALSE(FindWorldFile(png));
    folder.write("map.wld", kUtmPlace);
    EXPECT_EQ(FindWorldFile(png), folder.file("map.wld"));
    folder.write("map.pngw", kUtmPlace);
    EXPECT_EQ(FindWorldFile(png), folder.file("map.pngw"));
    folder.write("map.pgw", kUtmPlace);
    EXPECT_EQ(FindWorldFile(png), folder.file("map.pgw"));
    // Upper-case names look for upper-case world files first, then lower-case ones.
    folder.write("SHEET.bpw", kUtmPlace);
    EXPECT_EQ(FindWorldFile(folder.file("SHEET.BMP")), folder.file("SHEET.bpw"));
    folder.write("SHEET.BPW", kUtmPlace);
    EXPECT_EQ(FindWorldFile(folder.file("SHEET.BMP")), folder.file("SHEET.BPW"));
    EXPECT_EQ(WorldFileName(folder.file("a.jpeg")), folder.file("a.jgw"));
    EXPECT_EQ(WorldFileName(folder.file("a.tif")), folder.file("a.tfw"));
}

TEST(WorldFile, GivesTheTopLeftCornerAndWritesBackTheSameNumbers) {
    const ScriptedUi ui;
    const auto place = ParseWorldFile(std::string("\n") + kUtmPlace, "map.pgw");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->transform, (std::array<double, 6>{500000, 2.5, 0, 5200100, 0, -2.5}));
    EXPECT_EQ(ParseWorldFile(WorldFileText(*place), "x")->transform, place->transform);
    EXPECT_TRUE(ui.errorTexts().empty());
}

TEST(WorldFile, RefusesWhatCannotPlaceANorthUpMap) {
    const std::pair<const char*, const char*> refused[] = {
        {"2.5\n0\n0\n-2.5\n5OOOOO\n1\n",
         "World file \"m.pgw\" has no number on line 5: \"5OOOOO\"."},
        {"2.5\n0\n0\n-2.5\n", "World file \"m.pgw\" has 4 of the six numbers that place a map."},
        {"2.5\n0.1\n0\n-2.5\n1\n1\n",
         "World file \"m.pgw\" turns the map: only maps with north "
         "up can be placed."},
        {"2.5\n0\n0\n2.5\n1\n1\n",
         "World file \"m.pgw\" has pixels that do not run east and south."},
        {"2.5\n0\n\n-2.5\n1\n1\n", "World file \"m.pgw\" has no number on line 3: \"\"."},
        {"inf\n0\n0\n-2.5\n1\n1\n", "World file \"m.pgw\" has no number on line 1: \"inf\"."},
    };
    for (const auto& [text, message] : refused) {
        const ScriptedUi ui;
        EXPECT_FALSE(ParseWorldFile(text, "/any/folder/m.pgw")) << text;
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{message});
    }
}

TEST(MapPlace, WorldFileAndPrjBesideTheMap) {
    const TempFolder folder;
    const std::string map = folder.write("map.bmp", "BM");
    EXPECT_FALSE(ReadMapPlace(map).place);
    EXPECT_FALSE(ReadMapPlace(map).refused);

    const auto utm = CoordinateSystemWkt("EPSG:32633");
    ASSERT_TRUE(utm);
    EXPECT_NE(utm->find("UTM zone 33N"), std::string::npos);
    EXPECT_FALSE(CoordinateSystemWkt("EPSG:nowhere"));

    WriteMapPlace(map, {{500000, 2.5, 0, 5200100, 0, -2.5}, *utm});
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"map.bmp", "map.bpw", "map.prj"}));
    const MapPlace read = ReadMapPlace(map);
    ASSERT_TRUE(read.place);
    EXPECT_EQ(read.place->transform, (std::array<double, 6>{500000, 2.5, 0, 5200100, 0, -2.5}));
    EXPECT_EQ(read.place->wkt, *utm);

    const ScriptedUi ui;
    folder.write("map.prj", "no system at all");
    EXPECT_TRUE(ReadMapPlace(map).refused);
    folder.write("map.bpw", "2.5\n0\n0.5\n-2.5\n1\n1\n");
    EXPECT_TRUE(ReadMapPlace(map).refused);
    EXPECT_EQ(ui.errorTexts().size(), 2u);
}

}  // namespace
}  // namespace quarn

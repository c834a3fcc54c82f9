#include "write_3df.h"

#include <gtest/gtest.h>

#include <bit>
#include <fstream>

#include "busy_cursor.h"
#include "generator_test_support.h"
#include "platform_error.h"
#include "scripted_ui.h"
#include "window_mapping.h"
#include "write_asc.h"
#include "write_plg.h"
#include "write_raw.h"

namespace quarn {
namespace {

using testing::Fields;
using testing::FileBytes;
using testing::ScriptedUi;
using testing::TempFolder;
using testing::UniformRaster;

void AppendInt(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

void AppendFloat(std::vector<std::uint8_t>& out, float value) {
    AppendInt(out, std::bit_cast<std::int32_t>(value));
}

// Counts the busy cursor's show and restore calls while it lives.
struct CursorCounter {
    int shown = 0, restored = 0;
    CursorCounter() {
        SetBusyCursorHooks([this] { ++shown; }, [this] { ++restored; });
    }
    ~CursorCounter() { SetBusyCursorHooks(nullptr, nullptr); }
};

class Write3DF : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Set_Grid(testing::TwoByTwoFields(), raster.width, raster.height, setup));
    }

    ScriptedUi ui;
    TempFolder folder;
    ClassifiedRaster raster = UniformRaster(20, 20, 0);
    GridSetup setup;
};

TEST_F(Write3DF, TwoByTwoGridIsNinetyOneExactBytesUnderOneBusyCursor) {
    const std::string name = folder.file("hills.3df");
    CursorCounter cursor;
    ASSERT_TRUE(Write_3DF(setup, raster, name));
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.restored, 1);
    std::vector<std::uint8_t> expected{0x03, 0x33, 0x44};
    AppendInt(expected, 4);
    // sx = 19 / 2, ox = 9.5; sy = -19 / 2, oy = 9.5; cell centres at pixels 5 and 15.
    const float lo = static_cast<float>((5 - 9.5) / 9.5);
    const float hi = static_cast<float>((15 - 9.5) / 9.5);
    const float z = static_cast<float>(1.0f * 2.5);
    for (const auto& [x, y] : {std::pair{lo, -lo}, {hi, -lo}, {lo, -hi}, {hi, -hi}}) {
        AppendFloat(expected, x);
        AppendFloat(expected, y);
        AppendFloat(expected, z);
    }
    AppendInt(expected, 2);
    for (const std::array<std::int32_t, 3>& t : {std::array{0, 1, 3}, std::array{0, 3, 2}}) {
        for (std::int32_t corner : t)
            AppendInt(expected, corner);
        AppendInt(expected, kMountainCode);
    }
    ASSERT_EQ(expected.size(), 91u);
    EXPECT_EQ(FileBytes(name), expected);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hills.3df"});
}

TEST_F(Write3DF, FileIsTheFormattedMeshAndSizedByItsCounts) {
    ClassifiedRaster big = UniformRaster(95, 60, 0);
    ASSERT_TRUE(Set_Grid(Fields("0", "10", "200", "950", "600", "50"), 95, 60, setup));
    setup.heights[0] = {100, true};
    const std::string name = folder.file("big.3df");
    ASSERT_TRUE(Write_3DF(setup, big, name));
    const auto bytes = FileBytes(name);
    const auto parsed = testing::ParseTdf(bytes);
    EXPECT_EQ(parsed.vertices.size(), static_cast<std::size_t>(setup.VertexCount));
    EXPECT_EQ(static_cast<std::int64_t>(bytes.size()),
              TdfFileSize(setup.VertexCount, 2 * (setup.GridCols - 1) * (setup.GridRows - 1)));
    MemorySink sink;
    BinaryWriter out(sink);
    Format3DF(out, SampleTerrain(setup, *NormaliseLevels(setup), big));
    EXPECT_EQ(bytes, sink.bytes());
}

TEST_F(Write3DF, NoHeightSetShowsItsBoxAndCreatesNothing) {
    CursorCounter cursor;
    setup.heights[0].set = false;
    EXPECT_FALSE(Write_3DF(setup, raster, folder.file("none.3df")));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kNoHeightText});
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_EQ(cursor.shown, 0);
}

TEST_F(Write3DF, FailureWhileWritingKeepsTheEarlierFileAndRemovesTheTemporary) {
    const std::pair<const char*, decltype(&Write_3DF)> writers[] = {{"old.3df", Write_3DF},
                                                                    {"old.asc", Write_ASC},
                                                                    {"old.RAW", Write_RAW},
                                                                    {"old.plgx", Write_PLG}};
    for (const auto& [file, writer] : writers) {
        TempFolder here;
        const std::string name = here.file(file);
        std::ofstream(name) << "earlier";
        CursorCounter cursor;
        setup.mapping.sx = 0;  // the next cell centre cannot be mapped: a platform fault
        EXPECT_THROW(writer(setup, raster, name), PlatformError) << file;
        EXPECT_EQ(FileBytes(name), (std::vector<std::uint8_t>{'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
        EXPECT_EQ(here.entries(), std::vector<std::string>{file});
        EXPECT_EQ(cursor.restored, cursor.shown);
    }
}

TEST_F(Write3DF, MissingFolderIsThePlatformsError) {
    try {
        Write_3DF(setup, raster, folder.file("absent/x.3df"));
        FAIL() << "no error";
    } catch (const PlatformError& e) {
        EXPECT_EQ(std::string(e.what()), "Path not found");
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Write3DF, TargetThatCannotBeReplacedLeavesNoTemporary) {
    std::filesystem::create_directory(folder.path() / "taken.3df");
    std::ofstream(folder.path() / "taken.3df" / "inside") << "x";
    EXPECT_THROW(Write_3DF(setup, raster, folder.file("taken.3df")), PlatformError);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"taken.3df"});
}

}  // namespace
}  // namespace quarn

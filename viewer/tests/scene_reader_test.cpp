#include "scene_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <tuple>

#include "fault_text.h"
#include "scripted_ui.h"
#include "viewer_state.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

using testing::MemoryScene;
using testing::RecordingDisplay;
using testing::TdfBytes;

const std::vector<Vertex> kSquare{{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {2, 2, 0}};  // D^2 = 8
const std::vector<Triangle> kTwo{{0, 1, 3, 216}, {0, 3, 2, 32767}};

class SceneReader : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetViewerState(); }

    // Reads bytes through both steps; false when either refused.
    bool Load(const std::string& bytes) {
        SceneLoad load(MemoryScene(bytes));
        const bool ok = Read_Points(load, display) && Read_Triangles(load);
        closedAfter = !load.file.isOpen();
        return ok;
    }

    std::string LoadError(const std::string& bytes) {
        return testing::FaultText([&] { Load(bytes); });
    }

    quarn::testing::ScriptedUi ui;
    RecordingDisplay display;
    bool closedAfter = false;
};

TEST_F(SceneReader, CopiesCornersAndColoursInFileOrderIgnoringHeaderAndTrailingBytes) {
    std::string bytes = TdfBytes(kSquare, kTwo);
    bytes[0] = 'X', bytes[1] = 'Y', bytes[2] = 'Z';
    ASSERT_TRUE(Load(bytes + "trailing rubbish"));
    ASSERT_EQ(TriangleList.size(), 2u);
    const SceneTriangle &a = TriangleList[0], &b = TriangleList[1];  // index 0: the first vertex
    EXPECT_EQ(std::tuple(a.corner1.x, a.corner2.x, a.corner3.y, a.colour, b.corner3.x, b.colour),
              std::tuple(0.0f, 2.0f, 2.0f, 216, 0.0f, 32767));
    EXPECT_TRUE(closedAfter && ui.errorTexts().empty());
}

TEST_F(SceneReader, SmallSceneAfterAHugeOneGivesTheMemoryBack) {
    ASSERT_TRUE(Load(TdfBytes(kSquare, std::vector<Triangle>(100000, kTwo[0]))));
    ASSERT_TRUE(Load(TdfBytes(kSquare, kTwo)));
    EXPECT_LE(TriangleList.capacity(), 16u);
}

TEST_F(SceneReader, PerspectiveDistanceFollowsThePreviousLoad) {
    for (const float expected : {-2.8964057f, -2.8992543f, -2.8991718f}) {
        ASSERT_TRUE(Load(TdfBytes(kSquare, kTwo)));
        EXPECT_FLOAT_EQ(PerspectiveDistance, expected);
    }
    PerspectiveDistance = -3.0f;
    const std::vector<Vertex> unit{{0, 0, 0}, {1, 1, 0}, {1, 0, 0}};  // D^2 = 2
    for (const float expected : {-1.4482028f, -1.5112417f}) {
        ASSERT_TRUE(Load(TdfBytes(unit, {{0, 1, 2, 120}})));
        EXPECT_FLOAT_EQ(PerspectiveDistance, expected);
    }
    // Vertices differing only in height, D^2 = 9: -(100/99) sqrt((1 + 0.25/9) * 9) from -3.
    PerspectiveDistance = -3.0f;
    ASSERT_TRUE(Load(TdfBytes({{1, 1, 0}, {1, 1, 3}}, {{0, 1, 1, 24}})));
    EXPECT_FLOAT_EQ(PerspectiveDistance, -3.0721023f);
    // A distance at or above minus one billionth stays as it is.
    EXPECT_EQ(UpdatedPerspectiveDistance(2.5f, 8.0f), 2.5f);
    EXPECT_EQ(UpdatedPerspectiveDistance(-1e-10f, 8.0f), -1e-10f);
}

// Coincident vertices are refused, but only after the angles are reset.
TEST_F(SceneReader, LoadResetsTheAnglesAndShowsThePairOfTheMode) {
    ObserverElevation = 45, SunAzimuth = 5;
    ASSERT_TRUE(Load(TdfBytes(kSquare, kTwo)));
    EXPECT_EQ(ObserverElevation, 20);
    EXPECT_EQ(SunAzimuth, 180);
    AngleMode = AnglePair::Sun;
    ObserverAzimuth = 5;
    EXPECT_FALSE(Load(TdfBytes({{1, 1, 1}, {1, 1, 1}}, {{0, 1, 1, 120}})));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Division by zero!"});
    EXPECT_TRUE(closedAfter);
    EXPECT_EQ(ObserverAzimuth, 60);
    EXPECT_EQ(display.shown, (std::vector<std::pair<int, int>>{{20, 60}, {90, 180}}));
}

// The pipeline's read gives the scene and the distance as values and leaves the program-wide
// state alone; it refuses as the two steps do.
TEST_F(SceneReader, ReadSceneGivesTheSceneAndDistanceOfTheProgramWideLoad) {
    ASSERT_TRUE(Load(TdfBytes(kSquare, kTwo)));
    const float distance = PerspectiveDistance;
    ObserverElevation = 45;
    const std::optional<LoadedScene> loaded =
        ReadScene(MemoryScene(TdfBytes(kSquare, kTwo)), kStartPerspectiveDistance);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->perspectiveDistance, distance);
    ASSERT_EQ(loaded->scene.size(), TriangleList.size());
    for (std::size_t i = 0; i < TriangleList.size(); ++i) {
        const SceneTriangle a = loaded->scene[i], b = TriangleList[i];
        EXPECT_EQ(std::tuple(a.corner1.x, a.corner2.y, a.corner3.x, a.colour),
                  std::tuple(b.corner1.x, b.corner2.y, b.corner3.x, b.colour));
    }
    EXPECT_EQ(ObserverElevation, 45);
    EXPECT_FALSE(ReadScene(MemoryScene(TdfBytes(0, {}, 2, kTwo)), kStartPerspectiveDistance));
    EXPECT_FALSE(ReadScene(MemoryScene(TdfBytes({{1, 1, 1}}, {{0, 0, 0, 120}})), distance));
    EXPECT_EQ(ui.errorTexts(), (std::vector<std::string>{"Invalid file!", "Division by zero!"}));
    EXPECT_EQ(PerspectiveDistance, distance);
}

// Refusals: the box text, the file closed, and what is left of the state.
TEST_F(SceneReader, ZeroCountsAreInvalidFilesAndLeaveTheAngles) {
    ObserverElevation = 45;
    EXPECT_FALSE(Load(TdfBytes(0, {}, 2, kTwo)));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Invalid file!"});
    EXPECT_TRUE(closedAfter);
    EXPECT_TRUE(display.shown.empty());
    EXPECT_EQ(ObserverElevation, 45);
    EXPECT_FALSE(Load(TdfBytes(kSquare, {})));
    EXPECT_EQ(ui.errorTexts(), (std::vector<std::string>{"Invalid file!", "Invalid file!"}));
    EXPECT_TRUE(closedAfter);
    EXPECT_TRUE(TriangleList.empty());
    // A negative triangle count reads nothing and succeeds.
    EXPECT_TRUE(Load(TdfBytes(static_cast<std::int32_t>(kSquare.size()), kSquare, -4, {})));
    EXPECT_TRUE(TriangleList.empty());
    EXPECT_EQ(ui.errorTexts().size(), 2u);
    // A refused load has closed its file: reading on is a fault, not a read of freed memory.
    SceneLoad load(MemoryScene(TdfBytes(0, {}, 2, kTwo)));
    EXPECT_FALSE(Read_Points(load, display));
    EXPECT_EQ(testing::FaultText([&] { Read_Triangles(load); }), "File not open");
}

// Mend: a degenerate file once made every later load of the run fail the same way.
TEST_F(SceneReader, RefusedDegenerateLoadKeepsTheDistanceForLaterLoads) {
    EXPECT_FALSE(Load(TdfBytes({{1, 1, 1}}, {{0, 0, 0, 120}})));
    EXPECT_EQ(PerspectiveDistance, -3.0f);
    EXPECT_TRUE(Load(TdfBytes(kSquare, kTwo)));
    EXPECT_FLOAT_EQ(PerspectiveDistance, -2.8964057f);
}

// Platform faults end the load with their own text; huge counts in a short file fail on the
// missing bytes, not on memory.
TEST_F(SceneReader, PlatformFaultsEndTheLoadWithTheirText) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const auto huge = std::numeric_limits<std::int32_t>::max();
    const std::string whole = TdfBytes(kSquare, kTwo);
    const std::pair<std::string, const char*> cases[] = {
        // An index equal to the vertex count is out of bounds.
        {TdfBytes(kSquare, {{0, 1, 4, 120}}), "List index out of bounds"},
        {TdfBytes(kSquare, {{-1, 1, 2, 120}}), "List index out of bounds"},
        // A negative vertex count overflows the diagonal.
        {TdfBytes(-1, {}, 1, {{0, 0, 0, 120}}), "Floating point overflow"},
        // Not a coordinate, whether a triangle uses the vertex or not.
        {TdfBytes({{0, 0, 0}, {nan, 0, 0}, {1, 1, 1}}, {{0, 1, 2, 120}}),
         "Invalid floating point operation"},
        {TdfBytes({{0, 0, 0}, {1, 1, 1}, {1, 0, 1}, {0, inf, 0}}, {{0, 1, 2, 120}}),
         "Invalid floating point operation"},
        {whole.substr(0, 2), "Read beyond end of file"},
        {whole.substr(0, 20), "Read beyond end of file"},
        {TdfBytes(huge, kSquare, 2, kTwo), "Read beyond end of file"},
        {whole.substr(0, whole.size() - 1), "Read beyond end of file"},
        {TdfBytes(4, kSquare, huge, kTwo), "Read beyond end of file"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(LoadError(bytes), text) << bytes.size() << " bytes";
    EXPECT_EQ(TriangleList.size(), 2u) << "the triangles read before the fault stay";
}

}  // namespace
}  // namespace quarn

#include "scene_commands.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>

#include "scene.h"
#include "viewer_ui_fixture.h"

namespace quarn {
namespace {

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

bool AnyLit(const std::vector<Colour>& pixels) {
    return std::any_of(pixels.begin(), pixels.end(), [](Colour c) { return c != kBlack; });
}

TEST(ViewerPlacement, CentresOnTheScreenAndRaises25Pixels) {
    const WindowPosition large = ViewerPosition(1024, 768), small = ViewerPosition(500, 400);
    EXPECT_EQ(large.left, 233);
    EXPECT_EQ(large.top, 120);
    EXPECT_EQ(small.left, -29);  // truncated toward zero
    EXPECT_EQ(small.top, -63);
}

using SceneCommands = ViewerUi;

TEST_F(SceneCommands, SaveBeforeAnyOpenHasNoPictureAndACancelledOpenChangesNothing) {
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"No picture to save!"});
    EXPECT_TRUE(ui.dialogs.empty());
    RunGuarded([] { OpenSceneFile(); });
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].filter, "3DF files|*.3df");
    EXPECT_EQ(ui.dialogs[0].defaultExt, "3DF");
    EXPECT_FALSE(RenderWindowOpen);
    EXPECT_TRUE(SceneFileName.empty());
}

TEST_F(SceneCommands, OpenCreatesPlacesAndDrawsTheViewer) {
    const std::string path = GoodScene();
    Open(path);
    ASSERT_TRUE(RenderWindowOpen);
    ASSERT_NE(frmRender, nullptr);
    EXPECT_EQ(frmRender->windowTitle().toStdString(), path);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const WindowPosition at = ViewerPosition(screen.width(), screen.height());
    EXPECT_EQ(frmRender->pos(), QPoint(at.left, at.top));
    EXPECT_EQ(TriangleList.size(), 2u);
    EXPECT_TRUE(AnyLit(Picture()));
    EXPECT_TRUE(ui.reports.empty());
}

TEST_F(SceneCommands, SecondOpenReusesTheWindowAndPutsItBack) {
    Open(GoodScene("first.3df"));
    TfrmRender* first = frmRender;
    first->move(5, 5);
    Open(GoodScene("second.3df"));
    EXPECT_EQ(frmRender, first);
    EXPECT_EQ(m_mdi->subWindowList().size(), 1);
    EXPECT_EQ(frmRender->windowTitle().toStdString(), PathOf("second.3df"));
    EXPECT_NE(frmRender->pos(), QPoint(5, 5));
}

TEST_F(SceneCommands, FailedLoadKeepsTheWindowAndItsPictureCanStillBeSaved) {
    Open(GoodScene());
    const auto before = Picture();
    const std::string bad = WriteFile("bad.3df", testing::TdfBytes(0, {}, 0, {}));
    Open(bad);
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Invalid file!"});
    EXPECT_EQ(frmRender->windowTitle().toStdString(), bad);
    EXPECT_EQ(Picture(), before);
    EXPECT_TRUE(TriangleList.empty());

    ui.dialogAnswers.push_back(PathOf("picture"));
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.dialogs.back().filter, "BMP files (*.bmp)|*.bmp");
    EXPECT_TRUE(ui.dialogs.back().overwritePrompt);
    EXPECT_EQ(std::filesystem::file_size(PathOf("picture.BMP")),
              54u + 418u * ((550u * 3 + 3) / 4 * 4));
}

TEST_F(SceneCommands, ClosingTheViewerLeavesNoPictureToSave) {
    Open(GoodScene());
    ZoomFactor = 2.0f;
    frmRender->close();
    EXPECT_FALSE(RenderWindowOpen);
    EXPECT_TRUE(SceneFileName.empty());
    EXPECT_EQ(frmRender, nullptr);
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"No picture to save!"});
    EXPECT_EQ(ZoomFactor, 2.0f);
}

// Mend: a fault in the middle of reading once left the scene file open.
TEST_F(SceneCommands, ShortFileIsReportedAndReleased) {
    const std::string whole = testing::TdfBytes({{0, 0, 0}, {1, 1, 1}}, {{0, 1, 1, 120}});
    const std::string cut = WriteFile("cut.3df", whole.substr(0, whole.size() - 3));
    const int before = OpenDescriptors();
    Open(cut);
    EXPECT_EQ(ui.reports, std::vector<std::string>{"Read beyond end of file."});
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_TRUE(RenderWindowOpen);
}

TEST_F(SceneCommands, MissingFileIsThePlatformsError) {
    Open(PathOf("absent.3df"));
    ASSERT_EQ(ui.reports.size(), 1u);
    EXPECT_EQ(SceneFileName, PathOf("absent.3df"));
}

}  // namespace
}  // namespace quarn

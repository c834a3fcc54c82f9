#include "scene_commands.h"

#include <filesystem>

#include <QGuiApplication>
#include <QScreen>

#include "atomic_file.h"
#include "viewer_state.h"
#include "viewer_ui_fixture.h"

namespace quarn {
namespace {

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(ViewerPlacement, CentresOnTheScreenAndRaises25Pixels) {
    const WindowPosition large = ViewerPosition(1024, 768), small = ViewerPosition(500, 400);
    EXPECT_EQ(std::pair(large.left, large.top), std::pair(233, 120));
    EXPECT_EQ(std::pair(small.left, small.top), std::pair(-29, -63));  // truncated toward zero
}

using SceneCommands = ViewerUi;

TEST_F(SceneCommands, CancelledOpenChangesNothingAndWithoutAViewerThereIsNoPictureToSave) {
    RunGuarded([] { OpenSceneFile({}); });
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].filter + " " + ui.dialogs[0].defaultExt, "3DF files|*.3df 3DF");
    EXPECT_TRUE(!RenderWindowOpen && SceneFileName.empty());
    RunGuarded([] { SaveScenePicture(); });

    Open(GoodScene());
    ZoomFactor = 2.0f;
    frmRender->close();
    EXPECT_TRUE(!RenderWindowOpen && SceneFileName.empty() && !frmRender);
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>(2, "No picture to save!"));
    EXPECT_EQ(ui.dialogs.size(), 2u) << "no save dialog";
    EXPECT_EQ(ZoomFactor, 2.0f);
}

TEST_F(SceneCommands, OpenPlacesAndDrawsTheViewerAndASecondOpenReusesItInFront) {
    const std::string path = GoodScene();
    Open(path);
    ASSERT_TRUE(RenderWindowOpen && frmRender);
    EXPECT_EQ(frmRender->windowTitle().toStdString(), path);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const WindowPosition at = ViewerPosition(screen.width(), screen.height());
    EXPECT_EQ(frmRender->pos(), QPoint(at.left, at.top));
    EXPECT_EQ(TriangleList.size(), 2u);
    EXPECT_NE(Picture(), std::vector<Colour>(Picture().size(), kBlack)) << "drawn";

    TfrmRender* first = frmRender;
    first->move(5, 5);
    QMdiSubWindow* map = m_main.area()->addSubWindow(new QWidget);  // opened since, over it
    map->show();
    m_main.area()->setActiveSubWindow(map);
    Open(GoodScene("second.3df"));
    EXPECT_EQ(frmRender, first);
    EXPECT_EQ(m_main.area()->subWindowList().size(), 2);
    EXPECT_EQ(m_main.area()->activeSubWindow(), frmRender);
    EXPECT_EQ(frmRender->windowTitle().toStdString(), folder.file("second.3df"));
    EXPECT_EQ(frmRender->pos(), QPoint(at.left, at.top));
    EXPECT_TRUE(ui.reports.empty());
}

TEST_F(SceneCommands, FailedLoadKeepsTheWindowAndItsPictureCanStillBeSaved) {
    Open(GoodScene());
    const auto before = Picture();
    const std::string bad = folder.write("bad.3df", testing::TdfBytes(0, {}, 0, {}));
    Open(bad);
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Invalid file!"});
    EXPECT_EQ(frmRender->windowTitle().toStdString(), bad);
    EXPECT_EQ(Picture(), before);
    EXPECT_TRUE(TriangleList.empty());

    ui.dialogAnswers.push_back(folder.file("picture"));
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.dialogs.back().filter, "BMP files (*.bmp)|*.bmp");
    EXPECT_TRUE(ui.dialogs.back().overwritePrompt);
    EXPECT_EQ(std::filesystem::file_size(folder.file("picture.BMP")),
              54u + 418u * ((550u * 3 + 3) / 4 * 4));
    // Never over the scene file the viewer shows.
    ui.dialogAnswers.push_back(bad);
    RunGuarded([] { SaveScenePicture(); });
    EXPECT_EQ(ui.errorTexts().back(), kOutputIsInputText);
    EXPECT_EQ(folder.read("bad.3df"), testing::TdfBytes(0, {}, 0, {}));
}

// Mend: a fault in the middle of reading once left the scene file open.
TEST_F(SceneCommands, PlatformFailuresAreReportedAndAShortFileIsReleased) {
    const std::string whole = testing::TdfBytes({{0, 0, 0}, {1, 1, 1}}, {{0, 1, 1, 120}});
    const std::string cut = folder.write("cut.3df", whole.substr(0, whole.size() - 3));
    const int before = OpenDescriptors();
    Open(cut);
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_TRUE(RenderWindowOpen);
    Open(folder.file("absent.3df"));
    ASSERT_EQ(ui.reports.size(), 2u);
    EXPECT_EQ(ui.reports[0], "Read beyond end of file.");
    EXPECT_EQ(SceneFileName, folder.file("absent.3df"));
}

}  // namespace
}  // namespace quarn

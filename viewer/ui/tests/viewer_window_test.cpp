// The viewer window and its scene commands with a shown main window and its MDI area, a fresh
// viewer state, scripted boxes and dialogs, and 3DF files written to a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "atomic_file.h"
#include "main_form_stand_in.h"
#include "quarn_render_f.h"
#include "scene_commands.h"
#include "scripted_ui.h"
#include "spin_arrow.h"
#include "temp_folder.h"
#include "viewer_state.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

class ViewerUi : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        frmRender = nullptr;
    }

    /// A four-vertex terrain, two triangles, bounding box diagonal squared 8.
    std::string GoodScene(const std::string& name = "scene.3df") {
        return folder.write(
            name, testing::TdfBytes({{-1, -1, 0}, {1, -1, 0.2f}, {-1, 1, 0.1f}, {1, 1, 0.3f}},
                                    {{0, 1, 3, 120}, {0, 3, 2, 216}}));
    }

    /// Opens path through the command as a user choosing it would.
    void Open(const std::string& path) {
        ui.dialogAnswers.push_back(path);
        RunGuarded([] { OpenSceneFile({}); });
    }

    std::vector<Colour> Picture() const { return frmRender->picture().pixels(); }

    /// A terrain larger than the preview: a grid of 260 x 260 vertices, 134,162 triangles.
    std::string LargeScene() {
        constexpr int kSide = 260;
        std::vector<Vertex> vertices;
        std::vector<Triangle> triangles;
        for (int i = 0; i < kSide; ++i)
            for (int j = 0; j < kSide; ++j)
                vertices.push_back({float(j) / (kSide - 1) * 2 - 1, float(i) / (kSide - 1) * 2 - 1,
                                    0.3f * float((i / 20 + j / 30) % 4)});
        for (int i = 0; i + 1 < kSide; ++i)
            for (int j = 0; j + 1 < kSide; ++j) {
                const int k = i * kSide + j, colour = (i / 40) % 2 ? 120 : 24;
                triangles.push_back({k, k + 1, k + kSide + 1, colour});
                triangles.push_back({k, k + kSide + 1, k + kSide, colour});
            }
        return folder.write("large.3df", testing::TdfBytes(vertices, triangles));
    }

    // Events sent to the picture as the mouse and the wheel send them.
    static void Drag(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint from, QPoint to) {
        QTest::mousePress(frmRender->Image1, button, keys, from);
        QTest::mouseMove(frmRender->Image1, to);
        QCoreApplication::processEvents();
    }
    static void Wheel(int eighths) {
        QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), {}, {0, eighths}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(frmRender->Image1, &wheel);
        QCoreApplication::processEvents();
    }

    testing::ScriptedUi ui;
    testing::MainFormStandIn m_main{QSize(1200, 900)};
    testing::TempFolder folder;
};

using RenderWindow = ViewerUi;

// The controls as the user reads them: the angle pair, the drawing, autorender, the angles.
std::string Controls() {
    const TfrmRender& w = *frmRender;
    return QString("%1%2 %3 %4 %5 %6")
        .arg(w.RadioButton1->isChecked() ? "Observer" : "",
             w.RadioButton2->isChecked() ? "Sun" : "", w.CheckBox1->isChecked() ? "wire" : "shaded",
             w.CheckBox2->isChecked() ? "auto" : "manual", w.Edit1->text(), w.Edit2->text())
        .toStdString();
}

// Mend: a new window used to show "Observer" and an unchecked "Wire" whatever the settings.
TEST_F(RenderWindow, NewWindowShowsTheSettingsAsTheyStandAndSunModeEditsTheSun) {
    Open(GoodScene());
    EXPECT_EQ(Controls(), "Observer shaded auto 20 60");
    frmRender->RadioButton2->click();
    frmRender->CheckBox1->click();
    EXPECT_EQ(AngleMode, AnglePair::Sun);
    frmRender->close();
    Open(GoodScene());
    EXPECT_EQ(Controls(), "Sun wire auto 90 180");
    frmRender->UpDown1->stepBy(1);
    EXPECT_EQ(SunElevation, 95);
    EXPECT_EQ(ObserverElevation, 20);
    Open(GoodScene());
    EXPECT_EQ(Controls(), "Sun wire auto 90 180") << "a load puts the angles back and shows them";
    frmRender->RadioButton1->click();
    EXPECT_EQ(Controls(), "Observer wire auto 20 60");
}

// The arrows as the user sees them: up above down, right of left; the angles wrap through 0
// and 355, and each click renders.
TEST_F(RenderWindow, ArrowClicksStepTheAnglesByFiveAndRender) {
    Open(GoodScene());
    QToolButton* up = testing::SpinArrow(*frmRender->UpDown1, Qt::UpArrow);
    QToolButton* down = testing::SpinArrow(*frmRender->UpDown1, Qt::DownArrow);
    QToolButton* right = testing::SpinArrow(*frmRender->UpDown2, Qt::RightArrow);
    QToolButton* left = testing::SpinArrow(*frmRender->UpDown2, Qt::LeftArrow);
    ASSERT_TRUE(up && down && right && left);
    EXPECT_TRUE(up->y() < down->y() && left->x() < right->x());

    const struct {
        QToolButton* arrow;
        int clicks, elevation, azimuth;
    } steps[] = {{up, 1, 25, 60}, {down, 1, 20, 60}, {down, 5, 355, 60},
                 {up, 1, 0, 60},  {right, 1, 0, 65}, {left, 2, 0, 55}};
    for (const auto& c : steps) {
        const auto before = Picture();
        for (int click = 0; click < c.clicks; ++click)
            QTest::mouseClick(c.arrow, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(ObserverElevation, c.elevation);
        EXPECT_EQ(ObserverAzimuth, c.azimuth);
        EXPECT_EQ(Controls(), "Observer shaded auto " + std::to_string(c.elevation) + " " +
                                  std::to_string(c.azimuth));
        EXPECT_NE(Picture(), before);
    }
}

// A left drag turns the observer, two pixels a degree, the fields following; while it moves
// the reduced scene is drawn, and let go, the scene itself: the picture "Render now!" gives
// for the same settings after the same picture before.
TEST_F(RenderWindow, ADragTurnsTheObserverAndEndsOnTheSpinButtonsPicture) {
    Open(LargeScene());
    EXPECT_EQ(frmRender->Image1->cursor().shape(), Qt::OpenHandCursor);
    Drag(Qt::LeftButton, {}, {200, 200}, {240, 180});
    EXPECT_EQ(Controls(), "Observer shaded auto 30 80");
    EXPECT_EQ(frmRender->Image1->cursor().shape(), Qt::ClosedHandCursor);
    EXPECT_TRUE(frmRender->showingPreview());
    const auto preview = Picture();
    QTest::mouseRelease(frmRender->Image1, Qt::LeftButton, {}, {240, 180});
    QCoreApplication::processEvents();
    EXPECT_FALSE(frmRender->showingPreview());
    EXPECT_EQ(frmRender->Image1->cursor().shape(), Qt::OpenHandCursor);
    const auto dragged = Picture();
    EXPECT_NE(dragged, preview) << "the full scene, not the reduced one";

    Open(LargeScene());
    frmRender->CheckBox2->click();
    frmRender->UpDown1->stepBy(2);
    frmRender->UpDown2->stepBy(4);
    frmRender->Button1->click();
    EXPECT_EQ(Picture(), dragged);
}

// Resting the mouse while still holding the button is as good as letting go.
TEST_F(RenderWindow, AMouseAtRestGetsTheExactPictureWithoutLettingGo) {
    Open(LargeScene());
    Drag(Qt::LeftButton, {}, {200, 200}, {180, 260});
    EXPECT_EQ(Controls(), "Observer shaded auto 350 50");
    EXPECT_TRUE(frmRender->showingPreview());
    QTest::qWait(int(TfrmRender::kSettle.count()) + 100);
    EXPECT_FALSE(frmRender->showingPreview());
    QTest::mouseRelease(frmRender->Image1, Qt::LeftButton, {}, {180, 260});
}

// A right drag, or Shift and a left one, turns the sun and shows its pair; without
// "Autorender" a drag changes the settings only.
TEST_F(RenderWindow, TheSunDragsToAndAutorenderOffDrawsNothing) {
    Open(LargeScene());
    Drag(Qt::RightButton, {}, {100, 100}, {100, 60});
    QTest::mouseRelease(frmRender->Image1, Qt::RightButton, {}, {100, 60});
    EXPECT_EQ(Controls(), "Sun shaded auto 110 180");
    EXPECT_EQ(AngleMode, AnglePair::Sun);
    Drag(Qt::LeftButton, Qt::ShiftModifier, {100, 100}, {90, 100});
    QTest::mouseRelease(frmRender->Image1, Qt::LeftButton, Qt::ShiftModifier, {90, 100});
    EXPECT_EQ(Controls(), "Sun shaded auto 110 175");

    frmRender->CheckBox2->click();
    QCoreApplication::processEvents();
    const auto before = Picture();
    Drag(Qt::LeftButton, {}, {100, 100}, {160, 100});
    EXPECT_EQ(Controls(), "Observer shaded manual 20 90");
    QTest::mouseRelease(frmRender->Image1, Qt::LeftButton, {}, {160, 100});
    QTest::qWait(int(TfrmRender::kSettle.count()) + 100);
    EXPECT_FALSE(frmRender->showingPreview());
    EXPECT_EQ(Picture(), before);
}

// The wheel zooms a notch at a time as + and - do; a double-click returns to the view the
// scene opened with; the focused picture steps the angles with the arrow keys.
TEST_F(RenderWindow, WheelDoubleClickAndKeysOnThePicture) {
    ZoomFactor = 2.0f;
    Open(GoodScene());
    Wheel(120);
    EXPECT_EQ(ZoomFactor, ZoomedIn(2.0f));
    Wheel(-60);
    Wheel(-60);
    Wheel(-120);
    EXPECT_EQ(ZoomFactor, ZoomedOut(ZoomedOut(ZoomedIn(2.0f))));
    Drag(Qt::LeftButton, {}, {10, 10}, {50, 10});
    QTest::mouseRelease(frmRender->Image1, Qt::LeftButton, {}, {50, 10});
    EXPECT_TRUE(frmRender->Image1->hasFocus());
    QTest::keyClick(frmRender->Image1, Qt::Key_Up);
    QTest::keyClick(frmRender->Image1, Qt::Key_Left);
    QTest::keyClick(frmRender->Image1, Qt::Key_Plus);
    EXPECT_EQ(Controls(), "Observer shaded auto 25 75");
    QCoreApplication::processEvents();
    const auto turned = Picture();
    QTest::mouseDClick(frmRender->Image1, Qt::LeftButton, {}, {50, 10});
    QCoreApplication::processEvents();
    EXPECT_EQ(Controls(), "Observer shaded auto 20 60");
    EXPECT_EQ(ZoomFactor, 2.0f);
    EXPECT_NE(Picture(), turned);
}

// The picture without its one-pixel border, which the clearing outlines in the pen colour
// that the drawing before left.
std::vector<Colour> Inside(const std::vector<Colour>& picture) {
    const int width = TfrmRender::kImageWidth, height = TfrmRender::kImageHeight;
    std::vector<Colour> inside;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x)
            inside.push_back(picture[std::size_t(y) * width + std::size_t(x)]);
    return inside;
}

// Clicks that arrive while the window is busy do not each render: the picture is drawn once,
// when the queued events are done, with the latest settings, as "Render now!" draws them.
TEST_F(RenderWindow, ABurstOfClicksRendersOnceWithTheLatestSettings) {
    Open(GoodScene());
    const auto before = Picture();
    for (int click = 0; click < 4; ++click)
        frmRender->UpDown2->stepBy(1);
    frmRender->Button2->click();
    EXPECT_EQ(Picture(), before) << "nothing rendered while clicks are queued";
    EXPECT_TRUE(frmRender->renderPending());
    QCoreApplication::processEvents();
    EXPECT_FALSE(frmRender->renderPending());
    const auto coalesced = Inside(Picture());
    EXPECT_NE(coalesced, Inside(before));
    frmRender->Button1Click();
    EXPECT_EQ(Inside(Picture()), coalesced) << "azimuth 80 and one zoom step";
    EXPECT_EQ(ObserverAzimuth, 80);
}

// The zoom steps by eleven tenths; nothing renders on a pair switch, or without autorender
// until "Render now!".
TEST_F(RenderWindow, ControlsChangeTheSettingsAndRenderOnlyWhenTheyShould) {
    Open(GoodScene());
    const auto before = Picture();
    ObserverAzimuth = 200;  // would turn the picture if anything rendered
    frmRender->RadioButton2->click();
    frmRender->RadioButton1->click();
    EXPECT_EQ(Picture(), before);
    frmRender->CheckBox2->click();
    frmRender->UpDown2->stepBy(1);
    frmRender->CheckBox1->click();
    frmRender->Button2->click();
    EXPECT_EQ(ZoomFactor, 0.8260999918f);
    frmRender->Button3->click();
    frmRender->Button3->click();
    EXPECT_EQ(ZoomFactor, 0.6827272773f);
    EXPECT_FALSE(ShadedMode);
    EXPECT_EQ(Picture(), before);
    frmRender->Button1->click();
    EXPECT_NE(Picture(), before);
    EXPECT_EQ(frmRender->canvas().penColour, kWhite) << "wire draws in white";
}

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
    EXPECT_EQ(ui.dialogs[0].filter + " " + ui.dialogs[0].defaultExt,
              "3DF files|*.3df|Elevation rasters (*.tif *.tiff *.png *.asc *.dem)|*.tif;*.tiff;"
              "*.png;*.asc;*.dem 3DF");
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

// An Esri ASCII grid of 3 x 3 cells whose middle cell has no data: of the eight triangles, the
// six touching it are left out, and the vertices no other triangle uses; the levels blank,
// the classes follow the heights' range.
TEST_F(SceneCommands, AnElevationRasterOpensAsTheSceneOfItsCells) {
    const std::string grid = folder.write("dem.asc",
                                          "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\n"
                                          "cellsize 100\nNODATA_value -9999\n"
                                          "0 10 20\n30 -9999 50\n60 70 80\n");
    ui.dialogAnswers.push_back(grid);
    RunGuarded([] { OpenSceneFile({}, {"", "", ""}); });
    ASSERT_TRUE(RenderWindowOpen);
    EXPECT_EQ(frmRender->windowTitle().toStdString(), grid);
    EXPECT_EQ(TriangleList.size(), 2u);
    EXPECT_EQ(TriangleList.vertices().size(), 6u);
    EXPECT_EQ(TriangleList[0].colour, 120);  // lawn: 10, 20, 50 lie from 8 to 48
    EXPECT_NE(Picture(), std::vector<Colour>(Picture().size(), kBlack)) << "drawn";

    // Typed levels colour it; a raster of three bands is refused and keeps the window.
    ui.dialogAnswers.push_back(grid);
    RunGuarded([] { OpenSceneFile({}, {"-100", "-50", "0"}); });
    EXPECT_EQ(TriangleList[0].colour, 32767);
    const std::string rgb = folder.write("rgb.png", std::string("\x89PNG\r\n\x1a\n", 8));
    ui.dialogAnswers.push_back(rgb);
    RunGuarded([] { OpenSceneFile({}); });
    EXPECT_EQ(ui.errorTexts(),
              std::vector<std::string>{"\"rgb.png\" is no elevation raster that can be read."});
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

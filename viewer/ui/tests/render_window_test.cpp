#include "quarn_render_f.h"

#include <QTest>

#include "spin_arrow.h"
#include "viewer_state.h"
#include "viewer_ui_fixture.h"

namespace quarn {
namespace {

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

}  // namespace
}  // namespace quarn

#include "quarn_render_f.h"

#include <QTest>

#include "scene.h"
#include "spin_arrow.h"
#include "viewer_ui_fixture.h"

namespace quarn {
namespace {

using RenderWindow = ViewerUi;

// Mend: a new window used to show "Observer" and an unchecked "Wire" whatever the settings.
TEST_F(RenderWindow, NewWindowShowsTheSettingsAsTheyStand) {
    Open(GoodScene());
    EXPECT_TRUE(frmRender->RadioButton1->isChecked());
    EXPECT_FALSE(frmRender->CheckBox1->isChecked());
    EXPECT_TRUE(frmRender->CheckBox2->isChecked());
    EXPECT_EQ(frmRender->Edit1->text(), "20");
    EXPECT_EQ(frmRender->Edit2->text(), "60");
    EXPECT_EQ(frmRender->Image1->size(), QSize(550, 418));
    frmRender->RadioButton2->click();
    frmRender->CheckBox1->click();
    frmRender->close();
    Open(GoodScene());
    EXPECT_TRUE(frmRender->RadioButton2->isChecked());
    EXPECT_FALSE(frmRender->RadioButton1->isChecked());
    EXPECT_TRUE(frmRender->CheckBox1->isChecked());
    EXPECT_EQ(frmRender->Edit1->text(), "90");
}

TEST_F(RenderWindow, SpinButtonsWrapThroughZeroTo355) {
    Open(GoodScene());
    for (int click = 1; click <= 67; ++click)
        frmRender->UpDown1->stepBy(1);
    EXPECT_EQ(ObserverElevation, 355);
    frmRender->UpDown1->stepBy(1);
    EXPECT_EQ(ObserverElevation, 0);
    frmRender->UpDown1->stepBy(-1);
    EXPECT_EQ(ObserverElevation, 355);
    EXPECT_EQ(frmRender->Edit1->text(), "355");
    frmRender->UpDown2->stepBy(-1);
    EXPECT_EQ(ObserverAzimuth, 55);
    EXPECT_EQ(frmRender->Edit2->text(), "55");
}

// The arrows as the user sees them: up above down, right of left; each click renders.
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
        int elevation, azimuth;
    } clicks[] = {{up, 25, 60}, {down, 20, 60}, {right, 20, 65}, {left, 20, 60}};
    for (const auto& c : clicks) {
        const auto before = Picture();
        QTest::mouseClick(c.arrow, Qt::LeftButton);
        EXPECT_EQ(ObserverElevation, c.elevation);
        EXPECT_EQ(ObserverAzimuth, c.azimuth);
        EXPECT_EQ(frmRender->Edit1->text() + " " + frmRender->Edit2->text(),
                  QString("%1 %2").arg(c.elevation).arg(c.azimuth));
        EXPECT_NE(Picture(), before);
    }
}

TEST_F(RenderWindow, SunModeEditsTheSunAndShowsItAfterALoad) {
    Open(GoodScene());
    frmRender->RadioButton2->click();
    EXPECT_EQ(AngleMode, AnglePair::Sun);
    Open(GoodScene());
    EXPECT_EQ(frmRender->Edit1->text(), "90");
    EXPECT_EQ(frmRender->Edit2->text(), "180");
    frmRender->UpDown1->stepBy(1);
    EXPECT_EQ(SunElevation, 95);
    EXPECT_EQ(ObserverElevation, 20);
    frmRender->RadioButton1->click();
    EXPECT_EQ(frmRender->Edit1->text(), "20");
}

TEST_F(RenderWindow, NothingRendersOnAPairSwitchOrWithoutAutorenderUntilRenderNow) {
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
    EXPECT_FALSE(ShadedMode);
    EXPECT_EQ(Picture(), before);
    frmRender->Button1->click();
    EXPECT_NE(Picture(), before);
}

TEST_F(RenderWindow, ZoomButtonsStepByElevenTenthsAndWireDrawsInWhite) {
    Open(GoodScene());
    frmRender->Button2->click();
    EXPECT_EQ(ZoomFactor, 0.8260999918f);
    frmRender->Button3->click();
    EXPECT_EQ(ZoomFactor, 0.7509999871f);
    frmRender->Button3->click();
    EXPECT_EQ(ZoomFactor, 0.6827272773f);
    frmRender->CheckBox1->click();
    EXPECT_FALSE(ShadedMode);
    EXPECT_EQ(frmRender->canvas().penColour, kWhite);
}

}  // namespace
}  // namespace quarn

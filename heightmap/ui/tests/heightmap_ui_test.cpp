// The map window's click and the height popup, with the real generator panel behind them.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "bmp_info.h"
#include "forms.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"
#include "quarn_set_f.h"
#include "spin_arrow.h"
#include "test_bmp.h"

namespace quarn {
namespace {

class MapClick : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateGenCPanel();
        CreateSetPopup();
        frmSet->MaskEdit1->setText("0");
        CurrentColourIndex = 0;
    }
    void TearDown() override {
        delete frmMap;
        delete frmGenCPanel;
    }

    // Shows a map whose left half has palette colour left and right half colour right, its
    // palette read as opening it does.
    void ShowMap(std::uint8_t left, std::uint8_t right) {
        const std::string path = dir.filePath("map.bmp").toStdString();
        testing::WriteFile(path, testing::FourBitImage(40, 40, testing::kMapRgb, [&](int x, int) {
                                     return x < 20 ? left : right;
                                 }).bytes());
        ASSERT_EQ(ReadBMPInfo(path), 0);
        CreateMapWindow();
        frmMap->LoadPicture(path);
        frmMap->SetClientSize(40, 40);
    }
    // Clicks the map at (x, y) and answers the popup with button (nullptr: Escape).
    QPoint ClickAndAnswer(int x, int y, QPushButton* button,
                          Qt::MouseButton mouse = Qt::LeftButton) {
        QPoint shownAt;
        QTimer::singleShot(0, [&] {
            shownAt = frmSet->pos();
            EXPECT_TRUE(frmSet->isVisible() && frmSet->isModal());
            if (button)
                button->click();
            else
                QTest::keyClick(frmSet, Qt::Key_Escape);
        });
        QTest::mouseClick(frmMap->Image1, mouse, Qt::NoModifier, QPoint(x, y));
        EXPECT_FALSE(frmSet->isVisible());
        return shownAt;
    }
    QString Height(int index) const { return FindEditByTag(GenCPanelForm(), index)->text(); }

    testing::MainFormStandIn standIn;
    QTemporaryDir dir;
};

TEST_F(MapClick, PlacesThePopupBesideItAndOWritesThatColoursField) {
    ShowMap(7, 2);
    frmMap->move(8, 46);
    frmSet->MaskEdit1->setText("1500");
    EXPECT_EQ(ClickAndAnswer(10, 20, frmSet->Button1), QPoint(-28, 91));
    EXPECT_EQ(CurrentColourIndex, 7);
    EXPECT_EQ(Height(7), "1500");
    for (int e = 0; e < 16; ++e)
        EXPECT_TRUE(e == 7 || Height(e).isEmpty()) << e;

    frmSet->MaskEdit1->setText("-200");
    ClickAndAnswer(30, 5, frmSet->Button1, Qt::RightButton);
    EXPECT_EQ(CurrentColourIndex, 2);
    EXPECT_EQ(Height(2), "-200");
    EXPECT_EQ(frmGenCPanel->MaskEdit3->text(), "-200");
}

TEST_F(MapClick, XEmptiesTheFieldAndEscapeChangesNothing) {
    ShowMap(4, 4);
    frmGenCPanel->MaskEdit5->setText("900");
    frmSet->MaskEdit1->setText("77");
    ClickAndAnswer(3, 3, nullptr);
    EXPECT_EQ(Height(4), "900");
    ClickAndAnswer(3, 3, frmSet->Button2);
    EXPECT_TRUE(Height(4).isEmpty());
    EXPECT_EQ(frmSet->MaskEdit1->text(), "77") << "the popup keeps its text";
    frmSet->MaskEdit1->clear();
    frmGenCPanel->MaskEdit5->setText("900");
    ClickAndAnswer(3, 3, frmSet->Button1);
    EXPECT_TRUE(Height(4).isEmpty()) << "a blank popup blanks the field";
}

TEST_F(MapClick, PaletteSearchPicksTheLowestIndexAndKeepsItOnNoMatch) {
    ShowMap(9, 9);
    Palette[2] = Palette[9];  // a later image's duplicate colour
    frmSet->MaskEdit1->setText("10");
    ClickAndAnswer(1, 1, frmSet->Button1);
    EXPECT_EQ(CurrentColourIndex, 2);
    Palette[2] = {};
    Palette[9] = {};
    frmSet->MaskEdit1->setText("20");
    ClickAndAnswer(1, 1, frmSet->Button1);
    EXPECT_EQ(CurrentColourIndex, 2) << "no entry has the colour";
    EXPECT_EQ(Height(2), "20");
    EXPECT_EQ(frmMap->PixelColour(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(frmMap->PixelColour(40, 0), 0xFFFFFFFFu);
}

TEST_F(MapClick, PopupLayoutAndSpinLimits) {
    EXPECT_EQ(frmSet->size(), QSize(104, 28));
    EXPECT_TRUE(
        frmSet->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    EXPECT_EQ(std::pair(frmSet->MaskEdit1->geometry(), frmSet->UpDown1->geometry()),
              std::pair(QRect(5, 5, 38, 19), QRect(43, 5, 15, 19)));
    EXPECT_EQ(frmSet->Button1->text() + frmSet->Button2->text(), "OX");
    EXPECT_TRUE(frmSet->Button1->font().bold());

    struct Step {
        const char* from;
        int steps;
        const char* to;
    } cases[] = {{"0", 1, "100"},         {"29950", 1, "30000"},    {"30000", 1, "30000"},
                 {"-9950", -1, "-10000"}, {"-10000", -3, "-10000"}, {"55", -1, "-45"},
                 {"99999", 1, "30000"}};
    for (const Step& s : cases) {
        frmSet->MaskEdit1->setText(s.from);
        frmSet->UpDown1->stepBy(s.steps);
        EXPECT_EQ(frmSet->MaskEdit1->text().toStdString(), s.to) << s.from << " by " << s.steps;
    }
    frmSet->show();
    QToolButton* up = testing::SpinArrow(*frmSet->UpDown1, Qt::UpArrow);
    QToolButton* down = testing::SpinArrow(*frmSet->UpDown1, Qt::DownArrow);
    ASSERT_TRUE(up && down);
    EXPECT_LT(up->y(), down->y());
    EXPECT_EQ(up->focusPolicy(), Qt::NoFocus);
    frmSet->MaskEdit1->setText("1200");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(frmSet->MaskEdit1->text(), "1300");
    frmSet->MaskEdit1->clear();
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(frmSet->MaskEdit1->text(), "1200") << "a blank edit steps from the last position";
    frmSet->hide();
}

}  // namespace
}  // namespace quarn

// The map window's click and the height popup, with the real generator panel behind them.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <tuple>

#include "bmp_info.h"
#include "forms.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"
#include "quarn_set_f.h"
#include "spin_arrow.h"
#include "temp_folder.h"
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
        const std::string path = folder.write(
            "map.bmp", testing::FourBitImage(40, 40, testing::kMapRgb, [&](int x, int) {
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
    std::string Height(int index) const {
        return FindEditByTag(GenCPanelForm(), index)->text().toStdString();
    }

    testing::MainFormStandIn standIn;
    testing::TempFolder folder;
};

// A colour that no palette entry has keeps the last index; a point off the picture has none.
TEST_F(MapClick, PlacesThePopupBesideItAndPicksTheClickedColour) {
    ShowMap(7, 2);
    frmMap->move(8, 46);
    frmSet->MaskEdit1->setText("1500");
    EXPECT_EQ(ClickAndAnswer(10, 20, frmSet->Button1), QPoint(-28, 91));
    EXPECT_EQ(CurrentColourIndex, 7);
    for (int e = 0; e < 16; ++e)
        EXPECT_EQ(Height(e), e == 7 ? "1500" : "") << e;
    ClickAndAnswer(30, 5, frmSet->Button1, Qt::RightButton);
    EXPECT_EQ(CurrentColourIndex, 2);
    Palette[7] = {};
    frmSet->MaskEdit1->setText("20");
    ClickAndAnswer(10, 20, frmSet->Button1);
    EXPECT_EQ(std::tuple(CurrentColourIndex, Height(2), Height(7)), std::tuple(2, "20", "1500"));
    EXPECT_EQ(std::pair(frmMap->PixelColour(-1, 0), frmMap->PixelColour(40, 0)),
              std::pair(0xFFFFFFFFu, 0xFFFFFFFFu));
}

// The popup keeps its text whatever the answer.
TEST_F(MapClick, OWritesTheFieldXEmptiesItAndEscapeLeavesIt) {
    ShowMap(4, 4);
    ASSERT_EQ(frmSet->Button1->text() + frmSet->Button2->text(), "OX");
    const struct {
        QPushButton* answer;  // nullptr: Escape
        const char* typed;
        const char* field;
    } answers[] = {{frmSet->Button1, "900", "900"},
                   {nullptr, "77", "900"},
                   {frmSet->Button2, "77", ""},
                   {frmSet->Button1, "-200", "-200"},
                   {frmSet->Button1, "", ""}};
    for (const auto& a : answers) {
        frmSet->MaskEdit1->setText(a.typed);
        ClickAndAnswer(3, 3, a.answer);
        EXPECT_EQ(Height(4), a.field) << a.typed;
        EXPECT_EQ(frmSet->MaskEdit1->text().toStdString(), a.typed);
    }
}

TEST_F(MapClick, PopupSpinStopsAtItsLimitsAndItsArrowsStepByOneHundred) {
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

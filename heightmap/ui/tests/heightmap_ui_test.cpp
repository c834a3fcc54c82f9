// The map window's click and the height popup, with the real generator panel behind them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <tuple>
#include <utility>

#include "bmp_info.h"
#include "forms.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "qt_colour.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"
#include "quarn_set_f.h"
#include "readable.h"
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
        delete std::exchange(frmMap, nullptr);
        delete frmGenCPanel;
    }

    // Shows a map whose left half has palette colour left and right half colour right in the
    // map window (made if need be), its palette read as opening it does.
    void ShowMap(std::uint8_t left, std::uint8_t right, QSize size = {40, 40}) {
        const std::string path = folder.write(
            "map.bmp",
            testing::FourBitImage(size.width(), size.height(), testing::kMapRgb, [&](int x, int) {
                return x < size.width() / 2 ? left : right;
            }).bytes());
        ASSERT_EQ(ReadBMPInfo(path), 0);
        if (!frmMap)
            CreateMapWindow();
        frmMap->LoadPicture(path);
        frmMap->SetClientSize(size.width(), size.height());
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
// The popup stands left of and below the click by the map's position, moved just inside the
// screen where it would stand partly outside.
TEST_F(MapClick, PlacesThePopupBesideItAndPicksTheClickedColour) {
    ShowMap(7, 2);
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    const struct {
        QPoint map, click, popup;
    } placements[] = {{{100, 46}, {10, 20}, {64, 91}},
                      {{8, 46}, {10, 20}, {0, 91}},  // -28 by the formula
                      {{screen.width(), screen.height() - 40},
                       {30, 30},
                       {screen.width() - 104, screen.height() - 28}}};
    for (const auto& p : placements) {
        frmMap->move(p.map);
        EXPECT_EQ(ClickAndAnswer(p.click.x(), p.click.y(), nullptr), p.popup) << p.map.x();
    }
    frmMap->move(8, 46);
    frmSet->MaskEdit1->setText("1500");
    ClickAndAnswer(10, 20, frmSet->Button1);
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

// Click, type, Enter: the popup opens with its text selected in the focused edit.
TEST_F(MapClick, PopupOpensReadyForTypingAndEnterPressesO) {
    ShowMap(5, 5);
    frmSet->MaskEdit1->setText("-100");
    std::vector<QWidget*> tabs;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(frmSet->focusWidget(), frmSet->MaskEdit1);
        EXPECT_EQ(frmSet->MaskEdit1->selectedText().trimmed(), "-100");
        tabs = testing::TabChain(frmSet, frmSet->UpDown1);
        QTest::keyClicks(frmSet->MaskEdit1, "-10000");
        QTest::keyClick(frmSet->MaskEdit1, Qt::Key_Return);
    });
    QTest::mouseClick(frmMap->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(frmSet->isVisible());
    EXPECT_EQ(Height(5), "-10000");
    EXPECT_EQ(tabs, (std::vector<QWidget*>{frmSet->UpDown1, frmSet->MaskEdit1, frmSet->Button1,
                                           frmSet->Button2}));
}

// A map larger than the work area scrolls inside it, left of the panel; clicks still give
// image pixels, and the popup opens beside the click as it lies in the window (the image pixel
// put it off the screen's corner).
TEST_F(MapClick, ALargeMapScrollsInsideTheWorkAreaLeftOfThePanel) {
    ShowMap(3, 9, {1400, 1000});
    QWidget* viewport = standIn.area()->viewport();
    EXPECT_TRUE(viewport->rect().contains(frmMap->geometry())) << "1000 x 700 main window";
    EXPECT_LT(frmMap->geometry().right(), frmGenCPanel->x());
    EXPECT_EQ(frmMap->Image1->size(), QSize(1400, 1000));
    frmMap->move(8, 46);
    frmMap->Scroller->ensureVisible(1100, 750);
    const QPoint inWindow = frmMap->Image1->mapTo(frmMap->Scroller, QPoint(1100, 750));
    ASSERT_TRUE(frmMap->Scroller->rect().contains(inWindow));
    EXPECT_EQ(ClickAndAnswer(1100, 750, nullptr), inWindow + QPoint(8 - 46, 46 + 25));
    EXPECT_EQ(CurrentColourIndex, 9);
    ClickAndAnswer(10, 990, nullptr);
    EXPECT_EQ(CurrentColourIndex, 3);
}

// What the screen shows, not a fresh painting: a reused window once painted only the area of
// the map before, leaving the rest of a larger map unseen but clickable.
TEST_F(MapClick, AReusedWindowPaintsAllOfALargerMap) {
    ShowMap(3, 3, {40, 30});
    QTest::qWait(20);
    for (const QSize size : {QSize(300, 200), QSize(1400, 1000)}) {
        ShowMap(9, 9, size);
        QTest::qWait(20);
        QWidget* window = frmMap->window();
        const QImage shown = frmMap->screen()->grabWindow(window->winId()).toImage();
        const QWidget* viewport = frmMap->Scroller->viewport();
        const QPoint corner(viewport->width() - 5, viewport->height() - 5);
        EXPECT_EQ(ColourOfRgb(shown.pixel(viewport->mapTo(window, corner))),
                  frmMap->PixelColour(corner.x(), corner.y()))
            << size.width();
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
    QTest::keyClick(frmSet->UpDown1, Qt::Key_Up);
    EXPECT_EQ(frmSet->MaskEdit1->text(), "1300") << "the arrow keys step it too";
    frmSet->hide();
}

}  // namespace
}  // namespace quarn

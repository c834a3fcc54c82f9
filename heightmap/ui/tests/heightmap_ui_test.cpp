#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "bmp_info.h"
#include "error_report.h"
#include "forms.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "open_bmp_command.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"
#include "quarn_set_f.h"
#include "scripted_ui.h"
#include "test_bmp.h"

namespace quarn {
namespace {

using testing::ScriptedUi;

// Colour e of the test maps: distinct, and each component differs so byte order shows.
constexpr std::array<std::uint32_t, 16> kRgb{
    0x0000FF, 0x1020F0, 0x203040, 0x00A000, 0x506070, 0x607080, 0x708090, 0x8090A0,
    0x90A0B0, 0xA0B0C0, 0xB0C0D0, 0xC0D0E0, 0xD0E0F0, 0xE0F010, 0xF01020, 0xFFFFFF};

Colour AsColour(std::uint32_t rgb) {
    return PackRGB(static_cast<std::int32_t>(rgb >> 16), (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class MapWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateGenCPanel();
        CreateSetPopup();
        frmSet->MaskEdit1->setText("0");
        Palette = {};
        MapFileName.clear();
        CurrentColourIndex = 0;
    }
    void TearDown() override {
        delete frmMap;
        delete frmGenCPanel;
    }

    // Writes a map whose left half shows colour left and right half colour right.
    std::string Map(const char* name, int width, int height, std::uint8_t left = 0,
                    std::uint8_t right = 1, bool topDown = false) {
        return File(name, testing::FourBitImage(
                              width, height, kRgb,
                              [&](int x, int) { return x < width / 2 ? left : right; }, topDown)
                              .bytes());
    }
    std::string File(const char* name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = dir.filePath(name).toStdString();
        testing::WriteFile(path, bytes);
        return path;
    }
    void Open(const std::string& path) {
        ui.dialogAnswers.push_back(path);
        RunGuarded(OpenBMPImage);
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
    QMainWindow& main = standIn.main();
    QMdiArea* area = standIn.area();
    QTemporaryDir dir;
    ScriptedUi ui;
};

TEST_F(MapWindow, DialogAsksForABmpAndCancelChangesNothing) {
    ui.dialogAnswers.push_back(std::nullopt);
    OpenBMPImage();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogKinds[0], "open");
    const FileDialogRequest& r = ui.dialogs[0];
    EXPECT_EQ(std::tie(r.title, r.filter, r.defaultExt, r.fileName),
              std::tuple("Open BMP image file", "BMP files|*.bmp", "BMP", ""));
    EXPECT_FALSE(MapWindowOpen || frmMap);
}

TEST_F(MapWindow, RefusalsShowTheirMessageAndLeaveEverythingAsItWas) {
    Open(Map("first.bmp", 40, 20));
    testing::TestBmp compressed = testing::FourBitImage(8, 2, kRgb, [](int, int) { return 3; });
    compressed.compression = 2;
    compressed.colourTable.assign(16, {9, 9, 9, 0});
    testing::TestBmp deep = compressed;
    deep.compression = 0;
    deep.bitsPerPixel = 8;
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {std::vector<std::uint8_t>(54, 'B'), "File corrupted or not BMP!"},
        {compressed.bytes(), "Unknown file compression!"},
        {deep.bytes(), "Only 4-bit (16 color) BMP images supported!"},
    };
    const std::string first = MapFileName;
    for (const auto& [bytes, text] : cases) {
        ui.boxes.clear();
        Open(File("refused.bmp", bytes));
        ASSERT_EQ(ui.boxes.size(), 1u) << text;
        EXPECT_EQ(std::tie(ui.boxes[0].text, ui.boxes[0].type, ui.boxes[0].buttons),
                  std::tuple(text, MsgDlgType::Error, mbAbort));
        EXPECT_EQ(MapFileName, first);
        EXPECT_EQ(frmGenCPanel->SwatchColour(0), AsColour(kRgb[0]));
        EXPECT_EQ(frmMap->windowTitle().toStdString(), first);
    }
}

TEST_F(MapWindow, PlatformFailuresReachTheTopLevelReport) {
    const std::string text = "ten bytes!";
    Open(File("short.bmp", {text.begin(), text.end()}));
    Open(dir.filePath("missing.bmp").toStdString());
    ASSERT_EQ(ui.reports.size(), 2u);
    EXPECT_EQ(ui.reports[0], "Read beyond end of file.");
    EXPECT_TRUE(ui.boxes.empty()) << "no check code for a short file";
    EXPECT_TRUE(!MapWindowOpen && MapFileName.empty());

    // Headers that pass but pixels the reader cannot decode: the open has gone that far.
    const std::string undecodable =
        File("nopixels.bmp", testing::FourBitImage(0, 0, kRgb, [](int, int) { return 0; }).bytes());
    Open(undecodable);
    ASSERT_EQ(ui.reports.size(), 3u);
    EXPECT_EQ(ui.reports[2], "Bitmap image is not valid.");
    EXPECT_EQ(MapFileName, undecodable);
    EXPECT_TRUE(MapWindowOpen);
}

TEST_F(MapWindow, OpenPaintsAllSwatchesAndSizesTheWindowToTheImage) {
    const std::string path = Map("island.bmp", 120, 70);
    Open(path);
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_EQ(MapFileName, path);
    ASSERT_TRUE(MapWindowOpen);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(frmGenCPanel->SwatchColour(k), AsColour(kRgb[static_cast<std::size_t>(k)])) << k;
    EXPECT_EQ(frmGenCPanel->Label17->palette(), frmGenCPanel->Label20->palette())
        << "captions are not swatches";
    EXPECT_EQ(frmMap->windowTitle().toStdString(), path);
    EXPECT_EQ(std::pair(frmMap->Image1->size(), frmMap->picture().size()),
              std::pair(QSize(120, 70), QSize(120, 70)));
    EXPECT_EQ(frmMap->pos(), QPoint(main.frameGeometry().width() - area->width(),
                                    main.frameGeometry().height() - area->height()));
    EXPECT_EQ(frmMap->mdiArea(), area);
}

TEST_F(MapWindow, TopDownImageTakesItsRealHeight) {
    Open(Map("topdown.bmp", 64, 30, 5, 6, true));
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_EQ(BMPHeader.height, -30);
    EXPECT_EQ(frmMap->Image1->size(), QSize(64, 30));
    EXPECT_EQ(frmMap->PixelColour(0, 0), AsColour(kRgb[5]));
}

TEST_F(MapWindow, SecondOpenReusesTheWindowAndCloseForgetsTheFile) {
    Open(Map("a.bmp", 100, 50));
    TfrmMap* first = frmMap;
    Open(Map("b.bmp", 60, 90));
    EXPECT_EQ(frmMap, first);
    EXPECT_EQ(area->subWindowList().size(), 2) << "the panel and one map";
    EXPECT_EQ(frmMap->Image1->size(), QSize(60, 90));
    EXPECT_TRUE(frmMap->windowTitle().endsWith("b.bmp"));

    frmGenCPanel->MaskEdit4->setText("300");
    CurrentColourIndex = 3;
    QPointer<TfrmMap> closing(frmMap);
    frmMap->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull() && !frmMap && !MapWindowOpen && MapFileName.empty());
    EXPECT_EQ(frmGenCPanel->SwatchColour(1), AsColour(kRgb[1]));
    EXPECT_EQ(CurrentColourIndex, 3);

    Open(Map("c.bmp", 30, 30));
    EXPECT_TRUE(MapWindowOpen && frmMap);
    EXPECT_EQ(Height(3), "300");
    EXPECT_EQ(CurrentColourIndex, 3);
}

TEST_F(MapWindow, ClickPlacesThePopupBesideItAndOWritesThatColoursField) {
    Open(Map("map.bmp", 40, 40, 7, 2));
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

TEST_F(MapWindow, XEmptiesTheFieldAndEscapeChangesNothing) {
    Open(Map("map.bmp", 40, 40, 4, 4));
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

TEST_F(MapWindow, PaletteSearchPicksTheLowestIndexAndKeepsItOnNoMatch) {
    Open(Map("map.bmp", 40, 40, 9, 9));
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

TEST_F(MapWindow, PopupLayoutAndSpinLimits) {
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
    frmSet->MaskEdit1->setText("1200");
    frmSet->UpDown1->upButton()->click();
    EXPECT_EQ(frmSet->MaskEdit1->text(), "1300");
    frmSet->MaskEdit1->clear();
    frmSet->UpDown1->downButton()->click();
    EXPECT_EQ(frmSet->MaskEdit1->text(), "1200") << "a blank edit steps from the last position";
}

}  // namespace
}  // namespace quarn

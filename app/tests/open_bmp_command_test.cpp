// The "Open BMP image file..." command with the real map window and generator panel.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <tuple>

#include "bmp_info.h"
#include "error_report.h"
#include "forms.h"
#include "go_on.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "open_bmp_command.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "test_bmp.h"

namespace quarn {
namespace {

using testing::kMapRgb;

class OpenBmp : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateGenCPanel();
        Palette = {};
    }
    void TearDown() override {
        delete frmMap;
        delete frmGenCPanel;
    }

    // Writes a map whose left half shows colour left and right half colour right.
    std::string Map(const char* name, int width, int height, std::uint8_t left = 0,
                    std::uint8_t right = 1, bool topDown = false) {
        return folder.write(name,
                            testing::FourBitImage(
                                width, height, kMapRgb,
                                [&](int x, int) { return x < width / 2 ? left : right; }, topDown)
                                .bytes());
    }
    void Open(const std::string& path) {
        ui.dialogAnswers.push_back(path);
        RunGuarded(OpenBMPImage);
    }
    // The colour swatch k shows, and the one map colour k should show.
    static QColor Swatch(int k) {
        return FindLabelsByTag(GenCPanelForm(), k).at(0)->palette().color(QPalette::Window);
    }
    static QColor MapColour(int k) { return QColor(QRgb(kMapRgb[static_cast<std::size_t>(k)])); }
    // The bytes generated as name for a 100 x 100 map sampled every 10, colour e at 10 e.
    std::string Generate(const std::string& name) {
        for (int e = 0; e < 16; ++e)
            FindEditByTag(GenCPanelForm(), e)->setText(QString::number(10 * e));
        const char* levels[] = {"0", "30", "120", "100", "100", "10"};  // Tags 100 to 600
        for (int i = 0; i < 6; ++i)
            FindEditByTag(GenCPanelForm(), 100 * (i + 1))->setText(levels[i]);
        ui.dialogAnswers.push_back(folder.file(name));
        RunGuarded([] { GoOn(Surface::Terraced); });
        ui.dialogAnswers.clear();  // unasked when generate refuses
        return folder.read(name);
    }

    testing::MainFormStandIn standIn;
    QMdiArea* area = standIn.area();
    testing::TempFolder folder;
    testing::ScriptedUi ui;
};

TEST_F(OpenBmp, CancelAndRefusalsLeaveEverythingAsItWas) {
    ui.dialogAnswers.push_back(std::nullopt);
    OpenBMPImage();
    const FileDialogRequest& r = ui.dialogs.at(0);
    EXPECT_EQ(std::tie(ui.dialogKinds[0], r.title, r.filter, r.defaultExt, r.fileName),
              std::tuple("open", "Open BMP image file", "BMP files|*.bmp", "BMP", ""));
    EXPECT_FALSE(MapWindowOpen || frmMap);

    Open(Map("first.bmp", 40, 20));
    const std::vector<std::uint8_t> table(80, 9);  // would paint the swatches if read
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {std::vector<std::uint8_t>(54, 'B'), "File corrupted or not BMP!"},
        // Once decoded until the memory ran out, and then called not valid.
        {testing::TestBmp{.width = 16385, .tail = table}.bytes(),
         "The map is 16385 x 2 pixels; at most 16384 x 16384 are supported!"},
    };
    const std::string first = MapFileName;
    for (const auto& [bytes, text] : cases) {
        ui.boxes.clear();
        Open(folder.write("refused.bmp", bytes));
        ASSERT_EQ(ui.boxes.size(), 1u) << text;
        EXPECT_EQ(std::tie(ui.boxes[0].text, ui.boxes[0].type, ui.boxes[0].buttons),
                  std::tuple(text, MsgDlgType::Error, mbAbort));
        EXPECT_EQ(MapFileName, first);
        EXPECT_EQ(Swatch(0), MapColour(0));
        EXPECT_EQ(frmMap->windowTitle().toStdString(), first);
    }
}

TEST_F(OpenBmp, PlatformFailuresReachTheTopLevelReport) {
    Open(folder.write("short.bmp", "ten bytes!"));
    Open(folder.file("missing.bmp"));
    ASSERT_EQ(ui.reports.size(), 2u);
    EXPECT_EQ(ui.reports[0], "Read beyond end of file.");
    EXPECT_TRUE(ui.boxes.empty()) << "no check code for a short file";
    EXPECT_TRUE(!MapWindowOpen && MapFileName.empty());

    // Headers that pass but pixels the reader cannot decode: the open has gone that far.
    const std::string undecodable = folder.write(
        "nopixels.bmp", testing::FourBitImage(0, 0, kMapRgb, [](int, int) { return 0; }).bytes());
    Open(undecodable);
    ASSERT_EQ(ui.reports.size(), 3u);
    EXPECT_EQ(ui.reports[2], "Bitmap image is not valid.");
    EXPECT_EQ(MapFileName, undecodable);
    EXPECT_TRUE(MapWindowOpen);

    // Pixel rows cut short; nor may generate use the picture shown before.
    Open(Map("good.bmp", 40, 40));
    auto cut = testing::FourBitImage(40, 40, kMapRgb, [](int x, int) { return x % 16; }).bytes();
    cut.pop_back();
    Open(folder.write("cut.bmp", cut));
    EXPECT_EQ(ui.reports.back(), "Bitmap image is not valid.");
    folder.write("earlier.3df", "earlier");
    EXPECT_EQ(Generate("earlier.3df"), "earlier");
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"No map loaded!"});
}

TEST_F(OpenBmp, HeadersAsEditorsWriteThemGiveTheSameSwatchesPictureAndTerrain) {
    const auto image =
        testing::FourBitImage(40, 40, kMapRgb, [](int x, int y) { return (x / 3 + y / 5) % 16; });
    std::vector<std::pair<QImage, std::string>> seen;
    for (const std::uint32_t size : {40u, 108u, 124u, 12u}) {
        Palette = {};
        Open(folder.write("map.bmp", testing::WithInfoHeader(image, size).bytes()));
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(Swatch(k), MapColour(k)) << size << ", swatch " << k;
        seen.emplace_back(frmMap->picture().convertToFormat(QImage::Format_RGB32),
                          Generate("map.3df"));
        EXPECT_TRUE(seen.back() == seen.front() && seen.back().second.size() > 1000) << size;
    }
    EXPECT_TRUE(ui.reports.empty() && ui.boxes.empty());
}

TEST_F(OpenBmp, PaintsTheSwatchesSizesTheWindowToTheImageAndReusesIt) {
    const std::string path = Map("a.bmp", 120, 70);
    Open(path);
    ASSERT_TRUE(ui.reports.empty() && MapWindowOpen);
    EXPECT_EQ(std::tuple(MapFileName, frmMap->windowTitle().toStdString(), frmMap->Image1->size(),
                         frmMap->picture().size()),
              std::tuple(path, path, QSize(120, 70), QSize(120, 70)));

    TfrmMap* first = frmMap;
    area->setActiveSubWindow(frmGenCPanel);
    Open(Map("b.bmp", 60, 90, 5, 6, true));  // stored top row first
    EXPECT_EQ(frmMap, first);
    EXPECT_EQ(area->activeSubWindow(), frmMap) << "brought to the front";
    EXPECT_EQ(area->subWindowList().size(), 2) << "the panel and one map";
    EXPECT_EQ(std::pair(BMPHeader.height, frmMap->Image1->size()), std::pair(-90, QSize(60, 90)));
    EXPECT_EQ(frmMap->PixelColour(0, 0), 0x807060u) << "colour 5, 0x607080, red low";
    EXPECT_TRUE(frmMap->windowTitle().endsWith("b.bmp"));
}

TEST_F(OpenBmp, CloseForgetsTheFileButNotTheHeights) {
    Open(Map("a.bmp", 100, 50));
    frmGenCPanel->MaskEdit4->setText("300");
    CurrentColourIndex = 3;
    QPointer<TfrmMap> closing(frmMap);
    frmMap->close();
    EXPECT_TRUE(!frmMap && !MapWindowOpen && MapFileName.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(Swatch(1), MapColour(1));
    EXPECT_EQ(CurrentColourIndex, 3);

    Open(Map("c.bmp", 30, 30));
    EXPECT_TRUE(MapWindowOpen && frmMap);
    EXPECT_EQ(FindEditByTag(GenCPanelForm(), 3)->text(), "300");
    EXPECT_EQ(CurrentColourIndex, 3);
}

}  // namespace
}  // namespace quarn

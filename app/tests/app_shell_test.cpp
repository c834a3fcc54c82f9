// The application shell run for real, offscreen, with boxes and dialogs answered by script;
// then the windows as a user meets them after start-up: where the main window stands, whether
// every text shows whole at the fixed sizes, and where Tab goes.
// Last, the "Open BMP image file..." and "Import map image..." commands with the real map
// window and generator panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "bmp_info.h"
#include "close_windows.h"
#include "error_report.h"
#include "forms.h"
#include "go_on.h"
#include "import_map_command.h"
#include "main_form_stand_in.h"
#include "map_state.h"
#include "open_bmp_command.h"
#include "quarn_doc_f.h"
#include "quarn_gencpanel_f.h"
#include "quarn_import_f.h"
#include "quarn_main_f.h"
#include "quarn_map_f.h"
#include "quarn_render_f.h"
#include "quarn_set_f.h"
#include "readable.h"
#include "scene.h"
#include "scripted_ui.h"
#include "startup.h"
#include "temp_folder.h"
#include "test_bmp.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

class AppShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(m_folder.path().string()));
    }
    void TearDown() override {
        testing::DestroyAllWindows();
        QApplication::processEvents();
        QDir::setCurrent(m_previousFolder);
    }

    testing::ScriptedUi m_ui;
    testing::TempFolder m_folder;
    QString m_previousFolder;
};

TEST_F(AppShellTest, OkAtTheStartNoticeShowsTheMaximisedMainWindowWithThePanel) {
    ASSERT_TRUE(StartUp());  // an unscripted box answers its first button, OK
    ASSERT_EQ(m_ui.boxes.size(), 1u);
    const MessageBoxRequest& notice = m_ui.boxes.front();
    EXPECT_EQ(std::tie(notice.type, notice.buttons, notice.text),
              std::tuple(MsgDlgType::Warning, static_cast<MsgDlgButtons>(mbOK | mbCancel),
                         "This program functions properly only with 24-bit color resolution "
                         "(16.7 million colors).\rIf this is not your case, please make the "
                         "proper adjustments."));
    EXPECT_TRUE(frmMainMDI->isVisible() && (frmMainMDI->windowState() & Qt::WindowMaximized));
    EXPECT_TRUE(frmMainMDI->MdiArea->isAncestorOf(GenCPanelForm()));
    // The window carries the desktop's icon, built in, from 16 to 256 pixels.
    const QList<QSize> sizes = frmMainMDI->windowIcon().availableSizes();
    EXPECT_EQ(sizes.size(), 8);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)));
    EXPECT_FALSE(frmMainMDI->windowIcon().pixmap(48).isNull());
}

TEST_F(AppShellTest, CancelAtTheNoticeEndsBeforeAnyWindowShows) {
    m_ui.boxAnswers.push_back(mrCancel);
    EXPECT_FALSE(StartUp());
    EXPECT_FALSE(frmMainMDI->isVisible());
}

// The test program lies in the build folder, where no installed guide stands in for the file.
// Started from a desktop menu, the current folder is the home folder: an installed program
// shows its installation's guide there, but a "document.txt" of the folder still comes first.
// Mend: a 2 MB line froze the window for minutes; it is shown as lines of 988 characters.
TEST_F(AppShellTest, DocumentationReadsTheFileEachTimeIntoTheSameWindow) {
    ASSERT_TRUE(StartUp());
    frmMainMDI->Documentation1->trigger();
    ASSERT_TRUE(DocWindowOpen);
    TfrmDoc* first = frmDoc;
    EXPECT_TRUE(first->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(m_ui.reports,
              std::vector<std::string>{"Cannot open file \"document.txt\". File not found."});

    const testing::TempFolder installation;
    std::filesystem::create_directories(installation.path() / "bin");
    std::filesystem::create_directories(installation.path() / "share/quarn3d");
    installation.write("share/quarn3d/document.txt", "Installed guide");
    ShowDocumentation(QString::fromStdString(installation.file("bin")));
    EXPECT_EQ(first->Memo1->toPlainText(), "Installed guide");

    first->Memo1->setPlainText("edited by the user");
    std::string words;
    while (words.size() < 2'000'000)
        words += "contour ";
    m_folder.write("document.txt", "Title\n" + words + "\nEnd");
    ShowDocumentation(QString::fromStdString(installation.file("bin")));
    EXPECT_EQ(frmDoc, first);
    const QString shown = first->Memo1->toPlainText();
    const QStringList lines = shown.split('\n');
    EXPECT_EQ(lines.size(), 2 + (words.size() + 987) / 988);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 988);
    EXPECT_EQ(QString(shown).remove('\n'), QString::fromStdString("Title" + words + "End"));

    frmDoc->Button1->click();
    QApplication::processEvents();
    EXPECT_FALSE(DocWindowOpen);
    m_folder.write("document.txt", "Second edition");
    frmMainMDI->Documentation1->trigger();
    EXPECT_TRUE(DocWindowOpen);
    EXPECT_EQ(frmDoc->Memo1->toPlainText(), "Second edition");
    EXPECT_EQ(m_ui.reports.size(), 1u);
}

TEST_F(AppShellTest, ExitEndsTheProgramWithWindowsOpen) {
    ASSERT_TRUE(StartUp());
    m_folder.write("document.txt", "text");
    frmMainMDI->Documentation1->trigger();
    m_ui.dialogAnswers.push_back(QUARN_SAMPLES_DIR "/island.bmp");
    frmMainMDI->OpenBMPfile1->trigger();
    m_ui.dialogAnswers.push_back(m_folder.write(
        "tiny.3df", testing::TdfBytes({{0, 0, 0}, {1, 0, 1}, {0, 1, 0}}, {{0, 1, 2, 120}})));
    frmMainMDI->Open3Dfile1->trigger();
    ASSERT_TRUE(DocWindowOpen && MapWindowOpen && RenderWindowOpen);
    frmMainMDI->Exit1->trigger();
    EXPECT_FALSE(frmMainMDI->isVisible());
    EXPECT_EQ(m_ui.boxes.size(), 1u);  // only the start notice: no question on exit
    EXPECT_TRUE(m_ui.reports.empty());
}

class WindowLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        ASSERT_TRUE(StartUp());
    }
    void TearDown() override { testing::DestroyAllWindows(); }

    testing::ScriptedUi ui;
    testing::TempFolder folder;
};

// Without a window manager nothing maximises the window: it takes the work area itself, so
// the panel at the screen's right edge stands inside it.
TEST_F(WindowLayout, MainWindowFillsTheWorkAreaAndRestoresToItsBounds) {
    const QRect work = frmMainMDI->screen()->availableGeometry();
    EXPECT_EQ(frmMainMDI->geometry().size(), work.size());
    const QRect panel = frmGenCPanel->geometry();
    EXPECT_EQ(panel.right(), work.right());
    EXPECT_TRUE(frmMainMDI->MdiArea->viewport()->rect().contains(panel));
    frmMainMDI->showNormal();
    EXPECT_EQ(frmMainMDI->frameGeometry(), QRect(191, 227, 435, 300));
}

// A key pressed in an open menu runs its item at once only where no other item shares it.
// "&Print colours" keeps the caption it was given, sharing P with "&Perspective": pressing P
// goes to each in turn.
TEST_F(WindowLayout, EveryMenuItemHasAKeyOfItsOwn) {
    for (const QMenu* menu : {frmMainMDI->Menu1, frmMainMDI->Options1}) {
        std::set<QChar> keys;
        for (const QAction* item : menu->actions()) {
            if (item->isSeparator() || item == frmMainMDI->PrintColours1)
                continue;
            const QString text = item->text();
            const auto amp = text.indexOf('&');
            ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
            EXPECT_TRUE(keys.insert(text[amp + 1].toLower()).second) << text.toStdString();
        }
    }
}

TEST_F(WindowLayout, ImportStandsDirectlyBelowOpen) {
    const QList<QAction*> items = frmMainMDI->Menu1->actions();
    EXPECT_EQ(items.indexOf(frmMainMDI->ImportMapImage1),
              items.indexOf(frmMainMDI->OpenBMPfile1) + 1);
    EXPECT_EQ(frmMainMDI->ImportMapImage1->text(), "&Import map image...");
}

TEST_F(WindowLayout, TextsShowWholeAndTabGoesInTheSetOrder) {
    ui.dialogAnswers.push_back(folder.write(
        "tiny.3df", testing::TdfBytes({{0, 0, 0}, {1, 0, 1}, {0, 1, 0}}, {{0, 1, 2, 120}})));
    frmMainMDI->Open3Dfile1->trigger();
    ASSERT_TRUE(frmRender);

    QList<QLineEdit*> fields = GenCPanelForm()->findChildren<QLineEdit*>();
    fields.push_back(frmSet->MaskEdit1);
    for (QLineEdit* field : fields) {
        const bool signedField = field->inputMask().startsWith('#');
        const QString longest = QString(signedField ? "-10000" : "123456").left(field->maxLength());
        EXPECT_TRUE(testing::ShowsWhole(*field, longest))
            << Tag(field) << ": " << longest.toStdString();
    }

    const TfrmGenCPanel& p = *frmGenCPanel;
    const QLabel* captions[] = {p.Label17, p.Label18, p.Label19, p.Label20, p.Label21, p.Label22};
    for (const QLabel* c : captions)
        EXPECT_GE(c->width(), c->fontMetrics().horizontalAdvance(c->text()))
            << c->text().toStdString();
    EXPECT_TRUE(p.Label20->geometry().right() < p.Label21->x() &&
                p.Label21->geometry().right() < p.Label22->x() &&
                p.Label22->geometry().right() < GenCPanelForm()->width())
        << "Mapwidth, Mapheight and Interval apart";

    const TfrmRender& r = *frmRender;
    const QAbstractButton* buttons[] = {r.RadioButton1, r.RadioButton2, r.CheckBox1, r.CheckBox2};
    for (const QAbstractButton* b : buttons)
        EXPECT_TRUE(testing::CaptionWhole(*b)) << b->text().toStdString();
    EXPECT_EQ(
        testing::TabChain(r.Panel2, r.Edit1),
        (std::vector<QWidget*>{r.Edit1, r.Button1, r.UpDown1, r.UpDown2, r.Edit2, r.RadioButton1,
                               r.RadioButton2, r.CheckBox1, r.CheckBox2, r.Button2, r.Button3}));
}

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

class ImportMap : public OpenBmp {
  protected:
    // A width x 12 image: red, green and blue thirds, blended a little differently on each row
    // where they meet, as an anti-aliased export has many colours.
    std::string Png(int width = 60) {
        QImage image(width, 12, QImage::Format_RGB32);
        const int third = width / 3;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < width; ++x) {
                const int shade = 200 + 55 * (x % third) / third;  // each third a gradient
                image.setPixelColor(
                    x, y,
                    QColor(x < third ? shade : 0, x >= third && x < 2 * third ? shade : 0,
                           x >= 2 * third ? shade : 0));
            }
            image.setPixelColor(third, y, QColor(100 + 5 * y, 155 - 5 * y, 0));
            image.setPixelColor(2 * third, y, QColor(0, 100 + 5 * y, 155 - 5 * y));
        }
        const std::string name = folder.file("map.png");
        image.save(QString::fromStdString(name));
        return name;
    }
    // Runs the command, the import dialog handled by answer while it is shown.
    void Import(std::function<void(TfrmImport&)> answer) {
        QTimer::singleShot(
            0, [answer] { answer(*dynamic_cast<TfrmImport*>(QApplication::activeModalWidget())); });
        RunGuarded(ImportMapImage);
    }
    static void Ok(TfrmImport& d) { d.Buttons->button(QDialogButtonBox::Ok)->click(); }
};

// The image is wider than the preview: the map saved still has the bands shown.
TEST_F(ImportMap, OkWritesTheCleanedMapAndOpensItWithItsBands) {
    ui.dialogAnswers = {Png(3 * TfrmImport::kPreviewSide), folder.file("clean.bmp")};
    int rows = 0;
    std::vector<QRgb> shown;
    Import([&](TfrmImport& d) {
        d.BandCount->setCurrentText("3");
        rows = d.BandTable->rowCount();
        for (int row = 0; row < rows; ++row)
            shown.push_back(d.BandTable->item(row, 0)->background().color().rgb());
        Ok(d);
    });
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(std::tie(ui.dialogs[0].title, ui.dialogs[0].filter),
              std::tuple("Import map image",
                         "Map images|*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.gif;*.bmp|All files|*"));
    EXPECT_EQ(std::tie(ui.dialogKinds[1], ui.dialogs[1].fileName),
              std::tuple("save", folder.file("map.bmp")));
    EXPECT_EQ(rows, 3);
    ASSERT_TRUE(MapWindowOpen && ui.reports.empty());
    EXPECT_EQ(MapFileName, folder.file("clean.bmp"));
    // Found bands lie near the image's colours: each channel's top bit tells them apart.
    std::set<QRgb> swatches;
    for (int k = 0; k < 3; ++k) {
        swatches.insert(Swatch(k).rgb() & 0x808080);
        EXPECT_EQ(Swatch(k).rgb(), shown[std::size_t(k)]);
    }
    EXPECT_EQ(swatches, (std::set<QRgb>{0x800000, 0x008000, 0x000080}));
}

TEST_F(ImportMap, CancelChangesNothing) {
    ui.dialogAnswers = {Png()};
    Import([](TfrmImport& d) { d.Buttons->button(QDialogButtonBox::Cancel)->click(); });
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(!MapWindowOpen && MapFileName.empty());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"map.png"});
}

TEST_F(ImportMap, ALegendGivesTheBandsAndFillsTheirHeights) {
    ui.dialogAnswers = {Png(), folder.write("bad.txt", "high ground\n"),
                        folder.write("legend.txt", "100 255 0 0\n250.5 0 255 0\n900 0 0 255\n"),
                        folder.file("clean.bmp")};
    QString height;
    Import([&](TfrmImport& d) {
        d.LegendButton->click();
        d.LegendButton->click();
        height = d.BandTable->item(1, 2)->text();
        Ok(d);
    });
    EXPECT_EQ(ui.errorTexts().size(), 1u) << "the refused legend";
    EXPECT_EQ(height, "250.5");
    for (const int tag : {0, 1, 2})
        EXPECT_EQ(FindEditByTag(GenCPanelForm(), tag)->text(),
                  QStringList({"100", "250", "900"})[tag]);  // half to even
    EXPECT_EQ(Swatch(1).rgb(), 0xff00ff00);
}

}  // namespace
}  // namespace quarn

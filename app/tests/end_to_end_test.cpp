// The whole road through the real windows, offscreen, as a user takes it: open the sample
// island, type the heights into the panel (clicking the map for one is MapClick's), generate, view
// the terrain and save its picture. The terrain file must equal what the command line writes for
// the same map and fields, and the saved picture must equal both the picture on screen and the
// command line's rendering of the file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

#include "busy_cursor.h"
#include "close_windows.h"
#include "forms.h"
#include "map_state.h"
#include "quarn_gencpanel_f.h"
#include "quarn_main_f.h"
#include "quarn_meshdetail_f.h"
#include "quarn_render_f.h"
#include "scene.h"
#include "scripted_ui.h"
#include "startup.h"
#include "temp_folder.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

// The island's suggested heights and levels from the user guide. Water, Lawn and Snow differ,
// and the island then has triangles of all four height classes.
const char* const kHeights[16] = {"-350", "-210", "-100", "-25", "10",  "40",  "80",  "120",
                                  "160",  "200",  "240",  "280", "320", "365", "415", "470"};

// The six level and size fields, each with its command-line option.
const struct {
    QLineEdit* TfrmGenCPanel::*field;
    const char* option;
    const char* text;
} kFields[] = {{&TfrmGenCPanel::MaskEdit17, "--water", "0"},
               {&TfrmGenCPanel::MaskEdit18, "--lawn", "90"},
               {&TfrmGenCPanel::MaskEdit19, "--snow", "400"},
               {&TfrmGenCPanel::MaskEdit20, "--map-width", "8000"},
               {&TfrmGenCPanel::MaskEdit21, "--map-height", "6000"},
               {&TfrmGenCPanel::MaskEdit22, "--interval", "100"}};

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        ASSERT_TRUE(StartUp());
    }
    void TearDown() override { testing::DestroyAllWindows(); }

    QString Path(const char* name) const { return QString::fromStdString(folder.file(name)); }

    // Runs a menu command whose file dialog the user answers with path.
    void RunCommand(QAction* command, const QString& path) {
        ui.dialogAnswers.push_back(path.toStdString());
        command->trigger();
    }

    // Types the heights and the six level and size fields into the panel.
    void TypeIntoPanel() {
        for (int e = 0; e < 16; ++e)
            Type(FindEditByTag(GenCPanelForm(), e), kHeights[e]);
        for (const auto& f : kFields)
            Type(frmGenCPanel->*f.field, f.text);
    }

    void PressGenerate(const QString& path) {
        ui.dialogAnswers.push_back(path.toStdString());
        QTest::mouseClick(frmGenCPanel->BitBtn1, Qt::LeftButton);
    }

    static void Type(QLineEdit* edit, const char* text) {
        edit->clear();
        edit->setFocus();
        edit->home(false);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

    // The command line's generate of the same map and fields.
    static QStringList CliGenerateArguments(const QString& output) {
        QStringList args{"generate", QUARN_SAMPLES_DIR "/island.bmp", output};
        for (const auto& f : kFields)
            args << f.option << f.text;
        for (int e = 0; e < 16; ++e)
            args << "--height" << QString("%1=%2").arg(e).arg(kHeights[e]);
        return args;
    }
    static int RunCli(const QStringList& args) { return QProcess::execute(QUARN_CLI, args); }

    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

    testing::TempFolder folder;
    testing::ScriptedUi ui;
};

TEST_F(EndToEnd, MapToPictureThroughTheWindowsAgreesWithTheCommandLine) {
    RunCommand(frmMainMDI->OpenBMPfile1, QUARN_SAMPLES_DIR "/island.bmp");
    TypeIntoPanel();
    PressGenerate(Path("window.3df"));
    EXPECT_EQ(frmMainMDI->StatusText->text(), "window.3df: 4800 vertices, 9322 triangles");
    PressGenerate(Path("window.r16"));
    EXPECT_EQ(frmMainMDI->StatusText->text(),
              "window.r16: 80 x 60 samples, heights 0..470 map units at 0 and 65535");
    RunCommand(frmMainMDI->Open3Dfile1, Path("window.3df"));
    RunCommand(frmMainMDI->Save3D1, Path("window.bmp"));
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    ASSERT_EQ(ui.boxes.size(), 1u) << "a box besides the start notice";

    std::set<std::int32_t> codes;
    for (const SceneTriangle& t : TriangleList)
        codes.insert(t.colour);
    EXPECT_EQ(codes, (std::set<std::int32_t>{24, 120, 216, 32767}));
    ASSERT_EQ(RunCli(CliGenerateArguments(Path("cli.3df"))), 0);
    EXPECT_TRUE(Bytes(Path("window.3df")) == Bytes(Path("cli.3df")))
        << "the window's terrain file differs from the command line's";

    const QImage saved = Rgb(QImage(Path("window.bmp"), "BMP"));
    ASSERT_EQ(saved.size(), QSize(550, 418));
    EXPECT_TRUE(saved == Rgb(frmRender->Image1->grab().toImage())) << "on screen";
    ASSERT_EQ(RunCli({"render", Path("window.3df"), Path("cli.bmp")}), 0);
    EXPECT_TRUE(saved == Rgb(QImage(Path("cli.bmp"), "BMP"))) << "command line";
}

// The Options menu's Smooth terrain item, after the command menu and unchecked at start,
// reaches the panel's button: the file equals the command line's smooth one. While it works,
// the status bar no longer shows the result of the command before; the next command clears it.
TEST_F(EndToEnd, SmoothTerrainFromTheOptionsMenuAgreesWithTheCommandLine) {
    const QList<QAction*> menus = frmMainMDI->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[1]->text(), "&Options");
    EXPECT_FALSE(frmMainMDI->SmoothTerrain1->isChecked());
    RunCommand(frmMainMDI->OpenBMPfile1, QUARN_SAMPLES_DIR "/island.bmp");
    TypeIntoPanel();
    frmMainMDI->SmoothTerrain1->trigger();
    PressGenerate(Path("earlier.3df"));
    ASSERT_EQ(frmMainMDI->StatusText->text(), "earlier.3df: 4800 vertices, 9322 triangles");
    std::vector<QString> statusWhileBusy;
    SetBusyCursorHooks([&] { statusWhileBusy.push_back(frmMainMDI->StatusText->text()); }, [] {});
    PressGenerate(Path("window.3df"));
    SetBusyCursorHooks(nullptr, nullptr);
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_EQ(statusWhileBusy, std::vector<QString>(statusWhileBusy.size(), QString()));
    EXPECT_FALSE(statusWhileBusy.empty());
    ui.dialogAnswers.push_back(std::nullopt);
    frmMainMDI->OpenBMPfile1->trigger();
    EXPECT_EQ(frmMainMDI->StatusText->text(), "");
    ASSERT_EQ(RunCli(CliGenerateArguments(Path("smooth.3df")) << "--surface"
                                                              << "smooth"),
              0);
    ASSERT_EQ(RunCli(CliGenerateArguments(Path("terraced.3df"))), 0);
    EXPECT_TRUE(Bytes(Path("window.3df")) == Bytes(Path("smooth.3df")));
    EXPECT_FALSE(Bytes(Path("window.3df")) == Bytes(Path("terraced.3df")));
}

// "Mesh detail..." sets the largest error of the meshes the window generates, as --max-error
// does on the command line; "Full grid" goes back to two triangles per grid square, and
// Cancel keeps the choice.
TEST_F(EndToEnd, MeshDetailFromTheOptionsMenuAgreesWithTheCommandLine) {
    RunCommand(frmMainMDI->OpenBMPfile1, QUARN_SAMPLES_DIR "/island.bmp");
    TypeIntoPanel();
    const auto choose = [](std::function<void(TfrmMeshDetail&)> answer) {
        QTimer::singleShot(0, [answer] {
            answer(*dynamic_cast<TfrmMeshDetail*>(QApplication::activeModalWidget()));
        });
        frmMainMDI->MeshDetail1->trigger();
    };
    choose([](TfrmMeshDetail& d) {
        EXPECT_TRUE(d.FullGrid->isChecked());
        d.MaxError->setChecked(true);
        d.MaxErrorField->setText("0");
        d.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    choose([](TfrmMeshDetail& d) { d.Buttons->button(QDialogButtonBox::Cancel)->click(); });
    PressGenerate(Path("window.3df"));
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_EQ(frmMainMDI->StatusText->text(),
              "window.3df: 768 vertices, 1530 triangles, largest vertical error 0 map units");
    ASSERT_EQ(RunCli(CliGenerateArguments(Path("exact.3df")) << "--max-error"
                                                             << "0"),
              0);
    EXPECT_TRUE(Bytes(Path("window.3df")) == Bytes(Path("exact.3df")));
    choose([](TfrmMeshDetail& d) {
        EXPECT_EQ(d.MaxErrorField->text(), "0");
        d.FullGrid->setChecked(true);
        d.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    PressGenerate(Path("full.3df"));
    EXPECT_EQ(frmMainMDI->StatusText->text(), "full.3df: 4800 vertices, 9322 triangles");
}

// A map placed by a world file fills Mapwidth and Mapheight with its extent; its GeoTIFF,
// sampled once per pixel, opens in the viewer as the same picture as its 3DF, coloured by the
// panel's levels.
TEST_F(EndToEnd, APlacedMapGivesItsExtentAndItsGeoTiffDrawsAsIts3df) {
    const std::string map = folder.file("sheet.bmp");
    ASSERT_TRUE(QFile::copy(QUARN_SAMPLES_DIR "/island.bmp", QString::fromStdString(map)));
    folder.write("sheet.bpw", "25\n0\n0\n-25\n500012.5\n5199987.5\n");
    RunCommand(frmMainMDI->OpenBMPfile1, QString::fromStdString(map));
    EXPECT_EQ(frmGenCPanel->MaskEdit20->text(), "8000");
    EXPECT_EQ(frmGenCPanel->MaskEdit21->text(), "6000");
    for (int e = 0; e < 16; ++e)
        Type(FindEditByTag(GenCPanelForm(), e), kHeights[e]);
    for (const auto& f : kFields)
        if (f.field != &TfrmGenCPanel::MaskEdit20 && f.field != &TfrmGenCPanel::MaskEdit21)
            Type(frmGenCPanel->*f.field, f.field == &TfrmGenCPanel::MaskEdit22 ? "25" : f.text);
    PressGenerate(Path("window.tif"));
    EXPECT_TRUE(ui.dialogs.back().filter.ends_with(
        "|GeoTIFF elevation (*.tif)|*.tif|3MF print (*.3mf)|*.3mf"));
    EXPECT_EQ(frmMainMDI->StatusText->text(),
              "window.tif: 320 x 240 samples, heights 0..470 map units");
    PressGenerate(Path("window.3df"));
    // Each after a drawing of the other, as the clearing keeps the pen of the drawing before.
    RunCommand(frmMainMDI->Open3Dfile1, Path("window.3df"));
    RunCommand(frmMainMDI->Open3Dfile1, Path("window.tif"));
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_EQ(TriangleList.size(), 152482u);
    const QImage fromTheTif = Rgb(frmRender->Image1->grab().toImage());
    RunCommand(frmMainMDI->Open3Dfile1, Path("window.3df"));
    EXPECT_TRUE(Rgb(frmRender->Image1->grab().toImage()) == fromTheTif);
}

// Options > Print colours, unchecked at start, gives the 3MF the map's band colours; the status
// bar lists where a terraced print changes colour.
TEST_F(EndToEnd, PrintColoursFromTheOptionsMenuReachThe3mf) {
    EXPECT_FALSE(frmMainMDI->PrintColours1->isChecked());
    EXPECT_EQ(frmMainMDI->PrintColours1->text(), "&Print colours");
    RunCommand(frmMainMDI->OpenBMPfile1, QUARN_SAMPLES_DIR "/island.bmp");
    TypeIntoPanel();
    frmMainMDI->PrintColours1->trigger();
    PressGenerate(Path("window.3mf"));
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_TRUE(frmMainMDI->StatusText->text().startsWith(
        "window.3mf: 9322 triangles, colour changes: band 4 at 3.000 mm, band 5 at 3.189 mm"))
        << frmMainMDI->StatusText->text().toStdString();
    QFile model(Path("window.3mf"));
    ASSERT_TRUE(model.open(QIODevice::ReadOnly));
    EXPECT_TRUE(model.read(2) == "PK") << "a zip package";
}

// The view options, unchecked at start, render at once in the open viewer with "Autorender"
// checked; the picture is the command line's with the same options (but for the outline of
// the clearing rectangle, which keeps the pen of the drawing before). They are the main
// window's: a viewer opened later draws with them from its first picture.
TEST_F(EndToEnd, ViewOptionsRenderAtOnceAsOnTheCommandLine) {
    ASSERT_EQ(RunCli(CliGenerateArguments(Path("cli.3df"))), 0);
    RunCommand(frmMainMDI->Open3Dfile1, Path("cli.3df"));
    ASSERT_TRUE(frmRender && frmRender->CheckBox2->isChecked());
    const PixelBuffer plain = frmRender->picture();
    for (QAction* option :
         {frmMainMDI->HiddenSurfaces1, frmMainMDI->KeepProportions1, frmMainMDI->Perspective1}) {
        EXPECT_FALSE(option->isChecked());
        option->trigger();
    }
    EXPECT_TRUE(frmRender->renderPending());
    QCoreApplication::processEvents();
    ASSERT_TRUE(ui.reports.empty()) << ui.reports[0];
    EXPECT_FALSE(frmRender->picture().pixels() == plain.pixels());
    RunCommand(frmMainMDI->Save3D1, Path("window.bmp"));
    ASSERT_EQ(RunCli({"render", Path("cli.3df"), Path("cli.bmp"), "--hidden-surfaces",
                      "--keep-proportions", "--perspective"}),
              0);
    EXPECT_TRUE(Rgb(QImage(Path("window.bmp"), "BMP").copy(2, 2, 546, 414)) ==
                Rgb(QImage(Path("cli.bmp"), "BMP").copy(2, 2, 546, 414)));
    frmRender->close();
    QCoreApplication::processEvents();
    RunCommand(frmMainMDI->Open3Dfile1, Path("cli.3df"));
    ASSERT_TRUE(frmRender);
    EXPECT_FALSE(frmRender->picture().pixels() == plain.pixels()) << "a fresh viewer";
}

}  // namespace
}  // namespace quarn

// The application shell run for real, offscreen, with boxes and dialogs answered by script.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <filesystem>
#include <tuple>

#include "close_windows.h"
#include "forms.h"
#include "map_state.h"
#include "quarn_doc_f.h"
#include "quarn_main_f.h"
#include "scripted_ui.h"
#include "startup.h"
#include "temp_folder.h"
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

}  // namespace
}  // namespace quarn

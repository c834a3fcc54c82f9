// The application shell run for real, offscreen, with boxes and dialogs answered by script.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <memory>

#include "forms.h"
#include "map_state.h"
#include "quarn_doc_f.h"
#include "quarn_main_f.h"
#include "scene.h"
#include "scripted_ui.h"
#include "startup.h"

namespace quarn {
namespace {

class AppShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        TerminateRequested = false;
    }
    void TearDown() override {
        QApplication::closeAllWindows();
        // Deleting one window may take others with it.
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            windows.append(w);
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        QApplication::processEvents();
        QDir::setCurrent(m_previousFolder);
    }
    void writeDocument(const QByteArray& text) {
        QFile file(m_folder.filePath("document.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Two triangles over four corners at different heights.
    void writeTinyScene(const QString& name) {
        QFile file(m_folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray bytes = QByteArray::fromHex(
            "033344040000000000803f000080bf00000000000080bf0000803fcdcccc3d000080bf"
            "000080bfcdcc4c3e0000803f0000803f9a99993e02000000000000000100000002000000"
            "d800000001000000030000000200000078000000");
        file.write(bytes);
    }

    testing::ScriptedUi m_ui;
    QTemporaryDir m_folder;
    QString m_previousFolder;
};

TEST_F(AppShellTest, StartNoticeIsAWarningWithOkAndCancel) {
    ASSERT_TRUE(StartUp());
    ASSERT_FALSE(m_ui.boxes.empty());
    const MessageBoxRequest& notice = m_ui.boxes.front();
    EXPECT_EQ(notice.type, MsgDlgType::Warning);
    EXPECT_EQ(notice.buttons, static_cast<MsgDlgButtons>(mbOK | mbCancel));
    EXPECT_EQ(notice.helpContext, 0);
    EXPECT_EQ(notice.text,
              "This program functions properly only with 24-bit color resolution (16.7 million "
              "colors).\rIf this is not your case, please make the proper adjustments.");
    EXPECT_EQ(MessageBoxCaption(notice.type), "Warning");
}

TEST_F(AppShellTest, CancelAtTheNoticeEndsBeforeAnyWindowShows) {
    m_ui.boxAnswers.push_back(mrCancel);
    EXPECT_FALSE(StartUp());
    EXPECT_TRUE(TerminateRequested);
    EXPECT_FALSE(frmMainMDI->isVisible());
}

TEST_F(AppShellTest, OkShowsTheMaximisedMainWindowWithPanel) {
    m_ui.boxAnswers.push_back(mrOk);
    ASSERT_TRUE(StartUp());
    EXPECT_TRUE(frmMainMDI->isVisible());
    EXPECT_TRUE(frmMainMDI->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(frmMainMDI->windowTitle(), "Quarn 3D");
    EXPECT_FALSE(frmMainMDI->windowIcon().isNull());
    ASSERT_NE(GenCPanelForm(), nullptr);
    EXPECT_TRUE(frmMainMDI->MdiArea->isAncestorOf(GenCPanelForm()));
}

TEST_F(AppShellTest, MenuHoldsEveryCommandInOrder) {
    ASSERT_TRUE(StartUp());
    EXPECT_EQ(frmMainMDI->Menu1->title(), "&Menu");
    QStringList items;
    for (const QAction* action : frmMainMDI->Menu1->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items, (QStringList{"&Open BMP image file...", "&Generate 3D file...", "-",
                                  "Open 3&DF file...", "&Save 3D picture as...", "-",
                                  "Do&cumentation", "-", "E&xit"}));
    for (const QAction* action : frmMainMDI->Menu1->actions())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
}

TEST_F(AppShellTest, DocumentationReloadsTheFileIntoTheSameWindow) {
    ASSERT_TRUE(StartUp());
    writeDocument("First edition");
    frmMainMDI->Documentation1->trigger();
    ASSERT_TRUE(DocWindowOpen);
    TfrmDoc* first = frmDoc;
    EXPECT_EQ(first->windowTitle(), "Documentation");
    EXPECT_EQ(first->Memo1->toPlainText(), "First edition");

    first->Memo1->setPlainText("edited by the user");
    writeDocument("Second edition");
    frmMainMDI->Documentation1->trigger();
    EXPECT_EQ(frmDoc, first);
    EXPECT_EQ(first->Memo1->toPlainText(), "Second edition");
    EXPECT_TRUE(m_ui.reports.empty());
}

TEST_F(AppShellTest, MissingDocumentIsReportedWithAnEmptyMemo) {
    ASSERT_TRUE(StartUp());
    frmMainMDI->Documentation1->trigger();
    ASSERT_TRUE(DocWindowOpen);
    EXPECT_TRUE(frmDoc->Memo1->toPlainText().isEmpty());
    ASSERT_EQ(m_ui.reports.size(), 1u);
    EXPECT_EQ(m_ui.reports[0], "Cannot open file \"document.txt\". File not found.");
}

TEST_F(AppShellTest, ClosingTheDocumentationWindowClearsItsFlag) {
    ASSERT_TRUE(StartUp());
    writeDocument("text");
    frmMainMDI->Documentation1->trigger();
    frmDoc->Button1->click();
    QApplication::processEvents();
    EXPECT_FALSE(DocWindowOpen);
    frmMainMDI->Documentation1->trigger();
    EXPECT_TRUE(DocWindowOpen);
    EXPECT_EQ(frmDoc->Memo1->toPlainText(), "text");
}

TEST_F(AppShellTest, ExitEndsTheProgramWithWindowsOpen) {
    ASSERT_TRUE(StartUp());
    writeDocument("text");
    frmMainMDI->Documentation1->trigger();
    m_ui.dialogAnswers.push_back(QUARN_SAMPLES_DIR "/island.bmp");
    frmMainMDI->OpenBMPfile1->trigger();
    m_ui.dialogAnswers.push_back(m_folder.filePath("tiny.3df").toStdString());
    writeTinyScene("tiny.3df");
    frmMainMDI->Open3Dfile1->trigger();
    ASSERT_TRUE(DocWindowOpen && MapWindowOpen && RenderWindowOpen);
    frmMainMDI->Exit1->trigger();
    EXPECT_TRUE(TerminateRequested);
    EXPECT_FALSE(frmMainMDI->isVisible());
    EXPECT_EQ(m_ui.boxes.size(), 1u);  // only the start notice: no question on exit
    EXPECT_TRUE(m_ui.reports.empty());
}

}  // namespace
}  // namespace quarn

// The Qt presenters on real boxes, answered by the keys and the close command a user gives.
#include "qt_presenters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"
#include "platform_error.h"
#include "temp_folder.h"

namespace quarn {
namespace {

enum class Answer { Enter, Escape, CloseCommand };

// A box's caption and text.
using Shown = std::pair<QString, QString>;

class QtPresenters : public ::testing::Test {
  protected:
    void SetUp() override { InstallQtPresenters(); }
    void TearDown() override {
        SetMessageBoxPresenter(nullptr);
        SetFileDialogPresenter(nullptr);
        SetErrorReporter(nullptr);
    }

    // Once the next modal box shows, records its caption and text and answers it; a box that
    // the answer leaves open is shut a moment later and counted.
    void AnswerNextBox(Answer answer) {
        QTimer::singleShot(0, [this, answer] {
            QPointer<QMessageBox> box =
                qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            shown = {box->windowTitle(), box->text()};
            QWidget* keys = box->focusWidget() ? box->focusWidget() : box.data();
            if (answer == Answer::Enter)
                QTest::keyClick(keys, Qt::Key_Return);
            else if (answer == Answer::Escape)
                QTest::keyClick(keys, Qt::Key_Escape);
            else
                box->close();
            QTimer::singleShot(500, [this, box] {
                if (box && box->isVisible()) {
                    ++leftOpen;
                    box->done(0);
                }
            });
        });
    }

    Shown shown;
    int leftOpen = 0;
};

TEST_F(QtPresenters, BoxesAnswerEnterEscapeAndTheCloseCommand) {
    const struct {
        MsgDlgButtons buttons;
        Answer answer;
        int result;
    } cases[] = {
        {mbOK | mbCancel, Answer::Enter, mrOk},
        {mbOK | mbCancel, Answer::Escape, mrCancel},
        {mbOK | mbCancel, Answer::CloseCommand, mrCancel},
        {mbYes | mbNo, Answer::Enter, mrYes},
        {mbYes | mbNo, Answer::Escape, mrNo},
        {mbYes | mbNo, Answer::CloseCommand, mrCancel},
        {mbRetry | mbCancel, Answer::Enter, mrRetry},
        {mbOK, Answer::Escape, mrOk},
    };
    for (const auto& c : cases) {
        AnswerNextBox(c.answer);
        EXPECT_EQ(ShowMessageBox("First line\rsecond line", MsgDlgType::Warning, c.buttons, 0),
                  c.result)
            << "buttons " << c.buttons << ", answer " << static_cast<int>(c.answer);
        EXPECT_EQ(shown, Shown("Warning", "First line\nsecond line"));
    }
    EXPECT_EQ(leftOpen, 0);
}

// Qt wraps a line wider than half the screen (400 pixels offscreen), which split "16.7
// million", also again at every later layout request; it centred the box before sizing it;
// and a box as narrow as a short text left the window manager no room for the title.
TEST_F(QtPresenters, ABoxStandsCentredWithItsLinesAndTitleWhole) {
    const struct {
        const char* text;
        MsgDlgType type;
        MsgDlgButtons buttons;
    } cases[] = {
        {"This program functions properly only with 24-bit color resolution (16.7 million "
         "colors).\rIf this is not your case, please make the proper adjustments.",
         MsgDlgType::Warning, mbOK | mbCancel},
        {"No!", MsgDlgType::Error, mbAbort},
        {"Overwrite?", MsgDlgType::Confirmation, mbYes | mbNo},
    };
    for (const auto& c : cases) {
        QRect frame;
        int labelWidth = 0;
        int widestLine = 0;
        int titleWidth = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            QTest::qWait(50);  // the layout requests that Qt answers by sizing the box again
            frame = box->frameGeometry();
            const QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            labelWidth = label->width();
            for (const QString& line : label->text().split('\n'))
                widestLine = std::max(widestLine, label->fontMetrics().horizontalAdvance(line));
            QFont bold = box->font();
            bold.setBold(true);
            titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            QTest::keyClick(box, Qt::Key_Escape);
        });
        ShowMessageBox(c.text, c.type, c.buttons, 0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_GE(labelWidth, widestLine) << c.text;
        EXPECT_GE(frame.width(), titleWidth + 100) << c.text << ": room for the title bar";
        EXPECT_LE((frame.center() - screen.center()).manhattanLength(), 1) << frame.x();
    }
}

// The descriptions read as given, without the patterns Qt would append; a name typed without
// extension gets the default extension as given, as on the command line.
TEST_F(QtPresenters, DialogsShowTheDescriptionsAndAddTheDefaultExtension) {
    const testing::TempFolder folder;
    const QString typed = QString::fromStdString((folder.path() / "hills").string());
    const auto answer = [&](QStringList* filters, bool accept) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; i < types->count(); ++i)
                *filters << types->itemText(i);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(typed);
            QTest::keyClick(name, accept ? Qt::Key_Return : Qt::Key_Escape);
        });
    };
    QStringList saveFilters, openFilters;
    answer(&saveFilters, true);
    const auto saved = RunSaveDialog(
        {"Generate 3D file", "3DF (internal) format (*.3df)|*.3df|glTF binary (*.glb)|*.glb", "3DF",
         "", true});
    EXPECT_EQ(saveFilters, QStringList({"3DF (internal) format (*.3df)", "glTF binary (*.glb)"}));
    EXPECT_EQ(saved, (folder.path() / "hills.3DF").string());
    answer(&openFilters, false);
    EXPECT_FALSE(RunOpenDialog({"Open BMP image file", "BMP files|*.bmp", "BMP", "", false}));
    EXPECT_EQ(openFilters, QStringList({"BMP files"}));
}

// The first events after a dialog, the window manager's focus among them, find it destroyed.
TEST_F(QtPresenters, ADialogIsGoneBeforeTheCommandHandlesAnyEvent) {
    std::vector<int> dialogsLeft;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        QObject::connect(dialog, &QDialog::finished, [&] {
            QTimer::singleShot(0, [&] {
                int count = 0;
                for (const QWidget* w : QApplication::topLevelWidgets())
                    count += qobject_cast<const QFileDialog*>(w) ? 1 : 0;
                dialogsLeft.push_back(count);
            });
        });
        dialog->reject();
    });
    EXPECT_FALSE(RunOpenDialog({"Open 3DF file", "3DF files|*.3df", "3DF", "", false}));
    EXPECT_EQ(dialogsLeft, std::vector<int>{0});
}

TEST_F(QtPresenters, TopLevelReportShowsThePlatformTextUntilEnter) {
    AnswerNextBox(Answer::Enter);
    RunGuarded([] { throw PlatformError("Disk full"); });
    EXPECT_EQ(shown, Shown("Quarn 3D", "Disk full."));
    EXPECT_EQ(leftOpen, 0);
}

}  // namespace
}  // namespace quarn

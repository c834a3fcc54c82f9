// The Qt presenters on real boxes, answered by the keys and the close command a user gives.
#include "qt_presenters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"
#include "platform_error.h"

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

TEST_F(QtPresenters, TopLevelReportShowsThePlatformTextUntilEnter) {
    AnswerNextBox(Answer::Enter);
    RunGuarded([] { throw PlatformError("Disk full"); });
    EXPECT_EQ(shown, Shown("Quarn 3D", "Disk full."));
    EXPECT_EQ(leftOpen, 0);
}

}  // namespace
}  // namespace quarn

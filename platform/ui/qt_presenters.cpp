// The Qt presenters behind the message-box, file-dialog and error-report seams.
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <exception>
#include <new>

#include "busy_cursor.h"
#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"
#include "qt_presenters.h"
#include "system_box.h"

namespace quarn {

namespace {

struct ButtonInfo {
    MsgDlgButton flag;
    const char* caption;
    int result;
};

constexpr ButtonInfo kButtons[] = {
    {mbYes, "&Yes", mrYes},          {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},  {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll},       {mbHelp, "&Help", mrNone},
};

QMessageBox::Icon iconOf(MsgDlgType type) {
    switch (type) {
        case MsgDlgType::Warning:
            return QMessageBox::Warning;
        case MsgDlgType::Error:
            return QMessageBox::Critical;
        case MsgDlgType::Information:
            return QMessageBox::Information;
        case MsgDlgType::Confirmation:
            return QMessageBox::Question;
        case MsgDlgType::Custom:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

class QtMessageBoxPresenter : public MessageBoxPresenter {
  public:
    int show(const MessageBoxRequest& request) override {
        SystemBox box(iconOf(request.type), QString::fromStdString(MessageBoxCaption(request.type)),
                      QString::fromStdString(request.text).replace('\r', '\n'),
                      QMessageBox::NoButton, QApplication::activeWindow());
        std::vector<std::pair<QPushButton*, int>> pressed;
        for (const ButtonInfo& info : kButtons) {
            if (!(request.buttons & info.flag))
                continue;
            auto* button = box.addButton(QString::fromUtf8(info.caption), QMessageBox::ActionRole);
            pressed.emplace_back(button, info.result);
        }
        const auto find = [&](int result) -> QPushButton* {
            for (auto& [button, r] : pressed)
                if (r == result)
                    return button;
            return nullptr;
        };
        QPushButton* enter = find(mrOk) ? find(mrOk) : find(mrYes) ? find(mrYes) : find(mrRetry);
        if (enter)
            box.setDefaultButton(enter);
        QPushButton* escape = find(mrCancel) ? find(mrCancel)
                              : find(mrNo)   ? find(mrNo)
                                             : find(mrOk);
        if (escape)
            box.setEscapeButton(escape);
        box.exec();
        for (auto& [button, result] : pressed)
            if (box.clickedButton() == button)
                return result;
        return mrCancel;  // closed by the window's close command
    }
};

QString qtFilter(const std::string& filter) {
    // "Desc|*.ext|Desc2|*.e2" becomes "Desc (*.ext);;Desc2 (*.e2)": Qt reads the patterns from
    // the brackets, and the dialog hides them again, showing each description as it stands.
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return result.join(";;");
}

// The command goes on at once, maybe with a long write: the windows that the dialog covered
// are painted now, not when the command ends.
void RepaintBehind(QWidget* window) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window)
        window->repaint();
}

class QtFileDialogPresenter : public FileDialogPresenter {
  public:
    std::optional<std::string> open(const FileDialogRequest& request) override {
        return run(request, QFileDialog::AcceptOpen);
    }
    std::optional<std::string> save(const FileDialogRequest& request) override {
        return run(request, QFileDialog::AcceptSave);
    }

  private:
    static std::optional<std::string> run(const FileDialogRequest& request,
                                          QFileDialog::AcceptMode mode) {
        QWidget* owner = QApplication::activeWindow();
        // The dialog is gone before any event is handled: while it merely hid, the toolkit
        // passed the focus that the window manager gave back on to it, and now and then the
        // application was left with no focus at all, the keyboard dead.
        std::optional<std::string> chosen = ask(request, mode, owner);
        RepaintBehind(owner);
        return chosen;
    }

    static std::optional<std::string> ask(const FileDialogRequest& request,
                                          QFileDialog::AcceptMode mode, QWidget* owner) {
        QFileDialog dialog(owner, QString::fromStdString(request.title));
        dialog.setAcceptMode(mode);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilter(qtFilter(request.filter));
        // A new name takes the extension in capitals, as the system gives its defaults and as the
        // command line adds them; an existing file is looked up with its filter's lower case.
        const auto suffix = [mode](const QString& extension) {
            return mode == QFileDialog::AcceptSave ? extension.toUpper() : extension.toLower();
        };
        dialog.setDefaultSuffix(suffix(QString::fromStdString(request.defaultExt)));
        // A name typed without extension takes the one of the filter the user picked.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffix](const QString& filter) {
                             const qsizetype dot = filter.lastIndexOf("*.");
                             if (dot >= 0)
                                 dialog.setDefaultSuffix(suffix(filter.mid(dot + 2).chopped(1)));
                         });
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        if (!request.fileName.empty())
            dialog.selectFile(QString::fromStdString(request.fileName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first().toStdString();
    }
};

class QtErrorReporter : public ErrorReporter {
  public:
    void report(const std::string& text) override {
        SystemBox box(QMessageBox::Critical, QStringLiteral("Quarn 3D"),
                      QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
};

}  // namespace

void InstallQtPresenters() {
    static QtMessageBoxPresenter boxes;
    static QtFileDialogPresenter dialogs;
    static QtErrorReporter reporter;
    SetMessageBoxPresenter(&boxes);
    SetFileDialogPresenter(&dialogs);
    SetErrorReporter(&reporter);
    SetBusyCursorHooks([] { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); },
                       [] { QApplication::restoreOverrideCursor(); });
}

}  // namespace quarn

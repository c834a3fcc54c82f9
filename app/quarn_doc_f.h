// The documentation window: "document.txt" from the current folder in a light-yellow memo.
//
// One instance at most (DocWindowOpen says whether it exists); it reloads the file each time
// the documentation command runs and frees itself when closed. Nothing is written back. A
// line of more than 988 characters is shown as several, so any text file opens at once.
// Started from a desktop menu the current folder is the home folder, which holds no
// "document.txt": there an installed program shows the user guide of its installation.
#pragma once

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include "single_window.h"

namespace quarn {

class TfrmDoc : public SingleWindow<TfrmDoc> {
  public:
    TfrmDoc();

    /// Replaces the memo's lines by fileName's content; raises the cannot-open error.
    void loadFile(const QString& fileName);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;

  private:
    void Button1Click();
};

/// The documentation window while it exists.
extern TfrmDoc* frmDoc;
extern bool DocWindowOpen;

/// The documentation command: create or reuse the window, bring it up, reload the file, or
/// where the current folder has none, the guide of the running program's installation if any.
void ShowDocumentation();
/// The same with the program's folder given: the installation is looked for from there.
void ShowDocumentation(const QString& executableDir);

}  // namespace quarn

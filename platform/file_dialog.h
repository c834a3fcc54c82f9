// Open and save file dialogs behind a replaceable presenter.
//
// A request carries what the system sets before running a dialog: title, filter (pairs of
// description and pattern separated by "|"), default extension (added to a name typed
// without one), file name, and whether saving over an existing file asks first.
#pragma once

#include <optional>
#include <string>

namespace quarn {

struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExt;
    std::string fileName;
    bool overwritePrompt = false;
};

class FileDialogPresenter {
  public:
    virtual ~FileDialogPresenter() = default;
    /// The chosen file name, or nothing when the user cancels.
    virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> save(const FileDialogRequest& request) = 0;
};

std::optional<std::string> RunOpenDialog(const FileDialogRequest& request);
std::optional<std::string> RunSaveDialog(const FileDialogRequest& request);

/// Replaces the presenter (nullptr restores the silent default); returns the previous one.
FileDialogPresenter* SetFileDialogPresenter(FileDialogPresenter* presenter);

/// name with "." + defaultExt appended when its file part has no extension.
std::string WithDefaultExtension(const std::string& name, const std::string& defaultExt);

}  // namespace quarn

// Modal message boxes, the one way every window talks to the user about a result.
//
// ShowMessageBox takes the text, the box type, the set of buttons and a help context and
// returns the result of the button pressed (Yes 6, No 7, OK 1, Cancel 2, Abort 3, Retry 4,
// Ignore 5, All 8). Closing the box by its close command answers Cancel (2). The presenter
// behind it is replaceable, so tests answer boxes from a script.
#pragma once

#include <string>

namespace quarn {

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };

enum MsgDlgButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbHelp = 1u << 8,
};
using MsgDlgButtons = unsigned;

enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};

struct MessageBoxRequest {
    std::string text;
    MsgDlgType type = MsgDlgType::Custom;
    MsgDlgButtons buttons = mbOK;
    int helpContext = 0;
};

class MessageBoxPresenter {
  public:
    virtual ~MessageBoxPresenter() = default;
    virtual int show(const MessageBoxRequest& request) = 0;
};

/// Shows a modal box through the current presenter and returns the pressed button's result.
int ShowMessageBox(const std::string& text, MsgDlgType type, MsgDlgButtons buttons,
                   int helpContext);

/// The system's error box: error type, the single button "&Abort", help context 0.
void ShowErrorBox(const std::string& text);

/// The result of the first button a box of this set shows (Cancel for an empty set).
int FirstButtonResult(MsgDlgButtons buttons);

/// Replaces the presenter (nullptr restores the silent default); returns the previous one.
MessageBoxPresenter* SetMessageBoxPresenter(MessageBoxPresenter* presenter);

/// The caption a box of this type shows ("Warning", "Error", ...; the application title for
/// a custom box).
std::string MessageBoxCaption(MsgDlgType type);

}  // namespace quarn

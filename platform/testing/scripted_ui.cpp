#include "scripted_ui.h"

namespace quarn::testing {

ScriptedUi::ScriptedUi()
    : m_previousBoxes(SetMessageBoxPresenter(this)),
      m_previousDialogs(SetFileDialogPresenter(this)),
      m_previousReporter(SetErrorReporter(this)) {}

ScriptedUi::~ScriptedUi() {
    SetMessageBoxPresenter(m_previousBoxes);
    SetFileDialogPresenter(m_previousDialogs);
    SetErrorReporter(m_previousReporter);
}

int ScriptedUi::show(const MessageBoxRequest& request) {
    boxes.push_back(request);
    if (!boxAnswers.empty()) {
        const int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    return FirstButtonResult(request.buttons);
}

std::optional<std::string> ScriptedUi::answerDialog(const FileDialogRequest& request,
                                                    const char* kind) {
    dialogs.push_back(request);
    dialogKinds.emplace_back(kind);
    if (dialogAnswers.empty())
        return std::nullopt;
    auto answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    if (answer)
        return WithDefaultExtension(*answer, request.defaultExt);
    return answer;
}

std::optional<std::string> ScriptedUi::open(const FileDialogRequest& request) {
    return answerDialog(request, "open");
}

std::optional<std::string> ScriptedUi::save(const FileDialogRequest& request) {
    return answerDialog(request, "save");
}

void ScriptedUi::report(const std::string& text) {
    reports.push_back(text);
}

std::vector<std::string> ScriptedUi::errorTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes)
        if (box.type == MsgDlgType::Error)
            texts.push_back(box.text);
    return texts;
}

}  // namespace quarn::testing

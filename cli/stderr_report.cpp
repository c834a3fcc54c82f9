#include "stderr_report.h"

#include <exception>
#include <iostream>

namespace quarn::cli {

StderrBoxes::StderrBoxes() : m_previous(SetMessageBoxPresenter(this)) {}

StderrBoxes::~StderrBoxes() {
    SetMessageBoxPresenter(m_previous);
}

int StderrBoxes::show(const MessageBoxRequest& request) {
    std::cerr << request.text << '\n';
    shown = true;
    return FirstButtonResult(request.buttons);
}

int RunReportingErrors(const std::function<int()>& command) {
    try {
        return command();
    } catch (const std::exception& e) {
        std::cerr << e.what() << ".\n";
        return 1;
    }
}

}  // namespace quarn::cli

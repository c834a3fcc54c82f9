#include "console.h"

#include <exception>
#include <iostream>

#include "error_report.h"

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

bool HelpAsked(const std::vector<std::string>& args, const char* usage) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return true;
        }
    }
    return false;
}

int WrongUsage(const char* usage) {
    std::cerr << usage;
    return 2;
}

int RunReportingErrors(const std::function<int()>& command) {
    try {
        return command();
    } catch (const std::exception& e) {
        std::cerr << ReportText(e) << '\n';
        return 1;
    }
}

}  // namespace quarn::cli

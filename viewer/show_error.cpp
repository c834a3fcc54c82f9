#include "show_error.h"

#include "message_box.h"

namespace quarn {

void Show_Error(const std::string& text) {
    ShowErrorBox(text);
}

}  // namespace quarn

// For window tests: a spin button's arrow found as the user sees it, by the arrow it shows.
#pragma once

#include <QToolButton>

namespace quarn::testing {

/// The arrow button of spin that shows arrow, or nullptr.
inline QToolButton* SpinArrow(const QWidget& spin, Qt::ArrowType arrow) {
    for (QToolButton* button : spin.findChildren<QToolButton*>())
        if (button->arrowType() == arrow)
            return button;
    return nullptr;
}

}  // namespace quarn::testing

// For window tests: whether a text shows whole and where Tab goes, seen as the user sees them.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <vector>

namespace quarn::testing {

/// Whether edit shows all of text when it is typed in: with the cursor after the last
/// character, the field has not scrolled its start out of sight.
inline bool ShowsWhole(QLineEdit& edit, const QString& text) {
    const auto cursorLeft = [&] {
        return edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    };
    edit.clear();
    edit.grab();  // painting sets the scroll
    const int home = cursorLeft();
    edit.setText(text);
    edit.end(false);
    edit.grab();
    edit.home(false);  // measured with the scroll of the last painting
    const bool whole = cursorLeft() == home;
    edit.clear();
    return whole;
}

/// Whether button's caption fits beside its check mark or radio mark.
inline bool CaptionWhole(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const auto contents = qobject_cast<const QRadioButton*>(&button)
                              ? QStyle::SE_RadioButtonContents
                              : QStyle::SE_CheckBoxContents;
    const QRect room = button.style()->subElementRect(contents, &option, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) <= room.width();
}

/// The controls inside container that Tab visits, in order, from first.
inline std::vector<QWidget*> TabChain(const QWidget* container, QWidget* first) {
    std::vector<QWidget*> chain;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && container->isAncestorOf(w))
            chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != first);
    return chain;
}

}  // namespace quarn::testing

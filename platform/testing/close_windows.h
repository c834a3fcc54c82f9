// For window tests: ends a case with no window left over for the next one.
#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace quarn::testing {

/// Closes and destroys every top-level window.
inline void DestroyAllWindows() {
    QApplication::closeAllWindows();
    // Deleting one window may take others with it.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        delete w.data();
}

}  // namespace quarn::testing

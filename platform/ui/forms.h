// Where the application's windows meet: the main window, its MDI area and the generator
// panel, registered once at start-up; and the Tag convention by which one window finds
// another's controls (a swatch label or height field of palette index e carries Tag e).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <vector>

namespace quarn {

/// The main window and its MDI area, set when the main window is built.
QMainWindow* MainForm();
QMdiArea* MainMdiArea();
void RegisterMainForm(QMainWindow* form, QMdiArea* mdiArea);
/// Adds window to the main window's MDI area; without one (some tests) it stands alone.
void AddChildWindow(QMdiSubWindow* window);

/// The generator control panel's form (the widget that holds its controls).
QWidget* GenCPanelForm();
void RegisterGenCPanelForm(QWidget* form);

/// A control's Tag (0 when never set).
int Tag(const QObject* control);
void SetTag(QObject* control, int tag);

/// The first masked edit of form (in creation order) whose Tag is tag, or nullptr.
QLineEdit* FindEditByTag(const QWidget* form, int tag);
/// Every label of form whose Tag is tag, in creation order.
std::vector<QLabel*> FindLabelsByTag(const QWidget* form, int tag);

}  // namespace quarn

#include "system_box.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace quarn {

namespace {

// The title bar's own width beside its text: the window's icon and three buttons, with room.
constexpr int kTitleBarExtras = 120;

// The widest box Qt's message box allows itself on a screen this wide.
int WidestBox(int screenWidth) {
    return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

}  // namespace

void SystemBox::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
}

void SystemBox::showEvent(QShowEvent* event) {
    widenText();
    QMessageBox::showEvent(event);  // sizes the box around the text
    centre();
}

bool SystemBox::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_framed && windowHandle() &&
        !windowHandle()->frameMargins().isNull()) {
        m_framed = true;
        centre();
    }
    return QMessageBox::event(event);
}

void SystemBox::centre() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize spare = screen->geometry().size() - size().grownBy(frame);
    move(screen->geometry().topLeft() + QPoint(spare.width() / 2, spare.height() / 2));
}

// Qt sizes the box, also on every later layout request, from its layout's minimum width, and
// the text's label wraps within what it gets: minimum widths inside the layout hold whenever
// Qt sizes it.
void SystemBox::widenText() {
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* buttons = findChild<QDialogButtonBox*>();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!label || !buttons || !screen)
        return;
    label->setWordWrap(false);
    label->setMinimumWidth(0);
    const int besideText = layout()->totalMinimumSize().width() - label->minimumSizeHint().width();
    const int room = WidestBox(screen->availableGeometry().width()) - std::max(besideText, 0);
    label->setMinimumWidth(std::min(WidestLine(label->fontMetrics(), label->text()), room));

    // The button row spans the box.
    QFont titleFont = font();
    titleFont.setBold(true);
    const QMargins margins = layout()->contentsMargins();
    buttons->setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) +
                             kTitleBarExtras - margins.left() - margins.right());
}

}  // namespace quarn

#include "mask_edit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>

namespace quarn {

namespace {

// Place just after the last character that is not a blank.
int EndOfTyped(const QString& shown) {
    int end = static_cast<int>(shown.size());
    while (end > 0 && shown[end - 1] == QLatin1Char(' '))
        --end;
    return end;
}

}  // namespace

MaskEdit::MaskEdit(const QString& mask, QWidget* parent) : QLineEdit(parent) {
    setInputMask(mask);
    connect(this, &QLineEdit::inputRejected, this, &MaskEdit::refuseCharacter);
}

QString MaskEdit::takesText() const {
    const int places = maxLength();
    const bool signFirst = inputMask().startsWith(QLatin1Char('#'));
    QString largest(places, QLatin1Char('9'));
    const QString smallest =
        signFirst ? QLatin1Char('-') + largest.left(places - 1) : QStringLiteral("0");
    return QStringLiteral("Whole numbers from %1 to %2").arg(smallest, largest);
}

void MaskEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    const int end = EndOfTyped(displayText());
    if (event->button() == Qt::LeftButton && !hasSelectedText() && cursorPosition() > end)
        setCursorPosition(end);
}

void MaskEdit::refuseCharacter() {
    QApplication::beep();
    QToolTip::showText(mapToGlobal(cursorRect().bottomLeft()), takesText(), this);
}

}  // namespace quarn

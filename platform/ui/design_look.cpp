#include "design_look.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <algorithm>
#include <limits>

namespace quarn {

namespace {

// QLineEdit keeps this many pixels between its contents edge and the text on either side.
constexpr int kLineEditInnerMargin = 2;
// Below this a field's text is no longer readable; a font this wide is left as it is.
constexpr int kSmallestPixelHeight = 7;

int PixelHeight(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

QFont WithPixelHeight(QFont font, int pixelHeight) {
    font.setPixelSize(pixelHeight);
    return font;
}

// widget's font, stepped down a pixel at a time while tooWide says it is and it stays readable.
template <typename TooWide>
void ShrinkFont(QWidget& widget, TooWide tooWide) {
    while (tooWide(widget.font()) && PixelHeight(widget.font()) > kSmallestPixelHeight)
        widget.setFont(WithPixelHeight(widget.font(), PixelHeight(widget.font()) - 1));
}

// The toolkit's style with the design's 4-pixel gap between a check or radio mark and its
// caption.
class DesignStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_RadioButtonLabelSpacing || metric == PM_CheckBoxLabelSpacing)
            return 4;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

QFont DesignFont(int pixelHeight) {
    QFont font;
    // Faces with the design's digit widths; the style hint picks another where none exists.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    // Whole-pixel advances, as on the screens the layouts were drawn for.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

int TextRoom(const QLineEdit& edit) {
    QStyleOptionFrame frame;
    frame.initFrom(&edit);
    frame.rect = edit.rect();
    frame.lineWidth = edit.hasFrame()
                          ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, &edit)
                          : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &frame, &edit);
    const QMargins margins = edit.textMargins();
    const int cursorWidth = 1;
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditInnerMargin -
           cursorWidth;
}

int WidestDigits(const QFont& font, int characters) {
    const QFontMetrics metrics(font);
    const auto widest = [&](QStringView candidates) {
        QChar wide = candidates.front();
        for (QChar c : candidates)
            if (metrics.horizontalAdvance(c) > metrics.horizontalAdvance(wide))
                wide = c;
        return wide;
    };
    // A sign may stand in the first place only.
    const QChar digit = widest(u"0123456789");
    const QChar first = widest(u"0123456789+-");
    return metrics.horizontalAdvance(first + QString(characters - 1, digit));
}

void FitDigits(QLineEdit& edit, int characters) {
    // Take back the toolkit's inner margins a pixel at a time, then shrink the font.
    for (int margin = 0; margin >= -kLineEditInnerMargin; --margin) {
        edit.setTextMargins(margin, 0, margin, 0);
        if (WidestDigits(edit.font(), characters) <= TextRoom(edit))
            return;
    }
    ShrinkFont(edit,
               [&](const QFont& font) { return WidestDigits(font, characters) > TextRoom(edit); });
}

void FitDigits(std::span<QLineEdit* const> edits) {
    int smallest = std::numeric_limits<int>::max();
    for (QLineEdit* edit : edits) {
        FitDigits(*edit, edit->maxLength());
        smallest = std::min(smallest, PixelHeight(edit->font()));
    }
    for (QLineEdit* edit : edits)
        edit->setFont(WithPixelHeight(edit->font(), smallest));
}

void FitCaption(QLabel& label, int room) {
    ShrinkFont(label, [&](const QFont&) { return label.sizeHint().width() > room; });
    label.adjustSize();
}

void FitCaption(QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const QStyle::SubElement contents =
        qobject_cast<const QRadioButton*>(&button) ? QStyle::SE_RadioButtonContents
        : qobject_cast<const QCheckBox*>(&button)  ? QStyle::SE_CheckBoxContents
                                                   : QStyle::SE_PushButtonContents;
    const int room = button.style()->subElementRect(contents, &option, &button).width();
    ShrinkFont(button, [&](const QFont& font) {
        return QFontMetrics(font).size(Qt::TextShowMnemonic, button.text()).width() > room;
    });
}

void InstallDesignLook() {
    QApplication::setFont(DesignFont());
    if (!dynamic_cast<DesignStyle*>(QApplication::style()))
        QApplication::setStyle(new DesignStyle);
}

}  // namespace quarn

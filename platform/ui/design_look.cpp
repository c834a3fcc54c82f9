#include "design_look.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quarn {

namespace {

// QLineEdit keeps this many pixels between its contents edge and the text on either side.
constexpr int kLineEditInnerMargin = 2;
// Below this a field's text is no longer readable; a font this wide is left as it is.
constexpr int kSmallestPixelHeight = 7;

int PixelHeight(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
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
    QFont font = edit.font();
    while (WidestDigits(font, characters) > TextRoom(edit) &&
           PixelHeight(font) > kSmallestPixelHeight)
        font.setPixelSize(PixelHeight(font) - 1);
    edit.setFont(font);
}

void InstallDesignLook() {
    QApplication::setFont(DesignFont());
    if (!dynamic_cast<DesignStyle*>(QApplication::style()))
        QApplication::setStyle(new DesignStyle);
}

}  // namespace quarn

// The look the windows were laid out for, so that their texts show whole at the fixed sizes.
//
// The layouts were drawn for an 8-point sans-serif ("MS Sans Serif", 11 pixels high) whose
// digits are 6 pixels wide. DesignFont asks for that face and, where it is missing, for the
// common sans-serif faces of the same widths, hinted to whole pixels. The number fields of
// the panel and the popup are only a few pixels wider than their longest text, so FitDigits
// lets the text run from the frame's inner edge and, on a system whose fonts are wider still,
// steps the field's font down until the text fits. InstallDesignLook makes the design font
// the application's and keeps the design's 4-pixel gap between the mark of a check box or
// radio button and its caption (the toolkit's is wider and cuts "Observer").
#pragma once

#include <QFont>
#include <QLineEdit>

namespace quarn {

/// The design font at pixelHeight pixels (11: 8 points on a 96-dpi screen).
QFont DesignFont(int pixelHeight = 11);

/// Pixels that edit's text can take before it scrolls: between the frame's inner edges, less
/// the text margins, the toolkit's own inner margins and the cursor.
int TextRoom(const QLineEdit& edit);

/// The widest text of `characters` digits or signs in font.
int WidestDigits(const QFont& font, int characters);

/// Narrows edit's margins and, where needed, its font so that `characters` digits fit.
void FitDigits(QLineEdit& edit, int characters);

/// Gives the application the design font and the toolkit's style with the design's gaps.
void InstallDesignLook();

}  // namespace quarn

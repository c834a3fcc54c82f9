// The look the windows were laid out for, so that their texts show whole at the fixed sizes.
//
// The layouts were drawn for an 8-point sans-serif ("MS Sans Serif", 11 pixels high) whose
// digits are 6 pixels wide. DesignFont asks for that face and, where it is missing, for the
// common sans-serif faces of the same widths, hinted to whole pixels. The number fields of
// the panel and the popup are only a few pixels wider than their longest text, so FitDigits
// lets the text run from the frame's inner edge and, on a system whose fonts are wider still,
// steps the fields' font down until the text fits, alike for the fields of one window. Captions
// do the same within the room the design leaves them, so where none of these faces is
// installed every text still shows whole at the design's sizes and positions. InstallDesignLook
// makes the design font the application's and keeps the design's 4-pixel gap between the mark
// of a check box or radio button and its caption (the toolkit's is wider and cuts "Observer").
#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <span>

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

/// FitDigits for fields that read alike, each for its mask's places: all get the font of the
/// field that needs the smallest.
void FitDigits(std::span<QLineEdit* const> edits);

/// Steps label's font down until its text is at most room pixels wide; sizes it to the text.
void FitCaption(QLabel& label, int room);

/// Steps button's font down until its caption fits its room at the button's size (beside the
/// mark of a check box or radio button).
void FitCaption(QAbstractButton& button);

/// Gives the application the design font and the toolkit's style with the design's gaps.
void InstallDesignLook();

}  // namespace quarn

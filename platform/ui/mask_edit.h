// A masked number field: digits, and a sign where the mask allows one, typed over the blanks
// that show its free places ("#" a digit or sign, "0" a digit, each optional).
//
// A click in the field's empty part puts the caret after its last character, so that typing
// fills the field from there; the toolkit would leave it at the click, with the places before
// it blank and the typed digits running off the end. A character that the field cannot take
// (a letter, a sign after the first place, a digit beyond the last place) is never dropped
// silently: the field beeps and shows, beside the caret, the numbers it takes.
#pragma once

#include <QLineEdit>

namespace quarn {

class MaskEdit : public QLineEdit {
  public:
    /// A field with mask (Qt's syntax, blanks shown as spaces, e.g. "#00000; ").
    MaskEdit(const QString& mask, QWidget* parent);

    /// What the field says of a refused character: "Whole numbers from -99999 to 999999".
    QString takesText() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void refuseCharacter();
};

}  // namespace quarn

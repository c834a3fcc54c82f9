// The "Mesh detail" dialog of the Options menu: "Full grid" (two triangles per grid square, as
// at start) or "Max error" with its field in map units: as few triangles as keep every sample
// within that vertical distance of its height (0: exact). OK and Cancel.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QRadioButton>
#include <optional>

namespace quarn {

class TfrmMeshDetail : public QDialog {
  public:
    /// A dialog showing maxError (none: the full grid).
    explicit TfrmMeshDetail(std::optional<double> maxError, QWidget* parent = nullptr);

    QRadioButton* FullGrid;
    QRadioButton* MaxError;
    QLineEdit* MaxErrorField;  // map units, 0 or above
    QDialogButtonBox* Buttons;

    /// The choice: none for the full grid, else the field's bound.
    std::optional<double> maxError() const;
};

}  // namespace quarn

#include "quarn_meshdetail_f.h"

#include <QDoubleValidator>
#include <QGridLayout>
#include <QPushButton>

namespace quarn {

TfrmMeshDetail::TfrmMeshDetail(std::optional<double> maxError, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMeshDetail"));
    setWindowTitle(QStringLiteral("Mesh detail"));
    FullGrid = new QRadioButton(QStringLiteral("&Full grid"), this);
    MaxError = new QRadioButton(QStringLiteral("&Max error"), this);
    MaxErrorField = new QLineEdit(this);
    MaxErrorField->setValidator(new QDoubleValidator(0, 1e9, 6, MaxErrorField));
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(FullGrid, 0, 0, 1, 2);
    grid->addWidget(MaxError, 1, 0);
    grid->addWidget(MaxErrorField, 1, 1);
    grid->addWidget(Buttons, 2, 0, 1, 2);

    (maxError ? MaxError : FullGrid)->setChecked(true);
    MaxErrorField->setText(maxError ? QString::number(*maxError) : QStringLiteral("0"));
    MaxErrorField->setEnabled(maxError.has_value());
    const auto update = [this] {
        MaxErrorField->setEnabled(MaxError->isChecked());
        Buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(FullGrid->isChecked() || MaxErrorField->hasAcceptableInput());
    };
    connect(MaxError, &QRadioButton::toggled, this, update);
    connect(MaxErrorField, &QLineEdit::textChanged, this, update);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<double> TfrmMeshDetail::maxError() const {
    if (FullGrid->isChecked())
        return std::nullopt;
    return MaxErrorField->text().toDouble();
}

}  // namespace quarn

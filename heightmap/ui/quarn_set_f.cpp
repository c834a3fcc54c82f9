#include "quarn_set_f.h"

#include <algorithm>

#include "design_look.h"
#include "error_report.h"
#include "forms.h"
#include "map_state.h"
#include "mask_edit.h"

namespace quarn {

TfrmSet* frmSet = nullptr;

namespace {

// The panel's height field of the picked palette index (its other edits never match).
QLineEdit* PickedHeightField() {
    return FindEditByTag(GenCPanelForm(), CurrentColourIndex);
}

}  // namespace

TfrmSet::TfrmSet() {
    setObjectName(QStringLiteral("frmSet"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(104, 28);

    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(1, 1, 101, 26);

    setFont(DesignFont());
    MaskEdit1 = new MaskEdit(QStringLiteral("#00000; "), this);
    MaskEdit1->setFrame(false);
    MaskEdit1->setText(QStringLiteral("0"));
    MaskEdit1->setGeometry(5, 5, 38, 19);
    FitDigits(*MaskEdit1, MaskEdit1->maxLength());
    UpDown1 = new UpDown(
        MaskEdit1, {.minimum = -10000, .maximum = 30000, .increment = 100, .autoRepeat = true},
        this);
    UpDown1->setGeometry(43, 5, 15, 19);
    Button1 = addButton("O", 58);
    Button2 = addButton("X", 79);
    setTabOrder(UpDown1, MaskEdit1);
    setTabOrder(MaskEdit1, Button1);
    setTabOrder(Button1, Button2);
    Button1->setDefault(true);  // Enter takes the typed height

    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
}

TfrmSet::~TfrmSet() {
    if (frmSet == this)
        frmSet = nullptr;
}

QPushButton* TfrmSet::addButton(const char* caption, int left) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setGeometry(left, 4, 20, 20);
    return button;
}

void TfrmSet::setVisible(bool visible) {
    QDialog::setVisible(visible);
    // Ready for typing: a new height replaces the last one. Set after the dialog's own focus
    // handling, which puts the cursor at the start of a masked edit.
    if (visible) {
        MaskEdit1->setFocus(Qt::PopupFocusReason);
        MaskEdit1->selectAll();
    }
}

void TfrmSet::PlaceInside(QPoint at, const QRect& area) {
    const auto inside = [](int start, int length, int first, int room) {
        return std::max(first, std::min(start, first + room - length));
    };
    move(inside(at.x(), width(), area.left(), area.width()),
         inside(at.y(), height(), area.top(), area.height()));
}

void TfrmSet::Button1Click() {
    if (QLineEdit* field = PickedHeightField())
        field->setText(MaskEdit1->text());
    accept();
}

void TfrmSet::Button2Click() {
    if (QLineEdit* field = PickedHeightField())
        field->clear();
    accept();
}

void CreateSetPopup() {
    if (!frmSet)
        frmSet = new TfrmSet();
}

}  // namespace quarn

#include "quarn_gencpanel_f.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QStyle>

#include "design_look.h"
#include "error_report.h"
#include "forms.h"
#include "mask_edit.h"
#include "swatch.h"

namespace quarn {

TfrmGenCPanel* frmGenCPanel = nullptr;

namespace {

std::function<void()> g_generateHandler;

// Qt's "#" is an optional digit or sign and "0" an optional digit; blanks show as spaces.
constexpr const char* kSignedMask = "#00000; ";  // heights and levels
constexpr const char* kSizeMask = "000000; ";
constexpr const char* kIntervalMask = "00000; ";

constexpr int kFormWidth = 148;
constexpr int kSwatchTops[8] = {5, 30, 56, 81, 107, 132, 158, 183};
constexpr int kFieldTops[8] = {3, 28, 54, 79, 105, 130, 156, 181};

QLabel* TfrmGenCPanel::*const kSwatches[16] = {
    &TfrmGenCPanel::Label1,  &TfrmGenCPanel::Label2,  &TfrmGenCPanel::Label3,
    &TfrmGenCPanel::Label4,  &TfrmGenCPanel::Label5,  &TfrmGenCPanel::Label6,
    &TfrmGenCPanel::Label7,  &TfrmGenCPanel::Label8,  &TfrmGenCPanel::Label9,
    &TfrmGenCPanel::Label10, &TfrmGenCPanel::Label11, &TfrmGenCPanel::Label12,
    &TfrmGenCPanel::Label13, &TfrmGenCPanel::Label14, &TfrmGenCPanel::Label15,
    &TfrmGenCPanel::Label16};

QLineEdit* TfrmGenCPanel::*const kHeightFields[16] = {
    &TfrmGenCPanel::MaskEdit1,  &TfrmGenCPanel::MaskEdit2,  &TfrmGenCPanel::MaskEdit3,
    &TfrmGenCPanel::MaskEdit4,  &TfrmGenCPanel::MaskEdit5,  &TfrmGenCPanel::MaskEdit6,
    &TfrmGenCPanel::MaskEdit7,  &TfrmGenCPanel::MaskEdit8,  &TfrmGenCPanel::MaskEdit9,
    &TfrmGenCPanel::MaskEdit10, &TfrmGenCPanel::MaskEdit11, &TfrmGenCPanel::MaskEdit12,
    &TfrmGenCPanel::MaskEdit13, &TfrmGenCPanel::MaskEdit14, &TfrmGenCPanel::MaskEdit15,
    &TfrmGenCPanel::MaskEdit16};

void SetColours(QWidget& widget, QPalette::ColorRole role, const QColor& colour,
                QPalette::ColorRole textRole, const QColor& text) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    palette.setColor(textRole, text);
    widget.setPalette(palette);
}

}  // namespace

TfrmGenCPanel::TfrmGenCPanel() : m_form(new QWidget) {
    setObjectName(QStringLiteral("frmGenCPanel"));
    setWindowTitle(QStringLiteral("Generator Control Panel"));
    // A title bar without buttons: the panel lives as long as the program.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_form->setFixedSize(kFormWidth, 383);
    m_form->setAutoFillBackground(true);
    SetColours(*m_form, QPalette::Window, QColor(0, 128, 128), QPalette::WindowText, Qt::black);
    m_form->setFont(DesignFont());

    for (int e = 0; e < 16; ++e)
        this->*kSwatches[e] = addSwatch(e, e < 8 ? 5 : 81, kSwatchTops[e % 8]);
    for (int e = 0; e < 16; ++e)
        this->*kHeightFields[e] = addField(e, e < 8 ? 30 : 105, kFieldTops[e % 8], kSignedMask);

    Label17 = addCaption(1000, 9, 204, "Water", 61);
    Label18 = addCaption(1001, 61, 204, "Lawn", 109);
    Label19 = addCaption(1002, 109, 204, "Snow", kFormWidth);
    MaskEdit17 = addField(100, 5, 220, kSignedMask);
    MaskEdit18 = addField(200, 55, 220, kSignedMask);
    MaskEdit19 = addField(300, 105, 220, kSignedMask);
    SetColours(*MaskEdit17, QPalette::Base, QColor(0, 0, 255), QPalette::Text, Qt::white);
    SetColours(*MaskEdit18, QPalette::Base, QColor(0, 128, 0), QPalette::Text, Qt::white);

    Label20 = addCaption(1003, 1, 242, "Mapwidth", 51);
    Label21 = addCaption(1004, 51, 242, "Mapheight", 107);
    Label22 = addCaption(1005, 107, 242, "Interval", kFormWidth);
    MaskEdit20 = addField(400, 5, 259, kSizeMask);
    MaskEdit21 = addField(500, 55, 259, kSizeMask);
    MaskEdit22 = addField(600, 106, 259, kIntervalMask);

    // Every field shows its mask's places, in digits of one size.
    const QList<QLineEdit*> fields = m_form->findChildren<QLineEdit*>();
    FitDigits(std::span(fields.begin(), fields.end()));

    addOutputGroup();

    BitBtn1 = new QPushButton(m_form);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(5, 349, 141, 31);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    BitBtn1->setIconSize(QSize(24, 24));
    BitBtn1->setToolTip(QStringLiteral("Generate 3D file"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));

    setWidget(m_form);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmGenCPanel::~TfrmGenCPanel() {
    if (frmGenCPanel == this)
        frmGenCPanel = nullptr;
    if (GenCPanelForm() == m_form)
        RegisterGenCPanelForm(nullptr);
}

QLabel* TfrmGenCPanel::addSwatch(int tag, int left, int top) {
    auto* label = new QLabel(m_form);
    label->setGeometry(left, top, 18, 18);
    SetTag(label, tag);
    SetSwatchColour(*label, PackRGB(255, 255, 255));
    return label;
}

QLineEdit* TfrmGenCPanel::addField(int tag, int left, int top, const char* mask) {
    auto* edit = new MaskEdit(QString::fromLatin1(mask), m_form);
    edit->setGeometry(left, top, 39, 21);
    SetTag(edit, tag);
    return edit;
}

QLabel* TfrmGenCPanel::addCaption(int tag, int left, int top, const char* text, int nextLeft) {
    auto* label = new QLabel(QString::fromLatin1(text), m_form);
    label->move(left, top);
    FitCaption(*label, nextLeft - left - 1);  // a pixel clear of the next caption or the edge
    SetTag(label, tag);
    return label;
}

void TfrmGenCPanel::addOutputGroup() {
    RGOutput = new QGroupBox(QStringLiteral("Output"), m_form);
    RGOutput->setObjectName(QStringLiteral("RGOutput"));
    RGOutput->setGeometry(5, 283, 138, 61);
    const char* items[] = {"3DF", "ASC", "RAW", "PLG"};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(items[i]), RGOutput);
        // Two columns, filled column by column.
        item->setGeometry(8 + (i / 2) * 64, 16 + (i % 2) * 20, 60, 18);
        RGOutputItems[static_cast<std::size_t>(i)] = item;
    }
}

void TfrmGenCPanel::FormCreate() {
    adjustSize();
    move(QGuiApplication::primaryScreen()->size().width() - width(), 0);
    RGOutputItems[0]->setChecked(true);
}

QString TfrmGenCPanel::selectedOutputText() const {
    for (const QRadioButton* item : RGOutputItems)
        if (item->isChecked())
            return item->text();
    return {};
}

void TfrmGenCPanel::SetGenerateHandler(std::function<void()> handler) {
    g_generateHandler = std::move(handler);
}

void TfrmGenCPanel::BitBtn1Click() {
    if (g_generateHandler)
        g_generateHandler();
}

void TfrmGenCPanel::keyPressEvent(QKeyEvent* event) {
    // BitBtn1 is the panel's default button; the fields pass Enter on to the panel.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BitBtn1->click();
        return;
    }
    QMdiSubWindow::keyPressEvent(event);
}

void TfrmGenCPanel::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void CreateGenCPanel() {
    frmGenCPanel = new TfrmGenCPanel();
    RegisterGenCPanelForm(frmGenCPanel->form());
    AddChildWindow(frmGenCPanel);
    // Placed once it stands in the MDI area, which would otherwise choose its position.
    frmGenCPanel->FormCreate();
    frmGenCPanel->show();
}

}  // namespace quarn

#include "quarn_render_f.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <optional>

#include "busy_cursor.h"
#include "design_look.h"
#include "error_report.h"
#include "preview_scene.h"
#include "scene.h"
#include "view_gestures.h"
#include "viewer_state.h"

namespace quarn {

TfrmRender* frmRender = nullptr;

namespace {

// Drawings slower than this show the busy cursor from the next one on.
constexpr auto kSlowDrawing = std::chrono::milliseconds(330);

QLineEdit* NumberField(QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setReadOnly(true);
    return edit;
}

// Angles in steps of 5; the click handlers wrap -1 and 360 round to 355 and 0.
UpDown* AngleSpin(Qt::Orientation orientation, QLineEdit* buddy, QWidget* parent, QRect geometry) {
    auto* spin = new UpDown(
        buddy, {.orientation = orientation, .minimum = -1, .maximum = 360, .increment = 5}, parent);
    spin->setGeometry(geometry);
    return spin;
}

}  // namespace

TfrmRender::TfrmRender()
    : SingleWindow(frmRender, RenderWindowOpen, [] { SceneFileName.clear(); }) {
    buildControls();
    connectHandlers();
    showSettings();
}

void TfrmRender::buildControls() {
    setWindowFlags(Qt::SubWindow | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Body = new QWidget(this);
    Body->setFixedSize(kImageWidth, 450);
    Body->setFont(DesignFont(11));
    setWidget(Body);

    Image1 = new PictureView(m_picture, Body);
    Image1->setGeometry(0, 0, kImageWidth, kImageHeight);
    Image1->setCursor(Qt::OpenHandCursor);
    Image1->installEventFilter(this);
    Panel2 = new QFrame(Body);
    Panel2->setGeometry(0, 417, kImageWidth, 33);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(2);

    Edit1 = NumberField(Panel2, {15, 6, 34, 20});
    UpDown1 = AngleSpin(Qt::Vertical, Edit1, Panel2, {49, 6, 15, 20});
    Edit2 = NumberField(Panel2, {78, 6, 34, 20});
    UpDown2 = AngleSpin(Qt::Horizontal, Edit2, Panel2, {112, 6, 15, 20});
    RadioButton1 = new QRadioButton("Observer", Panel2);
    RadioButton1->setGeometry(139, 9, 65, 17);
    RadioButton2 = new QRadioButton("Sun", Panel2);
    RadioButton2->setGeometry(207, 9, 42, 17);
    CheckBox1 = new QCheckBox("Wire", Panel2);
    CheckBox1->setGeometry(267, 9, 45, 17);
    CheckBox2 = new QCheckBox("Autorender", Panel2);
    CheckBox2->setGeometry(326, 9, 75, 17);
    CheckBox2->setChecked(true);
    Button2 = new QPushButton("+", Panel2);
    Button2->setGeometry(411, 7, 20, 20);
    Button2->setFont(DesignFont(13));
    Button3 = new QPushButton("-", Panel2);
    Button3->setGeometry(431, 7, 20, 20);
    Button3->setFont(DesignFont(13));
    Button1 = new QPushButton("Render now!", Panel2);
    Button1->setGeometry(466, 6, 75, 20);
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(RadioButton1), static_cast<QAbstractButton*>(RadioButton2),
          static_cast<QAbstractButton*>(CheckBox1), static_cast<QAbstractButton*>(CheckBox2),
          static_cast<QAbstractButton*>(Button1)})
        FitCaption(*b);

    QWidget::setTabOrder(Edit1, Button1);
    QWidget::setTabOrder(Button1, UpDown1);
    QWidget::setTabOrder(UpDown1, UpDown2);
    QWidget::setTabOrder(UpDown2, Edit2);
    QWidget::setTabOrder(Edit2, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);
    QWidget::setTabOrder(RadioButton2, CheckBox1);
    QWidget::setTabOrder(CheckBox1, CheckBox2);
    QWidget::setTabOrder(CheckBox2, Button2);
    QWidget::setTabOrder(Button2, Button3);
    // Last in the chain, so that opening the window focuses what it always did; Tab never
    // reaches the picture, a click does.
    QWidget::setTabOrder(Button3, Image1);
}

void TfrmRender::connectHandlers() {
    // clicked, not toggled: setting a state from code must not run a handler.
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guarded([this] { Button3Click(); }));
    connect(RadioButton1, &QRadioButton::clicked, this, Guarded([this] { RadioButton1Click(); }));
    connect(RadioButton2, &QRadioButton::clicked, this, Guarded([this] { RadioButton2Click(); }));
    connect(CheckBox1, &QCheckBox::clicked, this, Guarded([this] { CheckBox1Click(); }));
    m_renderSoon.setSingleShot(true);
    m_renderSoon.setInterval(0);
    connect(&m_renderSoon, &QTimer::timeout, this, Guarded([this] { Button1Click(); }));
    // Moves queued behind a slow drawing give one preview of where the mouse is now.
    m_previewSoon.setSingleShot(true);
    m_previewSoon.setInterval(0);
    connect(&m_previewSoon, &QTimer::timeout, this, Guarded([this] { drawPreview(); }));
    m_settled.setSingleShot(true);
    m_settled.setInterval(kSettle);
    connect(&m_settled, &QTimer::timeout, this, Guarded([this] { renderIfAuto(); }));
    UpDown1->setClickHandler([this] { UpDown1Click(); });
    UpDown2->setClickHandler([this] { UpDown2Click(); });
}

// A window opened after an earlier one was closed shows the settings as they are.
void TfrmRender::showSettings() {
    const bool sun = AngleMode == AnglePair::Sun;
    RadioButton1->setChecked(!sun);
    RadioButton2->setChecked(sun);
    CheckBox1->setChecked(!ShadedMode);
    showAngles(sun ? SunElevation : ObserverElevation, sun ? SunAzimuth : ObserverAzimuth);
}

void TfrmRender::showAngles(int elevation, int azimuth) {
    UpDown1->setPosition(elevation);
    UpDown2->setPosition(azimuth);
}

void TfrmRender::renderIfAuto() {
    if (CheckBox2->isChecked())
        m_renderSoon.start();
}

bool TfrmRender::drawPicture(const std::function<bool()>& drawing) {
    std::optional<BusyCursor> busy;
    if (m_lastDrawing > kSlowDrawing)
        busy.emplace();
    const auto start = std::chrono::steady_clock::now();
    const bool drawn = drawing();
    m_lastDrawing = std::chrono::steady_clock::now() - start;
    refreshPicture();
    return drawn;
}

void TfrmRender::Button1Click() {
    m_renderSoon.stop();
    m_previewSoon.stop();
    m_settled.stop();
    m_showingPreview = false;
    drawPicture([this] { return RenderScene(m_canvas, kImageWidth, kImageHeight, m_viewOptions); });
}

void TfrmRender::UpDown1Click() {
    UpDown1->setPosition(WrappedSpinPosition(UpDown1->position()));
    const auto angle = static_cast<std::uint16_t>(UpDown1->position());
    (AngleMode == AnglePair::Observer ? ObserverElevation : SunElevation) = angle;
    renderIfAuto();
}

void TfrmRender::UpDown2Click() {
    UpDown2->setPosition(WrappedSpinPosition(UpDown2->position()));
    const auto angle = static_cast<std::uint16_t>(UpDown2->position());
    (AngleMode == AnglePair::Observer ? ObserverAzimuth : SunAzimuth) = angle;
    renderIfAuto();
}

void TfrmRender::RadioButton1Click() {
    AngleMode = AnglePair::Observer;
    showAngles(ObserverElevation, ObserverAzimuth);
}

void TfrmRender::RadioButton2Click() {
    AngleMode = AnglePair::Sun;
    showAngles(SunElevation, SunAzimuth);
}

void TfrmRender::CheckBox1Click() {
    ShadedMode = !CheckBox1->isChecked();
    renderIfAuto();
}

void TfrmRender::Button2Click() {
    ZoomFactor = ZoomedIn(ZoomFactor);
    renderIfAuto();
}

void TfrmRender::Button3Click() {
    ZoomFactor = ZoomedOut(ZoomFactor);
    renderIfAuto();
}

void TfrmRender::rememberOpeningView() {
    m_openingAngles = CurrentViewAngles();
    m_openingZoom = ZoomFactor;
}

bool TfrmRender::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Image1)
        return SingleWindow::eventFilter(watched, event);
    // The gestures run as the controls' handlers do: a fault is reported, the window stays.
    bool handled = true;
    Guarded([&] {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                startDrag(static_cast<const QMouseEvent&>(*event));
                break;
            case QEvent::MouseMove:
                moveDrag(static_cast<const QMouseEvent&>(*event));
                break;
            case QEvent::MouseButtonRelease:
                endDrag();
                break;
            case QEvent::MouseButtonDblClick:
                returnToOpeningView();
                break;
            case QEvent::Wheel:
                wheel(static_cast<const QWheelEvent&>(*event));
                break;
            case QEvent::KeyPress:
                handled = key(static_cast<const QKeyEvent&>(*event));
                break;
            default:
                handled = false;
        }
    })();
    return handled;
}

void TfrmRender::showPair(AnglePair pair) {
    if (pair == AnglePair::Observer)
        RadioButton1Click();
    else
        RadioButton2Click();
    RadioButton1->setChecked(pair == AnglePair::Observer);
    RadioButton2->setChecked(pair == AnglePair::Sun);
}

void TfrmRender::startDrag(const QMouseEvent& event) {
    Image1->setFocus(Qt::MouseFocusReason);
    const bool sun = event.button() == Qt::RightButton ||
                     (event.button() == Qt::LeftButton && event.modifiers() & Qt::ShiftModifier);
    if (!sun && event.button() != Qt::LeftButton)
        return;
    showPair(sun ? AnglePair::Sun : AnglePair::Observer);
    m_drag = Drag{event.position().toPoint(), sun ? SunElevation : ObserverElevation,
                  sun ? SunAzimuth : ObserverAzimuth};
    Image1->setCursor(Qt::ClosedHandCursor);
}

void TfrmRender::moveDrag(const QMouseEvent& event) {
    if (!m_drag)
        return;
    const QPoint moved = event.position().toPoint() - m_drag->start;
    // Up raises the eye (or the sun); to the right turns the azimuth on.
    const std::uint16_t elevation = DraggedAngle(m_drag->elevation, -moved.y());
    const std::uint16_t azimuth = DraggedAngle(m_drag->azimuth, moved.x());
    (AngleMode == AnglePair::Observer ? ObserverElevation : SunElevation) = elevation;
    (AngleMode == AnglePair::Observer ? ObserverAzimuth : SunAzimuth) = azimuth;
    showAngles(elevation, azimuth);
    if (!CheckBox2->isChecked())
        return;
    m_previewSoon.start();
    m_settled.start();
}

void TfrmRender::endDrag() {
    if (!m_drag)
        return;
    m_drag.reset();
    Image1->setCursor(Qt::OpenHandCursor);
    // Let go, the mouse rests: the scene itself at once.
    if (m_settled.isActive() || m_previewSoon.isActive() || m_showingPreview) {
        m_previewSoon.stop();
        m_settled.stop();
        renderIfAuto();
    }
}

void TfrmRender::drawPreview() {
    if (SceneFileName.empty())
        return;
    const void* scene = TriangleList.sharedTriangles().get();
    if (scene != m_previewOf) {
        m_preview = PreviewScene(TriangleList);
        m_previewOf = scene;
    }
    // Not timed as a drawing: the busy cursor stays away while the view moves.
    m_showingPreview = RenderPreview(m_preview, m_canvas, kImageWidth, kImageHeight, m_viewOptions);
    refreshPicture();
}

void TfrmRender::wheel(const QWheelEvent& event) {
    m_wheelEighths += event.angleDelta().y();
    const int notches = m_wheelEighths / 120;
    m_wheelEighths -= notches * 120;
    if (notches == 0)
        return;
    ZoomFactor = WheelZoom(ZoomFactor, notches);
    renderIfAuto();
}

bool TfrmRender::key(const QKeyEvent& event) {
    // As the spin buttons' arrows step: up and right forward, down and left back.
    switch (event.key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            UpDown1->stepBy(event.key() == Qt::Key_Up ? 1 : -1);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Left:
            UpDown2->stepBy(event.key() == Qt::Key_Right ? 1 : -1);
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Button2Click();
            return true;
        case Qt::Key_Minus:
            Button3Click();
            return true;
        default:
            return false;
    }
}

void TfrmRender::returnToOpeningView() {
    m_drag.reset();
    Image1->setCursor(Qt::OpenHandCursor);
    ObserverElevation = m_openingAngles.observerElevation;
    ObserverAzimuth = m_openingAngles.observerAzimuth;
    SunElevation = m_openingAngles.sunElevation;
    SunAzimuth = m_openingAngles.sunAzimuth;
    ZoomFactor = m_openingZoom;
    showSettings();
    renderIfAuto();
}

}  // namespace quarn

#include "quarn_main_f.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "app_icon.h"
#include "error_report.h"
#include "forms.h"
#include "go_on.h"
#include "import_map_command.h"
#include "message_box.h"
#include "open_bmp_command.h"
#include "quarn_doc_f.h"
#include "quarn_meshdetail_f.h"
#include "quarn_render_f.h"
#include "scene_commands.h"

namespace quarn {

namespace {

// The window's outer bounds when it is not maximised.
constexpr QRect kRestoredBounds(191, 227, 435, 300);

}  // namespace

TfrmMainMDI* frmMainMDI = nullptr;
const char* const kColourDepthNotice =
    "This program functions properly only with 24-bit color resolution (16.7 million colors)."
    "\rIf this is not your case, please make the proper adjustments.";

TfrmMainMDI::TfrmMainMDI() {
    setObjectName(QStringLiteral("frmMainMDI"));
    setWindowTitle(QStringLiteral("Quarn 3D"));
    setWindowIcon(AppIcon());
    setGeometry(kRestoredBounds);

    MdiArea = new QMdiArea(this);
    MdiArea->setBackground(palette().brush(QPalette::Dark));
    // Children outside the work area are scrolled to, and do not set the window's least size.
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    RegisterMainForm(this, MdiArea);
    StatusText = new QLabel;
    statusBar()->addWidget(StatusText);

    Menu1 = menuBar()->addMenu(QStringLiteral("&Menu"));
    Menu1->setObjectName(QStringLiteral("Menu1"));
    OpenBMPfile1 =
        addCommand("OpenBMPfile1", "&Open BMP image file...", &TfrmMainMDI::OpenBMPfile1Click);
    ImportMapImage1 =
        addCommand("ImportMapImage1", "&Import map image...", &TfrmMainMDI::ImportMapImage1Click);
    Generate3Dfile1 =
        addCommand("Generate3Dfile1", "&Generate 3D file...", &TfrmMainMDI::Generate3Dfile1Click);
    Menu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Open3Dfile1 = addCommand("Open3Dfile1", "Open 3&DF file...", &TfrmMainMDI::Open3Dfile1Click);
    Save3D1 = addCommand("Save3D1", "&Save 3D picture as...", &TfrmMainMDI::Save3D1Click);
    Menu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    Documentation1 =
        addCommand("Documentation1", "Do&cumentation", &TfrmMainMDI::Documentation1Click);
    Menu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    Exit1 = addCommand("Exit1", "E&xit", &TfrmMainMDI::Exit1Click);

    Options1 = menuBar()->addMenu(QStringLiteral("&Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    SmoothTerrain1 = Options1->addAction(QStringLiteral("&Smooth terrain"));
    SmoothTerrain1->setObjectName(QStringLiteral("SmoothTerrain1"));
    SmoothTerrain1->setCheckable(true);
    connect(SmoothTerrain1, &QAction::toggled, this,
            [this](bool checked) { m_options.smoothTerrain = checked; });
    HiddenSurfaces1 =
        addViewOption("HiddenSurfaces1", "&Hidden surfaces", &ViewOptions::hiddenSurfaces);
    KeepProportions1 =
        addViewOption("KeepProportions1", "&Keep proportions", &ViewOptions::keepProportions);
    Perspective1 = addViewOption("Perspective1", "&Perspective", &ViewOptions::perspective);
    MeshDetail1 = Options1->addAction(QStringLiteral("&Mesh detail..."));
    MeshDetail1->setObjectName(QStringLiteral("MeshDetail1"));
    connect(MeshDetail1, &QAction::triggered, this, Guarded([this] {
                TfrmMeshDetail dialog(m_options.maxError, this);
                if (dialog.exec() == QDialog::Accepted)
                    m_options.maxError = dialog.maxError();
            }));
    PrintColours1 = Options1->addAction(QStringLiteral("&Print colours"));
    PrintColours1->setObjectName(QStringLiteral("PrintColours1"));
    PrintColours1->setCheckable(true);
    connect(PrintColours1, &QAction::toggled, this,
            [this](bool checked) { m_options.printBandColours = checked; });

    frmMainMDI = this;
}

QAction* TfrmMainMDI::addCommand(const char* name, const char* caption,
                                 void (TfrmMainMDI::*handler)()) {
    QAction* action = Menu1->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    connect(action, &QAction::triggered, this, Guarded([this, handler] {
                StatusText->clear();  // the last command's result no longer stands
                (this->*handler)();
            }));
    return action;
}

QAction* TfrmMainMDI::addViewOption(const char* name, const char* caption,
                                    bool ViewOptions::*setting) {
    QAction* action = Options1->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, Guarded([this, action, setting] {
                m_options.view.*setting = action->isChecked();
                if (frmRender) {
                    frmRender->setViewOptions(m_options.view);
                    frmRender->renderIfAuto();
                }
            }));
    return action;
}

bool TfrmMainMDI::FormCreate() {
    // Map pixels are compared with palette colours exactly, which needs a true-colour display.
    const int answer = ShowMessageBox(kColourDepthNotice, MsgDlgType::Warning, mbOK | mbCancel, 0);
    return answer != mrCancel;
}

void TfrmMainMDI::OpenBMPfile1Click() {
    OpenBMPImage();
}

void TfrmMainMDI::ImportMapImage1Click() {
    ImportMapImage();
}

void TfrmMainMDI::Generate3Dfile1Click() {
    GoOn();
}

void TfrmMainMDI::GoOn() {
    StatusText->clear();
    const GenerateResult result =
        quarn::GoOn(m_options.surface(), m_options.maxError,
                    m_options.printBandColours ? PrintColours::Bands : PrintColours::Classes);
    StatusText->setText(result.written ? QString::fromStdString(GenerateSummary(result))
                                       : QString());
}

void TfrmMainMDI::ShowMaximised() {
    // Without a window manager nothing acts on the maximised state: the window takes the
    // work area itself, and the restored bounds come back through changeEvent.
    setGeometry(screen()->availableGeometry());
    showMaximized();
}

void TfrmMainMDI::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    m_restoredFrame.reset();
    if ((change->oldState() & Qt::WindowMaximized) && windowState() == Qt::WindowNoState)
        placeRestored();
}

void TfrmMainMDI::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    followRestoredFrame();
}

void TfrmMainMDI::placeRestored() {
    // The bounds are the outer frame's; the geometry set here is the client area's.
    m_restoredFrame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    setGeometry(kRestoredBounds.marginsRemoved(*m_restoredFrame));
    // The window manager may draw the restored frame a moment later, without moving us.
    QTimer::singleShot(250, this, [this] { followRestoredFrame(); });
}

void TfrmMainMDI::followRestoredFrame() {
    if (m_restoredFrame && windowHandle() && *m_restoredFrame != windowHandle()->frameMargins())
        placeRestored();
}

void TfrmMainMDI::Open3Dfile1Click() {
    // An elevation raster is coloured by the panel's Water, Lawn and Snow levels.
    const auto level = [](int tag) {
        const QLineEdit* field = FindEditByTag(GenCPanelForm(), tag);
        return field ? field->text().toStdString() : std::string();
    };
    OpenSceneFile(m_options.view, {level(100), level(200), level(300)});
}

void TfrmMainMDI::Save3D1Click() {
    SaveScenePicture();
}

void TfrmMainMDI::Documentation1Click() {
    ShowDocumentation();
}

void TfrmMainMDI::Exit1Click() {
    QApplication::closeAllWindows();
    QApplication::quit();
}

}  // namespace quarn

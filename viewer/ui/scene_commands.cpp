#include "scene_commands.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

#include "bmp_picture.h"
#include "busy_cursor.h"
#include "elevation_scene.h"
#include "file_dialog.h"
#include "forms.h"
#include "message_box.h"
#include "picture_targets.h"
#include "quarn_render_f.h"
#include "viewer_state.h"

namespace quarn {

namespace {

constexpr int kViewerWidth = 558;
constexpr int kViewerHeight = 477;

void ShowViewer() {
    if (!RenderWindowOpen) {
        frmRender = new TfrmRender();
        AddChildWindow(frmRender);
        frmRender->show();
        RenderWindowOpen = true;
    }
    frmRender->setWindowTitle(QString::fromStdString(SceneFileName));
    // Never smaller than the controls need, whatever the frame's style takes.
    frmRender->resize(QSize(kViewerWidth, kViewerHeight).expandedTo(frmRender->sizeHint()));
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const WindowPosition at = ViewerPosition(screen.width(), screen.height());
    frmRender->move(at.left, at.top);
    // A reused viewer may lie under the map window; the new picture must be seen.
    if (QMdiArea* area = frmRender->mdiArea())
        area->setActiveSubWindow(frmRender);
}

}  // namespace

WindowPosition ViewerPosition(int screenWidth, int screenHeight) {
    return {(screenWidth - kViewerWidth) / 2, (screenHeight - kViewerHeight) / 2 - 25};
}

void OpenSceneFile(const ViewOptions& options, const ElevationLevels& levels) {
    FileDialogRequest request;
    request.title = "Open 3DF file";
    request.filter =
        "3DF files|*.3df|Elevation rasters (*.tif *.tiff *.png *.asc *.dem)|*.tif;*.tiff;*.png;"
        "*.asc;*.dem";
    request.defaultExt = "3DF";
    const auto name = RunOpenDialog(request);
    if (!name)
        return;
    SceneFileName = *name;
    ClearScene();
    ShowViewer();
    frmRender->setViewOptions(options);
    const BusyCursor busy;
    if (IsElevationRasterName(SceneFileName)) {
        auto raster = ReadElevationScene(SceneFileName, levels, PerspectiveDistance);
        if (!raster)
            return;
        TakeScene(std::move(raster->loaded), *frmRender);
        if (raster->reading.find(" read as ") != std::string::npos)
            frmRender->setWindowTitle(
                QString::fromStdString(SceneFileName + " (" + raster->reading + ")"));
    } else if (!LoadScene(SceneFile::Open(SceneFileName), *frmRender)) {
        return;
    }
    frmRender->rememberOpeningView();
    frmRender->drawPicture([] {
        return ProjectClearDraw(frmRender->canvas(), TfrmRender::kImageWidth,
                                TfrmRender::kImageHeight, frmRender->viewOptions());
    });
}

void SaveScenePicture() {
    if (SceneFileName.empty()) {
        ShowErrorBox("No picture to save!");
        return;
    }
    FileDialogRequest request;
    request.title = "Save 3D picture";
    request.filter = "BMP files (*.bmp)|*.bmp";
    request.defaultExt = "BMP";
    request.overwritePrompt = true;
    const auto name = RunSaveDialog(request);
    if (!name)
        return;
    if (!MayWritePictures({*name}, SceneFileName))
        return;
    SavePictureBmp(frmRender->picture(), *name);
}

}  // namespace quarn

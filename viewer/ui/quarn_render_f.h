// The viewer window frmRender: the rendered picture above a strip of controls that change
// the program-wide view settings and, while "Autorender" is checked, render again at once.
// Every rendering uses the view options that the window was last handed.
//
// Spin buttons run 0..355 in steps of 5 (360 wraps to 0, -1 to 355); the vertical one edits an
// elevation, the horizontal one an azimuth, of the observer or the sun by the radio buttons.
// A new window shows the settings as they stand. Closing it clears RenderWindowOpen and
// SceneFileName and destroys it; the scene and the settings stay for the next window.
//
// A control's automatic rendering waits for the events already queued: a burst of clicks
// during a slow rendering gives one rendering of the latest settings, not one per click.
// A drawing shows the busy cursor when the one before it took longer than a third of a second.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <functional>

#include "picture_view.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "single_window.h"
#include "up_down.h"
#include "viewer_state.h"

namespace quarn {

class TfrmRender : public SingleWindow<TfrmRender>, public AngleDisplay {
  public:
    static constexpr int kImageWidth = 550;
    static constexpr int kImageHeight = 418;

    TfrmRender();

    /// Reads the vertices of load, showing the angles in the spin buttons.
    bool Read_Points(SceneLoad& load) { return quarn::Read_Points(load, *this); }
    void showAngles(int elevation, int azimuth) override;

    /// The options of the renderings from now on.
    void setViewOptions(const ViewOptions& options) { m_viewOptions = options; }
    const ViewOptions& viewOptions() const { return m_viewOptions; }

    PixelBuffer& picture() { return m_picture; }
    Canvas& canvas() { return m_canvas; }
    /// Shows the picture as drawn so far.
    void refreshPicture() { Image1->update(); }
    /// Runs drawing (which draws the picture) and shows the picture; returns its result.
    bool drawPicture(const std::function<bool()>& drawing);
    /// True while an automatic rendering waits for the queued events.
    bool renderPending() const { return m_renderSoon.isActive(); }
    /// Renders once the queued events are handled, if "Autorender" is checked.
    void renderIfAuto();

    void Button1Click();
    void UpDown1Click();
    void UpDown2Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void CheckBox1Click();
    void Button2Click();
    void Button3Click();

    QWidget* Body;
    PictureView* Image1;
    QFrame* Panel2;
    QLineEdit* Edit1;
    UpDown* UpDown1;
    QLineEdit* Edit2;
    UpDown* UpDown2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button1;

  private:
    void buildControls();
    void connectHandlers();
    void showSettings();

    PixelBuffer m_picture{kImageWidth, kImageHeight};
    PixelCanvas m_canvas{m_picture};
    ViewOptions m_viewOptions;
    QTimer m_renderSoon;
    std::chrono::steady_clock::duration m_lastDrawing{};
};

/// The viewer window while it exists, otherwise nullptr.
extern TfrmRender* frmRender;

}  // namespace quarn

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
//
// The picture can be held: a left drag turns the observer, a right drag (or Shift + left) the
// sun, a degree every two pixels, switching the Observer/Sun choice to the pair it turns; the
// wheel zooms by 1.1 a notch; a double-click returns to the view the scene opened with; with
// the picture focused (a click; a dotted frame shows it), the arrow keys step the angles as the
// spin buttons do and + and - zoom. While the mouse moves, a reduced copy of the scene is drawn
// (PreviewScene); once it rests for kSettle or is let go, the scene itself, the picture the spin
// buttons would give. Without "Autorender" gestures change the settings only.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

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

    /// Remembers the view as it stands as the one the scene opened with.
    void rememberOpeningView();
    /// True while the picture shows the reduced scene of a moving view.
    bool showingPreview() const { return m_showingPreview; }

    /// How long the mouse must rest before the scene itself is drawn.
    static constexpr std::chrono::milliseconds kSettle{80};

    void Button1Click();
    void UpDown1Click();
    void UpDown2Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void CheckBox1Click();
    void Button2Click();
    void Button3Click();

    QWidget* Body;
    PictureView* Image1 = nullptr;  // null until built: the frame filters events before that
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A drag under way: where it started and the angles of its pair then.
    struct Drag {
        QPoint start;
        std::uint16_t elevation = 0, azimuth = 0;
    };

    void buildControls();
    void connectHandlers();
    void showSettings();
    void startDrag(const QMouseEvent& event);
    void moveDrag(const QMouseEvent& event);
    void endDrag();
    void wheel(const QWheelEvent& event);
    bool key(const QKeyEvent& event);
    void returnToOpeningView();
    void showPair(AnglePair pair);
    // Draws the reduced scene, made when the scene it reduces has changed.
    void drawPreview();

    PixelBuffer m_picture{kImageWidth, kImageHeight};
    PixelCanvas m_canvas{m_picture};
    ViewOptions m_viewOptions;
    QTimer m_renderSoon;
    std::chrono::steady_clock::duration m_lastDrawing{};
    std::optional<Drag> m_drag;
    QTimer m_previewSoon, m_settled;
    bool m_showingPreview = false;
    Scene m_preview;
    const void* m_previewOf = nullptr;  // the triangles of the scene m_preview reduces
    ViewAngles m_openingAngles = CurrentViewAngles();
    float m_openingZoom = ZoomFactor;
    int m_wheelEighths = 0;  // of a degree, not yet a whole notch
};

/// The viewer window while it exists, otherwise nullptr.
extern TfrmRender* frmRender;

}  // namespace quarn

// The picture control of the map window: shows the map image at its own size, with a
// cross-hair cursor, and hands every mouse press (any button) to its owner in image pixels.
// It paints only the part of the map that is exposed, from the map's own pixels: a map of
// 16384 x 16384 pixels is never converted as a whole for the screen (that would take 1 GB).
#pragma once

#include <QImage>
#include <QLabel>
#include <functional>

namespace quarn {

class MapImage : public QLabel {
  public:
    using PressHandler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)>;

    explicit MapImage(PressHandler onPress);

    /// Shows picture (a null image shows nothing).
    void setPicture(const QImage& picture);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    PressHandler m_onPress;
    QImage m_picture;
};

}  // namespace quarn

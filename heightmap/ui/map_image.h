// The picture control of the map window: shows the map image at its own size, with a
// cross-hair cursor, and hands every mouse press (any button) to its owner in image pixels.
#pragma once

#include <QLabel>
#include <functional>

namespace quarn {

class MapImage : public QLabel {
  public:
    using PressHandler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)>;

    explicit MapImage(PressHandler onPress);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    PressHandler m_onPress;
};

}  // namespace quarn

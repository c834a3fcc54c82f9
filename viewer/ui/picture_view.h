// Shows a PixelBuffer as it stands, one screen pixel per picture pixel; a click gives it the
// keyboard, and a dotted frame inside its edge shows that it has it.
#pragma once

#include <QWidget>

#include "pixel_buffer.h"

namespace quarn {

class PictureView : public QWidget {
  public:
    PictureView(const PixelBuffer& picture, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    const PixelBuffer& m_picture;
};

}  // namespace quarn

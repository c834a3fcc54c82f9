// Shows a PixelBuffer as it stands, one screen pixel per picture pixel.
#pragma once

#include <QWidget>

#include "pixel_buffer.h"

namespace quarn {

class PictureView : public QWidget {
  public:
    PictureView(const PixelBuffer& picture, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const PixelBuffer& m_picture;
};

}  // namespace quarn

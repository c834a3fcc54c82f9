#include "bmp_image.h"

#include "platform_error.h"

namespace quarn {

QImage LoadBmpImage(const std::string& fileName) {
    QImage image;
    if (!image.load(QString::fromStdString(fileName), "BMP"))
        throw PlatformError("Bitmap image is not valid");
    return image;
}

}  // namespace quarn

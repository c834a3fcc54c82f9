// The toolkit's PNG writer behind the 16-bit greyscale picture seam (grey16_image.h).
#pragma once

namespace quarn {

/// Installs Qt's PNG writer as the Grey16PngEncoder; needs no application object.
void InstallQtPngWriter();

}  // namespace quarn

#include "view_gestures.h"

#include <cmath>

#include "scene.h"

namespace quarn {

std::uint16_t DraggedAngle(std::uint16_t start, int pixels) {
    const auto degrees = static_cast<int>(std::nearbyint(double(pixels) / kPixelsPerDegree));
    return static_cast<std::uint16_t>(((start + degrees) % 360 + 360) % 360);
}

float WheelZoom(float zoom, int notches) {
    for (; notches > 0; --notches) {
        const float in = ZoomedIn(zoom);
        if (in > kMostZoom)
            break;
        zoom = in;
    }
    for (; notches < 0; ++notches) {
        const float out = ZoomedOut(zoom);
        if (out < kLeastZoom)
            break;
        zoom = out;
    }
    return zoom;
}

}  // namespace quarn

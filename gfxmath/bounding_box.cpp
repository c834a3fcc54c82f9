#include "bounding_box.h"

namespace quarn {

namespace {

void WidenAxis(float value, float& low, float& high) {
    if (value > high)
        high = value;
    if (value < low)
        low = value;
}

}  // namespace

void BoundingBox::widen(const Vec3& p) {
    WidenAxis(p.x, min.x, max.x);
    WidenAxis(p.y, min.y, max.y);
    WidenAxis(p.z, min.z, max.z);
}

}  // namespace quarn

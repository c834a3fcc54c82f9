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

void BoundingBox::widen(const BoundingBox& later) {
    const auto raise = [](float value, float& high) { high = value > high ? value : high; };
    const auto lower = [](float value, float& low) { low = value < low ? value : low; };
    raise(later.max.x, max.x), raise(later.max.y, max.y), raise(later.max.z, max.z);
    lower(later.min.x, min.x), lower(later.min.y, min.y), lower(later.min.z, min.z);
}

void BoundingBox::widen(const Vec3& p) {
    WidenAxis(p.x, min.x, max.x);
    WidenAxis(p.y, min.y, max.y);
    WidenAxis(p.z, min.z, max.z);
}

}  // namespace quarn

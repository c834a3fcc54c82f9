#include "window_mapping.h"

#include "checked_float.h"

namespace quarn {

WindowMapping g_WindowMapping;

namespace {

double d(float v) {
    return static_cast<double>(v);
}

// A 32-bit device difference that wraps like the machine's integer subtraction, without the
// undefined behaviour of signed overflow.
double deviceSpan(std::int32_t from, std::int32_t to) {
    const auto span = static_cast<std::uint32_t>(to) - static_cast<std::uint32_t>(from);
    return static_cast<double>(static_cast<std::int32_t>(span));
}

}  // namespace

void SetWorldWindow(WindowMapping& m, float xmin, float ymin, float xmax, float ymax) {
    m.xmin = xmin;
    m.ymin = ymin;
    m.xmax = xmax;
    m.ymax = ymax;
}

void SetDeviceViewport(WindowMapping& m, std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom) {
    m.left = left;
    m.top = top;
    m.right = right;
    m.bottom = bottom;
    // Offsets use the stored 32-bit scales, so a conversion sees exactly these values.
    m.sx = CheckedToFloat(CheckedDivide(deviceSpan(left, right), d(m.xmax) - d(m.xmin)));
    m.ox = CheckedToFloat(static_cast<double>(left) - d(m.sx) * d(m.xmin));
    // Device rows grow downward: ymin goes to the bottom row.
    m.sy = CheckedToFloat(CheckedDivide(deviceSpan(bottom, top), d(m.ymax) - d(m.ymin)));
    m.oy = CheckedToFloat(static_cast<double>(bottom) - d(m.sy) * d(m.ymin));
}

void WorldToDevice(const WindowMapping& m, float x, float y, std::int32_t& ix, std::int32_t& iy) {
    ix = CheckedRoundToInt32(d(m.sx) * d(x) + d(m.ox));
    iy = CheckedRoundToInt32(d(m.sy) * d(y) + d(m.oy));
}

void DeviceToWorld(const WindowMapping& m, std::int32_t ix, std::int32_t iy, float& x, float& y) {
    x = CheckedToFloat(CheckedDivide(static_cast<double>(ix) - d(m.ox), d(m.sx)));
    y = CheckedToFloat(CheckedDivide(static_cast<double>(iy) - d(m.oy), d(m.sy)));
}

}  // namespace quarn

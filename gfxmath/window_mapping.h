// A linear mapping between a world rectangle and a device rectangle, and the one process-wide
// mapping that the generator and the viewer share.
//
// SetWorldWindow stores the world rectangle; SetDeviceViewport stores the device rectangle and
// derives device = s * world + o per axis (32-bit floats). The generator and the viewer each
// build their mapping as a value and publish it in g_WindowMapping (the last set-up wins). World
// ymin maps to the device bottom and ymax to the top, so with top < bottom the y axis is flipped.
// Conversions do not clip. Faults are the platform's floating-point errors: a world window of zero
// width or height ("Floating point division by zero", or "Invalid floating point operation" when
// the device extent is zero too), a zero scale in DeviceToWorld, and a device value beyond the
// 32-bit range in WorldToDevice ("Invalid floating point operation"). All fields start at 0.
#pragma once

#include <cstdint>

namespace quarn {

struct WindowMapping {
    float xmin = 0, ymin = 0, xmax = 0, ymax = 0;           // WorldWindow
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // DeviceViewport
    float sx = 0, ox = 0, sy = 0, oy = 0;                   // derived
};

/// The process-wide mapping: the one the generator or the viewer set up last.
extern WindowMapping g_WindowMapping;

/// Stores the world rectangle; conversions change only at the next SetDeviceViewport.
void SetWorldWindow(WindowMapping& m, float xmin, float ymin, float xmax, float ymax);
/// Stores the device rectangle and derives sx, ox, sy, oy from it and the world rectangle.
void SetDeviceViewport(WindowMapping& m, std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom);
/// Nearest pixel, halves to even, rounded once from double.
void WorldToDevice(const WindowMapping& m, float x, float y, std::int32_t& ix, std::int32_t& iy);
/// ((ix - ox) / sx, (iy - oy) / sy) as 32-bit floats.
void DeviceToWorld(const WindowMapping& m, std::int32_t ix, std::int32_t iy, float& x, float& y);

}  // namespace quarn

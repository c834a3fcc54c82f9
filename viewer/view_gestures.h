// How the mouse and the keys on the viewer's picture change the view: plain numbers in,
// settings out, so that the window only passes its events on.
#pragma once

#include <cstdint>

namespace quarn {

/// Pixels the mouse moves for one degree of turn.
inline constexpr int kPixelsPerDegree = 2;

/// The zoom the viewer keeps to: wheel notches stop at these ends.
inline constexpr float kLeastZoom = 0.01f;
inline constexpr float kMostZoom = 100.0f;

/// An angle turned from start by a drag of pixels: a degree every two pixels (halves to
/// even), wrapping 0..359.
std::uint16_t DraggedAngle(std::uint16_t start, int pixels);

/// The zoom after notches of the wheel (positive: towards the picture, times 1.1 each;
/// negative: divided by 1.1 each), kept within kLeastZoom..kMostZoom; a notch that would leave
/// the range leaves the zoom as it is.
float WheelZoom(float zoom, int notches);

}  // namespace quarn

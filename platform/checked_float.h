// Checked floating-point steps: a fault is a PlatformError, never a silent infinity or NaN.
//
// Texts: "Floating point division by zero" (x / 0 with x not 0), "Invalid floating point
// operation" (0 / 0, NaN operands, integer conversion out of range), "Floating point overflow"
// (a finite result too large for its 32-bit float).
#pragma once

#include <cstdint>

namespace quarn {

/// a / b, raising the division-by-zero or invalid-operation fault.
double CheckedDivide(double a, double b);

/// value rounded to a 32-bit float; NaN is invalid, a result beyond the float range overflows.
float CheckedToFloat(double value);

/// Nearest 32-bit integer, halves to even; NaN or out of range is an invalid operation.
std::int32_t CheckedRoundToInt32(double value);

/// Raises "Invalid floating point operation" when value is NaN.
void CheckNotNaN(double value);
/// Raises "Invalid floating point operation" when value is NaN or infinite.
void CheckFinite(double value);

[[noreturn]] void ThrowDivisionByZero();
[[noreturn]] void ThrowInvalidOperation();
[[noreturn]] void ThrowOverflow();

}  // namespace quarn

#include "checked_float.h"

#include <cmath>
#include <limits>

#include "platform_error.h"

namespace quarn {

void ThrowDivisionByZero() {
    throw PlatformError("Floating point division by zero");
}
void ThrowInvalidOperation() {
    throw PlatformError("Invalid floating point operation");
}
void ThrowOverflow() {
    throw PlatformError("Floating point overflow");
}

double CheckedDivide(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        ThrowInvalidOperation();
    if (b == 0.0) {
        if (a == 0.0)
            ThrowInvalidOperation();
        ThrowDivisionByZero();
    }
    const double q = a / b;
    if (std::isinf(q) && !std::isinf(a))
        ThrowOverflow();
    return q;
}

float CheckedToFloat(double value) {
    if (std::isnan(value))
        ThrowInvalidOperation();
    const auto f = static_cast<float>(value);
    if (std::isinf(f) && !std::isinf(value))
        ThrowOverflow();
    return f;
}

std::int32_t CheckedRoundToInt32(double value) {
    if (std::isnan(value))
        ThrowInvalidOperation();
    const double r = std::nearbyint(value);
    if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        ThrowInvalidOperation();
    return static_cast<std::int32_t>(r);
}

void CheckNotNaN(double value) {
    if (std::isnan(value))
        ThrowInvalidOperation();
}

void CheckFinite(double value) {
    if (!std::isfinite(value))
        ThrowInvalidOperation();
}

}  // namespace quarn

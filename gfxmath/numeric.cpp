#include "numeric.h"

#include <cmath>

#include "checked_float.h"

namespace quarn {

std::int32_t IntMax(std::int32_t a, std::int32_t b) {
    return a > b ? a : b;
}

double RealMax(double a, double b) {
    return a > b ? a : b;
}

double RealMin(double a, double b) {
    return a < b ? a : b;
}

double RealPower(double a, double b) {
    CheckNotNaN(a);
    CheckNotNaN(b);
    // ln 0 is a pole and ln of a negative number has no real value.
    if (a == 0.0)
        ThrowDivisionByZero();
    if (a < 0.0)
        ThrowInvalidOperation();
    const double exponent = b * std::log(a);
    CheckNotNaN(exponent);
    const double result = std::exp(exponent);
    if (std::isinf(result) && !std::isinf(exponent))
        ThrowOverflow();
    return result;
}

std::string TrimLeftBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
}

}  // namespace quarn

// Scalar and text helpers of the generator's set-up and the shading.
//
// Reals are doubles (callers pass and store 32-bit floats, which doubles hold exactly).
// RealPower is exp(b ln a), defined for a > 0: a = 0 raises "Floating point division by
// zero", a < 0 "Invalid floating point operation", a result beyond the double range
// "Floating point overflow".
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// The larger; b when equal.
std::int32_t IntMax(std::int32_t a, std::int32_t b);
/// a if a > b, otherwise b.
double RealMax(double a, double b);
/// a if a < b, otherwise b.
double RealMin(double a, double b);
/// a to the power b as exp(b * ln a).
double RealPower(double a, double b);
/// s without its leading spaces and tabs (other white space stays).
std::string TrimLeftBlanks(const std::string& s);

}  // namespace quarn

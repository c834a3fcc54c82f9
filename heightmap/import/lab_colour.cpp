#include "lab_colour.h"

#include <array>
#include <cmath>

namespace quarn {

namespace {

constexpr float kLightnessWeight = 0.5f;
// The relative luminance of lightness 40: ((40 + 16) / 116) cubed.
constexpr float kDarkLuminance = 0.1125f;

// sRGB channel values to linear light, once.
const std::array<float, 256>& LinearChannels() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> channels{};
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const float c = static_cast<float>(i) / 255.0f;
            channels[i] = c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
        }
        return channels;
    }();
    return table;
}

float Red(Colour colour) {
    return LinearChannels()[colour & 255];
}
float Green(Colour colour) {
    return LinearChannels()[(colour >> 8) & 255];
}
float Blue(Colour colour) {
    return LinearChannels()[(colour >> 16) & 255];
}

float LabCurve(float t) {
    return t > 0.008856f ? std::cbrt(t) : 7.787f * t + 16.0f / 116.0f;
}

}  // namespace

Lab ToLab(Colour colour) {
    const float r = Red(colour), g = Green(colour), b = Blue(colour);
    const float x = LabCurve((0.4124f * r + 0.3576f * g + 0.1805f * b) / 0.95047f);
    const float y = LabCurve(0.2126f * r + 0.7152f * g + 0.0722f * b);
    const float z = LabCurve((0.0193f * r + 0.1192f * g + 0.9505f * b) / 1.08883f);
    return {116.0f * y - 16.0f, 500.0f * (x - y), 200.0f * (y - z)};
}

float BandDistance(const Lab& first, const Lab& second) {
    const float l = kLightnessWeight * (first.l - second.l);
    const float a = first.a - second.a, b = first.b - second.b;
    return l * l + a * a + b * b;
}

bool IsDark(Colour colour) {
    return 0.2126f * Red(colour) + 0.7152f * Green(colour) + 0.0722f * Blue(colour) <
           kDarkLuminance;
}

}  // namespace quarn

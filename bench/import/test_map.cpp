#include "test_map.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "band_map.h"

namespace quarn::bench {

namespace {

// mt19937's sequence is fixed by the standard, unlike the library's distributions: the same
// seed draws the same hills everywhere.
double Uniform(std::mt19937& random, double low, double high) {
    return low + (high - low) * double(random()) / 4294967296.0;
}

// The tint of a pixel: its centre's band, or the mean of 4 x 4 samples where a boundary may
// cross it (its corners differ).
struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb TintAt(const Landscape& land, int x, int y, bool antialiased, bool crossed) {
    const Colour c = Tints()[land.bandAt(x + 0.5, y + 0.5)];
    if (!antialiased || !crossed)
        return {double(c & 255), double(c >> 8 & 255), double(c >> 16 & 255)};
    Rgb sum;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const Colour s = Tints()[land.bandAt(x + (i + 0.5) / 4, y + (j + 0.5) / 4)];
            sum.r += double(s & 255) / 16;
            sum.g += double(s >> 8 & 255) / 16;
            sum.b += double(s >> 16 & 255) / 16;
        }
    return sum;
}

// Draws the bands, the shading and the contour lines row by row from the pixels' corners, so
// that a large map needs no more than its picture.
void DrawBands(const Landscape& land, unsigned degradations, QImage& image) {
    const int width = land.width(), height = land.height();
    const double extent = std::max(width, height);
    std::vector<double> above(std::size_t(width) + 1), below(above.size());
    for (int x = 0; x <= width; ++x)
        below[std::size_t(x)] = land.at(x, 0);
    for (int y = 0; y < height; ++y) {
        std::swap(above, below);
        for (int x = 0; x <= width; ++x)
            below[std::size_t(x)] = land.at(x, y + 1);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double c00 = above[std::size_t(x)], c10 = above[std::size_t(x) + 1];
            const double c01 = below[std::size_t(x)], c11 = below[std::size_t(x) + 1];
            const auto band = [](double z) { return std::clamp(int(z), 0, kBands - 1); };
            const bool crossed =
                band(c00) != band(c10) || band(c00) != band(c01) || band(c00) != band(c11);
            if (crossed && (degradations & kContourLines)) {
                row[x] = qRgb(0, 0, 0);
                continue;
            }
            Rgb tint = TintAt(land, x, y, degradations & kAntialiased, crossed);
            if (degradations & kHillShading) {
                // Light from the top left: slopes facing it up to 25 % of the way to white,
                // those facing away up to 25 % to black, so that no channel clips and the hue
                // stays.
                const double gx = (c10 - c00 + c11 - c01) / 2, gy = (c01 - c00 + c11 - c10) / 2;
                const double shade = 0.25 * std::tanh((gx + gy) * extent / 12);
                const auto shaded = [shade](double v) {
                    return shade > 0 ? v * (1 - shade) : v - (255 - v) * shade;
                };
                tint = {shaded(tint.r), shaded(tint.g), shaded(tint.b)};
            }
            const auto channel = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
            row[x] = qRgb(channel(tint.r), channel(tint.g), channel(tint.b));
        }
    }
}

// A grid every fifth of the map and place names and spot heights about every 200 x 200
// pixels, black, as printed maps carry them.
void DrawLettering(QImage& image, unsigned seed) {
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    const int width = image.width(), height = image.height();
    const int step = std::max(width, height) / 5;
    for (int x = step / 2; x < width; x += step)
        painter.drawLine(x, 0, x, height - 1);
    for (int y = step / 2; y < height; y += step)
        painter.drawLine(0, y, width - 1, y);
    static const char* const kNames[] = {"Ash Hill", "Mt. Erran", "Cold Knoll", "Broad Fell",
                                         "Kesh",     "Tor 12",    "Stone Rigg", "Low Moss"};
    std::mt19937 random(seed + 1000);
    const int labels = std::max(2, int(double(width) * height / 40000));
    QFont font;
    for (int i = 0; i < labels; ++i) {
        font.setPixelSize(int(Uniform(random, 11, 18)));
        font.setBold(random() % 3 == 0);
        painter.setFont(font);
        const int x = int(Uniform(random, 0, width - 60)), y = int(Uniform(random, 15, height));
        const QString text = random() % 2 == 0 ? QString(kNames[random() % 8])
                                               : QString::number(int(Uniform(random, 50, 1000)));
        painter.drawText(x, y, text);
    }
}

}  // namespace

const std::array<Colour, kBands>& Tints() {
    static const std::array<Colour, kBands> tints = {
        PackRGB(60, 140, 80),   PackRGB(112, 176, 96),  PackRGB(168, 204, 120),
        PackRGB(220, 227, 160), PackRGB(240, 216, 144), PackRGB(224, 176, 112),
        PackRGB(200, 136, 80),  PackRGB(168, 104, 56),  PackRGB(136, 80, 64),
        PackRGB(244, 244, 244)};
    return tints;
}

double BandElevation(int band) {
    return kUnitsPerBand * band + kUnitsPerBand / 2;
}

void WriteLegend(const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out)
        return;
    for (int b = 0; b < kBands; ++b) {
        const Colour c = Tints()[std::size_t(b)];
        std::fprintf(out, "%g %u %u %u\n", BandElevation(b), c & 255, c >> 8 & 255, c >> 16 & 255);
    }
    std::fclose(out);
}

Landscape::Landscape(unsigned seed, int width, int height) : m_width(width), m_height(height) {
    std::mt19937 random(seed);
    const double extent = std::max(width, height);
    // Hills that reach past the edges, as on a sheet cut from a larger map.
    for (int i = 0; i < 8; ++i) {
        const double x = Uniform(random, -0.1, 1.1) * width / extent;
        const double y = Uniform(random, -0.1, 1.1) * height / extent;
        m_hills.push_back({x, y, Uniform(random, 0.08, 0.25), Uniform(random, 0.3, 1.0)});
    }
    m_tiltX = Uniform(random, -0.4, 0.4);
    m_tiltY = Uniform(random, -0.4, 0.4);
    // The range from a 257 x 257 sampling: the extremes of a smooth field lie within a few
    // hundredths of a band of it, and bandAt keeps any overshoot in the outer bands.
    double low = raw(0, 0), high = low;
    for (int j = 0; j <= 256; ++j)
        for (int i = 0; i <= 256; ++i) {
            const double v = raw(width * i / 256.0, height * j / 256.0);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    m_low = low;
    m_scale = (kBands - 1) / (high - low);
}

double Landscape::raw(double x, double y) const {
    const double extent = std::max(m_width, m_height);
    const double u = x / extent, v = y / extent;
    double z = m_tiltX * u + m_tiltY * v;
    for (const Hill& h : m_hills)
        z += h.height *
             std::exp(-((u - h.x) * (u - h.x) + (v - h.y) * (v - h.y)) / (h.radius * h.radius));
    return z;
}

double Landscape::at(double x, double y) const {
    return 0.5 + (raw(x, y) - m_low) * m_scale;
}

std::uint8_t Landscape::bandAt(double x, double y) const {
    return static_cast<std::uint8_t>(std::clamp(int(at(x, y)), 0, kBands - 1));
}

std::vector<std::uint8_t> Landscape::bands() const {
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(m_width) * std::size_t(m_height));
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            out.push_back(bandAt(x + 0.5, y + 0.5));
    return out;
}

std::vector<float> Landscape::heights() const {
    std::vector<float> out;
    out.reserve(std::size_t(m_width) * std::size_t(m_height));
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            out.push_back(float(at(x + 0.5, y + 0.5)));
    return out;
}

QImage DrawMap(const Landscape& land, unsigned degradations) {
    QImage image(land.width(), land.height(), QImage::Format_RGB32);
    DrawBands(land, degradations, image);
    if (degradations & kLettering)
        DrawLettering(image, unsigned(land.width() * 7919 + land.height()));
    return image;
}

bool SaveMap(const Landscape& land, unsigned degradations, const std::string& path) {
    const bool jpeg = degradations & kJpeg;
    return DrawMap(land, degradations)
        .save(QString::fromStdString(path), jpeg ? "JPG" : "PNG", jpeg ? 75 : -1);
}

void SaveCleanMap(const Landscape& land, const std::string& path) {
    SwatchColours palette{};
    std::copy(Tints().begin(), Tints().end(), palette.begin());
    WriteBandMap(path, land.width(), land.height(), palette,
                 [&](int x, int y) { return land.bandAt(x + 0.5, y + 0.5); });
}

}  // namespace quarn::bench

// The import benchmark's maps: smooth hills fields of known heights cut into bands of
// hypsometric tints, drawn as scans and exports show them.
//
// A landscape's heights are in band spacings, from 0.5 to kBands - 0.5 over the map: band b
// covers [b, b + 1) and its legend elevation is 100 b + 50 map units.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "colour.h"

class QImage;

namespace quarn::bench {

inline constexpr int kBands = 10;
inline constexpr double kUnitsPerBand = 100;

/// The band colours, lowland green to snow, by band.
const std::array<Colour, kBands>& Tints();

/// The legend's elevation of band b, in map units.
double BandElevation(int band);

/// Writes the legend as `gdaldem color-relief` reads it: "ELEVATION R G B" per band.
void WriteLegend(const std::string& path);

class Landscape {
  public:
    /// A field of hills drawn from seed, scaled to width x height pixels.
    Landscape(unsigned seed, int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    /// The height at the image point (x, y), in pixels from the top-left corner.
    double at(double x, double y) const;
    std::uint8_t bandAt(double x, double y) const;

    /// Each pixel's band and height at its centre, row after row from the top.
    std::vector<std::uint8_t> bands() const;
    std::vector<float> heights() const;

  private:
    struct Hill {
        double x, y, radius, height;
    };
    double raw(double x, double y) const;

    int m_width, m_height;
    std::vector<Hill> m_hills;
    double m_tiltX = 0, m_tiltY = 0, m_low = 0, m_scale = 1;
};

/// What is done to the drawn map, in this order.
enum Degradation : unsigned {
    kAntialiased = 1,   // drawn at 4 x 4 samples a pixel and averaged
    kHillShading = 2,   // tints darkened or lightened by up to 25 % by slope
    kContourLines = 4,  // 1-px black lines along the band boundaries
    kLettering = 8,     // black labels and a grid
    kJpeg = 16,         // saved as JPEG of quality 75
    kAllDegradations = 31,
};

/// The map of land with degradations; a QGuiApplication must exist for the lettering.
QImage DrawMap(const Landscape& land, unsigned degradations);

/// Draws the map and saves it to path (JPEG when degraded so, else PNG); false when not saved.
bool SaveMap(const Landscape& land, unsigned degradations, const std::string& path);

/// Writes the clean map: a 16-colour BMP of the tints, each pixel its band at its centre.
void SaveCleanMap(const Landscape& land, const std::string& path);

}  // namespace quarn::bench

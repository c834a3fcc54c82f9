// Giving each pixel its band: the nearest band colour in CIELAB, lightness weighted down, never
// dithered, looked up in a table of 64 x 64 x 64 colour cells computed once per palette. A cell
// whose own band colour would be judged nearer another band (two bands in one cell) is
// decided pixel by pixel, so every pixel of exactly a band's colour gets that band.
//
// SmoothFringes then gives each pixel whose colour is near no band (the anti-aliased fringe
// between two bands, a JPEG's ringing) and whose band no neighbour near its colour has, the
// band of most of its eight neighbours that are near theirs (of a tie, the lowest).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "lab_colour.h"
#include "map_import.h"
#include "pixel_cells.h"

namespace quarn {

/// A band's colour as hill shading may draw it, and what the shading costs in band distance: a
/// pixel is as near the band as it is to the shade of least distance plus cost. The cost makes
/// a pixel of a tint that is itself a darker or lighter blend of another band's (a map's
/// greens, say) keep its own band.
struct Shade {
    Lab lab;
    float cost = 0;

    float distance(const Lab& other) const { return BandDistance(lab, other) + cost; }
};

class BandTable {
  public:
    explicit BandTable(const std::vector<Colour>& palette);

    /// The band of colour, with kNearBand when the colour is near it.
    std::uint8_t classify(Colour colour) const {
        const std::uint8_t entry = m_table[CellOf(colour)];
        return entry == kDecidePerPixel ? nearest(colour) : entry;
    }
    Colour colourOf(std::uint8_t band) const { return m_palette[band]; }

  private:
    static constexpr std::uint8_t kDecidePerPixel = 0xFF;
    static std::size_t CellOf(Colour colour) {
        return ((colour >> 2) & 63) | ((colour >> 4) & (63 << 6)) | ((colour >> 6) & (63 << 12));
    }
    std::uint8_t nearest(Colour colour) const;

    std::vector<Colour> m_palette;
    std::vector<std::vector<Shade>> m_shades;  // each band's colour, lit and shaded
    std::vector<std::uint8_t> m_table;
};

/// colour and its blends with black and with white of up to a quarter, as hill shading draws it.
std::vector<Shade> ShadesOf(Colour colour);

/// Classifies every pixel of image into cells' band bits and kNearBand, keeping kDark and kLine;
/// with a lineBand the dark pixels marked kLine take that band instead, and every pixel loses the
/// mark (the lighter ones beside a line, its ringing, keep their colour's band). True when every
/// pixel is exactly its band's colour: a clean map, to be taken as it is.
bool ClassifyPixels(const RgbImage& image, const BandTable& table, PixelCells& cells,
                    std::optional<std::uint8_t> lineBand);

/// The share of the pixels near their band, 0 to 1.
double NearBandShare(const PixelCells& cells);

/// Gives the pixels near no band the band of their neighbours.
void SmoothFringes(PixelCells& cells);

/// Gives each pixel the band of most of its 3 x 3 square, pass after pass while any changes (at
/// most 8): stray pixels of JPEG noise and the corners that filled linework leaves go, while smooth
/// band edges stay where they are.
void RemoveStrays(PixelCells& cells);

}  // namespace quarn

// A map's pixels as levels, band after band of rows from the top, with what the feature
// transform of a band needs from beyond it.
//
// Each class has a level byte: 0 to 15, or kNoLevel for none. For the current band it holds
// the band's level bytes, its rows as runs of one level, and per level and column the last row
// of that level above the band and the first one at or below its bottom, so that the
// transform of the features of any range of levels can be seeded (FeatureTransform::Band).
// Memory: a byte per pixel of a band and 12 per run, a bit mask per row of the map, and per
// level and column an int32 plus a Row per band (Row as in FeatureTransform). The last band
// may be shorter; a map without rows has no band.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "feature_transform.h"
#include "map_raster.h"

namespace quarn {

inline constexpr std::uint8_t kNoLevel = 0xFF;

/// The level byte of each class.
using LevelBytes = std::array<std::uint8_t, kNoClass + 1>;

/// Neighbouring pixels of a row at one level.
struct LevelRun {
    ColumnSpan columns;
    std::uint8_t level = 0;
};

template <typename Row>
class BandedLevels {
  public:
    /// Reads the whole raster once, levels 0 to levelCount - 1, in bands of bandRows rows.
    BandedLevels(const ClassifiedRaster& raster, const LevelBytes& levelOf, std::int32_t levelCount,
                 std::int32_t bandRows);

    /// How many bands the map has.
    std::int32_t bandCount() const { return m_bandCount; }
    /// The current band, from 0 at the top.
    std::int32_t band() const { return m_band; }
    /// The current band's first row.
    std::int32_t top() const { return m_band * m_bandRows; }
    /// The row after the current band's last.
    std::int32_t bottom() const;

    /// Goes to the first band.
    void restart();
    /// Goes to the next band (past the last one when there is none).
    void advance();

    /// The current band's level bytes, row after row.
    const std::uint8_t* levels() const { return m_levels.data(); }
    /// The bits 1 << level of the levels in row y of the map, and bit 16 for pixels of none.
    std::uint32_t rowLevels(std::int32_t y) const { return m_rowLevels[std::size_t(y)]; }
    /// The runs of one level each that make up row y of the current band, left to right.
    const std::vector<LevelRun>& runs(std::int32_t y) const {
        return m_runs[std::size_t(y - top())];
    }

    /// Fills lastAbove and firstBelow (a value per column) for the features of levels
    /// from..to - 1 around the current band.
    void seed(std::int32_t from, std::int32_t to, std::int32_t* lastAbove, Row* firstBelow) const;

  private:
    void load();

    const ClassifiedRaster& m_raster;
    LevelBytes m_levelOf;
    std::int32_t m_levelCount, m_bandRows, m_bandCount, m_band = 0;
    std::vector<std::uint32_t> m_rowLevels;
    std::vector<Row> m_firstBelow;          // per band, level and column
    std::vector<std::int32_t> m_lastAbove;  // per level and column, above the current band
    std::vector<std::uint8_t> m_levels;
    std::vector<std::vector<LevelRun>> m_runs;  // per row of the band
};

/// The bit of level in BandedLevels::rowLevels.
inline std::uint32_t LevelBit(std::uint8_t level) {
    return level == kNoLevel ? 1u << 16 : 1u << level;
}

}  // namespace quarn

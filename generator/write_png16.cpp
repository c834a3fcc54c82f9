#include "write_png16.h"

#include "grey16_image.h"

namespace quarn {

void FormatPNG16(BinaryWriter& out, const Heightmap16& map) {
    out.writeBytes(EncodeGrey16Png(
        {map.cols, map.rows, map.samples, kHeightRangeKey, HeightRangeText(map.range)}));
}

}  // namespace quarn

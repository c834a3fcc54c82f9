#include "write_png16.h"

#include "grey16_image.h"
#include "map_place.h"

namespace quarn {

void FormatPNG16(BinaryWriter& out, const Heightmap16& map) {
    out.writeBytes(EncodeGrey16Png(
        {map.cols, map.rows, map.samples, kHeightRangeKey, HeightRangeText(map.range)}));
}

void WritePNG16Placed(BinaryWriter& out, const HeightmapToWrite& heightmap) {
    FormatPNG16(out, heightmap.map);
    if (heightmap.place)
        WriteMapPlace(heightmap.fileName, *heightmap.place);
}

}  // namespace quarn

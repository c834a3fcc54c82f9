#include "test_bmp.h"

namespace quarn::testing {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> TestBmp::bytes() const {
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(signature[0]));
    out.push_back(static_cast<std::uint8_t>(signature[1]));
    const auto tableBytes = 4 * colourTable.size();
    Put(out, static_cast<std::uint32_t>(54 + tableBytes + tail.size()), 4);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(pixelDataOffset), 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(width), 4);
    Put(out, static_cast<std::uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, bitsPerPixel, 2);
    Put(out, compression, 4);
    Put(out, static_cast<std::uint32_t>(tail.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, static_cast<std::uint32_t>(coloursUsed), 4);
    Put(out, importantColours, 4);
    for (const auto& entry : colourTable)
        out.insert(out.end(), entry.begin(), entry.end());
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

TestBmp FourBitImage(std::int32_t width, std::int32_t height,
                     const std::array<std::uint32_t, 16>& rgb,
                     const std::function<std::uint8_t(std::int32_t, std::int32_t)>& indexOf,
                     bool topDown) {
    TestBmp bmp;
    bmp.width = width;
    bmp.height = topDown ? -height : height;
    for (const std::uint32_t c : rgb)
        bmp.colourTable.push_back({static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                   static_cast<std::uint8_t>(c >> 16), 0});
    const auto rowBytes = static_cast<std::size_t>((width + 7) / 8 * 4);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = topDown ? row : height - 1 - row;
        std::vector<std::uint8_t> line(rowBytes, 0);
        for (std::int32_t x = 0; x < width; ++x) {
            const auto nibble = static_cast<std::uint8_t>(indexOf(x, y) & 15);
            auto& byte = line[static_cast<std::size_t>(x / 2)];
            byte = static_cast<std::uint8_t>(byte | (x % 2 == 0 ? nibble << 4 : nibble));
        }
        bmp.tail.insert(bmp.tail.end(), line.begin(), line.end());
    }
    return bmp;
}

}  // namespace quarn::testing

#include "test_bmp.h"

namespace quarn::testing {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// After the 40 standard bytes, words as editors write them: the red, green, blue and alpha
// masks, the colour space "sRGB", 9 endpoint and 3 gamma words, then the rendering intent.
constexpr std::array<std::uint32_t, 18> kLaterHeaderWords{
    0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x73524742, 0, 0, 0, 0,
    0,          0,          0,          0,          0,          0, 0, 0, 4};

bool IsCore(std::uint32_t infoHeaderSize) {
    return infoHeaderSize == 12;
}

}  // namespace

std::vector<std::uint8_t> TestBmp::bytes() const {
    const bool core = IsCore(infoHeaderSize);
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(signature[0]));
    out.push_back(static_cast<std::uint8_t>(signature[1]));
    Put(out, 0, 4);  // the file size, known at the end
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(pixelDataOffset), 4);
    Put(out, infoHeaderSize, 4);
    const int sizeWidth = core ? 2 : 4;
    Put(out, static_cast<std::uint32_t>(width), sizeWidth);
    Put(out, static_cast<std::uint32_t>(height), sizeWidth);
    Put(out, 1, 2);
    Put(out, bitsPerPixel, 2);
    if (!core) {
        Put(out, compression, 4);
        Put(out, static_cast<std::uint32_t>(tail.size()), 4);
        Put(out, 2835, 4);
        Put(out, 2835, 4);
        Put(out, static_cast<std::uint32_t>(coloursUsed), 4);
        Put(out, importantColours, 4);
        for (std::size_t word = 0; 40 + 4 * word < infoHeaderSize; ++word)
            Put(out, word < kLaterHeaderWords.size() ? kLaterHeaderWords[word] : 0, 4);
    }
    for (const auto& entry : colourTable)
        out.insert(out.end(), entry.begin(), entry.end() - (core ? 1 : 0));
    out.insert(out.end(), tail.begin(), tail.end());
    for (std::size_t i = 0; i < 4; ++i)
        out[2 + i] = static_cast<std::uint8_t>(out.size() >> (8 * i));
    return out;
}

TestBmp WithInfoHeader(TestBmp bmp, std::uint32_t size) {
    bmp.infoHeaderSize = size;
    const std::size_t entrySize = IsCore(size) ? 3 : 4;
    bmp.pixelDataOffset = static_cast<std::int32_t>(14 + size + entrySize * bmp.colourTable.size());
    return bmp;
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

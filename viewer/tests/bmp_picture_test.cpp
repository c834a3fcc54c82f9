#include "bmp_picture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quarn {
namespace {

std::uint32_t Field(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | b[at + i];
    return value;
}

TEST(BmpPicture, HeadersThenBottomUpPaddedBlueGreenRedRows) {
    PixelBuffer picture(2, 2);
    picture.setPixel(0, 0, PackRGB(1, 2, 3));  // top left
    picture.setPixel(1, 1, PackRGB(7, 8, 9));  // bottom right
    MemorySink sink;
    BinaryWriter out(sink);
    WriteBmp24(out, picture);
    const auto& b = sink.bytes();
    ASSERT_EQ(b.size(), 54u + 2 * 8);
    // Signature, file size, pixel offset, width, height and bits per pixel.
    EXPECT_EQ(std::tuple(b[0], b[1], Field(b, 2), Field(b, 10), Field(b, 18), Field(b, 22), b[28]),
              std::tuple('B', 'M', 70u, 54u, 2u, 2u, 24));
    const std::vector<std::uint8_t> bottom(b.begin() + 54, b.begin() + 62);
    const std::vector<std::uint8_t> top(b.begin() + 62, b.end());
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{0, 0, 0, 9, 8, 7, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{3, 2, 1, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace quarn

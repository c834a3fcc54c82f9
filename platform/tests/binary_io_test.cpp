#include "binary_io.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fault_text.h"

namespace quarn {
namespace {

std::istringstream StreamOf(const std::vector<std::uint8_t>& bytes) {
    return std::istringstream(std::string(bytes.begin(), bytes.end()));
}

// The 32-bit fields are read as the field decoders below read them.
TEST(BinaryReader, SmallerFieldsAreLittleEndianToo) {
    auto in = StreamOf({0x34, 0x12, 0xAB});
    BinaryReader reader(in);
    EXPECT_EQ(reader.readUint16(), 0x1234);
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.readUint8(), 0xAB);
    EXPECT_TRUE(reader.atEnd());
}

TEST(BinaryReader, ShortReadsFaultForAFieldButNotForReadAvailable) {
    auto empty = StreamOf({});
    EXPECT_TRUE(BinaryReader(empty).atEnd());
    auto in = StreamOf({0x01, 0x02, 0x03});
    BinaryReader reader(in);
    EXPECT_EQ(testing::FaultText([&] { reader.readInt32(); }), "Read beyond end of file");
    auto again = StreamOf({0x01, 0x02, 0x03});
    BinaryReader available(again);
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(available.readAvailable(buffer), 3u);
    EXPECT_EQ(buffer[2], 0x03);
    EXPECT_TRUE(available.atEnd());
    // The stream stays usable: a further read finds nothing rather than a failed state.
    EXPECT_EQ(available.readAvailable(buffer), 0u);
}

// Decoding a block of records field by field reads what PutUint32 writes and the readers read,
// little-endian.
TEST(FieldDecoders, ReadTheBytesThatPutAndTheReadersAgreeOn) {
    const struct {
        std::array<std::uint8_t, 4> bytes;
        std::uint32_t word;
        std::int32_t whole;
    } cases[] = {{{0x01, 0x02, 0x03, 0x04}, 0x04030201u, 0x04030201},
                 {{0xFE, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFEu, -2},
                 {{0x00, 0x00, 0x80, 0x3F}, 0x3F800000u, 0x3F800000},
                 {{0x00, 0x00, 0x00, 0x80}, 0x80000000u, INT32_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(GetUint32(c.bytes.data()), c.word);
        EXPECT_EQ(GetInt32(c.bytes.data()), c.whole);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(GetFloat(c.bytes.data())), c.word);
        std::array<std::uint8_t, 4> put{};
        PutUint32(put.data(), c.word);
        EXPECT_EQ(put, c.bytes);
        std::vector<std::uint8_t> thrice;
        for (int i = 0; i < 3; ++i)
            thrice.insert(thrice.end(), c.bytes.begin(), c.bytes.end());
        auto in = StreamOf(thrice);
        BinaryReader reader(in);
        EXPECT_EQ(reader.readUint32(), c.word);
        EXPECT_EQ(reader.readInt32(), c.whole);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(reader.readFloat()), c.word);
    }
    EXPECT_EQ(GetFloat(cases[2].bytes.data()), 1.0f);
}

}  // namespace
}  // namespace quarn

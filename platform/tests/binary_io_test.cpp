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

TEST(BinaryReader, FieldsAreLittleEndian) {
    auto in = StreamOf({0x01, 0x02, 0x03, 0x04,  // int32
                        0xFE, 0xFF, 0xFF, 0xFF,  // int32 -2
                        0x34, 0x12,              // uint16
                        0x00, 0x00, 0x80, 0x3F,  // float 1.0
                        0x00, 0x00, 0x00, 0x80,  // uint32 with the top bit
                        0xAB});
    BinaryReader reader(in);
    EXPECT_EQ(reader.readInt32(), 0x04030201);
    EXPECT_EQ(reader.readInt32(), -2);
    EXPECT_EQ(reader.readUint16(), 0x1234);
    EXPECT_EQ(reader.readFloat(), 1.0f);
    EXPECT_EQ(reader.readUint32(), 0x80000000u);
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

// Decoding a block of records field by field reads what PutUint32 writes and the readers read.
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
        auto in = StreamOf({c.bytes.begin(), c.bytes.end()});
        EXPECT_EQ(BinaryReader(in).readUint32(), c.word);
    }
    EXPECT_EQ(GetFloat(cases[2].bytes.data()), 1.0f);
}

TEST(BinaryWriter, WritesFieldsByteForByte) {
    MemorySink sink;
    BinaryWriter writer(sink);
    writer.writeText("3DF");
    writer.writeUint8(0x7F);
    writer.writeInt32(-2);
    writer.writeInt32(0x01020304);
    writer.writeFloat(1.0f);
    writer.writeFloat(-0.0f);
    const std::array<std::uint8_t, 2> raw{0xCA, 0xFE};
    writer.writeBytes(raw);
    const std::vector<std::uint8_t> expected{'3',  'D',  'F',  0x7F, 0xFE, 0xFF, 0xFF, 0xFF,
                                             0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x80, 0x3F,
                                             0x00, 0x00, 0x00, 0x80, 0xCA, 0xFE};
    EXPECT_EQ(sink.bytes(), expected);
}

}  // namespace
}  // namespace quarn

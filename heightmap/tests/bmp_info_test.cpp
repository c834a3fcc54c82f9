#include "bmp_info.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "fault_text.h"
#include "palette.h"
#include "temp_folder.h"
#include "test_bmp.h"

namespace quarn {
namespace {

using testing::TestBmp;
using testing::WithInfoHeader;

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();

// A palette whose entries are all recognisably "left over from an earlier image".
PaletteTable EarlierImage() {
    PaletteTable p;
    p.fill(PaletteEntry{0xEE, 0xEE, 0xEE, 0xEE});
    return p;
}

std::array<std::uint8_t, 4> Entry(int e) {
    const auto b = static_cast<std::uint8_t>(e);
    return {b, static_cast<std::uint8_t>(b + 100), static_cast<std::uint8_t>(b + 200), 0};
}

TestBmp WithTable(TestBmp bmp, int entries) {
    for (int e = 0; e < entries; ++e)
        bmp.colourTable.push_back(Entry(e));
    bmp.tail.assign(8, 0);  // some pixel bytes, so the file does not end with the table
    return bmp;
}

// Entries 0 to read - 1 come from the file, the rest keep the earlier image's.
void ExpectTableRead(const PaletteTable& palette, int read, const std::string& reason) {
    for (int e = 0; e < 16; ++e) {
        const PaletteEntry fromFile{Entry(e)[0], Entry(e)[1], Entry(e)[2], 0};
        EXPECT_EQ(palette[static_cast<std::size_t>(e)], e < read ? fromFile : EarlierImage()[0])
            << reason << ", entry " << e;
    }
}

struct Checked {
    std::uint8_t code;
    BMPHeaderFields header;
    PaletteTable palette;
    std::streamoff position;
};

Checked Check(const std::vector<std::uint8_t>& bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    Checked c{0, {}, EarlierImage(), 0};
    c.code = ReadBMPInfo(in, c.header, c.palette);
    in.clear();
    c.position = in.tellg();
    return c;
}

TEST(ReadBMPInfo, RefusesInTheOrderOfItsTests) {
    const struct {
        const char* reason;
        TestBmp bmp;
        std::uint8_t code;
    } cases[] = {
        // Exactly 54 bytes, whatever they say, is refused before the signature is read.
        {"file ends after the headers", {.signature = {'M', 'B'}, .compression = 2}, 1},
        {"first byte not B", WithTable({.signature = {'M', 'B'}}, 16), 1},
        {"second byte not M", WithTable({.signature = {'B', 'A'}}, 16), 1},
        {"run-length compression", WithTable({.compression = 2}, 16), 3},
        // Compression is looked at before the depth.
        {"compressed 8-bit", WithTable({.bitsPerPixel = 8, .compression = 1}, 16), 3},
        {"8-bit without counts", WithTable({.bitsPerPixel = 8}, 16), 2},
        {"24-bit without counts", WithTable({.bitsPerPixel = 24}, 0), 2},
        {"32-bit without counts", WithTable({.bitsPerPixel = 32}, 0), 2},
        {"17 colours used", WithTable({.coloursUsed = 17}, 16), 2},
        // Counts present: colours used (0) decides.
        {"8-bit with important colours only",
         WithTable({.bitsPerPixel = 8, .importantColours = 200}, 16), 0},
        {"file ends after a core header", {.infoHeaderSize = 12}, 1},
        {"8-bit core header", WithTable({.infoHeaderSize = 12, .bitsPerPixel = 8}, 16), 2},
        // The size comes last: such a map was once decoded until the memory ran out.
        {"16384 x 16384", WithTable({.width = 16384, .height = -16384}, 16), 0},
        {"16385 across", WithTable({.width = 16385}, 16), kMapTooLarge},
        {"16385 down, top row first", WithTable({.height = -16385}, 16), kMapTooLarge},
        {"lowest height", WithTable({.height = kLowest}, 16), kMapTooLarge},
        {"core header 65535 across", WithTable({.infoHeaderSize = 12, .width = 65535}, 16),
         kMapTooLarge},
        {"too large and compressed", WithTable({.width = 20000, .compression = 2}, 16), 3},
        {"too large and 8-bit", WithTable({.width = 20000, .bitsPerPixel = 8}, 16), 2},
    };
    for (const auto& c : cases) {
        const Checked got = Check(c.bmp.bytes());
        EXPECT_EQ(got.code, c.code) << c.reason;
        if (c.code != 0) {
            EXPECT_EQ(got.palette, EarlierImage()) << c.reason << ": a refused file reads no table";
        }
    }
}

TEST(BMPRefusalText, GivesTheMessageOrTheSizeAndTheLimit) {
    const BMPHeaderFields tall{.width = 300, .height = -20000};
    EXPECT_EQ(BMPRefusalText(2, tall), "Only 4-bit (16 color) BMP images supported!");
    EXPECT_EQ(BMPRefusalText(3, tall), "Unknown file compression!");
    EXPECT_EQ(BMPRefusalText(kMapTooLarge, tall),
              "The map is 300 x 20000 pixels; at most 16384 x 16384 are supported!");
}

TEST(ReadBMPInfo, ShortFilesAreThePlatformsReadError) {
    const std::string text = "not a map!";
    const std::vector<std::uint8_t> tenBytes(text.begin(), text.end());
    std::vector<std::uint8_t> fiftyThree = WithTable({}, 0).bytes();
    fiftyThree.resize(53);
    // A core header is 26 bytes; every other is read as 54 first.
    std::vector<std::uint8_t> core = WithTable({.infoHeaderSize = 12}, 0).bytes();
    core.resize(25);
    for (const auto& bytes : {tenBytes, fiftyThree, core, std::vector<std::uint8_t>{}})
        EXPECT_EQ(testing::FaultText([&] { Check(bytes); }), "Read beyond end of file")
            << bytes.size() << " bytes";
}

TEST(ReadBMPInfo, ReadsAsManyEntriesAsTheOffsetLeavesRoomForUpToSixteen) {
    const struct {
        const char* reason;
        TestBmp bmp;
        int read;  // entries taken from the file; the others keep the earlier image's
    } cases[] = {
        {"standard 16-colour", WithTable({}, 16), 16},
        {"1-bit with two entries", WithTable({.pixelDataOffset = 62, .bitsPerPixel = 1}, 2), 2},
        {"8-bit declaring 16", WithTable({.bitsPerPixel = 8, .coloursUsed = 16}, 16), 16},
        {"8-bit declaring 16 with a padded 256-entry table",
         WithTable({.pixelDataOffset = 54 + 256 * 4, .bitsPerPixel = 8, .coloursUsed = 16}, 256),
         16},
        {"offset 58", WithTable({.pixelDataOffset = 58}, 16), 1},
        {"offset 57", WithTable({.pixelDataOffset = 57}, 16), 0},
        {"lowest offset", WithTable({.pixelDataOffset = kLowest}, 16), 0},
        // Entries of 3 bytes after a core header.
        {"core header, room for 2 entries",
         WithTable({.pixelDataOffset = 34, .infoHeaderSize = 12}, 16), 2},
        {"16-byte header read as a standard one", WithTable({.infoHeaderSize = 16}, 16), 16},
        {"124-byte header, lowest offset",
         WithTable({.pixelDataOffset = kLowest, .infoHeaderSize = 124}, 16), 0},
    };
    for (const auto& c : cases) {
        const Checked got = Check(c.bmp.bytes());
        ASSERT_EQ(got.code, 0) << c.reason;
        ExpectTableRead(got.palette, c.read, c.reason);
        const auto size = static_cast<int>(c.bmp.infoHeaderSize);  // the table follows it
        EXPECT_EQ(got.position,
                  (size == 12 || size > 40 ? 14 + size : 54) + (size == 12 ? 3 : 4) * c.read)
            << c.reason << ": no byte read past the entries";
    }
}

TEST(ReadBMPInfo, TakesAShortTableRightAfterALongerHeader) {
    // The entries counted from 54 instead of from the end of such a header would take pixel
    // bytes, or the end of the file, for colours; a full table of 16 would not show it.
    for (const std::uint32_t size : {64u, 108u, 124u})
        for (const int entries : {2, 6, 15}) {
            const TestBmp bmp = WithInfoHeader(WithTable({.coloursUsed = entries}, entries), size);
            ASSERT_EQ(bmp.pixelDataOffset, 14 + static_cast<int>(size) + 4 * entries);
            const Checked got = Check(bmp.bytes());
            const std::string reason = std::to_string(size) + ", " + std::to_string(entries);
            ASSERT_EQ(got.code, 0) << reason;
            ExpectTableRead(got.palette, entries, reason);
            EXPECT_EQ(got.position, bmp.pixelDataOffset) << reason << ": the table ends with them";
        }
}

TEST(ReadBMPInfo, TableCutShortKeepsWhatTheFileLacks) {
    for (const std::uint32_t size : {40u, 12u}) {
        TestBmp bmp = WithTable({.infoHeaderSize = size}, 2);
        bmp.tail = {0x07, 0x08};  // part of a third entry, then the end of the file
        const Checked got = Check(bmp.bytes());
        ASSERT_EQ(got.code, 0) << size;
        EXPECT_EQ(got.palette[1], (PaletteEntry{1, 101, 201, 0})) << size;
        EXPECT_EQ(got.palette[2], (PaletteEntry{0x07, 0x08, 0xEE, 0xEE})) << size;
        EXPECT_EQ(got.palette[3], EarlierImage()[3]) << size;
    }
    auto longer = WithInfoHeader(WithTable({}, 16), 124).bytes();
    longer.resize(100);  // ends inside the header's later fields: no table
    EXPECT_EQ(Check(longer).palette, EarlierImage());
}

TEST(ImageRowCount, TopDownImagesCountTheirRealHeight) {
    for (const auto& [height, rows] :
         {std::pair{300, 300}, {-300, 300}, {0, 0}, {kLowest, -(kLowest + 1)}})
        EXPECT_EQ(ImageRowCount({.height = height}), rows) << height;
}

TEST(ReadBMPInfoFile, FillsTheProgramsHeaderAndPalette) {
    testing::TempFolder folder;
    const TestBmp bmp = WithTable({.width = 0x01020304, .height = -300}, 16);
    // The headers are kept whatever the code; this one is too large.
    EXPECT_EQ(ReadBMPInfo(folder.write("map.bmp", bmp.bytes())), kMapTooLarge);
    EXPECT_EQ(BMPHeader.width, 0x01020304);  // little-endian, as read
    EXPECT_EQ(BMPHeader.height, -300);
    // The core header's 16-bit sizes, not 32-bit reads across them.
    EXPECT_EQ(ReadBMPInfo(folder.write("core.bmp", WithInfoHeader(bmp, 12).bytes())), kMapTooLarge);
    EXPECT_EQ(std::pair(BMPHeader.width, BMPHeader.height), std::pair(0x0304, 65236));
    EXPECT_EQ(ReadBMPInfo(folder.write("fits.bmp", WithTable({.width = 0x3F04}, 16).bytes())), 0);
    EXPECT_EQ(Palette[9].green, 109);
}

TEST(SampleMaps, AreAcceptedWithSixteenDistinctColours) {
    const std::pair<const char*, std::pair<int, int>> samples[] = {{"island.bmp", {320, 240}},
                                                                   {"valley.bmp", {360, 240}}};
    for (const auto& [name, size] : samples) {
        ASSERT_EQ(ReadBMPInfo(std::string(QUARN_SAMPLES_DIR) + "/" + name), 0) << name;
        EXPECT_EQ(BMPHeader.bitsPerPixel, 4) << name;
        EXPECT_EQ(BMPHeader.pixelDataOffset, 118) << name;
        EXPECT_EQ(std::pair(BMPHeader.width, BMPHeader.height), size) << name;
        for (std::int32_t e = 0; e < 16; ++e)
            EXPECT_EQ(
                FindPaletteIndex(PaletteColour(Palette[static_cast<std::size_t>(e)]), Palette), e)
                << name << ": every band needs its own colour";
    }
}

TEST(FindPaletteIndex, LowestMatchingIndexOrNothing) {
    PaletteTable p{};
    p[3] = {0x10, 0x20, 0x30, 0};
    p[7] = {0x10, 0x20, 0x30, 0x99};  // the reserved byte takes no part in the colour
    p[9] = {0xFF, 0xFF, 0xFF, 0};
    EXPECT_EQ(FindPaletteIndex(0x00102030u, p), 3);
    EXPECT_EQ(FindPaletteIndex(0x00FFFFFFu, p), 9);
    EXPECT_EQ(FindPaletteIndex(0x00000000u, p), 0) << "unsupplied entries are black";
    EXPECT_EQ(FindPaletteIndex(0xFFFFFFFFu, p), std::nullopt);
    EXPECT_EQ(FindPaletteIndex(0x00302010u, p), std::nullopt) << "red and blue not swapped";
}

}  // namespace
}  // namespace quarn

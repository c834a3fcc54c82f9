#include "bmp_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>

#include "platform_error.h"
#include "test_bmp.h"

namespace quarn {
namespace {

using testing::TestBmp;

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
    // A 16-entry file changed by edit.
    const auto Edited = [](const std::function<void(TestBmp&)>& edit) {
        TestBmp bmp = WithTable({}, 16);
        edit(bmp);
        return bmp.bytes();
    };
    const struct {
        const char* reason;
        std::vector<std::uint8_t> bytes;
        std::uint8_t code;
    } cases[] = {
        // Exactly 54 bytes, whatever they say, is refused before the signature is read.
        {"file ends after the headers", Edited([](TestBmp& b) {
             b = TestBmp{};
             b.signature = {'M', 'B'};
             b.compression = 2;
         }),
         1},
        {"first byte not B", Edited([](TestBmp& b) {
             b.signature = {'M', 'B'};
         }),
         1},
        {"second byte not M", Edited([](TestBmp& b) {
             b.signature = {'B', 'A'};
         }),
         1},
        {"run-length compression", Edited([](TestBmp& b) { b.compression = 2; }), 3},
        // Compression is looked at before the depth.
        {"compressed 8-bit", Edited([](TestBmp& b) { b.compression = 1, b.bitsPerPixel = 8; }), 3},
        {"8-bit without counts", Edited([](TestBmp& b) { b.bitsPerPixel = 8; }), 2},
        {"24-bit without counts",
         Edited([](TestBmp& b) { b.colourTable = {}, b.bitsPerPixel = 24; }), 2},
        {"32-bit without counts",
         Edited([](TestBmp& b) { b.colourTable = {}, b.bitsPerPixel = 32; }), 2},
        {"17 colours used", Edited([](TestBmp& b) { b.coloursUsed = 17; }), 2},
        // Counts present: colours used (0) decides.
        {"8-bit with important colours only",
         Edited([](TestBmp& b) { b.bitsPerPixel = 8, b.importantColours = 200; }), 0},
    };
    for (const auto& c : cases) {
        const Checked got = Check(c.bytes);
        EXPECT_EQ(got.code, c.code) << c.reason;
        if (c.code != 0) {
            EXPECT_EQ(got.palette, EarlierImage()) << c.reason << ": a refused file reads no table";
        }
    }
}

TEST(ReadBMPInfo, ShortFilesAreThePlatformsReadError) {
    const std::string text = "not a map!";
    const std::vector<std::uint8_t> tenBytes(text.begin(), text.end());
    std::vector<std::uint8_t> fiftyThree = WithTable({}, 0).bytes();
    fiftyThree.resize(53);
    for (const auto& bytes : {tenBytes, fiftyThree, std::vector<std::uint8_t>{}}) {
        try {
            Check(bytes);
            ADD_FAILURE() << bytes.size() << " bytes gave a check code";
        } catch (const PlatformError& e) {
            EXPECT_STREQ(e.what(), "Read beyond end of file");
        }
    }
}

TEST(ReadBMPInfo, AcceptsSmallPalettesAndKeepsEntriesNotSupplied) {
    TestBmp oneBit = WithTable({}, 2);
    oneBit.bitsPerPixel = 1;
    oneBit.pixelDataOffset = 62;
    const Checked got = Check(oneBit.bytes());
    ASSERT_EQ(got.code, 0);
    for (int e = 0; e < 16; ++e) {
        const PaletteEntry want =
            e < 2 ? PaletteEntry{Entry(e)[0], Entry(e)[1], Entry(e)[2], 0} : EarlierImage()[0];
        EXPECT_EQ(got.palette[static_cast<std::size_t>(e)], want) << "entry " << e;
    }
}

TEST(ReadBMPInfo, AcceptsEightBitDeclaringSixteenAndStandardSixteenColour) {
    TestBmp eightBit = WithTable({}, 16);
    eightBit.bitsPerPixel = 8;
    eightBit.coloursUsed = 16;
    TestBmp standard = WithTable({}, 16);
    standard.width = 0x01020304;
    standard.height = 300;
    for (const TestBmp& bmp : {eightBit, standard}) {
        const Checked got = Check(bmp.bytes());
        ASSERT_EQ(got.code, 0) << bmp.bitsPerPixel << "-bit";
        for (int e = 0; e < 16; ++e)
            EXPECT_EQ(got.palette[static_cast<std::size_t>(e)].blue, e) << "entry " << e;
    }
    const Checked standardGot = Check(standard.bytes());
    EXPECT_EQ(standardGot.header.width, 0x01020304);  // little-endian, as read
    EXPECT_EQ(standardGot.header.height, 300);
    EXPECT_EQ(standardGot.header.pixelDataOffset, 118);
}

TEST(ReadBMPInfo, OffsetsOf57AndBelowReadNoEntry) {
    for (const std::int32_t offset :
         {57, 55, 54, 0, -1000, std::numeric_limits<std::int32_t>::min()}) {
        TestBmp bmp = WithTable({}, 16);
        bmp.pixelDataOffset = offset;
        const Checked got = Check(bmp.bytes());
        EXPECT_EQ(got.code, 0) << offset;
        EXPECT_EQ(got.palette, EarlierImage()) << offset;
    }
    TestBmp one = WithTable({}, 16);
    one.pixelDataOffset = 58;
    const Checked got = Check(one.bytes());
    EXPECT_EQ(got.palette[0].red, 200);
    EXPECT_EQ(got.palette[1], EarlierImage()[1]);
}

TEST(ReadBMPInfo, EntryBytesAreBlueGreenRedReserved) {
    TestBmp bmp;
    bmp.colourTable = {{0x10, 0x20, 0x30, 0x00}};
    bmp.pixelDataOffset = 58;
    bmp.tail.assign(4, 0);
    const Checked got = Check(bmp.bytes());
    ASSERT_EQ(got.code, 0);
    EXPECT_EQ(PaletteColour(got.palette[0]), 0x00102030u);
}

TEST(ReadBMPInfo, PaddedTableFillsOnlyTheSixteenEntries) {
    // An 8-bit file declaring 16 colours but carrying a 256-entry table.
    TestBmp padded = WithTable({}, 256);
    padded.bitsPerPixel = 8;
    padded.coloursUsed = 16;
    padded.pixelDataOffset = 54 + 256 * 4;
    const Checked got = Check(padded.bytes());
    ASSERT_EQ(got.code, 0);
    EXPECT_EQ(got.palette[15].blue, 15);
    EXPECT_EQ(got.position, 54 + 16 * 4) << "no byte read past the 16th entry";
}

TEST(ReadBMPInfo, TableCutShortKeepsWhatTheFileLacks) {
    TestBmp bmp = WithTable({}, 2);
    bmp.tail = {0x07, 0x08};  // half of a third entry, then the end of the file
    const Checked got = Check(bmp.bytes());
    ASSERT_EQ(got.code, 0);
    EXPECT_EQ(got.palette[1].red, 201);
    EXPECT_EQ(got.palette[2], (PaletteEntry{0x07, 0x08, 0xEE, 0xEE}));
    EXPECT_EQ(got.palette[3], EarlierImage()[3]);
}

TEST(ImageRowCount, TopDownImagesCountTheirRealHeight) {
    BMPHeaderFields h;
    for (const auto& [height, rows] :
         {std::pair{300, 300},
          {-300, 300},
          {0, 0},
          {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}}) {
        h.height = height;
        EXPECT_EQ(ImageRowCount(h), rows) << height;
    }
}

TEST(ReadBMPInfoFile, FillsTheProgramsHeaderAndPalette) {
    const auto path = (std::filesystem::temp_directory_path() / "quarn_bmp_info_test.bmp").string();
    TestBmp bmp = WithTable({}, 16);
    bmp.width = 37;
    testing::WriteFile(path, bmp.bytes());
    EXPECT_EQ(ReadBMPInfo(path), 0);
    EXPECT_EQ(BMPHeader.width, 37);
    EXPECT_EQ(Palette[9].green, 109);
    std::remove(path.c_str());
    EXPECT_THROW(ReadBMPInfo(path), PlatformError) << "a missing file is the platform's error";
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

}  // namespace
}  // namespace quarn

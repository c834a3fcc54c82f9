#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>

#include "bmp_image.h"
#include "bmp_info.h"
#include "fault_text.h"
#include "qt_colour.h"
#include "temp_folder.h"
#include "test_bmp.h"

namespace quarn {
namespace {

TEST(BmpImage, DecodesAMapAndRefusesWhatItCannotRead) {
    EXPECT_EQ(LoadBmpImage(QUARN_SAMPLES_DIR "/island.bmp").size(), QSize(320, 240));
    // 9 by 3 pixels of 4 bits: 3 rows of 8 bytes after the 118 header and table bytes.
    const auto map = [](std::int32_t offset, std::int32_t width, std::int32_t height,
                        std::uint16_t bits = 4) {
        auto bmp = testing::FourBitImage(9, 3, testing::kMapRgb, [](int x, int) { return x; });
        std::tie(bmp.pixelDataOffset, bmp.width, bmp.height, bmp.bitsPerPixel) =
            std::tuple(offset, width, height, bits);
        return bmp.bytes();
    };
    auto cut = map(118, 9, 3);
    cut.pop_back();
    const char* bad = "Bitmap image is not valid";
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {map(118, 9, 3), "no fault"},
        {map(118, 9, -3), "no fault"},  // top row first
        {std::vector<std::uint8_t>(60, 'x'), bad},
        {cut, bad},
        {map(118, 9, 4), bad},
        {map(118 + 24 + 1, 9, 3), bad},  // the offset just past the end
        {map(-118, 9, 3), bad},
        {map(0, 9, 3), bad},
        {map(118, 0x7FFFFFFF, std::numeric_limits<std::int32_t>::min(), 0xFFFF), bad},
    };
    testing::TempFolder folder;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(
            testing::FaultText([&] { LoadBmpImage(folder.write("map.bmp", cases[i].first)); }),
            cases[i].second)
            << "case " << i;
}

// A 16-colour map with a 124-byte header and a table of six entries: the table starts at
// 14 + 124, so the header check and the pixel decoder must both take it from there, and the
// pixels' colours are found in the palette at their own indices.
TEST(BmpImage, AMapWithA124ByteHeaderTakesItsTableFromWhereTheHeaderEnds) {
    constexpr int kEntries = 6;
    const auto indexOf = [](int x, int y) { return static_cast<std::uint8_t>((x + 2 * y) % 6); };
    auto bmp = testing::FourBitImage(12, 5, testing::kMapRgb, indexOf);
    bmp.colourTable.resize(kEntries);
    bmp.coloursUsed = kEntries;
    bmp = testing::WithInfoHeader(bmp, 124);
    ASSERT_EQ(bmp.pixelDataOffset, 138 + 4 * kEntries);
    const std::vector<std::uint8_t> bytes = bmp.bytes();
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    BMPHeaderFields header;
    PaletteTable palette;  // its entries are ReadBMPInfo.TakesAShortTableRightAfterALongerHeader's
    palette.fill({0xEE, 0xEE, 0xEE, 0xEE});
    ASSERT_EQ(ReadBMPInfo(in, header, palette), 0);

    testing::TempFolder folder;
    const QImage image = LoadBmpImage(folder.write("map.bmp", bytes));
    ASSERT_EQ(image.size(), QSize(12, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 12; ++x) {
            const std::uint8_t index = indexOf(x, y);
            EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, testing::kMapRgb[index]) << x << ", " << y;
            EXPECT_EQ(FindPaletteIndex(ColourOfRgb(image.pixel(x, y)), palette), index)
                << x << ", " << y;
        }
}

// Mends: the toolkit's default memory limit refused maps above about 5800 x 5800 pixels.
TEST(BmpImage, KeepsAWideMapAsIndexedPixelsBeyondTheToolkitsDefaultLimit) {
    const auto bmp = testing::FourBitImage(16384, 2400, testing::kMapRgb, [](int x, int y) {
        return static_cast<std::uint8_t>((x + y) % 16);
    });
    testing::TempFolder folder;
    const QImage image = LoadBmpImage(folder.write("wide.bmp", bmp.bytes()));
    EXPECT_EQ(image.size(), QSize(16384, 2400));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixelIndex(16383, 2399), (16383 + 2399) % 16);
}

// The text LoadBmpImage gives for fileName in a child process whose address space has room
// for spareBytes more than it holds once the reader's code is loaded.
std::string FaultWithSpareMemory(const std::string& fileName, std::size_t spareBytes) {
    int result[2];
    if (::pipe(result) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        LoadBmpImage(QUARN_SAMPLES_DIR "/island.bmp");
        std::ifstream status("/proc/self/status");
        std::size_t heldKb = 0;
        for (std::string field; status >> field && field != "VmSize:";)
            status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        status >> heldKb;
        const rlimit room{heldKb * 1024 + spareBytes, heldKb * 1024 + spareBytes};
        ::setrlimit(RLIMIT_AS, &room);
        std::string text;
        try {  // nothing may leave the child, whose test would go on beside the parent's
            text = testing::FaultText([&] { LoadBmpImage(fileName); });
        } catch (const std::exception& e) {
            text = std::string("escaped: ") + e.what();
        }
        [[maybe_unused]] const auto sent = ::write(result[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(result[1]);
    std::string text;
    std::array<char, 256> chunk{};
    for (ssize_t n; (n = ::read(result[0], chunk.data(), chunk.size())) > 0;)
        text.append(chunk.data(), static_cast<std::size_t>(n));
    ::close(result[0]);
    ::waitpid(child, nullptr, 0);
    return text;
}

// AddressSanitizer's allocator ends the process on a failed allocation instead of failing it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedAllocator = true;
#elif defined(__has_feature)
constexpr bool kSanitizedAllocator = __has_feature(address_sanitizer);
#else
constexpr bool kSanitizedAllocator = false;
#endif

// Mends: a map that could not be decoded for want of memory was said not to be valid.
TEST(BmpImage, AMapWhosePictureFindsNoMemoryIsOutOfMemory) {
    if (kSanitizedAllocator)
        GTEST_SKIP() << "AddressSanitizer ends the process on the failed allocation";
    const auto bmp = testing::FourBitImage(4096, 4096, testing::kMapRgb,
                                           [](int x, int y) { return (x ^ y) % 16; });
    testing::TempFolder folder;
    const std::string map = folder.write("large.bmp", bmp.bytes());
    constexpr std::size_t kFileBytes = 4096 * 4096 / 2, kPictureBytes = 4096 * 4096;
    // Room for the file and a little more, not for its picture of one byte a pixel.
    EXPECT_EQ(FaultWithSpareMemory(map, kFileBytes + kPictureBytes / 2), "Out of memory");
    EXPECT_EQ(LoadBmpImage(map).size(), QSize(4096, 4096));
}

}  // namespace
}  // namespace quarn

#include "atomic_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fault_text.h"
#include "platform_error.h"
#include "temp_folder.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;
using testing::FaultText;

void WriteText(AtomicFile& file, const std::string& text) {
    file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(AtomicFile, TargetAppearsOnlyOnCommitAndAbandonmentKeepsTheEarlierFile) {
    testing::TempFolder folder;
    const std::string target = folder.file("hills.3df");
    { AtomicFile unused(target); }
    EXPECT_TRUE(folder.entries().empty());
    AtomicFile first(target);
    WriteText(first, "old");
    EXPECT_FALSE(fs::exists(target));
    // The temporary file sits beside the target, so the rename stays on one file system.
    EXPECT_EQ(fs::path(first.temporaryPath()).parent_path(), folder.path());
    first.commit();
    {
        AtomicFile abandoned(target);
        WriteText(abandoned, "half written");
    }
    EXPECT_EQ(folder.read("hills.3df"), "old");
    AtomicFile second(target);
    WriteText(second, "new");
    second.commit();
    EXPECT_EQ(folder.read("hills.3df"), "new");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hills.3df"});
}

TEST(AtomicFile, WritesLargerThanTheBufferArriveByteForByte) {
    testing::TempFolder folder;
    std::string block(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 31);
    AtomicFile file(folder.file("big.bin"));
    WriteText(file, block.substr(0, 100));
    WriteText(file, block.substr(100));
    file.commit();
    EXPECT_TRUE(folder.read("big.bin") == block);
}

TEST(AtomicFile, MissingFolderAndAFolderInTheWayAreRefusedLeavingNothing) {
    testing::TempFolder folder;
    EXPECT_EQ(FaultText([&] { AtomicFile file(folder.file("missing/hills.3df")); }),
              "Path not found");
    // A rename cannot replace a folder; the temporary file goes when the object does.
    fs::create_directory(folder.path() / "taken");
    {
        AtomicFile file(folder.file("taken"));
        WriteText(file, "x");
        EXPECT_THROW(file.commit(), PlatformError);
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"taken"});
}

// Devices cannot be renamed over, so they take the bytes directly; a full disk is reported
// with the platform's text and nothing is left in the device's folder.
TEST(AtomicFile, DevFullReportsDiskFullAndDevNullTakesEverything) {
    if (!fs::exists("/dev/full") || !fs::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/full here";
    const auto quarnEntriesInDev = [] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator("/dev"))
            count += entry.path().filename().string().starts_with(".quarn-") ? 1 : 0;
        return count;
    };
    const std::vector<std::uint8_t> block(3 << 20, 7);  // beyond one buffer
    EXPECT_EQ(FaultText([&] {
                  AtomicFile full("/dev/full");
                  EXPECT_TRUE(full.temporaryPath().empty());
                  full.write(block);
                  full.commit();
              }),
              "Disk full");
    AtomicFile sink("/dev/null");
    sink.write(block);
    EXPECT_NO_THROW(sink.commit());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(quarnEntriesInDev(), 0);
}

}  // namespace
}  // namespace quarn

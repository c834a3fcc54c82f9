#include "atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform_error.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quarn-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string pathOf(const std::string& name) const { return (m_folder / name).string(); }

    static std::string contentsOf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static void writeText(AtomicFile& file, const std::string& text) {
        file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }

    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
    }

    fs::path m_folder;
};

TEST_F(AtomicFileTest, TargetAppearsOnlyOnCommit) {
    const std::string target = pathOf("hills.3df");
    AtomicFile file(target);
    writeText(file, "3DF data");
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::exists(file.temporaryPath()));
    // The temporary file sits beside the target, so the rename stays on one file system.
    EXPECT_EQ(fs::path(file.temporaryPath()).parent_path(), m_folder);
    const std::string temporary = file.temporaryPath();
    file.commit();
    EXPECT_EQ(contentsOf(target), "3DF data");
    EXPECT_FALSE(fs::exists(temporary));
}

TEST_F(AtomicFileTest, CommitReplacesAnEarlierFileAndAbandonmentKeepsIt) {
    const std::string target = pathOf("hills.3df");
    { AtomicFile file(target); }
    EXPECT_EQ(entriesInFolder(), 0u);
    std::ofstream(target) << "old";
    {
        AtomicFile file(target);
        writeText(file, "half written");
    }
    EXPECT_EQ(contentsOf(target), "old");
    AtomicFile file(target);
    writeText(file, "new");
    file.commit();
    EXPECT_EQ(contentsOf(target), "new");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(AtomicFileTest, WritesLargerThanTheBufferArriveByteForByte) {
    std::vector<std::uint8_t> block(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 31);
    AtomicFile file(pathOf("big.bin"));
    file.write(std::span(block).first(100));
    file.write(std::span(block).subspan(100));
    file.commit();
    const std::string written = contentsOf(pathOf("big.bin"));
    ASSERT_EQ(written.size(), block.size());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), written.begin(), [](std::uint8_t a, char b) {
        return a == static_cast<std::uint8_t>(b);
    }));
}

TEST_F(AtomicFileTest, MissingFolderIsPathNotFound) {
    try {
        AtomicFile file(pathOf("missing/hills.3df"));
        ADD_FAILURE() << "no fault raised";
    } catch (const PlatformError& e) {
        EXPECT_STREQ(e.what(), "Path not found");
    }
}

TEST_F(AtomicFileTest, CommitOverAFolderIsRefused) {
    // A rename cannot replace a folder; the temporary file goes when the object does.
    fs::create_directory(pathOf("taken"));
    {
        AtomicFile file(pathOf("taken"));
        writeText(file, "x");
        EXPECT_THROW(file.commit(), PlatformError);
    }
    EXPECT_EQ(entriesInFolder(), 1u);
}

// Devices cannot be renamed over, so they take the bytes directly; a full disk is reported
// with the platform's text and nothing is left in the device's folder.
TEST(AtomicFileDevices, DevFullReportsDiskFullAndDevNullTakesEverything) {
    if (!fs::exists("/dev/full") || !fs::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/full here";
    const auto quarnEntriesInDev = [] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator("/dev"))
            count += entry.path().filename().string().starts_with(".quarn-") ? 1 : 0;
        return count;
    };
    const std::vector<std::uint8_t> block(3 << 20, 7);  // beyond one buffer
    try {
        AtomicFile full("/dev/full");
        EXPECT_TRUE(full.temporaryPath().empty());
        full.write(block);
        full.commit();
        ADD_FAILURE() << "no fault raised";
    } catch (const PlatformError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    AtomicFile sink("/dev/null");
    sink.write(block);
    EXPECT_NO_THROW(sink.commit());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(quarnEntriesInDev(), 0);
}

TEST(IoErrorText, NamesTheCommonFailuresAndCarriesTheSystemReasonForOthers) {
    const struct {
        int number;
        const char* text;
    } cases[] = {{ENOENT, "File not found"},      {ENOTDIR, "Path not found"},
                 {EACCES, "File access denied"},  {EROFS, "File access denied"},
                 {EISDIR, "File access denied"},  {ENOSPC, "Disk full"},
                 {EMFILE, "Too many open files"}, {ENAMETOOLONG, "Invalid file name"}};
    for (const auto& c : cases)
        EXPECT_EQ(IoErrorText(c.number), c.text) << c.number;
    EXPECT_EQ(IoErrorText(EIO).rfind("I/O error: ", 0), 0u);
}

}  // namespace
}  // namespace quarn

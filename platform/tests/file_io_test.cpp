// Reading and writing files: binary fields and files replaced whole or not at all.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "binary_io.h"
#include "fault_text.h"
#include "platform_error.h"
#include "temp_folder.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;

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

void WriteText(AtomicFile& file, const std::string& text) {
    file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Bytes beyond one buffer of the writer, varied by step.
std::string Block(int step) {
    std::string block(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * static_cast<std::size_t>(step));
    return block;
}

void Replace(const std::string& target, const std::string& text) {
    AtomicFile file(target);
    WriteText(file, text);
    file.commit();
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
    const std::string block = Block(31);  // in two writes
    AtomicFile second(target);
    WriteText(second, block.substr(0, 100));
    WriteText(second, block.substr(100));
    second.commit();
    EXPECT_TRUE(folder.read("hills.3df") == block);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hills.3df"});
}

TEST(AtomicFile, ReplacingKeepsPermissionBitsAndWritesThroughSymbolicLinks) {
    testing::TempFolder folder;
    fs::create_directory(folder.path() / "sub");
    folder.write("sub/real.3df", "old");
    fs::permissions(folder.file("sub/real.3df"), fs::perms(0604));
    // Each relative link is read against its own folder.
    fs::create_symlink("sub/real.3df", folder.path() / "near.3df");
    fs::create_symlink("sub/hop.3df", folder.path() / "chain.3df");
    fs::create_symlink("real.3df", folder.path() / "sub/hop.3df");
    fs::create_symlink("sub/new.3df", folder.path() / "dangling.3df");
    for (const char* name : {"sub/real.3df", "near.3df", "chain.3df"}) {
        Replace(folder.file(name), name);
        EXPECT_EQ(folder.read("sub/real.3df"), name);
        EXPECT_EQ(fs::status(folder.file("sub/real.3df")).permissions(), fs::perms(0604)) << name;
    }
    Replace(folder.file("dangling.3df"), "made");
    EXPECT_EQ(folder.read("sub/new.3df"), "made");
    for (const char* link : {"near.3df", "chain.3df", "sub/hop.3df", "dangling.3df"})
        EXPECT_TRUE(fs::is_symlink(folder.path() / link)) << link;
    fs::create_symlink("loop.3df", folder.path() / "loop.3df");
    EXPECT_THROW(AtomicFile(folder.file("loop.3df")), PlatformError);
    // The signal handlers of a write are gone once it is.
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

// A rename once gave the name a new file, so the other name of a hard link kept the old
// terrain: such a file is written in place, and only once its new content is complete.
TEST(AtomicFile, AFileOfSeveralNamesIsWrittenInPlaceOnceTheNewContentIsComplete) {
    testing::TempFolder folder;
    const std::string target = folder.write("hills.3df", "old terrain");
    fs::create_hard_link(target, folder.path() / "copy.3df");
    fs::permissions(target, fs::perms(0640));
    const auto identity = fs::hard_link_count(target);
    {
        AtomicFile abandoned(target);
        WriteText(abandoned, "half");
    }
    EXPECT_EQ(folder.read("copy.3df"), "old terrain");
    std::string before = "old terrain";
    for (const std::string& text : {Block(7), std::string("new")}) {  // longer, then shorter
        AtomicFile file(target);
        // The temporary lies elsewhere, and the target stays as it was until the commit.
        EXPECT_NE(fs::path(file.temporaryPath()).parent_path(), folder.path());
        WriteText(file, text);
        EXPECT_TRUE(folder.read("copy.3df") == before);
        const std::string temporary = file.temporaryPath();
        file.commit();
        EXPECT_FALSE(fs::exists(temporary));
        EXPECT_TRUE(folder.read("hills.3df") == text && folder.read("copy.3df") == text);
        before = text;
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"copy.3df", "hills.3df"}));
    EXPECT_EQ(fs::hard_link_count(target), identity);
    EXPECT_TRUE(fs::equivalent(target, folder.path() / "copy.3df"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
}

// A writable file in a folder the user may not write was refused, as no temporary could be
// made beside it; it is written in place. Run as user nobody (uid 65534) where the test is
// root, who may write any folder.
TEST(AtomicFile, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
    constexpr unsigned kNobody = 65534;
    testing::TempFolder folder;
    const std::string target = folder.write("hills.3df", "old");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    fs::permissions(folder.path(), fs::perms(root ? 0755 : 0555));
    const pid_t child = ::fork();
    if (child == 0) {
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        try {
            Replace(target, "new");
        } catch (const PlatformError&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(folder.path(), fs::perms(0700));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "cannot become user nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(folder.read("hills.3df"), "new");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hills.3df"});
}

TEST(AtomicFile, StaleTemporariesGoAtTheNextWriteIntoTheirFolderFreshOnesStay) {
    testing::TempFolder folder;
    const auto dayAndHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(25);
    for (const char* name :
         {".old.3df.quarn-tmp-a1B2c3", ".lookalike.quarn-tmp-a1B2c", "x.quarn-tmp-a1B2c3"})
        fs::last_write_time(folder.write(name, "x"), dayAndHourAgo);
    folder.write(".new.3df.quarn-tmp-d4E5f6", "x");
    Replace(folder.file("hills.3df"), "terrain");
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{".lookalike.quarn-tmp-a1B2c", ".new.3df.quarn-tmp-d4E5f6",
                                        "hills.3df", "x.quarn-tmp-a1B2c3"}));
}

// SIGQUIT was once left out and left the temporary behind.
TEST(AtomicFile, TerminatingSignalsRemoveTheTemporaryAndStillEndTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        testing::TempFolder folder;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(signal, SIG_DFL);  // as in a foreground process, not a background job
            const rlimit noCore{0, 0};  // SIGQUIT would leave a core file
            ::setrlimit(RLIMIT_CORE, &noCore);
            [&]() noexcept {
                AtomicFile file(folder.file("hills.3df"));
                [[maybe_unused]] const auto sent = ::write(ready[1], "!", 1);
                ::sleep(60);
            }();
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        const bool started = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        const auto during = folder.entries();
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(started && during.size() == 1u);
        EXPECT_TRUE(during[0].starts_with(".hills.3df.quarn-tmp-")) << during[0];
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(folder.entries().empty()) << signal;
    }
}

// Devices cannot be renamed over, so they take the bytes directly, with no temporary file
// beside them (a full one is the command line's "Disk full." row).
TEST(AtomicFile, ADeviceTakesTheBytesWithoutATemporary) {
    const std::vector<std::uint8_t> block(3 << 20, 7);  // beyond one buffer
    AtomicFile sink("/dev/null");
    EXPECT_TRUE(sink.temporaryPath().empty());
    sink.write(block);
    EXPECT_NO_THROW(sink.commit());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

}  // namespace
}  // namespace quarn

#include "platform_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quarn {
namespace {

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

// Line splitting, joining and reading whole files.
#include <gtest/gtest.h>

#include <unistd.h>

#include "store/text_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

struct SplitCase {
    std::string bytes;
    Lines lines;
};

class SplitLines : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, ReadsEveryLineEndAndNothingElse) {
    EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitLines,
    testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\nb\r\n", {"a", "b"}},
                    SplitCase{"a\nb\n", {"a", "b"}}, SplitCase{"a\rb\r", {"a", "b"}},
                    SplitCase{"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, SplitCase{"\r\n\r\n", {"", ""}},
                    SplitCase{"\n\r", {"", ""}}, SplitCase{"a\r\r\nb", {"a", "", "b"}},
                    SplitCase{"x\r\n\r\ny", {"x", "", "y"}}, SplitCase{" a \t\r\n", {" a \t"}},
                    SplitCase{std::string("\xe4\xff\0z\r\n", 5), {std::string("\xe4\xff\0z", 4)}}));

TEST(JoinLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(joinLines({}), "");
    EXPECT_EQ(joinLines({""}), "\r\n");
    EXPECT_EQ(joinLines({"09:00", "", "a;b;"}), "09:00\r\n\r\na;b;\r\n");
}

TEST(ReadLines, MissingFileOrFolderIsNoFile) {
    TempFolder dir;
    EXPECT_EQ(readLines(dir / "absent"), std::nullopt);
    EXPECT_EQ(readLines(dir.path()), std::nullopt);
    writeFile(dir / "plain", "x");
    EXPECT_EQ(readLines(dir / "plain" / "below"), std::nullopt);
}

TEST(ReadLines, EmptyFileIsNoLines) {
    TempFolder dir;
    writeFile(dir / "empty", "");
    EXPECT_EQ(readLines(dir / "empty"), Lines{});
}

TEST(ReadLines, UnreadableFileThrowsNamingItAndWhy) {
    TempFolder dir;
    // A link loop exists but cannot be opened, also for root; a rule file's link is never followed,
    // so it is told as the link it is.
    ASSERT_EQ(::symlink("b", (dir / "a").c_str()), 0);
    ASSERT_EQ(::symlink("a", (dir / "b").c_str()), 0);
    try {
        readLines(dir / "a");
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "it is a symbolic link, not a regular file");
        EXPECT_EQ(e.path(), dir / "a");
    }
}

TEST(WriteLines, WritesCrLfAfterEveryLineAndReadsBackTheSame) {
    TempFolder dir;
    const Lines lines{"0000000", "", std::string("\x80\xfe", 2), std::string("a\0b", 3), ""};
    writeLines(dir / "f", lines);
    EXPECT_EQ(readFile(dir / "f"), std::string("0000000\r\n\r\n\x80\xfe\r\na\0b\r\n\r\n", 22));
    EXPECT_EQ(readLines(dir / "f"), lines);
    writeLines(dir / "f", {});
    EXPECT_EQ(readFile(dir / "f"), "");
    EXPECT_EQ(readLines(dir / "f"), Lines{});
}

TEST(WriteLines, ReadsForeignLineEndsAndWritesThemBackAsCrLf) {
    TempFolder dir;
    writeFile(dir / "f", "a\nb\rc\r\n");
    writeLines(dir / "f", *readLines(dir / "f"));
    EXPECT_EQ(readFile(dir / "f"), "a\r\nb\r\nc\r\n");
}

} // namespace
} // namespace tallowby::store

// The floor's file operations that read the same on every system, tried on real files.
#include <gtest/gtest.h>

#include <cerrno>

#include "os/files.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/thrown_by.h"

namespace tallowby::os {
namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

TEST(LinkFile, GivesASecondNameButNeverTakesOneInUse) {
    TempFolder temp;
    writeFile(temp / "first", "shared");
    writeFile(temp / "taken", "kept");
    EXPECT_EQ(linkFile(temp / "first", temp / "second"), LinkResult::Linked);
    EXPECT_EQ(fileStamp(temp / "second")->inode, fileStamp(temp / "first")->inode);
    EXPECT_EQ(linkFile(temp / "missing", temp / "third"), LinkResult::NoSource);
    EXPECT_EQ(testsupport::thrownBy<FileError>([&] { linkFile(temp / "first", temp / "taken"); }).code(),
              EEXIST);
    EXPECT_EQ(readFile(temp / "taken"), "kept");
}

TEST(ReplaceFileIfUnchanged, ReplacesOnlyTheFileThatWasRead) {
    TempFolder temp;
    writeFile(temp / "hosts", "read");
    const FileStamp read = *fileStamp(temp / "hosts");
    EXPECT_TRUE(replaceFileIfUnchanged(temp / "hosts", "planned", read));
    EXPECT_EQ(readFile(temp / "hosts"), "planned");

    // Another writer's file took its place since: nothing is replaced, nothing is left beside it.
    const FileStamp planned = *fileStamp(temp / "hosts");
    writeFile(temp / "edited", "edited by hand");
    std::filesystem::rename(temp / "edited", temp / "hosts");
    EXPECT_FALSE(replaceFileIfUnchanged(temp / "hosts", "stale plan", planned));
    EXPECT_EQ(readFile(temp / "hosts"), "edited by hand");
    EXPECT_EQ(temp.names(), std::vector<std::string>{"hosts"});
    EXPECT_FALSE(replaceFileIfUnchanged(temp / "gone", "stale plan", planned));
}

TEST(LockExclusively, OneHolderAtATime) {
    TempFolder temp;
    UniqueFd held = lockExclusively(temp / ".lock", std::chrono::milliseconds(0));
    EXPECT_EQ(testsupport::thrownBy<FileError>([&] {
                  lockExclusively(temp / ".lock", std::chrono::milliseconds(50));
              }).code(),
              EWOULDBLOCK);
    held.reset();
    EXPECT_TRUE(lockExclusively(temp / ".lock", std::chrono::milliseconds(0)).valid());
}

// The program's own files below its data folder: a regular file is made, replaced and read there; a
// folder in a file's place, a path outside the folder or through a missing folder is not.
TEST(OwnFiles, AreRegularFilesInsideTheirFolder) {
    TempFolder temp;
    const std::filesystem::path root = temp / "data";
    std::filesystem::create_directories(root / "profiles" / "Work.rem");
    const std::filesystem::path file = root / "profiles" / "Work.db";
    replaceOwnFile(root, file, "09:00\r\n");
    replaceOwnFile(root, file, "10:00\r\n");
    const std::optional<RegularFile> read = readOwnFile(root, file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, "10:00\r\n");
    EXPECT_EQ(read->stamp, ownFileInfo(root, file)->stamp);
    EXPECT_EQ(ownFileInfo(root, root / "profiles")->kind, FileKind::Folder);
    EXPECT_FALSE(readOwnFile(root, root / "missing" / "Work.db"));
    EXPECT_FALSE(readOwnFile(root, file / "below"));
    using testsupport::thrownBy;
    EXPECT_EQ(thrownBy<FileError>([&] { readOwnFile(root, root / "profiles" / "Work.rem"); }).code(), EISDIR);
    EXPECT_EQ(thrownBy<FileError>([&] { replaceOwnFile(root, root / "profiles" / "Work.rem", "x"); }).code(),
              EISDIR);
    EXPECT_EQ(thrownBy<FileError>([&] { replaceOwnFile(root, temp / "elsewhere", "x"); }).code(), EINVAL);
    EXPECT_EQ(thrownBy<FileError>([&] { replaceOwnFile(root, root / "missing" / "x", "x"); }).code(), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(temp / "elsewhere"));
}

} // namespace
} // namespace tallowby::os

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

} // namespace
} // namespace tallowby::os

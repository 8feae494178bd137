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

} // namespace
} // namespace tallowby::os

// The floor's Win32 implementation on real files in a private temporary folder, under Wine or
// Windows: wide names, every byte kept (CR LF too), replacement in one step, exclusive creation, and
// failures in the words the Linux build uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <windows.h>

#include "os/files.h"
#include "os/path_text.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/thrown_by.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

// Bytes a text-mode write or read would change: CR LF, a lone LF and CR, Ctrl-Z, NUL, UTF-8.
const std::string kAwkwardBytes("a\r\nb\nc\rd\x1a"
                                "e\0f\xc3\xa9\r\n",
                                15);

FileError thrownBy(const std::function<void()>& call) {
    return testsupport::thrownBy<FileError>(call);
}

TEST(WindowsFiles, ReplacementKeepsEveryByteAndLeavesNoTemporary) {
    TempFolder temp;
    const fs::path file = temp / "rules.db";
    replaceFileContents(file, kAwkwardBytes); // a new file: moved into place
    EXPECT_EQ(readFile(file), kAwkwardBytes);
    const FileStamp first = *fileStamp(file);
    replaceFileContents(file, "09:00\r\n" + kAwkwardBytes); // an old one: ReplaceFileW
    EXPECT_EQ(readRegularFile(file)->bytes, "09:00\r\n" + kAwkwardBytes);
    EXPECT_NE(fileStamp(file)->inode, first.inode); // another file took its place
    EXPECT_EQ(fileStamp(file)->size, static_cast<std::int64_t>(kAwkwardBytes.size() + 7));
    EXPECT_EQ(temp.names(), std::vector<std::string>{"rules.db"});
    EXPECT_TRUE(fileInfo(file)->ownedByMe);
}

TEST(WindowsFiles, AFileHeldOpenWithoutDeleteSharingIsRewrittenInPlace) {
    TempFolder temp;
    const fs::path file = temp / "hosts";
    writeFile(file, std::string(40, 'o'));
    const HANDLE holder = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    replaceFileContents(file, kAwkwardBytes);
    ::CloseHandle(holder);
    EXPECT_EQ(readFile(file), kAwkwardBytes);
    EXPECT_EQ(temp.names(), std::vector<std::string>{"hosts"});
}

TEST(WindowsFiles, ReplacementKeepsTheReplacedFilesAttributes) {
    TempFolder temp;
    const fs::path file = temp / "hosts";
    writeFile(file, "old\r\n");
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    replaceFileContents(file, "new\r\n");
    EXPECT_EQ(readFile(file), "new\r\n");
    EXPECT_NE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(WindowsFiles, NamesAreUtf8TextAndWidePathsOnDisk) {
    TempFolder temp;
    const std::string name = "Caf\xc3\xa9 \xe6\x9d\xb1\xe4\xba\xac \xe2\x98\x95.db"; // "Café 東京 ☕.db"
    replaceFileContents(temp.path() / pathFromUtf8(name), kAwkwardBytes);
    EXPECT_EQ(listFolder(temp.path()), std::vector<std::string>{name});
    // The file has the name as Windows spells it, not one character per UTF-8 byte.
    EXPECT_EQ(readFile(temp.path() / L"Caf\u00e9 \u6771\u4eac \u2615.db"), kAwkwardBytes);
    EXPECT_EQ(utf8Of(temp.path() / pathFromUtf8(name)).substr(temp.path().string().size() + 1), name);
}

TEST(WindowsFiles, CreateExclusiveNeverReplaces) {
    TempFolder temp;
    {
        UniqueFd fd = createExclusive(temp / "new", NewFileMode::ReadableByAll);
        writeAll(fd.get(), kAwkwardBytes, temp / "new");
        syncAndClose(fd, temp / "new");
    }
    const FileError taken = thrownBy([&] { createExclusive(temp / "new"); });
    EXPECT_EQ(taken.code(), EEXIST);
    EXPECT_STREQ(taken.what(), "File exists");
    EXPECT_EQ(readFile(temp / "new"), kAwkwardBytes);
}

TEST(WindowsFiles, FailuresReadAsOnLinux) {
    TempFolder temp;
    writeFile(temp / "ten", "0123456789");
    fs::create_directory(temp / "folder");
    const struct {
        const char* what;
        std::function<void()> call;
        int code;
        const char* words;
    } cases[] = {
        {"a folder read", [&] { readRegularFile(temp / "folder"); }, EISDIR,
         "it is a folder, not a regular file"},
        {"a device read", [&] { readRegularFile("NUL"); }, 0, "it is a character device, not a regular file"},
        {"too large", [&] { readRegularFile(temp / "ten", 9); }, EFBIG,
         "it is larger than the 9 bytes a file of its kind may hold"},
        {"no folder", [&] { replaceFileContents(temp / "missing" / "file", "x"); }, ENOENT,
         "No such file or directory"},
        {"a folder replaced", [&] { replaceFileContents(temp / "folder", "x"); }, EISDIR, "Is a directory"},
        {"a folder rewritten", [&] { rewriteFileInPlace(temp / "folder", "x"); }, 0,
         "it is not a regular file"},
        {"a file as folder", [&] { makePrivateFolders(temp / "ten" / "below"); }, ENOENT,
         "No such file or directory"},
    };
    for (const auto& c : cases) {
        const FileError error = thrownBy(c.call);
        EXPECT_EQ(error.code(), c.code) << c.what;
        EXPECT_STREQ(error.what(), c.words) << c.what;
    }
    EXPECT_FALSE(readRegularFile(temp / "missing"));
    EXPECT_FALSE(readRegularFile(temp / "ten" / "below"));
    EXPECT_EQ(readFile(temp / "ten"), "0123456789");
}

TEST(WindowsFiles, AppendingAddsAtTheEndAndMakesAMissingFile) {
    TempFolder temp;
    appendToFile(temp / "log", kAwkwardBytes);
    appendToFile(temp / "log", "second\r\n");
    EXPECT_EQ(readFile(temp / "log"), kAwkwardBytes + "second\r\n");
    EXPECT_EQ(thrownBy([&] { appendToFile(temp / "missing" / "log", "x"); }).code(), ENOENT);
}

TEST(WindowsFiles, RewriteInPlaceKeepsTheFileAndCutsItToLength) {
    TempFolder temp;
    writeFile(temp / "hosts", std::string(100, 'o'));
    const FileStamp before = *fileStamp(temp / "hosts");
    rewriteFileInPlace(temp / "hosts", kAwkwardBytes);
    EXPECT_EQ(readFile(temp / "hosts"), kAwkwardBytes);
    EXPECT_EQ(fileStamp(temp / "hosts")->inode, before.inode);
}

TEST(WindowsFiles, FoldersAndRemoval) {
    TempFolder temp;
    writeFile(temp / "first", "a file");
    writeFile(temp / "taken", "kept");
    makePrivateFolders(temp / "x" / "y");
    EXPECT_EQ(fileInfo(temp / "x" / "y")->kind, FileKind::Folder);
    EXPECT_EQ(folderWriteError(temp / "x"), 0);
    EXPECT_EQ(folderWriteError(temp / "first"), ENOTDIR);
    EXPECT_EQ(accessError(temp / "first", Access::Read), 0);
    EXPECT_EQ(accessError(temp / "missing", Access::Read), ENOENT);
    EXPECT_EQ(removeFile(temp / "first"), 0);
    EXPECT_EQ(removeFile(temp / "first"), 0); // gone already
    EXPECT_EQ(removeFile(temp / "x"), EISDIR);
    std::vector<std::string> names = listFolder(temp.path());
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"taken", "x"}));
    int error = 0;
    EXPECT_FALSE(fileInfo(temp / "missing", Links::NotFollowed, &error));
    EXPECT_EQ(error, ENOENT);
}

} // namespace
} // namespace tallowby::os

// The floor's file operations on real files in a private temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "os/files.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/thrown_by.h"

namespace tallowby::os {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

FileError thrownBy(const std::function<void()>& call) {
    return testsupport::thrownBy<FileError>(call);
}

TEST(ReadRegularFile, ReadsUpToTheLimitAndRefusesMoreWithoutWaiting) {
    TempFolder temp;
    writeFile(temp / "ten", "0123456789");
    EXPECT_EQ(readRegularFile(temp / "ten", 10)->bytes, "0123456789");
    const FileError tooLarge = thrownBy([&] { readRegularFile(temp / "ten", 9); });
    EXPECT_EQ(tooLarge.code(), EFBIG);
    EXPECT_STREQ(tooLarge.what(), "it is larger than the 9 bytes a file of its kind may hold");
    EXPECT_FALSE(readRegularFile(temp / "missing"));
    EXPECT_FALSE(readRegularFile(temp / "ten" / "below")); // through something that is not a folder

    // A pipe without a writer would hold a blocking open for ever.
    ASSERT_EQ(::mkfifo((temp / "pipe").c_str(), 0600), 0);
    EXPECT_STREQ(thrownBy([&] { readRegularFile(temp / "pipe"); }).what(),
                 "it is a named pipe, not a regular file");
    fs::create_directory(temp / "folder");
    EXPECT_EQ(thrownBy([&] { readRegularFile(temp / "folder"); }).code(), EISDIR);
    EXPECT_STREQ(thrownBy([&] { readRegularFile("/dev/null"); }).what(),
                 "it is a character device, not a regular file");
}

TEST(ReadRegularFile, FollowsALinkOnlyWhenAsked) {
    TempFolder temp;
    writeFile(temp / "target", "bytes");
    fs::create_symlink(temp / "target", temp / "link");
    EXPECT_EQ(readRegularFile(temp / "link")->bytes, "bytes");
    EXPECT_STREQ(thrownBy([&] { readRegularFile(temp / "link", kNoLimit, Links::NotFollowed); }).what(),
                 "it is a symbolic link, not a regular file");
    EXPECT_EQ(readRegularFile(temp / "target")->stamp, fileStamp(temp / "target"));
}

// The hosts file's replacement follows a link to the file it leads to, as the plain one does, and
// takes the stamp of that file's read; the link stays a link, and a stale stamp changes nothing.
TEST(ReplaceFileIfUnchanged, FollowsALinkToTheFileItReplaces) {
    TempFolder temp;
    fs::create_directory(temp / "etc");
    writeFile(temp / "hosts", "read");
    fs::create_symlink(temp / "hosts", temp / "etc" / "hosts");
    const FileStamp read = readRegularFile(temp / "etc" / "hosts")->stamp;
    EXPECT_TRUE(replaceFileIfUnchanged(temp / "etc" / "hosts", "planned", read));
    EXPECT_TRUE(fs::is_symlink(temp / "etc" / "hosts"));
    EXPECT_EQ(readFile(temp / "hosts"), "planned");
    EXPECT_FALSE(replaceFileIfUnchanged(temp / "etc" / "hosts", "stale", read));
    EXPECT_EQ(readFile(temp / "hosts"), "planned");
    EXPECT_EQ(temp.names(), (std::vector<std::string>{"etc", "hosts"}));
}

// The program's own files: nothing in a file's place or on the way to it that is not a regular file
// or a real folder is read or written, and what the link leads to keeps its bytes.
TEST(OwnFiles, AreReadAndReplacedOnlyAsRegularFilesReachedWithoutALink) {
    TempFolder temp;
    const fs::path root = temp / "data";
    fs::create_directories(root / "profiles");
    fs::create_directories(temp / "outside");
    writeFile(temp / "outside" / "target", "outside");
    fs::create_symlink(temp / "outside" / "target", root / "link");
    fs::create_symlink(temp / "outside" / "missing", root / "dangling");
    fs::create_symlink(temp / "outside", root / "linked");
    ASSERT_EQ(::mkfifo((root / "pipe").c_str(), 0600), 0);
    const struct {
        const char* name;
        const char* told;
    } refused[] = {{"link", "it is a symbolic link, not a regular file"},
                   {"dangling", "it is a symbolic link, not a regular file"},
                   {"pipe", "it is a named pipe, not a regular file"},
                   {"linked/target", "it is a symbolic link, not a folder"},
                   {"pipe/below", "it is a named pipe, not a folder"}};
    for (const auto& c : refused) {
        const fs::path path = root / c.name;
        EXPECT_STREQ(thrownBy([&] { readOwnFile(root, path); }).what(), c.told) << c.name;
        EXPECT_STREQ(thrownBy([&] { replaceOwnFile(root, path, "new"); }).what(), c.told) << c.name;
    }
    EXPECT_EQ(readFile(temp / "outside" / "target"), "outside");
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp / "outside" / "missing")));
    EXPECT_EQ(ownFileInfo(root, root / "dangling")->kind, FileKind::Link);

    // A regular file, new or old, through a data folder that is itself a link.
    fs::create_symlink(root, temp / "data-link");
    replaceOwnFile(temp / "data-link", temp / "data-link" / "profiles" / "Work.db", "09:00\r\n");
    EXPECT_EQ(readOwnFile(temp / "data-link", temp / "data-link" / "profiles" / "Work.db")->bytes,
              "09:00\r\n");
    EXPECT_EQ(readOwnFile(root, root / "profiles" / "Work.db")->stamp,
              ownFileInfo(root, root / "profiles" / "Work.db")->stamp);
    EXPECT_FALSE(readOwnFile(root, root / "missing" / "Work.db"));
    EXPECT_FALSE(ownFileInfo(root, root / "missing"));
    EXPECT_EQ(thrownBy([&] { readOwnFile(root, temp / "elsewhere"); }).code(), EINVAL);
}

TEST(ReadAll, NeverHoldsMoreThanTheLimit) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    UniqueFd reader(pipeEnds[0]), writer(pipeEnds[1]);
    writeAll(writer.get(), std::string(1000, 'x'), "pipe");
    EXPECT_EQ(readAll(reader.get(), "pipe", 100).size(), 100u);
}

TEST(FileInfo, TellsEachKindAndTheOwner) {
    TempFolder temp;
    writeFile(temp / "file", "");
    fs::create_directory(temp / "folder");
    fs::create_symlink("file", temp / "link");
    ASSERT_EQ(::mkfifo((temp / "pipe").c_str(), 0600), 0);
    const struct {
        const char* name;
        Links links;
        FileKind kind;
    } cases[] = {{"file", Links::NotFollowed, FileKind::Regular},
                 {"folder", Links::NotFollowed, FileKind::Folder},
                 {"link", Links::NotFollowed, FileKind::Link},
                 {"link", Links::Follow, FileKind::Regular},
                 {"pipe", Links::NotFollowed, FileKind::Pipe}};
    for (const auto& c : cases) {
        const std::optional<FileInfo> info = fileInfo(temp / c.name, c.links);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->kind, c.kind) << c.name;
        EXPECT_TRUE(info->ownedByMe) << c.name;
    }
    int error = 0;
    EXPECT_FALSE(fileInfo(temp / "missing", Links::NotFollowed, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(fileInfo(temp / "file" / "below", Links::NotFollowed, &error));
    EXPECT_EQ(error, ENOTDIR);
    EXPECT_EQ(fileInfo("/")->ownedByMe, ::geteuid() == 0); // root owns it
}

TEST(CreateExclusive, NeverReplacesAndGivesTheModeAsked) {
    TempFolder temp;
    const mode_t oldMask = ::umask(077);
    {
        UniqueFd fd = createExclusive(temp / "readable", NewFileMode::ReadableByAll);
        writeAll(fd.get(), "text", temp / "readable");
        syncAndClose(fd, temp / "readable");
        createExclusive(temp / "private");
    }
    ::umask(oldMask);
    EXPECT_EQ(readFile(temp / "readable"), "text");
    EXPECT_EQ(fs::status(temp / "readable").permissions(), fs::perms(0644));
    EXPECT_EQ(fs::status(temp / "private").permissions(), fs::perms(0600));
    EXPECT_EQ(thrownBy([&] { createExclusive(temp / "readable"); }).code(), EEXIST);
    fs::create_symlink(temp / "elsewhere", temp / "planted");
    EXPECT_EQ(thrownBy([&] { createExclusive(temp / "planted"); }).code(), EEXIST);
    EXPECT_FALSE(fs::exists(temp / "elsewhere"));
}

TEST(Folders, ListRemoveAndMakePrivate) {
    TempFolder temp;
    writeFile(temp / "a", "");
    writeFile(temp / ".b", "");
    std::vector<std::string> names = listFolder(temp.path());
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{".b", "a"}));
    EXPECT_TRUE(listFolder(temp / "missing").empty());

    EXPECT_EQ(removeFile(temp / "a"), 0);
    EXPECT_EQ(removeFile(temp / "a"), 0); // gone already
    EXPECT_EQ(removeFile(temp.path()), EISDIR);

    makePrivateFolders(temp / "x" / "y");
    EXPECT_EQ(fs::status(temp / "x").permissions(), fs::perms(0700));
    EXPECT_EQ(thrownBy([&] { makePrivateFolders(temp / ".b" / "z"); }).code(), ENOTDIR);
}

} // namespace
} // namespace tallowby::os

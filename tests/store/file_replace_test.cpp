// Replacing a file whole: contents, owner and mode, links, mount points, and failures that must leave
// the old file as it was.
#include <gtest/gtest.h>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/text_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

struct stat statOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info;
}

// Expects the replacement to fail with this description and to leave the folder as it was.
void expectFailure(const TempFolder& dir, const std::filesystem::path& path, std::string_view bytes,
                   const std::string& description) {
    const auto before = dir.names();
    try {
        replaceFileContents(path, bytes);
        ADD_FAILURE() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.what(), description);
        EXPECT_EQ(e.path(), path);
    }
    EXPECT_EQ(dir.names(), before);
}

TEST(ReplaceFile, NewFileGetsTheUsualModeUnderTheUmask) {
    TempFolder dir;
    const mode_t oldMask = ::umask(027);
    replaceFileContents(dir / "new.db", "x");
    ::umask(oldMask);
    EXPECT_EQ(statOf(dir / "new.db").st_mode & 07777, 0640u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"new.db"});
}

TEST(ReplaceFile, KeepsOwnerAndModeOfTheReplacedFile) {
    TempFolder dir;
    const auto file = dir / "hosts";
    writeFile(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 8765), 0);
    }
    const ino_t oldInode = statOf(file).st_ino;

    replaceFileContents(file, "new contents");

    const auto after = statOf(file);
    EXPECT_EQ(readFile(file), "new contents");
    EXPECT_NE(after.st_ino, oldInode) << "written in place";
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(after.st_uid, 4321u);
        EXPECT_EQ(after.st_gid, 8765u);
    }
}

TEST(ReplaceFile, ReplacesTheTargetOfALinkAndKeepsTheLink) {
    TempFolder dir;
    writeFile(dir / "target", "old");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    replaceFileContents(dir / "link", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link"));
    EXPECT_EQ(readFile(dir / "target"), "new");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link", "target"}));
}

TEST(ReplaceFile, TooLargeWriteLeavesTheOldFileByteIdentical) {
    TempFolder dir;
    const auto file = dir / "profile.db";
    const std::string old = "09:00\r\n10:00\r\n\xe9\r\n";
    writeFile(file, old);
    // A file size limit makes the write itself fail, whoever runs the test.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectFailure(dir, file, std::string(4096, 'x'), "File too large");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readFile(file), old);
}

TEST(ReplaceFile, ReadOnlyFolderLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempFolder dir;
    writeFile(dir / "f", "old");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    expectFailure(dir, dir / "f", "new", "Permission denied");
    EXPECT_EQ(readFile(dir / "f"), "old");
}

TEST(ReplaceFile, UnusablePathsThrowTheSystemsDescription) {
    TempFolder dir;
    writeFile(dir / "plain", "x");
    expectFailure(dir, dir / "plain" / "below", "new", "Not a directory");
    std::filesystem::create_directory(dir / "folder");
    expectFailure(dir, dir / "folder", "new", "Is a directory");
    expectFailure(dir, dir / "absent" / "f", "new", "No such file or directory");
}

TEST(ReplaceFile, RewritesAMountPointInPlace) {
    TempFolder dir;
    const auto source = dir / "source";
    const auto mounted = dir / "mounted";
    writeFile(source, "old");
    writeFile(mounted, "hidden");
    // In a mount namespace of its own, so nothing outside the child sees the bind mount.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(source.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
            ::_exit(77);
        try {
            replaceFileContents(mounted, "new");
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(readFile(source) == "new" ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no rights to make a mount namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"mounted", "source"}));
}

TEST(RewriteInPlace, WritesOnlyARegularFileNamedByItsOwnPath) {
    TempFolder dir;
    writeFile(dir / "file", "old contents");
    ASSERT_EQ(::symlink("file", (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/null", (dir / "device").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder");
    // A wait on the pipe ends the test instead of hanging it.
    ::alarm(10);
    for (const char* name : {"link", "device", "pipe", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(rewriteFileInPlace(dir / name, "new"), FileError);
    }
    ::alarm(0);
    EXPECT_EQ(readFile(dir / "file"), "old contents");
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    rewriteFileInPlace(dir / "file", "new");
    EXPECT_EQ(readFile(dir / "file"), "new");
}

} // namespace
} // namespace tallowby::store

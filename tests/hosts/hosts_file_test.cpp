// The hosts writer on real files in a temporary folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_bounds.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "store/text_file.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

using hosts_testing::readFile;
using hosts_testing::writeFile;
using testsupport::TempFolder;

const std::string kDebianHosts = "127.0.0.1\tlocalhost\n127.0.1.1\tbox.lan\tbox\n\n"
                                 "# The following lines are desirable for IPv6 capable hosts\n"
                                 "::1     localhost ip6-localhost ip6-loopback\n";

struct stat statOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info;
}

class HostsFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::filesystem::path hosts = folder.path() / "hosts";
};

TEST_F(HostsFileTest, KeepsTheUserLinesAndReplacesTheFileAtomically) {
    writeFile(hosts, kDebianHosts);
    ASSERT_EQ(::chmod(hosts.c_str(), 0640), 0);
    const ino_t before = statOf(hosts).st_ino;
    HostsFile(hosts, "\n").write({"example.com", "example.org"});
    EXPECT_EQ(readFile(hosts), kDebianHosts + renderHostsBlock({"example.com", "example.org"}, "\n"));
    EXPECT_NE(statOf(hosts).st_ino, before) << "a new file renamed into place";
    EXPECT_EQ(statOf(hosts).st_mode & 07777, 0640u);
    EXPECT_EQ(hosts_testing::folderEntries(folder.path()),
              (std::vector<std::string>{".hosts.tallowby-lock", "hosts"}));
}

TEST_F(HostsFileTest, RepeatedAndAlternatingWritesLeaveTheSameBytes) {
    writeFile(hosts, kDebianHosts);
    const HostsFile file(hosts, "\n");
    file.write({"a.com"});
    const std::string once = readFile(hosts);
    const ino_t inode = statOf(hosts).st_ino;
    file.write({"a.com"});
    EXPECT_EQ(statOf(hosts).st_ino, inode) << "an unchanged file is not rewritten";
    file.write({});
    EXPECT_EQ(readFile(hosts), kDebianHosts + renderHostsBlock({}, "\n"));
    file.write({"a.com"});
    EXPECT_EQ(readFile(hosts), once);
}

TEST_F(HostsFileTest, HoldsTellsWhetherTheBlockIsStillThereAfterEditsAndReplacements) {
    writeFile(hosts, kDebianHosts);
    const HostsFile file(hosts, "\n");
    file.write({"a.com", "b.com"});
    const std::string written = readFile(hosts);
    EXPECT_TRUE(file.holds({"a.com", "b.com"}));
    EXPECT_FALSE(file.holds({"a.com"}));

    const struct {
        const char* what;
        std::string content;
        bool replace; // a new file renamed over the old one, as another program would
        bool held;
        // The same length and time as the write left: the stamp is the one the writer could have
        // taken had the edit come between its write and its look at the file.
        bool sameStamp = false;
    } cases[] = {
        {"a user line added", written + "10.0.0.1 nas\n", false, true},
        {"a blocked line taken out", kDebianHosts + renderHostsBlock({"a.com"}, "\n"), false, false},
        {"the block taken out, same length", std::string(written.size(), '#'), false, false},
        {"the block taken out right after the write", "", false, false, true},
        {"replaced by the distribution's file", kDebianHosts, true, false},
        {"replaced by a copy with the block", written, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        file.write({"a.com", "b.com"});
        const struct stat asWritten = statOf(hosts);
        if (c.replace) {
            writeFile(folder.path() / "new", c.content);
            std::filesystem::rename(folder.path() / "new", hosts);
        } else if (c.sameStamp) {
            writeFile(hosts, std::string(static_cast<std::size_t>(asWritten.st_size), '#'));
            const struct timespec times[] = {asWritten.st_atim, asWritten.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, hosts.c_str(), times, 0), 0);
        } else {
            writeFile(hosts, c.content);
        }
        EXPECT_EQ(file.holds({"a.com", "b.com"}), c.held);
    }
    std::filesystem::remove(hosts);
    EXPECT_FALSE(file.holds({"a.com"}));
    // Nothing to block and nothing left to lift: a file without the block holds none.
    EXPECT_TRUE(file.holds({}));
    writeFile(hosts, kDebianHosts);
    EXPECT_TRUE(file.holds({}));
}

TEST_F(HostsFileTest, MissingOrEmptyFileGetsTheBlockAlone) {
    const mode_t oldMask = ::umask(077);
    HostsFile(hosts, "\r\n").write({"x.com"});
    ::umask(oldMask);
    EXPECT_EQ(readFile(hosts), renderHostsBlock({"x.com"}, "\r\n"));
    EXPECT_EQ(statOf(hosts).st_mode & 07777, 0644u) << "every user's resolver reads the file";

    // No block is written to block nothing, so an ordinary user is not asked for a password for it;
    // a block there is emptied.
    writeFile(hosts, "");
    HostsFile empty(hosts, "\n");
    empty.setPrivilegedWrite([](const BlockRequest&) { FAIL() << "asked for a permission"; });
    EXPECT_TRUE(empty.write({}));
    EXPECT_EQ(readFile(hosts), "");
    std::filesystem::remove(hosts);
    EXPECT_TRUE(empty.write({}));
    EXPECT_FALSE(std::filesystem::exists(hosts));
    empty.write({"x.com"});
    empty.write({});
    EXPECT_EQ(readFile(hosts), renderHostsBlock({}, "\n"));
}

TEST_F(HostsFileTest, CrLfFileWithoutFinalLineEndKeepsItsLines) {
    const std::string user = "127.0.0.1       localhost\r\n127.0.0.1 box";
    writeFile(hosts, user);
    HostsFile(hosts, "\r\n").write({"a.com"});
    EXPECT_EQ(readFile(hosts), user + "\r\n" + renderHostsBlock({"a.com"}, "\r\n"));
}

TEST_F(HostsFileTest, LinksStayLinksAndTheFileTheyNameIsWritten) {
    const auto real = folder.path() / "real-hosts";
    writeFile(real, kDebianHosts);
    std::filesystem::create_symlink("real-hosts", hosts);
    HostsFile(hosts, "\n").write({"a.com"});
    EXPECT_TRUE(std::filesystem::is_symlink(hosts));
    EXPECT_EQ(readFile(real), kDebianHosts + renderHostsBlock({"a.com"}, "\n"));

    // A link to a file not there yet: the file is created, the link kept.
    const auto dangling = folder.path() / "dangling";
    std::filesystem::create_symlink(folder.path() / "later", dangling);
    HostsFile(dangling, "\n").write({"a.com"});
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readFile(folder.path() / "later"), renderHostsBlock({"a.com"}, "\n"));
}

TEST_F(HostsFileTest, UnwritablePathsAreRefusedInPlainWords) {
    // Root passes every permission check, so the failures come from the shape of the path.
    writeFile(folder.path() / "etc", kDebianHosts);
    try {
        HostsFile(folder.path() / "etc" / "hosts", "\n").write({"a.com"});
        FAIL() << "no error";
    } catch (const store::FileError& error) {
        EXPECT_STREQ(error.what(), "a part of its path is not a folder");
    }
    EXPECT_EQ(readFile(folder.path() / "etc"), kDebianHosts);

    std::filesystem::create_directory(hosts);
    EXPECT_THROW(HostsFile(hosts, "\n").write({"a.com"}), store::FileError);
    EXPECT_TRUE(std::filesystem::is_directory(hosts));
}

TEST_F(HostsFileTest, FolderRefusingNewFilesRewritesTheFileInPlace) {
    writeFile(hosts, kDebianHosts);
    HostsFile file(hosts, "\n");
    file.setFolderProbe([](const std::filesystem::path&) { return EACCES; });
    const ino_t inode = statOf(hosts).st_ino;
    const auto many = hosts_testing::numberedSites(kMostPartSites, "site", ".example");
    file.write(many);
    EXPECT_EQ(readFile(hosts), kDebianHosts + renderHostsBlock(many, "\n"));
    // Shrinking cuts the old tail off.
    file.write({"a.com"});
    EXPECT_EQ(readFile(hosts), kDebianHosts + renderHostsBlock({"a.com"}, "\n"));
    EXPECT_EQ(statOf(hosts).st_ino, inode);
    EXPECT_EQ(hosts_testing::folderEntries(folder.path()), std::vector<std::string>{"hosts"})
        << "the file itself is locked";
}

} // namespace
} // namespace tallowby::platform

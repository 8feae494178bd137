// What real machines and hand-made folders put at the hosts path: only a regular file is ever read or
// written, nothing makes the writer or the tick's check wait, and the sandbox program never reaches
// outside its folder. Devices are only linked to and looked at, never written.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "platform/hosts/hosts_target.h"
#include "store/text_file.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;
using hosts_testing::readFile;
using hosts_testing::writeFile;
using testsupport::TempFolder;

const std::string kUserLines = "127.0.0.1 localhost\n";

// The description write() refuses with, or "" when it wrote.
std::string refusalOf(const HostsFile& file) {
    try {
        file.write({"a.com"});
    } catch (const store::FileError& error) {
        EXPECT_EQ(error.path(), file.path());
        return error.what();
    }
    return "";
}

mode_t kindOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

void makeSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.native().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

std::string withFolder(std::string text, const fs::path& folder) {
    const std::string mark = "{folder}";
    if (const auto at = text.find(mark); at != std::string::npos)
        text.replace(at, mark.size(), folder.string());
    return text;
}

TEST(HostsPath, NothingButARegularFileIsReadOrWrittenAndNothingWaits) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& folder)> make;
        fs::path path; // given to the writer, inside the folder
        std::string refusal;
        fs::path kept; // stays of this kind
        mode_t kind;
    };
    std::vector<Case> cases{
        {"a named pipe", [](const fs::path& f) { ::mkfifo((f / "hosts").c_str(), 0644); }, "hosts",
         "it is a named pipe, not a regular file", "hosts", S_IFIFO},
        {"a link to /dev/null", [](const fs::path& f) { fs::create_symlink("/dev/null", f / "hosts"); },
         "hosts", "it is a character device, not a regular file", "/dev/null", S_IFCHR},
        {"a folder", [](const fs::path& f) { fs::create_directory(f / "hosts"); }, "hosts",
         "it is a folder, not a regular file", "hosts", S_IFDIR},
        {"a socket", [](const fs::path& f) { makeSocket(f / "hosts"); }, "hosts",
         "it is a socket, not a regular file", "hosts", S_IFSOCK},
        {"a loop of links",
         [](const fs::path& f) {
             fs::create_symlink("other", f / "hosts");
             fs::create_symlink("hosts", f / "other");
         },
         "hosts", "it is a symbolic link that leads round in a loop", "hosts", S_IFLNK},
        {"a path through a loop of links", [](const fs::path& f) { fs::create_symlink("etc", f / "etc"); },
         "etc/hosts", "its path goes round in a loop of symbolic links", "etc", S_IFLNK},
        {"a missing folder", [](const fs::path&) {}, "etc/hosts", "the folder {folder}/etc does not exist",
         ".", S_IFDIR},
    };
    if (kindOf("/dev/loop0") == S_IFBLK)
        cases.push_back({"a link to a link to a block device",
                         [](const fs::path& f) {
                             fs::create_symlink("/dev/loop0", f / "disk");
                             fs::create_symlink("disk", f / "hosts");
                         },
                         "hosts", "it is a block device, not a regular file", "/dev/loop0", S_IFBLK});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        c.make(folder.path());
        const auto entries = folder.names();
        const HostsFile file(folder.path() / c.path, "\n");
        // First in a child that is killed should it wait, then here, where a failure is told in full.
        ASSERT_EQ(hosts_testing::runInChild(
                      [&] { return refusalOf(file).empty() || file.holds({"a.com"}) ? 1 : 0; },
                      std::chrono::seconds(5)),
                  0);
        EXPECT_EQ(refusalOf(file), withFolder(c.refusal, folder.path()));
        EXPECT_FALSE(file.holds({"a.com"}));
        EXPECT_EQ(folder.names(), entries);
        EXPECT_EQ(kindOf(folder.path() / c.kept), c.kind);
    }
}

TEST(HostsPath, LinksLeadToARegularFileAnywhereButForTheSandboxOnlyInsideItsFolder) {
    TempFolder outsideFolder;
    const fs::path outside = fs::canonical(outsideFolder.path());
    writeFile(outside / "hosts", kUserLines);
    const auto linkHosts = [](const fs::path& target) {
        return [target](const fs::path& sandbox) {
            fs::create_directory(sandbox / "system");
            fs::create_symlink(target, sandbox / "system" / "hosts");
        };
    };
    const std::string leavesTheSandbox = "it leads to " + (outside / "hosts").string() +
                                         ", outside the folder {folder} that this program keeps to";
    const struct {
        const char* what;
        std::function<void(const fs::path& sandbox)> make;
        bool confined;
        fs::path written; // inside the sandbox, or absolute; empty when refused
        std::string refusal;
    } cases[] = {
        {"to a file inside", linkHosts("../real"), true, "real", ""},
        {"to a file inside not made yet", linkHosts("../later"), true, "later", ""},
        {"to a file outside, for the real program", linkHosts(outside / "hosts"), false, outside / "hosts",
         ""},
        {"to a file outside", linkHosts(outside / "hosts"), true, "", leavesTheSandbox},
        {"climbing out", linkHosts(fs::path("../..") / outside.filename() / "hosts"), true, "",
         leavesTheSandbox},
        {"to a file outside not made yet", linkHosts(outside / "new"), true, "",
         "it leads to " + (outside / "new").string() +
             ", outside the folder {folder} that this program keeps to"},
        {"through a second link that leads out",
         [&](const fs::path& sandbox) {
             linkHosts("../step")(sandbox);
             fs::create_symlink(outside / "hosts", sandbox / "step");
         },
         true, "", leavesTheSandbox},
        {"in place of the folder",
         [&](const fs::path& sandbox) { fs::create_symlink(outside, sandbox / "system"); }, true, "",
         leavesTheSandbox},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder sandboxFolder;
        const fs::path sandbox = fs::canonical(sandboxFolder.path());
        writeFile(sandbox / "real", kUserLines);
        c.make(sandbox);
        const HostsFile file(sandbox / "system" / "hosts", "\n", c.confined ? sandbox : fs::path());
        EXPECT_EQ(refusalOf(file), withFolder(c.refusal, sandbox));
        EXPECT_EQ(file.holds({"a.com"}), c.refusal.empty());
        if (c.refusal.empty()) {
            const std::string old = c.written.filename() == "later" ? "" : kUserLines;
            EXPECT_EQ(readFile(sandbox / c.written), old + renderHostsBlock({"a.com"}, "\n"));
            EXPECT_EQ(kindOf(sandbox / "system" / "hosts"), S_IFLNK);
        }
        if (c.written != outside / "hosts") {
            EXPECT_EQ(readFile(outside / "hosts"), kUserLines);
            EXPECT_EQ(outsideFolder.names(), std::vector<std::string>{"hosts"});
        } else {
            writeFile(outside / "hosts", kUserLines);
            fs::remove(hosts_io::hostsLockFile(outside / "hosts"));
        }
    }
}

TEST(HostsPath, OnlyAWriteRefusedForWantOfRightsGoesToThePrivilegedWriter) {
    TempFolder folder;
    const auto hosts = folder.path() / "hosts";
    writeFile(hosts, kUserLines);
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0644), 0);
    ASSERT_EQ(::chmod(hosts.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const auto code = hosts_testing::runInChild([&] {
        // Root may write anything; as nobody the file and its folder are as out of reach as
        // /etc/hosts is for an ordinary user.
        if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0)
            return 10;
        std::vector<std::vector<std::string>> handed;
        const auto hand = [&](const BlockRequest& request) { handed.push_back(request.sites); };
        HostsFile file(hosts, "\n");
        file.setPrivilegedWrite(hand);
        file.write({"a.com"});
        // Not handed again while the part is as that write left it, unless the user has just asked
        // for it (an early lift's yes).
        file.write({"a.com"});
        file.askAgain({"a.com"});
        file.write({"a.com"});
        HostsFile pipe(folder.path() / "pipe", "\n");
        pipe.setPrivilegedWrite(hand);
        try {
            pipe.write({"b.com"});
            return 11;
        } catch (const store::FileError&) {
        }
        return handed == std::vector<std::vector<std::string>>{{"a.com"}, {"a.com"}} ? 0 : 12;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readFile(hosts), kUserLines);
}

} // namespace
} // namespace tallowby::platform

// The writer where /etc/hosts really lives: a file mounted on its own, a read-only folder, and the
// system's resolver reading the result. Each runs in a mount namespace of its own, so the machine's
// own /etc/hosts is never touched; without the rights for one the test is skipped.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/mount.h>

#include "hosts_test_support.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "store/text_file.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

using hosts_testing::readFile;
using hosts_testing::runInMountNamespace;
using hosts_testing::writeFile;
using testsupport::TempFolder;

const std::string kUserLines = "127.0.0.1 localhost\n10.1.2.3 mybox.tallowby.test mybox\n";

TEST(HostsFileMounted, BindMountedFileIsRewrittenInPlace) {
    TempFolder folder;
    const auto real = folder.path() / "real";
    const auto hosts = folder.path() / "hosts";
    writeFile(real, kUserLines);
    writeFile(hosts, "placeholder\n");
    const auto code = runInMountNamespace([&] {
        if (::mount(real.c_str(), hosts.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 10;
        HostsFile(hosts, "\n").write({"a.com"});
        return 0;
    });
    if (!code)
        GTEST_SKIP() << "no mount namespace here";
    ASSERT_EQ(*code, 0);
    EXPECT_EQ(readFile(real), kUserLines + renderHostsBlock({"a.com"}, "\n"));
    EXPECT_EQ(readFile(hosts), "placeholder\n");
    EXPECT_EQ(hosts_testing::folderEntries(folder.path()), (std::vector<std::string>{"hosts", "real"}));
}

TEST(HostsFileMounted, ReadOnlyFolderThrowsOnceAndKeepsTheFile) {
    TempFolder folder;
    const auto hosts = folder.path() / "hosts";
    writeFile(hosts, kUserLines);
    const auto code = runInMountNamespace([&] {
        const char* path = folder.path().c_str();
        if (::mount(path, path, nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return 10;
        try {
            HostsFile(hosts, "\n").write({"a.com"});
        } catch (const store::FileError& error) {
            return std::string(error.what()) == "Read-only file system" ? 0 : 11;
        }
        return 12;
    });
    if (!code)
        GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(readFile(hosts), kUserLines);
}

// What the resolver answers for a name, looking at the hosts file alone.
std::string resolve(const std::filesystem::path& hostsFile, const std::string& name) {
    const std::string command = "unshare -m sh -c 'mount --make-rprivate / && mount --bind \"" +
                                hostsFile.string() + "\" /etc/hosts && getent -s files hosts " + name +
                                "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
            output += buffer.data();
        ::pclose(pipe);
    }
    return output;
}

bool canBindOverSystemHosts() {
    return std::system("unshare -m sh -c 'mount --make-rprivate / && mount --bind /dev/null /etc/hosts' "
                       ">/dev/null 2>&1") == 0;
}

TEST(HostsFileResolver, BlockedNamesResolveToThisMachineAndUserNamesStay) {
    if (!canBindOverSystemHosts())
        GTEST_SKIP() << "cannot mount over /etc/hosts in a namespace of our own";
    TempFolder folder;
    const auto hosts = folder.path() / "hosts";
    writeFile(hosts, kUserLines);
    // CR LF line ends, as the program writes them on Windows, must not confuse the resolver.
    HostsFile(hosts, "\r\n").write({"blocked.tallowby.test", "Other.Tallowby.Test"});
    EXPECT_EQ(resolve(hosts, "blocked.tallowby.test"), "127.0.0.1       blocked.tallowby.test\n");
    EXPECT_EQ(resolve(hosts, "other.tallowby.test"), "127.0.0.1       Other.Tallowby.Test\n");
    EXPECT_EQ(resolve(hosts, "mybox"), "10.1.2.3        mybox.tallowby.test mybox\n");

    HostsFile(hosts, "\r\n").write({});
    EXPECT_EQ(resolve(hosts, "blocked.tallowby.test"), "");
    EXPECT_EQ(resolve(hosts, "mybox"), "10.1.2.3        mybox.tallowby.test mybox\n");

    // The filler a cut-short rewrite in place leaves, even right after a last line without a line end.
    writeFile(hosts,
              renderHostsBlock({"blocked.tallowby.test"}, "\n") + "10.1.2.3 mybox" + std::string(5000, '\0'));
    EXPECT_EQ(resolve(hosts, "blocked.tallowby.test"), "127.0.0.1       blocked.tallowby.test\n");
    EXPECT_EQ(resolve(hosts, "mybox"), "10.1.2.3        mybox\n");
}

} // namespace
} // namespace tallowby::platform

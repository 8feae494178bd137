// One program per data folder: the built sandbox program started twice against a private copy of
// its folder, on a private X display, the second time also from other environments and other paths
// to the same folder.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/bind_mount.h"
#include "support/child_process.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "support/x_probe.h"
#include "support/x_session.h"

namespace tallowby::test {
namespace {

namespace fs = std::filesystem;
using testsupport::ChildProcess;
using testsupport::readFile;
using testsupport::waitUntil;
using testsupport::writeFile;
using namespace std::chrono_literals;

const std::string kHostsBefore = "127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n";

// Every file below the folder with its bytes. The files the program writes are replaced through
// short-lived temporary files whose names begin with a dot; those are left out.
std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with("."))
            files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
    }
    return files;
}

class InstanceTest : public testing::Test {
  protected:
    InstanceTest() : program(temp / "Tallowby"), runtime(temp / "runtime") {
        fs::copy(TALLOWBY_SANDBOX_FOLDER, program, fs::copy_options::recursive);
        fs::remove(program / "system" / "shutdown.log");
        writeFile(hostsFile(), kHostsBefore);
        // Rules of our own: a site blocked all day, so a running program shows in the hosts file.
        writeFile(program / "config.db",
                  "Default\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n10\r\n0\r\n1\r\n0\r\n2\r\n0\r\n0\r\n");
        writeFile(program / "profiles.db", "Default\r\n");
        writeFile(program / "profiles" / "Default", "1111111\r\n0\r\n\r\nblocked.example;\r\n");
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    }

    fs::path hostsFile() const { return program / "system" / "hosts"; }
    bool blocking() const { return readFile(hostsFile()).find("blocked.example") != std::string::npos; }

    // Started from the program's folder (or another path to it) as the desktop starts it, or
    // with another runtime folder, or none (su, ssh, a terminal outside the desktop).
    ChildProcess startProgram(const fs::path& folder, std::optional<fs::path> runtimeFolder) const {
        testsupport::SpawnOptions options{.environment = {{"QT_QPA_PLATFORM", "xcb"},
                                                          {"XDG_CONFIG_HOME", (temp / "config").string()},
                                                          {"XDG_CACHE_HOME", (temp / "cache").string()}}};
        if (runtimeFolder)
            options.environment.emplace_back("XDG_RUNTIME_DIR", runtimeFolder->string());
        else
            options.unset.push_back("XDG_RUNTIME_DIR");
        return session.start(folder / "tallowby", {}, options);
    }
    ChildProcess startProgram() const { return startProgram(program, runtime); }

    // Started, blocking and showing its one window.
    void waitUntilUp(ChildProcess& process) {
        ASSERT_TRUE(waitUntil([&] { return blocking() && probe.managedTopFirst().size() == 1; }));
        ASSERT_FALSE(process.hasExited());
    }

    testsupport::TempFolder temp;
    fs::path program;
    fs::path runtime;
    testsupport::XSession session;
    testsupport::XProbe probe{session.display()};
};

TEST_F(InstanceTest, ASecondStartEndsAndLeavesTheFirstAndEveryFileAlone) {
    ChildProcess first = startProgram();
    waitUntilUp(first);
    const auto before = folderBytes(program);

    ChildProcess second = startProgram();
    const auto status = second.waitForExit(20s);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);

    EXPECT_EQ(folderBytes(program), before);
    EXPECT_FALSE(first.hasExited());
    EXPECT_EQ(probe.managedTopFirst().size(), 1u);
}

TEST_F(InstanceTest, ASecondStartEndsWhateverItsEnvironmentOrItsPathToTheFolder) {
    ChildProcess first = startProgram();
    waitUntilUp(first);
    const auto before = folderBytes(program);
    const fs::path otherRuntime = temp / "other-runtime";
    fs::create_directories(otherRuntime);
    fs::permissions(otherRuntime, fs::perms::owner_all, fs::perm_options::replace);
    testsupport::BindMount bound(program, temp / "bound");
    ASSERT_TRUE(bound.mounted()) << "a bind mount needs root: " << bound.failure();
    fs::create_directory_symlink(program, temp / "link");

    const struct {
        const char* what;
        fs::path folder;
        std::optional<fs::path> runtime;
    } starts[] = {{"without XDG_RUNTIME_DIR", program, std::nullopt},
                  {"with another runtime folder", program, otherRuntime},
                  {"through a bind mount", temp / "bound", runtime},
                  {"through a bind mount, without XDG_RUNTIME_DIR", temp / "bound", std::nullopt},
                  {"through a link", temp / "link", std::nullopt}};
    for (const auto& start : starts) {
        ChildProcess second = startProgram(start.folder, start.runtime);
        const auto status = second.waitForExit(20s);
        ASSERT_TRUE(status.has_value()) << start.what;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << start.what;
    }
    EXPECT_EQ(folderBytes(program), before);
    EXPECT_FALSE(first.hasExited());
    EXPECT_EQ(probe.managedTopFirst().size(), 1u);
}

TEST_F(InstanceTest, AStartAfterAKilledInstanceRuns) {
    ChildProcess first = startProgram();
    waitUntilUp(first);
    ::kill(first.pid(), SIGKILL);
    ASSERT_TRUE(first.waitForExit(10s).has_value());
    // What the killed program left in the hosts file is put back, so the next one must write anew.
    writeFile(hostsFile(), kHostsBefore);
    ASSERT_TRUE(waitUntil([&] { return probe.managedTopFirst().empty(); }));

    ChildProcess next = startProgram();
    waitUntilUp(next);
}

} // namespace
} // namespace tallowby::test

#include "installed_program.h"

#include <regex>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "support/file_bytes.h"
#include "support/other_user.h"

namespace tallowby::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The exit status of a short command, or -1 when it did not end in time.
int runToEnd(const fs::path& program, const std::vector<std::string>& args,
             const testsupport::SpawnOptions& options = {}) {
    testsupport::ChildProcess child(program, args, options);
    const auto status = child.waitForExit(120s);
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

// Lays out what the packaging's install rules do not (yet) install: the program and its default
// files, as the package would hold them.
void completeInstallation(const fs::path& executable, const fs::path& defaults) {
    if (!fs::exists(executable)) {
        fs::create_directories(executable.parent_path());
        fs::copy_file(TALLOWBY_PROGRAM_EXE, executable);
    }
    if (!fs::exists(defaults)) {
        if (runToEnd(TALLOWBY_MKFOLDER, {defaults.string()}) != 0)
            throw std::runtime_error("tallowby_mkfolder failed");
        fs::copy_file(TALLOWBY_HELP_PAGE, defaults / fs::path(TALLOWBY_HELP_PAGE).filename());
    }
}

void giveToNobody(const fs::path& path) {
    if (::chown(path.c_str(), testsupport::kNobodyId, testsupport::kNobodyId) != 0)
        throw std::runtime_error("cannot give " + path.string() + " to nobody");
}

} // namespace

InstalledProgram::InstalledProgram()
    : stage_(temp_ / "stage"), home_(temp_ / "home"), runtime_(temp_ / "runtime"),
      pkexec_(temp_ / "stand-in", "pkexec") {
    // The user must reach the installation, the stand-in and the hosts file below.
    fs::permissions(temp_.path(), fs::perms(0755));
    testsupport::SpawnOptions install;
    install.environment = {{"DESTDIR", stage_.string()}};
    install.keepStderr = true;
    if (runToEnd(TALLOWBY_CMAKE, {"--install", TALLOWBY_BUILD_DIR}, install) != 0)
        throw std::runtime_error("cmake --install failed");
    completeInstallation(executable(), staged(TALLOWBY_INSTALLED_DEFAULTS));

    for (const fs::path& folder : {home_, runtime_}) {
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0700));
        giveToNobody(folder);
    }
    testsupport::writeFile(hostsFile(), "127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost\n");
    fs::permissions(hostsFile(), fs::perms(0644));
}

fs::path InstalledProgram::staged(const fs::path& installed) const {
    return stage_ / installed.relative_path();
}

fs::path InstalledProgram::executable() const {
    return staged(TALLOWBY_INSTALLED_EXE);
}

fs::path InstalledProgram::policyFile() const {
    return staged(TALLOWBY_INSTALLED_POLICY);
}

void InstalledProgram::makeDataFolder() const {
    fs::create_directories(dataFolder());
    for (fs::path folder = dataFolder(); folder != home_; folder = folder.parent_path())
        fs::permissions(folder, fs::perms(0700));
}

void InstalledProgram::handHomeOver() const {
    for (const auto& entry : fs::recursive_directory_iterator(home_))
        giveToNobody(entry.path());
}

testsupport::ChildProcess InstalledProgram::start(const testsupport::XSession& session) const {
    // The namespace's /etc/hosts is the test's file; the program runs with the environment of a
    // desktop session and nothing of the test's.
    const std::vector<std::string> args = testsupport::withOwnEtcHosts(
        hostsFile(),
        testsupport::asNobody(
            {"env", "-i", "HOME=" + home_.string(), "PATH=" + pkexec_.binFolder().string() + ":/usr/bin:/bin",
             "DISPLAY=" + session.display(), "XDG_RUNTIME_DIR=" + runtime_.string(), "QT_QPA_PLATFORM=xcb",
             "SDL_AUDIODRIVER=dummy", "LSAN_OPTIONS=suppressions=" TALLOWBY_E2E_LSAN_SUPPRESSIONS,
             executable().string()}));
    testsupport::SpawnOptions options;
    options.keepStderr = true;
    return testsupport::ChildProcess("unshare", args, options);
}

std::string policyExecPath(const fs::path& policyFile) {
    const std::regex annotation(
        R"(<annotate key="org\.freedesktop\.policykit\.exec\.path">([^<]*)</annotate>)");
    std::smatch found;
    const std::string text = testsupport::readFile(policyFile);
    return std::regex_search(text, found, annotation) ? found[1].str() : "";
}

} // namespace tallowby::e2e

#include "installed_program.h"

#include <regex>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "rule_files.h"
#include "support/file_bytes.h"
#include "support/other_user.h"
#include "support/wait_until.h"

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

// Starts a whole command line (its program first) on the session's display.
testsupport::ChildProcess startCommand(const testsupport::XSession& session,
                                       const std::vector<std::string>& command,
                                       const testsupport::SpawnOptions& options = {}) {
    return session.start(command.front(), {command.begin() + 1, command.end()}, options);
}

void giveTo(const fs::path& path, unsigned uid) {
    if (::chown(path.c_str(), uid, uid) != 0)
        throw std::runtime_error("cannot give " + path.string() + " to the user");
}

} // namespace

InstalledProgram::InstalledProgram(unsigned uid)
    : uid_(uid), hostsFile_(temp_ / "hosts"), stage_(temp_ / "stage"), home_(temp_ / "home"),
      runtime_(temp_ / "runtime"), pkexec_(temp_ / "stand-in", "pkexec"),
      opener_(temp_ / "stand-in-opener", "xdg-open") {
    pkexecFolder_ = pkexec_.binFolder();
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
        giveTo(folder, uid_);
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

void InstalledProgram::writeEveryDayRule(const std::string& programs, const std::string& websites) const {
    makeDataFolder();
    fs::create_directories(dataFolder() / "profiles");
    writeCrLfLines(dataFolder() / "profiles" / "Default", {"1111111", kBlockMode, programs, websites});
    handHomeOver();
}

void InstalledProgram::handHomeOver() const {
    for (const auto& entry : fs::recursive_directory_iterator(home_))
        giveTo(entry.path(), uid_);
}

std::vector<std::string> InstalledProgram::asUser(const testsupport::XSession& session,
                                                  const std::vector<std::string>& environment,
                                                  const std::vector<std::string>& command) const {
    std::vector<std::string> args{"env",
                                  "-i",
                                  "HOME=" + home_.string(),
                                  "PATH=" + pkexec_.binFolder().string() + ":" +
                                      opener_.binFolder().string() + ":/usr/bin:/bin",
                                  "DISPLAY=" + session.display(),
                                  "XDG_RUNTIME_DIR=" + runtime_.string()};
    args.insert(args.end(), environment.begin(), environment.end());
    args.insert(args.end(), command.begin(), command.end());
    return testsupport::asUserId(uid_, args);
}

fs::path InstalledProgram::usersFolder(const std::string& name) const {
    const fs::path folder = temp_ / name;
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms(0700));
    giveTo(folder, uid_);
    return folder;
}

testsupport::ChildProcess InstalledProgram::start(const testsupport::XSession& session,
                                                  const std::vector<std::string>& environment) const {
    std::vector<std::string> variables{"QT_QPA_PLATFORM=xcb", "SDL_AUDIODRIVER=dummy",
                                       "LSAN_OPTIONS=suppressions=" TALLOWBY_E2E_LSAN_SUPPRESSIONS};
    variables.insert(variables.end(), environment.begin(), environment.end());
    // The namespace's /etc/hosts is the test's file.
    const std::vector<std::string> args = testsupport::withOwnEtcHosts(
        hostsFile(), asUser(session, variables, {executable().string()}), pkexecFolder_);
    testsupport::SpawnOptions options;
    options.keepStderr = true;
    return testsupport::ChildProcess("unshare", args, options);
}

void InstalledProgram::runRealHelper() {
    pkexecFolder_ = temp_ / "setuid-pkexec";
    fs::create_directories(pkexecFolder_);
    fs::permissions(pkexecFolder_, fs::perms(0755));
    const fs::path pkexec = pkexecFolder_ / "pkexec";
    fs::copy_file(TALLOWBY_SETUID_PKEXEC, pkexec);
    fs::permissions(pkexec, fs::perms(04755));
    testsupport::writeFile(pkexecFolder_ / "pkexec.allowed", staged(TALLOWBY_INSTALLED_HELPER).string() +
                                                                 "\n" + hostsFile().string() + "\n" +
                                                                 (temp_ / "helper-runs").string() + "\n");
}

std::vector<std::string> InstalledProgram::helperRuns() const {
    std::vector<std::string> runs;
    std::istringstream lines(fs::exists(temp_ / "helper-runs") ? testsupport::readFile(temp_ / "helper-runs")
                                                               : "");
    for (std::string line; std::getline(lines, line);)
        runs.push_back(line);
    return runs;
}

UsersAccessibility::UsersAccessibility(const InstalledProgram& installed,
                                       const testsupport::XSession& session)
    : installed_(installed), session_(session) {
    const fs::path socket = installed.usersFolder("session-bus") / "bus";
    const std::string address = "unix:path=" + socket.string();
    busVariable_ = "DBUS_SESSION_BUS_ADDRESS=" + address;
    // A session bus lets in only its own user: the program, the launcher and the driver all run as
    // the program's user.
    bus_.emplace(startCommand(session, installed.asUser(session, {},
                                                        {"dbus-daemon", "--session", "--address=" + address,
                                                         "--nofork", "--nopidfile"})));
    if (!testsupport::waitUntil([&] { return fs::exists(socket); }, 10s))
        throw std::runtime_error("no session bus");
    accessibility_.emplace(startCommand(
        session, installed.asUser(session, {busVariable_},
                                  {"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"})));
}

UsersAccessibility::~UsersAccessibility() {
    // The launcher ends the accessibility bus it started only when asked to end.
    accessibility_->stop();
}

std::vector<std::string> UsersAccessibility::programEnvironment() const {
    return {busVariable_, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"};
}

bool UsersAccessibility::drive(const std::vector<std::string>& steps) const {
    std::vector<std::string> command{"/usr/bin/python3", TALLOWBY_E2E_DRIVER, "Tallowby"};
    command.insert(command.end(), steps.begin(), steps.end());
    auto driver =
        startCommand(session_, installed_.asUser(session_, {busVariable_}, command), {.keepStderr = true});
    const auto status = driver.waitForExit(120s);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::vector<PolicyAction> policyActions(const fs::path& policyFile) {
    const std::string text = testsupport::readFile(policyFile);
    const auto value = [](const std::string& action, const std::string& pattern) {
        std::smatch found;
        return std::regex_search(action, found, std::regex(pattern)) ? found[1].str() : std::string();
    };
    std::vector<PolicyAction> actions;
    const std::regex action(R"re(<action id="([^"]*)">([\s\S]*?)</action>)re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), action); it != std::sregex_iterator();
         ++it) {
        const std::string body = (*it)[2].str();
        actions.push_back({(*it)[1].str(),
                           value(body, R"(key="org\.freedesktop\.policykit\.exec\.path">([^<]*)<)"),
                           value(body, R"(key="org\.freedesktop\.policykit\.exec\.argv1">([^<]*)<)"),
                           value(body, R"(<allow_active>([^<]*)<)")});
    }
    return actions;
}

} // namespace tallowby::e2e

#include "sandbox_program.h"

#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <sstream>

#include "platform/hosts/hosts_content.h"
#include "support/file_bytes.h"

namespace tallowby::e2e {

namespace fs = std::filesystem;

namespace {

// The variable's own value, if any, with `extra` appended.
std::string withOption(const char* variable, const std::string& extra) {
    const char* own = std::getenv(variable);
    return own != nullptr && *own != '\0' ? std::string(own) + ":" + extra : extra;
}

// Seconds from now to the local time "YYYY-MM-DD hh:mm:ss", in libfaketime's words for a clock that
// runs that far from the real one.
std::string offsetTo(const std::string& wallClock) {
    std::tm local{};
    std::istringstream(wallClock) >> std::get_time(&local, "%Y-%m-%d %H:%M:%S");
    local.tm_isdst = -1;
    const long long offset = static_cast<long long>(std::mktime(&local) - std::time(nullptr));
    return (offset >= 0 ? "+" : "") + std::to_string(offset);
}

} // namespace

const std::string kOwnHostsLines = "# Hosts of the test machine\n"
                                   "127.0.0.1\tlocalhost\n"
                                   "::1\tlocalhost ip6-localhost ip6-loopback\n";

std::string hostsWithBlock(const std::vector<std::string>& sites) {
    return kOwnHostsLines + platform::renderHostsBlock(sites, "\n");
}

SandboxProgram::SandboxProgram() : folder_(temp_.path() / "Tallowby"), home_(temp_.path() / "home") {
    fs::copy(TALLOWBY_SANDBOX_FOLDER, folder_, fs::copy_options::recursive);
    // What earlier runs of the build's copy left behind is not this test's business.
    fs::remove(folder_ / "system" / "shutdown.log");
    writeHosts(kOwnHostsLines);
    for (const char* sub : {"runtime", "config", "cache", "data"}) {
        fs::create_directories(home_ / sub);
    }
    fs::permissions(home_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
}

void SandboxProgram::configure(const ProgramSettings& settings, const ProfileRules& rules) const {
    writeConfig(folder_, rules.name, settings);
    writeProfile(folder_, rules);
}

std::string SandboxProgram::hosts() const {
    return testsupport::readFile(hostsFile());
}

void SandboxProgram::writeHosts(const std::string& content) const {
    testsupport::writeFile(hostsFile(), content);
    fs::permissions(hostsFile(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                     fs::perms::others_read);
}

testsupport::SpawnOptions SandboxProgram::environment(const std::string& wallClock) const {
    testsupport::SpawnOptions options;
    options.environment = {
        {"LD_PRELOAD", TALLOWBY_FAKETIME_LIBRARY},
        {"FAKETIME_DONT_FAKE_MONOTONIC", "1"},
        // The sanitizers insist on being loaded first; the clock library is preloaded before them.
        {"ASAN_OPTIONS", withOption("ASAN_OPTIONS", "verify_asan_link_order=0")},
        {"LSAN_OPTIONS", withOption("LSAN_OPTIONS", "suppressions=" TALLOWBY_E2E_LSAN_SUPPRESSIONS)},
        {"QT_QPA_PLATFORM", "xcb"},
        // Alert sounds play, but never on the machine's own speakers.
        {"SDL_AUDIODRIVER", "dummy"},
        {"XDG_RUNTIME_DIR", (home_ / "runtime").string()},
        {"XDG_CONFIG_HOME", (home_ / "config").string()},
        {"XDG_CACHE_HOME", (home_ / "cache").string()},
        {"XDG_DATA_HOME", (home_ / "data").string()},
    };
    if (movableClock_) {
        testsupport::writeFile(clockFile(), offsetTo(wallClock));
        options.environment.emplace_back("FAKETIME_TIMESTAMP_FILE", clockFile().string());
        options.environment.emplace_back("FAKETIME_CACHE_DURATION", "1");
    } else {
        options.environment.emplace_back("FAKETIME", "@" + wallClock);
    }
    options.keepStderr = true;
    return options;
}

void SandboxProgram::setClockBack(int seconds) const {
    const long long offset = std::stoll(testsupport::readFile(clockFile())) - seconds;
    testsupport::writeFile(clockFile(), (offset >= 0 ? "+" : "") + std::to_string(offset));
}

testsupport::ChildProcess SandboxProgram::start(const testsupport::XSession& session,
                                                const std::string& wallClock) const {
    return session.start(executable(), {}, environment(wallClock));
}

} // namespace tallowby::e2e

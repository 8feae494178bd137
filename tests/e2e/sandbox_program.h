#pragma once
// A private copy of the sandbox program's folder (executable, data files and its stand-in system
// folder), so that every test has its own files and never dirties the build's copy. The program is
// started on a test's own display with its wall clock moved to a chosen moment.
#include <filesystem>
#include <string>
#include <vector>

#include "rule_files.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "support/x_session.h"

namespace tallowby::e2e {

// A Monday: the sessions the tests write for Mondays are current at 10:00.
inline constexpr const char* kMonday10 = "2026-12-07 10:00:00";
inline constexpr const char* kMonday13 = "2026-12-07 13:00:00";

// The hosts file of a fresh copy: the test machine's own lines.
extern const std::string kOwnHostsLines;

// The hosts file as the program should leave it: the own lines untouched, then the program's block
// with the localhost line and these sites.
std::string hostsWithBlock(const std::vector<std::string>& sites);

class SandboxProgram {
  public:
    SandboxProgram();

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path executable() const { return folder_ / "tallowby"; }
    std::filesystem::path hostsFile() const { return folder_ / "system" / "hosts"; }

    void configure(const ProgramSettings& settings, const ProfileRules& rules) const;
    std::string hosts() const;
    void writeHosts(const std::string& content) const;

    // The environment that moves the program's wall clock to `wallClock` ("YYYY-MM-DD hh:mm:ss",
    // local time; it runs on from there) while its timers keep the real pace, and keeps its
    // per-user files inside the test's folder.
    testsupport::SpawnOptions environment(const std::string& wallClock) const;

    // From now on the program reads its wall clock's distance from the real one from a file, so
    // that setClockBack can move it while the program runs, as a user setting the clock does.
    void useMovableClock() { movableClock_ = true; }
    // Takes effect within a second or two (libfaketime reads the file again each second).
    void setClockBack(int seconds) const;

    // Starts the copied program on the session's display.
    testsupport::ChildProcess start(const testsupport::XSession& session, const std::string& wallClock) const;

  private:
    std::filesystem::path clockFile() const { return temp_.path() / "clock"; }

    testsupport::TempFolder temp_;
    std::filesystem::path folder_;
    std::filesystem::path home_;
    bool movableClock_ = false;
};

} // namespace tallowby::e2e

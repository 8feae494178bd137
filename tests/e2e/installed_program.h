#pragma once
// The program as its package installs it, run by an ordinary user: the build's own install rules lay
// it into a staging folder, and it is started as "nobody" with a throwaway home, its hosts file a
// test file mounted over /etc/hosts in a mount namespace of its own, and a stand-in pkexec first on
// its PATH, with a stand-in xdg-open beside it that records what the program opens. Needs root (to change
// user and mount: testsupport::whyNoOtherUser()); nothing of the machine's is written.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/other_user.h"
#include "support/stand_in_program.h"
#include "support/temp_folder.h"
#include "support/x_session.h"

namespace tallowby::e2e {

class InstalledProgram {
  public:
    // Installs into a staging folder for the user uid; throws std::runtime_error when the
    // installation fails.
    explicit InstalledProgram(unsigned uid = testsupport::kNobodyId);

    // Installed paths inside the staging folder, and the same path as the installation names it.
    std::filesystem::path staged(const std::filesystem::path& installed) const;
    std::filesystem::path executable() const;
    std::filesystem::path policyFile() const;

    // The user's home and data folder, owned by the user.
    const std::filesystem::path& home() const { return home_; }
    std::filesystem::path dataFolder() const { return home_ / ".local" / "share" / "tallowby"; }
    // Makes the data folder (as the program would) for the test to put files in before the start.
    void makeDataFolder() const;
    // Gives every file the test put below the home to the user.
    void handHomeOver() const;
    // A user who has written one rule before the first start: the default profile's whole-day
    // programs and websites (";"-ended lists), in Block mode every day. Hands the home over.
    void writeEveryDayRule(const std::string& programs, const std::string& websites) const;

    const testsupport::StandInProgram& pkexec() const { return pkexec_; }
    // What the program hands a page to (Help > Content).
    const testsupport::StandInProgram& opener() const { return opener_; }

    // The file mounted over /etc/hosts while the program runs.
    std::filesystem::path hostsFile() const { return hostsFile_; }
    // Runs with the other installation's hosts file: two users of one machine.
    void shareHostsFile(const InstalledProgram& other) { hostsFile_ = other.hostsFile(); }

    // pkexec runs the real installed helper as root for the user, as an authorised action does
    // (with a setuid stand-in that sets PKEXEC_UID), in place of the recording stand-in.
    void runRealHelper();
    // The helper's runs so far, "<uid> <argument>" each.
    std::vector<std::string> helperRuns() const;

    // Starts the installed program on the session's display as the ordinary user, with the
    // environment of a desktop session and these variables ("NAME=value") besides.
    testsupport::ChildProcess start(const testsupport::XSession& session,
                                    const std::vector<std::string>& environment = {}) const;
    // A command run as the user with that environment, and nothing of the test's.
    std::vector<std::string> asUser(const testsupport::XSession& session,
                                    const std::vector<std::string>& environment,
                                    const std::vector<std::string>& command) const;
    // A folder the user may write, for the test's own use.
    std::filesystem::path usersFolder(const std::string& name) const;

  private:
    unsigned uid_;
    testsupport::TempFolder temp_;
    std::filesystem::path hostsFile_;
    std::filesystem::path pkexecFolder_;
    std::filesystem::path stage_;
    std::filesystem::path home_;
    std::filesystem::path runtime_;
    testsupport::StandInProgram pkexec_;
    testsupport::StandInProgram opener_;
};

// A session bus and the accessibility bus on it, run as the installed program's user, so that a
// test can work the program's windows as the user does (drive_window.py, also run as the user).
class UsersAccessibility {
  public:
    UsersAccessibility(const InstalledProgram& installed, const testsupport::XSession& session);
    ~UsersAccessibility();
    UsersAccessibility(const UsersAccessibility&) = delete;
    UsersAccessibility& operator=(const UsersAccessibility&) = delete;

    // What the program's environment needs to be reached over the bus.
    std::vector<std::string> programEnvironment() const;
    // Carries out drive_window.py's steps in the program's windows; true when every one was done.
    bool drive(const std::vector<std::string>& steps) const;

  private:
    const InstalledProgram& installed_;
    const testsupport::XSession& session_;
    std::string busVariable_;
    std::optional<testsupport::ChildProcess> bus_;
    std::optional<testsupport::ChildProcess> accessibility_;
};

// A polkit action of a policy file, as pkexec picks it: by the program and its first argument.
struct PolicyAction {
    std::string id;
    std::string execPath;
    std::string argv1;
    std::string allowActive;
};
std::vector<PolicyAction> policyActions(const std::filesystem::path& policyFile);

} // namespace tallowby::e2e

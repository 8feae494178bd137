#pragma once
// The program as its package installs it, run by an ordinary user: the build's own install rules lay
// it into a staging folder, and it is started as "nobody" with a throwaway home, its hosts file a
// test file mounted over /etc/hosts in a mount namespace of its own, and a stand-in pkexec first on
// its PATH. Needs root (to change user and mount: testsupport::whyNoOtherUser()); nothing of the
// machine's is written.
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/stand_in_program.h"
#include "support/temp_folder.h"
#include "support/x_session.h"

namespace tallowby::e2e {

class InstalledProgram {
  public:
    // Installs into a staging folder; throws std::runtime_error when the installation fails.
    InstalledProgram();

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

    const testsupport::StandInProgram& pkexec() const { return pkexec_; }

    // The file mounted over /etc/hosts while the program runs.
    std::filesystem::path hostsFile() const { return temp_ / "hosts"; }

    // Starts the installed program on the session's display as the ordinary user.
    testsupport::ChildProcess start(const testsupport::XSession& session) const;

  private:
    testsupport::TempFolder temp_;
    std::filesystem::path stage_;
    std::filesystem::path home_;
    std::filesystem::path runtime_;
    testsupport::StandInProgram pkexec_;
};

// The value of the polkit action's exec.path annotation in a policy file; "" when there is none.
std::string policyExecPath(const std::filesystem::path& policyFile);

} // namespace tallowby::e2e

#pragma once
// The hosts file write that a program run by an ordinary user hands to the privileged helper:
// `pkexec <helper>` with the sites on the helper's standard input, one a line. It is the hosts
// file's PrivilegedWrite (platform/hosts/hosts_file.h).
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/text_file.h"

namespace tallowby::platform {

class PkexecHostsWrite {
  public:
    using Clock = std::chrono::steady_clock;

    struct Options {
        std::filesystem::path helper;
        // The hosts file the helper writes, named in the descriptions of a failure.
        std::filesystem::path hostsFile;
        // Where "pkexec" is looked for: the program's $PATH.
        std::string searchPath;
        // How long pkexec may take, an authentication dialog answered by the user included.
        std::chrono::milliseconds timeout = std::chrono::seconds(60);
        // After a refusal or a failure the same sites are not asked for again for this long: the tick
        // writes every second while the file lacks the block, and each request may put a password
        // dialog in front of the user.
        Clock::duration retryAfter = std::chrono::minutes(5);
        std::function<Clock::time_point()> now = [] { return Clock::now(); };
    };

    // Options for the program as it runs: $PATH and the real clock.
    static Options optionsFor(const std::filesystem::path& helper, const std::filesystem::path& hostsFile);

    explicit PkexecHostsWrite(Options options) : options_(std::move(options)) {}

    // Throws store::FileError naming the hosts file, with the reason in words for the user, when
    // the block was not written; and again, without asking, for the same sites until retryAfter has
    // passed.
    void operator()(const std::vector<std::string>& sites);

  private:
    void ask(const std::vector<std::string>& sites) const;

    struct Failure {
        std::vector<std::string> sites;
        Clock::time_point when;
        store::FileError error;
    };

    Options options_;
    std::optional<Failure> lastFailure_;
};

} // namespace tallowby::platform

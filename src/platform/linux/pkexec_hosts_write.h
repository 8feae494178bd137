#pragma once
// The hosts file write that a program run by an ordinary user hands to the privileged helper:
// `pkexec <helper> --block` with the sites on the helper's standard input, one a line (a locked one
// followed by a blank and the seconds since the epoch it stays until), or `--lift-early`, for which
// polkit asks for an administrator's password. It is the hosts
// file's PrivilegedWrite (platform/hosts/hosts_file.h).
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/hosts/site_locks.h"
#include "store/text_file.h"

namespace tallowby::platform {

class PkexecHostsWrite {
  public:
    struct Options {
        std::filesystem::path helper;
        // The hosts file the helper writes, named in the descriptions of a failure.
        std::filesystem::path hostsFile;
        // pkexec itself, by its absolute path: never one that a folder on $PATH puts first.
        std::filesystem::path pkexec = "/usr/bin/pkexec";
        // How long pkexec may take, an authentication dialog answered by the user included.
        std::chrono::milliseconds timeout = std::chrono::seconds(60);
    };

    // Options for the program as it runs.
    static Options optionsFor(const std::filesystem::path& helper, const std::filesystem::path& hostsFile);

    explicit PkexecHostsWrite(Options options) : options_(std::move(options)) {}

    // Throws store::FileError naming the hosts file, with the reason in words for the user, when
    // the block was not written: PermissionNotGiven when the user did not give the permission.
    // Holds no state, so a copy may run on another thread.
    void operator()(const BlockRequest& request) const;

    // What the helper reads on its standard input for the request.
    static std::string requestText(const BlockRequest& request);

  private:
    Options options_;
};

} // namespace tallowby::platform

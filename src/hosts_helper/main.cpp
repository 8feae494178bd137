// tallowby-hosts: writes Tallowby's block of blocked websites into the hosts file for a Tallowby run
// by an ordinary user, who may not write that file. pkexec starts it as root; it reads the names to
// block from standard input, one a line, and replaces the program's block with them, every other
// line of the file kept as it was.
//
// Its one argument is the polkit action that let it run. "--block" (org.tallowby.hosts.write, no
// password for the user at the machine) adds names and locks, and keeps every name the block locks
// until its time has passed, so that calling the helper by hand lifts nothing locked early.
// "--lift-early" (org.tallowby.hosts.lift-early, an administrator's password) writes the names as
// asked, locked or not. pkexec picks the action by this very argument, so the helper can trust it.
//
// Nothing the caller controls chooses what is written where: the file is fixed when the helper is
// built, the environment is dropped, and only plain host names are taken.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "hosts_request.h"
#include "os/descriptor.h"
#include "platform/hosts/hosts_file.h"
#include "store/stale_temporaries.h"
#include "store/text_file.h"

#ifndef TALLOWBY_HOSTS_HELPER_FILE
#error "TALLOWBY_HOSTS_HELPER_FILE: the hosts file the helper writes"
#endif
// The test build writes a file of the build tree and runs as whoever runs the tests.
#ifndef TALLOWBY_HOSTS_HELPER_TEST
#define TALLOWBY_HOSTS_HELPER_TEST 0
#endif

namespace {

using tallowby::hosts_helper::kMaxRequestBytes;

// Distinct from pkexec's own 126 and 127, so the caller can tell who said no.
enum Exit { kWritten = 0, kRefused = 1, kUsage = 2, kWriteFailed = 3, kNotRoot = 4 };

int fail(int code, const std::string& message) {
    std::cerr << "tallowby-hosts: " << message << "\n";
    return code;
}

} // namespace

int main(int argc, char** argv) {
    ::clearenv();
    ::setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    // The file is read by every user's resolver.
    ::umask(022);
    const std::string_view mode = argc == 2 ? std::string_view(argv[1]) : std::string_view();
    if (mode != tallowby::platform::kHostsHelperBlock && mode != tallowby::platform::kHostsHelperLiftEarly)
        return fail(kUsage, "takes one argument, --block or --lift-early: the names to block come on "
                            "standard input, one a line");
    if (!TALLOWBY_HOSTS_HELPER_TEST && ::geteuid() != 0)
        return fail(kNotRoot, "only root may run it; Tallowby starts it through pkexec");

    // A request that reaches one byte past the limit is too large already.
    std::string input;
    try {
        input = tallowby::os::readAll(STDIN_FILENO, "standard input", kMaxRequestBytes + 1);
    } catch (const tallowby::store::FileError& error) {
        return fail(kRefused, std::string("cannot read the names to block: ") + error.what());
    }
    tallowby::hosts_helper::HostsRequest request = tallowby::hosts_helper::readHostsRequest(input);
    request.block.liftEarly = mode == tallowby::platform::kHostsHelperLiftEarly;
    if (!request.accepted())
        return fail(kRefused, request.refusal + "; the hosts file was left as it was");

    // A helper killed while it wrote left its temporary file beside the hosts file, where the user's
    // program may not remove it. Only one older than any write takes goes: another user's helper may
    // be writing at this moment.
    const std::filesystem::path hosts(TALLOWBY_HOSTS_HELPER_FILE);
    tallowby::store::removeStaleTemporaries(hosts.parent_path(), hosts.filename().string(),
                                            std::chrono::system_clock::now() - std::chrono::minutes(1));
    try {
        tallowby::platform::HostsFile(TALLOWBY_HOSTS_HELPER_FILE, "\n").write(request.block);
    } catch (const tallowby::store::FileError& error) {
        return fail(kWriteFailed,
                    std::string("cannot write " TALLOWBY_HOSTS_HELPER_FILE ": ") + error.what());
    }
    return kWritten;
}

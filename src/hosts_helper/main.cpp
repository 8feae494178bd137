// tallowby-hosts: writes Tallowby's block of blocked websites into the hosts file for a Tallowby run
// by an ordinary user, who may not write that file. pkexec starts it as root; it reads the names to
// block from standard input, one a line, and replaces the asking user's part of the program's
// block with them, every other user's part and every other line of the file kept as they were.
//
// Its one argument is the polkit action that let it run. "--block" (org.tallowby.hosts.write, no
// password for the user at the machine) adds names and locks, and keeps every name the user's part
// locks until its time has passed, so that calling the helper by hand lifts nothing locked early.
// "--lift-early" (org.tallowby.hosts.lift-early, an administrator's password) writes the names as
// asked, locked or not. pkexec picks the action by this very argument, so the helper can trust it.
// "--lift-all" is root's own, run directly (sudo tallowby-hosts --lift-all): it takes the whole
// block out, every user's part and every lock, whatever the file's size.
//
// Who asks comes from pkexec alone (PKEXEC_UID, read before the environment is dropped), never from
// the request. Nothing the caller controls chooses what is written where: the file is fixed when
// the helper is built, the environment is dropped, and only plain host names are taken, within the
// bounds of hosts_bounds.h.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "hosts_request.h"
#include "os/descriptor.h"
#include "platform/hosts/hosts_content.h"
#include "platform/hosts/hosts_file.h"
#include "platform/hosts/hosts_target.h"
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
namespace platform = tallowby::platform;

// Distinct from pkexec's own 126 and 127, so the caller can tell who said no.
enum Exit { kWritten = 0, kRefused = 1, kUsage = 2, kWriteFailed = 3, kNotRoot = 4 };

int fail(int code, const std::string& message) {
    std::cerr << "tallowby-hosts: " << message << "\n";
    return code;
}

// The user pkexec ran the helper for; nothing when it was not run through pkexec; "" when pkexec's
// word cannot be read.
std::optional<std::string> pkexecUser() {
    const char* uid = std::getenv("PKEXEC_UID");
    if (uid == nullptr)
        return std::nullopt;
    const std::string_view text(uid);
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::string();
    return std::string(text);
}

// The names of the request that the machine's own lines, or its name, already give it.
std::optional<std::string> machineNameAsked(const platform::HostsFile& hosts,
                                            const platform::BlockRequest& request) {
    std::optional<tallowby::os::RegularFile> file;
    try {
        const auto target = platform::hosts_io::findHostsTarget(hosts.path(), {});
        if (target.stamp)
            file = platform::hosts_io::readRegularFile(target.path);
    } catch (const tallowby::store::FileError&) {
        // The write says why it cannot read the file.
    }
    const std::vector<std::string> machine = platform::machineNames(
        file ? std::string_view(file->bytes) : std::string_view(), platform::hosts_io::machineName());
    for (const std::string& site : request.sites)
        if (platform::isMachineName(machine, site))
            return site;
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> asker = pkexecUser();
    ::clearenv();
    ::setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    // The file is read by every user's resolver.
    ::umask(022);
    const std::string_view mode = argc == 2 ? std::string_view(argv[1]) : std::string_view();
    if (mode != platform::kHostsHelperBlock && mode != platform::kHostsHelperLiftEarly &&
        mode != platform::kHostsHelperLiftAll)
        return fail(kUsage, "takes one argument, --block or --lift-early: the names to block come on "
                            "standard input, one a line (root may lift every user's blocks with --lift-all)");
    if (!TALLOWBY_HOSTS_HELPER_TEST && ::geteuid() != 0)
        return fail(kNotRoot, "only root may run it; Tallowby starts it through pkexec");
    if (asker && asker->empty())
        return fail(kUsage, "pkexec named no user it ran for (PKEXEC_UID)");
    const bool liftAll = mode == platform::kHostsHelperLiftAll;
    if (liftAll && (asker || (!TALLOWBY_HOSTS_HELPER_TEST && ::getuid() != 0)))
        return fail(kRefused, "only root, running it directly, may lift every user's website blocks");

    tallowby::hosts_helper::HostsRequest request;
    if (!liftAll) {
        // A request that reaches one byte past the limit is too large already.
        std::string input;
        try {
            input = tallowby::os::readAll(STDIN_FILENO, "standard input", kMaxRequestBytes + 1);
        } catch (const tallowby::store::FileError& error) {
            return fail(kRefused, std::string("cannot read the names to block: ") + error.what());
        }
        request = tallowby::hosts_helper::readHostsRequest(input);
    }
    request.block.liftEarly = mode != platform::kHostsHelperBlock;
    request.block.liftEveryPart = liftAll;
    if (!request.accepted())
        return fail(kRefused, request.refusal + "; the hosts file was left as it was");

    platform::HostsFile hosts(TALLOWBY_HOSTS_HELPER_FILE, "\n");
    hosts.setOwner(asker ? *asker : std::to_string(::getuid()));
    if (const std::optional<std::string> name = machineNameAsked(hosts, request.block))
        return fail(kRefused, "\"" + *name +
                                  "\" is a name of this machine, which its own lines resolve; "
                                  "the hosts file was left as it was");

    try {
        // A helper killed while it wrote left its temporary file beside the hosts file (the file a
        // link at the path leads to), where the user's program may not remove it. Only one older
        // than any write takes goes: another user's helper may be writing at this moment.
        const auto target = platform::hosts_io::findHostsTarget(hosts.path(), {});
        tallowby::store::removeStaleTemporaries(target.path.parent_path(), target.path.filename().string(),
                                                std::chrono::system_clock::now() - std::chrono::minutes(1));
        hosts.write(request.block);
    } catch (const tallowby::store::FileError& error) {
        if (error.code() == EFBIG)
            return fail(kRefused, std::string(error.what()) + "; the hosts file was left as it was");
        return fail(kWriteFailed,
                    std::string("cannot write " TALLOWBY_HOSTS_HELPER_FILE ": ") + error.what());
    }
    return kWritten;
}

#include "platform/linux/pkexec_hosts_write.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/hosts/permission_not_given.h"
#include "platform/program_run.h"

namespace tallowby::platform {
namespace {

// pkexec's own answers; any other status is the helper's.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorised = 127;
// What pkexec says when no authentication agent runs in the session to ask for the password.
constexpr std::string_view kNoAgent = "No authentication agent found";

// The program's error lines as one sentence of the description: the lines joined by spaces, the
// empty ones left out.
std::string oneLine(const std::string& errors) {
    std::string text;
    std::size_t start = 0;
    while (start < errors.size()) {
        const std::size_t end = std::min(errors.find('\n', start), errors.size());
        std::string line = errors.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            text += (text.empty() ? "" : " ") + line;
        start = end + 1;
    }
    return text;
}

std::string withDetail(const std::string& clause, std::string detail) {
    while (!detail.empty() && detail.back() == '.')
        detail.pop_back();
    return detail.empty() ? clause : clause + ": " + detail;
}

// What went wrong, in words for the user, or nothing when the helper wrote the block.
std::optional<std::string> failureOf(const ProgramRun& run) {
    if (run.succeeded())
        return std::nullopt;
    if (run.startError != 0)
        return "pkexec could not be started: " + std::generic_category().message(run.startError) + ".";
    const std::string errors = oneLine(run.errors);
    if (run.signal != 0)
        return withDetail("pkexec was ended by signal " + std::to_string(run.signal), errors);
    return withDetail("Tallowby's hosts helper refused the change (exit status " +
                          std::to_string(run.exitCode) + ")",
                      errors);
}

} // namespace

std::string PkexecHostsWrite::requestText(const BlockRequest& request) {
    std::string text;
    for (const std::string& site : request.sites) {
        text += site;
        if (const auto lock = request.lockedUntil.find(site); lock != request.lockedUntil.end())
            text += " " + std::to_string(lock->second);
        text += "\n";
    }
    return text;
}

PkexecHostsWrite::Options PkexecHostsWrite::optionsFor(const std::filesystem::path& helper,
                                                       const std::filesystem::path& hostsFile) {
    Options options;
    options.helper = helper;
    options.hostsFile = hostsFile;
    return options;
}

void PkexecHostsWrite::operator()(const BlockRequest& request) const {
    // A reason, as the window words it: "Could not write the hosts file /etc/hosts: <reason>."
    const std::string start = "only an administrator may change this file, and ";
    const auto refuse = [&](const std::string& why) {
        throw store::FileError(options_.hostsFile, start + why, EACCES);
    };

    const std::filesystem::path& pkexec = options_.pkexec;
    std::error_code missing;
    if (!std::filesystem::exists(pkexec, missing))
        refuse("pkexec, which asks for that permission, is not installed (package pkexec or policykit-1)");
    std::error_code error;
    if (!std::filesystem::exists(options_.helper, error))
        refuse("Tallowby's helper for it, " + options_.helper.string() + ", is missing: reinstall Tallowby");
    // Without an agent of the desktop's, pkexec would ask for a password on a terminal nobody sees.
    const ProgramRun run =
        runProgram(pkexec,
                   {"--disable-internal-agent", options_.helper.string(),
                    request.liftEarly ? std::string(kHostsHelperLiftEarly) : std::string(kHostsHelperBlock)},
                   requestText(request), options_.timeout);
    // A password dialog left unanswered is a permission not given, like one dismissed; pkexec's own
    // words for these are no help to the user.
    if (run.timedOut || run.exitCode == kPkexecDismissed)
        throw PermissionNotGiven(options_.hostsFile, false);
    if (run.exitCode == kPkexecNotAuthorised)
        throw PermissionNotGiven(options_.hostsFile, run.errors.find(kNoAgent) != std::string::npos);
    if (const std::optional<std::string> failure = failureOf(run))
        refuse(*failure);
}

} // namespace tallowby::platform

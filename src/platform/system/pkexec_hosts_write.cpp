#include "platform/system/pkexec_hosts_write.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "platform/system/program_run.h"

namespace tallowby::platform {
namespace {

// pkexec's own answers; any other status is the helper's.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorised = 127;

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
std::optional<std::string> failureOf(const ProgramRun& run, std::chrono::milliseconds timeout) {
    if (run.succeeded())
        return std::nullopt;
    if (run.startError != 0)
        return "pkexec could not be started: " + std::generic_category().message(run.startError) + ".";
    if (run.timedOut) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
        return "pkexec gave no answer within " + std::to_string(seconds) +
               (seconds == 1 ? " second" : " seconds");
    }
    const std::string errors = oneLine(run.errors);
    if (run.signal != 0)
        return withDetail("pkexec was ended by signal " + std::to_string(run.signal), errors);
    if (run.exitCode == kPkexecDismissed)
        return "the request for that permission was dismissed";
    if (run.exitCode == kPkexecNotAuthorised)
        return withDetail("that permission was not given", errors);
    return withDetail("Tallowby's hosts helper refused the change (exit status " +
                          std::to_string(run.exitCode) + ")",
                      errors);
}

std::string lines(const std::vector<std::string>& sites) {
    std::string text;
    for (const std::string& site : sites)
        text += site + "\n";
    return text;
}

} // namespace

PkexecHostsWrite::Options PkexecHostsWrite::optionsFor(const std::filesystem::path& helper,
                                                       const std::filesystem::path& hostsFile) {
    Options options;
    options.helper = helper;
    options.hostsFile = hostsFile;
    const char* path = std::getenv("PATH");
    options.searchPath = path != nullptr ? path : "/usr/bin:/bin";
    return options;
}

void PkexecHostsWrite::operator()(const std::vector<std::string>& sites) {
    const Clock::time_point now = options_.now();
    if (lastFailure_ && lastFailure_->sites == sites && now - lastFailure_->when < options_.retryAfter)
        throw lastFailure_->error;
    try {
        ask(sites);
        lastFailure_.reset();
    } catch (const store::FileError& error) {
        lastFailure_.emplace(Failure{sites, now, error});
        throw;
    }
}

void PkexecHostsWrite::ask(const std::vector<std::string>& sites) const {
    // A reason, as the window words it: "Could not write the hosts file /etc/hosts: <reason>."
    const std::string start = "only an administrator may change this file, and ";
    const auto refuse = [&](const std::string& why) {
        throw store::FileError(options_.hostsFile, start + why, EACCES);
    };

    const std::filesystem::path pkexec = findProgram("pkexec", options_.searchPath);
    if (pkexec.empty())
        refuse("pkexec, which asks for that permission, is not installed (package pkexec or policykit-1)");
    std::error_code error;
    if (!std::filesystem::exists(options_.helper, error))
        refuse("Tallowby's helper for it, " + options_.helper.string() + ", is missing: reinstall Tallowby");
    // Without an agent of the desktop's, pkexec would ask for a password on a terminal nobody sees.
    const ProgramRun run = runProgram(pkexec, {"--disable-internal-agent", options_.helper.string()},
                                      lines(sites), options_.timeout);
    if (const std::optional<std::string> failure = failureOf(run, options_.timeout))
        refuse(*failure);
}

} // namespace tallowby::platform

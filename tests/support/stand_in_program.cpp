#include "support/stand_in_program.h"

#include <sstream>

#include "support/file_bytes.h"

namespace tallowby::testsupport {
namespace {

namespace fs = std::filesystem;

// The arguments are written last, so a call whose arguments are there has its input complete.
constexpr const char* kScript = R"sh(#!/bin/sh
calls='@CALLS@'
n=0
while [ -e "$calls/$n.args" ] || [ -e "$calls/$n.input" ]; do n=$((n+1)); done
cat > "$calls/$n.input"
printf '%s\n' "$@" > "$calls/$n.args.part" && mv "$calls/$n.args.part" "$calls/$n.args"
[ -f "$calls/answer.errors" ] && cat "$calls/answer.errors" >&2
[ -f "$calls/answer.delay" ] && sleep "$(cat "$calls/answer.delay")"
exit "$(cat "$calls/answer.status" 2>/dev/null || echo 0)"
)sh";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

StandInProgram::StandInProgram(const fs::path& folder, const std::string& name)
    : folder_(folder), name_(name) {
    fs::create_directories(binFolder());
    fs::create_directories(callsFolder());
    std::string script = kScript;
    script.replace(script.find("@CALLS@"), 7, callsFolder().string());
    writeFile(program(), script);
    fs::permissions(folder_, fs::perms(0755));
    fs::permissions(binFolder(), fs::perms(0755));
    fs::permissions(program(), fs::perms(0755));
    fs::permissions(callsFolder(), fs::perms(0777));
}

void StandInProgram::answer(const Answer& answer) const {
    writeFile(callsFolder() / "answer.status", std::to_string(answer.exitCode));
    writeFile(callsFolder() / "answer.errors", answer.errors);
    writeFile(callsFolder() / "answer.delay", std::to_string(answer.delaySeconds));
}

std::vector<StandInProgram::Call> StandInProgram::calls() const {
    std::vector<Call> calls;
    for (int n = 0; fs::exists(callsFolder() / (std::to_string(n) + ".args")); ++n) {
        const fs::path stem = callsFolder() / std::to_string(n);
        calls.push_back({linesOf(readFile(stem.string() + ".args")), readFile(stem.string() + ".input")});
    }
    return calls;
}

} // namespace tallowby::testsupport

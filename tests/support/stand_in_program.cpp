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
answers=$calls
for arg in "$@"; do
  case $arg in */* | . | .. | '') ;; *) [ -d "$calls/when/$arg" ] && answers=$calls/when/$arg ;; esac
done
[ -f "$answers/answer.errors" ] && cat "$answers/answer.errors" >&2
# The delay runs out early once the caller is gone: a stand-in never outlives the program it answers.
if [ -f "$answers/answer.delay" ]; then
  left=$(cat "$answers/answer.delay")
  while [ "$left" -gt 0 ] && kill -0 "$PPID" 2>/dev/null; do sleep 1; left=$((left - 1)); done
fi
exit "$(cat "$answers/answer.status" 2>/dev/null || echo 0)"
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

namespace {

void writeAnswer(const fs::path& folder, const StandInProgram::Answer& answer) {
    writeFile(folder / "answer.status", std::to_string(answer.exitCode));
    writeFile(folder / "answer.errors", answer.errors);
    writeFile(folder / "answer.delay", std::to_string(answer.delaySeconds));
}

} // namespace

void StandInProgram::answer(const Answer& answer) const {
    writeAnswer(callsFolder(), answer);
}

void StandInProgram::answerWhen(const std::string& argument, const Answer& answer) const {
    const fs::path folder = callsFolder() / "when" / argument;
    fs::create_directories(folder);
    writeAnswer(folder, answer);
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

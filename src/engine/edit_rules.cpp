#include "engine/edit_rules.h"

#include "store/host_names.h"

#include <algorithm>
#include <cstdint>

#include "engine/time_rules.h"
#include "store/session_records.h"
#include "store/time_of_day.h"

namespace tallowby::engine {
namespace {

// The list format ends a list at the first entry shorter than this.
constexpr std::size_t kShortestEntry = 4;

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool holdsAny(std::string_view text, bool (*test)(char)) {
    return std::any_of(text.begin(), text.end(), test);
}

} // namespace

std::optional<std::string> ValidateSessionTime(const store::Lines& sessionLines, std::string_view start,
                                               std::string_view end, int skipSession) {
    const std::int64_t newStart = store::parseTimeOfDay(start);
    const std::int64_t newEnd = store::parseTimeOfDay(end);
    const auto earlier = [](std::int64_t a, std::int64_t b) { return CompareTimeOfDay(a, b) < 0; };
    const auto notLater = [](std::int64_t a, std::int64_t b) { return CompareTimeOfDay(a, b) <= 0; };
    if (!earlier(newStart, newEnd))
        return "Failed - start time should be earlier than end time.";

    const int count = store::sessionCount(sessionLines.size());
    for (int j = 0; j < count; ++j) {
        if (j == skipSession)
            continue;
        const std::string& startText = sessionLines[6 * static_cast<std::size_t>(j)];
        const std::string& endText = sessionLines[6 * static_cast<std::size_t>(j) + 1];
        const std::int64_t s = store::parseTimeOfDay(startText);
        const std::int64_t e = store::parseTimeOfDay(endText);
        const std::string other = startText + ":" + endText;
        if (notLater(s, newStart) && earlier(newStart, e))
            return "Failed - start time overlaped with session " + other;
        if ((earlier(s, newEnd) && notLater(newEnd, e)) || (earlier(newStart, s) && earlier(s, newEnd)) ||
            (earlier(newStart, e) && earlier(e, newEnd)))
            return "Failed - end time overlaped with session " + other;
    }
    return std::nullopt;
}

std::string trimEntry(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::optional<std::string> processEntryFailure(std::string_view name, ProgramNaming naming) {
    if (naming == ProgramNaming::ExeFile) {
        const std::string_view end = name.substr(name.size() - std::min<std::size_t>(name.size(), 4));
        if (!std::ranges::equal(end, std::string_view(".exe"), {}, asciiLower))
            return "Failed - Progress should be *.exe file.";
        // A folder's path is no name a process list gives; ";" would split the list's line.
        if (name.find_first_of("/\\;") != std::string_view::npos || holdsAny(name, isControl))
            return "Failed - Progress should be the name of an *.exe file, without \"\\\", \"/\" or \";\".";
        return std::nullopt;
    }
    // Short names are real programs ("vlc", "mpv"); only what would split a list or a line is kept
    // out, and "/" since a window's program is known by a name, never by its folder.
    if (name.empty() || name.find_first_of("/;") != std::string_view::npos || holdsAny(name, isControl))
        return "Failed - Progress should be a program name, without \"/\" or \";\".";
    return std::nullopt;
}

std::optional<std::string> websiteEntryFailure(std::string_view name) {
    // Only a host name can be blocked through the hosts file ("https://..." or a path cannot).
    if (name.size() < kShortestEntry || !store::isPlainHostName(name))
        return "Failed - Website should be a host name of at least 4 characters, such as www.example.com: "
               "letters, digits, \"-\" and \".\" only.";
    return std::nullopt;
}

} // namespace tallowby::engine

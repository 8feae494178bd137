#include "engine/program_choice.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

namespace tallowby::engine {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Slips a name of this length may hold and still be recognised: a short name has no letters to
// spare ("vlc" is not a slip of "vi"), a long one may hold two.
std::size_t allowedSlips(std::size_t length) {
    if (length <= 3)
        return 0;
    if (length <= 7)
        return 1;
    return 2;
}

// Letters left out, added, changed or two swapped (the optimal string alignment form of the
// Damerau-Levenshtein distance), counted only up to limit: anything further is limit + 1.
std::size_t slipsBetween(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t longer = std::max(a.size(), b.size());
    if (longer - std::min(a.size(), b.size()) > limit)
        return limit + 1;
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        std::size_t rowBest = current[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > limit)
            return limit + 1;
        before.swap(previous);
        previous.swap(current);
    }
    return std::min(previous[b.size()], limit + 1);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// Lower case without white space: how names are compared.
std::string keyOf(std::string_view name) {
    std::string key;
    for (const char c : name)
        if (!isSpace(c))
            key += lower(c);
    return key;
}

// The words of a name, lower case: "LibreOffice Writer", "gnome-terminal-server", "idle_3.11".
std::vector<std::string> wordsOf(std::string_view name) {
    std::vector<std::string> words(1);
    for (const char c : name) {
        if (isSpace(c) || c == '-' || c == '_' || c == '.') {
            if (!words.back().empty())
                words.emplace_back();
        } else {
            words.back() += lower(c);
        }
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

std::size_t commonStart(std::string_view a, std::string_view b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

// How a candidate stands to what was typed, best first; nothing when it is not close.
enum class Kind { Same, Word, Start, Slip, Holds };

struct Closeness {
    Kind kind;
    std::size_t slips = 0;
};

// Slips between typed and this name: letters left out, added, changed or swapped, or the ending
// misremembered ("chrome" for "chromium": the start alike and the rest lost).
std::optional<std::size_t> slipsTo(std::string_view typed, std::string_view name) {
    const std::size_t limit = allowedSlips(typed.size());
    if (const std::size_t slips = slipsBetween(typed, name, limit); slips <= limit)
        return slips;
    const std::size_t alike = commonStart(typed, name);
    if (alike >= 5 && alike + 2 >= typed.size())
        return limit + 1;
    return std::nullopt;
}

std::optional<Closeness> closeness(std::string_view typed, std::string_view candidate) {
    const std::string key = keyOf(candidate);
    if (typed == key)
        return Closeness{Kind::Same};
    const std::vector<std::string> words = wordsOf(candidate);
    if (typed.size() >= 3 && std::ranges::find(words, typed) != words.end())
        return Closeness{Kind::Word};
    if (typed.size() >= 3 &&
        (key.starts_with(typed) ||
         std::ranges::any_of(words, [&](const std::string& word) { return word.starts_with(typed); })))
        return Closeness{Kind::Start};
    // A name a little longer than the real one: another system's name for it ("chromium-browser").
    if (key.size() >= 4 && typed.starts_with(key))
        return Closeness{Kind::Slip, 1};
    std::optional<std::size_t> best = slipsTo(typed, key);
    for (const std::string& word : words)
        if (word.size() >= 4 && words.size() > 1)
            if (const auto slips = slipsTo(typed, word); slips && (!best || *slips < *best))
                best = slips;
    if (best)
        return Closeness{Kind::Slip, *best};
    if (typed.size() >= 4 && key.find(typed) != std::string::npos)
        return Closeness{Kind::Holds};
    return std::nullopt;
}

} // namespace

std::string lowerName(std::string_view name) {
    std::string lowered(name);
    std::ranges::transform(lowered, lowered.begin(), lower);
    return lowered;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

bool namesMatch(std::string_view listed, std::string_view name) {
    const auto skipSpaces = [](std::string_view text, std::size_t at) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        return at;
    };
    std::size_t i = skipSpaces(listed, 0);
    std::size_t j = skipSpaces(name, 0);
    while (i < listed.size() && j < name.size()) {
        if (lower(listed[i]) != lower(name[j]))
            return false;
        i = skipSpaces(listed, i + 1);
        j = skipSpaces(name, j + 1);
    }
    return i == listed.size() && j == name.size();
}

std::vector<std::size_t> likelyMeant(std::string_view typed, const std::vector<NameCandidate>& candidates,
                                     std::size_t most) {
    const std::string wanted = keyOf(typed);
    if (wanted.empty())
        return {};
    // Closest first, then the one closest in length, then alphabetical order, so the answer does
    // not hang on the order the candidates come in.
    using Rank = std::tuple<Kind, std::size_t, std::size_t, std::string, std::size_t>;
    std::vector<Rank> ranked;
    for (std::size_t at = 0; at < candidates.size(); ++at) {
        const auto close = closeness(wanted, candidates[at].name);
        if (!close)
            continue;
        std::string key = keyOf(candidates[at].name);
        const std::size_t gap =
            key.size() > wanted.size() ? key.size() - wanted.size() : wanted.size() - key.size();
        ranked.emplace_back(close->kind, close->slips, gap, std::move(key), at);
    }
    std::ranges::sort(ranked);
    std::vector<std::size_t> chosen;
    std::vector<std::string_view> places;
    for (const Rank& rank : ranked) {
        const NameCandidate& candidate = candidates[std::get<4>(rank)];
        if (std::ranges::find(places, std::string_view(candidate.leadsTo)) != places.end())
            continue;
        places.push_back(candidate.leadsTo);
        chosen.push_back(std::get<4>(rank));
        if (chosen.size() == most)
            break;
    }
    return chosen;
}

std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& candidates) {
    std::vector<NameCandidate> named;
    for (const std::string& candidate : candidates)
        named.push_back({candidate, candidate});
    const std::vector<std::size_t> meant = likelyMeant(typed, named, 1);
    if (meant.empty())
        return std::nullopt;
    return candidates[meant.front()];
}

} // namespace tallowby::engine

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
// spare ("vlc" is not a slip of "vi"), a long one may hold a few.
std::size_t allowedSlips(std::size_t length) {
    if (length <= 3)
        return 0;
    if (length <= 5)
        return 1;
    if (length <= 9)
        return 2;
    return 3;
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

// How far a candidate is from what was typed (both lower case), in half slips; nothing when it is
// not close. A name that starts the other is the likeliest meaning after the same name: people
// shorten names more often than they mistype them. One held inside the other comes after a slip.
std::optional<std::size_t> distance(std::string_view typed, std::string_view candidate) {
    if (typed == candidate)
        return 0;
    if ((typed.size() >= 3 && candidate.starts_with(typed)) ||
        (candidate.size() >= 4 && typed.starts_with(candidate)))
        return 1;
    const std::size_t limit = allowedSlips(typed.size());
    const std::size_t slips = slipsBetween(typed, candidate, limit);
    if (slips <= limit && slips <= 1)
        return 2 * slips;
    if (typed.size() >= 4 && candidate.find(typed) != std::string_view::npos)
        return 3;
    if (slips <= limit)
        return 2 * slips;
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

std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string wanted = lowerName(typed);
    if (wanted.empty())
        return std::nullopt;
    // Nearest first, then the one closest in length, then the first in alphabetical order, so the
    // answer does not hang on the order the candidates come in.
    std::optional<std::tuple<std::size_t, std::size_t, std::string>> best;
    const std::string* chosen = nullptr;
    for (const std::string& candidate : candidates) {
        std::string name = lowerName(candidate);
        const auto cost = distance(wanted, name);
        if (!cost)
            continue;
        const std::size_t lengthGap =
            name.size() > wanted.size() ? name.size() - wanted.size() : wanted.size() - name.size();
        auto rank = std::make_tuple(*cost, lengthGap, std::move(name));
        if (!best || rank < *best) {
            best = std::move(rank);
            chosen = &candidate;
        }
    }
    if (!chosen)
        return std::nullopt;
    return *chosen;
}

} // namespace tallowby::engine

#pragma once
// Guessing which program a name that answers to nothing was meant to be, so the process picker can
// offer it before a typing slip goes into the rules. Plain text work, no platform calls.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::engine {

// A name a window may answer to, and what it leads to: the application or program whose windows
// answer to it ("LibreOffice Writer — soffice.bin"). Names that lead to the same place are one
// choice to the user, offered by the name that comes closest to what was typed.
struct NameCandidate {
    std::string name;
    std::string leadsTo;
};

// The candidates typed most likely meant, likeliest first, at most `most`, one per place they lead
// to; ignoring case and spaces. People misremember a name in these ways, most often first: they
// give one word of a menu name ("writer" for "LibreOffice Writer"), the start of a name
// ("firefox" for "firefox-esr") or a name a little longer ("chromium-browser" for "chromium"), or
// slip a letter or two ("chromum", "lbireoffice") or its ending ("chrome" for "chromium").
// Returns indexes into `candidates`.
std::vector<std::size_t> likelyMeant(std::string_view typed, const std::vector<NameCandidate>& candidates,
                                     std::size_t most);

// The likeliest of likelyMeant, given back as it was written; nothing when none is close.
std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& candidates);

// Ignoring ASCII case, as program names are compared.
bool sameName(std::string_view a, std::string_view b);
std::string lowerName(std::string_view name);

// Whether a listed name names a program's name: ignoring ASCII case and white space, as a person
// types a menu name ("libreoffice writer", "Image viewer").
bool namesMatch(std::string_view listed, std::string_view name);

} // namespace tallowby::engine

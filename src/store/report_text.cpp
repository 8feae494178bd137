#include "store/report_text.h"

#include <cstdint>
#include <cstdio>

namespace tallowby::store {
namespace {

struct Character {
    std::size_t length = 1; // bytes taken from the text
    std::uint32_t code = 0;
    bool valid = false; // a whole UTF-8 character, not one stray byte
};

bool continuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// The character at the start of text, by the UTF-8 rules (no overlong forms, no surrogates, nothing
// past U+10FFFF); a byte that starts none is a character of its own, not valid.
Character nextCharacter(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, lead, true};
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, lead, false};
    }
    if (text.size() < length || !continuation(byte(1), low, high))
        return {1, lead, false};
    std::uint32_t code = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (!continuation(byte(i)))
            return {1, lead, false};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    return {length, code, true};
}

// Characters that reorder or break the text around them: a message quoting them would not say what
// the file holds.
bool turnsText(std::uint32_t code) {
    return (code >= 0x80 && code <= 0x9F) || code == 0x200E || code == 0x200F || code == 0x2028 ||
           code == 0x2029 || (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

void appendShown(std::string& out, std::string_view text, const Character& c) {
    char escape[12];
    if (!c.valid) {
        std::snprintf(escape, sizeof escape, "\\x%02X", c.code);
        out += escape;
    } else if (c.code == 0) {
        out += "\\0";
    } else if (c.code < 0x20 || c.code == 0x7F) {
        std::snprintf(escape, sizeof escape, "\\x%02X", c.code);
        out += escape;
    } else if (turnsText(c.code)) {
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c.code));
        out += escape;
    } else {
        out += text.substr(0, c.length);
    }
}

// The first `characters` characters of text, printable; whether text had more.
bool appendPrintable(std::string& out, std::string_view text, std::size_t characters) {
    for (std::size_t taken = 0; !text.empty(); ++taken) {
        if (taken == characters)
            return true;
        const Character c = nextCharacter(text);
        appendShown(out, text, c);
        text.remove_prefix(c.length);
    }
    return false;
}

} // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendPrintable(out, text, text.size());
    return out;
}

std::string excerpt(std::string_view text) {
    std::string out;
    if (appendPrintable(out, text, kQuotedCharacters))
        out += "...";
    return out;
}

std::string quotedExcerpt(std::string_view text) {
    return "\"" + excerpt(text) + "\"";
}

std::string problemList(const std::vector<std::string>& problems) {
    std::string list;
    for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i)
        list += (i == 0 ? "- " : "\n- ") + printable(problems[i]);
    if (problems.size() > kListedProblems)
        list += "\nand " + std::to_string(problems.size() - kListedProblems) + " more.";
    return list;
}

} // namespace tallowby::store

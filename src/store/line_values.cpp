#include "store/line_values.h"

namespace tallowby::store {

const std::string& lineAt(const Lines& lines, std::ptrdiff_t index) {
    static const std::string empty;
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size())
        return empty;
    return lines[static_cast<std::size_t>(index)];
}

void setLine(Lines& lines, std::size_t index, std::string value) {
    if (lines.size() <= index)
        lines.resize(index + 1);
    lines[index] = std::move(value);
}

bool isOn(std::string_view line) {
    return line == "1";
}

std::string flagText(bool on) {
    return on ? "1" : "0";
}

std::string boundedText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end)) + "...";
}

} // namespace tallowby::store

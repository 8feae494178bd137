#include "store/config_lines.h"

#include "store/line_values.h"
#include "store/rule_limits.h"

namespace tallowby::store {

const std::string& configValue(const Lines& configLines, ConfigLine line) {
    return lineAt(configLines, static_cast<int>(line));
}

bool configFlag(const Lines& configLines, ConfigLine line) {
    return isOn(configValue(configLines, line));
}

bool closesWindows(const Lines& configLines) {
    return closesWindows(configValue(configLines, ConfigLine::WindowAction));
}

bool closesWindows(std::string_view windowActionLine) {
    return windowActionLine != "0";
}

void setConfigValue(Lines& configLines, ConfigLine line, std::string value) {
    setLine(configLines, static_cast<std::size_t>(line), std::move(value));
}

std::string shownProfileName(const Lines& configLines) {
    return boundedText(configValue(configLines, ConfigLine::Profile), kLongestProfileName);
}

} // namespace tallowby::store

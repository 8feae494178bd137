#include "engine/notices.h"

namespace tallowby::engine {

namespace {

constexpr const char* kCR = "\r";

// An empty list line is shown as "None"; any other is shown exactly as stored, separators included.
std::string listText(const std::string& line) {
    return line.empty() ? std::string("None") : line;
}

std::string endModeText(const std::string& mode) {
    return mode == "0" ? "Below process blocked:" : "Only below process allowed:";
}

std::string wholeDayPart(const WholeDayRecord* wholeDay) {
    if (wholeDay == nullptr) {
        return {};
    }
    return std::string(kCR) + kCR + "For whole day events:" + kCR + endModeText(wholeDay->mode) + kCR +
           listText(wholeDay->processes) + kCR + "Website blocked:" + kCR + listText(wholeDay->websites);
}

std::string sessionTimes(const SessionRecord& session) {
    return session.start + "-" + session.end;
}

} // namespace

std::string PreSessionNoticeText(const SessionRecord& session, const WholeDayRecord* wholeDay) {
    const std::string mode =
        session.mode == "0" ? "Below process will be blocked:" : "Only below process will be allowed:";
    return "Please mind Session " + sessionTimes(session) + " will start in 10 minutes." + kCR + mode + kCR +
           listText(session.processes) + kCR + "Below website will be blocked:" + kCR +
           listText(session.websites) + wholeDayPart(wholeDay);
}

std::string SessionEndNoticeText(const SessionRecord& session, const WholeDayRecord* wholeDay) {
    return "Please mind Session " + sessionTimes(session) + " ended, the seesion content was:" + kCR +
           endModeText(session.mode) + kCR + listText(session.processes) + kCR +
           "Below website be blocked:" + kCR + listText(session.websites) + wholeDayPart(wholeDay);
}

} // namespace tallowby::engine

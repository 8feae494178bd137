#include "ui/main/website_locks.h"

#include <QDateTime>
#include <QLocale>

#include "engine/site_lock_ends.h"
#include "store/config_lines.h"
#include "ui/common/local_text.h"
#include "ui/common/system_clock.h"

namespace tallowby::ui {
namespace {

// A long list would make a box taller than the screen.
constexpr std::size_t kMostSitesNamed = 10;

} // namespace

platform::BlockRequest hostsRequest(const std::vector<std::string>& sites, const store::RuleLists& lists,
                                    const engine::WholeDayPanel& wholeDay, int currentSessionIndex,
                                    const engine::LocalDateTime& now) {
    platform::BlockRequest request(sites);
    if (!store::configFlag(lists.ConfigLines, store::ConfigLine::WebsiteBlocksStay))
        return request;
    const auto ends = engine::siteLockEnds(lists, wholeDay, currentSessionIndex, now);
    for (const std::string& site : sites)
        if (const auto end = ends.find(site); end != ends.end())
            request.lockedUntil[site] = epochSeconds(end->second);
    return request;
}

QString lockEndText(std::int64_t until, std::int64_t now) {
    const QDateTime end = QDateTime::fromSecsSinceEpoch(until);
    const QDate today = QDateTime::fromSecsSinceEpoch(now).date();
    const QString time = end.time().toString(QStringLiteral("HH:mm"));
    if (end.date() == today)
        return time;
    if (end.date() == today.addDays(1))
        return end.time() == QTime(0, 0) ? QStringLiteral("midnight") : QStringLiteral("tomorrow ") + time;
    // The program's words are English; so are its day and month names.
    return QLocale::c().toString(end.date(), QStringLiteral("ddd d MMM ")) + time;
}

QString locksStayingQuestion(const std::vector<platform::BlockLine>& staying, std::int64_t now) {
    QString names;
    for (std::size_t i = 0; i < staying.size() && i < kMostSitesNamed; ++i)
        names += QStringLiteral("%1 until %2\n")
                     .arg(fromBytes(staying[i].site), lockEndText(staying[i].lockedUntil, now));
    if (staying.size() > kMostSitesNamed)
        names += QStringLiteral("and %1 more\n").arg(staying.size() - kMostSitesNamed);
    return QStringLiteral("These websites stay blocked until their session ends:\n\n%1\n"
                          "Lift the blocks now? An administrator's password is asked for.")
        .arg(names);
}

} // namespace tallowby::ui

#include "ui/main/hosts_failure_text.h"

#include "platform/hosts/permission_not_given.h"
#include "ui/common/file_failure.h"

namespace tallowby::ui {

QString hostsFailureText(const store::FileError& error, HostsWriteMoment moment) {
    if (const auto* refusal = dynamic_cast<const platform::PermissionNotGiven*>(&error)) {
        const QString why = refusal->noAgent()
                                ? QStringLiteral("an administrator's permission, and nothing on this desktop "
                                                 "can ask for it (no authentication agent is running)")
                                : QStringLiteral("an administrator's permission, which was not given");
        switch (moment) {
        case HostsWriteMoment::Blocking:
            return QStringLiteral("The website block needs %1; programs are still blocked.").arg(why);
        case HostsWriteMoment::Lifting:
            return QStringLiteral("Lifting the website block needs %1; the websites stay blocked for now.")
                .arg(why);
        case HostsWriteMoment::ProgramEnd:
            return QStringLiteral(
                       "Lifting the website block needs %1; Tallowby ends now, and the websites it "
                       "blocked stay blocked until it runs again.")
                .arg(why);
        }
    }
    const QString action = QStringLiteral("write the hosts file");
    if (moment == HostsWriteMoment::ProgramEnd)
        return fileFailureText(action, error,
                               QStringLiteral("Tallowby ends now; the websites it blocked stay blocked until "
                                              "the file can be written."));
    return fileFailureText(action, error,
                           QStringLiteral("Websites are not blocked or unblocked until it can be written."));
}

} // namespace tallowby::ui

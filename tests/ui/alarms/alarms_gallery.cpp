// Shows the reminders editor, a reminder pop-up, the shutdown setup or the shutdown warning as the
// user sees them, for screenshots: alarms_gallery editor | popup | shutdown | warning. Also the
// warning with the check code its cancel asks for (warning-code), and a pop-up with a notice that
// opened while it was up (popup-notice). Nothing is read or written, and nothing plays a sound.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <string>

#include "folder_rule_book.h"
#include "platform/fake/fake_sound_player.h"
#include "platform/fake/fake_system.h"
#include "store/reminder_records.h"
#include "ui/alarms/alert_sound.h"
#include "ui/alarms/unt_autoshutdown.h"
#include "ui/alarms/unt_reminderShow.h"
#include "ui/alarms/unt_reminders.h"
#include "ui/alarms/unt_shutdown.h"
#include "ui/common/message_box.h"
#include "ui/restraint/unt_checkcode.h"

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    const std::string which = argc > 1 ? argv[1] : "";

    if (which == "editor") {
        test::FolderRuleBook book{store::ProgramPaths("/opt/tallowby")};
        book.rules.ReminderLines = {"0000000",
                                    "22:30",
                                    "1",
                                    "1",
                                    "1",
                                    "07:30",
                                    "1",
                                    "0111110",
                                    "Take the vitamins",
                                    "12:15",
                                    "0",
                                    "1111111",
                                    "Lunch break - step away from the screen",
                                    "21:45",
                                    "1",
                                    "1111100",
                                    "Pack the bag for tomorrow"};
        book.rules.ReminderCount = store::reminderCount(book.rules.ReminderLines.size());
        book.rules.SoundLines = {"/opt/tallowby/sound/rmd.wav", "/opt/tallowby/sound/shutd.wav"};
        ui::Tfrm_reminders editor(book);
        editor.show();
        // The middle one, so the details differ from a freshly added reminder's.
        editor.lbox_reminders->setCurrentRow(1);
        return app.exec();
    }
    if (which == "popup" || which == "popup-notice") {
        platform::FakeSoundPlayer player;
        ui::AlertSound sound(player);
        ui::Tfrm_reminderShow popup(sound, "/opt/tallowby/sound/rmd.wav", "/opt/tallowby/sound/rmd.wav");
        if (which == "popup-notice")
            QTimer::singleShot(300, [] {
                ui::showPopUpMessage(
                    QStringLiteral("Next session: 16:40 - 18:00\nMode: Block\nPrograms: mpv;"));
            });
        popup.showReminder(QStringLiteral("Reminder - It's time 16:30"),
                           QStringLiteral("Stand up, stretch and drink a glass of water"), true);
        return 0;
    }
    if (which == "shutdown") {
        test::FolderRuleBook book{store::ProgramPaths("/opt/tallowby")};
        book.rules.ReminderLines = {"0111110", "22:30", "1", "1", "1"};
        book.rules.SoundLines = {"/opt/tallowby/sound/rmd.wav", "/opt/tallowby/sound/shutd.wav"};
        ui::Tfrm_autoShutdown setup(book);
        setup.show();
        return app.exec();
    }
    if (which == "warning" || which == "warning-code") {
        test::FolderRuleBook book{store::ProgramPaths("/opt/tallowby")};
        book.rules.ReminderLines = {"0111110", "22:30", "1", "1", "1"};
        book.rules.SoundLines = {"/opt/tallowby/sound/rmd.wav", "/opt/tallowby/sound/shutd.wav"};
        platform::FakeSoundPlayer player;
        ui::AlertSound sound(player);
        ui::CheckGuard guard;
        ui::Tfrm_checkcode checkcode(guard, [] { return std::string("10"); });
        platform::FakeShutdown shutdown;
        bool started = false;
        ui::Tfrm_shutdown warning(book, sound, checkcode, guard, shutdown, started);
        if (which == "warning-code")
            QTimer::singleShot(300, warning.btn_cancel, &QPushButton::click);
        warning.showWarning(QStringLiteral("Reminder for shutdown at 22:30"), true);
        return 0;
    }
    std::fprintf(stderr, "usage: alarms_gallery editor | popup | popup-notice | shutdown | warning | "
                         "warning-code\n");
    return 2;
}

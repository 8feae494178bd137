#pragma once
// Every dialog of the program, as the main window and its panels reach them. The program makes
// each one once at start-up, after the main window, and keeps it until exit; a dialog not made
// (a test that makes only some) is null, and what would open it does nothing.
#include <QPointer>

namespace tallowby::ui {

class TfrmAbout;
class Tfrm_checkcode;
class Tfrm_toRun;
class Tfrm_Options;
class Tfrm_pause;
class Tfrm_sessionAdd;
class Tfrm_domainAdd;
class Tfrm_WholeDayDomainAdd;
class Tfrm_AddProcess;
class Tfrm_WholedayAddProcess;
class Tfrm_profiles;
class Tfrm_reminders;
class Tfrm_autoShutdown;
class Tfrm_shutdown;

struct ProgramDialogs {
    QPointer<TfrmAbout> frmAbout;
    QPointer<Tfrm_sessionAdd> frm_sessionAdd;
    QPointer<Tfrm_domainAdd> frm_domainAdd;
    QPointer<Tfrm_WholeDayDomainAdd> frm_WholeDayDomainAdd;
    QPointer<Tfrm_AddProcess> frm_AddProcess;
    QPointer<Tfrm_WholedayAddProcess> frm_WholedayAddProcess;
    QPointer<Tfrm_profiles> frm_profiles;
    QPointer<Tfrm_reminders> frm_reminders;
    QPointer<Tfrm_autoShutdown> frm_autoShutdown;
    QPointer<Tfrm_shutdown> frm_shutdown;
    QPointer<Tfrm_checkcode> frm_checkcode;
    QPointer<Tfrm_toRun> frm_toRun;
    QPointer<Tfrm_Options> frm_Options;
    QPointer<Tfrm_pause> frm_pause;
};

} // namespace tallowby::ui

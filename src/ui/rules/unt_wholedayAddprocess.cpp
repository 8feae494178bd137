#include "ui/rules/unt_wholedayAddprocess.h"

namespace tallowby::ui {

Tfrm_WholedayAddProcess::Tfrm_WholedayAddProcess(QListWidget* target, platform::WindowLister& windows,
                                                 platform::ProcessLister& processes,
                                                 platform::ProgramNamer& namer,
                                                 platform::DesktopEntries& entries, QWidget* parent)
    : Tfrm_AddProcess(Traits{.objectName = "frm_WholedayAddProcess",
                             .caption = QStringLiteral("Add Process - Whole day events"),
                             .programsCaption = QStringLiteral("Program on Running"),
                             .refreshOnShow = false,
                             .focusAfterReset = false,
                             .cancelKeeps = false},
                      target, windows, processes, namer, entries, parent) {}

} // namespace tallowby::ui

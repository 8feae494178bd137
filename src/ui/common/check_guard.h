#pragma once
// The guard protocol's shared state: which action asked for the check code last, and one
// confirmation flag per guarded action. A correct code sets the flag of the asking action and
// re-invokes it; the action clears its flag when it proceeds, so one code allows exactly one run.
#include <QString>

namespace tallowby::ui {

namespace purpose {
inline const QString OptionsSave = QStringLiteral("OptiinSave");
inline const QString Exit = QStringLiteral("ExitCheckCode");
inline const QString Stop = QStringLiteral("Stop");
inline const QString ShutdownCancel = QStringLiteral("ShutdownCheck");
inline const QString Pause = QStringLiteral("Pause");
} // namespace purpose

struct CheckGuard {
    QString CheckPurpose;
    bool ExitConfirmed = false;
    bool StopConfirmed = false;
    bool OptionsSaveConfirmed = false;
    bool PauseConfirmed = false;
    bool ShutdownCancelConfirmed = false;
};

} // namespace tallowby::ui

#include "ui/alarms/sound_choice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>

#include "os/files.h"
#include "store/rule_limits.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"

namespace tallowby::ui {
namespace {

std::function<QString()>& chooserHook() {
    static std::function<QString()> hook;
    return hook;
}

} // namespace

void setSoundFileChooser(std::function<QString()> chooser) {
    chooserHook() = std::move(chooser);
}

std::optional<QString> soundFileFailure(const QString& path) {
    const std::string bytes = toBytes(path);
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(bytes, error);
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')) || !regular ||
        os::accessError(bytes, os::Access::Read) != 0)
        return QStringLiteral("Failed - ") + path + QStringLiteral(" is not a sound file that can be read.");
    if (std::filesystem::file_size(bytes, error) > store::kMaxSoundFileBytes)
        return QStringLiteral("Failed - ") + path +
               QStringLiteral(" is larger than %1 MiB; an alert sound must be smaller.")
                   .arg(store::kMaxSoundFileBytes / (1024 * 1024));
    return std::nullopt;
}

std::optional<QString> chooseSoundFile(QWidget* parent, const QString& currentPath) {
    const QString chosen =
        chooserHook() ? chooserHook()()
                      : QFileDialog::getOpenFileName(parent, QString(), QFileInfo(currentPath).absolutePath(),
                                                     kSoundFileFilter);
    if (chosen.isEmpty())
        return std::nullopt;
    if (const auto failure = soundFileFailure(chosen)) {
        showMessage(parent, *failure);
        return std::nullopt;
    }
    return chosen;
}

} // namespace tallowby::ui

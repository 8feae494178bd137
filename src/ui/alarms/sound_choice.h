#pragma once
// Choosing an alert sound file: the file dialog of the reminders editor and of the shutdown setup,
// and what they accept. A sound path is one line of "sound.db", and a pop-up must be able to open
// the file without waiting on it.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tallowby::ui {

// The file filter both choosers offer.
inline const QString kSoundFileFilter =
    QStringLiteral("Sound files (*.wav *.mid *.midi *.mp3 *.ogg *.flac);;All files (*)");

// Opens the file dialog in the folder of currentPath. The chosen path, or nothing when the user
// cancelled or the file was refused (the user has then been told why): only a readable regular
// file whose path holds no line break is accepted (a FIFO would hang the pop-up that plays it).
std::optional<QString> chooseSoundFile(QWidget* parent, const QString& currentPath);

// Tests: when set, chooseSoundFile takes the path from here instead of a dialog ("" for Cancel);
// nullptr restores the dialog.
void setSoundFileChooser(std::function<QString()> chooser);

// The message for a path that cannot be an alert sound, or nothing when it can.
std::optional<QString> soundFileFailure(const QString& path);

} // namespace tallowby::ui

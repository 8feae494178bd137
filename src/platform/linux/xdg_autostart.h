#pragma once
// Autostart through an XDG autostart folder: one desktop entry, "tallowby.desktop", that starts a
// program at log-on. The folder is the machine's (every user's session reads it) or the user's own.
#include <filesystem>

#include "platform/autostart.h"

namespace tallowby::platform {

class XdgAutoStart : public AutoStart {
  public:
    // userFolder: the folder is the user's own, and a missing one is made private to the user.
    XdgAutoStart(std::filesystem::path autostartFolder, const std::filesystem::path& program,
                 bool userFolder = false);

    bool AddAutoStart() override;
    bool DelAutoStart() override;

    std::filesystem::path entryFile() const;

  private:
    bool makeFolder() const;

    std::filesystem::path autostartFolder_;
    std::filesystem::path program_;
    bool userFolder_;
};

} // namespace tallowby::platform

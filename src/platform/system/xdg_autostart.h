#pragma once
// Autostart through an XDG autostart folder: one desktop entry, "tallowby.desktop", that starts the
// companion program of the program folder.
#include <filesystem>

#include "platform/system/autostart.h"

namespace tallowby::platform {

class XdgAutoStart : public AutoStart {
  public:
    XdgAutoStart(std::filesystem::path autostartFolder, const std::filesystem::path& programFolder);

    bool AddAutoStart() override;
    bool DelAutoStart() override;

    std::filesystem::path entryFile() const;

  private:
    std::filesystem::path autostartFolder_;
    std::filesystem::path programFolder_;
};

} // namespace tallowby::platform

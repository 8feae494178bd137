#pragma once
// A hosts write refused for want of a permission the user was asked for and did not give (a
// dismissed or unanswered password dialog), or that nothing on the desktop could ask for. It is no
// fault of a file, and the window tells it in plain words of its own.
#include <cerrno>
#include <filesystem>

#include "store/text_file.h"

namespace tallowby::platform {

class PermissionNotGiven : public store::FileError {
  public:
    PermissionNotGiven(std::filesystem::path hostsFile, bool noAgent)
        : store::FileError(std::move(hostsFile),
                           noAgent ? "an administrator's permission is needed, and nothing on this desktop "
                                     "can ask for it"
                                   : "an administrator's permission is needed, and it was not given",
                           EACCES),
          noAgent_(noAgent) {}

    // Whether nothing could ask: no authentication agent runs in the desktop session.
    bool noAgent() const { return noAgent_; }

  private:
    bool noAgent_;
};

} // namespace tallowby::platform

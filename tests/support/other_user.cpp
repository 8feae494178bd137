#include "support/other_user.h"

#include <cstdlib>
#include <unistd.h>

namespace tallowby::testsupport {

std::string whyNoOtherUser() {
    if (::geteuid() != 0)
        return "only root can run a program as another user";
    if (std::system("unshare -m true >/dev/null 2>&1") != 0)
        return "no mount namespace here, to keep the machine's /etc/hosts out of reach";
    return "";
}

std::vector<std::string> withOwnEtcHosts(const std::filesystem::path& hostsFile,
                                         const std::vector<std::string>& command) {
    std::vector<std::string> args{
        "-m", "sh",
        "-c", "mount --make-rprivate / && mount --bind \"$1\" /etc/hosts && shift && exec \"$@\"",
        "sh", hostsFile.string()};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

std::vector<std::string> asNobody(const std::vector<std::string>& command) {
    std::vector<std::string> args{"setpriv", "--reuid=" + std::to_string(kNobodyId),
                                  "--regid=" + std::to_string(kNobodyId), "--clear-groups"};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

} // namespace tallowby::testsupport

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
                                         const std::vector<std::string>& command,
                                         const std::filesystem::path& binFolder) {
    std::vector<std::string> args{
        "-m",
        "sh",
        "-c",
        "mount --make-rprivate / && mount --bind \"$1\" /etc/hosts && "
        "{ [ -z \"$2\" ] || mount -t overlay overlay -o lowerdir=\"$2\":/usr/bin /usr/bin; } "
        "&& shift 2 && exec \"$@\"",
        "sh",
        hostsFile.string(),
        binFolder.string()};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

std::vector<std::string> asUserId(unsigned uid, const std::vector<std::string>& command) {
    std::vector<std::string> args{"setpriv", "--reuid=" + std::to_string(uid),
                                  "--regid=" + std::to_string(uid), "--clear-groups"};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

std::vector<std::string> asNobody(const std::vector<std::string>& command) {
    return asUserId(kNobodyId, command);
}

} // namespace tallowby::testsupport

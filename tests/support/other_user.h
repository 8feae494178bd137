#pragma once
// Command lines that run a program as an ordinary user with a hosts file of the test's own mounted
// over /etc/hosts, so that a program whose hosts file is fixed at /etc/hosts (the installed program,
// the installed hosts helper) can be run without ever reaching the machine's file. Needs root.
#include <filesystem>
#include <string>
#include <vector>

namespace tallowby::testsupport {

inline constexpr unsigned kNobodyId = 65534;

// Why such a command cannot run here, or "" when it can.
std::string whyNoOtherUser();

// The arguments of "unshare" that run command in a mount namespace of its own, with hostsFile
// mounted over /etc/hosts there, and the programs of binFolder, when given, laid over /usr/bin
// (a stand-in /usr/bin/pkexec).
std::vector<std::string> withOwnEtcHosts(const std::filesystem::path& hostsFile,
                                         const std::vector<std::string>& command,
                                         const std::filesystem::path& binFolder = {});

// command run as the user uid (group the same number), without supplementary groups.
std::vector<std::string> asUserId(unsigned uid, const std::vector<std::string>& command);

// The same as nobody.
std::vector<std::string> asNobody(const std::vector<std::string>& command);

} // namespace tallowby::testsupport

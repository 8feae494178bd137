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
// mounted over /etc/hosts there.
std::vector<std::string> withOwnEtcHosts(const std::filesystem::path& hostsFile,
                                         const std::vector<std::string>& command);

// command run as nobody, without supplementary groups.
std::vector<std::string> asNobody(const std::vector<std::string>& command);

} // namespace tallowby::testsupport

// A stand-in for pkexec that runs the real hosts helper as root for the user who called it, as
// pkexec does for an authorised action: the helper learns the user from PKEXEC_UID. A test copies
// it, setuid root, into a folder laid over /usr/bin in the mount namespace of the program it starts
// (tests/support/other_user.h), beside "pkexec.allowed": the one helper it runs, the hosts file that
// must be mounted over /etc/hosts (else it runs nothing: the machine's own file is never reached),
// and a log it appends "<uid> <argument>" to. Nothing is taken from the caller but the argument.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int refuse(const char* why) {
    std::fprintf(stderr, "stand-in pkexec: %s\n", why);
    return 127;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

int main(int argc, char** argv) {
    std::ifstream allowed("/usr/bin/pkexec.allowed");
    std::string helper, hosts, log;
    if (!std::getline(allowed, helper) || !std::getline(allowed, hosts) || !std::getline(allowed, log))
        return refuse("no pkexec.allowed beside it");
    if (argc != 4 || std::string(argv[1]) != "--disable-internal-agent" || argv[2] != helper)
        return refuse("asked to run something other than the helper");
    if (!sameFile("/etc/hosts", hosts))
        return refuse("/etc/hosts is not the test's file");
    const uid_t uid = ::getuid();
    if (FILE* out = std::fopen(log.c_str(), "a")) {
        std::fprintf(out, "%u %s\n", static_cast<unsigned>(uid), argv[3]);
        std::fclose(out);
    }
    const std::string user = std::to_string(uid);
    ::clearenv();
    ::setenv("PKEXEC_UID", user.c_str(), 1);
    if (::setgroups(0, nullptr) != 0 || ::setgid(0) != 0 || ::setuid(0) != 0)
        return refuse("not installed setuid root");
    char* const args[] = {argv[2], argv[3], nullptr};
    ::execv(argv[2], args);
    return refuse("the helper did not start");
}

#include "ordinary_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tallowby::test {

std::string asOrdinaryUser(const std::function<std::string()>& work) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "fork failed";
    if (pid == 0) {
        ::close(pipe[0]);
        std::string answer;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0))
            answer = "could not become nobody";
        else
            answer = work();
        (void)!::write(pipe[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string answer;
    char chunk[512];
    for (ssize_t got; (got = ::read(pipe[0], chunk, sizeof chunk)) > 0;)
        answer.append(chunk, static_cast<std::size_t>(got));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child process crashed";
    return answer;
}

} // namespace tallowby::test

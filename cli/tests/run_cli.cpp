#include "run_cli.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

namespace quarn::testing {

Outcome RunCli(const std::string& arguments, bool asNobody) {
    const std::string command = std::string(QUARN_CLI) + " " + arguments + " 2>&1";
    Outcome outcome;
    int output[2];
    if (::pipe(output) != 0)
        return outcome;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(126);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(output[1]);
    std::array<char, 4096> chunk{};
    for (ssize_t n; (n = ::read(output[0], chunk.data(), chunk.size())) > 0;)
        outcome.output.append(chunk.data(), static_cast<std::size_t>(n));
    ::close(output[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace quarn::testing

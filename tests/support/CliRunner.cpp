#include "support/CliRunner.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

std::string CliBinDir() {
    for (const char* name : {"OSTREL_BIN_DIR", "OSTREL_DATA_DIR"}) {
        const char* dir = std::getenv(name);
        if (dir != nullptr && *dir != '\0')
            return dir;
    }
    return ".";
}

CliRun RunCli(const std::vector<std::string>& args, int limitMs) {
    return RunProgram("ostrel-cli", args, limitMs);
}

CliRun RunProgram(const std::string& name, const std::vector<std::string>& args, int limitMs) {
    std::string program = CliBinDir() + "/" + name;
    std::vector<std::string> copies = args;
    std::vector<char*> argv{program.data()};
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int outFds[2], errFds[2];
    if (::pipe(outFds) != 0)
        return {};
    if (::pipe(errFds) != 0) {
        ::close(outFds[0]);
        ::close(outFds[1]);
        return {};
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFds[1], STDOUT_FILENO);
        ::dup2(errFds[1], STDERR_FILENO);
        for (int fd : {outFds[0], outFds[1], errFds[0], errFds[1]})
            ::close(fd);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outFds[1]);
    ::close(errFds[1]);
    CliRun run;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    bool timedOut = false;
    pollfd fds[2] = {{outFds[0], POLLIN, 0}, {errFds[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            if (i == 0)
                run.out.append(buffer, static_cast<size_t>(n));
            run.both.append(buffer, static_cast<size_t>(n));
        }
    }
    for (pollfd& p : fds)
        if (p.fd >= 0)
            ::close(p.fd);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

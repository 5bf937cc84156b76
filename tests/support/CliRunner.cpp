#include "support/CliRunner.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
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

namespace {

// The peak resident set (VmHWM, kB) of a process once it runs the named program, else 0. Before its
// exec a forked child still counts the test process's pages, which its rusage keeps too.
long PeakRssKb(pid_t pid, const std::string& name) {
    std::string path = "/proc/" + std::to_string(pid) + "/status";
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    std::string text(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    // Not exec'd yet while its name is not the program's (the kernel keeps 15 characters of it).
    if (text.rfind("Name:\t" + name.substr(0, 15) + "\n", 0) != 0)
        return 0;
    size_t at = text.find("VmHWM:");
    return at == std::string::npos ? 0 : std::strtol(text.c_str() + at + 6, nullptr, 10);
}

} // namespace

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
    // Close-on-exec: a program started at the same time from another thread must not inherit them.
    int outFds[2], errFds[2];
    if (::pipe2(outFds, O_CLOEXEC) != 0)
        return {};
    if (::pipe2(errFds, O_CLOEXEC) != 0) {
        ::close(outFds[0]);
        ::close(outFds[1]);
        return {};
    }
    auto start = std::chrono::steady_clock::now();
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
        // The peak memory is sampled while the program runs (every 10 ms at least).
        int ready = ::poll(fds, 2, static_cast<int>(std::min<long>(left.count(), 10)));
        run.maxRssKb = std::max(run.maxRssKb, PeakRssKb(pid, name));
        if (ready <= 0)
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
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

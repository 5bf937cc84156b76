#include "support/RadioSimProcess.h"

#include "support/CliRunner.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

RadioSimProcess::RadioSimProcess(const std::string& link, const std::string& logPath,
                                 std::vector<std::string> args)
    : m_link(link) {
    args.insert(args.end(), {"--link", link});
    std::string program = CliBinDir() + "/ostrel-radio-sim";
    std::vector<char*> argv{program.data()};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return;
    int err = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    m_pid = ::fork();
    if (m_pid == 0) {
        int devnull = ::open("/dev/null", O_RDONLY);
        ::dup2(devnull, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        if (err >= 0)
            ::dup2(err, STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (err >= 0)
        ::close(err);
    pollfd p{out[0], POLLIN, 0};
    char buffer[256] = {};
    if (m_pid > 0 && ::poll(&p, 1, 5000) > 0 && ::read(out[0], buffer, sizeof buffer - 1) > 0) {
        std::string line(buffer);
        m_pty = line.substr(0, line.find('\n'));
    }
    ::close(out[0]);
}

RadioSimProcess::~RadioSimProcess() {
    Stop();
}

bool RadioSimProcess::Ended() {
    if (m_pid <= 0)
        return true;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return false;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
    return true;
}

int RadioSimProcess::Stop() {
    if (m_pid <= 0)
        return m_status;
    ::kill(m_pid, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(m_pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &status, 0);
        m_status = -1;
    } else {
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    m_pid = -1;
    return m_status;
}

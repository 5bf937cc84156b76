#pragma once
// The built ostrel-radio-sim as a process for tests that talk to a radio over a pseudo-terminal:
// started with its options and linked at a path, ended (SIGTERM, then SIGKILL) on destruction.
#include <string>
#include <sys/types.h>
#include <vector>

class RadioSimProcess {
public:
    // link: where the pseudo-terminal's symbolic link goes; logPath: the simulator's standard error.
    RadioSimProcess(const std::string& link, const std::string& logPath, std::vector<std::string> args);
    ~RadioSimProcess();
    RadioSimProcess(const RadioSimProcess&) = delete;
    RadioSimProcess& operator=(const RadioSimProcess&) = delete;

    // True once the simulator printed its pseudo-terminal (within 5 seconds of the start).
    bool Ready() const { return !m_pty.empty(); }
    const std::string& Port() const { return m_link; }
    // Ends the simulator; its exit status, or -1 when it had to be killed.
    int Stop();
    // True when the simulator has ended by itself (its status is then what Stop returns).
    bool Ended();

private:
    std::string m_link;
    std::string m_pty;
    pid_t m_pid = -1;
    int m_status = -1;
};

#pragma once
// The serial device on a POSIX tty: non-blocking, exclusive, raw 8N1 through termios, DTR low and RTS
// as configured, queue counts from FIONREAD and TIOCOUTQ.
#include "clone/cmcSerialDevice.h"

class cmcPosixSerial : public cmcSerialDevice {
public:
    ~cmcPosixSerial() override;

    bool Open(const std::string& path) override;
    cmcPortFailure OpenFailure() const override { return m_failure; }
    std::string OpenHolder() const override { return m_holder; }
    bool IsOpen() const override { return m_fd >= 0; }
    void Close() override;
    bool Purge() override;
    bool Configure(const cmcLineSettings& settings) override;
    int32_t Read(uint8_t* destination, int32_t max) override;
    int32_t Write(const uint8_t* source, int32_t n) override;
    int32_t InputCount() override;
    int32_t OutputCount() override;
    int PollFd() const override { return m_fd; }

    // The termios speed constant of a baud rate; 0 when the rate has none.
    static unsigned SpeedConstant(int32_t baud);
    // The baud rate of a termios speed constant; 0 when unknown.
    static int32_t BaudOf(unsigned speed);
    // The failure an open's errno stands for.
    static cmcPortFailure FailureOf(int error);
    // Another process that has the device open, as "name, process N", found through /proc; empty
    // when none can be seen (another user's processes are not readable).
    static std::string FindHolder(const std::string& path);

private:
    int m_fd = -1;
    cmcPortFailure m_failure = cmcPortFailure::None;
    std::string m_holder;
};

// Why a tty does not open: the errno of the open as a failure a message can explain, and the program
// that holds a busy device found through /proc.
#include "clone/cmcPosixSerial.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(cmcPosixSerial, OpenFailuresSayWhy) {
    using P = cmcPortFailure;
    const std::pair<int, P> errors[] = {{EACCES, P::Permission}, {EPERM, P::Permission}, {EBUSY, P::Busy},
                                        {ENOENT, P::Missing},    {ENXIO, P::Missing},    {ENODEV, P::Missing},
                                        {EIO, P::Other}};
    for (const auto& [error, failure] : errors) {
        EXPECT_EQ(cmcPosixSerial::FailureOf(error), failure) << error;
    }

    TempDir dir;
    std::string locked = dir.File("locked");
    WriteFileText(locked, "");
    ::chmod(locked.c_str(), 0);
    struct Case {
        std::string path;
        P failure;
    };
    std::vector<Case> cases = {
        {dir.File("no-such-tty"), P::Missing}, {"", P::Missing}, {"/dev/null", P::NotSerial}};
    // A file without permissions stops every user but root; a read-only kernel attribute stops root too.
    if (::geteuid() != 0) {
        cases.push_back({locked, P::Permission});
    } else if (::access("/sys/kernel/uevent_seqnum", F_OK) == 0) {
        cases.push_back({"/sys/kernel/uevent_seqnum", P::Permission});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        cmcPosixSerial port;
        EXPECT_FALSE(port.Open(c.path));
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.OpenFailure(), c.failure);
        EXPECT_EQ(port.OpenHolder(), "");
    }
}

TEST(cmcPosixSerial, FindsTheProgramHoldingTheDevice) {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    EXPECT_EQ(cmcPosixSerial::FindHolder(slave), ""); // nobody else has it open

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
        char byte = fd >= 0 ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 1);
    const std::string holder = cmcPosixSerial::FindHolder(slave);
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ::close(master);
    EXPECT_NE(holder.find(", process " + std::to_string(child)), std::string::npos) << holder;
}

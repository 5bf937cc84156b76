#include "clone/cmcPosixSerial.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct SpeedPair {
    int32_t baud;
    speed_t speed;
};

constexpr SpeedPair kSpeeds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

} // namespace

cmcPosixSerial::~cmcPosixSerial() {
    Close();
}

unsigned cmcPosixSerial::SpeedConstant(int32_t baud) {
    for (const SpeedPair& p : kSpeeds)
        if (p.baud == baud)
            return p.speed;
    return 0;
}

int32_t cmcPosixSerial::BaudOf(unsigned speed) {
    for (const SpeedPair& p : kSpeeds)
        if (p.speed == speed)
            return p.baud;
    return 0;
}

cmcPortFailure cmcPosixSerial::FailureOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return cmcPortFailure::Permission;
    case EBUSY:
        return cmcPortFailure::Busy;
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return cmcPortFailure::Missing;
    default:
        return cmcPortFailure::Other;
    }
}

std::string cmcPosixSerial::FindHolder(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path device = fs::canonical(path, ec);
    if (ec) {
        return {};
    }
    const std::string self = std::to_string(::getpid());
    for (fs::directory_iterator proc("/proc", ec), end; !ec && proc != end; proc.increment(ec)) {
        const std::string pid = proc->path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == self) {
            continue;
        }
        std::error_code fdError;
        for (fs::directory_iterator fd(proc->path() / "fd", fdError); !fdError && fd != end;
             fd.increment(fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd->path(), linkError) != device || linkError) {
                continue;
            }
            std::string name;
            std::ifstream comm(proc->path() / "comm");
            std::getline(comm, name);
            return (name.empty() ? std::string("a program") : name) + ", process " + pid;
        }
    }
    return {};
}

bool cmcPosixSerial::Open(const std::string& path) {
    m_failure = cmcPortFailure::None;
    m_holder.clear();
    if (m_fd >= 0) {
        return false;
    }
    if (path.empty()) {
        m_failure = cmcPortFailure::Missing;
        return false;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_failure = FailureOf(errno);
    } else if (!isatty(fd)) {
        m_failure = cmcPortFailure::NotSerial;
    } else if (ioctl(fd, TIOCEXCL) != 0) {
        m_failure = FailureOf(errno);
    } else {
        m_fd = fd;
        return true;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (m_failure == cmcPortFailure::Busy) {
        m_holder = FindHolder(path);
    }
    return false;
}

void cmcPosixSerial::Close() {
    if (m_fd < 0)
        return;
    // Give up exclusivity first: the device may stay open elsewhere (a simulator holds its own end).
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

bool cmcPosixSerial::Purge() {
    return m_fd >= 0 && tcflush(m_fd, TCIOFLUSH) == 0;
}

bool cmcPosixSerial::Configure(const cmcLineSettings& s) {
    if (m_fd < 0)
        return false;
    speed_t speed = SpeedConstant(s.baud);
    if (speed == 0)
        return false;
    termios t{};
    if (tcgetattr(m_fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | CRTSCTS);
    switch (s.byteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    default:
        t.c_cflag |= CS8;
        break;
    }
    if (s.stopBits != 0)
        t.c_cflag |= CSTOPB; // termios has no one and a half: two is the nearest
    if (s.parityCheck)
        t.c_iflag |= INPCK;
    if (s.rtsControl == 2)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0)
        return false;
    if (tcsetattr(m_fd, TCSANOW, &t) != 0)
        return false;
    // DTR low, RTS high unless disabled. Pseudo-terminals have no modem lines: not a failure.
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    if (ioctl(m_fd, TIOCMBIC, &dtr) != 0 && errno != ENOTTY && errno != EINVAL)
        return false;
    ioctl(m_fd, s.rtsControl == 0 ? TIOCMBIC : TIOCMBIS, &rts);
    return true;
}

int32_t cmcPosixSerial::Read(uint8_t* destination, int32_t max) {
    if (m_fd < 0 || max <= 0)
        return m_fd < 0 ? -1 : 0;
    ssize_t n = ::read(m_fd, destination, static_cast<size_t>(max));
    if (n < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    return static_cast<int32_t>(n);
}

int32_t cmcPosixSerial::Write(const uint8_t* source, int32_t n) {
    if (m_fd < 0)
        return -1;
    if (n <= 0)
        return 0;
    ssize_t w = ::write(m_fd, source, static_cast<size_t>(n));
    if (w < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    return static_cast<int32_t>(w);
}

int32_t cmcPosixSerial::InputCount() {
    int n = 0;
    if (m_fd < 0 || ioctl(m_fd, FIONREAD, &n) != 0)
        return -1;
    return n;
}

int32_t cmcPosixSerial::OutputCount() {
    int n = 0;
    if (m_fd < 0 || ioctl(m_fd, TIOCOUTQ, &n) != 0)
        return -1;
    return n;
}

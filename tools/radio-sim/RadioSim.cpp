#include "RadioSim.h"

#include "clone/cmcPosixSerial.h"
#include "model/indDataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

RadioSim::RadioSim(const Options& options, const cmcEeprom& image)
    : m_options(options), m_engine(options.radio, image) {
    m_engine.SetOperationHandler([this](char kind, bool ok) { Operation(kind, ok); });
}

RadioSim::~RadioSim() {
    if (!m_options.linkPath.empty()) {
        struct stat st {};
        if (lstat(m_options.linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            unlink(m_options.linkPath.c_str());
    }
    if (m_slave >= 0)
        close(m_slave);
    if (m_master >= 0)
        close(m_master);
}

bool RadioSim::Open() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        std::perror("ostrel-radio-sim: pseudo-terminal");
        return false;
    }
    const char* name = ptsname(m_master);
    if (!name) {
        std::perror("ostrel-radio-sim: pseudo-terminal name");
        return false;
    }
    m_slavePath = name;
    m_slave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        std::perror("ostrel-radio-sim: pseudo-terminal slave");
        return false;
    }
    termios t{};
    tcgetattr(m_slave, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(m_slave, TCSANOW, &t);
    if (!m_options.linkPath.empty()) {
        struct stat st {};
        if (lstat(m_options.linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            unlink(m_options.linkPath.c_str());
        if (symlink(name, m_options.linkPath.c_str()) != 0) {
            std::fprintf(stderr, "ostrel-radio-sim: cannot link %s: %s\n", m_options.linkPath.c_str(),
                         std::strerror(errno));
            return false;
        }
    }
    return true;
}

int32_t RadioSim::LineBaud() const {
    termios t{};
    if (tcgetattr(m_master, &t) != 0)
        return 0;
    return cmcPosixSerial::BaudOf(cfgetospeed(&t)); // the master sees the program's settings
}

void RadioSim::Operation(char kind, bool ok) {
    if (kind == 'W' && ok && !m_options.savePath.empty()) {
        cmcEeprom copy = m_engine.Image();
        int code = indDataFile::Save(m_options.savePath, copy, "");
        if (code != 0)
            std::fprintf(stderr, "ostrel-radio-sim: cannot save %s (file error %d)\n",
                         m_options.savePath.c_str(), code);
    }
    if (kind != 'I')
        std::fprintf(stderr, "ostrel-radio-sim: %s %s\n", kind == 'R' ? "read" : "write",
                     ok ? "done" : "failed");
    if (m_options.once && kind != 'I' && !m_done) {
        m_done = true;
        m_doneAt = m_loop.NowMs();
    }
}

void RadioSim::Consume(int32_t maxBytes) {
    uint8_t buf[4096];
    while (maxBytes > 0) {
        ssize_t n = read(m_master, buf, static_cast<size_t>(std::min<int32_t>(maxBytes, sizeof buf)));
        if (n <= 0)
            return;
        maxBytes -= static_cast<int32_t>(n);
        int32_t baud = LineBaud();
        if (baud > 0)
            m_wireSeconds += n * 10.0 / baud;
        m_bytesIn += n;
        std::vector<uint8_t> answer;
        m_engine.Receive(buf, static_cast<int32_t>(n), baud, answer);
        if (m_out.empty())
            m_outBaud = baud;
        m_out.insert(m_out.end(), answer.begin(), answer.end());
    }
}

void RadioSim::Flush(int32_t maxBytes) {
    uint8_t buf[4096];
    while (maxBytes > 0 && !m_out.empty()) {
        int32_t n = std::min<int32_t>(
            {maxBytes, static_cast<int32_t>(m_out.size()), static_cast<int32_t>(sizeof buf)});
        std::copy(m_out.begin(), m_out.begin() + n, buf);
        ssize_t w = write(m_master, buf, static_cast<size_t>(n));
        if (w <= 0)
            return;
        m_out.erase(m_out.begin(), m_out.begin() + w);
        int32_t baud = LineBaud();
        if (baud > 0)
            m_wireSeconds += w * 10.0 / baud;
        m_bytesOut += w;
        maxBytes -= static_cast<int32_t>(w);
    }
}

void RadioSim::Tick() {
    uint32_t now = m_loop.NowMs();
    uint32_t elapsed = now - m_lastTick;
    m_lastTick = now;
    if (!m_options.pace) {
        Consume(1 << 30);
        Flush(1 << 30);
        return;
    }
    // The line moves baud / 10 bytes per second in each direction; unused time is not banked beyond
    // a few milliseconds, as an idle line does not store bytes.
    double perMs = LineBaud() / 10000.0;
    m_inCredit = std::min(m_inCredit + elapsed * perMs, 4 * perMs + 1);
    m_outCredit = std::min(m_outCredit + elapsed * perMs, 4 * perMs + 1);
    int32_t in = static_cast<int32_t>(m_inCredit);
    if (in > 0) {
        int available = 0;
        ioctl(m_master, FIONREAD, &available);
        int32_t take = std::min(in, static_cast<int32_t>(available > 0 ? available : in));
        long before = m_bytesIn;
        Consume(take);
        m_inCredit -= static_cast<double>(m_bytesIn - before);
        if (m_bytesIn == before)
            m_inCredit = std::min(m_inCredit, 1.0);
    }
    int32_t out = static_cast<int32_t>(m_outCredit);
    if (out > 0 && !m_out.empty()) {
        long before = m_bytesOut;
        Flush(out);
        m_outCredit -= static_cast<double>(m_bytesOut - before);
    }
}

void RadioSim::WriteStats() const {
    if (m_options.statsPath.empty())
        return;
    FILE* f = std::fopen(m_options.statsPath.c_str(), "w");
    if (!f)
        return;
    std::fprintf(f, "wire_seconds %.6f\nbytes_in %ld\nbytes_out %ld\n", m_wireSeconds, m_bytesIn, m_bytesOut);
    std::fclose(f);
}

void RadioSim::Run(const volatile int& stop) {
    m_lastTick = m_loop.NowMs();
    if (!m_options.pace)
        m_loop.WatchFd(m_master, [this] { Tick(); });
    m_loop.StartTimer(1, [this] { Tick(); });
    m_loop.RunUntil(
        [&] {
            if (stop)
                return true;
            // After the last operation, give the program time to take the last answer.
            return m_done && m_out.empty() && m_loop.NowMs() - m_doneAt > 300;
        },
        -1);
    WriteStats();
}

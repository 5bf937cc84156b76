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
    if (options.verbose)
        m_engine.SetLog(
            [](const std::string& line) { std::fprintf(stderr, "ostrel-radio-sim: %s\n", line.c_str()); });
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
        const cmcKvtFile::FileError code = indDataFile::Save(m_options.savePath, copy, "");
        if (code != cmcKvtFile::FileError::Ok)
            std::fprintf(stderr, "ostrel-radio-sim: cannot save %s (file error %d)\n",
                         m_options.savePath.c_str(), cmcKvtFile::Code(code));
    }
    // The answer is still on its way: its bytes count once they are on the wire.
    m_pendingStats = kind;
    if (kind != 'I')
        std::fprintf(stderr, "ostrel-radio-sim: %s %s\n", kind == 'R' ? "read" : "write",
                     ok ? "done" : "failed");
    if (m_options.once && kind != 'I' && !m_done) {
        m_done = true;
        m_doneAt = m_loop.NowMs();
    }
}

void RadioSim::Drain() {
    // Bytes are taken off the terminal at once and stamped with the speed they were sent at: the
    // program may switch speed right after writing, while the bytes are still "on the wire".
    uint8_t buf[4096];
    for (;;) {
        ssize_t n = read(m_master, buf, sizeof buf);
        if (n <= 0)
            return;
        int32_t baud = LineBaud();
        for (ssize_t i = 0; i < n; ++i)
            m_in.emplace_back(buf[i], baud);
    }
}

void RadioSim::Consume(int32_t maxBytes) {
    std::vector<uint8_t> run;
    while (maxBytes > 0 && !m_in.empty()) {
        // Hand over a run of bytes that share one speed.
        int32_t baud = m_in.front().second;
        run.clear();
        while (maxBytes > 0 && !m_in.empty() && m_in.front().second == baud) {
            run.push_back(m_in.front().first);
            m_in.pop_front();
            --maxBytes;
        }
        if (baud > 0)
            m_wireSeconds += static_cast<double>(run.size()) * 10.0 / baud;
        m_bytesIn += static_cast<long>(run.size());
        std::vector<uint8_t> answer;
        m_engine.Receive(run.data(), static_cast<int32_t>(run.size()), baud, answer);
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
    Drain();
    if (!m_options.pace) {
        Consume(1 << 30);
        Flush(1 << 30);
        if (m_pendingStats && m_out.empty()) {
            const char event[2] = {m_pendingStats, 0};
            WriteStats(event);
            m_pendingStats = 0;
        }
        return;
    }
    // The line moves baud / 10 bytes per second in each direction. Time passes for bytes only while
    // some wait, so a late tick catches up; an idle line banks nothing.
    const double perMs = LineBaud() / 10000.0;
    if (m_in.empty())
        m_inCredit = 0;
    else
        m_inCredit = std::min(m_inCredit + elapsed * perMs, 200 * perMs);
    const bool outIdle = m_out.empty();
    long taken = 0;
    int32_t in = static_cast<int32_t>(m_inCredit);
    if (in > 0) {
        long before = m_bytesIn;
        Consume(in);
        taken = m_bytesIn - before;
        m_inCredit -= static_cast<double>(taken);
    }
    // The outgoing direction is worked out after the answers of this tick are made: an answer leaves
    // in the tick it was made in, in the time that is left after the bytes it answers came in.
    if (m_out.empty()) {
        m_outCredit = 0;
    } else {
        double ms = elapsed;
        if (outIdle)
            ms = perMs > 0 ? std::max(0.0, elapsed - static_cast<double>(taken) / perMs) : 0.0;
        m_outCredit = std::min(m_outCredit + ms * perMs, 200 * perMs);
    }
    int32_t out = static_cast<int32_t>(m_outCredit);
    if (out > 0 && !m_out.empty()) {
        long before = m_bytesOut;
        Flush(out);
        m_outCredit -= static_cast<double>(m_bytesOut - before);
    }
    if (m_pendingStats && m_out.empty()) {
        const char event[2] = {m_pendingStats, 0};
        WriteStats(event);
        m_pendingStats = 0;
    }
}

void RadioSim::WriteStats(const char* event) const {
    if (m_options.statsPath.empty())
        return;
    FILE* f = std::fopen(m_options.statsPath.c_str(), "a");
    if (!f)
        return;
    std::fprintf(f, "%s wire_seconds %.6f bytes_in %ld bytes_out %ld\n", event, m_wireSeconds, m_bytesIn,
                 m_bytesOut);
    std::fclose(f);
}

void RadioSim::Run(const volatile int& stop) {
    m_lastTick = m_loop.NowMs();
    m_loop.WatchFd(m_master, [this] { Tick(); });
    m_loop.StartTimer(1, [this] { Tick(); });
    m_loop.RunUntil(
        [&] {
            if (stop)
                return true;
            // A pulled cable: the bytes sent before it have left, then the radio is gone.
            if (m_engine.Unplugged() && m_out.empty())
                return true;
            // After the last operation, give the program time to take the last answer.
            return m_done && m_out.empty() && m_loop.NowMs() - m_doneAt > 300;
        },
        -1);
    WriteStats("exit");
}

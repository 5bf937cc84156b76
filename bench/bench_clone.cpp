// A full clone read and a full clone write against ostrel-radio-sim with --pace, which moves bytes
// no faster than a real cable: elapsed time as a ratio to the wire minimum (the seconds the bytes
// of both directions need at their line speeds, as the simulated radio counts them). Each figure
// covers the information operation that comes first, as the commands run it, with its fixed waits.
// The fleet figure writes four paced radios at once, each with its own clone manager on the one
// loop, as a ratio to one radio written alone the same way in the same run.
#include "clone/cmcPosixSerial.h"
#include "clone/indCloneMan.h"
#include "core/cmcAppDir.h"
#include "core/cmcPollLoop.h"
#include "model/indDataFile.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sim {
    pid_t pid = -1;
    std::string pty;
};

Sim StartSim(const std::vector<std::string>& args) {
    std::string program = cmcAppDir() + "/ostrel-radio-sim";
    std::vector<std::string> copies = args;
    const bool log = std::getenv("BENCH_CLONE_LOG") != nullptr; // the radio's frames on standard error
    if (log)
        copies.push_back("--verbose");
    std::vector<char*> argv{program.data()};
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    Sim sim;
    if (pipe(fds) != 0)
        return sim;
    sim.pid = fork();
    if (sim.pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        if (!log) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    pollfd p{fds[0], POLLIN, 0};
    char buf[256] = {};
    if (poll(&p, 1, 5000) > 0 && read(fds[0], buf, sizeof buf - 1) > 0)
        sim.pty = std::string(buf).substr(0, std::string(buf).find('\n'));
    close(fds[0]);
    return sim;
}

void StopSim(Sim& sim) {
    if (sim.pid <= 0)
        return;
    kill(sim.pid, SIGTERM);
    for (int i = 0; i < 300 && waitpid(sim.pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(sim.pid, SIGKILL);
    waitpid(sim.pid, nullptr, 0);
}

// The wire seconds the radio counted up to the first event of a kind ("I", "R", "W", "exit").
double WireSeconds(const std::string& statsPath, const char* event) {
    FILE* f = std::fopen(statsPath.c_str(), "r");
    if (!f)
        return 0;
    char name[16];
    double seconds = 0;
    long in = 0, out = 0;
    double found = 0;
    while (std::fscanf(f, "%15s wire_seconds %lf bytes_in %ld bytes_out %ld", name, &seconds, &in, &out) ==
           4) {
        if (std::string(name) == event) {
            found = seconds;
            break;
        }
    }
    std::fclose(f);
    return found;
}

struct Ratios {
    double whole = 0;     // information and the operation, as the commands run them
    double operation = 0; // the read or write alone
};

// Runs information and then a read (or a write) at the given speed; returns elapsed / wire minimum.
Ratios Measure(bool write, bool high, const std::string& image, const std::string& tmp) {
    std::string stats = tmp + "/stats.txt";
    std::remove(stats.c_str());
    Sim sim = StartSim({"--pace", "--image", image, "--stats", stats});
    if (sim.pty.empty()) {
        std::fprintf(stderr, "bench_clone: ostrel-radio-sim did not start\n");
        return {};
    }
    cmcPollLoop loop;
    indCloneMan man(
        loop, [] { return std::make_unique<cmcPosixSerial>(); }, nullptr, nullptr, nullptr);
    cmcPortMap map;
    map.SetDevicePath(5, sim.pty);
    man.SetPortMap(map);
    man.SetComPort(5);
    man.SetComSpeedHigh(high);
    man.SetModelCodes(0x3329, 0);
    man.SetImageSize(cmcEeprom::kWorkSize);
    man.SetInfoHandler([](dst_CDrv_Result&) {});
    man.SetReadHandler([](dst_CDrv_Result&) {});
    cmcEeprom data;
    data.SetSize(cmcEeprom::kWorkSize);
    for (int32_t a = 0; a < cmcEeprom::kRadioSize; ++a)
        data.SetByte(a, static_cast<uint8_t>(a * 31 + 7));
    const cmcRange all[] = {{0x0000, 0xFF7F}, kRangeListEnd};
    const cmcRange from100[] = {{0x0100, 0xFF7F}, kRangeListEnd};

    bool done = false;
    int32_t status = -1;
    auto start = Clock::now();
    auto infoDone = start;
    man.StartInfo([&](dst_CDrv_Result& r) {
        infoDone = Clock::now();
        if (r.status != 0) {
            status = r.status;
            done = true;
            return;
        }
        auto finished = [&](dst_CDrv_Result& rr) {
            status = rr.status;
            done = true;
        };
        if (write)
            man.StartWrite(data, from100, finished);
        else
            man.StartRead(all, finished);
    });
    loop.RunUntil([&] { return done; }, 10 * 60 * 1000);
    auto end = Clock::now();
    double elapsed = std::chrono::duration<double>(end - start).count();
    double operation = std::chrono::duration<double>(end - infoDone).count();
    StopSim(sim);
    double wire = WireSeconds(stats, "exit");
    double infoWire = WireSeconds(stats, "I");
    if (status != 0 || wire <= 0 || infoWire <= 0) {
        std::fprintf(stderr, "bench_clone: %s failed with status %d\n", write ? "write" : "read", status);
        return {};
    }
    std::printf("  %s at %s: %.2f s elapsed (%.2f s without the information), %.2f s on the wire (%.2f s)\n",
                write ? "write" : "read", high ? "38400" : "9600", elapsed, operation, wire, wire - infoWire);
    return {elapsed / wire, operation / (wire - infoWire)};
}

// Information and then a write into each of n paced radios at once, every radio with its own clone
// manager on the one loop; the seconds until the last one ended, or a negative value on failure.
double FleetSeconds(int n, const std::string& image) {
    std::vector<Sim> sims;
    for (int i = 0; i < n; ++i)
        sims.push_back(StartSim({"--pace", "--image", image}));
    cmcPollLoop loop;
    std::vector<std::unique_ptr<indCloneMan>> men;
    cmcEeprom data;
    data.SetSize(cmcEeprom::kWorkSize);
    for (int32_t a = 0; a < cmcEeprom::kRadioSize; ++a)
        data.SetByte(a, static_cast<uint8_t>(a * 31 + 7));
    const cmcRange range[] = {{0x0100, 0x7FFF}, kRangeListEnd};
    int finished = 0;
    bool failed = false;
    auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        if (sims[size_t(i)].pty.empty()) {
            failed = true;
            break;
        }
        auto man = std::make_unique<indCloneMan>(
            loop, [] { return std::make_unique<cmcPosixSerial>(); }, nullptr, nullptr, nullptr);
        cmcPortMap map;
        map.SetDevicePath(5, sims[size_t(i)].pty);
        man->SetPortMap(map);
        man->SetComPort(5);
        man->SetComSpeedHigh(true);
        man->SetModelCodes(0x3329, 0);
        man->SetImageSize(cmcEeprom::kWorkSize);
        man->SetInfoHandler([](dst_CDrv_Result&) {});
        man->SetReadHandler([](dst_CDrv_Result&) {});
        indCloneMan* m = man.get();
        auto done = [&](dst_CDrv_Result& r) {
            failed = failed || r.status != 0;
            ++finished;
        };
        man->StartInfo([&, m, done](dst_CDrv_Result& r) {
            if (r.status != 0 || !m->StartWrite(data, range, done)) {
                failed = true;
                ++finished;
            }
        });
        men.push_back(std::move(man));
    }
    if (!failed)
        loop.RunUntil([&] { return finished == n; }, 10 * 60 * 1000);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    men.clear();
    for (Sim& sim : sims)
        StopSim(sim);
    if (failed || finished != n) {
        std::fprintf(stderr, "bench_clone: the write into %d radios at once failed\n", n);
        return -1;
    }
    std::printf("  write into %d radio%s at once at 38400: %.2f s elapsed\n", n, n == 1 ? "" : "s", seconds);
    return seconds;
}

} // namespace

int main() {
    char tmpl[] = "/tmp/bench_clone.XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    std::string tmp = tmpl;
    std::string image = cmcAppFile("Initial_LMR.ocd");
    // BENCH_CLONE_SLOW=1 adds the runs at 9,600 baud, BENCH_CLONE_SLOW=only runs them alone;
    // BENCH_CLONE_READ_ONLY=1 leaves out the writes.
    const char* slowRuns = std::getenv("BENCH_CLONE_SLOW");
    const bool readOnly = std::getenv("BENCH_CLONE_READ_ONLY") != nullptr;
    if (!slowRuns || std::string(slowRuns) != "only") {
        Ratios read = Measure(false, true, image, tmp);
        Ratios write = readOnly ? Ratios{} : Measure(true, true, image, tmp);
        std::printf("clone_read_38400: %.3f (ratio to wire minimum, goal <= 1.03; with information %.3f)\n",
                    read.operation, read.whole);
        std::printf("clone_write_38400: %.3f (ratio to wire minimum, goal <= 1.03; with information %.3f)\n",
                    write.operation, write.whole);
        std::fflush(stdout);
        if (!readOnly) {
            const double one = FleetSeconds(1, image);
            const double four = FleetSeconds(4, image);
            if (one > 0 && four > 0)
                std::printf("clone_write_fleet_4: %.3f (ratio to one radio alone, goal <= 1.10)\n",
                            four / one);
            std::fflush(stdout);
        }
    }
    if (slowRuns) {
        Ratios slow = Measure(false, false, image, tmp);
        std::printf("clone_read_9600: %.3f (ratio to wire minimum, goal <= 1.03; with information %.3f)\n",
                    slow.operation, slow.whole);
        Ratios slowWrite = readOnly ? Ratios{} : Measure(true, false, image, tmp);
        std::printf("clone_write_9600: %.3f (ratio to wire minimum, goal <= 1.03; with information %.3f)\n",
                    slowWrite.operation, slowWrite.whole);
    }
    std::fflush(stdout);
    std::remove((tmp + "/stats.txt").c_str());
    rmdir(tmp.c_str());
    return 0;
}

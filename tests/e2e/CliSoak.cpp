// A soak of clone write and read: 50 cycles of ostrel-cli against ostrel-radio-sim, each cycle over
// its own simulated radio and pseudo-terminal. Every fifth cycle carries a fault (dropped bytes, a bad
// checksum, silence, or the simulator ending mid-clone) drawn from a fixed, printed seed. Every cycle
// must end in its clone result code and message; a failed read must leave its file byte for byte; a
// write then read must give back the bytes written; no descriptor, child process or simulator may be
// left over, and the command line's peak memory must not grow from the early cycles to the late ones.
//
// The clone protocol's own pauses (reopening the port at each speed switch) take about 2 s per clone
// operation, so a cycle (information twice and write, information and read) takes about 10 s however
// fast the simulator answers. The cycles therefore run in lanes at the same time, each on its own
// simulator; OSTREL_SOAK_LANES=1 runs them one after another (fewer lanes also stand a machine that
// is busy with other work better: the clone time-outs are 1-2 s), OSTREL_SOAK_SEED=N replays a seed.
#include "CloneFiles.h"
#include "app/indCloneCommands.h"
#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kCycles = 50;
constexpr int kFaultEvery = 5; // cycles 4, 9, 14...: one in five
constexpr unsigned kDefaultSeed = 20261210;
constexpr int kDefaultLanes = 13; // four rounds of about 10 s

enum class Fault { None, DroppedBytes, BadChecksum, Silence, Unplug };

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::DroppedBytes:
        return "dropped bytes";
    case Fault::BadChecksum:
        return "bad checksum";
    case Fault::Silence:
        return "silence";
    case Fault::Unplug:
        return "unplug";
    default:
        return "none";
    }
}

// The operation of a cycle that a fault strikes.
enum class Strike { Write, Read };

struct Plan {
    Fault fault = Fault::None;
    Strike strike = Strike::Read; // silence and unplug strike either; the others only a read
    int frame = 0;                // the data frame the fault hits
    int channel = 0;              // the one channel in use in the written file (of the initial data's four)
    int32_t frequency = 0;
    bool previousFile = false; // the read's output file exists with earlier bytes before the read
};

// "silence in the write at frame 12".
std::string Described(const Plan& p) {
    std::string where;
    if (p.fault == Fault::Silence || p.fault == Fault::Unplug)
        where = p.strike == Strike::Write ? " in the write" : " in the read";
    return FaultName(p.fault) + where + " at frame " + std::to_string(p.frame);
}

struct Expected {
    int status;
    std::string message; // the line the command line prints for it
};

struct Figures {
    bool good = false;
    int writeStatus = -1, readStatus = -1;
    long writeRssKb = 0, readRssKb = 0;
    double writeSeconds = 0, readSeconds = 0;
};

unsigned EnvNumber(const char* name, unsigned fallback) {
    const char* v = std::getenv(name);
    return v && *v ? static_cast<unsigned>(std::strtoul(v, nullptr, 10)) : fallback;
}

// A clone data file with one channel in use, made as the desktop program saves one.
void MakeFile(const std::string& path, int channel, int32_t frequency) {
    clonefiles::MakeOneChannelFile(path, channel, frequency, "soak");
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d))
            names.insert(e->d_name);
        ::closedir(d);
    }
    return names;
}

int OpenDescriptors() {
    return static_cast<int>(Names("/proc/self/fd").size()) - 3; // ".", ".." and the listing's own
}

// Processes whose parent is this test process, alive or not yet reaped.
int ChildProcesses() {
    int n = 0;
    const std::string self = std::to_string(::getpid());
    for (const std::string& name : Names("/proc")) {
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream status("/proc/" + name + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("PPid:", 0) == 0) {
                if (line.substr(line.find_first_not_of(" \t", 5)) == self)
                    ++n;
                break;
            }
        }
    }
    return n;
}

long SelfRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// The plan of every cycle, from the seed alone (not from the order the lanes take the cycles). The
// ten faults are each kind twice, silence and unplug once in the write and once in the read, plus
// two drawn freely, in a shuffled order.
std::vector<Plan> MakePlans(unsigned seed, int writeFrames, int readFrames) {
    std::mt19937 rng(seed);
    struct Draw {
        Fault fault;
        std::optional<Strike> strike; // none: drawn
    };
    std::vector<Draw> faults = {{Fault::DroppedBytes, Strike::Read}, {Fault::DroppedBytes, Strike::Read},
                                {Fault::BadChecksum, Strike::Read},  {Fault::BadChecksum, Strike::Read},
                                {Fault::Silence, Strike::Write},     {Fault::Silence, Strike::Read},
                                {Fault::Unplug, Strike::Write},      {Fault::Unplug, Strike::Read}};
    const Fault kinds[] = {Fault::DroppedBytes, Fault::BadChecksum, Fault::Silence, Fault::Unplug};
    while (static_cast<int>(faults.size()) < kCycles / kFaultEvery)
        faults.push_back({kinds[std::uniform_int_distribution<int>(0, 3)(rng)], std::nullopt});
    std::shuffle(faults.begin(), faults.end(), rng);
    std::vector<Plan> plans(kCycles);
    int next = 0;
    for (int c = 0; c < kCycles; ++c) {
        Plan& p = plans[static_cast<size_t>(c)];
        p.channel = std::uniform_int_distribution<int>(0, 3)(rng); // the first bank's channels
        p.frequency = 150000000 + 12500 * std::uniform_int_distribution<int>(0, 799)(rng); // 150-160 MHz
        p.previousFile = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
        if (c % kFaultEvery != kFaultEvery - 1)
            continue;
        const Draw& d = faults[static_cast<size_t>(next++)];
        p.fault = d.fault;
        bool both = p.fault == Fault::Silence || p.fault == Fault::Unplug;
        if (both)
            p.strike = d.strike                                             ? *d.strike
                       : std::uniform_int_distribution<int>(0, 1)(rng) == 1 ? Strike::Write
                                                                            : Strike::Read;
        // The simulator counts the data frames of each operation from 0. A fault meant for the read
        // hits a frame past the write's last, so the write before it is not touched.
        if (p.strike == Strike::Write)
            p.frame = std::uniform_int_distribution<int>(1, writeFrames - 2)(rng);
        else if (both)
            p.frame = std::uniform_int_distribution<int>(writeFrames + 1, readFrames - 2)(rng);
        else
            p.frame = std::uniform_int_distribution<int>(1, readFrames - 2)(rng);
    }
    return plans;
}

const char* kInTime = "The radio did not answer in time.";

// What the write and the read of a cycle end in, as the command line reports it.
std::pair<Expected, Expected> Expect(const Plan& p, const std::string& port, const std::string& out) {
    const Expected written{0, "The data has been written into the radio."};
    const Expected read{0, "Read " + out};
    switch (p.fault) {
    case Fault::DroppedBytes:
        return {written, {8, "The radio's data is incomplete."}};
    case Fault::BadChecksum:
        return {written, {6, "The radio sent data in a wrong format, or refused the operation."}};
    case Fault::Silence:
        // Silent from then on: the read's clone information gets no answer either.
        return {p.strike == Strike::Write ? Expected{5, kInTime} : written, {5, kInTime}};
    case Fault::Unplug:
        // Gone with its pseudo-terminal: the read after it finds no port. The write itself ends as
        // the command line was at that moment (see CheckRun).
        if (p.strike == Strike::Write)
            return {{5, kInTime}, {2, "Serial port 5 could not be opened. (" + port + ")"}};
        return {written, {5, kInTime}};
    default:
        return {written, read};
    }
}

const char* kSendFailed = "The serial port failed to send data.";

void CheckRun(const char* what, const CliRun& run, Expected e, const std::string& simLog,
              bool unplugged = false) {
    // A port that goes away while frames are still being sent fails the sending (17); while the
    // command line waits for the radio's answer, the answer does not come (5). Which one it is
    // depends on how far the burst of frames before the radio's pause had left.
    if (unplugged && run.status == 17)
        e = {17, kSendFailed};
    EXPECT_EQ(run.status, e.status) << what << "\n" << run.both << "simulator:\n" << ReadFileText(simLog);
    EXPECT_LT(run.seconds, 20) << what << " took too long";
    EXPECT_NE(run.both.find(e.message), std::string::npos) << what << ": no '" << e.message << "'\n"
                                                           << run.both;
    if (e.status >= 2 && e.status <= 17) {
        // Every failure says what to do: the general checks, or the cause it names (a port gone).
        const bool checks = run.both.find("Please check the following:") != std::string::npos;
        const bool cause =
            e.status == 2 && run.both.find("The serial port does not exist") != std::string::npos;
        EXPECT_TRUE(checks || cause) << what << "\n" << run.both;
    }
}

struct Shared {
    std::string files;    // folder of the files to write
    int32_t end = 0;      // the end address the radio reports
    int32_t readLast = 0; // the last address a read gives
    std::string previous; // bytes of an earlier clone data file
    // The model and data-file code is not promised to be safe from several threads at once.
    mutable std::mutex model;
};

void RunCycle(int c, const Plan& p, const Shared& s, Figures& f) {
    SCOPED_TRACE("cycle " + std::to_string(c) + ", fault " + Described(p));
    TempDir dir;
    const std::string port = dir.File("radio"), saved = dir.File("saved.ocd"), out = dir.File("out.ocd");
    const std::string file = s.files + "/cycle" + std::to_string(c) + ".ocd";
    std::vector<std::string> simArgs = {"--end", clonefiles::HexText(s.end), "--save", saved, "--verbose"};
    static const char* const kOption[] = {"", "drop-frame", "bad-checksum", "silence", "unplug"};
    if (p.fault != Fault::None)
        simArgs.insert(simArgs.end(), {"--fault", std::string(kOption[static_cast<int>(p.fault)]) + ":" +
                                                      std::to_string(p.frame)});
    RadioSimProcess sim(port, dir.File("sim.err"), simArgs);
    ASSERT_TRUE(sim.Ready());
    const auto [writeWant, readWant] = Expect(p, port, out);

    CliRun write = RunCli({"write", "--port", port, file, "--yes"});
    CheckRun("write", write, writeWant, dir.File("sim.err"),
             p.fault == Fault::Unplug && p.strike == Strike::Write);
    if (writeWant.status != 0) {
        EXPECT_FALSE(Exists(saved)) << "a failed write changed the radio";
    }

    if (p.previousFile)
        WriteFileText(out, s.previous);
    // The simulator's link to its pseudo-terminal goes with it (unplug): not the read's doing.
    auto files = [&] {
        std::set<std::string> names = Names(dir.Path());
        names.erase("radio");
        return names;
    };
    const std::set<std::string> before = files();
    CliRun read = RunCli({"read", "--port", port, "-o", out});
    CheckRun("read", read, readWant, dir.File("sim.err"));
    if (readWant.status != 0) {
        // A failed read leaves its file as it was, byte for byte, or not made at all; nothing else
        // appears beside it.
        if (p.previousFile) {
            EXPECT_EQ(ReadFileText(out), s.previous) << "a failed read changed its file";
        } else {
            EXPECT_FALSE(Exists(out)) << "a failed read made its file";
        }
        EXPECT_EQ(files(), before);
    } else if (writeWant.status == 0 && write.status == 0 && read.status == 0) {
        // What was written reads back the same: the radio saved the sent data (its data version
        // goes in; the head is not written), and the read gives the radio's memory.
        std::lock_guard<std::mutex> lock(s.model);
        cmcEeprom sent = clonefiles::LoadImage(file);
        sent.SetByte(264, 1);
        cmcEeprom radio = clonefiles::LoadImage(saved);
        cmcEeprom back = clonefiles::LoadImage(out);
        const int32_t writtenLast = indCloneCommands::DataEnd(sent) | 0x7F;
        EXPECT_TRUE(clonefiles::SameRadioBytes(radio, sent, 0x0100, writtenLast));
        EXPECT_TRUE(clonefiles::SameRadioBytes(back, sent, 0x0100, writtenLast))
            << "the read did not give back what was written";
        EXPECT_TRUE(clonefiles::SameRadioBytes(back, radio, 0, s.readLast));
    }

    if (p.fault == Fault::Unplug) {
        EXPECT_TRUE(sim.Ended()) << "the unplugged simulator is still running";
    }
    EXPECT_EQ(sim.Stop(), 0) << "the simulator did not end on its own or on SIGTERM\n"
                             << ReadFileText(dir.File("sim.err"));
    f.good = p.fault == Fault::None && write.status == 0 && read.status == 0;
    f.writeStatus = write.status;
    f.readStatus = read.status;
    f.writeRssKb = write.maxRssKb;
    f.readRssKb = read.maxRssKb;
    f.writeSeconds = write.seconds;
    f.readSeconds = read.seconds;
}

struct Spread {
    long low = 0, high = 0;
    int n = 0;
};

Spread RssOf(const std::vector<Figures>& figures, int from, int to, bool write) {
    Spread s;
    for (int c = from; c < to; ++c) {
        const Figures& f = figures[static_cast<size_t>(c)];
        if (!f.good)
            continue;
        long v = write ? f.writeRssKb : f.readRssKb;
        s.low = s.n == 0 ? v : std::min(s.low, v);
        s.high = s.n == 0 ? v : std::max(s.high, v);
        ++s.n;
    }
    return s;
}

} // namespace

TEST(CliSoak, FiftyWriteAndReadCyclesWithFaults) {
    const unsigned seed = EnvNumber("OSTREL_SOAK_SEED", kDefaultSeed);
    const int lanes = std::clamp(static_cast<int>(EnvNumber("OSTREL_SOAK_LANES", kDefaultLanes)), 1, kCycles);
    std::printf("soak seed %u, %d lanes (OSTREL_SOAK_SEED=%u OSTREL_SOAK_LANES=1 replays it one cycle after "
                "another)\n",
                seed, lanes, seed);
    RecordProperty("seed", static_cast<int>(seed));

    TempDir files;
    Shared shared;
    shared.files = files.Path();
    shared.end = clonefiles::ShortEnd();
    shared.readLast = shared.end | 0x0F;
    shared.previous = ReadFileText(clonefiles::InitialLmr());
    const int readFrames = (shared.readLast + 1) / 16;
    const int writeFrames =
        ((indCloneCommands::DataEnd(clonefiles::LoadImage(clonefiles::InitialLmr())) | 0x7F) + 1 - 0x100) /
        16;
    ASSERT_GT(readFrames, writeFrames + 8);
    const std::vector<Plan> plans = MakePlans(seed, writeFrames, readFrames);
    for (int c = 0; c < kCycles; ++c) {
        const Plan& p = plans[static_cast<size_t>(c)];
        MakeFile(files.File("cycle" + std::to_string(c) + ".ocd"), p.channel, p.frequency);
        if (p.fault != Fault::None)
            std::printf("cycle %d: %s\n", c, Described(p).c_str());
    }
    std::fflush(stdout);

    const int fdsBefore = OpenDescriptors();
    const int childrenBefore = ChildProcesses();
    const long selfRssBefore = SelfRssKb();
    const auto start = std::chrono::steady_clock::now();

    std::vector<Figures> figures(kCycles);
    std::atomic<int> next{0};
    std::vector<std::thread> workers;
    for (int l = 0; l < lanes; ++l)
        workers.emplace_back([&] {
            for (int c; (c = next++) < kCycles;)
                RunCycle(c, plans[static_cast<size_t>(c)], shared, figures[static_cast<size_t>(c)]);
        });
    for (std::thread& w : workers)
        w.join();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int fdsAfter = OpenDescriptors();
    const int childrenAfter = ChildProcesses();
    const long selfRssAfter = SelfRssKb();
    EXPECT_EQ(fdsAfter, fdsBefore) << "descriptors left open";
    EXPECT_EQ(childrenAfter, childrenBefore) << "child processes left over";

    for (int c = kFaultEvery - 1; c < kCycles; c += kFaultEvery) {
        const Figures& f = figures[static_cast<size_t>(c)];
        std::printf("soak: cycle %d (%s): write %d in %.1f s, read %d in %.1f s\n", c,
                    FaultName(plans[static_cast<size_t>(c)].fault), f.writeStatus, f.writeSeconds,
                    f.readStatus, f.readSeconds);
    }

    // Peak memory of the command line, early cycles against late ones, write and read apart.
    const int window = 10;
    double longest = 0;
    for (const Figures& f : figures)
        longest = std::max({longest, f.writeSeconds, f.readSeconds});
    std::printf("soak: %d cycles in %.1f s (longest operation %.1f s); descriptors %d -> %d, children %d -> "
                "%d, test process RSS %ld -> %ld kB\n",
                kCycles, seconds, longest, fdsBefore, fdsAfter, childrenBefore, childrenAfter, selfRssBefore,
                selfRssAfter);
    for (bool write : {true, false}) {
        Spread early = RssOf(figures, 0, window, write);
        Spread late = RssOf(figures, kCycles - window, kCycles, write);
        std::printf(
            "soak: ostrel-cli %s peak RSS, cycles 0-%d: %ld-%ld kB (%d runs); cycles %d-%d: %ld-%ld kB "
            "(%d runs)\n",
            write ? "write" : "read", window - 1, early.low, early.high, early.n, kCycles - window,
            kCycles - 1, late.low, late.high, late.n);
        ASSERT_GT(early.n, 0);
        ASSERT_GT(late.n, 0);
        const long tolerance = std::max(2048L, early.high / 20); // 2 MB or 5 %
        EXPECT_LE(late.high, early.high + tolerance) << (write ? "write" : "read") << " memory grew";
    }
}

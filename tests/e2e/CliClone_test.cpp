// ostrel-cli info, read and write against ostrel-radio-sim over a pseudo-terminal: both speeds, echo,
// password, and every injected fault with its clone result code. Every wait is bounded.
#include "CloneFiles.h"
#include "app/indCloneCommands.h"
#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using clonefiles::HexText;
using clonefiles::LoadImage;

struct CliResult {
    int status = -1; // exit status; -1 when killed for taking too long
    std::string out;
    std::string err;
    double seconds = 0;
};

pid_t Spawn(const std::string& program, const std::vector<std::string>& args, int outFd, int errFd) {
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    std::string prog = program;
    argv.push_back(prog.data());
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        int devnull = ::open("/dev/null", O_RDONLY);
        ::dup2(devnull, STDIN_FILENO); // no terminal: confirmations need --yes
        ::dup2(outFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        ::execv(prog.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for a child at most limitMs; kills it when it takes longer. Returns the exit status or -1.
int WaitFor(pid_t pid, int limitMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

CliResult Cli(const TempDir& dir, const std::vector<std::string>& args, int limitMs = 60000) {
    std::string outPath = dir.File("cli.out"), errPath = dir.File("cli.err");
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = Spawn(CliBinDir() + "/ostrel-cli", args, out, err);
    ::close(out);
    ::close(err);
    CliResult run;
    run.status = WaitFor(pid, limitMs);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.out = ReadFileText(outPath);
    run.err = ReadFileText(errPath);
    return run;
}

// The simulated radio for one test: started with its options, linked at dir/radio, ended on
// destruction.
class Sim {
public:
    Sim(const TempDir& dir, std::vector<std::string> args)
        : m_logPath(dir.File("sim.err")), m_process(dir.File("radio"), m_logPath, std::move(args)) {}
    int Stop() { return m_process.Stop(); }
    bool Ready() const { return m_process.Ready(); }
    const std::string& Port() const { return m_process.Port(); }
    std::string Log() const { return ReadFileText(m_logPath); }

private:
    std::string m_logPath;
    RadioSimProcess m_process;
};

// The radio's end address: a little past the packed data, so reads stay short.
std::string ShortEnd() {
    return HexText(clonefiles::ShortEnd());
}

// A clone data file with one channel in use (or none), made as the desktop program saves one.
std::string WritableFile(const TempDir& dir, bool channel = true) {
    std::string path = dir.File(channel ? "channel.ocd" : "nochannel.ocd");
    clonefiles::MakeOneChannelFile(path, channel ? 3 : -1, 151625000, "e2e");
    return path;
}

} // namespace

TEST(CliClone, InfoShowsWhatATechnicianNeeds) {
    TempDir dir;
    Sim sim(dir, {"--serial", "00000012AB34", "--pace", "--password", "x"});
    ASSERT_TRUE(sim.Ready());
    CliResult run = Cli(dir, {"info", "--port", sim.Port()});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"Model: 3329", "Firmware revision: 1.0", "Serial: 00000012AB34",
          "Clone password: protects reading and writing", "Data version: 1", "End address: FF7F"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
}

TEST(CliClone, ReadAtBothSpeedsWithAndWithoutEcho) {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> cli;
        bool full;
    };
    const Case cases[] = {
        {"high speed, whole memory", {}, {}, true},
        {"low speed, echo", {"--echo", "--end", ShortEnd()}, {"--low"}, false},
        {"high speed, echo, password",
         {"--echo", "--end", ShortEnd(), "--password", "s3cr"},
         {"--password", "s3cr"},
         false},
    };
    cmcEeprom initial = LoadImage(clonefiles::InitialLmr());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        Sim sim(dir, c.sim);
        ASSERT_TRUE(sim.Ready());
        std::vector<std::string> args = {"read", "--port", sim.Port(), "-o", dir.File("read.ocd")};
        args.insert(args.end(), c.cli.begin(), c.cli.end());
        CliResult run = Cli(dir, args);
        ASSERT_EQ(run.status, 0) << run.err << sim.Log();
        cmcEeprom read = LoadImage(dir.File("read.ocd"));
        int32_t last =
            c.full ? 0xFF7F : static_cast<int32_t>(std::strtol(ShortEnd().c_str(), nullptr, 16)) | 0x0F;
        EXPECT_TRUE(clonefiles::SameRadioBytes(read, initial, 0, last));
    }
}

TEST(CliClone, WriteAtBothSpeedsEqualsWhatTheRadioSaved) {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> cli;
    };
    const Case cases[] = {
        {"high speed", {}, {}},
        {"low speed, echo", {"--echo"}, {"--low"}},
        {"high speed, echo, password", {"--echo", "--password", "wr1te"}, {"--password", "wr1te"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string file = WritableFile(dir);
        std::vector<std::string> simArgs = {"--save", dir.File("saved.ocd"), "--end", ShortEnd()};
        simArgs.insert(simArgs.end(), c.sim.begin(), c.sim.end());
        Sim sim(dir, simArgs);
        ASSERT_TRUE(sim.Ready());
        std::vector<std::string> args = {"write", "--port", sim.Port(), file, "--yes"};
        args.insert(args.end(), c.cli.begin(), c.cli.end());
        CliResult run = Cli(dir, args);
        ASSERT_EQ(run.status, 0) << run.err << sim.Log();
        cmcEeprom saved = LoadImage(dir.File("saved.ocd"));
        cmcEeprom sent = LoadImage(file);
        sent.SetByte(264, 1); // the radio's data version goes into the written data
        int32_t last = indCloneCommands::DataEnd(sent) | 0x7F;
        EXPECT_TRUE(clonefiles::SameRadioBytes(saved, sent, 0x0100, last));
        EXPECT_TRUE(clonefiles::SameRadioBytes(saved, LoadImage(clonefiles::InitialLmr()), 0,
                                               0xFF)); // the head is not written

        // What the radio now holds reads back the same (up to the end it reports).
        CliResult back =
            Cli(dir, {"read", "--port", sim.Port(), "-o", dir.File("back.ocd"), "--password", "wr1te"});
        ASSERT_EQ(back.status, 0) << back.err;
        int32_t end = static_cast<int32_t>(std::strtol(ShortEnd().c_str(), nullptr, 16)) | 0x0F;
        EXPECT_TRUE(clonefiles::SameRadioBytes(LoadImage(dir.File("back.ocd")), saved, 0, end));
    }
}

TEST(CliClone, WriteNeedsConfirmation) {
    TempDir dir;
    std::string file = WritableFile(dir);
    Sim sim(dir, {"--save", dir.File("saved.ocd")});
    ASSERT_TRUE(sim.Ready());
    CliResult run = Cli(dir, {"write", "--port", sim.Port(), file}); // no terminal and no --yes
    EXPECT_EQ(run.status, 20);
    EXPECT_NE(run.err.find("The data will be written into the radio."), std::string::npos) << run.err;
    struct stat st {};
    EXPECT_NE(::stat(dir.File("saved.ocd").c_str(), &st), 0);

    CliResult empty = Cli(dir, {"write", "--port", sim.Port(), WritableFile(dir, false), "--yes"});
    EXPECT_EQ(empty.status, 21) << empty.err;
}

namespace {

// A device this user may not open: a file without permissions, or for root (whom file permissions
// do not stop) a read-only kernel attribute. Empty when neither is at hand.
std::string DeviceWithoutPermission(const TempDir& dir) {
    if (::geteuid() != 0) {
        std::string path = dir.File("locked-tty");
        WriteFileText(path, "");
        ::chmod(path.c_str(), 0);
        return path;
    }
    return ::access("/sys/kernel/uevent_seqnum", F_OK) == 0 ? "/sys/kernel/uevent_seqnum" : "";
}

struct FaultCase {
    const char* name;
    std::vector<std::string> sim;
    bool write;
    std::vector<std::string> cli;
    std::vector<int> status; // the exit statuses it may end with
    double limitSeconds;     // the fault's time-out plus the fixed waits of two operations
    const char* message;     // what standard error must say
};

constexpr const char* kChecks = "Please check the following:";
constexpr const char* kPassword = "The clone password is most likely wrong";
constexpr const char* kHalf = "The radio may be half-programmed";

// Each case against a fresh simulator: the exit status, the time, the message, and no data changed.
void RunFaults(const std::vector<FaultCase>& cases) {
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> simArgs = {"--end", ShortEnd(), "--save", dir.File("saved.ocd")};
        simArgs.insert(simArgs.end(), c.sim.begin(), c.sim.end());
        Sim sim(dir, simArgs);
        ASSERT_TRUE(sim.Ready());
        const std::string before = "previous contents\n";
        WriteFileText(dir.File("out.ocd"), before);
        std::vector<std::string> args;
        if (c.write)
            args = {"write", "--port", sim.Port(), WritableFile(dir), "--yes"};
        else
            args = {"read", "--port", sim.Port(), "-o", dir.File("out.ocd")};
        for (size_t i = 0; i < c.cli.size(); ++i) {
            if (c.cli[i] == "--port")
                args[2] = c.cli[++i];
            else
                args.push_back(c.cli[i]);
        }
        CliResult run = Cli(dir, args);
        EXPECT_NE(std::find(c.status.begin(), c.status.end(), run.status), c.status.end())
            << run.status << "\n"
            << run.err << sim.Log();
        EXPECT_LT(run.seconds, c.limitSeconds);
        EXPECT_EQ(ReadFileText(dir.File("out.ocd")), before); // a failed read leaves the file
        if (c.write) {
            struct stat st {};
            EXPECT_NE(::stat(dir.File("saved.ocd").c_str(), &st), 0); // the radio kept its memory
        }
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

} // namespace

TEST(CliClone, ReadFaultsGiveTheirCodesAndMessagesAndLeaveTheFile) {
    TempDir lockedDir;
    const std::string locked = DeviceWithoutPermission(lockedDir);
    std::vector<FaultCase> cases = {
        {"dropped frame", {"--fault", "drop-frame:20"}, false, {}, {8}, 8, kChecks},
        {"bad checksum", {"--fault", "bad-checksum:20"}, false, {}, {6}, 8, kChecks},
        {"lower-case hexadecimal", {"--fault", "lower-case:20"}, false, {}, {6}, 8, kChecks},
        {"end frame count", {"--fault", "end-count"}, false, {}, {7}, 8, kChecks},
        {"pulled cable during a read", {"--fault", "silence:20"}, false, {}, {5}, 9, kChecks},
        {"wrong model", {"--fault", "wrong-model"}, false, {}, {11}, 6, kChecks},
        {"data version 2", {"--fault", "data-version"}, false, {}, {14}, 6, kChecks},
        {"protected, no password", {"--password", "pw"}, false, {}, {20}, 6, "give it with --password"},
        {"protected, wrong password", {"--password", "pw"}, false, {"--password", "px"}, {5}, 9, kPassword},
        {"no radio at the port", {}, false, {"--port", "/nonexistent/tty"}, {2}, 6, "port does not exist"},
        {"no serial device at the port", {}, false, {"--port", "/dev/null"}, {2}, 6, "is not a serial port"},
        {"end address far past the memory", {"--end", "7FFFFFF0", "--wide"}, false, {}, {12}, 6, kChecks},
        {"end address all ones", {"--end", "FFFFFFFF", "--wide"}, false, {}, {12}, 6, kChecks},
    };
    if (!locked.empty()) {
        cases.push_back(
            {"device without permission", {}, false, {"--port", locked}, {2}, 6, "\"dialout\" group"});
    }
    RunFaults(cases);
}

TEST(CliClone, WriteFaultsGiveTheirCodesAndMessagesAndKeepTheRadio) {
    RunFaults({
        {"protected, wrong password", {"--password", "pw"}, true, {"--password", "px"}, {6}, 12, kPassword},
        {"refused write", {"--fault", "refuse-write"}, true, {}, {6}, 12, kChecks},
        {"failed write result", {"--fault", "write-result"}, true, {}, {10}, 15, kHalf},
        {"pulled cable during a write", {"--fault", "silence:20"}, true, {}, {5}, 15, kHalf},
        // The write fails at the pulled line, or the radio's next answer times out.
        {"unplugged during a write", {"--fault", "unplug:20"}, true, {}, {17, 5}, 15, kHalf},
    });
}

// ostrel-cli check, run as a process: its output and exit status for a good file and for failures.
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/indDataFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status = -1; // exit status, or -1 when the process did not end normally in time
    std::string out;
};

// Executables and data files share build/bin, so either variable names it.
std::string binDir() {
    for (const char* name : {"OSTREL_BIN_DIR", "OSTREL_DATA_DIR"}) {
        const char* dir = std::getenv(name);
        if (dir != nullptr && *dir != '\0')
            return dir;
    }
    return {};
}

// Runs ostrel-cli with args; gives up (and kills it) after 30 seconds.
CliRun runCli(const std::vector<std::string>& args) {
    std::string program = binDir() + "/ostrel-cli";
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    CliRun run;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool timedOut = false;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.out.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(CliCheck, ReportsOkOrTheFileErrorAsExitStatus) {
    ASSERT_FALSE(binDir().empty());
    cmcTextTables tables;
    tables.Load(binDir(), 0);
    auto message = [&](int code) {
        return tables.Text().GetJoinedText(cmcKvtFile::FileErrorKey(code)) + "\n";
    };

    TempDir dir;
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    ASSERT_EQ(indDataFile::Save(dir.File("data.ocd"), image, "e2e"), 0); // fails the data check
    image.SetByte(0x80, 0x33); // the radio model value and a valid byte 0x108 pass it
    image.SetByte(0x81, 0x28);
    image.SetByte(0x108, 0x01);
    ASSERT_EQ(indDataFile::Save(dir.File("good.ocd"), image, "e2e"), 0);
    std::string text = ReadFileText(dir.File("good.ocd"));
    WriteFileText(dir.File("model.ocd"), "33280000" + text.substr(8));
    WriteFileText(dir.File("short.ocd"), text.substr(0, text.size() - 44)); // last line missing

    struct Case {
        std::string file;
        int status;
        std::string out;
    };
    const std::vector<Case> cases = {
        {dir.File("good.ocd"), 0, "OK\n"},        {dir.File("model.ocd"), 3, message(3)},
        {dir.File("data.ocd"), 8, message(8)},    {dir.File("short.ocd"), 7, message(7)},
        {dir.File("missing.ocd"), 1, message(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CliRun run = runCli({"check", c.file});
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
    }

    CliRun usage = runCli({"check"});
    EXPECT_EQ(usage.status, 64);
    EXPECT_EQ(usage.out, "");
}

// ostrel-cli list and convert, run as processes on the shipped initial data files.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

std::string BinDir() {
    const char* dir = std::getenv("OSTREL_BIN_DIR");
    return dir ? dir : ".";
}

// Runs ostrel-cli under a 30-second limit and collects its standard output.
CliRun RunCli(const std::string& args) {
    CliRun run;
    const std::string command = "timeout 30 '" + BinDir() + "/ostrel-cli' " + args + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(CliModel, InitialFilesCheckAndList) {
    const std::string lmr = BinDir() + "/Initial_LMR.ocd";
    const std::string pmr = BinDir() + "/Initial_PMR.ocd";
    EXPECT_EQ(RunCli("check '" + lmr + "'").out, "OK\n");
    EXPECT_EQ(RunCli("check '" + pmr + "'").out, "OK\n");

    CliRun list = RunCli("list '" + lmr + "'");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("bank 1  ch   1  151.625000  151.625000  CH 1      analog\n"), std::string::npos)
        << list.out;
    EXPECT_NE(list.out.find("ID list entries: 1\n"), std::string::npos) << list.out;
    list = RunCli("list '" + pmr + "'");
    EXPECT_NE(list.out.find("bank 1  ch   8  446.093750  446.093750  PMR 8"), std::string::npos) << list.out;
}

TEST(CliModel, ConvertIsStableAndRefusesBadFiles) {
    TempDir dir;
    const std::string in = BinDir() + "/Initial_PMR.ocd";
    ASSERT_EQ(RunCli("convert '" + in + "' '" + dir.File("a.ocd") + "'").status, 0);
    ASSERT_EQ(RunCli("convert '" + dir.File("a.ocd") + "' '" + dir.File("b.ocd") + "'").status, 0);
    EXPECT_EQ(ReadFileText(dir.File("a.ocd")), ReadFileText(dir.File("b.ocd")));
    EXPECT_EQ(RunCli("check '" + dir.File("b.ocd") + "'").out, "OK\n");

    // A file that fails check is refused by list and convert with its code.
    std::string text = ReadFileText(in);
    WriteFileText(dir.File("model.ocd"), "33280000" + text.substr(8));
    EXPECT_EQ(RunCli("list '" + dir.File("model.ocd") + "'").status, 3);
    EXPECT_EQ(RunCli("convert '" + dir.File("model.ocd") + "' '" + dir.File("c.ocd") + "'").status, 3);
    EXPECT_EQ(RunCli("list").status, 64);
}

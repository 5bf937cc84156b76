// ostrel-cli list and convert, run as processes on the shipped initial data files.
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CliModel, InitialFilesCheckAndList) {
    const std::string lmr = CliBinDir() + "/Initial_LMR.ocd";
    const std::string pmr = CliBinDir() + "/Initial_PMR.ocd";
    EXPECT_EQ(RunCli({"check", lmr}).out, "OK\n");
    EXPECT_EQ(RunCli({"check", pmr}).out, "OK\n");

    CliRun list = RunCli({"list", lmr});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("bank 1  ch   1  151.625000  151.625000  CH 1      analog\n"), std::string::npos)
        << list.out;
    EXPECT_NE(list.out.find("ID list entries: 1\n"), std::string::npos) << list.out;
    list = RunCli({"list", pmr});
    EXPECT_NE(list.out.find("bank 1  ch   8  446.093750  446.093750  PMR 8"), std::string::npos) << list.out;
}

TEST(CliModel, ConvertIsStableAndRefusesBadFiles) {
    TempDir dir;
    const std::string in = CliBinDir() + "/Initial_PMR.ocd";
    ASSERT_EQ(RunCli({"convert", in, dir.File("a.ocd")}).status, 0);
    ASSERT_EQ(RunCli({"convert", dir.File("a.ocd"), dir.File("b.ocd")}).status, 0);
    EXPECT_EQ(ReadFileText(dir.File("a.ocd")), ReadFileText(dir.File("b.ocd")));
    EXPECT_EQ(RunCli({"check", dir.File("b.ocd")}).out, "OK\n");

    // A file that fails check is refused by list and convert with its code.
    std::string text = ReadFileText(in);
    WriteFileText(dir.File("model.ocd"), "33280000" + text.substr(8));
    EXPECT_EQ(RunCli({"list", dir.File("model.ocd")}).status, 3);
    EXPECT_EQ(RunCli({"convert", dir.File("model.ocd"), dir.File("c.ocd")}).status, 3);
    EXPECT_EQ(RunCli({"list"}).status, 64);
}

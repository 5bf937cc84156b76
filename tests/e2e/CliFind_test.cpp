// ostrel-cli find, run as a process: the cells whose shown text holds a text are named by sheet, row,
// column header and text, the exit status tells found from none, and the file's own data is searched.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

} // namespace

TEST(CliFind, NamesTheSheetRowAndColumnOfEachMatchingCell) {
    TempDir dir;
    const std::string file = dir.File("a.ocd");
    CliRun run = RunCli({"convert", clonefiles::InitialLmr(), file});
    ASSERT_EQ(run.status, 0) << run.both;

    run = RunCli({"find", file, "ch 3"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out, std::string(kBank0) + " [BANK 1]: row 3 (1-  3), 'Name': 'CH 3'\n");

    run = RunCli({"find", file, "CH 3", "--csv"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out, std::string("sheet,caption,row,label,column,text\r\n\"") + kBank0 +
                           "\",BANK 1,3,1-  3,Name,CH 3\r\n");

    // A part of a name is found in every channel; the whole cell only where it is all the cell shows.
    run = RunCli({"find", file, "CH ", "--csv"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_NE(run.out.find(",Name,CH 1\r\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(",Name,CH 2\r\n"), std::string::npos) << run.out;
    EXPECT_LT(run.out.find(",Name,CH 1\r\n"), run.out.find(",Name,CH 2\r\n"));
    run = RunCli({"find", file, "CH", "--whole"});
    EXPECT_EQ(run.status, 1) << run.both;
    EXPECT_EQ(run.out, "");

    // The file's data, not the initial data: a renamed channel is found under its new name.
    const std::string edited = dir.File("b.ocd");
    WriteFileText(dir.File("edit.csv"), "Name\nCH 1\nNEW 2\n");
    run = RunCli({"import", file, "--sheet", kBank0, dir.File("edit.csv"), "-o", edited});
    ASSERT_EQ(run.status, 0) << run.both;
    run = RunCli({"find", edited, "new 2", "--whole"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out, std::string(kBank0) + " [BANK 1]: row 2 (1-  2), 'Name': 'NEW 2'\n");
    EXPECT_EQ(RunCli({"find", edited, "CH 2", "--whole"}).status, 1);
}

TEST(CliFind, TroubleAndMisuseHaveTheirOwnStatus) {
    TempDir dir;
    EXPECT_EQ(RunCli({"find", dir.File("missing.ocd"), "CH 3"}).status, 2);
    EXPECT_EQ(RunCli({"find", clonefiles::InitialLmr()}).status, 64);
    EXPECT_EQ(RunCli({"find", clonefiles::InitialLmr(), ""}).status, 64);
    EXPECT_EQ(RunCli({"find", clonefiles::InitialLmr(), "CH 3", "--port", "x"}).status, 64);
}

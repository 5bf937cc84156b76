// ostrel-cli diff, run as a process: cells that differ are named by sheet, row and column header with
// both texts, bytes no cell shows are listed apart, and the exit status tells equal from different.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

// The shipped LMR data as the program saves it.
std::string Saved(const TempDir& dir) {
    const std::string path = dir.File("a.ocd");
    CliRun run = RunCli({"convert", clonefiles::InitialLmr(), path});
    EXPECT_EQ(run.status, 0) << run.both;
    return path;
}

// b: a's data with channel 2 at 152 MHz and named NEW 2, saved by an import.
std::string Edited(const TempDir& dir, const std::string& a) {
    const std::string b = dir.File("b.ocd");
    WriteFileText(dir.File("edit.csv"), "RX frequency (MHz),Name\n151.625000,CH 1\n152.000000,NEW 2\n");
    CliRun run = RunCli({"import", a, "--sheet", kBank0, dir.File("edit.csv"), "-o", b});
    EXPECT_EQ(run.status, 0) << run.both;
    return b;
}

const std::string kChannel2 = std::string(kBank0) + ": row 2 (1-  2), ";

} // namespace

TEST(CliDiff, NamesChangedCellsBySheetRowAndHeader) {
    TempDir dir;
    const std::string a = Saved(dir), b = Edited(dir, a);
    CliRun run;
    run = RunCli({"diff", a, a});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out, "no differences\n");

    run = RunCli({"diff", a, b});
    EXPECT_EQ(run.status, 1) << run.both;
    for (const std::string& line : {kChannel2 + "'RX frequency (MHz)': '151.955000' -> '152.000000'\n",
                                    kChannel2 + "'Name': 'CH 2' -> 'NEW 2'\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    EXPECT_EQ(run.out.find("row 1 (1-  1)"), std::string::npos) << run.out;

    run = RunCli({"diff", a, b, "--csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.rfind("sheet,row,label,column,A,B\r\n\"[St_", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(",2,1-  2,Name,CH 2,NEW 2\r\n"), std::string::npos) << run.out;
}

TEST(CliDiff, ListsBytesNoCellShowsApart) {
    TempDir dir;
    const std::string a = Saved(dir), b = dir.File("b.ocd");
    // A byte in the room past the packed data: no sheet shows it.
    cmcEeprom image = clonefiles::LoadImage(a);
    const int32_t at = indCloneCommands::DataEnd(image) + 0x20;
    image.Data()[at] ^= 0x5A;
    ASSERT_EQ(indDataFile::Save(b, image, "x"), cmcKvtFile::FileError::Ok);

    CliRun run = RunCli({"diff", a, b});
    EXPECT_EQ(run.status, 1) << run.both;
    char range[64];
    std::snprintf(range, sizeof range, "  bytes %04X-%04X (1 differ): ", unsigned(at), unsigned(at));
    EXPECT_EQ(run.out.find("radio memory bytes that differ where no cell shows them:\n"), 0u) << run.out;
    EXPECT_NE(run.out.find(range), std::string::npos) << range << "\n" << run.out;

    run = RunCli({"diff", a, dir.File("missing.ocd")});
    EXPECT_EQ(run.status, 2) << run.both;
}

TEST(CliDiff, ComparesAFileWithTheRadio) {
    TempDir dir;
    const std::string a = Saved(dir), b = Edited(dir, a);
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.err"), {"--image", b});
    ASSERT_TRUE(sim.Ready()) << ReadFileText(dir.File("sim.err"));
    CliRun run = RunCli({"diff", a, "--port", sim.Port()});
    EXPECT_EQ(run.status, 1) << run.both;
    EXPECT_NE(run.out.find(kChannel2 + "'Name': 'CH 2' -> 'NEW 2'\n"), std::string::npos) << run.out;

    run = RunCli({"diff", a, "--port", dir.File("no-radio")});
    EXPECT_EQ(run.status, 2) << run.both;
}

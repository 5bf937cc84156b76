// ostrel-cli export and import, run as processes: a CSV round trip leaves every byte of a saved file
// (both initial data sets and a simulated radio's read), edits and appended rows go through the
// cells, a refused value saves nothing and says where and why, and spreadsheet dialects are read.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

std::string Initial(bool pmr) {
    return CliBinDir() + (pmr ? "/Initial_PMR.ocd" : "/Initial_LMR.ocd");
}

// The file as the program saves it: the initial data files carry a comment written by hand, and `read`
// saves none, while every save writes the data's own clone comment.
std::string Saved(const TempDir& dir, const std::string& from, const std::string& name) {
    const std::string path = dir.File(name);
    CliRun run = RunCli({"convert", from, path});
    EXPECT_EQ(run.status, 0) << run.both;
    return path;
}

std::string Export(const std::string& file, const std::string& sheet, const std::string& csv) {
    CliRun run = RunCli({"export", file, "--sheet", sheet, "-o", csv});
    EXPECT_EQ(run.status, 0) << sheet << ": " << run.both;
    return ReadFileText(csv);
}

CliRun Import(const std::string& file, const std::string& sheet, const std::string& csv,
              const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"import", file, "--sheet", sheet, csv, "-o", out};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(args);
}

// Round trips every list sheet of a file: export, import the table into the same file, no byte changed.
void ExpectRoundTrip(const TempDir& dir, const std::string& file, const std::vector<std::string>& sheets) {
    const std::string original = ReadFileText(file);
    for (const std::string& sheet : sheets) {
        SCOPED_TRACE(sheet);
        const std::string csv = dir.File("table.csv"), out = dir.File("back.ocd");
        std::filesystem::remove(out);
        Export(file, sheet, csv);
        CliRun run = Import(file, sheet, csv, out);
        ASSERT_EQ(run.status, 0) << run.both;
        EXPECT_TRUE(ReadFileText(out) == original);
    }
}

} // namespace

TEST(CliExchange, RoundTripChangesNoByte) {
    TempDir dir;
    ExpectRoundTrip(dir, Saved(dir, Initial(false), "lmr.ocd"),
                    {kBank0, "GI_Sheet_Nxdn_Ind_Id,X", "GI_Sheet_Nxdn_Grp_Id,Q", "GI_Sheet_Nxdn_Status",
                     "GI_Sheet_MDC_AliasM,M", "GI_Sheet_RptSetWin,R 9,0", "GI_Sheet_ScanList"});
    ExpectRoundTrip(dir, Saved(dir, Initial(true), "pmr.ocd"),
                    {"[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0", "GI_Sheet_Dpmr_Ind_Id,D", "GI_Sheet_Dpmr_Status"});

    // A radio's data as read over the cable.
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.err"),
                        {"--end", clonefiles::HexText(clonefiles::ShortEnd())});
    ASSERT_TRUE(sim.Ready()) << ReadFileText(dir.File("sim.err"));
    CliRun read = RunCli({"read", "--port", sim.Port(), "-o", dir.File("read.ocd")});
    ASSERT_EQ(read.status, 0) << read.both;
    ExpectRoundTrip(dir, Saved(dir, dir.File("read.ocd"), "read-saved.ocd"),
                    {kBank0, "GI_Sheet_Nxdn_Status"});
}

TEST(CliExchange, ImportEditsAndAppendsThroughTheCells) {
    TempDir dir;
    const std::string file = Saved(dir, Initial(false), "lmr.ocd");
    const std::string csv = dir.File("in.csv"), out = dir.File("out.ocd");
    // Channel 2 gets a new frequency and a name with a comma; two channels are appended, the second
    // without a row number (the blank row numbers it).
    WriteFileText(csv, "No.,RX frequency (MHz),Name\r\n"
                       "1-  1,151.625000,CH 1\r\n"
                       "1-  2,152.000000,\"NEW,ONE\"\r\n"
                       "1-  3,154.570000,CH 3\r\n"
                       "1-  4,154.600000,CH 4\r\n"
                       "1-  5,155.500000,FIFTH\r\n"
                       ",156.000000,SIXTH\r\n");
    CliRun run = Import(file, kBank0, csv, out);
    ASSERT_EQ(run.status, 0) << run.both;
    const std::string table = Export(out, kBank0, dir.File("out.csv"));
    for (const char* text : {"\r\n1-  2,152.000000,<-,", ",\"NEW,ONE\",", "\r\n1-  5,155.500000,", ",FIFTH,",
                             "\r\n1-  6,156.000000,", ",SIXTH,"})
        EXPECT_NE(table.find(text), std::string::npos) << text << "\n" << table;
    EXPECT_EQ(table.find("\r\n1-  7,"), std::string::npos);

    // An ID list grows from its blank row; its first cell must come first.
    WriteFileText(csv, "ID,Name\n123,ALPHA\n");
    run = Import(file, "GI_Sheet_Nxdn_Ind_Id,X", csv, out);
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_NE(
        Export(out, "GI_Sheet_Nxdn_Ind_Id,X", dir.File("ids.csv")).find("\r\n\"  1\",123,007B,ALPHA\r\n"),
        std::string::npos);
}

TEST(CliExchange, RefusedValuesSaveNothingUnlessSkipped) {
    TempDir dir;
    const std::string file = Saved(dir, Initial(false), "lmr.ocd");
    const std::string csv = dir.File("in.csv"), out = dir.File("out.ocd");
    WriteFileText(csv, "RX frequency (MHz),Name\n"
                       "999.000000,WRONG\n" // out of every band: the whole row is left out
                       "152.000000,GOOD\n");
    CliRun run = Import(file, kBank0, csv, out);
    EXPECT_EQ(run.status, 1) << run.both;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_NE(
        run.both.find("row 1, column 'RX frequency (MHz)': '999.000000' refused: Out of the radio's band: "
                      "0.002500\u2013799.997500 MHz\n"),
        std::string::npos)
        << run.both;
    EXPECT_EQ(run.both.find("row 2"), std::string::npos) << run.both;

    run = Import(file, kBank0, csv, out, {"--skip-refused"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_NE(run.both.find("row 1, column 'RX frequency (MHz)'"), std::string::npos) << run.both;
    EXPECT_NE(run.out.find("left out: rows 1"), std::string::npos) << run.out;
    const std::string table = Export(out, kBank0, dir.File("out.csv"));
    EXPECT_NE(table.find("\r\n1-  1,151.625000,<-,OFF,OFF,CH 1,"), std::string::npos) << table;
    EXPECT_NE(table.find("\r\n1-  2,152.000000,<-,OFF,OFF,GOOD,"), std::string::npos) << table;

    // A value for an empty row's later cell names the cell to set first.
    WriteFileText(csv, "Name\nALPHA\n");
    run = Import(file, "GI_Sheet_Nxdn_Ind_Id,X", csv, out);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.both.find("row 1, column 'Name': 'ALPHA' refused: the row is empty; set 'ID' first"),
              std::string::npos)
        << run.both;
}

TEST(CliExchange, ReadsSpreadsheetDialectsAndNamesBadHeaders) {
    TempDir dir;
    const std::string file = Saved(dir, Initial(false), "lmr.ocd");
    const std::string csv = dir.File("in.csv"), out = dir.File("out.ocd");
    // Byte order mark, semicolons, a quoted field holding the separator and a quote, a column order
    // of its own, a frequency whose trailing zeros a spreadsheet dropped (the same value), and the
    // decimal commas such a spreadsheet writes (a name keeps its comma).
    WriteFileText(csv, "\xEF\xBB\xBFName;\"RX frequency (MHz)\"\n"
                       "\"A;\"\"B\";151.625\n"
                       "CH 2;\"152,500000\"\n"
                       "3,5;15,3\n");
    CliRun run = Import(file, kBank0, csv, out);
    ASSERT_EQ(run.status, 0) << run.both;
    const std::string table = Export(out, kBank0, dir.File("out.csv"));
    EXPECT_NE(table.find("\r\n1-  1,151.625000,<-,OFF,OFF,\"A;\"\"B\","), std::string::npos) << table;
    EXPECT_NE(table.find("\r\n1-  2,152.500000,<-,OFF,OFF,CH 2,"), std::string::npos) << table;
    // "15,3" would read as 153 MHz in the frequency cell: the comma is taken as the decimal point.
    EXPECT_NE(table.find("\r\n1-  3,15.300000,<-,OFF,OFF,\"3,5\","), std::string::npos) << table;

    struct Case {
        const char* csv;
        const char* message;
    };
    const Case cases[] = {
        {"Name,Colour\nX,red\n", "column 'Colour' of"},
        {"Name,Name\nX,Y\n", "column 'Name' of"},
        {"Name\n\"open\n", "is not a readable table"},
        {"", "is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv);
        WriteFileText(csv, c.csv);
        std::filesystem::remove(out);
        run = Import(file, kBank0, csv, out);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.both.find(c.message), std::string::npos) << run.both;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// ostrel-cli rows, run as a process on the shipped initial data: the row commands of every list sheet,
// their refusals and confirmations, the blank row of a bank followed by a later bank, and sorting a
// list by a column.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Initial(bool pmr = false) {
    return CliBinDir() + (pmr ? "/Initial_PMR.ocd" : "/Initial_LMR.ocd");
}

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

// The body rows of a sheet as `sheet` prints them (after the rule under its header).
std::vector<std::string> SheetRows(const std::string& file, const std::string& sheet) {
    CliRun run = RunCli({"sheet", file, sheet});
    EXPECT_EQ(run.status, 0) << run.both;
    std::vector<std::string> rows;
    bool body = false;
    size_t at = 0;
    while (at < run.out.size()) {
        const size_t end = run.out.find('\n', at);
        const std::string line = run.out.substr(at, end - at);
        at = end == std::string::npos ? run.out.size() : end + 1;
        if (body) {
            rows.push_back(line);
        } else if (line.compare(0, 3, "---") == 0) {
            body = true;
        }
    }
    return rows;
}

std::string Get(const std::string& file, const std::string& cell) {
    CliRun run = RunCli({"get", file, cell});
    EXPECT_EQ(run.status, 0) << run.both;
    const std::string prefix = cell + "=";
    if (run.out.compare(0, prefix.size(), prefix) != 0 || run.out.empty()) {
        return "<" + run.out + ">";
    }
    return run.out.substr(prefix.size(), run.out.size() - prefix.size() - 1);
}

TEST(CliRows, EveryListSheetRunsItsRowCommands) {
    struct Case {
        const char* sheet;
        bool pmr;
        std::vector<std::string> commands;
        size_t rowsAfter; // rows the sheet shows afterwards (a growing list's blank row included)
    };
    const Case cases[] = {
        {kBank0, false, {"copy", "1-2", "paste", "5", "down", "1-2", "insert", "1", "delete", "2"}, 7},
        {"GI_Sheet_ScanList", false, {"copy", "1", "paste", "2", "down", "1-2", "up", "3", "clear", "1"}, 17},
        {"GI_Sheet_BankOp_Lmr", false, {"copy", "1", "paste", "3", "clear", "3"}, 8},
        {"GI_Sheet_Nxdn_Ind_Id,X",
         false,
         {"insert", "1", "insert", "2", "copy", "1-2", "paste", "3", "down", "1", "delete", "4"},
         4},
        {"GI_Sheet_Nxdn_Grp_Id,Q", false, {"insert", "1", "insert", "1", "up", "2", "delete", "1"}, 2},
        {"GI_Sheet_RptSetWin,R 9,0", false, {"insert", "1", "insert", "1", "down", "1", "delete", "2"}, 2},
        {"GI_Sheet_MDC_AliasM,M", false, {"insert", "1", "insert", "2", "down", "1", "delete", "2"}, 2},
        {"GI_Sheet_NxdnTrunk_Ind_Id,x", false, {"insert", "1", "insert", "1-2", "up", "3", "delete", "1"}, 3},
        {"GI_Sheet_NxdnTrunk_Grp_Id,q", false, {"insert", "1", "copy", "1", "paste", "2", "down", "1"}, 3},
        {"GI_Sheet_Dpmr_Ind_Id,D", true, {"insert", "1", "copy", "1", "paste", "3", "down", "1"}, 4},
        {"GI_Sheet_Dpmr_Status", true, {"copy", "2-3", "paste", "5", "down", "2-3", "clear", "2"}, 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        const std::string out = dir.File("rows.ocd");
        std::filesystem::remove(out);
        std::vector<std::string> args = {"rows", Initial(c.pmr), "-o", out, "--yes", c.sheet};
        args.insert(args.end(), c.commands.begin(), c.commands.end());
        CliRun run = RunCli(args);
        ASSERT_EQ(run.status, 0) << run.both;
        for (size_t i = 0; i < c.commands.size(); i += 2) {
            EXPECT_NE(run.out.find(c.commands[i] + " " + c.commands[i + 1] + ": done\n"), std::string::npos)
                << run.out;
        }
        ASSERT_TRUE(std::filesystem::exists(out));
        if (c.rowsAfter > 0) {
            EXPECT_EQ(SheetRows(out, c.sheet).size(), c.rowsAfter);
        }
    }
}

TEST(CliRows, ChannelsMoveAndBankNamesPasteAsTheWindowDoes) {
    TempDir dir;
    const std::string out = dir.File("moved.ocd");
    CliRun run =
        RunCli({"rows", Initial(), "-o", out, "--yes", kBank0, "down", "1-2", "copy", "4", "paste", "5"});
    ASSERT_EQ(run.status, 0) << run.both;
    // Channels 1 and 2 moved below channel 3; channel 4 was copied onto the blank row.
    const std::string f1 = Get(Initial(), "CT_Mch.CL_Mch_FreqR[0]"),
                      f2 = Get(Initial(), "CT_Mch.CL_Mch_FreqR[1]"),
                      f3 = Get(Initial(), "CT_Mch.CL_Mch_FreqR[2]"),
                      f4 = Get(Initial(), "CT_Mch.CL_Mch_FreqR[3]");
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[0]"), f3);
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[1]"), f1);
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[2]"), f2);
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[4]"), f4);
    EXPECT_EQ(Get(out, "CT_BankOp.CL_Mch_Bank[0]"), "5");

    run = RunCli({"rows", Initial(), "-o", out, "GI_Sheet_BankOp_Lmr", "copy", "1", "paste", "2"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(Get(out, "CT_BankOp.CL_Mch_BankText[1]"), Get(Initial(), "CT_BankOp.CL_Mch_BankText[0]"));
}

TEST(CliRows, RefusedCommandsSayWhyAndSaveNothing) {
    struct Refusal {
        const char* name;
        bool pmr;
        std::vector<std::string> args; // after FILE -o OUT
        int status;
        const char* says; // in standard error
    };
    const Refusal refusals[] = {
        {"a delete asks first", false, {kBank0, "delete", "2"}, 1, "run with --yes"},
        {"the last talk group stays",
         false,
         {"--yes", "GI_Sheet_Nxdn_Grp_Id,Q", "insert", "1", "delete", "1"},
         1,
         "The list must keep at least one entry."},
        {"one dPMR ID of each type stays",
         true,
         {"--yes", "GI_Sheet_Dpmr_Ind_Id,D", "delete", "1"},
         1,
         "at least one individual ID and one group ID"},
        {"scan lists do not grow", false, {"GI_Sheet_ScanList", "insert", "1"}, 1, "fixed number of rows"},
        {"the first row does not move up", false, {kBank0, "up", "1"}, 1, "cannot move up"},
        {"a paste needs a copy", false, {kBank0, "paste", "1"}, 1, "nothing of this list was copied"},
        {"rows past the sheet", false, {kBank0, "copy", "1-9"}, 1, "the sheet has rows 1 to 5"},
        {"a sheet without list rows", false, {"GI_Sheet_Common_CEdit", "copy", "1"}, 1, "no rows that take"},
        {"an unknown command", false, {kBank0, "jump", "1"}, 64, "not a row command"},
        {"row numbers start at 1", false, {kBank0, "copy", "0"}, 64, "from 1"},
        {"a backward range", false, {kBank0, "copy", "3-2"}, 64, "a range such as 2-5"},
    };
    TempDir dir;
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        const std::string out = dir.File("refused.ocd");
        std::vector<std::string> args = {"rows", Initial(r.pmr), "-o", out};
        args.insert(args.end(), r.args.begin(), r.args.end());
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, r.status) << run.both;
        EXPECT_NE(run.both.find(r.says), std::string::npos) << run.both;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    CliRun help = RunCli({"--help"});
    EXPECT_NE(help.out.find("  rows "), std::string::npos) << help.out;
}

// A bank whose blank row is followed by the next bank's channels: the blank row is a new row of the
// bank shown, in `sheet` as in the window, and typing a frequency there adds a channel to that bank.
TEST(CliRows, TheBlankRowOfABankBeforeAnotherBankAddsToItsOwnBank) {
    TempDir dir;
    const std::string banks = dir.File("banks.ocd");
    CliRun run = RunCli(
        {"set", Initial(), "-o", banks, "--yes", "CT_BankOp.CL_Mch_Bank[0]=5", "CT_BankOp.CL_Mch_Bank[1]=3"});
    ASSERT_EQ(run.status, 0) << run.both;
    std::vector<std::string> rows = SheetRows(banks, kBank0);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.back().compare(0, 3, "New"), 0) << rows.back();
    EXPECT_EQ(SheetRows(banks, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1").front().compare(0, 5, "2-  1"), 0);

    const std::string typed = dir.File("typed.ocd");
    run = RunCli({"set", banks, "-o", typed, "--bank", "0", "CT_Mch.CL_Mch_FreqR[5]=155.1"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(Get(typed, "CT_BankOp.CL_Mch_Bank[0]"), "6");
    EXPECT_EQ(Get(typed, "CT_BankOp.CL_Mch_Bank[1]"), "3");
    rows = SheetRows(typed, kBank0);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_NE(rows[5].find("155.100000"), std::string::npos) << rows[5];
    EXPECT_EQ(rows.back().compare(0, 3, "New"), 0) << rows.back();
    for (const std::string& row : SheetRows(typed, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1")) {
        EXPECT_EQ(row.find("155.100000"), std::string::npos) << row;
    }
    // The bank still grows from its blank row.
    run = RunCli({"rows", typed, "-o", dir.File("grown.ocd"), kBank0, "insert", "7"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(Get(dir.File("grown.ocd"), "CT_BankOp.CL_Mch_Bank[0]"), "7");
}

// Sorting a bank by a column moves whole channels: the scan list's priority channels and the bank's
// priority channel mark still name the same channels afterwards.
TEST(CliRows, SortOrdersABankByAColumnAndReferencesFollowTheirChannels) {
    TempDir dir;
    const std::string unsorted = dir.File("unsorted.ocd"), sorted = dir.File("sorted.ocd");
    const std::string p1 = "CT_Scan.CL_ScanList_Prio1_CH[0]+", p2 = "CT_Scan.CL_ScanList_Prio2_CH[0]+";
    CliRun run = RunCli(
        {"set", Initial(), "-o", unsorted, "--yes", "CT_Mch.CL_Mch_FreqR[0]=154.9", p1, p1, p1, p1, p2, p2});
    ASSERT_EQ(run.status, 0) << run.both;
    ASSERT_EQ(Get(unsorted, "CT_Scan.CL_ScanList_Prio1_CH[0]"), "1-3ch");
    ASSERT_EQ(Get(unsorted, "CT_Scan.CL_ScanList_Prio2_CH[0]"), "1-1ch");
    ASSERT_EQ(Get(unsorted, "CT_Mch.CL_Mch_Atr[0]"), "AB"); // the bank's priority channel

    run = RunCli({"rows", unsorted, "-o", sorted, kBank0, "sort", "RX frequency (MHz)"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_NE(run.out.find("sort \"RX frequency (MHz)\": done\n"), std::string::npos) << run.out;
    auto column = [&](const std::string& file, const char* cell) {
        std::vector<std::string> texts;
        for (int n = 0; n < 4; ++n) {
            texts.push_back(Get(file, std::string("CT_Mch.") + cell + "[" + std::to_string(n) + "]"));
        }
        return texts;
    };
    EXPECT_EQ(column(sorted, "CL_Mch_FreqR"),
              (std::vector<std::string>{"151.955000", "154.570000", "154.600000", "154.900000"}));
    EXPECT_EQ(column(sorted, "CL_Mch_Text"), (std::vector<std::string>{"CH 2", "CH 3", "CH 4", "CH 1"}));
    EXPECT_EQ(Get(sorted, "CT_Mch.CL_Mch_Atr[3]"), "AB");
    EXPECT_EQ(Get(sorted, "CT_Scan.CL_ScanList_Prio1_CH[0]"), "1-2ch"); // CH 3
    EXPECT_EQ(Get(sorted, "CT_Scan.CL_ScanList_Prio2_CH[0]"), "1-4ch"); // CH 1

    // Descending, by a column named without regard to case and spacing.
    run = RunCli({"rows", sorted, "-o", dir.File("names.ocd"), kBank0, "sort-desc", " name"});
    ASSERT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(column(dir.File("names.ocd"), "CL_Mch_Text"),
              (std::vector<std::string>{"CH 4", "CH 3", "CH 2", "CH 1"}));

    struct Refusal {
        std::vector<std::string> args; // after FILE -o OUT
        const char* says;
    };
    const Refusal refusals[] = {
        {{kBank0, "sort", "Frequency"},
         "no column of that header; its columns are 'No.', 'RX frequency (MHz)'"},
        {{"GI_Sheet_BankOp_Lmr", "sort", "Bank name"}, "do not move"},
        {{kBank0, "sort", "Name", "up", "1"}, "cannot move up"}, // a later refusal saves no sort
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.says);
        const std::string out = dir.File("refused.ocd");
        std::vector<std::string> args = {"rows", unsorted, "-o", out};
        args.insert(args.end(), r.args.begin(), r.args.end());
        run = RunCli(args);
        EXPECT_EQ(run.status, 1) << run.both;
        EXPECT_NE(run.both.find(r.says), std::string::npos) << run.both;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace

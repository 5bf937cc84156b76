// ostrel-cli get, set and warnings, run as processes on the shipped initial data: typed, refused and
// stepped channel values and tone codes that reach the saved file, new channels, and the warning check.
#include "core/cmcEeprom.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indWorkImage.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

std::string Initial() {
    return CliBinDir() + "/Initial_LMR.ocd";
}

// The value of one cell as `get` prints it.
std::string Get(const std::string& file, const std::string& cell) {
    CliRun run = RunCli({"get", file, cell});
    EXPECT_EQ(run.status, 0) << run.both;
    const std::string prefix = cell + "=";
    if (run.out.compare(0, prefix.size(), prefix) != 0 || run.out.empty() || run.out.back() != '\n')
        return "<" + run.out + ">";
    return run.out.substr(prefix.size(), run.out.size() - prefix.size() - 1);
}

// The working image of a saved file, expanded from its radio layout.
cmcEeprom Expanded(const std::string& file) {
    cmcEeprom image;
    EXPECT_EQ(indDataFile::Open(file, image), cmcKvtFile::FileError::Ok);
    indWorkImage(image, nullptr).ExpandTables();
    return image;
}

TEST(CliCells, GetPrintsWhatTheCellsShow) {
    ASSERT_FALSE(CliBinDir().empty());
    CliRun run =
        RunCli({"get", Initial(), "CT_Mch.CL_Mch_No[0]", "CT_Mch.CL_Mch_Scrm_Type[0]", "CT_Null.CL_Null"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "CT_Mch.CL_Mch_No[0]=1-  1\nCT_Mch.CL_Mch_Scrm_Type[0]=200 *Yet*\nCT_Null.CL_Null=\n");
    // Names the cell tables do not know, and malformed parameters, are usage errors.
    for (const char* bad :
         {"CT_Nope.CL_Mch_No[0]", "CT_Mch.CL_Nope[0]", "CT_Mch.CL_Mch_No[x]", "CT_Mch.CL_Mch_No[1"}) {
        SCOPED_TRACE(bad);
        CliRun r = RunCli({"get", Initial(), bad});
        EXPECT_EQ(r.status, 64);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(RunCli({"get", CliBinDir() + "/missing.ocd", "CT_Null.CL_Null"}).status, 1);
}

TEST(CliCells, SetTypesChoosesStepsAndSaves) {
    TempDir dir;
    const std::string out = dir.File("edited.ocd");
    const std::string rfBefore = Get(Initial(), "CT_Mch.CL_Mch_RfPo[0]");
    const std::string freq1 = Get(Initial(), "CT_Mch.CL_Mch_FreqR[1]");
    CliRun run =
        RunCli({"set", Initial(), "-o", out, "CT_Mch.CL_Mch_FreqR[0]=146.52",
                "CT_Mch.CL_Mch_FreqR[1]=146.5234", "CT_Mch.CL_Mch_TxInh[0]=On", "CT_Mch.CL_Mch_RfPo[0]+",
                "CT_Mch.CL_Mch_CTone_R[0]=88.5", "CT_Mch.CL_Mch_CTone_T[0]=754i", "CT_Mch.CL_Mch_FreqT[0]+"});
    EXPECT_EQ(run.status, 1) << run.both; // two edits were refused
    EXPECT_NE(run.out.find("CT_Mch.CL_Mch_FreqR[0]=146.520000\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("note: CT_Mch.CL_Mch_FreqR[1]: '146.5234' was refused: Not on the channel raster: "
                           "use 2.5 or 3.125 kHz steps (still " +
                           freq1 + ")\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("note: CT_Mch.CL_Mch_FreqT[0]: the cell takes no steps"), std::string::npos)
        << run.out;

    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[0]"), "146.520000");
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[1]"), freq1);
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_TxInh[0]"), "ON");
    EXPECT_NE(Get(out, "CT_Mch.CL_Mch_RfPo[0]"), rfBefore);
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_CTone_R[0]"), "88.5");
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_CTone_T[0]"), "754i");
    // In the radio layout of the saved file: the transmit-inhibit bit and the frequency.
    cmcEeprom saved = Expanded(out);
    const uint8_t* a0 = saved.Data() + indLayout::kChA;
    EXPECT_EQ(a0[4] & 0x80, 0x80);
    EXPECT_EQ(indLayout::Get32(a0, 0) & 0x7FFFFFFF, 146520000u);
}

// A refused value says why, with the limits the cell has; the file keeps the old value and the run
// ends with status 1.
TEST(CliCells, SetNamesTheReasonOfARefusal) {
    TempDir dir;
    const std::string out = dir.File("refused.ocd");
    const std::string freq = Get(Initial(), "CT_Mch.CL_Mch_FreqR[0]");
    const std::string bank = Get(Initial(), "CT_BankOp.CL_Mch_BankText[0]");
    CliRun run = RunCli({"set", Initial(), "-o", out, "CT_Mch.CL_Mch_FreqR[0]=900",
                         "CT_BankOp.CL_Mch_BankText[0]=VERYLONGNAME", "CT_Mch.CL_Mch_TxInh[0]=Maybe"});
    EXPECT_EQ(run.status, 1) << run.both;
    struct Note {
        const char* cell;
        std::string line;
    };
    const Note notes[] = {
        {"frequency", "note: CT_Mch.CL_Mch_FreqR[0]: '900' was refused: Out of the radio's band: "
                      "0.002500\u2013799.997500 MHz (still " +
                          freq + ")\n"},
        {"name", "note: CT_BankOp.CL_Mch_BankText[0]: 'VERYLONGNAME' was refused: Too long: at most 8 "
                 "characters (still " +
                     bank + ")\n"},
        {"choice", "note: CT_Mch.CL_Mch_TxInh[0]: 'Maybe' was refused: Not in the list: choose one of its "
                   "entries"},
    };
    for (const Note& n : notes)
        EXPECT_NE(run.out.find(n.line), std::string::npos) << n.cell << "\n" << run.out;
    EXPECT_EQ(Get(out, "CT_Mch.CL_Mch_FreqR[0]"), freq);
    EXPECT_EQ(Get(out, "CT_BankOp.CL_Mch_BankText[0]"), bank);
}

TEST(CliCells, NewChannelsAndTheWarningCheck) {
    TempDir dir;
    const std::string out = dir.File("channels.ocd");
    // Bank 0's blank row: with --bank the row after its last channel is a new channel of bank 0.
    const int count = std::atoi(Get(Initial(), "CT_Null.CL_Mch_Bank[0]").c_str());
    const std::string cell = "CT_Mch.CL_Mch_FreqR[" + std::to_string(count) + "]";
    CliRun run = RunCli({"set", Initial(), "-o", out, "--bank", "0", cell + "=440.1"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(Get(out, "CT_Null.CL_Mch_Bank[0]"), std::to_string(count + 1));
    // A non-key cell of a blank row is not set: it asks for the frequency first.
    run = RunCli({"set", Initial(), "-o", out, "--bank", "0",
                  "CT_Mch.CL_Mch_TxInh[" + std::to_string(count) + "]=ON"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("the row is empty"), std::string::npos) << run.out;

    run = RunCli({"warnings", Initial()});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "0 error(s), 0 warning(s)\n");
    // A PMR-style call setting on an analogue LMR channel is fine; a wide-middle bandwidth warns.
    const std::string warn = dir.File("warn.ocd");
    run = RunCli({"set", Initial(), "-o", warn, "CT_Mch.CL_Mch_WNM[0]=Middle"});
    EXPECT_EQ(run.status, 0) << run.both;
    run = RunCli({"warnings", warn});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("warning\t[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0 error(s), 1 warning(s)\n"), std::string::npos) << run.out;
}

// A value the first cell of a blank row refuses adds no channel: the carriage return that makes the
// row's channel does not count as the value taken, and the empty channel it made is taken back.
TEST(CliCells, SetRefusedOnANewRowAddsNoChannel) {
    TempDir dir;
    const std::string out = dir.File("new-row.ocd");
    const std::string count = Get(Initial(), "CT_Null.CL_Mch_Bank[0]");
    const std::string cell = "CT_Mch.CL_Mch_FreqR[" + count + "]";
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"900", "Out of the radio's band: 0.002500\u2013799.997500 MHz"},
        {"abc", "Not a number: type digits"},
        {"", "Not a number: type digits"}, // shows as the empty row, but is refused all the same
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CliRun run = RunCli({"set", Initial(), "-o", out, "--bank", "0", cell + "=" + c.text});
        EXPECT_EQ(run.status, 1) << run.both;
        EXPECT_NE(run.out.find("note: " + cell + ": '" + c.text + "' was refused: " + c.reason),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(Get(out, "CT_Null.CL_Mch_Bank[0]"), count);
        EXPECT_EQ(Get(out, "CT_Null.CL_Mch_Bank[8]"), count);
    }
}

// A cell over a set of rows is read and edited row by row, as a selection edit in the window.
TEST(CliCells, SetsOfRowsGetAndSetEachCell) {
    TempDir dir;
    const std::string out = dir.File("ranges.ocd");
    ASSERT_EQ(Get(Initial(), "CT_Null.CL_Mch_Bank[0]"), "4");
    CliRun run =
        RunCli({"set", Initial(), "-o", out, "CT_Mch.CL_Mch_RfPo[0-3]=Low1", "CT_Mch.CL_Mch_TxInh[0,2]=On"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out, "CT_Mch.CL_Mch_RfPo[0]=Low1\nCT_Mch.CL_Mch_RfPo[1]=Low1\nCT_Mch.CL_Mch_RfPo[2]=Low1\n"
                       "CT_Mch.CL_Mch_RfPo[3]=Low1\nCT_Mch.CL_Mch_TxInh[0]=ON\nCT_Mch.CL_Mch_TxInh[2]=ON\n");
    run = RunCli({"get", out, "CT_Mch.CL_Mch_TxInh[0-3]", "CT_Mch.CL_Mch_RfPo[1,3]"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_EQ(run.out,
              "CT_Mch.CL_Mch_TxInh[0]=ON\nCT_Mch.CL_Mch_TxInh[1]=OFF\nCT_Mch.CL_Mch_TxInh[2]=ON\n"
              "CT_Mch.CL_Mch_TxInh[3]=OFF\nCT_Mch.CL_Mch_RfPo[1]=Low1\nCT_Mch.CL_Mch_RfPo[3]=Low1\n");

    // Sixteen channels: twelve new ones take their frequency through a set, then all a power level.
    const std::string sixteen = dir.File("sixteen.ocd");
    run = RunCli({"set", Initial(), "-o", sixteen, "CT_Null.CL_Mch_Bank[0]=16",
                  "CT_Mch.CL_Mch_FreqR[4-15]=146.52", "CT_Mch.CL_Mch_RfPo[0-15]=Low1"});
    EXPECT_EQ(run.status, 0) << run.both;
    run = RunCli({"get", sixteen, "CT_Mch.CL_Mch_RfPo[0-15]", "CT_Mch.CL_Mch_FreqR[15]"});
    EXPECT_EQ(run.status, 0) << run.both;
    std::string lines;
    for (int i = 0; i < 16; ++i)
        lines += "CT_Mch.CL_Mch_RfPo[" + std::to_string(i) + "]=Low1\n";
    EXPECT_EQ(run.out, lines + "CT_Mch.CL_Mch_FreqR[15]=146.520000\n");

    // Two empty channels at the end of bank 0 refuse a power level (their frequency comes first); the
    // channel before them still takes it, and the file is saved with status 1.
    const std::string mixed = dir.File("mixed.ocd");
    run = RunCli({"set", Initial(), "-o", mixed, "CT_Null.CL_Mch_Bank[0]=6", "CT_Mch.CL_Mch_RfPo[3-5]=Low2"});
    EXPECT_EQ(run.status, 1) << run.both;
    EXPECT_NE(run.out.find("CT_Mch.CL_Mch_RfPo[3]=Low2\n"), std::string::npos) << run.out;
    for (const char* empty : {"CT_Mch.CL_Mch_RfPo[4]", "CT_Mch.CL_Mch_RfPo[5]"})
        EXPECT_NE(run.out.find(std::string("note: ") + empty + ": the row is empty"), std::string::npos)
            << run.out;
    EXPECT_EQ(Get(mixed, "CT_Mch.CL_Mch_RfPo[3]"), "Low2");
    EXPECT_EQ(Get(mixed, "CT_Null.CL_Mch_Bank[0]"), "6");
}

// A set reaching past the channels there are names the last one and changes nothing.
TEST(CliCells, SetsOfRowsPastTheLastChannelAreErrors) {
    TempDir dir;
    const std::string out = dir.File("past.ocd");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"set", Initial(), "-o", out, "CT_Mch.CL_Mch_RfPo[0-15]=Low1"},
         "ostrel-cli set: 'CT_Mch.CL_Mch_RfPo[0-15]': there is no channel at CT_Mch.CL_Mch_RfPo[4]; the "
         "first "
         "channel is CT_Mch.CL_Mch_RfPo[0] (1-1), the last CT_Mch.CL_Mch_RfPo[3] (1-4)\n"},
        {{"get", Initial(), "--bank", "0", "CT_Mch.CL_Mch_FreqR[2,4]"},
         "ostrel-cli get: 'CT_Mch.CL_Mch_FreqR[2,4]': there is no channel at CT_Mch.CL_Mch_FreqR[4] in bank "
         "0; the "
         "first channel in bank 0 is CT_Mch.CL_Mch_FreqR[0] (1-1), the last CT_Mch.CL_Mch_FreqR[3] (1-4)\n"},
        {{"get", Initial(), "--bank", "1", "CT_Mch.CL_Mch_FreqR[0-1]"},
         "ostrel-cli get: 'CT_Mch.CL_Mch_FreqR[0-1]': there is no channel at CT_Mch.CL_Mch_FreqR[0] in bank "
         "1; "
         "there is none in bank 1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.both.find(c.message), std::string::npos) << run.both;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    // Malformed sets are usage errors too.
    for (const char* bad : {"[3-1]", "[1-]", "[,1]", "[1,2", "[1-2]x", "[1--2]"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(RunCli({"get", Initial(), std::string("CT_Mch.CL_Mch_FreqR") + bad}).status, 64);
    }
}

} // namespace

namespace {

TEST(CliCells, CloneWriteRefusesDataWithErrors) {
    TempDir dir;
    const std::string bad = dir.File("errors.ocd");
    // A PMR channel with signalling and an individual call setting: an error of the channel check.
    CliRun run = RunCli({"set", CliBinDir() + "/Initial_PMR.ocd", "-o", bad, "CT_Mch.CL_Mch_Msk_Sig[0]=MSK",
                         "CT_Mch.CL_Mch_Call[0]=ON"});
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_NE(run.out.find("CT_Mch.CL_Mch_Call[0]=ON [error]\n"), std::string::npos) << run.out;
    run = RunCli({"warnings", bad});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("error\t[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0\t"), std::string::npos) << run.out;
    // The write stops before it touches the port.
    run = RunCli({"write", "--port", dir.File("no-such-port"), "--yes", bad});
    EXPECT_EQ(run.status, 22) << run.both;
    EXPECT_NE(run.both.find("The data has errors."), std::string::npos) << run.both;
}

} // namespace

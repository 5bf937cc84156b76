// Pins what the command line shows and saves, byte for byte: for both initial data files and for a
// file read from the simulated radio, the check, the channel list, the warnings, the converted file
// and the text of every sheet of both trees, in which every cell works (no placeholder, no error text
// on good data). A change to any of them is a change of behaviour and
// must show here; after a deliberate change, run the test with OSTREL_UPDATE_GOLDEN=1 to rewrite the
// golden files and review their difference like code.
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string GoldenPath(const std::string& name) {
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/e2e/golden/" + name + ".txt";
}

// The sheet texts of one tree (LMR, PMR) or of both, in tree order, each once.
enum class Tree { Lmr, Pmr, Both };
std::vector<std::string> AllSheets(Tree tree = Tree::Both) {
    std::vector<std::string> sheets;
    std::vector<std::vector<std::string>> lists;
    if (tree != Tree::Pmr)
        lists.push_back({"sheets"});
    if (tree != Tree::Lmr)
        lists.push_back({"sheets", "--pmr"});
    for (const std::vector<std::string>& args : lists) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << run.both;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const std::string text = line.substr(0, line.find('\t'));
            bool seen = false;
            for (const std::string& s : sheets)
                seen = seen || s == text;
            if (!seen)
                sheets.push_back(text);
        }
    }
    return sheets;
}

// Every cell a sheet shows has its behaviour and good data shows no error: no cell shows the
// placeholder of a cell without one ("NNN *Yet*") or the codec's error text for a value outside
// its list.
void ExpectEveryCellWorks(const std::string& file, const std::string& sheet, const std::string& shown) {
    std::istringstream lines(shown);
    int placeholders = 0, errors = 0;
    std::string first;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '|');) {
            const size_t from = cell.find_first_not_of(' '), to = cell.find_last_not_of(' ');
            const std::string text = from == std::string::npos ? "" : cell.substr(from, to - from + 1);
            const bool placeholder = text.ends_with("*Yet*");
            const bool error = text == "error" || text.starts_with("error [");
            placeholders += placeholder;
            errors += error;
            if ((placeholder || error) && first.empty())
                first = text;
        }
    }
    EXPECT_EQ(placeholders + errors, 0) << file << ", sheet " << sheet << ": " << placeholders
                                        << " placeholders, " << errors << " error texts, first: " << first;
}

void Section(std::string& dump, const std::string& title, const CliRun& run) {
    dump += "== " + title + " (status " + std::to_string(run.status) + ")\n" + run.both;
}

// Everything the command line shows of one clone data file; the sheets of the file's own tree (own)
// must show every cell working.
std::string Dump(const std::string& file, const std::vector<std::string>& sheets,
                 const std::vector<std::string>& own, const TempDir& dir) {
    std::string dump;
    Section(dump, "check", RunCli({"check", file}));
    Section(dump, "list", RunCli({"list", file}));
    Section(dump, "warnings", RunCli({"warnings", file}));
    const std::string converted = dir.File("converted.ocd");
    Section(dump, "convert", RunCli({"convert", file, converted}));
    dump += "== converted file\n" + ReadFileText(converted);
    for (const std::string& sheet : sheets) {
        const CliRun shown = RunCli({"sheet", file, sheet}, 60000);
        if (std::find(own.begin(), own.end(), sheet) != own.end())
            ExpectEveryCellWorks(file, sheet, shown.out);
        Section(dump, "sheet " + sheet, shown);
    }
    return dump;
}

// The first line where the two texts differ, with the section it falls in.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream e(expected), a(actual);
    std::string el, al, section;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, el));
        const bool moreA = static_cast<bool>(std::getline(a, al));
        if (!moreE && !moreA)
            return "no difference";
        if (moreA && al.rfind("== ", 0) == 0)
            section = al;
        if (!moreE || !moreA || el != al)
            return "line " + std::to_string(line) + " in [" + section +
                   "]\n  golden: " + (moreE ? el : "(end)") + "\n  now:    " + (moreA ? al : "(end)");
    }
}

void ExpectGolden(const std::string& name, const std::string& dump) {
    const std::string path = GoldenPath(name);
    const char* update = std::getenv("OSTREL_UPDATE_GOLDEN");
    if (update && *update == '1') {
        WriteFileText(path, dump);
        return;
    }
    const std::string golden = ReadFileText(path);
    ASSERT_FALSE(golden.empty()) << "missing golden file " << path;
    if (golden != dump) {
        WriteFileText(CliBinDir() + "/" + name + ".golden-now.txt", dump);
        ADD_FAILURE() << name << " differs from " << path << ": " << FirstDifference(golden, dump)
                      << "\n(the whole output is in " << CliBinDir() << "/" << name << ".golden-now.txt)";
    }
}

} // namespace

TEST(CliGolden, InitialFilesShowAndSaveAsBefore) {
    const std::vector<std::string> sheets = AllSheets();
    ASSERT_GT(sheets.size(), 40u);
    for (const char* name : {"Initial_LMR", "Initial_PMR"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const Tree own = std::string(name) == "Initial_PMR" ? Tree::Pmr : Tree::Lmr;
        ExpectGolden(name, Dump(CliBinDir() + "/" + name + ".ocd", sheets, AllSheets(own), dir));
    }
}

TEST(CliGolden, FileReadFromTheRadioShowsAndSavesAsBefore) {
    TempDir dir;
    // A radio holding more than the initial data: channels in two banks, a name, a second tone.
    const std::string image = dir.File("radio-image.ocd");
    const CliRun set = RunCli({"set", CliBinDir() + "/Initial_LMR.ocd", "-o", image, "--yes",
                               "CT_Mch.CL_Mch_FreqR[1]=146.52", "CT_Mch.CL_Mch_Text[1]=SIMPLEX",
                               "CT_Mch.CL_Mch_FreqR[2]=155.1", "CT_Mch.CL_Mch_FreqT[2]=159.7"});
    ASSERT_EQ(set.status, 0) << set.both;
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.err"), {"--image", image});
    ASSERT_TRUE(sim.Ready());
    const std::string read = dir.File("read.ocd");
    const CliRun run = RunCli({"read", "--port", sim.Port(), "-o", read}, 60000);
    ASSERT_EQ(run.status, 0) << run.both << ReadFileText(dir.File("sim.err"));
    sim.Stop();
    const std::vector<std::string> sheets = AllSheets();
    ExpectGolden("Radio_read", Dump(read, sheets, AllSheets(Tree::Lmr), dir));
}

// ostrel-cli write to several simulated radios at once: each radio ends on its own (one failing does
// not stop the others), gets its own values by serial number, and leaves a row in the audit log.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include "app/cmcCsv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kSomeFailed = 26;
constexpr int kValuesRefused = 27;
constexpr int kRefusedWrite = 6; // the radio refused the write

struct Radio {
    std::string serial; // as the label shows it
    std::string saved;
    std::unique_ptr<RadioSimProcess> sim;
};

struct CliFleetWrite : testing::Test {
    TempDir dir;
    std::string file = dir.File("fleet.ocd");
    std::string end = clonefiles::HexText(clonefiles::ShortEnd());

    void SetUp() override { clonefiles::MakeOneChannelFile(file, 3, 151625000, "fleet"); }

    // A radio whose clone information carries the serial "00000012AB3<n>" (label 000000122347<n+2>).
    Radio Start(int n, std::vector<std::string> more = {}) {
        Radio r;
        const std::string name = "radio" + std::to_string(n);
        r.serial = "000000122347" + std::to_string(n + 2);
        r.saved = dir.File(name + ".ocd");
        std::vector<std::string> args = {"--save", r.saved,    "--end",
                                         end,      "--serial", "00000012AB3" + std::to_string(n)};
        args.insert(args.end(), more.begin(), more.end());
        r.sim = std::make_unique<RadioSimProcess>(dir.File(name), dir.File(name + ".log"), args);
        EXPECT_TRUE(r.sim->Ready());
        return r;
    }

    std::string Shown(const std::string& path, const std::string& cell) const {
        CliRun run = RunCli({"get", path, cell});
        return run.out.substr(run.out.find('=') + 1, run.out.find('\n') - run.out.find('=') - 1);
    }
};

std::vector<std::vector<std::string>> Lines(const std::string& text, char separator) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream f(line);
        for (std::string field; std::getline(f, field, separator);)
            fields.push_back(field);
        lines.push_back(fields);
    }
    return lines;
}

std::vector<cmcCsv::Record> LogRows(const std::string& path) {
    std::vector<cmcCsv::Record> rows;
    std::string error;
    EXPECT_TRUE(cmcCsv::Read(ReadFileText(path), rows, error)) << error;
    return rows;
}

} // namespace

TEST_F(CliFleetWrite, OneRadioFailsWhileTheOthersGetTheirOwnValuesAndEveryOutcomeIsLogged) {
    Radio a = Start(4), b = Start(5), c = Start(6, {"--fault", "refuse-write"});
    const std::string values = dir.File("values.csv");
    WriteFileText(values, "serial,CT_Null.CL_KDisp_OpeningText,CT_Mch.CL_Mch_Nxdn_Unit_Dec[3]\r\n" +
                              a.serial + ",TRUCK1,101\r\n00000012ab35,TRUCK2,102\r\n" + c.serial +
                              ",TRUCK3,103\r\n");
    // The audit log goes into the data folder when no --log is given.
    const std::string data = dir.File("data");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    CliRun run = RunCli({"write", file, "--port", a.sim->Port(), "--port", b.sim->Port(), "--port",
                         c.sim->Port(), "--yes", "--values", values},
                        60000);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(run.status, kSomeFailed) << run.both;

    // A result line per radio, in the order of the ports: port, serial, firmware, code, result, backup.
    const auto lines = Lines(run.out, '\t');
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const Radio* radios[] = {&a, &b, &c};
    const int codes[] = {0, 0, kRefusedWrite};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(lines[i].size(), 6u) << run.out;
        EXPECT_EQ(lines[i][0], radios[i]->sim->Port());
        EXPECT_EQ(lines[i][1], radios[i]->serial);
        EXPECT_EQ(lines[i][2], "1.0");
        EXPECT_EQ(lines[i][3], std::to_string(codes[i])) << run.out;
    }
    EXPECT_NE(lines[0][4].find("written into the radio"), std::string::npos) << run.out;
    EXPECT_NE(lines[2][4].find("refused the operation"), std::string::npos) << run.out;

    // The two good radios hold the file's channel and their own row's values; the third nothing.
    const std::string names[] = {"TRUCK1", "TRUCK2"}, units[] = {"101", "102"};
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(fs::exists(radios[i]->saved)) << run.both;
        EXPECT_EQ(Shown(radios[i]->saved, "CT_Null.CL_KDisp_OpeningText"), names[i]);
        EXPECT_EQ(Shown(radios[i]->saved, "CT_Mch.CL_Mch_Nxdn_Unit_Dec[3]"), units[i]);
        EXPECT_EQ(Shown(radios[i]->saved, "CT_Mch.CL_Mch_FreqR[3]"), "151.625000");
    }
    EXPECT_FALSE(fs::exists(c.saved));

    // The log: a header, then a row per radio in the order they ended.
    const auto rows = LogRows(data + "/Ostrel/fleet-log.csv");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
              (cmcCsv::Record{"time", "port", "serial", "firmware", "result", "result text", "backup"}));
    for (size_t i = 0; i < 3; ++i) {
        const cmcCsv::Record& row = rows[i + 1];
        ASSERT_EQ(row.size(), 7u);
        EXPECT_TRUE(row[0].size() == 20 && row[0][10] == 'T' && row[0].back() == 'Z') << row[0];
        const auto it = std::find_if(std::begin(radios), std::end(radios),
                                     [&](const Radio* r) { return r->sim->Port() == row[1]; });
        ASSERT_NE(it, std::end(radios)) << row[1];
        const size_t k = size_t(it - std::begin(radios));
        EXPECT_EQ(row[2], radios[k]->serial);
        EXPECT_EQ(row[4], std::to_string(codes[k]));
        EXPECT_EQ(row[5], lines[k][4]);
    }
}

TEST_F(CliFleetWrite, ARefusedValueFailsOnlyItsRadioAndARadioWithoutARowGetsTheFile) {
    Radio a = Start(1), b = Start(2);
    const std::string values = dir.File("values.csv");
    WriteFileText(values, "serial,CT_Mch.CL_Mch_FreqR[3]\n" + a.serial + ",not a frequency\n");
    const std::string log = dir.File("logs/fleet.csv");
    const std::string backups = dir.File("backups");
    for (int round = 0; round < 2; ++round) {
        CliRun run = RunCli({"write", file, "--port", a.sim->Port(), "--port", b.sim->Port(), "--yes",
                             "--values", values, "--log", log, "--backup", backups, "--verify"},
                            60000);
        EXPECT_EQ(run.status, kSomeFailed) << run.both;
        const auto lines = Lines(run.out, '\t');
        ASSERT_EQ(lines.size(), 2u) << run.out;
        EXPECT_EQ(lines[0][3], std::to_string(kValuesRefused));
        // The cell's own reason, with the cell and the value.
        EXPECT_NE(lines[0][4].find("CT_Mch.CL_Mch_FreqR[3]: 'not a frequency' refused"), std::string::npos)
            << lines[0][4];
        EXPECT_EQ(lines[0][5], "-"); // nothing was read or written: no backup
        EXPECT_EQ(lines[1][3], "0") << run.both;
        EXPECT_EQ(lines[1][5].rfind(backups + "/" + b.serial + "-", 0), 0u) << lines[1][5];
        EXPECT_TRUE(fs::exists(lines[1][5]));
    }
    EXPECT_FALSE(fs::exists(a.saved));
    ASSERT_TRUE(fs::exists(b.saved));
    EXPECT_EQ(Shown(b.saved, "CT_Mch.CL_Mch_FreqR[3]"), "151.625000");
    // Two runs append to one log under one header.
    const auto rows = LogRows(log);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][0], "time");
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_NE(rows[i][0], "time");
}

TEST_F(CliFleetWrite, TheFleetIsConfirmedOnceBeforeAnyRadioIsTouched) {
    Radio a = Start(1), b = Start(2);
    const std::string log = dir.File("fleet.csv");
    // Data that carries a clone password is asked about first; off a terminal, without --yes, the
    // question is declined and no radio is asked anything.
    const std::string protectedFile = dir.File("protected.ocd");
    {
        cmcEeprom initial = clonefiles::LoadImage(clonefiles::InitialLmr());
        indModel model(&initial, nullptr, indModel::Settings{});
        cmcEeprom work = clonefiles::LoadImage(file);
        model.Convert(work, 0);
        work.SetByte(indCloneCommands::kClonePasswordAt, '7');
        model.Convert(work, 1);
        ASSERT_EQ(indDataFile::Save(protectedFile, work, "protected"), cmcKvtFile::FileError::Ok);
    }
    const struct {
        std::string file;
        const char* question;
    } cases[] = {{file, "The data will be written into the radio."},
                 {protectedFile, "The data carries a clone password."}};
    for (const auto& c : cases) {
        CliRun run =
            RunCli({"write", c.file, "--port", a.sim->Port(), "--port", b.sim->Port(), "--log", log});
        EXPECT_EQ(run.status, 20) << run.both;
        EXPECT_NE(run.both.find(c.question), std::string::npos) << run.both;
        EXPECT_NE(run.both.find("(2 radios)"), std::string::npos) << run.both;
    }
    EXPECT_FALSE(fs::exists(log));
    EXPECT_FALSE(fs::exists(a.saved));
    EXPECT_FALSE(fs::exists(b.saved));
    // Both radios were left alone: they still answer a read at once.
    EXPECT_EQ(RunCli({"info", "--port", a.sim->Port()}).status, 0);
}

TEST_F(CliFleetWrite, AProtectedRadioTakesThePasswordOfTheFleetAndFailsAloneWithoutIt) {
    Radio a = Start(1, {"--password", "secret"}), b = Start(2);
    const std::string log = dir.File("fleet.csv");
    CliRun run = RunCli(
        {"write", file, "--port", a.sim->Port(), "--port", b.sim->Port(), "--yes", "--log", log}, 60000);
    EXPECT_EQ(run.status, kSomeFailed) << run.both;
    auto lines = Lines(run.out, '\t');
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[0][3], "20");
    EXPECT_NE(lines[0][4].find("protected by a clone password"), std::string::npos) << lines[0][4];
    EXPECT_EQ(lines[1][3], "0");
    EXPECT_FALSE(fs::exists(a.saved));

    run = RunCli({"write", file, "--port", a.sim->Port(), "--yes", "--log", log, "--password", "secret"},
                 60000);
    EXPECT_EQ(run.status, 0) << run.both;
    EXPECT_TRUE(fs::exists(a.saved));
}

TEST_F(CliFleetWrite, AMalformedValuesTableStopsBeforeAnyRadioIsTouched) {
    Radio a = Start(1);
    const std::string values = dir.File("values.csv");
    const std::string log = dir.File("fleet.csv");
    for (const char* table :
         {"unit,CT_Null.CL_KDisp_OpeningText\n1,A\n", "serial,CT_Null.CL_NoSuchCell\n1,A\n",
          "serial,CT_Null.CL_KDisp_OpeningText\n1,A,B\n",
          "serial,CT_Null.CL_KDisp_OpeningText\n1,A\n01,B\n1,C\n"}) {
        WriteFileText(values, table);
        CliRun run =
            RunCli({"write", file, "--port", a.sim->Port(), "--yes", "--values", values, "--log", log});
        EXPECT_EQ(run.status, 64) << table << run.both;
        EXPECT_NE(run.both.find(values), std::string::npos) << run.both;
    }
    EXPECT_FALSE(fs::exists(log));
    EXPECT_FALSE(fs::exists(a.saved));
}

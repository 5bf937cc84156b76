// ostrel-cli write with --backup and --verify against ostrel-radio-sim: the backup holds what the radio
// held before, the read-back catches a radio that stored a byte wrongly, and a backup that cannot be
// saved stops the write before the radio is touched.
#include "CloneFiles.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

constexpr int kBackupFailed = 24;
constexpr int kVerifyFailed = 25;

std::vector<fs::path> FilesIn(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        files.push_back(entry.path());
    return files;
}

struct CliSafeWrite : testing::Test {
    TempDir dir;
    std::string previous = dir.File("previous.ocd"); // what the radio holds before the write
    std::string file = dir.File("new.ocd");
    std::string saved = dir.File("saved.ocd"); // what the radio commits after a good write
    std::string end = clonefiles::HexText(clonefiles::ShortEnd());

    void SetUp() override {
        clonefiles::MakeOneChannelFile(previous, 5, 146000000, "before");
        clonefiles::MakeOneChannelFile(file, 3, 151625000, "new");
    }
    std::vector<std::string> SimArgs(std::vector<std::string> more) const {
        std::vector<std::string> args = {"--image", previous, "--save",   saved,
                                         "--end",   end,      "--serial", "00000012AB34"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    CliRun Write(const RadioSimProcess& sim, std::vector<std::string> more) const {
        std::vector<std::string> args = {"write", "--port", sim.Port(), file, "--yes"};
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args, 60000);
    }
};

} // namespace

TEST_F(CliSafeWrite, BackupHoldsTheRadiosPreviousMemoryAndAGoodWriteVerifies) {
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), SimArgs({}));
    ASSERT_TRUE(sim.Ready());
    const std::string backups = dir.File("backups/of/radios"); // made with its parents
    CliRun run = Write(sim, {"--backup", backups, "--verify"});
    ASSERT_EQ(run.status, 0) << run.both << ReadFileText(dir.File("sim.log"));

    const std::vector<fs::path> files = FilesIn(backups);
    ASSERT_EQ(files.size(), 1u);
    // Named after the serial number as the radio's label shows it, and the time.
    EXPECT_TRUE(
        std::regex_match(files[0].filename().string(), std::regex("0000001223476-[0-9]{8}-[0-9]{6}\\.ocd")))
        << files[0];
    EXPECT_NE(run.both.find("Backup " + files[0].string()), std::string::npos) << run.both;
    const int32_t last = clonefiles::ShortEnd() | 0x0F;
    EXPECT_TRUE(clonefiles::SameRadioBytes(clonefiles::LoadImage(files[0]), clonefiles::LoadImage(previous),
                                           0, last));
    // The write itself went through: the radio now holds the new data, not the backup's.
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_FALSE(
        clonefiles::SameRadioBytes(clonefiles::LoadImage(saved), clonefiles::LoadImage(previous), 0, last));
}

TEST_F(CliSafeWrite, VerifyCatchesARadioThatStoredAByteWronglyAndNamesTheBackup) {
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), SimArgs({"--fault", "corrupt-write:3"}));
    ASSERT_TRUE(sim.Ready());
    const std::string backups = dir.File("backups");
    CliRun run = Write(sim, {"--backup", backups, "--verify"});
    EXPECT_EQ(run.status, kVerifyFailed) << run.both;
    // The write sends from 0x0100 in 16-byte frames: frame 3 starts at 0x0130.
    for (const char* text : {"first at address 0x0130", "write the data into the radio again"})
        EXPECT_NE(run.both.find(text), std::string::npos) << text << "\n" << run.both;
    const std::vector<fs::path> files = FilesIn(backups);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(run.both.find("backup file\n" + files[0].string()), std::string::npos) << run.both;
}

TEST_F(CliSafeWrite, ABackupThatCannotBeSavedStopsTheWriteBeforeAnyData) {
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), SimArgs({}));
    ASSERT_TRUE(sim.Ready());
    // A folder below a plain file cannot be made, whoever runs the test.
    WriteFileText(dir.File("plain"), "x");
    const std::string folder = dir.File("plain/backups");
    CliRun run = Write(sim, {"--backup", folder, "--verify"});
    EXPECT_EQ(run.status, kBackupFailed) << run.both;
    EXPECT_NE(run.both.find(folder), std::string::npos) << run.both;
    EXPECT_NE(run.both.find("Nothing was written"), std::string::npos) << run.both;
    EXPECT_FALSE(fs::exists(saved)); // the radio committed no write
}

// Clone write in the desktop program against the simulated radio: the radio's data is backed up into
// the user's data folder first unless the Clone menu's setting is off, and the radio is read back after
// the write, so a radio that stored a byte wrongly fails the write.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indCloneCommands.h"
#include "clone/cmcPortMap.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiCloneProgress.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"

#include <QAction>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr int kCloneLimitMs = 60000;

cmcEeprom Load(const std::string& path) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    EXPECT_EQ(indDataFile::Load(path, image), cmcKvtFile::FileError::Ok) << path;
    return image;
}

// The initial data with channel 3 in use on rxHz, saved as the program saves it.
std::string DataFile(const TempDir& dir, const std::string& name, int32_t rxHz) {
    cmcEeprom initial = Load(CliBinDir() + "/Initial_LMR.ocd");
    indModel model(&initial, nullptr, indModel::Settings{});
    cmcEeprom work = initial;
    model.Convert(work, 0);
    datCh ch(&work);
    ch.Decode(indModel::kChannelKind, 3);
    ch.rxFrequency = rxHz;
    ch.txFrequency = rxHz;
    ch.Encode(indModel::kChannelKind, 3);
    model.Convert(work, 1);
    const std::string path = dir.File(name);
    EXPECT_EQ(indDataFile::Save(path, work, "gui"), cmcKvtFile::FileError::Ok);
    return path;
}

struct SafeWriteFixture : MainWindowFixture {
    TempDir dir;
    std::string backups = dir.File("data/Ostrel/backups");
    std::string previousData; // the user's data folder before the test
    int32_t last = 0;         // the radio's last memory address

    void SetUp() override {
        const char* data = std::getenv("XDG_DATA_HOME");
        previousData = data ? data : "";
        setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
        cuiMain::Services s = WindowServices();
        env.comSpeedHigh = 1;
        s.warningCheck = [] { return 0; };
        StartWindow(s);
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        setenv("XDG_DATA_HOME", previousData.c_str(), 1);
    }
    // A radio holding previous, its memory ending a little past the packed data so reads stay short.
    std::unique_ptr<RadioSimProcess> Radio(const std::string& name, const std::string& previous,
                                           std::vector<std::string> more) {
        last = (indCloneCommands::DataEnd(Load(previous)) | 0xFF) + 0x100;
        char end[16];
        std::snprintf(end, sizeof end, "%X", static_cast<unsigned>(last));
        std::vector<std::string> args = {"--image", previous, "--end", end};
        args.insert(args.end(), more.begin(), more.end());
        auto sim = std::make_unique<RadioSimProcess>(dir.File(name), dir.File(name + ".log"), args);
        env.comPort = cmcPortMap::kMaxPort;
        env.comDevice = sim->Port();
        return sim;
    }
    bool Write() {
        box.shown.clear();
        window->CloneWrite();
        return QTest::qWaitFor([&] { return !window->Clone().IsBusy(); }, kCloneLimitMs);
    }
    size_t BackupCount() const {
        std::error_code ec;
        size_t n = 0;
        for (auto it = fs::directory_iterator(backups, ec); !ec && it != fs::directory_iterator(); ++it)
            ++n;
        return n;
    }
    QAction* BackupItem() {
        QList<QAction*> items = window->CommandActions("CL_Menu_Clone_Write", 1);
        return items.isEmpty() ? nullptr : items[0];
    }
};

} // namespace

TEST_F(SafeWriteFixture, WriteBacksTheRadioUpFirst) {
    const std::string previous = DataFile(dir, "previous.ocd", 146000000);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    ASSERT_TRUE(window->OpenFile(DataFile(dir, "send.ocd", 151625000)));
    auto radio = Radio("radio", previous, {});
    ASSERT_TRUE(radio->Ready());
    ASSERT_NE(BackupItem(), nullptr);
    EXPECT_TRUE(BackupItem()->isChecked()); // on unless the user switched it off

    ASSERT_TRUE(Write());
    ASSERT_EQ(window->Clone().LastOutcome(), 0) << (box.shown.empty() ? "" : box.shown.back().text);
    ASSERT_EQ(BackupCount(), 1u);
    const std::string backup = window->Clone().BackupPath();
    EXPECT_EQ(fs::path(backup).parent_path(), fs::path(backups));
    cmcEeprom kept = Load(backup);
    cmcEeprom before = Load(previous);
    EXPECT_EQ(std::memcmp(kept.Data(), before.Data(), static_cast<size_t>(last + 1)), 0);
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown.back().text, tables.Text().GetJoinedText("GI_Mess_CloneWrite_Succeeded"));
}

TEST_F(SafeWriteFixture, SwitchedOffNoBackupIsMadeYetTheReadBackStillChecksTheWrite) {
    const std::string previous = DataFile(dir, "previous.ocd", 146000000);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    ASSERT_TRUE(window->OpenFile(DataFile(dir, "send.ocd", 151625000)));
    ASSERT_NE(BackupItem(), nullptr);
    BackupItem()->trigger();
    EXPECT_EQ(env.backupBeforeWrite, 0);
    EXPECT_FALSE(BackupItem()->isChecked());
    auto faulty = Radio("faulty", previous, {"--fault", "corrupt-write:3"});
    ASSERT_TRUE(faulty->Ready());

    ASSERT_TRUE(Write());
    EXPECT_EQ(window->Clone().LastOutcome(), indCloneCommands::kVerifyFailed);
    EXPECT_EQ(BackupCount(), 0u);
    EXPECT_EQ(window->Clone().BackupPath(), "");
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown.back().icon, cmcMessageBox::Icon::Error);
    EXPECT_NE(box.shown.back().text.find("0x0130"), std::string::npos) << box.shown.back().text;
    EXPECT_TRUE(window->Clone().Progress().MainWindowEnabled());
}

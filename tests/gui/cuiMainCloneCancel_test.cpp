// Cancel in the Cloning window of the desktop program, against the simulated radio at its real line
// speed: a cancelled read leaves the open data and its file as they were, a cancelled write leaves the
// radio's memory uncommitted and says it must be written again; both close the port.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiCloneProgress.h"
#include "gui/cuiMain.h"
#include "platform/cuiQtLoop.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr int kCloneLimitMs = 30000;

struct CancelFixture : MainWindowFixture {
    TempDir dir;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        env.comSpeedHigh = 1;
        s.warningCheck = [] { return 0; };
        StartWindow(s);
    }
    void UsePort(const std::string& device) {
        env.comPort = cmcPortMap::kMaxPort;
        env.comDevice = device;
    }
    cuiCloneProgress& Progress() { return window->Clone().Progress(); }
    // Waits until the Cloning window shows data moving, then presses its Cancel button.
    bool CancelWhenDataMoves() {
        if (!QTest::qWaitFor([&] { return Progress().isVisible() && Progress().Transferred() > 0; },
                             kCloneLimitMs)) {
            return false;
        }
        QTest::mouseClick(Progress().CancelButton(), Qt::LeftButton);
        return QTest::qWaitFor([&] { return !window->Clone().IsBusy(); }, kCloneLimitMs);
    }
    std::string CancelLine(int line) { return tables.Text().GetLine("GI_Mess_CloneErr_Cancelled", line); }
};

} // namespace

TEST_F(CancelFixture, CancelledReadAndWriteLeaveDataAndRadioAndSaySo) {
    const std::string saved = dir.File("saved.ocd");
    // Paced at 38,400 baud the whole memory takes many seconds: time enough to cancel in between.
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--pace", "--save", saved});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    const std::string file = dir.File("open.ocd");
    fs::copy_file(CliBinDir() + "/Initial_LMR.ocd", file);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    ASSERT_TRUE(window->OpenFile(file));
    const cmcEeprom before = window->Current();
    const std::string fileBefore = ReadFileText(file);

    box.shown.clear();
    window->CloneRead();
    ASSERT_TRUE(CancelWhenDataMoves()) << ReadFileText(dir.File("sim.log"));
    EXPECT_EQ(window->Clone().LastOutcome(), kCloneCancelled);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);
    EXPECT_NE(box.shown[0].text.find(CancelLine(0)), std::string::npos) << box.shown[0].text;
    EXPECT_TRUE(window->Current() == before);
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(window->Path(), file);
    EXPECT_EQ(ReadFileText(file), fileBefore);
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_TRUE(Progress().MainWindowEnabled());

    // The write: its confirmation answered, then cancelled while the frames go out. A radio goes on
    // sending the memory it was asked for, so the write goes to a radio of its own.
    sim.Stop();
    RadioSimProcess writeSim(dir.File("radio2"), dir.File("sim2.log"), {"--pace", "--save", saved});
    ASSERT_TRUE(writeSim.Ready());
    UsePort(writeSim.Port());
    env.backupBeforeWrite = 0; // the write's own frames are cancelled, not the backup read before them
    box.shown.clear();
    box.answers.clear();
    window->CloneWrite();
    ASSERT_TRUE(CancelWhenDataMoves()) << ReadFileText(dir.File("sim2.log"));
    EXPECT_EQ(window->Clone().LastOutcome(), kCloneCancelled);
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown.back().icon, cmcMessageBox::Icon::Warning);
    EXPECT_NE(box.shown.back().text.find(CancelLine(2)), std::string::npos) << box.shown.back().text;
    EXPECT_FALSE(fs::exists(saved)); // the radio commits only a complete write
    EXPECT_TRUE(window->Current() == before);
}

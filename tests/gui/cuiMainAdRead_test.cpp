// A/D read and the A/D window of the desktop program: the adjust-read lock and the adjustment
// caution without a radio, then against the simulated radio over a pseudo-terminal the adjustment
// state after a clone read and in factory adjust mode, with the adjustment branch of the tree and
// the A/D values in the A/D window. Every wait is bounded.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indCloneCommands.h"
#include "clone/cmcPortMap.h"
#include "gui/cuiAdCommands.h"
#include "gui/cuiAdWindow.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiCloneProgress.h"
#include "model/indDataFile.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"

#include <QAction>
#include <QTest>
#include <deque>

namespace {

constexpr int kLimitMs = 30000;
constexpr const char* kAdjustSheet = "GI_Sheet_Adjust";

// The radio's end address a little past the packed initial data, so that reads stay short.
std::string ShortEnd() {
    cmcEeprom initial;
    initial.SetSize(cmcEeprom::kWorkSize);
    EXPECT_EQ(indDataFile::Load(CliBinDir() + "/Initial_LMR.ocd", initial), cmcKvtFile::FileError::Ok);
    char text[16];
    std::snprintf(text, sizeof text, "%X",
                  static_cast<unsigned>((indCloneCommands::DataEnd(initial) | 0xFF) + 0x100));
    return text;
}

struct AdFixture : MainWindowFixture {
    TempDir dir;
    std::deque<std::string> passwords; // answers of the password dialog; none left cancels
    int passwordAsked = 0;

    cuiMain::Services AdServices() {
        cuiMain::Services s = WindowServices();
        env.comSpeedHigh = 1;
        s.askAdjustPassword = [this](std::string& password) {
            ++passwordAsked;
            if (passwords.empty()) {
                return false;
            }
            password = passwords.front();
            passwords.pop_front();
            return true;
        };
        return s;
    }
    void SetUp() override { StartWindow(AdServices()); }
    std::string Text(const char* key) { return tables.Text().GetJoinedText(key); }
    bool CautionShown(size_t at) const { return at < box.shown.size() && box.shown[at].text == caution; }
    bool WaitForAdjustBranch() {
        return QTest::qWaitFor([&] { return window->TreeNode(kAdjustSheet) != nullptr; }, kLimitMs);
    }
    bool WaitIdle() {
        return QTest::qWaitFor([&] { return !window->Clone().IsBusy(); }, kLimitMs);
    }
    void UsePort(const std::string& device) {
        env.comPort = cmcPortMap::kMaxPort;
        env.comDevice = device;
    }
    std::string caution;
};

} // namespace

TEST_F(AdFixture, TheLockOpensOnceWithTheRightPasswordAndTheCautionCanCancel) {
    caution = Text("GI_Mess_Adjust_Caution");
    // No AdjustMode setting: the lock is open, the caution comes at once and Cancel stops.
    box.answers = {cmcMessageBox::Answer::Cancel};
    window->AdRead();
    EXPECT_EQ(passwordAsked, 0);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(CautionShown(0));
    EXPECT_FALSE(window->Clone().IsBusy());

    // A fresh session with a password set: wrong answers leave it locked with a message, a cancelled
    // dialog without one, and nothing reaches the caution.
    box.shown.clear();
    env.adjustPassword = "bench12";
    window.reset();
    StartWindow(AdServices());
    const std::string wrong = Text("GI_AppInd_Opt_AdjReadPwd_Wrong");
    struct Case {
        std::deque<std::string> answer; // empty: the dialog is cancelled
        bool message;
    };
    const Case cases[] = {{{"bench1"}, true}, {{"bench123"}, true}, {{""}, true}, {{}, false}};
    for (const Case& c : cases) {
        box.shown.clear();
        passwords = c.answer;
        window->AdRead();
        EXPECT_FALSE(window->Ad().Unlocked());
        ASSERT_EQ(box.shown.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(box.shown[0].text, wrong);
            EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
        }
    }
    // The right one opens the lock for the session: the caution follows, and later runs ask no more.
    passwordAsked = 0;
    box.shown.clear();
    passwords = {"bench12"};
    box.answers = {cmcMessageBox::Answer::Cancel, cmcMessageBox::Answer::Cancel};
    window->AdRead();
    window->AdRead();
    EXPECT_EQ(passwordAsked, 1);
    EXPECT_TRUE(window->Ad().Unlocked());
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_TRUE(CautionShown(0) && CautionShown(1));
    EXPECT_EQ(window->TreeNode(kAdjustSheet), nullptr);

    // View A/D before the adjustment state: the window opens, checked, with no values and says why.
    window->ToggleAdView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->AdWindow() && window->AdWindow()->isVisible(); }, 2000));
    EXPECT_EQ(window->AdWindow()->ValueText(0), "-");
    EXPECT_EQ(window->AdWindow()->NoteText().toStdString(), tables.Text().GetLine("GI_AdWindow_Notes", 0));
    for (QAction* action : window->CommandActions("CL_Menu_View_Ad")) {
        EXPECT_TRUE(action->isChecked());
    }
    window->ToggleAdView();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->AdWindow() == nullptr; }, 2000));
    EXPECT_FALSE(window->AdViewOn());
}

TEST_F(AdFixture, AfterACloneReadTheRadioEntersItsAdjustmentStateAndTheWindowShowsItsValues) {
    caution = Text("GI_Mess_Adjust_Caution");
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--end", ShortEnd()});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    ASSERT_EQ(window->TreeNode(kAdjustSheet), nullptr);

    window->AdRead();
    ASSERT_TRUE(WaitForAdjustBranch()) << ReadFileText(dir.File("sim.log"));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(box.shown.size(), 1u) << box.shown.back().text;
    EXPECT_TRUE(CautionShown(0));
    EXPECT_EQ(window->TreeFilterLevel(), 1);
    EXPECT_TRUE(window->Ad().Adjusting());
    EXPECT_TRUE(window->Modified()); // the radio's data came in with the read
    EXPECT_TRUE(window->Clone().Progress().MainWindowEnabled());

    // View A/D reads the values the radio reports; View A/D update reads them again.
    window->ToggleAdView();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->AdWindow() && window->AdWindow()->ValueText(0) == "180"; }, kLimitMs));
    EXPECT_EQ(window->AdWindow()->ValueText(4), "200");
    EXPECT_EQ(window->AdWindow()->NoteText().toStdString(), tables.Text().GetLine("GI_AdWindow_Notes", 2));
    ASSERT_TRUE(WaitIdle());
    window->UpdateAdView();
    EXPECT_EQ(window->AdWindow()->NoteText().toStdString(), tables.Text().GetLine("GI_AdWindow_Notes", 1));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window->AdWindow()->NoteText().toStdString() ==
                   tables.Text().GetLine("GI_AdWindow_Notes", 2);
        },
        kLimitMs));

    // The radio gone: the reading ends in the clone error message and the window says what to do.
    sim.Stop();
    ASSERT_TRUE(WaitIdle());
    box.shown.clear();
    window->UpdateAdView();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(window->AdWindow()->ValueText(0), "-");
    EXPECT_EQ(window->AdWindow()->NoteText().toStdString(), tables.Text().GetLine("GI_AdWindow_Notes", 3));
    EXPECT_TRUE(window->Clone().Progress().MainWindowEnabled());
}

TEST_F(AdFixture, FactoryAdjustModeEntersTheAdjustmentStateWithoutACloneRead) {
    caution = Text("GI_Mess_Adjust_Caution");
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--end", ShortEnd()});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    window->EnterFactoryMode(); // its caution answered OK
    ASSERT_TRUE(window->FactoryMode());
    box.shown.clear();
    // The A/D window already open reads its values as soon as the adjustment state is entered.
    window->ToggleAdView();

    window->AdRead();
    ASSERT_TRUE(WaitForAdjustBranch()) << ReadFileText(dir.File("sim.log"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->AdWindow() && window->AdWindow()->ValueText(0) == "180"; }, kLimitMs));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(box.shown.size(), 1u) << box.shown.back().text;
    EXPECT_TRUE(CautionShown(0));
    EXPECT_FALSE(window->Modified()); // no data was read
}

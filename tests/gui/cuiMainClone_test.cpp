// The desktop program's clone and port commands against the simulated radio over a pseudo-terminal:
// read with the password dialog and the Cloning window, write with its checks and confirmations,
// clone errors that leave the data alone, the port and speed check marks, and the port and password
// dialogs themselves. Every wait is bounded.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellNumber.h"
#include "clone/cmcPortDiscovery.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiCloneInfoWindow.h"
#include "gui/cuiCloneProgress.h"
#include "gui/cuiMain.h"
#include "gui/cuiPasswordDialog.h"
#include "gui/cuiPortDialog.h"
#include "gui/cuiSheetView.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indDataFile.h"
#include "model/indInfoCells.h"
#include "model/indModel.h"
#include "platform/cuiQtLoop.h"
#include "sheets/cuiSheet.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr int kCloneLimitMs = 30000;

std::string Initial() {
    return CliBinDir() + "/Initial_LMR.ocd";
}

// A clone data file of the initial data with channel 3 in use on rxHz.
std::string DataFile(const TempDir& dir, const std::string& name, int32_t rxHz) {
    cmcEeprom initial;
    initial.SetSize(cmcEeprom::kWorkSize);
    EXPECT_EQ(indDataFile::Load(Initial(), initial), cmcKvtFile::FileError::Ok);
    indModel model(&initial, nullptr, indModel::Settings{});
    cmcEeprom work = initial;
    model.Convert(work, 0);
    datCh ch(&work);
    ch.Decode(indModel::kChannelKind, 3);
    ch.rxFrequency = rxHz;
    ch.txFrequency = rxHz;
    ch.Encode(indModel::kChannelKind, 3);
    model.Convert(work, 1);
    std::string path = dir.File(name);
    EXPECT_EQ(indDataFile::Save(path, work, "gui"), cmcKvtFile::FileError::Ok);
    return path;
}

// The radio's end address a little past the packed initial data, so that reads stay short.
std::string ShortEnd() {
    cmcEeprom initial;
    initial.SetSize(cmcEeprom::kWorkSize);
    EXPECT_EQ(indDataFile::Load(Initial(), initial), cmcKvtFile::FileError::Ok);
    char text[16];
    std::snprintf(text, sizeof text, "%X",
                  static_cast<unsigned>((indCloneCommands::DataEnd(initial) | 0xFF) + 0x100));
    return text;
}

int32_t Channel3(cmcEeprom& work) {
    datCh ch(&work);
    ch.Decode(indModel::kChannelKind, 3);
    return ch.rxFrequency;
}

struct CloneFixture : MainWindowFixture {
    TempDir dir;
    std::deque<std::string> passwords; // answers of the password dialog; none left cancels
    int passwordAsked = 0;
    int dataErrors = 0;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        env.comSpeedHigh = 1;
        s.askClonePassword = [this](std::string& password) {
            ++passwordAsked;
            if (passwords.empty())
                return false;
            password = passwords.front();
            passwords.pop_front();
            return true;
        };
        s.warningCheck = [this] { return dataErrors; };
        StartWindow(s);
    }
    void UsePort(const std::string& device) {
        env.comPort = cmcPortMap::kMaxPort;
        env.comDevice = device;
    }
    // Runs the event loop until the clone command has ended; false when it did not end in time.
    bool WaitForClone() {
        return QTest::qWaitFor([&] { return !window->Clone().IsBusy(); }, kCloneLimitMs);
    }
    std::string Text(const char* key) { return tables.Text().GetJoinedText(key); }
    std::string Head(int code) { return tables.Text().GetLine("GI_Mess_CloneErr_Head", code); }
};

} // namespace

TEST_F(CloneFixture, ReadFromAProtectedRadioAsksThePasswordAndReplacesTheData) {
    RadioSimProcess sim(
        dir.File("radio"), dir.File("sim.log"),
        {"--image", DataFile(dir, "radio.ocd", 151625000), "--password", "secret", "--end", ShortEnd()});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    ASSERT_NE(Channel3(window->Current()), 151625000);
    passwords = {"secret"};
    bool progressShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { progressShown |= window->Clone().Progress().isVisible(); });
    watch.start(5);

    window->CloneRead();
    // While the clone runs the window stays, without asking anything.
    EXPECT_TRUE(window->Clone().IsBusy());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(box.shown.empty());
    ASSERT_TRUE(WaitForClone()) << ReadFileText(dir.File("sim.log"));
    watch.stop();
    EXPECT_EQ(window->Clone().LastOutcome(), 0);
    EXPECT_TRUE(box.shown.empty()) << box.shown[0].text;
    EXPECT_EQ(passwordAsked, 1);
    EXPECT_EQ(env.sessionClonePassword, "secret");
    EXPECT_TRUE(progressShown);
    EXPECT_FALSE(window->Clone().Progress().isVisible());
    EXPECT_TRUE(window->Clone().Progress().MainWindowEnabled());
    EXPECT_EQ(window->Clone().Progress().Transferred(), window->Clone().Progress().Total());
    // The radio's data is the window's now: unsaved, without a file.
    EXPECT_EQ(Channel3(window->Current()), 151625000);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->Path(), "");
    EXPECT_TRUE(window->windowTitle().startsWith("Untitled *"));
    // The commands come back once the clone has ended.
    for (QAction* action : window->CommandActions("CL_Menu_Clone_Read"))
        EXPECT_TRUE(action->isEnabled());

    // A wrong password: the radio refuses, the data read before stays.
    sim.Stop();
    RadioSimProcess locked(dir.File("radio2"), dir.File("sim2.log"),
                           {"--password", "secret", "--end", ShortEnd()});
    ASSERT_TRUE(locked.Ready());
    UsePort(locked.Port());
    passwords = {"wrong"};
    cmcEeprom before = window->Current();
    box.answers = {cmcMessageBox::Answer::No}; // the read data is unsaved: the save-changes prompt
    window->CloneRead();
    ASSERT_TRUE(WaitForClone());
    EXPECT_EQ(passwordAsked, 2);
    EXPECT_NE(window->Clone().LastOutcome(), 0);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(box.shown[1].caption, tables.Text().GetLine("GI_Sys_AppTitle", 0));
    EXPECT_TRUE(window->Current() == before);
}

TEST_F(CloneFixture, ReadErrorsShowTheCloneMessageAndLeaveTheDataAlone) {
    const struct {
        const char* name;
        std::vector<std::string> sim; // empty: no radio at the port
        int code;
    } cases[] = {
        {"dropped frame", {"--fault", "drop-frame:20", "--end", ShortEnd()}, -1},
        {"wrong model", {"--fault", "wrong-model"}, 11},
        {"no device", {}, 2},
    };
    std::string file = DataFile(dir, "open.ocd", 146000000);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    ASSERT_TRUE(window->OpenFile(file));
    const cmcEeprom before = window->Current();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<RadioSimProcess> sim;
        if (!c.sim.empty()) {
            sim = std::make_unique<RadioSimProcess>(dir.File("radio"), dir.File("sim.log"), c.sim);
            ASSERT_TRUE(sim->Ready());
            UsePort(sim->Port());
        } else {
            UsePort(dir.File("no-such-device"));
        }
        box.shown.clear();
        window->CloneRead();
        ASSERT_TRUE(WaitForClone());
        const int32_t code = window->Clone().LastOutcome();
        EXPECT_GT(code, 0);
        if (c.code > 0) {
            EXPECT_EQ(code, c.code);
        }
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
        std::string head = Head(code);
        if (code == 2)
            head = "Serial port 256 could not be opened. (" + dir.File("no-such-device") + ")";
        EXPECT_EQ(box.shown[0].text.rfind(head, 0), 0u) << box.shown[0].text;
        EXPECT_TRUE(window->Current() == before);
        EXPECT_FALSE(window->Modified());
        EXPECT_EQ(window->Path(), file);
        EXPECT_TRUE(window->Clone().Progress().MainWindowEnabled());
    }
}

TEST_F(CloneFixture, WriteRunsTheChecksAndConfirmationsThenSendsTheData) {
    std::string written = dir.File("written.ocd");
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--save", written});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    ASSERT_TRUE(window->OpenFile(DataFile(dir, "send.ocd", 151625000)));

    // Errors in the data stop the write before the port is opened.
    dataErrors = 1;
    window->CloneWrite();
    ASSERT_TRUE(WaitForClone());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, Text("GI_Mess_DataError"));
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    // Cancelling the confirmation sends nothing.
    dataErrors = 0;
    box.shown.clear();
    box.answers = {cmcMessageBox::Answer::Cancel};
    window->CloneWrite();
    ASSERT_TRUE(WaitForClone());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, Text("GI_Mess_Confirm_CloneWrite"));
    EXPECT_EQ(box.shown[0].buttons, cmcMessageBox::Buttons::OkCancel);
    EXPECT_FALSE(fs::exists(written));

    box.shown.clear();
    box.answers.clear();
    window->CloneWrite();
    ASSERT_TRUE(WaitForClone());
    EXPECT_EQ(window->Clone().LastOutcome(), 0) << (box.shown.empty() ? "" : box.shown.back().text);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);
    EXPECT_EQ(box.shown[1].text, Text("GI_Mess_CloneWrite_Succeeded"));
    EXPECT_EQ(box.shown[1].icon, cmcMessageBox::Icon::Information);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(written); }, 5000));
    cmcEeprom radio;
    radio.SetSize(cmcEeprom::kWorkSize);
    ASSERT_EQ(indDataFile::Load(written, radio), cmcKvtFile::FileError::Ok);
    indModel model(nullptr, nullptr, indModel::Settings{});
    model.Convert(radio, 0);
    EXPECT_EQ(Channel3(radio), 151625000);
    EXPECT_FALSE(window->Modified());
}

TEST_F(CloneFixture, InformationShowsTheRadiosAnswer) {
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"),
                        {"--serial", "00000012AB34", "--password", "x"});
    ASSERT_TRUE(sim.Ready());
    UsePort(sim.Port());
    window->CloneInfo();
    ASSERT_TRUE(WaitForClone());
    // The answer opens the clone information window: its sheet and the clone state lines.
    EXPECT_TRUE(box.shown.empty());
    cuiCloneInfoWindow* info = window->CloneInfoWindow();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    const std::string lines = info->Lines()->text().toStdString();
    for (const char* line :
         {"Model: 3329", "Serial number: 0000001223476", "Clone password: protects reading and writing"})
        EXPECT_NE(lines.find(line), std::string::npos) << line << "\n" << lines;
    EXPECT_EQ(passwordAsked, 0);
    ASSERT_NE(info->View(), nullptr);
    cuiSheet& sheet = info->View()->Sheet();
    std::string serial;
    for (int r = 0; r < sheet.RowCount(); ++r)
        if (sheet.Cell(1, r).cell == CL_CloneInfo_Esn)
            serial = window->Handler()->CellText(sheet.Cell(1, r), 0);
    EXPECT_EQ(serial, "0000001223476");
    // A second read shows one window, with the new answer.
    window->CloneInfo();
    ASSERT_TRUE(WaitForClone());
    QTest::qWait(10);
    EXPECT_EQ(window->findChildren<cuiCloneInfoWindow*>().size(), 1);
}

TEST_F(CloneFixture, PortAndSpeedMenuItemsCarryTheirCheckMarks) {
    auto checked = [&](const char* name, int parameter) {
        QList<QAction*> actions = window->CommandActions(name, parameter);
        EXPECT_FALSE(actions.isEmpty()) << name;
        return !actions.isEmpty() && actions[0]->isChecked();
    };
    env.comPort = 1;
    window->CommandActions("CL_Menu_Port_Com", 2)[0]->trigger();
    EXPECT_EQ(env.comPort, 2);
    EXPECT_TRUE(checked("CL_Menu_Port_Com", 2));
    EXPECT_FALSE(checked("CL_Menu_Port_Com", 1));
    EXPECT_FALSE(checked("CL_Menu_Port_Usb", -1));
    window->CommandActions("CL_Menu_Port_SpeedHigh", 0)[0]->trigger();
    EXPECT_EQ(env.comSpeedHigh, 0);
    EXPECT_TRUE(checked("CL_Menu_Port_SpeedHigh", 0));
    EXPECT_FALSE(checked("CL_Menu_Port_SpeedHigh", 1));
    // A port above 4 checks the USB item and none of the four.
    UsePort("/dev/ttyUSB0");
    window->CommandActions("CL_Menu_Port_SpeedHigh", 1)[0]->trigger();
    EXPECT_TRUE(checked("CL_Menu_Port_Usb", -1));
    EXPECT_TRUE(checked("CL_Menu_Port_SpeedHigh", 1));
    for (int port = 1; port <= 4; ++port)
        EXPECT_FALSE(checked("CL_Menu_Port_Com", port));
    // Font sizes are percentages; the chosen one is checked.
    window->CommandActions("CL_Menu_View_FontSize", 125)[0]->trigger();
    EXPECT_EQ(env.fontSizePercentage, 125);
    EXPECT_TRUE(checked("CL_Menu_View_FontSize", 125));
    EXPECT_FALSE(checked("CL_Menu_View_FontSize", 100));
    // The clone commands sit in the menu and the toolbar, enabled while no clone runs.
    EXPECT_EQ(window->CommandActions("CL_Menu_Clone_Read").size(), 2);
    for (QAction* a : window->CommandActions("CL_Menu_Clone_Write"))
        EXPECT_TRUE(a->isEnabled());
}

namespace {

// A machine with one on-board port and one USB cable, for the port dialogs.
struct PortDialogFixture : testing::Test {
    cmcMemorySettings store;
    indEnviron env{store, nullptr, 1024, 768};
    cmcTextTables tables;
    ScriptedMessageBox box;
    TempDir dir;
    std::unique_ptr<cmcPortDiscovery> ports;

    void SetUp() override {
        tables.Load(cmcAppDir(), 0);
        fs::path tty = dir.File("tty");
        fs::path usb = dir.File("devices/usb1/1-1");
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        WriteFileText((usb / "product").string(), "USB-Serial Cable");
        WriteFileText((usb / "manufacturer").string(), "Zorv");
        fs::create_directories(dir.File("devices/platform/serial8250"));
        for (auto [name, device] :
             {std::pair<const char*, fs::path>{"ttyS0", dir.File("devices/platform/serial8250")},
              {"ttyS1", dir.File("devices/platform/serial8250")},
              {"ttyUSB0", usb / "1-1:1.0/ttyUSB0"}}) {
            fs::create_directories(tty / name);
            fs::create_directory_symlink(device, tty / name / "device");
        }
        ports = std::make_unique<cmcPortDiscovery>(
            tty.string(), "/dev", [](const std::string& path) { return path != "/dev/ttyS1"; });
        env.comPort = 1;
    }
    std::string Refusal() { return tables.Text().GetJoinedText("GI_AppInd_Opt_ComSel_OutofRange"); }
};

} // namespace

TEST_F(PortDialogFixture, NumberEntryTakesOneTo256AndRefusesTheRest) {
    cuiPortDialog dialog(nullptr, 0, env, tables.Text(), box, *ports);
    ASSERT_NE(dialog.Entry(), nullptr);
    EXPECT_EQ(dialog.Entry()->text(), "1");
    EXPECT_EQ(dialog.windowTitle().toStdString(), tables.Text().GetLine("GI_AppInd_Opt_ComSel_Caption", 0));
    for (const char* bad : {"0", "257", "", "x"}) {
        dialog.Entry()->setText(bad);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << bad;
        ASSERT_FALSE(box.shown.empty());
        EXPECT_EQ(box.shown.back().text, Refusal());
        EXPECT_EQ(env.comPort, 1);
    }
    dialog.Entry()->setText(" 33 ");
    EXPECT_NE(dialog.DeviceLabel()->text().indexOf("/dev/ttyUSB0"), -1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(env.comPort, 33);
    EXPECT_EQ(env.comDevice, "/dev/ttyUSB0");
}

TEST_F(PortDialogFixture, TheRegisteredPortsListOffersTheirNumbers) {
    cuiPortDialog numbers(nullptr, 1, env, tables.Text(), box, *ports);
    ASSERT_NE(numbers.List(), nullptr);
    QStringList items;
    for (int i = 0; i < numbers.List()->count(); ++i)
        items << numbers.List()->itemText(i);
    EXPECT_EQ(items, (QStringList{"1", "2", "33"}));
    EXPECT_EQ(numbers.List()->currentText(), "1");
}

TEST(cuiPasswordDialog, AnEmptyPasswordIsRefusedAndTheDialogStays) {
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    ScriptedMessageBox box;
    cuiPasswordDialog dialog(nullptr, tables.Text(), box);
    EXPECT_EQ(dialog.Entry()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.Entry()->maxLength(), 16);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, tables.Text().GetJoinedText("GI_AppInd_Opt_ClonePwd_OutofRange"));
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    QTest::keyClicks(dialog.Entry(), "abc");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Password(), "abc");
}

// The port device dialog on a fake machine: the devices it lists and how it names them, choosing one
// by keyboard, the stable link it stores, a remembered cable that is unplugged, typed paths kept as
// choices across sessions, and the status bar's port, speed and model type.
#include "../clone/FakePortTree.h"
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEv.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiMain.h"
#include "gui/cuiPortDialog.h"
#include "gui/cuiStatusPanel.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An on-board port and two identical USB adapters, A12B on ttyUSB0 and C34D on ttyUSB1.
struct PortMachine : FakePortTree {
    std::string a, b;
    cmcPortDiscovery discovery = Discovery();
    PortMachine() {
        OnBoard("ttyS0", true);
        a = PlugUsb("1-1", "ttyUSB0", "A12B");
        b = PlugUsb("1-2", "ttyUSB1", "C34D");
    }
};

struct PortDialogTest : testing::Test {
    PortMachine m;
    cmcMemorySettings store;
    std::unique_ptr<indEnviron> env = std::make_unique<indEnviron>(store, nullptr, 1024, 768);
    cmcTextTables tables;
    ScriptedMessageBox box;

    void SetUp() override { tables.Load(cmcAppDir(), 0); }
    std::unique_ptr<cuiPortDialog> Open() {
        auto dialog = std::make_unique<cuiPortDialog>(nullptr, 2, *env, tables.Text(), box, m.discovery);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    static QStringList Lines(cuiPortDialog& dialog) {
        QStringList lines;
        for (int i = 0; i < dialog.Devices()->count(); ++i)
            lines << dialog.Devices()->item(i)->text();
        return lines;
    }
};

TEST_F(PortDialogTest, ListsTheDevicesByNameAndStoresTheChosenCableByItsStableLink) {
    // A setting that names the node, as a port number gives it, marks the adapter on that node.
    env->comPort = 33;
    env->comDevice = m.dev + "/ttyUSB0";
    auto dialog = Open();
    const QString dev = QString::fromStdString(m.dev);
    EXPECT_EQ(Lines(*dialog),
              (QStringList{"ttyS0 (serial8250) — " + dev + "/ttyS0",
                           "▶ Zorv USB-to-Serial (0403:6001, serial A12B) — " + dev + "/ttyUSB0",
                           "Zorv USB-to-Serial (0403:6001, serial C34D) — " + dev + "/ttyUSB1"}));
    EXPECT_EQ(dialog->Devices()->currentRow(), 1);
    EXPECT_TRUE(dialog->Devices()->hasFocus());

    // One row down is the second adapter: its details show, and the field holds its stable link.
    QTest::keyClick(dialog->Devices(), Qt::Key_Down);
    EXPECT_EQ(dialog->PathEntry()->text().toStdString(), m.b);
    const std::string details = dialog->Details()->text().toStdString();
    for (const std::string& part : {"Device: " + m.dev + "/ttyUSB1", "Stable name: " + m.b,
                                    std::string("Serial number: C34D"), std::string("Driver: ftdi_sio")})
        EXPECT_NE(details.find(part), std::string::npos) << details;
    QTest::keyClick(dialog->Devices(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(env->comDevice, m.b);
    EXPECT_EQ(env->comPort, 34);
    EXPECT_TRUE(env->typedDevices.empty()); // a listed device is no typed path
    EXPECT_EQ(cuiPortDialog::CurrentDevice(*env), m.b);

    // Escape leaves the setting as it is.
    auto again = Open();
    EXPECT_EQ(again->Devices()->currentRow(), 2);
    QTest::keyClick(again->Devices(), Qt::Key_Up);
    QTest::keyClick(again->Devices(), Qt::Key_Escape);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_EQ(env->comDevice, m.b);
}

TEST_F(PortDialogTest, AnUnpluggedCableStaysChosenAndTypedPathsAreKeptAcrossSessions) {
    env->comPort = 34;
    env->comDevice = m.b;
    m.Unplug("1-2", "ttyUSB1", "C34D", false);
    {
        auto dialog = Open();
        QStringList lines = Lines(*dialog);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[2].toStdString(), "▶ Not connected: " + m.b);
        EXPECT_EQ(dialog->Devices()->currentRow(), 2);
        EXPECT_NE(dialog->Details()->text().indexOf("Not connected now"), -1);
        // The cable comes back as ttyUSB0's neighbour after the other one was pulled: Refresh finds it.
        m.Unplug("1-1", "ttyUSB0", "A12B", false);
        m.PlugUsb("1-2", "ttyUSB0", "C34D");
        QTest::mouseClick(dialog->RefreshButton(), Qt::LeftButton);
        lines = Lines(*dialog);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1].toStdString(),
                  "▶ Zorv USB-to-Serial (0403:6001, serial C34D) — " + m.dev + "/ttyUSB0");
        EXPECT_EQ(dialog->Devices()->currentRow(), 1);

        // A relative path is refused; a pseudo-terminal's path is stored as typed.
        dialog->PathEntry()->clear();
        QTest::keyClicks(dialog->PathEntry(), "ttyUSB0");
        QTest::keyClick(dialog->PathEntry(), Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, tables.Text().GetJoinedText("GI_AppInd_Opt_ComDev_BadPath"));
        EXPECT_EQ(env->comDevice, m.b);
        const std::string pts = m.Node("pts/5");
        dialog->PathEntry()->clear();
        QTest::keyClicks(dialog->PathEntry(), QString::fromStdString(pts));
        EXPECT_EQ(dialog->Devices()->currentRow(), -1);
        QTest::keyClick(dialog->PathEntry(), Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(env->comDevice, pts);
        EXPECT_EQ(env->comPort, 256);
    }
    // The next session offers the typed path again, beside the cable, once the setting moved on.
    const std::string pts = m.dev + "/pts/5";
    env->comPort = 33;
    env->comDevice = m.b;
    env.reset();
    env = std::make_unique<indEnviron>(store, nullptr, 1024, 768);
    EXPECT_EQ(env->typedDevices, std::vector<std::string>{pts});
    EXPECT_EQ(env->comDevice, m.b);
    auto dialog = Open();
    QStringList lines = Lines(*dialog);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2].toStdString(), "pts/5 — " + pts);
    QTest::keyClick(dialog->Devices(), Qt::Key_Down);
    EXPECT_EQ(dialog->PathEntry()->text().toStdString(), pts);
}

struct PortStatusTest : MainWindowFixture {
    PortMachine m;
    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.ports = &m.discovery;
        env.comPort = 33;
        env.comDevice = m.a;
        env.comSpeedHigh = 1;
        StartWindow(s);
    }
    bool RunCommand(const char* name, int parameter) {
        cmcCellObj cell;
        cell.cell = cmcCellIds::CellByName(name);
        cell.parameter = parameter;
        return window->ExecuteCommandCell(cell);
    }
};

TEST_F(PortStatusTest, TheStatusBarFollowsPortSpeedAndModelType) {
    ASSERT_NE(window->PortPanel(), nullptr);
    const std::string usb0 = m.dev + "/ttyUSB0";
    EXPECT_EQ(window->PortPanel()->Text().toStdString(),
              "Zorv USB-to-Serial (" + usb0 + ")  |  High speed (38400 baud)  |  LMR type");
    ASSERT_TRUE(RunCommand("CL_Menu_Port_SpeedHigh", 0));
    EXPECT_EQ(window->PortPanel()->Text().toStdString(),
              "Zorv USB-to-Serial (" + usb0 + ")  |  Low speed (9600 baud)  |  LMR type");

    // USB cable... opens the device list; the next adapter is chosen by keyboard.
    bool listed = false;
    WhenModal([](QWidget* w) { return qobject_cast<cuiPortDialog*>(w) != nullptr; },
              [&](QWidget* w) {
                  auto* dialog = static_cast<cuiPortDialog*>(w);
                  listed = dialog->Devices() != nullptr && dialog->Devices()->count() == 3;
                  QTest::keyClick(dialog->Devices(), Qt::Key_Down);
                  QTest::keyClick(dialog->Devices(), Qt::Key_Return);
              });
    ASSERT_TRUE(RunCommand("CL_Menu_Port_Usb", -1));
    EXPECT_TRUE(listed);
    EXPECT_EQ(env.comDevice, m.b);
    EXPECT_EQ(window->PortPanel()->Text().toStdString(),
              "Zorv USB-to-Serial (" + m.dev + "/ttyUSB1)  |  Low speed (9600 baud)  |  LMR type");
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    window->ChangeModel(1, true);
    EXPECT_NE(window->PortPanel()->Text().indexOf("|  PMR type"), -1)
        << window->PortPanel()->Text().toStdString();

    // The chosen cable unplugged: the status bar says so, and a clone names the device it missed.
    m.Unplug("1-2", "ttyUSB1", "C34D", false);
    events.Send(cmcEv::RefreshCommands);
    EXPECT_EQ(window->PortPanel()->Text().toStdString(),
              m.b + " (not connected)  |  Low speed (9600 baud)  |  PMR type");
    box.shown.clear();
    window->CloneRead();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Clone().IsBusy() && !box.shown.empty(); }, 10000));
    EXPECT_NE(box.shown[0].text.find("(" + m.b + ")"), std::string::npos) << box.shown[0].text;
}

} // namespace

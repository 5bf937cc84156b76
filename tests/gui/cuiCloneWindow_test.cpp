// The Cloning window over a running clone read or write on the scripted serial device: it names the
// operation, the port and speed, follows the bytes with the elapsed time and time left, and its Cancel
// button and Escape stop the operation: the port is closed, the window goes and the message says
// what the radio and the data hold.
#include "clone/indCloneMan.h"
#include "core/cmcAppDir.h"
#include "core/cmcGTex.h"
#include "core/cmcVirtualLoop.h"
#include "gui/cuiCloneProgress.h"
#include "support/TestSupport.h"

#include "FakeSerial.h"

#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

cmcEeprom PatternImage(uint8_t seed) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kRadioSize);
    for (int32_t a = 0; a < image.GetSize(); ++a) {
        image.SetByte(a, static_cast<uint8_t>(a * 7 + seed));
    }
    return image;
}

const cmcRange kAll[] = {{0x0000, 0xFF7F}, kRangeListEnd};

struct WindowRig {
    cmcVirtualLoop loop;
    FakeLine line{loop};
    RadioSimEngine radio{{}, PatternImage(3)};
    cmcGTex tex;
    ScriptedMessageBox box;
    QMainWindow main;
    cuiCloneProgress window{&main};
    std::unique_ptr<indCloneMan> man;

    WindowRig() {
        tex.OpenFile(cmcAppFile("ENG.OVL"));
        main.setCentralWidget(new QWidget);
        main.resize(500, 400);
        main.show();
        line.radio = &radio;
        man = std::make_unique<indCloneMan>(
            loop, [this] { return MakeFake(line); }, &tex, &box, &window);
        man->SetModelCodes(0x3329, 0);
        man->SetImageSize(cmcEeprom::kWorkSize);
        man->SetReadHandler([](dst_CDrv_Result&) {});
        cmcPortMap map;
        map.SetDevicePath(5, "/dev/ttyUSB7");
        man->SetPortMap(map);
        man->SetComPort(5);
        window.SetClock([this] { return static_cast<int64_t>(loop.NowMs()); });
        window.SetCancelHandler([this] { man->Cancel(); });
    }
};

} // namespace

TEST(cuiCloneWindow, FollowsTheOperationAndCancelStopsIt) {
    struct Case {
        const char* name;
        bool write;
        bool high;
        bool escape; // cancel by Escape instead of the button
        const char* operation;
        const char* port;
        int cancelLine; // the line of GI_Mess_CloneErr_Cancelled the message ends with
    };
    const Case cases[] = {
        {"read, Cancel button", false, true, false, "Reading from the radio", "/dev/ttyUSB7 at 38400 baud",
         0},
        {"write, Escape", true, false, true, "Writing to the radio", "/dev/ttyUSB7 at 9600 baud", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowRig rig;
        ASSERT_TRUE(rig.tex.HasKey("GI_Mess_CloneErr_Cancelled"));
        rig.man->SetComSpeedHigh(c.high);
        int32_t status = -1;
        auto done = [&](dst_CDrv_Result& r) { status = r.status; };
        const cmcEeprom image = PatternImage(9);
        ASSERT_TRUE(c.write ? rig.man->StartWrite(image, kAll, done) : rig.man->StartRead(kAll, done));
        ASSERT_TRUE(rig.window.isVisible());
        EXPECT_FALSE(rig.window.MainWindowEnabled());
        EXPECT_EQ(rig.window.OperationText(), c.operation);
        EXPECT_EQ(rig.window.PortText(), c.port);
        EXPECT_TRUE(rig.window.TransferText().startsWith("0/65408 bytes"))
            << rig.window.TransferText().toStdString();

        // A second of clone traffic: the bytes, rate and times follow the driver.
        rig.loop.RunUntil([&] { return rig.loop.NowMs() >= 1000 && rig.man->Driver().DataBytes() > 0; },
                          60000);
        rig.loop.Advance(30);
        ASSERT_EQ(status, -1);
        const int32_t shown = rig.window.Transferred();
        EXPECT_GT(shown, 0);
        EXPECT_LT(shown, 65408);
        const QString line = rig.window.TransferText();
        EXPECT_TRUE(line.startsWith(QString("%1/65408 bytes").arg(shown))) << line.toStdString();
        EXPECT_TRUE(line.contains(" elapsed") && line.contains(" left") && line.contains("kB/s"))
            << line.toStdString();

        if (c.escape) {
            QTest::keyClick(&rig.window, Qt::Key_Escape);
        } else {
            QTest::mouseClick(rig.window.CancelButton(), Qt::LeftButton);
        }
        EXPECT_EQ(status, kCloneCancelled);
        EXPECT_FALSE(rig.man->IsBusy());
        EXPECT_FALSE(rig.line.open);
        EXPECT_FALSE(rig.window.isVisible());
        EXPECT_TRUE(rig.window.MainWindowEnabled());
        ASSERT_EQ(rig.box.shown.size(), 1u);
        const std::string& text = rig.box.shown[0].text;
        const std::string tail = rig.tex.GetLine("GI_Mess_CloneErr_Cancelled", c.cancelLine);
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail) << text;
    }
}

TEST(cuiCloneWindow, CancelIsOfferedOncePerOperation) {
    WindowRig rig;
    int cancels = 0;
    rig.window.SetCancelHandler([&] { ++cancels; }); // the operation keeps running
    ASSERT_TRUE(rig.man->StartRead(kAll, [](dst_CDrv_Result&) {}));
    ASSERT_TRUE(rig.window.CancelButton()->isEnabled());
    QTest::mouseClick(rig.window.CancelButton(), Qt::LeftButton);
    QTest::keyClick(&rig.window, Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
    EXPECT_FALSE(rig.window.CancelButton()->isEnabled());
    EXPECT_FALSE(rig.window.close()); // closing is not a way out
    rig.man->Cancel();
    // The next operation offers it again.
    ASSERT_TRUE(rig.man->StartRead(kAll, [](dst_CDrv_Result&) {}));
    EXPECT_TRUE(rig.window.CancelButton()->isEnabled());
    rig.man->Cancel();
}

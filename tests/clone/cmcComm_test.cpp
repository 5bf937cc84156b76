#include "clone/cmcComm.h"
#include "clone/cmcPosixSerial.h"
#include "core/cmcVirtualLoop.h"

#include "FakeSerial.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

TEST(cmcComm, SettingsText) {
    struct Case {
        const char* text;
        int32_t baud;
        bool parity;
        int32_t bits;
        int32_t stop;
    };
    const Case cases[] = {
        {"38400,N,8,1", 38400, false, 8, 0}, {"9600,n,9,2", 9600, false, 8, 2},
        {"9600,O,3,1.5", 9600, true, 4, 1},  {"19200,m,7,1", 19200, true, 7, 0},
        {"4800", 4800, false, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        cmcVirtualLoop loop;
        FakeLine line(loop);
        cmcComm comm(loop, MakeFake(line));
        comm.ApplySettingsText(c.text);
        EXPECT_EQ(comm.Baud(), c.baud);
        EXPECT_EQ(comm.ParityCheck(), c.parity);
        EXPECT_EQ(comm.ByteSize(), c.bits);
        EXPECT_EQ(comm.StopBits(), c.stop);
    }
}

TEST(cmcComm, OpenUsesThePortMapAndRefusesASecondOpen) {
    cmcVirtualLoop loop;
    FakeLine line(loop);
    cmcComm comm(loop, MakeFake(line));
    cmcPortMap map;
    map.SetDevicePath(7, "/dev/ttyUSB3");
    comm.SetPortMap(map);
    ASSERT_TRUE(comm.Open(7, "38400,N,8,1"));
    EXPECT_EQ(line.opened, std::vector<std::string>{"/dev/ttyUSB3"});
    EXPECT_EQ(line.baud, 38400);
    EXPECT_FALSE(comm.Open(2, "9600,N,8,1"));
    EXPECT_EQ(line.opened.size(), 1u);
    EXPECT_EQ(comm.Port(), 7);
    EXPECT_EQ(map.DevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(map.DevicePath(4), "/dev/ttyS3");
    // Numbers without a stored path name their family's device; a number outside the families none.
    EXPECT_EQ(map.DevicePath(6), "/dev/ttyS5");
    EXPECT_EQ(map.DevicePath(33), "/dev/ttyUSB0");
    EXPECT_EQ(map.DevicePath(256), "");
}

TEST(cmcComm, PumpSendsInChunksWhenTheDeviceQueueIsEmpty) {
    cmcVirtualLoop loop;
    FakeLine line(loop);
    cmcComm comm(loop, MakeFake(line));
    ASSERT_TRUE(comm.Open(1, "9600,N,8,1"));
    std::vector<uint8_t> bytes(3000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    comm.Send(bytes.data(), 3000);
    EXPECT_EQ(line.totalWritten, 1024);
    EXPECT_EQ(comm.SendQueueLength(), 1976);
    line.outputCount = 10; // the device still sends: the pump waits
    loop.Advance(30);
    EXPECT_EQ(line.totalWritten, 1024);
    EXPECT_EQ(comm.PendingCount(), 1986);
    line.outputCount = 0;
    loop.Advance(30);
    EXPECT_EQ(line.totalWritten, 3000);
    EXPECT_EQ(line.AllWritten(), bytes);
    EXPECT_EQ(comm.PendingCount(), 0);
}

// The line time of written bytes: what follows bytes still on their way queues behind them, and an
// idle line starts new bytes at once.
TEST(cmcComm, LineTimeOfWrittenBytes) {
    cmcVirtualLoop loop;
    FakeLine line(loop);
    cmcComm comm(loop, MakeFake(line));
    ASSERT_TRUE(comm.Open(1, "9600,N,8,1"));
    EXPECT_FALSE(comm.HasWritten());
    EXPECT_EQ(comm.LineBusyMs(), 0u);
    std::vector<uint8_t> bytes(96, 0x55);
    comm.Send(bytes.data(), 96); // 960 bits: 100 ms
    EXPECT_TRUE(comm.HasWritten());
    EXPECT_EQ(comm.LineBusyMs(), 100u);
    loop.Advance(40);
    comm.Send(bytes.data(), 48); // behind the 60 ms still left
    EXPECT_EQ(comm.LineBusyMs(), 110u);
    EXPECT_EQ(comm.LineIdleMs(), 0u);
    loop.Advance(130);
    EXPECT_EQ(comm.LineBusyMs(), 0u);
    EXPECT_EQ(comm.LineIdleMs(), 20u);
    loop.Advance(1000);
    comm.Send(bytes.data(), 96); // an idle line banks nothing
    EXPECT_EQ(comm.LineBusyMs(), 100u);
    comm.Close();
    ASSERT_TRUE(comm.Open(1, "38400,N,8,2")); // a reopened port starts afresh; 11 bits a byte
    EXPECT_EQ(comm.LineBusyMs(), 0u);
    std::vector<uint8_t> more(384, 0x55);
    comm.Send(more.data(), 384);
    EXPECT_EQ(comm.LineBusyMs(), 110u);
}

TEST(cmcComm, ShortWriteSetsWriteFailed) {
    cmcVirtualLoop loop;
    FakeLine line(loop);
    cmcComm comm(loop, MakeFake(line));
    ASSERT_TRUE(comm.Open(1, "9600,N,8,1"));
    line.acceptLimit = 10;
    std::vector<uint8_t> bytes(20, 0x55);
    comm.Send(bytes.data(), 20);
    EXPECT_EQ(comm.WriteFailed(), 1);
    comm.Close();
    EXPECT_EQ(comm.WriteFailed(), 0);
    EXPECT_EQ(comm.Read(bytes.data(), 20), 0); // closed
}

// The real device on a pseudo-terminal: reads return at once, counts are exact, speed is applied.
TEST(cmcPosixSerial, PseudoTerminal) {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    cmcVirtualLoop loop;
    cmcComm comm(loop, std::make_unique<cmcPosixSerial>());
    cmcPortMap map;
    map.SetDevicePath(5, ptsname(master));
    comm.SetPortMap(map);
    ASSERT_TRUE(comm.Open(5, "38400,N,8,1"));
    termios t{};
    ASSERT_EQ(tcgetattr(master, &t), 0);
    EXPECT_EQ(cmcPosixSerial::BaudOf(cfgetospeed(&t)), 38400);

    uint8_t buf[16];
    EXPECT_EQ(comm.Read(buf, sizeof buf), 0); // nothing there: no waiting
    const uint8_t hello[] = {0xFE, 0x00, 0xFD, 0x0A, 0x0D};
    ASSERT_EQ(write(master, hello, sizeof hello), 5);
    for (int i = 0; i < 100 && comm.InputCount() < 5; ++i)
        usleep(1000);
    EXPECT_EQ(comm.InputCount(), 5);
    EXPECT_EQ(comm.Read(buf, 3), 3);
    EXPECT_EQ(comm.Read(buf + 3, 16), 2);
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 5), std::vector<uint8_t>(hello, hello + 5)); // raw bytes

    comm.Send(hello, 5);
    uint8_t got[8] = {};
    ssize_t n = 0;
    for (int i = 0; i < 100 && n < 5; ++i) {
        ssize_t r = read(master, got + n, sizeof got - static_cast<size_t>(n));
        if (r > 0)
            n += r;
        else
            usleep(1000);
    }
    EXPECT_EQ(n, 5);
    EXPECT_EQ(std::vector<uint8_t>(got, got + 5), std::vector<uint8_t>(hello, hello + 5));
    comm.Close();
    // Exclusivity is released on close, so the port opens again.
    EXPECT_TRUE(comm.Open(5, "9600,N,8,1"));
    comm.Close();
    EXPECT_FALSE(comm.Open(6, "9600,N,8,1")); // no device for the number
    close(master);
}

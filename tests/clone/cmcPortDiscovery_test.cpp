// Port discovery on a fake sysfs tree: which ports count as registered and present, their descriptive
// names from the USB strings, the device list with stable by-id links, and how typed port numbers are
// read.
#include "FakePortTree.h"
#include "clone/cmcPortDiscovery.h"
#include "clone/cmcPortMap.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

// sys/class/tty and sys/devices as the kernel lays them out for an on-board port, a USB adapter, a
// USB modem-class cable, a second on-board port without hardware and a virtual terminal.
struct FakeSys {
    TempDir dir;
    std::string tty = dir.File("sys/class/tty");
    std::set<std::string> opening{"/dev/ttyS0", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyACM0"};

    FakeSys() {
        fs::path devices = dir.File("sys/devices");
        fs::path usb = devices / "usb1/1-1";
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        WriteFileText((usb / "product").string(), "USB-Serial Cable\n");
        WriteFileText((usb / "manufacturer").string(), "Zorv\n");
        fs::path acm = devices / "usb1/1-2";
        fs::create_directories(acm / "1-2:1.0");
        WriteFileText((acm / "product").string(), "Zorv Clone Cable");
        WriteFileText((acm / "manufacturer").string(), "Zorv");
        fs::path platform = devices / "platform/serial8250";
        fs::create_directories(platform);
        fs::create_directories(dir.File("sys/bus/drivers/serial8250"));
        fs::create_symlink(fs::path(dir.File("sys/bus/drivers/serial8250")), platform / "driver");

        Port("ttyS0", platform);
        Port("ttyS1", platform);
        Port("ttyS10", platform);
        Port("ttyUSB0", usb / "1-1:1.0/ttyUSB0");
        Port("ttyACM0", acm / "1-2:1.0");
        fs::create_directories(fs::path(tty) / "tty1"); // no device: not a serial port
        fs::create_directories(fs::path(tty) / "ptmx");
    }
    void Port(const std::string& name, const fs::path& device) {
        fs::create_directories(fs::path(tty) / name);
        fs::create_directory_symlink(device, fs::path(tty) / name / "device");
    }
    cmcPortDiscovery Discovery() {
        return cmcPortDiscovery(tty, "/dev",
                                [this](const std::string& path) { return opening.count(path) > 0; });
    }
};

} // namespace

TEST(cmcPortDiscovery, ListsRegisteredAndPresentPortsInNumberOrder) {
    FakeSys sys;
    cmcPortDiscovery d = sys.Discovery();
    // ttyS10 is port 11 and sorts after port 2; the virtual terminal is left out.
    EXPECT_EQ(d.ListRegisteredPorts(), (std::vector<int>{1, 2, 11, 33, 97}));
    EXPECT_EQ(d.ListPresentPorts(), (std::vector<int>{1, 11, 33, 97}));
    EXPECT_EQ(d.DevicePath(33), "/dev/ttyUSB0");
}

TEST(cmcPortDiscovery, DeviceTextsNameTheProductAndOnlyPresentPorts) {
    FakeSys sys;
    cmcPortDiscovery d = sys.Discovery();
    std::vector<std::string> devices = d.ListPortDevices({97, 33, 1});
    EXPECT_EQ(devices,
              (std::vector<std::string>{"1: serial8250 (ttyS0)", "33: Zorv USB-Serial Cable (ttyUSB0)",
                                        "97: Zorv Clone Cable (ttyACM0)"}));
    // A number without a device of its own gives no entry.
    EXPECT_TRUE(d.ListPortDevices({250}).empty());
    // A missing tree lists nothing instead of failing.
    cmcPortDiscovery none(sys.dir.File("nothing"), "/dev", [](const std::string&) { return true; });
    EXPECT_TRUE(none.ListRegisteredPorts().empty());
    EXPECT_TRUE(none.ListPresentPorts().empty());
}

TEST(cmcPortDiscovery, ReadsTypedAndListedPortNumbers) {
    const struct {
        const char* text;
        bool ok;
        int number;
    } cases[] = {{"1", true, 1},    {" 12 ", true, 12}, {"256", true, 256}, {"0", false, 0},
                 {"257", false, 0}, {"", false, 0},     {"   ", false, 0},  {"3a", false, 0},
                 {"-4", false, 0},  {"99999", false, 0}};
    for (const auto& c : cases) {
        int n = 0;
        EXPECT_EQ(cmcPortDiscovery::ParsePortNumber(c.text, n), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(n, c.number) << c.text;
        }
    }
    EXPECT_EQ(cmcPortDiscovery::PortNumberOf("COM12"), 12);
    EXPECT_EQ(cmcPortDiscovery::PortNumberOf("33: Zorv USB-Serial Cable (ttyUSB0)"), 33);
    EXPECT_EQ(cmcPortDiscovery::PortNumberOf("Zorv"), 0);
}

TEST(cmcPortMap, FamilyNumbersNameTheSameDeviceBothWays) {
    for (const char* name : {"ttyS0", "ttyS31", "ttyUSB0", "ttyUSB63", "ttyACM5", "ttyAMA0", "rfcomm2"}) {
        int n = cmcPortMap::NumberOfDevice(name);
        ASSERT_GT(n, 0) << name;
        EXPECT_LE(n, cmcPortMap::kMaxPort);
        EXPECT_EQ(cmcPortMap::DeviceName(n), name);
    }
    for (const char* name : {"ttyS32", "ttyUSB", "ttyUSBx", "tty1", "pts/3", "ttyUSB0001"})
        EXPECT_EQ(cmcPortMap::NumberOfDevice(name), 0) << name;
    EXPECT_EQ(cmcPortMap::NumberOfDevice("ttyUSB0"), 33);
    EXPECT_EQ(cmcPortMap::DeviceName(256), "");
}

namespace {

// One on-board port with a UART, one without, two identical USB adapters told apart only by their
// serial numbers, and a virtual terminal.
struct TwoAdapters : FakePortTree {
    std::string a, b;
    TwoAdapters() {
        OnBoard("ttyS0", true);
        OnBoard("ttyS1", false);
        a = PlugUsb("1-1", "ttyUSB0", "A12B");
        b = PlugUsb("1-2", "ttyUSB1", "C34D");
        std::filesystem::create_directories(tty + "/tty1");
        Node("tty1");
    }
};

} // namespace

TEST(cmcPortDiscovery, ListsEveryPresentDeviceWithItsUsbDetailsAndStableLink) {
    TwoAdapters m;
    std::vector<cmcPortDevice> list = m.Discovery().ListDevices();
    ASSERT_EQ(list.size(), 3u); // ttyS1 has no UART, tty1 no hardware
    EXPECT_EQ(list[0].path, m.dev + "/ttyS0");
    EXPECT_EQ(list[0].port, 1);
    EXPECT_EQ(list[0].driver, "serial8250");
    EXPECT_EQ(list[0].UsbId(), "");
    EXPECT_EQ(list[0].StableName(), m.dev + "/ttyS0"); // no by-id link: the node itself
    EXPECT_EQ(list[0].ShortName(), "ttyS0");

    const struct {
        std::string name, serial, byId;
        int port;
    } usb[] = {{"ttyUSB0", "A12B", m.a, 33}, {"ttyUSB1", "C34D", m.b, 34}};
    for (size_t i = 0; i < 2; ++i) {
        const cmcPortDevice& d = list[i + 1];
        EXPECT_EQ(d.name, usb[i].name);
        EXPECT_EQ(d.path, m.dev + "/" + usb[i].name);
        EXPECT_EQ(d.port, usb[i].port);
        EXPECT_EQ(d.serial, usb[i].serial);
        EXPECT_EQ(d.byId, usb[i].byId);
        EXPECT_EQ(d.StableName(), usb[i].byId);
        EXPECT_EQ(d.UsbId(), "0403:6001");
        EXPECT_EQ(d.ShortName(), "Zorv USB-to-Serial");
        EXPECT_EQ(d.driver, "ftdi_sio");
    }
}

TEST(cmcPortDiscovery, AStableLinkFollowsTheCableToItsNewNode) {
    TwoAdapters m;
    cmcPortDiscovery d = m.Discovery();
    ASSERT_TRUE(d.Describe(m.b).has_value());
    EXPECT_EQ(d.Describe(m.b)->path, m.dev + "/ttyUSB1");

    // Both cables out; the second comes back alone and gets ttyUSB0.
    m.Unplug("1-1", "ttyUSB0", "A12B", false);
    m.Unplug("1-2", "ttyUSB1", "C34D", false);
    EXPECT_FALSE(d.Describe(m.b).has_value());
    m.PlugUsb("1-2", "ttyUSB0", "C34D");
    std::optional<cmcPortDevice> now = d.Describe(m.b);
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->path, m.dev + "/ttyUSB0");
    EXPECT_EQ(now->serial, "C34D");
    EXPECT_EQ(now->byId, m.b);
    EXPECT_EQ(now->port, 33);
    EXPECT_FALSE(d.Describe(m.a).has_value());
    ASSERT_EQ(d.ListDevices().size(), 2u);
    EXPECT_EQ(d.ListDevices()[1].byId, m.b);

    // A node without hardware, a missing path and a pseudo-terminal behind a link of its own.
    EXPECT_FALSE(d.Describe(m.dev + "/ttyS1").has_value());
    EXPECT_FALSE(d.Describe(m.dev + "/ttyUSB7").has_value());
    std::string pts = m.Node("pts/5");
    std::filesystem::create_symlink(pts, m.dir.File("ttyV0"));
    now = d.Describe(m.dir.File("ttyV0"));
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->name, "pts/5");
    EXPECT_EQ(now->path, pts);
    EXPECT_EQ(now->port, 0);
}

// Port discovery on a fake sysfs tree: which ports count as registered and present, their descriptive
// names from the USB strings, and how typed port numbers are read.
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

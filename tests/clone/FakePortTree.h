#pragma once
// A machine's serial devices as files in a temporary folder, laid out as the kernel and udev lay them
// out: sys/class/tty/<name>/device links into sys/devices, USB descriptors on the USB device above
// the port, device nodes in dev/ and the stable links in dev/serial/by-id. Cables can be unplugged
// and plugged in again under another node.
#include "clone/cmcPortDiscovery.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <string>

class FakePortTree {
public:
    TempDir dir;
    std::string tty = dir.File("sys/class/tty");
    std::string dev = dir.File("dev");

    // An on-board port; without a UART the kernel reports type 0 and its node does not open.
    void OnBoard(const std::string& name, bool uart) {
        namespace fs = std::filesystem;
        fs::path platform = dir.File("sys/devices/platform/serial8250");
        if (!fs::exists(platform / "driver")) {
            fs::create_directories(platform);
            fs::create_directories(dir.File("sys/bus/platform/drivers/serial8250"));
            fs::create_symlink(dir.File("sys/bus/platform/drivers/serial8250"), platform / "driver");
        }
        Link(name, platform);
        WriteFileText(tty + "/" + name + "/type", uart ? "4\n" : "0\n");
        Node(name);
    }
    // A USB serial adapter on USB port `hub`, with its descriptors, as node `name`. Returns its by-id
    // link.
    std::string PlugUsb(const std::string& hub, const std::string& name, const std::string& serial) {
        namespace fs = std::filesystem;
        fs::path usb = dir.File("sys/devices/pci0000:00/usb1/" + hub);
        fs::path port = usb / (hub + ":1.0") / name;
        fs::create_directories(port);
        WriteFileText((usb / "idVendor").string(), "0403\n");
        WriteFileText((usb / "idProduct").string(), "6001\n");
        WriteFileText((usb / "product").string(), "USB-to-Serial\n");
        WriteFileText((usb / "manufacturer").string(), "Zorv\n");
        WriteFileText((usb / "serial").string(), serial + "\n");
        fs::create_directories(dir.File("sys/bus/usb-serial/drivers/ftdi_sio"));
        fs::create_symlink(dir.File("sys/bus/usb-serial/drivers/ftdi_sio"), port / "driver");
        Link(name, port);
        Node(name);
        std::string byId = ByIdOf(serial);
        fs::create_directories(dev + "/serial/by-id");
        fs::remove(byId);
        fs::create_symlink("../../" + name, byId);
        return byId;
    }
    // Pulls a USB adapter out: its node, its sysfs entries and (unless udev is slow) its by-id link go.
    void Unplug(const std::string& hub, const std::string& name, const std::string& serial, bool keepLink) {
        namespace fs = std::filesystem;
        fs::remove_all(dir.File("sys/devices/pci0000:00/usb1/" + hub));
        fs::remove_all(tty + "/" + name);
        fs::remove(dev + "/" + name);
        if (!keepLink)
            fs::remove(ByIdOf(serial));
    }
    std::string ByIdOf(const std::string& serial) const {
        return dev + "/serial/by-id/usb-Zorv_USB-to-Serial_" + serial + "-if00-port0";
    }
    // A node without sysfs entry, as a pseudo-terminal is.
    std::string Node(const std::string& name) {
        std::filesystem::create_directories(std::filesystem::path(dev + "/" + name).parent_path());
        WriteFileText(dev + "/" + name, "");
        return dev + "/" + name;
    }
    // Nodes open when they exist: no device is really opened.
    cmcPortDiscovery Discovery() const {
        return cmcPortDiscovery(tty, dev,
                                [](const std::string& path) { return std::filesystem::exists(path); });
    }

private:
    void Link(const std::string& name, const std::filesystem::path& device) {
        std::filesystem::create_directories(tty + "/" + name);
        std::filesystem::create_directory_symlink(device, tty + "/" + name + "/device");
    }
};

#pragma once
// Finds the serial ports of this machine for the port selection dialog: the registered ports (tty
// devices the kernel ties to hardware), the present ones (whose device node opens), their descriptive
// names from the USB product and manufacturer, and every present device with its stable by-id link.
// Reads a sysfs tree and a device tree given at construction.
#include "clone/cmcPortDevice.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class cmcPortDiscovery {
public:
    // Tells whether a device node opens; the default tries a non-blocking open and closes at once.
    using OpenProbe = std::function<bool(const std::string& path)>;

    // ttyRoot: the folder of tty classes ("/sys/class/tty"); devRoot: the device folder ("/dev").
    explicit cmcPortDiscovery(std::string ttyRoot = "/sys/class/tty", std::string devRoot = "/dev",
                              OpenProbe probe = nullptr);

    // Port numbers of the tty devices that have hardware behind them, ascending.
    std::vector<int> ListRegisteredPorts() const;
    // The registered ports whose device node opens, ascending.
    std::vector<int> ListPresentPorts() const;
    // "33: FTDI USB Serial (ttyUSB0)" for each present port, ascending by number.
    std::vector<std::string> ListPortDevices(const std::vector<int>& present) const;
    // The device path of a port number by family under the device folder; empty when none.
    std::string DevicePath(int port) const;

    // Every present serial device (hardware behind it and a node that opens), USB details and by-id
    // link filled in, ordered by port number and then by name.
    std::vector<cmcPortDevice> ListDevices() const;
    // The device a path stands for now: a node, or a link to one (a by-id link follows the cable to
    // whatever node it has now). None when nothing is there. Does not open the device.
    std::optional<cmcPortDevice> Describe(const std::string& path) const;

    // The number after "COM" when the text begins with it, else the number at its start; 0 when none.
    static int PortNumberOf(const std::string& text);
    // A typed port number: blanks around it are ignored, the rest must be decimal digits giving 1 to
    // 256. False for anything else.
    static bool ParsePortNumber(const std::string& text, int& number);
    // Whether a device node opens: missing hardware or node is absent; a node the user may not open
    // (permission, exclusive use by another program) still counts, so that the clone reports why.
    static bool Opens(const std::string& path);

private:
    std::string FriendlyName(const std::string& name) const;
    // Fills in what sysfs and the by-id links tell about the node of the given name.
    cmcPortDevice Details(const std::string& name) const;
    // The node name below the device folder of a path that resolves into it; empty otherwise.
    std::string NodeName(const std::string& path) const;

    std::string m_ttyRoot;
    std::string m_devRoot;
    OpenProbe m_probe;
};

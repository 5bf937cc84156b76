#pragma once
// Port numbers to device paths: 1 to 4 are the first four on-board serial ports, a higher number is
// the device path chosen for it (a USB adapter, a pseudo-terminal), or else the device its number
// stands for by family (ttyS, ttyUSB, ttyACM, ttyAMA, rfcomm each own a fixed block of numbers).
#include <map>
#include <string>

class cmcPortMap {
public:
    static constexpr int kMaxPort = 256;

    // The device path of a port number; empty when the number has no device.
    std::string DevicePath(int port) const;
    // Sets the device of a port number above 4 (lower numbers are fixed); an empty path removes it.
    void SetDevicePath(int port, const std::string& path);

    // The map the settings give: the stored device path (ComDevice) stands for a port number above 4.
    static cmcPortMap FromSettings(int port, const std::string& device);
    // The port number a chosen device path takes: its family's number when the path is (or links to)
    // a node of a family, given as nodeName; else the number no family uses, the last one.
    static int NumberOfPath(const std::string& nodeName);

    // The port number of a device name ("ttyUSB0" gives 33); 0 for a name outside the families.
    static int NumberOfDevice(const std::string& name);
    // The device name of a port number by family ("ttyUSB0" for 33); empty when none.
    static std::string DeviceName(int port);

private:
    std::map<int, std::string> m_paths;
};

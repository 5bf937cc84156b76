#pragma once
// Port numbers to device paths: 1 to 4 are the first four on-board serial ports, a higher number is
// the device path chosen for it (a USB adapter, a pseudo-terminal).
#include <map>
#include <string>

class cmcPortMap {
public:
    // The device path of a port number; empty when the number has no device.
    std::string DevicePath(int port) const;
    // Sets the device of a port number above 4 (lower numbers are fixed); an empty path removes it.
    void SetDevicePath(int port, const std::string& path);

private:
    std::map<int, std::string> m_paths;
};

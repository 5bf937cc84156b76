#include "clone/cmcPortMap.h"

#include <cstdlib>

namespace {

// Each family of serial devices owns a block of port numbers, so a number keeps naming the same
// device from one session to the next. The first block makes ttyS0 port 1, as on-board ports are.
struct Family {
    const char* prefix;
    int first; // port number of unit 0
    int count;
};
constexpr Family kFamilies[] = {
    {"ttyS", 1, 32}, {"ttyUSB", 33, 64}, {"ttyACM", 97, 64}, {"ttyAMA", 161, 32}, {"rfcomm", 193, 32},
};

} // namespace

std::string cmcPortMap::DevicePath(int port) const {
    if (port >= 1 && port <= 4)
        return "/dev/ttyS" + std::to_string(port - 1);
    auto it = m_paths.find(port);
    if (it != m_paths.end())
        return it->second;
    std::string name = DeviceName(port);
    return name.empty() ? std::string() : "/dev/" + name;
}

void cmcPortMap::SetDevicePath(int port, const std::string& path) {
    if (port <= 4)
        return;
    if (path.empty())
        m_paths.erase(port);
    else
        m_paths[port] = path;
}

cmcPortMap cmcPortMap::FromSettings(int port, const std::string& device) {
    cmcPortMap map;
    if (port > 4 && !device.empty())
        map.SetDevicePath(port, device);
    return map;
}

int cmcPortMap::NumberOfPath(const std::string& nodeName) {
    const int number = NumberOfDevice(nodeName);
    return number > 0 ? number : kMaxPort;
}

int cmcPortMap::NumberOfDevice(const std::string& name) {
    for (const Family& f : kFamilies) {
        std::string prefix = f.prefix;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string unit = name.substr(prefix.size());
        if (unit.size() > 3 || unit.find_first_not_of("0123456789") != std::string::npos)
            continue;
        int n = std::atoi(unit.c_str());
        if (n < f.count)
            return f.first + n;
    }
    return 0;
}

std::string cmcPortMap::DeviceName(int port) {
    for (const Family& f : kFamilies)
        if (port >= f.first && port < f.first + f.count)
            return f.prefix + std::to_string(port - f.first);
    return {};
}

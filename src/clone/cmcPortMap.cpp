#include "clone/cmcPortMap.h"

std::string cmcPortMap::DevicePath(int port) const {
    if (port >= 1 && port <= 4)
        return "/dev/ttyS" + std::to_string(port - 1);
    auto it = m_paths.find(port);
    return it == m_paths.end() ? std::string() : it->second;
}

void cmcPortMap::SetDevicePath(int port, const std::string& path) {
    if (port <= 4)
        return;
    if (path.empty())
        m_paths.erase(port);
    else
        m_paths[port] = path;
}

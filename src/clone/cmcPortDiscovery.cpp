#include "clone/cmcPortDiscovery.h"

#include "clone/cmcPortMap.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The first line of a small sysfs attribute file, trimmed; empty when it cannot be read.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    if (line.size() > 128)
        line.resize(128);
    // Descriptors are device-supplied bytes: keep printable ASCII only.
    line.erase(std::remove_if(line.begin(), line.end(),
                              [](char c) {
                                  return static_cast<unsigned char>(c) < 0x20 ||
                                         static_cast<unsigned char>(c) > 0x7E;
                              }),
               line.end());
    return Trimmed(line);
}

} // namespace

cmcPortDiscovery::cmcPortDiscovery(std::string ttyRoot, std::string devRoot, OpenProbe probe)
    : m_ttyRoot(std::move(ttyRoot)), m_devRoot(std::move(devRoot)), m_probe(std::move(probe)) {
    if (!m_probe)
        m_probe = &cmcPortDiscovery::Opens;
}

std::vector<int> cmcPortDiscovery::ListRegisteredPorts() const {
    std::vector<int> ports;
    std::error_code ec;
    for (fs::directory_iterator it(m_ttyRoot, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        int number = cmcPortMap::NumberOfDevice(name);
        std::error_code linkError;
        // Virtual terminals and pseudo-terminals have no "device": only hardware ports do.
        if (number > 0 && fs::exists(it->path() / "device", linkError))
            ports.push_back(number);
    }
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

std::vector<int> cmcPortDiscovery::ListPresentPorts() const {
    std::vector<int> present;
    for (int port : ListRegisteredPorts())
        if (m_probe(DevicePath(port)))
            present.push_back(port);
    return present;
}

std::string cmcPortDiscovery::DevicePath(int port) const {
    std::string name = cmcPortMap::DeviceName(port);
    return name.empty() ? std::string() : m_devRoot + "/" + name;
}

std::string cmcPortDiscovery::FriendlyName(const std::string& name) const {
    cmcPortDevice device = Details(name);
    return device.product.empty() ? device.driver : device.ShortName();
}

cmcPortDevice cmcPortDiscovery::Details(const std::string& name) const {
    cmcPortDevice d;
    d.name = name;
    d.path = m_devRoot + "/" + name;
    d.port = cmcPortMap::NumberOfDevice(name);
    std::error_code ec;
    fs::path device = fs::canonical(fs::path(m_ttyRoot) / name / "device", ec);
    if (!ec) {
        fs::path driver = fs::read_symlink(device / "driver", ec);
        if (!ec)
            d.driver = driver.filename().string();
        // A USB adapter's port and interface sit below the USB device that carries its descriptors.
        fs::path at = device;
        for (int up = 0; up < 4 && !at.empty() && at != at.root_path(); ++up, at = at.parent_path()) {
            d.vendorId = Attribute(at / "idVendor");
            d.product = Attribute(at / "product");
            if (d.vendorId.empty() && d.product.empty())
                continue;
            d.productId = Attribute(at / "idProduct");
            d.manufacturer = Attribute(at / "manufacturer");
            d.serial = Attribute(at / "serial");
            break;
        }
    }
    // The by-id link names the cable by its maker, product and serial number; it moves with the cable
    // to whichever node it gets after re-plugging.
    fs::path node = fs::canonical(d.path, ec);
    if (ec)
        return d;
    std::vector<std::string> links;
    for (fs::directory_iterator it(fs::path(m_devRoot) / "serial/by-id", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == node && !linkError)
            links.push_back(it->path().string());
    }
    std::sort(links.begin(), links.end());
    if (!links.empty())
        d.byId = links.front();
    return d;
}

std::string cmcPortDiscovery::NodeName(const std::string& path) const {
    std::error_code ec;
    fs::path node = fs::canonical(path, ec);
    if (ec)
        return {};
    fs::path root = fs::weakly_canonical(m_devRoot, ec);
    if (ec)
        return {};
    fs::path relative = node.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..")
        return {};
    return relative.string();
}

std::vector<cmcPortDevice> cmcPortDiscovery::ListDevices() const {
    std::vector<cmcPortDevice> devices;
    std::error_code ec;
    for (fs::directory_iterator it(m_ttyRoot, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code linkError;
        // Virtual terminals and pseudo-terminals have no "device": only hardware ports do. An on-board
        // port the kernel found no UART for reports type 0, and its node does not open either.
        if (!fs::exists(it->path() / "device", linkError) || Attribute(it->path() / "type") == "0")
            continue;
        if (!m_probe(m_devRoot + "/" + name))
            continue;
        devices.push_back(Details(name));
    }
    std::sort(devices.begin(), devices.end(), [](const cmcPortDevice& a, const cmcPortDevice& b) {
        const int pa = a.port > 0 ? a.port : cmcPortMap::kMaxPort + 1;
        const int pb = b.port > 0 ? b.port : cmcPortMap::kMaxPort + 1;
        return pa != pb ? pa < pb : a.name < b.name;
    });
    return devices;
}

std::optional<cmcPortDevice> cmcPortDiscovery::Describe(const std::string& path) const {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec))
        return std::nullopt;
    std::string name = NodeName(path);
    // An on-board port without a UART keeps its node, but nothing is behind it.
    if (!name.empty() && Attribute(fs::path(m_ttyRoot) / name / "type") == "0")
        return std::nullopt;
    if (!name.empty())
        return Details(name);
    // A node outside the device folder (a link a test or a port forwarder made) is taken as it is.
    cmcPortDevice d;
    d.path = fs::canonical(path, ec).string();
    d.name = fs::path(d.path).filename().string();
    return d;
}

std::vector<std::string> cmcPortDiscovery::ListPortDevices(const std::vector<int>& present) const {
    std::vector<int> ports = present;
    std::sort(ports.begin(), ports.end());
    std::vector<std::string> devices;
    for (int port : ports) {
        std::string name = cmcPortMap::DeviceName(port);
        if (name.empty())
            continue;
        std::string friendly = FriendlyName(name);
        devices.push_back(std::to_string(port) + ": " +
                          (friendly.empty() ? name : friendly + " (" + name + ")"));
    }
    return devices;
}

int cmcPortDiscovery::PortNumberOf(const std::string& text) {
    size_t at = text.rfind("COM", 0) == 0 ? 3 : 0;
    int number = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        number = number * 10 + (text[at] - '0');
        if (number > 100000)
            return 0;
    }
    return number;
}

bool cmcPortDiscovery::ParsePortNumber(const std::string& text, int& number) {
    std::string t = Trimmed(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int n = std::stoi(t);
    if (n < 1 || n > cmcPortMap::kMaxPort)
        return false;
    number = n;
    return true;
}

bool cmcPortDiscovery::Opens(const std::string& path) {
    if (path.empty())
        return false;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EACCES || errno == EBUSY || errno == EPERM;
}

#pragma once
// One serial device of this machine as port discovery finds it: where its node is, the stable link
// that names the same cable after re-plugging, and what the device tells about itself.
#include <string>

struct cmcPortDevice {
    std::string path;         // the device node, e.g. "/dev/ttyUSB0"
    std::string name;         // the node's name below the device folder, e.g. "ttyUSB0", "pts/5"
    std::string byId;         // the "/dev/serial/by-id/..." link that points at the node; empty when none
    std::string product;      // USB product string
    std::string manufacturer; // USB manufacturer string
    std::string vendorId;     // USB vendor id, four hexadecimal digits
    std::string productId;    // USB product id, four hexadecimal digits
    std::string serial;       // USB serial number
    std::string driver;       // kernel driver of the port, e.g. "ftdi_sio", "serial8250"
    int port = 0;             // the port number of its family; 0 outside the families

    // What to remember to find this device again: the stable link when there is one, else the node.
    const std::string& StableName() const { return byId.empty() ? path : byId; }
    // "Zorv USB-to-Serial" from the product and its maker (the maker once), else the node's name.
    std::string ShortName() const {
        if (product.empty())
            return name.empty() ? path : name;
        if (manufacturer.empty() || product.rfind(manufacturer, 0) == 0)
            return product;
        return manufacturer + " " + product;
    }
    // "0403:6001"; empty when the device is no USB device.
    std::string UsbId() const {
        return vendorId.empty() || productId.empty() ? std::string() : vendorId + ":" + productId;
    }
};

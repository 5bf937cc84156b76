#include "CliClone.h"

#include <cstdio>

// Prints the clone information lines a technician needs.
int CliInfo(const CliArgs& args) {
    CliClone c;
    if (!c.Setup(args, "info"))
        return kCliUsageError;
    if (!c.commands->StartInfo(c.Completion()))
        return kCliUsageError;
    int status = c.Wait();
    if (status != 0)
        return status;
    const auto& info = c.commands->Info();
    const uint8_t* b = info.data();
    std::printf("Model: %04X (extra code %04X)\n", static_cast<unsigned>(c.commands->RadioModelCode()),
                static_cast<unsigned>(c.commands->RadioExtraCode()));
    std::printf("Firmware revision: %d.%d\n", b[indCloneCommands::kInfoRevision] >> 4,
                b[indCloneCommands::kInfoRevision] & 0x0F);
    std::string serial(reinterpret_cast<const char*>(b + indCloneCommands::kInfoSerial), 12);
    for (char& ch : serial)
        if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7E)
            ch = '?';
    std::printf("Serial: %s\n", serial.c_str());
    uint8_t flags = b[indCloneCommands::kInfoFlags];
    std::printf("Clone password: %s\n", !(flags & 0x08)  ? "none"
                                        : (flags & 0x10) ? "protects writing"
                                                         : "protects reading and writing");
    std::printf("Data version: %d\n", b[indCloneCommands::kInfoDataVersion]);
    std::printf("Trunking readiness: %d\n", b[indCloneCommands::kInfoTrunkLevel]);
    std::printf("End address: %04X%s\n", static_cast<unsigned>(indCloneCommands::EndAddress(b)),
                (b[indCloneCommands::kInfoWide] & 0x40) ? " (wide addresses)" : "");
    return 0;
}

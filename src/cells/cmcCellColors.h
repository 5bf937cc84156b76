#pragma once
// Colour values of cell texts and their names. A value with bit 31 set names a system colour
// (0x80000000 plus its number); any other value is 0x00BBGGRR.
#include <cstdint>
#include <string_view>

class cmcCellColors {
public:
    static constexpr uint32_t kSystem = 0x80000000u;
    static constexpr uint32_t clWindow = 0x80000005u;
    static constexpr uint32_t clWindowText = 0x80000008u;
    static constexpr uint32_t clBlack = 0x000000u;
    static constexpr uint32_t clWhite = 0xFFFFFFu;
    static constexpr uint32_t clGray = 0x808080u;
    static constexpr uint32_t clSilver = 0xC0C0C0u;
    static constexpr uint32_t clOlive = 0x008080u;
    static constexpr uint32_t clRed = 0x0000FFu;
    static constexpr uint32_t clNavy = 0x800000u;

    // Looks up a colour name exactly (case sensitive, no spaces); false when it is not known.
    static bool ByName(std::string_view name, uint32_t& value);
    static bool IsSystem(uint32_t color) { return (color & kSystem) != 0; }
};

#pragma once
// The clone information cells (read-only lines from the information bytes of the last clone
// information answer, which the application keeps) and the language cells.
//
// Information block, offsets from its first byte (those the clone manager reads are noted):
//   0       byte count (clone manager)        20      bit 0 stunned, bit 1 killed, bits 4-7 method
//   1       bit 0 PMR family, bits 1-2 variant,        (0 two-tone .. 8 ID, GI_Mess_CloneInfo_StunKill_*)
//           bit 3 keypad fitted                21      bit 0 over-voltage detected
//   2       PLL reference (0-255)               22-23   main firmware checksum
//   3-4     DSP revision characters (0: none)  24-25   DSP firmware checksum
//   32      firmware revision, two nibbles (clone commands)
//   5-9     conventional unit ID, 5 digits     34-35   trunking readiness, data version (manager)
//   10-13   trunking unit ID, 4 digits         37-48   serial number, 12 hexadecimal characters
//   14      option units fitted, bit 0 A ..    53, 56-59, 101, 102-109   (clone manager)
//   15      digital option (line of _Opt_Digi, 0: none)   60-75, 76-91   comments 1 and 2
//   16-19   digital option revision characters and code
#include <cstdint>
#include <string>
#include <vector>

struct indCellCall;

class indInfoCells {
public:
    // Runs the cell's behaviour when it is a clone information or language cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // The serial number as the radio's label shows it ("%04d%02d%07ld" of its three hexadecimal
    // parts), or "" when the 12 characters are not all hexadecimal digits or the block is short.
    static std::string EsnText(const std::vector<uint8_t>& info);
};

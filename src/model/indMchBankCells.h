#pragma once
// The bank cells beside the memory channels: a bank's channel count and type flags, and the counts
// of channels in use and of the room left.
#include <cstdint>

struct indCellCall;

class indMchBankCells {
public:
    // Channel count of the bank (parameter); parameter 8 shows the total in use.
    static bool Count(indCellCall& call, int32_t& result);
    // The type flags of the bank (parameter): SmarTrunk (F0), repeater group (F1), trunking (F3) and its
    // sub-type (F2). A change alters what every channel of the bank shows and which columns its sheet has.
    static bool Type(indCellCall& call, int32_t& result);
    // Channels of one bank (parameter), of all banks, or left.
    static bool Used(indCellCall& call, int32_t& result);
    // The most channels the bank (parameter) can still take.
    static bool Room(indCellCall& call, int32_t& result);
};

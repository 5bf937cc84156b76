#pragma once
// The one place that tells what kind of bank (channel group) a bank is, from its four bank flags, and
// which set of memory-channel columns its sheet hides.
#include <cstdint>

class indBankKind {
public:
    enum class Kind { Ordinary, SmarTrunk, Repeater, Trunking };
    // Column hide sets of the memory-channel sheet: mode A, B, C, and the one of ordinary banks.
    enum class HideSet { A, B, C, Ordinary };

    // Bank flags, bit (7 - bank) of each byte of the working image:
    //   F0 General[20]  SmarTrunk bank
    //   F1 General[157]  conventional repeater (group) bank: channels are group IDs on a repeater,
    //               in use when their table-44 ID is set
    //   F2 General[168]  sub-type of a trunking bank; on its own it changes nothing
    //   F3 General[169]  trunking bank: channels are talk groups, in use when their table-90 group is set
    // When several are set, the first of F1, F3, F0 decides, the same order the channel's in-use test
    // follows (F1 before F3). Banks outside 0..7 are ordinary.
    static Kind Of(const uint8_t* work, int bank);
    // Repeater -> A, SmarTrunk -> B, Trunking -> C, Ordinary -> Ordinary.
    static HideSet HideSetOf(Kind kind);
    static HideSet HideSetOf(const uint8_t* work, int bank) { return HideSetOf(Of(work, bank)); }
};

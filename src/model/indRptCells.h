#pragma once
// The cells of the repeater lists (conventional repeaters of LTR banks, trunking repeaters of
// trunking banks): frequency pair with the repeater offset, options, area bits and type, the blank
// row after a bank's last repeater that creates an entry, and the list events.
#include <cstdint>

struct indCellCall;

class indRptCells {
public:
    // Runs the cell's behaviour when it is a repeater list cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

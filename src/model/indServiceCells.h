#pragma once
// The cells of the maintenance sheets: the radio memory debug sheet (the working image as an address
// and sixteen hexadecimal bytes per row, editable only in maker mode and only where the byte survives
// a save) and the adjustment channel of the adjustment sheet (its position in its bank and the
// captions of its frequencies, power, bandwidth and channel type).
#include <cstdint>

struct indCellCall;

class indServiceCells {
public:
    // Runs the cell's behaviour when it is one of these cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // Whether a debug edit of the working-image byte at offset would survive a save: the maker head of
    // the radio memory (but its model value), and the slot bytes the data keeps. The packed header and
    // tables are rebuilt from the slots on every save, so edits there would be lost.
    static bool DebugEditable(const uint8_t* w, int32_t offset);
};

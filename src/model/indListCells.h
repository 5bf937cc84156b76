#pragma once
// The cells of the model's ID and key lists (NXDN and trunking individual and talk group IDs, dPMR
// individual IDs, encryption keys, MDC aliases): entry values and names, the blank row after the last
// entry that creates a new entry, and the list events.
#include <cstdint>

struct indCellCall;

class indListCells {
public:
    // Runs the cell's behaviour when it is one of these list cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // For the new-row frame: the key cell of a list category's blank row, or -1 (no such list).
    static int32_t KeyCellOf(int32_t category);
};

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
    // Entries in use of a list record kind (18, 19, 24, 28, 29, 31); -1 for kinds without a count. The
    // same as datCh::EntriesInUse, for the callers that ask the list cells.
    static int32_t EntriesInUse(const uint8_t* work, int32_t kind);
    // For the new-row frame: the key cell of a list category's blank row, or -1 (no such list).
    static int32_t KeyCellOf(int32_t category);
};

#pragma once
// The cells of the model's fixed-size lists, one entry per row, described by a table: per-channel
// NAC and colour code pairs with their selection bits, dPMR rotary status numbers, NXDN, dPMR and MSK
// short messages, the MSK, NXDN and dPMR status lists, MSK ID groups and call list, and the scan
// lists' names and priority and transmit channels.
#include <cstdint>

struct indCellCall;

class indEntryCells {
public:
    // Runs the cell's behaviour when the table holds the cell for the call's category; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
};

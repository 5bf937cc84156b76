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
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // The bytes entry parameter of a list spread over two areas occupies: the count of ranges written
    // to offsets and sizes (at most 2), 0 for categories of no such list and entries past it.
    static int StorageOf(int32_t category, int32_t parameter, int32_t offsets[2], int32_t sizes[2]);
};

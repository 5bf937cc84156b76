#pragma once
// The address and ID range cells: the MSK address ranges (individual and group addresses split at
// one boundary, a common and a killer address) and the dPMR ID ranges (individual and group IDs split
// at one boundary). Parameter 0 is a range's first value, 1 its last; the fixed ends and the values
// that follow from the boundary show "(No Edit)" and take no keys.
#include <cstdint>

struct indCellCall;

class indRangeCells {
public:
    // Runs the cell's behaviour when it is a range cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // The bytes a range cell stores in (the whole range table of its kind); false for other cells.
    static bool StorageOf(int32_t cell, int32_t& offset, int32_t& size);
};

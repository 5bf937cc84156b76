#pragma once
// The consistency check cells (CL_Check_...): each ORs the warning and error marks the handler
// computes for a fixed set of other cells over a range of records; they show no text of their own.
#include <cstdint>

struct indCellCall;

class indCheckCells {
public:
    // Runs the check when call.cell is a check cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

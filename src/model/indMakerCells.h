#pragma once
// The maker setting and adjustment cells: runs the rows of the maker table (indMakerTable) on the
// head bytes of the working image or, for adjustment values, through the application.
#include <cstdint>

struct indCellCall;

class indMakerCells {
public:
    // Runs the cell's behaviour when it has a row in the maker table; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

#pragma once
// Settings that name an entry of an ID list (the fixed references the list edits keep up to date, see
// indListEdit): the dPMR status, stun, kill, ambience, GPS and block-decode IDs and the NXDN status and
// GPS IDs, the trunking status and GPS IDs, and the dPMR receive talk groups. Each is a 16-bit entry number
// in the working image, chosen from the list's window.
#include <cstdint>

struct indCellCall;

struct indIdRefRow {
    int32_t cell;
    int32_t at;         // the 16-bit entry number
    int32_t listKind;   // 31 dPMR IDs, 18 NXDN individual IDs
    const char* list;   // choice list of the entries
    int32_t choiceCell; // the list's entry cell
    // References kept per entry of a table (the cell's parameter picks the entry): bytes from one
    // entry's reference to the next, and the entries.
    int32_t stride = 0;
    int32_t entries = 1;
};

class indIdRefCells {
public:
    // The row of a cell number, or nullptr.
    static const indIdRefRow* Find(int32_t cell);
    // Runs the cell's behaviour when it is one of these references; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

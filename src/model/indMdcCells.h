#pragma once
// The cells of the MDC signalling sets: the system list (which general, selective call, radio check,
// emergency, PTT ID, stun, status, message, call alert and revive set each of the five systems uses),
// the five entries of each set, and the status and message lists of 16 texts per set. One table gives
// every cell its byte, bits and codec.
#include <cstdint>

struct indCellCall;

class indMdcCells {
public:
    // Runs the cell's behaviour when it is an MDC set or list cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // The bytes the cell's entry for parameter occupies (the whole set or text entry); false for cells
    // of no MDC table and parameters past the list.
    static bool StorageOf(int32_t cell, int32_t parameter, int32_t& offset, int32_t& size);
};

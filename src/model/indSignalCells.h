#pragma once
// The signalling cells that need a codec of their own: DTMF codes, five-tone sequences and special
// tones, tone frequencies in tenths of a hertz, answer-back codes, digit positions and the captions of
// the DTMF rows. Their names, choices and timers are rows of the setting table; indSignal in
// indLayout.h places every field.
#include <cstdint>

struct indCellCall;

class indSignalCells {
public:
    // Runs the cell's behaviour when it is one of these cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

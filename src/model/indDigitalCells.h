#pragma once
// The NXDN, dPMR, trunking and MSK setting cells that are more than a bit field: 16-bit numbers and unit
// IDs, the fixed unit ID the channels show, the MSK sync word, seven-digit dPMR IDs, the dPMR input
// digits and the dPMR receive status numbers. One table of rows, each a value place and a small named
// behaviour.
#include <cstdint>

struct indCellCall;

class indDigitalCells {
public:
    enum class Kind : uint8_t {
        Number16, // a 16-bit number minimum..maximum (maximum 0: the largest unit ID the overlay allows)
        FixedId,  // the fixed unit ID: while the auto bit is set, the leading digits (shown with their
                  // wildcard digits) at at; otherwise the whole ID at plainAt
        Hex16,    // a 16-bit value in four hexadecimal digits
        BcdId,    // seven packed decimal digits in four bytes
        Digits,   // bits 7..1 of a byte: digit positions 1..7 (bit 0 kept)
        RxStatus, // one receive status number per entry, no two entries of the list alike
    };
    struct Row {
        int32_t cell;
        Kind kind;
        int32_t at;              // the value (FixedId: the leading digits); per entry: entry 0
        int32_t minimum = 0;     // Number16, FixedId (leading digits)
        int32_t maximum = 0;     // Number16 (0: the largest unit ID), FixedId (leading digits)
        int32_t greyAt = 0;      // shown grey (still editable) while the bits greyMask of this byte are
        uint8_t greyMask = 0;    // all clear; 0: never
        bool wider = false;      // a change redraws every cell (the channels show the value)
        int32_t entries = 1;     // RxStatus: entries, one byte each; the cell's parameter picks one
        int32_t autoAt = 0;      // FixedId: the byte and bit that choose the leading-digit form,
        uint8_t autoMask = 0;    //
        int32_t plainAt = 0;     // the whole ID,
        int32_t plainMax = 0;    // its largest value (0: the largest unit ID),
        const char* wildcards{}; // and the wildcard digits shown after the leading digits
    };

    // The row of a cell number, or nullptr.
    static const Row* Find(int32_t cell);
    // Runs the cell's behaviour when it is one of these cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

#pragma once
// The cells of the model cell handler that belong to the application rather than the radio data:
// menu, toolbar and tree commands, pop-up menu entry states, list entries (Flex), channel number and
// drawing cells, user display characters and the live A/D and D/A readings.
#include <cstdint>
#include <string>

struct indCellCall;

class indAppCells {
public:
    // Runs the cell's behaviour when it is one of these cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // The text of an A/D or D/A reading cell for the byte r (0..255); reading as indCellHost numbers
    // them, kind 0 decimal, 1 hexadecimal, 2 converted. lvin is the LVIN reading (temperature needs it).
    static std::string ReadingText(int32_t reading, int32_t kind, int32_t r, int32_t lvin);
};

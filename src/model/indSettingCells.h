#pragma once
// The radio-wide setting and timer cells, and the cell families the handler runs from a declarative
// table; the model cell handler hands Handle the cells of that table (see Serves).
#include <cstdint>

class cmcCellCapsule;
struct indCellCall;

class indSettingCells {
public:
    // Runs the behaviour of call.cell when it is one of these cells: the display text and handler
    // result go into call.io (copied back to the capsule by the handler), changes are written into
    // call.work with call.wrote set and refresh bits added to call.scope; result is the handler result
    // (the codec's). Returns false, touching nothing, when the cell is not one of them.
    static bool Handle(indCellCall& call, cmcCellCapsule& capsule, int32_t notify, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

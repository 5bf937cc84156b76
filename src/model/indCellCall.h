#pragma once
// One call of the model cell handler as a cell behaviour sees it: the capsule and its codec view, the
// decoded record, the working image and what the call accumulates (refresh scope, result, changes).
#include "cells/cmcCodecIo.h"
#include "model/datCh.h"

#include <cstdint>

class cmcCellCapsule;
class cmcCodecEnv;
class cmcEeprom;
class indCellHandler;

struct indCellCall {
    indCellCall(indCellHandler& h, cmcCellCapsule& c, cmcCodecEnv& e, cmcEeprom& w)
        : handler(h), capsule(c), env(e), work(w) {}

    indCellHandler& handler;
    cmcCellCapsule& capsule;
    cmcCodecEnv& env;
    cmcEeprom& work; // the working image (at least indLayout::kWorkSize bytes)
    cmcCodecIo io;   // the codec's view of the capsule; its answer is copied back after the behaviour
    int32_t notify = 0;
    int32_t category = 47;
    int32_t cell = 1754;
    int32_t parameter = 0;
    int32_t recordKind = 0;  // kind of record for the category; 0: none
    datCh record;            // decoded for recordKind and parameter (bound to work)
    int32_t modelFamily = 0; // 0 LMR, 1 PMR
    int32_t unitIdMax = 65519;
    uint8_t scope = 0x01;      // refresh scope bits accumulated by the behaviour
    bool wrote = false;        // radio data changed (the handler then reports the modified state)
    bool banksChanged = false; // banks moved, or a bank became empty or non-empty: event 26

    // The working image bytes.
    uint8_t* W();
    // Whether the data saves the bytes [at, at + size) (a file or radio may lack their table). When it
    // does not, the call only shows the cell: no key, entry or list answer reaches it, as an edit there
    // would vanish on save.
    bool ShowOnlyUnlessKept(int32_t at, int32_t size);
};

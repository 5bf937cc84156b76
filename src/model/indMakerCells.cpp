#include "model/indMakerCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"
#include "model/indMakerTable.h"

#include <cstdio>

namespace {

using Io = cmcCodecIo;
using Kind = indMakerRow::Kind;

bool RunMaker(indCellCall& call, const indMakerRow& row) {
    uint8_t& byte = call.W()[row.at];
    int32_t value = byte;
    bool changed = false;
    switch (row.kind) {
    case Kind::Stepped: {
        cmcNumberCodecs::Stepped p;
        p.minimum = indMakerRow::kMinimum;
        p.maximum = indMakerRow::kMaximum;
        changed = cmcNumberCodecs::EditStepped(call.io, value, p);
        break;
    }
    case Kind::Timer: {
        cmcNumberCodecs::Timer p;
        p.unitsPerSecond = indMakerRow::kTimerUnitsPerSecond;
        changed = cmcNumberCodecs::EditTimer(call.io, call.env, value, p);
        break;
    }
    case Kind::Choice:
        changed = cmcChoiceCodecs::EditChoice(call.io, call.env, value, row.list);
        break;
    case Kind::Shown: {
        char text[16];
        std::snprintf(text, sizeof text, "[%4d]", value * 1000 / indMakerRow::kTimerUnitsPerSecond);
        call.io.Show(text);
        return false;
    }
    default:
        return false;
    }
    if (!changed || call.notify != cmcCellHandler::kNotifyAction || value == byte || value < 0 || value > 255)
        return false;
    byte = static_cast<uint8_t>(value);
    return true;
}

bool RunAdjust(indCellCall& call, const indMakerRow& row, int32_t& result) {
    indCellHost* host = call.handler.host;
    const int32_t value = host ? host->AdjustValue(row.at) : -1;
    if (row.kind == Kind::Sweep) {
        call.io.displayText.clear();
        if (host && call.io.Key() == Io::kKeyReturn)
            host->RunCommand(row.cell, call.parameter, "");
        return false;
    }
    if (value < 0) {
        // Nothing read from the radio yet: nothing to show or change.
        call.io.displayText.clear();
        return false;
    }
    if (row.kind == Kind::Bar) {
        call.io.Show(cmcNumberCodecs::AdjustBar(value, indMakerRow::kMinimum, indMakerRow::kMaximum));
        return false;
    }
    cmcNumberCodecs::Adjust p;
    p.minimum = indMakerRow::kMinimum;
    p.maximum = indMakerRow::kMaximum;
    p.smallStep = row.coarse ? 10 : 1;
    p.largeStep = row.coarse ? 50 : 5;
    int32_t v = value;
    if (!cmcNumberCodecs::EditAdjust(call.io, v, p) || call.notify != cmcCellHandler::kNotifyAction ||
        v == value)
        return false;
    host->SetAdjustValue(row.at, v);
    // The value's bar and its neighbours on the sheet show the new value.
    call.scope |= cmcCellCapsule::kScopeAll;
    result = Io::kResultRefresh;
    return false;
}

} // namespace

bool indMakerCells::Handle(indCellCall& call, int32_t& result) {
    const indMakerRow* row = indMakerTable::Find(call.cell);
    if (!row)
        return false;
    if (row->IsMaker()) {
        if (RunMaker(call, *row)) {
            call.wrote = true;
            result = Io::kResultRefresh;
        }
    } else {
        RunAdjust(call, *row, result);
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indMakerCells::Serves(int32_t cell) {
    return indMakerTable::Find(cell) != nullptr;
}

#include "model/indSettingCells.h"

#include "cells/cmcCellHandler.h"
#include "core/cmcEv.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indKeyCells.h"
#include "model/indSettingCell.h"
#include "model/indSettingTable.h"

bool indSettingCells::Handle(indCellCall& call, cmcCellCapsule&, int32_t notify, int32_t& result) {
    const indSettingRow* row = indSettingTable::Find(call.cell);
    if (!row)
        return false;
    // An external port pin that a port mode holds for its own function takes no setting.
    if (indKeyCells::HandleTakenPort(call, result))
        return true;
    const int32_t entry = row->entries > 1 ? call.parameter : 0;
    indSettingCell::Outcome out = indSettingCell::Run(
        *row, entry, call.io, call.env, call.W(), call.modelFamily, notify == cmcCellHandler::kNotifyAction);
    if (out.changed) {
        call.wrote = true;
        call.scope |= out.scope;
        if (out.redrawAll)
            call.handler.Post(cmcEv::RedrawAll);
    }
    result = call.io.result;
    return true;
}

bool indSettingCells::Serves(int32_t cell) {
    return indSettingTable::Find(cell) != nullptr;
}

#include "model/indToneCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcToneCodec.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indMchCells.h"

namespace {

using Io = cmcCodecIo;

constexpr uint8_t kSelected = 0x02; // in byte 0

} // namespace

bool indToneCells::Handle(indCellCall& call, int32_t& result) {
    if (call.cell != CL_CTone_RX && call.cell != CL_CTone_TX && call.cell != CL_CTone_Sel)
        return false;
    if (call.parameter < 0 || call.parameter >= kRecords) {
        call.io.displayText.clear();
        return true;
    }
    uint8_t* record = call.W() + kRecordsAt + kRecordSize * call.parameter;
    const bool act = call.notify == cmcCellHandler::kNotifyAction;
    bool changed = false;
    if (call.cell == CL_CTone_Sel) {
        int32_t value = (record[0] & kSelected) ? 1 : 0;
        if (cmcChoiceCodecs::EditChoice(call.io, call.env, value, "GI_Sheet_Sel_Misc_OnOff2_I") && act &&
            value != ((record[0] & kSelected) ? 1 : 0)) {
            record[0] = uint8_t(value ? record[0] | kSelected : record[0] & ~kSelected);
            changed = true;
        }
    } else {
        cmcToneCodec::Tone rx = indMchCells::ToCodec(datCh::ReadTone(record));
        cmcToneCodec::Tone tx = indMchCells::ToCodec(datCh::ReadTone(record + 2));
        if (cmcToneCodec::EditTone(call.io, call.env, rx, tx, call.cell == CL_CTone_TX) && act) {
            datCh::WriteTone(indMchCells::FromCodec(rx), record);
            datCh::WriteTone(indMchCells::FromCodec(tx), record + 2);
            changed = true;
        }
    }
    if (changed) {
        call.wrote = true;
        call.scope |= cmcCellCapsule::kScopeRecord; // the receive tone can carry the transmit tone
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indToneCells::Serves(int32_t cell) {
    return cell == CL_CTone_RX || cell == CL_CTone_TX || cell == CL_CTone_Sel;
}

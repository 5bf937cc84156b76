#include "model/indCheckCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcEeprom.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indListCells.h"

namespace {

using L = indLayout;

// Per channel: the cells whose warnings, and the cells whose errors, make the bank's check mark.
constexpr int32_t kMchWarnings[] = {CL_Mch_Scan, CL_Mch_CH_Mute, CL_Mch_2Tone, CL_Mch_WNM, CL_Mch_Moni};
constexpr int32_t kMchErrors[] = {CL_Mch_Sel,           CL_Mch_Call,          CL_Mch_PTT,
                                  CL_Mch_Nxdn_RxNac,    CL_Mch_Nxdn_TxNac,    CL_Mch_Dpmr_RxCc,
                                  CL_Mch_Dpmr_TxCc,     CL_Mch_Nxdn_Ind_List, CL_Mch_VORN_Ind_List,
                                  CL_Mch_Dpmr_Unit_Dec, CL_Mch_Dpmr_TG_List};

// Channel cells are checked where they stand, not in the bank of a sheet that happens to be shown.
struct StandAlone {
    explicit StandAlone(indCellHandler& h) : handler(h), saved(h.shownBank) { h.shownBank = -1; }
    ~StandAlone() { handler.shownBank = saved; }
    indCellHandler& handler;
    int32_t saved;
};

void CheckBank(indCellCall& call, int bank) {
    if (bank < 0 || bank >= L::kGroups)
        return;
    const uint8_t* w = call.work.Data();
    StandAlone alone(call.handler);
    const int first = L::GroupStart(w, bank);
    const int count = L::GroupCount(w, bank);
    uint8_t& marks = call.capsule.stateBits;
    for (int n = first; n < first + count && n < L::kChannels; ++n) {
        for (int32_t cell : kMchWarnings)
            if (!(marks & cmcCellCapsule::kStateWarning) && call.handler.WarningOf(CT_Mch, cell, n))
                marks |= cmcCellCapsule::kStateWarning;
        for (int32_t cell : kMchErrors)
            if (!(marks & cmcCellCapsule::kStateError) && call.handler.ErrorOf(CT_Mch, cell, n))
                marks |= cmcCellCapsule::kStateError;
    }
}

} // namespace

// Warnings of the individual ID cells of the NXDN ID entries in use.
void CheckNxdnIds(indCellCall& call) {
    const int count = indListCells::EntriesInUse(call.work.Data(), 18);
    for (int n = 0; n < count && n < 500; ++n)
        if (call.handler.WarningOf(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, n)) {
            call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
            return;
        }
}

bool indCheckCells::Handle(indCellCall& call, int32_t&) {
    switch (call.cell) {
    case CL_Check_Nxdn_IndID:
        CheckNxdnIds(call);
        call.io.displayText.clear();
        return true;
    case CL_Check_Mch:
        CheckBank(call, call.capsule.groupIndex);
        call.io.displayText.clear();
        return true;
    default:
        return false;
    }
}

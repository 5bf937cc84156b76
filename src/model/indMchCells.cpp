#include "model/indMchCells.h"

#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCodecEnv.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcGTex.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indMchContext.h"
#include "model/indMchTable.h"

namespace {

using L = indLayout;

} // namespace

cmcChoiceCodecs::BankLayout indMchCells::BankLayoutOf(const uint8_t* w) {
    cmcChoiceCodecs::BankLayout banks;
    int32_t start = 0;
    for (size_t g = 0; g < banks.first.size(); ++g) {
        banks.first[g] = start;
        banks.size[g] = indLayout::GroupCount(w, static_cast<int>(g));
        start += banks.size[g];
    }
    return banks;
}

cmcToneCodec::Tone indMchCells::ToCodec(const datCh::Tone& t) {
    cmcToneCodec::Tone c;
    c.flags = uint8_t((t.on ? cmcToneCodec::kOn : 0) | (t.digital ? cmcToneCodec::kDigital : 0) |
                      (t.inverted ? cmcToneCodec::kInverted : 0));
    c.tone = uint16_t(t.index);
    c.code = uint16_t(t.code);
    return c;
}

datCh::Tone indMchCells::FromCodec(const cmcToneCodec::Tone& c) {
    datCh::Tone t;
    t.on = c.flags & cmcToneCodec::kOn;
    t.digital = c.flags & cmcToneCodec::kDigital;
    t.inverted = c.flags & cmcToneCodec::kInverted;
    t.index = c.tone;
    t.code = c.code;
    return t;
}

bool indMchCells::StorageOf(int32_t cell, int32_t channel, int32_t& offset, int32_t& size) {
    switch (cell) {
    case CL_Grp_RxId:
    case CL_Grp_TxId:
    case CL_Grp_HomeRptCh:
    case CL_Grp_BlockIdStart:
    case CL_Grp_BlockIdEnd:
    case CL_Grp_TxInh:
    case CL_Grp_PhonePriv:
    case CL_Grp_BlockIdEnable:
        if (channel < 0 || channel >= L::kChannels)
            return false;
        offset = L::kChC + L::kChCSize * channel;
        size = L::kChCSize;
        return true;
    default:
        return false;
    }
}

int indMchCells::BankOf(const indCellCall& call) {
    const uint8_t* w = call.work.Data();
    if (call.category == CT_Mch_Win && call.handler.mchWindowBank >= 0 &&
        call.handler.mchWindowBank < L::kGroups) {
        return call.handler.mchWindowBank;
    }
    if (call.handler.shownBank >= 0 && call.handler.shownBank < L::kGroups)
        return call.handler.shownBank;
    if (call.category == CT_Mch_Win && call.handler.mchWindowChannel >= 0) {
        int g = L::GroupOf(w, call.handler.mchWindowChannel);
        if (g < L::kGroups)
            return g;
    }
    const int g = L::GroupOf(w, call.parameter);
    if (g < L::kGroups)
        return g;
    for (int b = L::kGroups - 1; b >= 0; --b)
        if (L::GroupCount(w, b) > 0)
            return b;
    return 0;
}

bool indMchCells::IsInBank(const indCellCall& call, int32_t n) {
    const uint8_t* w = call.work.Data();
    const int bank = BankOf(call);
    const int first = L::GroupStart(w, bank);
    return n >= first && n < first + L::GroupCount(w, bank) && n < L::kChannels;
}

bool indMchCells::Handle(indCellCall& call, int32_t& result) {
    const indMchRow* row = indMchTable::Find(call.cell);
    if (row && row->bankRun)
        return row->bankRun(call, result);
    if (ServesWholeRow(call)) {
        // A blank row after 128 channels: there is no slot behind it, only the refusal to add one.
        call.io.displayText.clear();
        if (call.cell == CL_Mch_No || call.cell == CL_MchWin_No) {
            call.io.Show(call.env.Text("GI_NewChTitle"));
        } else if ((call.cell == CL_Mch_FreqR || call.cell == CL_Grp_RxId ||
                    call.cell == CL_Mch_VORN_Unit_Dec) &&
                   indMchContext::IsNewRowKey(call.io.Key())) {
            call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        }
        return true;
    }
    if (call.category != CT_Mch && call.category != CT_Mch_Win && call.category != CT_Mch_Check)
        return false;
    if (!datCh::IsChannelKind(call.recordKind) || call.parameter < 0 || !row || !row->run)
        return false;
    indMchContext x(call);
    return row->run(x, *row, result);
}

// The bank cells in any category, the channel cells only on channel rows (Handle declines them
// elsewhere): every row of the channel table.
bool indMchCells::Serves(int32_t cell) {
    return indMchTable::Find(cell) != nullptr;
}

// A channel row past the last channel slot shows blank in every cell, so there the family takes every
// cell number.
bool indMchCells::ServesWholeRow(const indCellCall& call) {
    return (call.category == CT_Mch || call.category == CT_Mch_Win || call.category == CT_Mch_Check) &&
           datCh::IsChannelKind(call.recordKind) && call.parameter >= L::kChannels;
}

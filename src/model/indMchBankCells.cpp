#include "model/indMchBankCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "core/cmcGTex.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indMchContext.h"

#include <algorithm>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

// Adds up to want channels at the end of the bank, as many as the room allows.
void Grow(indCellCall& call, int bank, int want, int total) {
    const int room = std::min(want, L::kChannels - total);
    const int fits = call.handler.LargestRoom(CT_Mch, room, bank);
    if (fits > 0)
        call.handler.AddChannels(bank, fits);
    if (fits < want)
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
}

// Removes up to remove blank channels from the end of the bank; a channel with content stops it.
void Shrink(indCellCall& call, int bank, int count, int remove) {
    int blank = 0;
    datCh ch(&call.work);
    const int kindCh = call.modelFamily == 1 ? datCh::kChannel2 : datCh::kChannel1;
    const int first = L::GroupStart(call.W(), bank);
    while (blank < remove) {
        ch.Decode(kindCh, first + count - 1 - blank);
        if (ch.status & datCh::kHasContent)
            break;
        ++blank;
    }
    if (blank > 0)
        call.handler.RemoveChannels(bank, blank);
    if (blank < remove)
        call.handler.Message(blank < count ? "GI_AppMess_ChErr_NotBlank" : "GI_AppMess_ChErr_NoCh",
                             cmcMessageBox::Icon::Error);
}

} // namespace

bool indMchBankCells::Count(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    const int bank = call.parameter;
    const int total = indMchContext::TotalChannels(w);
    if (bank < 0 || bank > L::kGroups) {
        call.io.displayText.clear();
        return true;
    }
    if (bank == L::kGroups) {
        call.io.Show(std::to_string(total));
        return true;
    }
    const int count = L::GroupCount(w, bank);
    int32_t value = count;
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = L::kChannels;
    p.saturate = true;
    if (cmcNumberCodecs::EditStepped(call.io, value, p) && value != count) {
        if (value > count)
            Grow(call, bank, value - count, total);
        else
            Shrink(call, bank, count, count - value);
        call.wrote = true;
        call.scope |= cmcCellCapsule::kScopeAll;
        result = Io::kResultRefresh;
        call.io.Show(std::to_string(L::GroupCount(w, bank)));
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indMchBankCells::Type(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    const int bank = call.parameter;
    if (bank < 0 || bank >= L::kGroups) {
        call.io.displayText.clear();
        return true;
    }
    int32_t at = L::kBankF0;
    const char* list = "GI_Sheet_Sel_Misc_OnOff2";
    switch (call.cell) {
    case CL_Mch_LTR:
        at = L::kBankF1;
        break;
    case CL_Mch_TrunkType:
        at = L::kBankF3;
        list = "GI_Sheet_Sel_Bank_TrunkType";
        break;
    case CL_Mch_TrunkType2:
        at = L::kBankF2;
        list = "GI_Sheet_Sel_Bank_TrunkType2";
        break;
    default:
        break;
    }
    const uint8_t mask = uint8_t(0x80 >> bank);
    int32_t value = (w[at] & mask) ? 1 : 0;
    if (cmcChoiceCodecs::EditChoice(call.io, call.env, value, list)) {
        w[at] = uint8_t(value ? (w[at] | mask) : (w[at] & ~mask));
        call.wrote = true;
        call.banksChanged = true;
        call.scope |= cmcCellCapsule::kScopeAll;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indMchBankCells::Used(indCellCall& call, int32_t&) {
    const uint8_t* w = call.W();
    const int total = indMchContext::TotalChannels(w);
    int shown = total;
    if (call.cell == CL_Bank_UsedTotal)
        shown = L::kChannels;
    else if (call.cell == CL_Bank_UsedLeft)
        shown = std::max(L::kChannels - total, 0);
    else if (call.parameter >= 0 && call.parameter < L::kGroups)
        shown = L::GroupCount(w, call.parameter);
    call.io.Show(std::to_string(shown));
    return true;
}

bool indMchBankCells::Room(indCellCall& call, int32_t&) {
    const uint8_t* w = call.W();
    const int bank = std::clamp(call.parameter, 0, L::kGroups - 1);
    const int left = L::kChannels - indMchContext::TotalChannels(w);
    const int fits = left > 0 ? call.handler.LargestRoom(CT_Mch, left, bank) : 0;
    call.io.Show(std::to_string(std::max(fits, 0)));
    return true;
}

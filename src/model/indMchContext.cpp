#include "model/indMchContext.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCodecIo.h"
#include "core/cmcEv.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indMchCells.h"

#include <algorithm>

namespace {

using L = indLayout;
using Io = cmcCodecIo;
using F = datCh::Field;

} // namespace

indMchContext::indMchContext(indCellCall& c) : call(c), record(c.record), w(c.W()), n(c.parameter) {
    bank = indMchCells::BankOf(call);
    type = record.Get(F::ChannelType);
    const int own = L::GroupOf(w, n);
    f1 = L::BankFlag(w, L::kBankF1, own < L::kGroups ? own : bank);
    f3 = L::BankFlag(w, L::kBankF3, own < L::kGroups ? own : bank);
    pmr = call.modelFamily == 1;
    sig = call.recordKind == datCh::kChannel2 && record.Get(F::MskSignalling);
}

bool indMchContext::Holds(indMchCond c) const {
    using C = indMchCond;
    switch (c) {
    case C::None:
        return false;
    case C::Type3:
        return type == 3;
    case C::Type0:
        return type == 0;
    case C::Type3NoF1:
        return type == 3 && !f1;
    case C::Type0NoF3:
        return type == 0 && !f3;
    case C::NoF1:
        return !f1;
    case C::TwoTone:
        return ((type == 2 || type == 3) && !f1) || (f1 && record.Get(F::DtmfDecode));
    case C::Type3OrPmrNoSig:
        return type == 3 || (pmr && !sig);
    case C::ScanListOff:
        return !((w[L::kMark3Byte] >> 6) & 1);
    case C::RptCode: // applies outside PMR, or without signalling, or with repeater-first and signalling
        return !(!pmr || !sig || (record.Get(F::MskRepeaterFirst) && sig));
    case C::StnCode:
        return pmr && sig;
    case C::MskCode: // applies outside PMR or with signalling
        return pmr && !sig;
    case C::NotTypes23:
        return type < 2;
    }
    return false;
}

void indMchContext::Dashes(const char* text) {
    call.io.Show(text);
    call.io.SetFontColor(Io::kGrey);
}

void indMchContext::Changed() {
    call.wrote = true;
    indCellHandler& h = call.handler;
    if (h.mchWindowChannel >= 0) {
        if (call.category == CT_Mch_Win)
            h.Post(cmcEv::RedrawIndex, 0, h.mchWindowChannel);
        else
            h.Post(cmcEv::RedrawMchWindow);
    }
}

bool indMchContext::CreateOnKey(bool& created) {
    created = false;
    if (indMchCells::IsInBank(call, n) || !IsNewRowKey(call.io.Key()))
        return true;
    if (TotalChannels(w) >= L::kChannels || !call.handler.AddChannels(bank, 1)) {
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    created = true;
    call.wrote = true;
    call.scope |= cmcCellCapsule::kScopeAll;
    call.record.Decode(call.recordKind, n);
    return true;
}

int indMchContext::TotalChannels(const uint8_t* w) {
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(w, g);
    return total;
}

int indMchContext::ListCount(const uint8_t* w, int kind) {
    return std::max(0, datCh::EntriesInUse(w, kind));
}

bool indMchContext::IsNewRowKey(int32_t k) {
    return k == Io::kKeySpace || k == Io::kKeyBackspace || k == '.' || (k >= '0' && k <= '9') ||
           k == Io::kKeyReturn;
}

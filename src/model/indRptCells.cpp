#include "model/indRptCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFrequencyCodec.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indRptList.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using L = indLayout;
using R = indRptList;
using Io = cmcCodecIo;

// A new repeater's transmit frequency lies this far above its receive frequency.
constexpr int32_t kRepeaterOffset = 5000000;

enum class Field { No, FreqR, FreqT, Option, Areas };

// One column of a repeater sheet: the option bits it edits (mask and shift) and their list.
struct RptCell {
    int32_t cell;
    int32_t category;
    Field field;
    uint8_t mask = 0;
    int shift = 0;
    const char* list = nullptr;
};

constexpr RptCell kCells[] = {
    {CL_Rpt_No, CT_Rpt, Field::No},
    {CL_Rpt_FreqR, CT_Rpt, Field::FreqR},
    {CL_Rpt_FreqT, CT_Rpt, Field::FreqT},
    {CL_Rpt_RxDat, CT_Rpt, Field::Option, R::kRxData, 0, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Rpt_TxDat, CT_Rpt, Field::Option, R::kTxData, 1, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Rpt_Phone, CT_Rpt, Field::Option, R::kPhone, 2, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Rpt_Nar, CT_Rpt, Field::Option, 0x18, R::kBandwidthShift, "GI_Sheet_Sel_Mch_Nar"},
    {CL_Rpt_RfPo, CT_Rpt, Field::Option, 0x60, R::kPowerShift, "GI_Sheet_Sel_Mch_RfPwr"},
    {CL_Rpt_Atr, CT_Rpt, Field::Option, 0x80, R::kTypeShift, "GI_Sheet_Sel_Rpt_Atr"},
    {CL_Rpt_AreaBit, CT_Rpt, Field::Areas},
    {CL_Rpt_VORN_No, CT_VORN_Rpt, Field::No},
    {CL_Rpt_VORN_FreqR, CT_VORN_Rpt, Field::FreqR},
    {CL_Rpt_VORN_FreqT, CT_VORN_Rpt, Field::FreqT},
    {CL_Rpt_VORN_Phone, CT_VORN_Rpt, Field::Option, R::kPhone, 2, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Rpt_VORN_RfPo, CT_VORN_Rpt, Field::Option, 0x60, R::kPowerShift, "GI_Sheet_Sel_Mch_RfPwr"},
    {CL_Rpt_VORN_Atr, CT_VORN_Rpt, Field::Option, 0x80, R::kTypeShift, "GI_Sheet_Sel_Rpt_Atr_VORN"},
    {CL_Rpt_VORN_AreaBit, CT_VORN_Rpt, Field::Areas},
};

const RptCell* CellOf(int32_t cell, int32_t category) {
    for (const RptCell& c : kCells)
        if (c.cell == cell && c.category == category)
            return &c;
    return nullptr;
}

bool IsEntryKey(int32_t k) {
    return k == Io::kKeySpace || k == Io::kKeyBackspace || k == Io::kKeyReturn || k == '.' ||
           (k >= '0' && k <= '9');
}

void Finish(indCellCall& call, bool changed, int32_t& result) {
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
}

// The bank a row belongs to: the sheet's bank when it shows one, else the bank holding the entry,
// else (a row past every entry) the capsule's group.
int RowBank(const indCellCall& call, const R& list, int32_t n) {
    if (call.handler.shownBank >= 0)
        return std::min(call.handler.shownBank, L::kGroups - 1);
    // The repeater sheet answers with the bank it shows (the newest list sheet answers first).
    if (cmcEvMan* events = call.handler.Get().events) {
        const std::vector<cmcEvAns> answers = events->Ask(cmcEv::AskListIndex);
        if (!answers.empty())
            return std::clamp(answers.front().value, 0, L::kGroups - 1);
    }
    const int g = list.GroupOf(n);
    if (g >= 0)
        return g;
    return std::clamp(call.capsule.groupIndex, 0, L::kGroups - 1);
}

bool Create(indCellCall& call, R& list, int bank, int32_t& at) {
    if (!list.HasRoom(bank) || !call.handler.RoomFor(call.category, 1, bank)) {
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    at = list.AddToGroup(bank);
    if (at < 0)
        return false;
    call.handler.Post(list.Kind() == R::kTrunkRepeaters ? cmcEv::InsertTrunkRepeater : cmcEv::InsertRepeater,
                      bank, at);
    call.wrote = true;
    call.scope |= cmcCellCapsule::kScopeAll;
    return true;
}

} // namespace

bool indRptCells::Handle(indCellCall& call, int32_t& result) {
    const RptCell* c = CellOf(call.cell, call.category);
    if (!c)
        return false;
    R list(call.work, c->category == CT_VORN_Rpt ? R::kTrunkRepeaters : R::kRepeaters);
    int32_t n = call.parameter;
    if (n < 0 || n > list.Capacity()) {
        call.io.displayText.clear();
        return true;
    }
    const int bank = RowBank(call, list, n);
    const int32_t first = list.FirstOf(bank);
    const int32_t size = list.GroupSize(bank);
    const bool newRow = n < first || n >= first + size;
    uint8_t* e = newRow ? nullptr : list.Entry(n);
    const bool empty = newRow || L::Get32(e, 0) == 0;
    const int32_t key = call.io.Key();

    if (c->field == Field::No) {
        if (newRow)
            call.io.Show(call.env.Texts() ? call.env.Text("GI_NewChTitle") : std::string());
        else
            call.io.Show(std::to_string(n - first + 1));
        return true;
    }
    if (empty && c->field != Field::FreqR) {
        call.io.displayText.clear();
        // Typing elsewhere in an empty row starts the entry at its receive frequency; the area bits
        // are not redirected, and the type still acts on an existing entry.
        if (c->field != Field::Areas && call.capsule.key < 128)
            call.capsule.redirect = {1, call.category,
                                     c->category == CT_VORN_Rpt ? CL_Rpt_VORN_FreqR : CL_Rpt_FreqR, n,
                                     call.capsule.key};
        if (newRow || (c->cell != CL_Rpt_Atr && c->cell != CL_Rpt_VORN_Atr)) {
            // A text or choice for a row without a frequency has nothing to go into.
            if (call.io.editState != Io::kShow)
                call.io.Refuse(Io::kRefuseEmptyRow);
            return true;
        }
    }

    switch (c->field) {
    case Field::FreqR:
    case Field::FreqT: {
        const bool transmit = c->field == Field::FreqT;
        if (newRow) {
            call.io.displayText.clear();
            // Only the blank row right after the bank's last repeater becomes an entry.
            if (transmit || !IsEntryKey(key) || n != first + size)
                return true;
            if (!Create(call, list, bank, n))
                return true;
            e = list.Entry(n);
            result = Io::kResultRefresh;
        }
        cmcFrequencyCodec::Pair pair{int32_t(L::Get32(e, 0)), int32_t(L::Get32(e, 4)), L::Get32(e, 0) != 0};
        pair.rx = std::clamp(pair.rx, 0, cmcFrequencyCodec::kStoredLimit);
        pair.tx = std::clamp(pair.tx, 0, cmcFrequencyCodec::kStoredLimit);
        const bool changed = cmcFrequencyCodec::EditFrequency(call.io, pair, transmit, kRepeaterOffset);
        if (changed) {
            L::Put32(e, 0, uint32_t(pair.rx));
            L::Put32(e, 4, uint32_t(pair.tx));
        }
        Finish(call, changed, result);
        if (pair.rx == 0 && call.io.result != Io::kResultEdit)
            call.io.displayText.clear();
        return true;
    }
    case Field::Option: {
        int32_t value = (e[R::kOptions] & c->mask) >> c->shift;
        const bool changed = cmcChoiceCodecs::EditChoice(call.io, call.env, value, c->list);
        if (changed)
            e[R::kOptions] = uint8_t((e[R::kOptions] & ~c->mask) | ((value << c->shift) & c->mask));
        Finish(call, changed, result);
        return true;
    }
    case Field::Areas: {
        int32_t value = e[R::kAreas];
        const bool changed = cmcChoiceCodecs::EditBits(call.io, call.env, value, 1, 8,
                                                       cmcChoiceCodecs::BitLabels::Numeric, "");
        if (changed)
            e[R::kAreas] = uint8_t(value);
        Finish(call, changed, result);
        return true;
    }
    case Field::No:
        break;
    }
    return true;
}

// Every cell of the table, whatever its category: Handle declines it in the other categories.
bool indRptCells::Serves(int32_t cell) {
    for (const RptCell& c : kCells)
        if (c.cell == cell)
            return true;
    return false;
}

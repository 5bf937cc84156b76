#include "model/indEntryCells.h"

#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcMarkChannelCodec.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <span>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

// How a cell reads its entry (the decoded record of the category's kind).
enum class Field {
    RxWord,   // value: receive NAC; the transmit NAC follows while they are equal
    TxWord,   // value2: transmit NAC; "<-" while equal to the receive NAC
    RxByte,   // byte0: receive colour code; the transmit one follows while equal
    TxByte,   // byte1: transmit colour code; "<-" while equal
    ByteList, // byte0 through a choice list
    Flag,     // the selection bit kept beside the entry, through a choice list
    Text,     // the message text shown on the radio's display
    MarkCh,   // scan list: a mark nibble plus a channel number
};

struct EntryCell {
    int32_t cell;
    int32_t category;
    Field field;
    const char* list = nullptr; // choice list, or the mark list of MarkCh
    int32_t size = 0;           // Text: characters; MarkCh: entry byte of the channel number
    int32_t nibble = 0;         // MarkCh: the mark's byte * 2, + 1 for the low nibble
};

constexpr EntryCell kCells[] = {
    {CL_Nxdn_NacCh_RxNac, CT_Nxdn_NacCh, Field::RxWord},
    {CL_Nxdn_NacCh_TxNac, CT_Nxdn_NacCh, Field::TxWord},
    {CL_Nxdn_NacCh_Sel, CT_Nxdn_NacCh, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2_I"},
    {CL_Dpmr_CcCh_RxCc, CT_Dpmr_CcCh, Field::RxByte},
    {CL_Dpmr_CcCh_TxCc, CT_Dpmr_CcCh, Field::TxByte},
    {CL_Dpmr_CcCh_Sel, CT_Dpmr_CcCh, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2_I"},
    {CL_Dpmr_RotaryStatus_StatusNumber, CT_Dpmr_RotaryStatus, Field::ByteList,
     "GI_Sheet_Sel_Dpmr_Status_PowerStatus"},
    {CL_Nxdn_SDM_Message, CT_Nxdn_SDM, Field::Text, nullptr, 8},
    {CL_Nxdn_SDM_Sel, CT_Nxdn_SDM, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Dpmr_SDM_Message, CT_Dpmr_SDM, Field::Text, nullptr, 100},
    {CL_Dpmr_SDM_Sel, CT_Dpmr_SDM, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2"},
    {CL_Msk_Msg_ShortTxtTxMsg_1, CT_MSK_Msg_ShortTxt, Field::Text, nullptr, 8},
    {CL_Msk_Msg_ShortTxtTxMsg_Sel, CT_MSK_Msg_ShortTxt, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2"},
    // Scan list entries (18 bytes): the first and second priority marks in the high and low nibble of
    // byte 10 with their channels at bytes 12-13 and 14-15, the transmit channel's mark in the high
    // nibble of byte 11 with its channel at bytes 16-17 and its use bit in bit 7 of byte 8.
    {CL_ScanList_Prio1_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanPrio1CH", 12, 20},
    {CL_ScanList_Prio2_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanPrio2CH", 14, 21},
    {CL_ScanList_TX_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanTXCH", 16, 22},
};

// NACs and colour codes share the channels' range.
constexpr int32_t kCodeMax = 63;

const EntryCell* CellOf(int32_t cell, int32_t category) {
    for (const EntryCell& c : kCells)
        if (c.cell == cell && c.category == category)
            return &c;
    return nullptr;
}

// Receive and transmit values of a pair: editing the receive value carries the transmit value along
// while the two are equal; the transmit cell shows "<-" while they are.
bool RunPair(indCellCall& call, int32_t rx, int32_t tx, bool transmit, int32_t& newRx, int32_t& newTx) {
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = kCodeMax;
    int32_t v = transmit ? tx : rx;
    const bool changed = cmcNumberCodecs::EditStepped(call.io, v, p);
    newRx = transmit ? rx : v;
    newTx = transmit || tx != rx ? (transmit ? v : tx) : v;
    if (transmit && newTx == newRx && call.io.result != Io::kResultEdit) {
        call.io.Show("<-");
        call.io.align = 1;
    }
    return changed;
}

// Channels the scan references step over: past the channels in use, or in a bank with either bank
// mark (SmarTrunk, repeater).
bool SkipChannel(const uint8_t* w, int32_t n) {
    const int g = L::GroupOf(w, n);
    return g >= L::kGroups || L::BankFlag(w, L::kBankF0, g) || L::BankFlag(w, L::kBankF1, g);
}

bool RunMarkChannel(indCellCall& call, const EntryCell& c, uint8_t* e) {
    const int32_t at = c.nibble / 2;
    const bool low = c.nibble % 2 != 0;
    int32_t mark = low ? e[at] & 0x0F : e[at] >> 4;
    int32_t channel = L::Get16(e, c.size);
    if (channel > cmcChoiceCodecs::kNoChannel)
        channel = cmcChoiceCodecs::kNoChannel;
    const uint8_t* w = call.W();
    const bool changed = cmcMarkChannelCodec::Edit(call.io, call.env, mark, channel, c.list, {},
                                                   [w](int32_t n) { return SkipChannel(w, n); });
    if (changed) {
        e[at] = low ? uint8_t((e[at] & 0xF0) | (mark & 0x0F)) : uint8_t((e[at] & 0x0F) | (mark & 0x0F) << 4);
        L::Put16(e, c.size, uint32_t(channel));
        if (c.cell == CL_ScanList_TX_CH)
            e[8] = mark == cmcMarkChannelCodec::kChannelMark ? uint8_t(e[8] | 0x80) : uint8_t(e[8] & 0x7F);
    }
    return changed;
}

} // namespace

bool indEntryCells::Handle(indCellCall& call, int32_t& result) {
    const EntryCell* c = CellOf(call.cell, call.category);
    if (!c)
        return false;
    datCh& r = call.record;
    if (call.recordKind == 0 || call.parameter < 0 || call.parameter >= datCh::Capacity(call.recordKind)) {
        call.io.displayText.clear();
        return true;
    }
    bool changed = false;
    switch (c->field) {
    case Field::RxWord:
    case Field::TxWord: {
        int32_t rx = 0, tx = 0;
        changed = RunPair(call, r.value, r.value2, c->field == Field::TxWord, rx, tx);
        r.value = uint16_t(rx);
        r.value2 = uint16_t(tx);
        break;
    }
    case Field::RxByte:
    case Field::TxByte: {
        int32_t rx = 0, tx = 0;
        changed = RunPair(call, r.byte0, r.byte1, c->field == Field::TxByte, rx, tx);
        r.byte0 = uint8_t(rx);
        r.byte1 = uint8_t(tx);
        break;
    }
    case Field::ByteList: {
        int32_t v = r.byte0;
        changed = cmcChoiceCodecs::EditChoice(call.io, call.env, v, c->list);
        r.byte0 = uint8_t(v);
        break;
    }
    case Field::Flag: {
        int32_t v = r.flag ? 1 : 0;
        changed = cmcChoiceCodecs::EditChoice(call.io, call.env, v, c->list);
        r.flag = v != 0;
        break;
    }
    case Field::Text: {
        cmcTextCodecs::DisplayText p;
        p.length = c->size;
        p.wide = c->size > 8;
        cmcTextCodecs::Glyphs glyphs;
        glyphs.userPatterns = call.W() + 0x12656;
        std::span<uint8_t> text(r.text, size_t(c->size));
        changed = cmcTextCodecs::EditDisplayText(call.io, call.env, text, p, glyphs);
        if (!call.io.painter && call.io.displayText.empty()) {
            std::string shown = cmcTextCodecs::EncodeDisplayText(text);
            while (!shown.empty() && shown.back() == ' ')
                shown.pop_back();
            call.io.displayText = shown;
        }
        break;
    }
    case Field::MarkCh:
        changed = RunMarkChannel(call, *c, r.raw);
        break;
    }
    if (changed) {
        r.Encode(0, call.parameter);
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

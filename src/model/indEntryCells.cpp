#include "model/indEntryCells.h"
#include "model/indMchCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcMarkChannelCodec.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

// How a cell reads its entry: the decoded record of the category's kind, or (Bits, Number, Digits,
// AreaText) the entry's bytes in the areas of its list (kListAreas).
enum class Field {
    RxWord,   // value: receive NAC; the transmit NAC follows while they are equal
    TxWord,   // value2: transmit NAC; "<-" while equal to the receive NAC
    RxByte,   // byte0: receive colour code; the transmit one follows while equal
    TxByte,   // byte1: transmit colour code; "<-" while equal
    ByteList, // byte0 through a choice list
    Flag,     // the selection bit kept beside the entry, through a choice list
    Text,     // the message text shown on the radio's display
    MarkCh,   // scan list: a mark nibble plus a channel number
    RawText,  // a display text in the bytes of a record without a field layout (at, size)
    Bits,     // bits (mask) of an entry byte through a choice list
    Number,   // the low 12 bits of a 16-bit entry value, four digits
    Digits,   // the high nibble of a 16-bit entry value, stepped 1..4
    AreaText, // a display text of the entry
    TxStatus, // the entry's transmit status number; no two entries of the list alike
};

// Lists whose entries spread over one or two areas of the working image (the second area holds the
// entry's transmit text). The radio data gives these lists no field layout of their own: the cells
// place their fields as noted, in the tables reserved for the lists.
struct ListAreas {
    int32_t category;
    int32_t count;
    int32_t a, aSize; // first area: entry i at a + aSize * i
    int32_t b, bSize; // second area, 0 when none
    int32_t fixedAt;  // entry byte whose values 2..5 mark a fixed entry (-1: none)
};

constexpr ListAreas kListAreas[] = {
    // MSK ID groups (table 28): address (2), text (8), byte 10: alert bits 0-2, bell bits 4-5,
    // special function bit 7.
    {CT_MSK_IdGroup, 8, L::SlotAddress(indTable::kMskIdGroups), 26, 0, 0, -1},
    // MSK call list (table 26): address in bits 0-11 and digits in bits 12-15 of bytes 0-1; byte 2:
    // update bit 0, selection bit 1; the entry's name in bytes 0-7 of its entry of table 27.
    {CT_MSK_CallList, 32, L::SlotAddress(indTable::kMskCallList), 4, L::SlotAddress(indTable::kMskCallNames),
     10, -1},
    // MSK status messages (tables 29 and 30): receive text (8), byte 8: beep bits 0-2, horn bit 3, auto
    // bit 4, special function bit 5, selection bit 6; byte 9 aux, byte 10 priority; transmit text (8).
    {CT_MSK_Msg_Status, 24, L::SlotAddress(indTable::kMskStatusRx), 12,
     L::SlotAddress(indTable::kMskStatusTx), 12, -1},
    // NXDN status list (tables 62 and 63): receive text (8), byte 8: beep bits 0-3, selection bit 4,
    // receive bit 5, decode output bit 6; byte 9 aux; transmit text (8).
    {CT_Nxdn_Status, 100, L::SlotAddress(indTable::kNxdnStatusRx), 12,
     L::SlotAddress(indTable::kNxdnStatusTx), 12, -1},
    // dPMR status list (tables 107 and 108): byte 0 the entry's kind (2..5: a fixed status the user
    // cannot edit), receive text (bytes 1-8), byte 9: beep bits 0-3, selection bit 4, receive bit 5,
    // decode output bit 6, transmit bit 7; byte 10: audio bits 0-1, function bits 2-3; byte 11 aux;
    // transmit text (bytes 0-7 of the second area), byte 8 of the second area the status number.
    {CT_Dpmr_Status, 32, L::SlotAddress(indTable::kDpmrStatusRx), 12, L::SlotAddress(indTable::kDpmrStatusTx),
     12, 0},
};

const ListAreas* AreasOf(int32_t category) {
    for (const ListAreas& a : kListAreas)
        if (a.category == category)
            return &a;
    return nullptr;
}

struct EntryCell {
    int32_t cell;
    int32_t category;
    Field field;
    const char* list = nullptr; // choice list, or the mark list of MarkCh
    int32_t size = 0;           // Text, AreaText: characters; MarkCh: entry byte of the channel number
    int32_t nibble = 0;         // MarkCh: the mark's byte * 2, + 1 for the low nibble
    int32_t at = 0;             // Bits, Number, Digits, AreaText: entry byte (second area: kB + byte)
    uint8_t mask = 0;           // Bits: the bits of that byte
};

constexpr int32_t kB = 100; // entry bytes from kB on lie in the list's second area

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
    // Messages 2 and 3 follow message 1 in the record's text (the record keeps them in the model's area).
    {CL_Msk_Msg_ShortTxtTxMsg_2, CT_MSK_Msg_ShortTxt, Field::Text, nullptr, 8, 0, 8},
    {CL_Msk_Msg_ShortTxtTxMsg_3, CT_MSK_Msg_ShortTxt, Field::Text, nullptr, 8, 0, 16},
    {CL_Msk_Msg_ShortTxtTxMsg_Sel, CT_MSK_Msg_ShortTxt, Field::Flag, "GI_Sheet_Sel_Misc_OnOff2"},
    // Scan list entries (18 bytes): the first and second priority marks in the high and low nibble of
    // byte 10 with their channels at bytes 12-13 and 14-15, the transmit channel's mark in the high
    // nibble of byte 11 with its channel at bytes 16-17 and its use bit in bit 7 of byte 8.
    {CL_ScanList_Prio1_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanPrio1CH", 12, 20},
    {CL_ScanList_Prio2_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanPrio2CH", 14, 21},
    {CL_ScanList_TX_CH, CT_Scan, Field::MarkCh, "GI_Sheet_Sel_ScanTXCH", 16, 22},
    // The scan list's name: bytes 0-7, before the option bytes.
    {CL_ScanList_Text, CT_Scan, Field::RawText, nullptr, 8, 0, 0},

    {CL_Msk_IdGroup_Adr, CT_MSK_IdGroup, Field::Number, nullptr, 0, 0, 0},
    {CL_Msk_IdGroup_Text, CT_MSK_IdGroup, Field::AreaText, nullptr, 8, 0, 2},
    {CL_Msk_IdGroup_Alert, CT_MSK_IdGroup, Field::Bits, "GI_Sheet_Sel_RxC_Beep", 0, 0, 10, 0x07},
    {CL_Msk_IdGroup_Bell, CT_MSK_IdGroup, Field::Bits, "GI_Sheet_Sel_Msk_IdGroup_Bell", 0, 0, 10, 0x30},
    {CL_Msk_IdGroup_SFunc, CT_MSK_IdGroup, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 10, 0x80},
    {CL_Msk_CallList_Adr, CT_MSK_CallList, Field::Number, nullptr, 0, 0, 0},
    {CL_Msk_CallList_Digit, CT_MSK_CallList, Field::Digits, nullptr, 0, 0, 0},
    {CL_Msk_CallList_Text, CT_MSK_CallList, Field::AreaText, nullptr, 8, 0, kB},
    {CL_Msk_CallList_Update, CT_MSK_CallList, Field::Bits, "GI_Sheet_Sel_Misc_Enable2", 0, 0, 2, 0x01},
    {CL_Msk_CallList_Sel, CT_MSK_CallList, Field::Bits, "GI_Sheet_Sel_Misc_Enable2", 0, 0, 2, 0x02},
    {CL_Msk_Msg_Status_Text_Rx, CT_MSK_Msg_Status, Field::AreaText, nullptr, 8, 0, 0},
    {CL_Msk_Msg_Status_Text_Tx, CT_MSK_Msg_Status, Field::AreaText, nullptr, 8, 0, kB},
    {CL_Msk_Msg_Status_Beep, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_RxC_Beep", 0, 0, 8, 0x07},
    {CL_Msk_Msg_Status_Horn, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 8, 0x08},
    {CL_Msk_Msg_Status_Auto, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 8, 0x10},
    {CL_Msk_Msg_Status_SFunc, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 8, 0x20},
    {CL_Msk_Msg_Status_Selection, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 8, 0x40},
    {CL_Msk_Msg_Status_Aux, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_RxC_Aux", 0, 0, 9, 0xFF},
    {CL_Msk_Msg_Status_Rriority, CT_MSK_Msg_Status, Field::Bits, "GI_Sheet_Sel_Msk_StatusMessPrio", 0, 0, 10,
     0xFF},
    {CL_Nxdn_Msg_Status_Text_Rx, CT_Nxdn_Status, Field::AreaText, nullptr, 8, 0, 0},
    {CL_Nxdn_Msg_Status_Text_Tx, CT_Nxdn_Status, Field::AreaText, nullptr, 8, 0, kB},
    {CL_Nxdn_Msg_Status_Beep, CT_Nxdn_Status, Field::Bits, "GI_Sheet_Sel_RxC_Beep", 0, 0, 8, 0x0F},
    {CL_Nxdn_Msg_Status_Selection, CT_Nxdn_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 8, 0x10},
    {CL_Nxdn_Msg_Status_RX, CT_Nxdn_Status, Field::Bits, "GI_Sheet_Sel_Misc_Enable_I", 0, 0, 8, 0x20},
    {CL_Nxdn_Msg_Status_DecExo, CT_Nxdn_Status, Field::Bits, "GI_Sheet_Sel_Misc_Enable", 0, 0, 8, 0x40},
    {CL_Nxdn_Msg_Status_AUX, CT_Nxdn_Status, Field::Bits, "GI_Sheet_Sel_RxC_Aux", 0, 0, 9, 0xFF},
    {CL_Dpmr_Msg_Status_Text_Rx, CT_Dpmr_Status, Field::AreaText, nullptr, 8, 0, 1},
    {CL_Dpmr_Msg_Status_Text_Tx, CT_Dpmr_Status, Field::AreaText, nullptr, 8, 0, kB},
    {CL_Dpmr_Msg_Status_Beep, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_RxC_Beep", 0, 0, 9, 0x0F},
    {CL_Dpmr_Msg_Status_Selection, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 9, 0x10},
    {CL_Dpmr_Msg_Status_RX, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2_I", 0, 0, 9, 0x20},
    {CL_Dpmr_Msg_Status_DecExo, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 9, 0x40},
    {CL_Dpmr_Msg_Status_TX, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_Misc_OnOff2", 0, 0, 9, 0x80},
    {CL_Dpmr_Msg_Status_AUD, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_RxC_Aud", 0, 0, 10, 0x03},
    {CL_Dpmr_Msg_Status_Function, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_Dpmr_Status_Function", 0, 0, 10,
     0x0C},
    {CL_Dpmr_Msg_Status_AUX, CT_Dpmr_Status, Field::Bits, "GI_Sheet_Sel_RxC_Aux", 0, 0, 11, 0xFF},
    {CL_Dpmr_Msg_Status_Text_List_StatusDigit, CT_Dpmr_Status, Field::TxStatus, nullptr, 0, 0, kB + 8},
};

// MSK addresses are 12-bit, shown with four digits.
constexpr int32_t kAddressMax = 4095;

// NACs and colour codes share the channels' range.
constexpr int32_t kCodeMax = 63;

const EntryCell* CellOf(int32_t cell, int32_t category) {
    for (const EntryCell& c : kCells)
        if (c.cell == cell && c.category == category)
            return &c;
    return nullptr;
}

// A text shown on the radio's display (user characters from the glyph table); the wide layout for
// texts longer than one display row. Drawn without a canvas, the cell shows the text itself.
bool RunText(indCellCall& call, std::span<uint8_t> text) {
    cmcTextCodecs::DisplayText p;
    p.length = int32_t(text.size());
    p.wide = text.size() > 8;
    cmcTextCodecs::Glyphs glyphs;
    glyphs.userPatterns = call.W() + L::SlotAddress(indTable::kUserCharacters);
    const bool changed = cmcTextCodecs::EditDisplayText(call.io, call.env, text, p, glyphs);
    if (!call.io.painter && call.io.displayText.empty()) {
        std::string shown = cmcTextCodecs::EncodeDisplayText(text);
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        call.io.displayText = shown;
    }
    return changed;
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
    cmcChoiceCodecs::ChannelLists lists;
    lists.banks = indMchCells::BankLayoutOf(w);
    const bool changed = cmcMarkChannelCodec::Edit(call.io, call.env, mark, channel, c.list, lists,
                                                   [w](int32_t n) { return SkipChannel(w, n); });
    if (changed) {
        e[at] = low ? uint8_t((e[at] & 0xF0) | (mark & 0x0F)) : uint8_t((e[at] & 0x0F) | (mark & 0x0F) << 4);
        L::Put16(e, c.size, uint32_t(channel));
        if (c.cell == CL_ScanList_TX_CH)
            e[8] = mark == cmcMarkChannelCodec::kChannelMark ? uint8_t(e[8] | 0x80) : uint8_t(e[8] & 0x7F);
    }
    // A memory channel that is not in use (or no channel) makes the scan list's check warn.
    if (mark == cmcMarkChannelCodec::kChannelMark) {
        datCh ch(&call.work);
        ch.Decode(cmcCellIds::RecordKindOfCategory(CT_Mch, call.modelFamily), channel);
        if (channel >= cmcChoiceCodecs::kNoChannel || L::GroupOf(w, channel) >= L::kGroups ||
            !(ch.status & datCh::kInUse))
            call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
    }
    return changed;
}

int Shift(uint8_t mask) {
    int n = 0;
    while (mask && !(mask & 1)) {
        mask = uint8_t(mask >> 1);
        ++n;
    }
    return n;
}

// The cells of the lists in kListAreas: they act on the entry's bytes directly.
bool RunArea(indCellCall& call, const EntryCell& c, const ListAreas& areas, int32_t& result) {
    const int32_t n = call.parameter;
    if (n < 0 || n >= areas.count) {
        call.io.displayText.clear();
        return true;
    }
    uint8_t* w = call.W();
    uint8_t* a = w + areas.a + areas.aSize * n;
    uint8_t* b = areas.b ? w + areas.b + areas.bSize * n : nullptr;
    uint8_t* field = c.at >= kB ? (b ? b + (c.at - kB) : nullptr) : a + c.at;
    if (!field) {
        call.io.displayText.clear();
        return true;
    }
    // A fixed entry shows its values in olive and takes no keys.
    const bool fixed = areas.fixedAt >= 0 && a[areas.fixedAt] >= 2 && a[areas.fixedAt] <= 5;
    Io& io = call.io;
    if (fixed) {
        io.grid = false;
        io.linked = false;
        io.editState = Io::kShow;
    }
    // A draw never changes data: a value the codec would clamp (a stored 0 digits shown as 1) is
    // shown clamped but stays as stored until the user acts on the cell.
    const std::vector<uint8_t> keptA(a, a + areas.aSize);
    const std::vector<uint8_t> keptB = b ? std::vector<uint8_t>(b, b + areas.bSize) : std::vector<uint8_t>{};
    bool changed = false;
    switch (c.field) {
    case Field::Bits: {
        const int shift = Shift(c.mask);
        int32_t v = (field[0] & c.mask) >> shift;
        changed = cmcChoiceCodecs::EditChoice(io, call.env, v, c.list);
        if (changed)
            field[0] = uint8_t((field[0] & ~c.mask) | ((v << shift) & c.mask));
        break;
    }
    case Field::Number: {
        int32_t v = L::Get16(field, 0) & 0x0FFF;
        changed = cmcNumberCodecs::EditNumber(io, v, 4, 0, kAddressMax, false);
        if (changed)
            L::Put16(field, 0, uint32_t((L::Get16(field, 0) & 0xF000) | (v & 0x0FFF)));
        break;
    }
    case Field::Digits: {
        cmcNumberCodecs::Stepped p;
        p.minimum = 1;
        p.maximum = 4;
        p.clamp = true;
        int32_t v = L::Get16(field, 0) >> 12;
        changed = cmcNumberCodecs::EditStepped(io, v, p);
        if (changed)
            L::Put16(field, 0, uint32_t((L::Get16(field, 0) & 0x0FFF) | (v & 0x0F) << 12));
        break;
    }
    case Field::AreaText:
        changed = RunText(call, std::span<uint8_t>(field, size_t(c.size)));
        break;
    case Field::TxStatus: {
        const int32_t offset = int32_t(field - w);
        const int32_t stride = c.at >= kB ? areas.bSize : areas.aSize;
        auto taken = [&](int32_t shown) {
            for (int32_t j = 0; j < areas.count; ++j)
                if (j != n && w[offset + stride * (j - n)] == shown + 1)
                    return true;
            return false;
        };
        int32_t v = field[0];
        changed = cmcChoiceCodecs::EditStatusNumber(io, call.env, v, false, taken);
        if (changed)
            field[0] = uint8_t(v);
        break;
    }
    default:
        break;
    }
    if (fixed) {
        changed = false;
        io.result = Io::kResultNone;
        io.SetFontColor(Io::kOlive);
    }
    if (fixed || call.notify != cmcCellHandler::kNotifyAction) {
        std::copy(keptA.begin(), keptA.end(), a);
        if (b) {
            std::copy(keptB.begin(), keptB.end(), b);
        }
        changed = false;
    }
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (io.result != Io::kResultNone)
        result = io.result;
    return true;
}

} // namespace

int indEntryCells::StorageOf(int32_t category, int32_t parameter, int32_t offsets[2], int32_t sizes[2]) {
    const ListAreas* a = AreasOf(category);
    if (!a || parameter < 0 || parameter >= a->count)
        return 0;
    offsets[0] = a->a + a->aSize * parameter;
    sizes[0] = a->aSize;
    if (a->b == 0)
        return 1;
    offsets[1] = a->b + a->bSize * parameter;
    sizes[1] = a->bSize;
    return 2;
}

bool indEntryCells::Handle(indCellCall& call, int32_t& result) {
    const EntryCell* c = CellOf(call.cell, call.category);
    if (!c)
        return false;
    if (const ListAreas* areas = AreasOf(call.category))
        return RunArea(call, *c, *areas, result);
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
    case Field::Text:
        changed = RunText(call, std::span<uint8_t>(r.text + c->at, size_t(c->size)));
        break;
    case Field::MarkCh:
        changed = RunMarkChannel(call, *c, r.raw);
        break;
    case Field::RawText:
        changed = RunText(call, std::span<uint8_t>(r.raw + c->at, size_t(c->size)));
        break;
    default: // the area fields belong to the lists of kListAreas
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

// Every cell of the table, whatever its category: Handle declines it in the other categories.
bool indEntryCells::Serves(int32_t cell) {
    for (const EntryCell& c : kCells)
        if (c.cell == cell)
            return true;
    return false;
}

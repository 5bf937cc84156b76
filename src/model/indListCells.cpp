#include "model/indListCells.h"

#include "app/cmcEv.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "core/cmcEeprom.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indListEdit.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <span>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

constexpr int32_t kMaxEntries = 500;
// IDs from 65,520 up are reserved; 65,535 is the one the hex cell may set.
constexpr int32_t kLastId = 65519;
constexpr int32_t kAllId = 65535;

struct ListInfo {
    int32_t category;
    int32_t kind;
    int32_t at;      // entry 0
    int32_t size;    // bytes per entry
    int32_t countAt; // list count in the working image
    int32_t insertEvent;
    int32_t idBytes; // 4: 32-bit ID, 2: 16-bit ID, 0: packed BCD ID, -1: MDC alias (text first)
    int32_t keyCell;
};

constexpr ListInfo kLists[] = {
    {CT_Nxdn_Inv, 18, L::SlotAddress(indTable::kNxdnIndIds), 12, L::kCount33, cmcEv::InsertNxdnIndId, 4,
     CL_Nxdn_Ind_Id_Dec},
    {CT_Nxdn_Tg, 19, L::SlotAddress(indTable::kNxdnGroupIds), 10, L::kCount34, cmcEv::InsertNxdnGroupId, 2,
     CL_Nxdn_Grp_Id_Dec},
    {CT_VORN_Inv, 28, L::SlotAddress(indTable::kTrunkIndIds), 12, L::kCount91, cmcEv::InsertTrunkIndId, 4,
     CL_VORN_Ind_Id_Dec},
    {CT_VORN_Tg, 29, L::SlotAddress(indTable::kTrunkTalkGroups), 10, L::kCount92, cmcEv::InsertTrunkTalkGroup,
     2, CL_VORN_Grp_Id_Dec},
    {CT_Dpmr_Inv, 31, L::SlotAddress(indTable::kDpmrIndIds), 14, L::kCount101, cmcEv::InsertDpmrIndId, 0,
     CL_Dpmr_Ind_Id_Dec},
    // MDC aliases: alias text (8), byte 8 (bit 7 strip, bits 0-3 beep type), ID (16-bit).
    {CT_MDC_Alias, 24, L::SlotAddress(indTable::kMdcAliases), 11, L::kCount58, cmcEv::InsertMdcAlias, -1,
     CL_Mdc_Alias1_Text},
};

// The second to fifth alias columns carry nothing in this model.
bool IsInertAliasCell(int32_t cell) {
    return cell >= CL_Mdc_Alias2_Strip && cell <= CL_Mdc_Alias5_Text;
}

const ListInfo* ListOf(int32_t category) {
    for (const ListInfo& l : kLists)
        if (l.category == category)
            return &l;
    return nullptr;
}

bool IsEntryKey(int32_t k, bool text) {
    if (text && k > Io::kKeySpace && k < 127)
        return true;
    return k == Io::kKeySpace || k == Io::kKeyBackspace || k == Io::kKeyReturn || (k >= '0' && k <= '9');
}

// Adds the entry of a blank row; false (with the overflow message) when the list or memory is full.
bool CreateEntry(indCellCall& call, const ListInfo& l) {
    uint8_t* w = call.W();
    const int count = L::Get16(w, l.countAt);
    if (count >= kMaxEntries || !call.handler.RoomFor(l.category, 1, 0)) {
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    indListEdit(call.work, call.handler.Get().defaults).InsertEntry(l.kind, count, count + 1);
    L::Put16(w, l.countAt, uint32_t(count + 1));
    indWorkImage(call.work, call.handler.Get().defaults, call.handler.Get().box).PackTables(false);
    call.handler.Post(l.insertEvent, 0, count);
    call.wrote = true;
    call.scope |= cmcCellCapsule::kScopeAll;
    return true;
}

void Finish(indCellCall& call, bool changed, int32_t& result) {
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
}

bool RunName(indCellCall& call, uint8_t* name, int32_t& result) {
    cmcTextCodecs::DisplayText p;
    p.length = 8;
    cmcTextCodecs::Glyphs glyphs;
    glyphs.userPatterns = call.W() + L::SlotAddress(indTable::kUserCharacters);
    const bool changed =
        cmcTextCodecs::EditDisplayText(call.io, call.env, std::span<uint8_t>(name, 8), p, glyphs);
    if (!call.io.painter && call.io.displayText.empty()) {
        std::string text = cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(name, 8));
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        call.io.displayText = text;
    }
    Finish(call, changed, result);
    return true;
}

// The decimal and hexadecimal ID cells of the NXDN and trunking lists.
bool RunId(indCellCall& call, const ListInfo& l, uint8_t* e, bool hex, int32_t& result) {
    const bool wide = l.idBytes == 4;
    int32_t value = wide ? int32_t(L::Get32(e, 0) & 0xFFFF) : int32_t(L::Get16(e, 0));
    const int32_t key = call.io.Key();
    bool changed;
    if (hex) {
        changed = cmcDigitCodecs::EditHex(call.io, value, 1, 0xFFFF, 4);
    } else {
        cmcNumberCodecs::Stepped p;
        p.minimum = 1;
        p.maximum = l.kind == 18 || l.kind == 28 ? kLastId : kAllId;
        changed = cmcNumberCodecs::EditStepped(call.io, value, p);
    }
    // Reserved IDs: a step up from the last ID lands on the all-call ID, anything else on the last ID.
    if (changed && value > kLastId && value < kAllId)
        value = hex && key == Io::kKeySpace ? kAllId : (!hex && key == Io::kKeySpace ? kAllId : kLastId);
    if (changed) {
        if (wide)
            L::Put32(e, 0, uint32_t(value));
        else
            L::Put16(e, 0, uint32_t(value));
        call.scope |= cmcCellCapsule::kScopeRecord;
    }
    if ((l.kind == 18 || l.kind == 28) && value == kAllId)
        call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
    Finish(call, changed, result);
    return true;
}

} // namespace

int32_t indListCells::EntriesInUse(const uint8_t* w, int32_t kind) {
    for (const ListInfo& l : kLists)
        if (l.kind == kind)
            return L::Get16(w, l.countAt);
    if (kind == 24)
        return L::Get16(w, L::kCount58);
    return -1;
}

int32_t indListCells::KeyCellOf(int32_t category) {
    const ListInfo* l = ListOf(category);
    return l ? l->keyCell : -1;
}

bool indListCells::Handle(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    if (IsInertAliasCell(call.cell)) {
        call.io.displayText.clear();
        return true;
    }
    if (call.cell == CL_Dpmr_Id_Dec_Inv || call.cell == CL_Dpmr_Id_Dec_Grp ||
        call.cell == CL_Dpmr_Id_Name_Inv || call.cell == CL_Dpmr_Id_Name_Grp) {
        // The dPMR ID list as the call list windows show it: ID and name of entry parameter, read only.
        call.io.displayText.clear();
        if (call.parameter >= 0 &&
            call.parameter < std::min<int32_t>(L::Get16(w, L::kCount101), kMaxEntries)) {
            const uint8_t* e = w + L::SlotAddress(indTable::kDpmrIndIds) + 14 * call.parameter;
            if (call.cell == CL_Dpmr_Id_Dec_Inv || call.cell == CL_Dpmr_Id_Dec_Grp) {
                call.io.Show(cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(e, 4), 7));
            } else {
                std::string text = cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(e + 4, 8));
                while (!text.empty() && text.back() == ' ')
                    text.pop_back();
                call.io.Show(text);
            }
        }
        return true;
    }
    if (call.cell == CL_Nxdn_Encryption_Key || call.cell == CL_Dpmr_Encryption_Key) {
        const bool nxdn = call.cell == CL_Nxdn_Encryption_Key;
        const int32_t entries = nxdn ? 63 : 32;
        if (call.parameter < 0 || call.parameter >= entries) {
            call.io.displayText.clear();
            return true;
        }
        uint8_t* e = w + (nxdn ? L::SlotAddress(indTable::kNxdnKeys) : L::SlotAddress(indTable::kDpmrKeys)) +
                     2 * call.parameter;
        int32_t value = L::Get16(e, 0);
        const bool changed = nxdn ? cmcDigitCodecs::EditHex(call.io, value, 0, 0xFFFF, 4)
                                  : cmcNumberCodecs::EditNumber(call.io, value, 5, 0, 32767, false);
        if (changed)
            L::Put16(e, 0, uint32_t(value));
        Finish(call, changed, result);
        return true;
    }
    const ListInfo* l = ListOf(call.category);
    if (!l)
        return false;
    const bool ours = call.cell == CL_Nxdn_Ind_Id_Hex || call.cell == CL_Nxdn_Ind_Id_Dec ||
                      call.cell == CL_Nxdn_Ind_Id_Name || call.cell == CL_Nxdn_Grp_Id_Hex ||
                      call.cell == CL_Nxdn_Grp_Id_Dec || call.cell == CL_Nxdn_Grp_Id_Name ||
                      call.cell == CL_VORN_Ind_Id_Dec || call.cell == CL_VORN_Ind_Id_Name ||
                      call.cell == CL_VORN_Grp_Id_Dec || call.cell == CL_VORN_Grp_Id_Name ||
                      call.cell == CL_Dpmr_Ind_Id_Dec || call.cell == CL_Dpmr_Ind_Id_Name ||
                      call.cell == CL_Dpmr_Ind_InputDigit || call.cell == CL_Dpmr_Ind_Id_Sel ||
                      call.cell == CL_Mdc_Alias1_Text || call.cell == CL_Mdc_Alias1_ID ||
                      call.cell == CL_Mdc_Alias1_Beep_Type || call.cell == CL_Mdc_Alias1_Strip;
    if (!ours)
        return false;
    const int32_t n = call.parameter;
    if (n < 0 || n >= kMaxEntries + 10) {
        call.io.displayText.clear();
        return true;
    }
    int count = L::Get16(w, l->countAt);
    if (n >= count) {
        // The blank row: only its key cell acts, and only the first blank row can become an entry.
        call.io.displayText.clear();
        if (call.cell != l->keyCell) {
            // Typing elsewhere in the blank row starts the entry at its key cell.
            if (call.capsule.key < 128)
                call.capsule.redirect = {1, call.category, l->keyCell, n, call.capsule.key};
            return true;
        }
        const bool entryKey = IsEntryKey(call.io.Key(), l->idBytes < 0);
        if (!entryKey || n != count || n >= kMaxEntries) {
            if (call.cell == l->keyCell && entryKey && n >= kMaxEntries)
                call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
            return true;
        }
        if (!CreateEntry(call, *l))
            return true;
        result = Io::kResultRefresh;
    }
    uint8_t* e = w + l->at + l->size * n;
    switch (call.cell) {
    case CL_Nxdn_Ind_Id_Name:
    case CL_Nxdn_Grp_Id_Name:
    case CL_VORN_Ind_Id_Name:
    case CL_VORN_Grp_Id_Name:
        return RunName(call, e + (l->idBytes == 2 ? 2 : 4), result);
    case CL_Dpmr_Ind_Id_Name:
        return RunName(call, e + 4, result);
    case CL_Mdc_Alias1_Text: {
        const bool changed =
            cmcTextCodecs::EditText(call.io, std::span<uint8_t>(e, 8), cmcTextCodecs::Fill::Spaces);
        Finish(call, changed, result);
        return true;
    }
    case CL_Mdc_Alias1_ID: {
        int32_t value = L::Get16(e, 9);
        const bool changed = cmcDigitCodecs::EditHex(call.io, value, 0, 0xFFFF, 4);
        if (changed)
            L::Put16(e, 9, uint32_t(value));
        Finish(call, changed, result);
        return true;
    }
    case CL_Mdc_Alias1_Beep_Type:
    case CL_Mdc_Alias1_Strip: {
        const bool strip = call.cell == CL_Mdc_Alias1_Strip;
        int32_t value = strip ? e[8] >> 7 : e[8] & 0x0F;
        const bool changed = cmcChoiceCodecs::EditChoice(
            call.io, call.env, value, strip ? "GI_Sheet_Sel_Misc_Enable" : "GI_Sheet_Sel_MDC_Beep_Type");
        if (changed)
            e[8] =
                strip ? uint8_t((e[8] & 0x7F) | (value & 1) << 7) : uint8_t((e[8] & 0xF0) | (value & 0x0F));
        Finish(call, changed, result);
        return true;
    }
    case CL_Dpmr_Ind_Id_Dec: {
        const bool changed =
            cmcDigitCodecs::EditBcdId(call.io, std::span<uint8_t>(e, 4), 7, "0000001", "9999999", false);
        Finish(call, changed, result);
        return true;
    }
    case CL_Dpmr_Ind_InputDigit: {
        // Bits 7..1 are the digit positions 1..7; bit 0 is kept.
        int32_t value = e[12] >> 1;
        const bool changed = cmcChoiceCodecs::EditBits(call.io, call.env, value, 1, 7,
                                                       cmcChoiceCodecs::BitLabels::Numeric, "");
        if (changed)
            e[12] = uint8_t((e[12] & 1) | (value & 0x7F) << 1);
        Finish(call, changed, result);
        return true;
    }
    case CL_Dpmr_Ind_Id_Sel: {
        int32_t value = e[13] >> 7;
        const bool changed =
            cmcChoiceCodecs::EditChoice(call.io, call.env, value, "GI_Sheet_Sel_Misc_OnOff2_I");
        if (changed)
            e[13] = uint8_t((e[13] & 0x7F) | (value & 1) << 7);
        Finish(call, changed, result);
        return true;
    }
    default:
        return RunId(call, *l, e, call.cell == CL_Nxdn_Ind_Id_Hex || call.cell == CL_Nxdn_Grp_Id_Hex, result);
    }
}

#include "model/indListCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "model/datCh.h"
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

// The entries are read and written as records of their kind, their count where the map keeps it.
struct ListInfo {
    int32_t category;
    int32_t kind;
    int32_t insertEvent;
    int32_t idBytes; // 4: 32-bit ID, 2: 16-bit ID, 0: packed BCD ID, -1: MDC alias (text first)
    int32_t keyCell;
};

constexpr ListInfo kLists[] = {
    {CT_Nxdn_Inv, datCh::kKindNxdnIndId, cmcEv::InsertNxdnIndId, 4, CL_Nxdn_Ind_Id_Dec},
    {CT_Nxdn_Tg, datCh::kKindNxdnGroupId, cmcEv::InsertNxdnGroupId, 2, CL_Nxdn_Grp_Id_Dec},
    {CT_VORN_Inv, datCh::kKindTrunkIndId, cmcEv::InsertTrunkIndId, 4, CL_VORN_Ind_Id_Dec},
    {CT_VORN_Tg, datCh::kKindTrunkTalkGroup, cmcEv::InsertTrunkTalkGroup, 2, CL_VORN_Grp_Id_Dec},
    {CT_Dpmr_Inv, datCh::kKindDpmrIndId, cmcEv::InsertDpmrIndId, 0, CL_Dpmr_Ind_Id_Dec},
    // MDC aliases: alias text, byte0 (bit 7 strip, bits 0-3 beep type), value (the 16-bit ID).
    {CT_MDC_Alias, datCh::kKindMdcAlias, cmcEv::InsertMdcAlias, -1, CL_Mdc_Alias1_Text},
};

// The second to fifth alias columns carry nothing in this model.
bool IsInertAliasCell(int32_t cell) {
    return cell >= CL_Mdc_Alias2_Strip && cell <= CL_Mdc_Alias5_Text;
}

// The dPMR ID cells that show an ID list entry elsewhere, read-only.
bool IsDpmrIdShownCell(int32_t cell) {
    return cell == CL_Dpmr_Id_Dec_Inv || cell == CL_Dpmr_Id_Dec_Grp || cell == CL_Dpmr_Id_Name_Inv ||
           cell == CL_Dpmr_Id_Name_Grp;
}

bool IsKeyCell(int32_t cell) {
    return cell == CL_Nxdn_Encryption_Key || cell == CL_Dpmr_Encryption_Key;
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
    const int count = datCh::EntriesInUse(call.W(), l.kind);
    if (count >= kMaxEntries || !call.handler.RoomFor(l.category, 1, 0)) {
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    indListEdit(call.work, call.handler.Get().defaults).InsertEntry(l.kind, count, count + 1);
    datCh::SetEntriesInUse(call.W(), l.kind, count + 1);
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

std::string TrimmedDisplayText(const uint8_t* text) {
    std::string shown = cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(text, 8));
    while (!shown.empty() && shown.back() == ' ')
        shown.pop_back();
    return shown;
}

bool RunName(indCellCall& call, uint8_t* name) {
    cmcTextCodecs::DisplayText p;
    p.length = 8;
    cmcTextCodecs::Glyphs glyphs;
    glyphs.userPatterns = call.W() + L::SlotAddress(indTable::kUserCharacters);
    const bool changed =
        cmcTextCodecs::EditDisplayText(call.io, call.env, std::span<uint8_t>(name, 8), p, glyphs);
    if (!call.io.painter && call.io.displayText.empty())
        call.io.displayText = TrimmedDisplayText(name);
    return changed;
}

// The decimal and hexadecimal ID cells of the NXDN and trunking lists.
bool RunId(indCellCall& call, const ListInfo& l, datCh& entry, bool hex) {
    const bool wide = l.idBytes == 4;
    int32_t value = wide ? int32_t(entry.id & 0xFFFF) : int32_t(entry.id);
    const int32_t key = call.io.Key();
    const bool individual = l.kind == datCh::kKindNxdnIndId || l.kind == datCh::kKindTrunkIndId;
    bool changed;
    if (hex) {
        changed = cmcDigitCodecs::EditHex(call.io, value, 1, 0xFFFF, 4);
    } else {
        cmcNumberCodecs::Stepped p;
        p.minimum = 1;
        p.maximum = individual ? kLastId : kAllId;
        changed = cmcNumberCodecs::EditStepped(call.io, value, p);
    }
    // Reserved IDs: a step up from the last ID lands on the all-call ID, anything else on the last ID.
    if (changed && value > kLastId && value < kAllId)
        value = hex && key == Io::kKeySpace ? kAllId : (!hex && key == Io::kKeySpace ? kAllId : kLastId);
    if (changed) {
        entry.id = uint32_t(value);
        call.scope |= cmcCellCapsule::kScopeRecord;
    }
    if (individual && value == kAllId)
        call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
    return changed;
}

// The fields of an entry in use (or just created); whether the cell changed the entry.
bool RunEntryCell(indCellCall& call, const ListInfo& l, datCh& entry) {
    switch (call.cell) {
    case CL_Nxdn_Ind_Id_Name:
    case CL_Nxdn_Grp_Id_Name:
    case CL_VORN_Ind_Id_Name:
    case CL_VORN_Grp_Id_Name:
    case CL_Dpmr_Ind_Id_Name:
        return RunName(call, entry.name);
    case CL_Mdc_Alias1_Text:
        return cmcTextCodecs::EditText(call.io, std::span<uint8_t>(entry.text, 8),
                                       cmcTextCodecs::Fill::Spaces);
    case CL_Mdc_Alias1_ID: {
        int32_t value = entry.value;
        const bool changed = cmcDigitCodecs::EditHex(call.io, value, 0, 0xFFFF, 4);
        if (changed)
            entry.value = uint16_t(value);
        return changed;
    }
    case CL_Mdc_Alias1_Beep_Type:
    case CL_Mdc_Alias1_Strip: {
        const bool strip = call.cell == CL_Mdc_Alias1_Strip;
        uint8_t& b = entry.byte0;
        int32_t value = strip ? b >> 7 : b & 0x0F;
        const bool changed = cmcChoiceCodecs::EditChoice(
            call.io, call.env, value, strip ? "GI_Sheet_Sel_Misc_Enable" : "GI_Sheet_Sel_MDC_Beep_Type");
        if (changed)
            b = strip ? uint8_t((b & 0x7F) | (value & 1) << 7) : uint8_t((b & 0xF0) | (value & 0x0F));
        return changed;
    }
    case CL_Dpmr_Ind_Id_Dec: {
        // The seven digits are packed decimal in the ID's four bytes.
        uint8_t digits[4];
        L::Put32(digits, 0, entry.id);
        const bool changed =
            cmcDigitCodecs::EditBcdId(call.io, std::span<uint8_t>(digits, 4), 7, "0000001", "9999999", false);
        if (changed)
            entry.id = L::Get32(digits, 0);
        return changed;
    }
    case CL_Dpmr_Ind_InputDigit: {
        // Bits 7..1 are the digit positions 1..7; bit 0 is kept.
        int32_t value = entry.byte0 >> 1;
        const bool changed = cmcChoiceCodecs::EditBits(call.io, call.env, value, 1, 7,
                                                       cmcChoiceCodecs::BitLabels::Numeric, "");
        if (changed)
            entry.byte0 = uint8_t((entry.byte0 & 1) | (value & 0x7F) << 1);
        return changed;
    }
    case CL_Dpmr_Ind_Id_Sel: {
        int32_t value = entry.byte1 >> 7;
        const bool changed =
            cmcChoiceCodecs::EditChoice(call.io, call.env, value, "GI_Sheet_Sel_Misc_OnOff2_I");
        if (changed)
            entry.byte1 = uint8_t((entry.byte1 & 0x7F) | (value & 1) << 7);
        return changed;
    }
    default:
        return RunId(call, l, entry, call.cell == CL_Nxdn_Ind_Id_Hex || call.cell == CL_Nxdn_Grp_Id_Hex);
    }
}

// The list a list cell belongs to (0 for other cells).
int32_t KindOfCell(int32_t cell) {
    switch (cell) {
    case CL_Nxdn_Ind_Id_Hex:
    case CL_Nxdn_Ind_Id_Dec:
    case CL_Nxdn_Ind_Id_Name:
        return datCh::kKindNxdnIndId;
    case CL_Nxdn_Grp_Id_Hex:
    case CL_Nxdn_Grp_Id_Dec:
    case CL_Nxdn_Grp_Id_Name:
        return datCh::kKindNxdnGroupId;
    case CL_VORN_Ind_Id_Dec:
    case CL_VORN_Ind_Id_Name:
        return datCh::kKindTrunkIndId;
    case CL_VORN_Grp_Id_Dec:
    case CL_VORN_Grp_Id_Name:
        return datCh::kKindTrunkTalkGroup;
    case CL_Dpmr_Ind_Id_Dec:
    case CL_Dpmr_Ind_Id_Name:
    case CL_Dpmr_Ind_InputDigit:
    case CL_Dpmr_Ind_Id_Sel:
        return datCh::kKindDpmrIndId;
    case CL_Mdc_Alias1_Text:
    case CL_Mdc_Alias1_ID:
    case CL_Mdc_Alias1_Beep_Type:
    case CL_Mdc_Alias1_Strip:
        return datCh::kKindMdcAlias;
    default:
        return 0;
    }
}

// A list cell addressed under another list's category (only a hand-made cell address does this) edits
// that list's entry at the byte positions of its own list, as it always has: the bytes of the entry
// with no record field in between.
bool RunForeignCell(indCellCall& call, const ListInfo& l, uint8_t* e) {
    // The ID of the category's layout: 32 bits for the wide lists, else 16 bits.
    auto editId = [&] {
        const bool wide = l.idBytes == 4;
        datCh asOwn;
        asOwn.id = wide ? L::Get32(e, 0) : L::Get16(e, 0);
        const bool changed =
            RunId(call, l, asOwn, call.cell == CL_Nxdn_Ind_Id_Hex || call.cell == CL_Nxdn_Grp_Id_Hex);
        if (changed && wide)
            L::Put32(e, 0, asOwn.id);
        else if (changed)
            L::Put16(e, 0, asOwn.id);
        return changed;
    };
    switch (call.cell) {
    case CL_Nxdn_Ind_Id_Name:
    case CL_Nxdn_Grp_Id_Name:
    case CL_VORN_Ind_Id_Name:
    case CL_VORN_Grp_Id_Name:
        return RunName(call, e + (l.idBytes == 2 ? 2 : 4));
    case CL_Dpmr_Ind_Id_Name:
        return RunName(call, e + 4);
    case CL_Mdc_Alias1_Text:
        return cmcTextCodecs::EditText(call.io, std::span<uint8_t>(e, 8), cmcTextCodecs::Fill::Spaces);
    case CL_Mdc_Alias1_ID:
    case CL_Mdc_Alias1_Beep_Type:
    case CL_Mdc_Alias1_Strip: {
        datCh asOwn;
        asOwn.value = L::Get16(e, 9);
        asOwn.byte0 = e[8];
        const bool changed = RunEntryCell(call, l, asOwn);
        e[8] = asOwn.byte0;
        L::Put16(e, 9, asOwn.value);
        return changed;
    }
    case CL_Dpmr_Ind_Id_Dec:
        return cmcDigitCodecs::EditBcdId(call.io, std::span<uint8_t>(e, 4), 7, "0000001", "9999999", false);
    case CL_Dpmr_Ind_InputDigit:
    case CL_Dpmr_Ind_Id_Sel: {
        datCh asOwn;
        asOwn.byte0 = e[12];
        asOwn.byte1 = e[13];
        const bool changed = RunEntryCell(call, l, asOwn);
        e[12] = asOwn.byte0;
        e[13] = asOwn.byte1;
        return changed;
    }
    default:
        return editId();
    }
}

// The dPMR ID list as the call list windows show it: ID and name of entry parameter, read only.
void ShowDpmrId(indCellCall& call) {
    call.io.displayText.clear();
    const int32_t n = call.parameter;
    if (n < 0 || n >= std::min<int32_t>(datCh::EntriesInUse(call.W(), datCh::kKindDpmrIndId), kMaxEntries))
        return;
    datCh entry(&call.work);
    entry.Decode(datCh::kKindDpmrIndId, n);
    if (call.cell == CL_Dpmr_Id_Dec_Inv || call.cell == CL_Dpmr_Id_Dec_Grp) {
        uint8_t digits[4];
        L::Put32(digits, 0, entry.id);
        call.io.Show(cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(digits, 4), 7));
    } else {
        call.io.Show(TrimmedDisplayText(entry.name));
    }
}

// The NXDN and dPMR encryption keys: one 16-bit value per entry.
void RunKey(indCellCall& call, int32_t& result) {
    const bool nxdn = call.cell == CL_Nxdn_Encryption_Key;
    const int kind = nxdn ? datCh::kKindNxdnKey : datCh::kKindDpmrKey;
    if (call.parameter < 0 || call.parameter >= datCh::Capacity(kind)) {
        call.io.displayText.clear();
        return;
    }
    datCh key(&call.work);
    key.Decode(kind, call.parameter);
    int32_t value = key.value;
    const bool changed = nxdn ? cmcDigitCodecs::EditHex(call.io, value, 0, 0xFFFF, 4)
                              : cmcNumberCodecs::EditNumber(call.io, value, 5, 0, 32767, false);
    if (changed) {
        key.value = uint16_t(value);
        key.Encode(0, call.parameter);
    }
    Finish(call, changed, result);
}

// The blank row after the last entry: only its key cell acts, and only the first blank row can become
// an entry. Whether the row now holds a new entry the cell goes on to edit.
bool RunBlankRow(indCellCall& call, const ListInfo& l, int32_t n, int count, int32_t& result) {
    call.io.displayText.clear();
    if (call.cell != l.keyCell) {
        // Typing elsewhere in the blank row starts the entry at its key cell; a text or choice
        // has nothing to go into yet.
        if (call.io.editState != Io::kShow)
            call.io.Refuse(Io::kRefuseEmptyRow);
        if (call.capsule.key < 128)
            call.capsule.redirect = {1, call.category, l.keyCell, n, call.capsule.key};
        return false;
    }
    const bool entryKey = IsEntryKey(call.io.Key(), l.idBytes < 0);
    if (!entryKey || n != count || n >= kMaxEntries) {
        if (entryKey && n >= kMaxEntries)
            call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    if (!CreateEntry(call, l))
        return false;
    result = Io::kResultRefresh;
    return true;
}

} // namespace

int32_t indListCells::KeyCellOf(int32_t category) {
    const ListInfo* l = ListOf(category);
    return l ? l->keyCell : -1;
}

bool indListCells::Handle(indCellCall& call, int32_t& result) {
    if (IsInertAliasCell(call.cell)) {
        call.io.displayText.clear();
        return true;
    }
    if (IsDpmrIdShownCell(call.cell)) {
        ShowDpmrId(call);
        return true;
    }
    if (IsKeyCell(call.cell)) {
        RunKey(call, result);
        return true;
    }
    const ListInfo* l = ListOf(call.category);
    if (!l || KindOfCell(call.cell) == 0)
        return false;
    const int32_t n = call.parameter;
    if (n < 0 || n >= kMaxEntries + 10) {
        call.io.displayText.clear();
        return true;
    }
    const int count = datCh::EntriesInUse(call.W(), l->kind);
    if (n >= count && !RunBlankRow(call, *l, n, count, result))
        return true;
    datCh entry(&call.work);
    bool changed;
    int32_t at = 0, size = 0;
    if (KindOfCell(call.cell) != l->kind && datCh::EntryBytes(l->kind, n, at, size)) {
        changed = RunForeignCell(call, *l, call.W() + at);
    } else {
        entry.Decode(l->kind, n);
        changed = RunEntryCell(call, *l, entry);
        if (changed)
            entry.Encode(0, n);
    }
    Finish(call, changed, result);
    return true;
}

// The read-only and key cells in any category, the entry cells only in a list's category (Handle
// declines them elsewhere).
bool indListCells::Serves(int32_t cell) {
    return IsInertAliasCell(cell) || IsDpmrIdShownCell(cell) || IsKeyCell(cell) || KindOfCell(cell) != 0;
}

#include "model/indIdRefCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <span>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

constexpr const char* kDpmrIds = "GI_Sheet_Sel_CallList";
constexpr const char* kDpmrGroups = "GI_Sheet_Sel_CallList_Grp";
constexpr const char* kNxdnIds = "GI_Sheet_Sel_IndList";

const indIdRefRow kRows[] = {
    {CL_Dpmr_Status_Set_PowerStatID, L::At(indTable::kDpmrStatusSettings, 4), datCh::kKindDpmrIndId, kDpmrIds,
     Flex_DpmrIDList_ChNo_Inv},
    {CL_Dpmr_Stun_StunID, L::At(indTable::kDpmrStun, 2), datCh::kKindDpmrIndId, kDpmrIds,
     Flex_DpmrIDList_ChNo_Inv},
    {CL_Dpmr_Stun_KillID, L::At(indTable::kDpmrStun, 4), datCh::kKindDpmrIndId, kDpmrIds,
     Flex_DpmrIDList_ChNo_Inv},
    {CL_Dpmr_Stun_AmbienceID, L::At(indTable::kDpmrStun, 6), datCh::kKindDpmrIndId, kDpmrIds,
     Flex_DpmrIDList_ChNo_Inv},
    {CL_Dpmr_Grp_Set_BlockDecode_Min, L::At(indTable::kDpmrOptions, 8), datCh::kKindDpmrIndId, kDpmrGroups,
     Flex_DpmrIDList_ChNo_Grp},
    {CL_Dpmr_Grp_Set_BlockDecode_Max, L::At(indTable::kDpmrOptions, 10), datCh::kKindDpmrIndId, kDpmrGroups,
     Flex_DpmrIDList_ChNo_Grp},
    {CL_Dpmr_Gps_GPS_Send_ID, L::At(indTable::kDpmrOptions, 52), datCh::kKindDpmrIndId, kDpmrIds,
     Flex_DpmrIDList_ChNo_Inv},
    {CL_Nxdn_Status_Set_PowerStatID, L::At(indTable::kNxdnStatusSettings, 4), datCh::kKindNxdnIndId, kNxdnIds,
     Flex_NxdnInvIDList_ChNo},
    {CL_Nxdn_Gps_GPS_Send_ID, L::At(indTable::kNxdnOptions, 52), datCh::kKindNxdnIndId, kNxdnIds,
     Flex_NxdnInvIDList_ChNo},
    // The emergency call's dPMR target, in the model's own area.
    {CL_Emer_Signal_DpmrTargetId, L::At(indTable::kModelExtras, indKeysArea::kEmergencyDpmrTarget),
     datCh::kKindDpmrIndId, kDpmrIds, Flex_DpmrInvIDList_ChNo},
    // The trunking counterparts of the NXDN status and GPS IDs (table 95, bytes 2-3 and 4-5), and the
    // group each of the eight dPMR receive talk groups names (table 117, bytes 2-3 of each entry).
    {CL_Nxdn_Status_Set_VORN_PowerStatID, L::At(indTable::kTrunkOptions, 2), datCh::kKindTrunkIndId,
     "GI_Sheet_Sel_IndList_VORN", Flex_NxdnInvIDList_VORN_ChNo},
    {CL_Nxdn_GPS_VORN_GPS_Send_ID, L::At(indTable::kTrunkOptions, 4), datCh::kKindTrunkIndId,
     "GI_Sheet_Sel_IndList_VORN", Flex_NxdnInvIDList_VORN_ChNo},
    {CL_Dpmr_Grp_Set_BelongGrpList_ID, L::At(indTable::kDpmrRxTalkGroups, 2), datCh::kKindDpmrIndId,
     kDpmrGroups, Flex_DpmrIDList_ChNo_Grp, 4, 8},
};

// The shown form: entry number + 1, and for dPMR entries ": " and the entry's seven ID digits.
std::string Shown(cmcEeprom& work, const indIdRefRow& row, int32_t entry) {
    std::string text = std::to_string(entry + 1);
    if (row.listKind == datCh::kKindDpmrIndId && entry >= 0 && entry < datCh::Capacity(row.listKind)) {
        datCh id(&work);
        id.Decode(row.listKind, entry);
        uint8_t digits[4];
        L::Put32(digits, 0, id.id);
        text += ": " + cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(digits, 4), 7);
    }
    return text;
}

} // namespace

const indIdRefRow* indIdRefCells::Find(int32_t cell) {
    const auto it = std::find_if(std::begin(kRows), std::end(kRows),
                                 [cell](const indIdRefRow& r) { return r.cell == cell; });
    return it == std::end(kRows) ? nullptr : &*it;
}

bool indIdRefCells::Handle(indCellCall& call, int32_t& result) {
    const indIdRefRow* row = Find(call.cell);
    if (!row)
        return false;
    const int32_t n = row->entries > 1 ? call.parameter : 0;
    if (n < 0 || n >= row->entries) {
        call.io.displayText.clear();
        return true;
    }
    const int32_t at = row->at + row->stride * n;
    uint8_t* w = call.W();
    const int32_t stored = L::Get16(w, at);
    int32_t value = stored;
    const bool kept = call.ShowOnlyUnlessKept(at, 2);
    const int32_t k = call.io.Key();
    if (k == Io::kKeySpace || k == Io::kKeyBackspace)
        call.io.key = 0; // entry numbers are chosen from the list, not stepped
    bool changed = false;
    if (call.io.editState == Io::kEntered) {
        // A typed number is the entry number as shown (from 1).
        const std::string& t = call.io.enteredText;
        const size_t digits = t.find_first_not_of(' ');
        if (digits != std::string::npos && std::isdigit(static_cast<unsigned char>(t[digits]))) {
            value = std::atoi(t.c_str() + digits) - 1;
            changed = true;
        } else {
            call.io.Refuse(Io::kRefuseNumber);
        }
    } else if (k >= '0' && k <= '9') {
        call.io.OpenEditorWith(static_cast<char>(k));
    } else {
        changed = cmcChoiceCodecs::EditChoice(call.io, call.env, value, row->list, row->choiceCell);
    }
    const int32_t entries = datCh::EntriesInUse(w, row->listKind);
    if (changed && call.io.editState == Io::kEntered && (value < 0 || value >= std::max(entries, 1)))
        call.io.Refuse(Io::kRefuseRange, {"1", std::to_string(std::max(entries, 1))});
    if (changed && kept && call.notify == cmcCellHandler::kNotifyAction && value != stored && value >= 0 &&
        value < std::max(entries, 1)) {
        L::Put16(w, at, uint32_t(value));
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultEdit)
        call.io.displayText = Shown(call.work, *row, L::Get16(w, at));
    if (!kept)
        call.io.SetFontColor(Io::kGrey);
    // A reference past the end of a list that has entries names none of them.
    if (entries > 0 && L::Get16(w, at) >= entries)
        call.capsule.stateBits |= cmcCellCapsule::kStateError;
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indIdRefCells::Serves(int32_t cell) {
    return Find(cell) != nullptr;
}

#include "model/indCheckCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"

#include <span>

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
    const int count = datCh::EntriesInUse(call.work.Data(), datCh::kKindNxdnIndId);
    for (int n = 0; n < count && n < 500; ++n)
        if (call.handler.WarningOf(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, n)) {
            call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
            return;
        }
}

namespace {

// A check cell's targets: cells first..last, each for records firstRecord .. firstRecord + records - 1,
// whose warning (or error) bits the check collects.
struct CheckTarget {
    int32_t category;
    int32_t first, last;
    int16_t firstRecord, records;
};

struct CheckRow {
    int32_t check;
    bool warnings; // collects warnings; else errors
    int8_t family; // only in this model family; -1 in both
    std::span<const CheckTarget> targets;
};

constexpr CheckTarget kUserTones[] = {{CT_UserTone, CL_UTone_Encode, CL_UTone_Length, 0, 15}};
constexpr CheckTarget kMskRange[] = {
    {CT_MSK_AdrRange, CL_Msk_AdrRange_Individual, CL_Msk_AdrRange_Killer, 0, 1}};
constexpr CheckTarget kMskOwn[] = {{CT_MSK_IdGroup, CL_Msk_IdGroup_Adr, CL_Msk_IdGroup_SFunc, 0, 8}};
constexpr CheckTarget kMskConfig[] = {
    {CT_MSK_Cfg, CL_Msk_Cfg_Enc_PttCall, CL_Msk_Cfg_Etc_PttEnableAtConnect, 0, 1}};
constexpr CheckTarget kMdcSelf[] = {{CT_Null, CL_Mdc_General_Self_Id, CL_Mdc_General_Self_Id, 0, 5}};
constexpr CheckTarget kMdcStatus[] = {{CT_Null, CL_Mdc_Status_Rx, CL_Mdc_Status_Enabled, 0, 80},
                                      {CT_Null, CL_Mdc_Status_Num, CL_Mdc_Status_Tx, 0, 80},
                                      {CT_Null, CL_Mdc_Status_Poll_Tx, CL_Mdc_Status_Poll_Tx, 0, 80}};
constexpr CheckTarget kNacs[] = {{CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, CL_Nxdn_NacCh_TxNac, 0, 40}};
constexpr CheckTarget kLtrRepeaters[] = {{CT_BankOp, CL_Mch_Rpt, CL_Mch_Rpt, 0, 8}};
constexpr CheckTarget kDpmrRxTg[] = {
    {CT_Dpmr_RxTg, CL_Dpmr_Grp_Set_BelongGrpList_ID, CL_Dpmr_Grp_Set_BelongGrpList_ID, 0, 8}};
constexpr CheckTarget kDpmrTg[] = {
    {CT_Dpmr_Op, CL_Dpmr_Grp_Set_BelongGrpList_ON, CL_Dpmr_Grp_Set_BellIcon, 0, 1}};
constexpr CheckTarget kDpmrRotary[] = {
    {CT_Dpmr_RotaryStatus, CL_Dpmr_RotaryStatus_StatusNumber, CL_Dpmr_RotaryStatus_StatusNumber, 0, 16}};
constexpr CheckTarget kDpmrStatus[] = {
    {CT_Dpmr_Op, CL_Dpmr_Status_Set_AllowPoll, CL_Dpmr_Status_Set_Bell, 0, 1}};
constexpr CheckTarget kDpmrStun[] = {{CT_Dpmr_Op, CL_Dpmr_Stun_Mode, CL_Dpmr_Stun_TXTimer, 0, 1}};
constexpr CheckTarget kDpmrOption[] = {
    {CT_Dpmr_Op, CL_Dpmr_Option_CallIdReset_onClearDown, CL_Dpmr_Option_AnalogTalkBackText, 0, 1}};
constexpr CheckTarget kDpmrGps[] = {{CT_Dpmr_Op, CL_Dpmr_Gps_Fix_Id, CL_Dpmr_Gps_Sentence, 0, 1}};
constexpr CheckTarget kScanLists[] = {{CT_Scan, CL_ScanList_Prio1_CH, CL_ScanList_TX_CH, 0, 17}};

const CheckRow kChecks[] = {
    {CL_Check_User_Tone_Encode, true, -1, kUserTones},
    {CL_Check_Msk_IdRange, false, -1, kMskRange},
    {CL_Check_Msk_OwnIdGroup, false, -1, kMskOwn},
    {CL_Check_Msk_Config, false, -1, kMskConfig},
    {CL_Check_Mdc_SelfID, true, -1, kMdcSelf},
    {CL_Check_MDC_Status, true, -1, kMdcStatus},
    {CL_Check_Nxdn_Nacch, false, -1, kNacs},
    {CL_Check_Ltr_Repeater, false, 0, kLtrRepeaters},
    {CL_Check_Dpmr_RXTalkgroup, false, -1, kDpmrRxTg},
    {CL_Check_Dpmr_TalkgroupSetting, false, -1, kDpmrTg},
    {CL_Check_Dpmr_RotaryStatus, false, -1, kDpmrRotary},
    {CL_Check_Dpmr_StatusSetting, false, -1, kDpmrStatus},
    {CL_Check_Dpmr_StunSetting, false, -1, kDpmrStun},
    {CL_Check_Dpmr_Option, false, -1, kDpmrOption},
    {CL_Check_Dpmr_GPS, false, -1, kDpmrGps},
    {CL_Check_Scan_Setting, true, -1, kScanLists},
};

void Collect(indCellCall& call, const CheckRow& row) {
    if (row.family >= 0 && call.modelFamily != row.family)
        return;
    const uint8_t mark = row.warnings ? cmcCellCapsule::kStateWarning : cmcCellCapsule::kStateError;
    for (const CheckTarget& t : row.targets)
        for (int32_t n = t.firstRecord; n < t.firstRecord + t.records; ++n)
            for (int32_t cell = t.first; cell <= t.last; ++cell) {
                const bool marked = row.warnings ? call.handler.WarningOf(t.category, cell, n)
                                                 : call.handler.ErrorOf(t.category, cell, n);
                if (marked) {
                    call.capsule.stateBits |= mark;
                    return;
                }
            }
}

} // namespace

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
    case CL_Check_SetMode:
    case CL_Check_Common:
        // The tree marks the set mode and common sheets with these; no cell of theirs has a
        // consistency rule in this model, so they never mark.
        call.io.displayText.clear();
        return true;
    default:
        break;
    }
    for (const CheckRow& row : kChecks)
        if (row.check == call.cell) {
            Collect(call, row);
            call.io.displayText.clear();
            return true;
        }
    return false;
}

bool indCheckCells::Serves(int32_t cell) {
    if (cell == CL_Check_Nxdn_IndID || cell == CL_Check_Mch || cell == CL_Check_SetMode ||
        cell == CL_Check_Common)
        return true;
    for (const CheckRow& row : kChecks)
        if (row.check == cell)
            return true;
    return false;
}

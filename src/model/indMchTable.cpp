#include "model/indMchTable.h"

#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "model/indMchBankCells.h"
#include "model/indMchBehaviours.h"

#include <array>

namespace {

using Row = indMchRow;
using F = datCh::Field;
using C = indMchCond;
using M = indMchRow::Mark;
using B = indMchBehaviours;

constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";

// A cell of a bank or of every bank.
constexpr Row Bank(int32_t cell, Row::BankRun run) {
    Row r;
    r.cell = cell;
    r.bankRun = run;
    return r;
}
// A cell of a channel row with a behaviour of its own.
constexpr Row Cell(int32_t cell, Row::ChannelRun run, F field = F::Count) {
    Row r;
    r.cell = cell;
    r.run = run;
    r.field = field;
    return r;
}
// A choice on one channel field.
constexpr Row Choice(int32_t cell, F field, const char* list) {
    Row r = Cell(cell, &B::Choice, field);
    r.list = list;
    return r;
}

constexpr Row kRows[] = {
    // Banks.
    Bank(CL_Mch_Bank, &indMchBankCells::Count),
    Bank(CL_Mch_SmarTrunk, &indMchBankCells::Type),
    Bank(CL_Mch_LTR, &indMchBankCells::Type),
    Bank(CL_Mch_TrunkType, &indMchBankCells::Type),
    Bank(CL_Mch_TrunkType2, &indMchBankCells::Type),
    Bank(CL_Bank_UsedQty, &indMchBankCells::Used),
    Bank(CL_Bank_UsedTotal, &indMchBankCells::Used),
    Bank(CL_Bank_UsedLeft, &indMchBankCells::Used),
    Bank(CL_Mch_UsedCHs, &indMchBankCells::Room),

    // Option cells of a channel.
    Choice(CL_Mch_Inh, F::Inhibit, "GI_Sheet_Sel_Mch_ChInh"),
    Choice(CL_Mch_TxInh, F::TxInhibit, "GI_Sheet_Sel_Mch_CH_TxInh"),
    Choice(CL_Mch_TxInh_Qirs, F::TxInhibit, "GI_Sheet_Sel_Mch_CH_TxInh"),
    Choice(CL_Mch_ClockShift, F::ClockShift, "GI_Sheet_Sel_Mch_ClShift"),
    Choice(CL_Mch_Nar, F::Narrow, "GI_Sheet_Sel_Mch_Nar").GreyWhen(C::Type3),
    Choice(CL_Mch_Nar_Pmr, F::Narrow, "GI_Sheet_Sel_Mch_Nar").GreyWhen(C::Type3),
    Choice(CL_Mch_WNM, F::Narrow, "GI_Sheet_Sel_Mch_WNM").FlexMark().GreyWhen(C::Type3).Marks(M::WnmWarn),
    Choice(CL_Mch_WNM_Pmr, F::Narrow, "GI_Sheet_Sel_Mch_WNM").FlexMark().GreyWhen(C::Type3).Marks(M::WnmWarn),
    Choice(CL_Mch_Compander, F::Compander, kOnOff2).GreyWhen(C::Type3NoF1),
    Choice(CL_Mch_PwrSave, F::PowerSave, kOnOff2),
    Choice(CL_Mch_PwrSave_Qirs, F::PowerSave, kOnOff2),
    Choice(CL_Mch_Tot, F::TimeOut, kOnOff2),
    Choice(CL_Mch_Tot_Qirs, F::TimeOut, kOnOff2),
    Choice(CL_Mch_RfPo, F::RfPower, "GI_Sheet_Sel_Mch_RfPwr"),
    Choice(CL_Mch_Lockout, F::Lockout, "GI_Sheet_Sel_Mch_Lockout_LmrP25")
        .InPmr("GI_Sheet_Sel_Mch_Lockout_Pmr"),
    Choice(CL_Mch_Lockout_Pmr, F::Lockout, "GI_Sheet_Sel_Mch_Lockout_LmrP25")
        .InPmr("GI_Sheet_Sel_Mch_Lockout_Pmr"),
    Choice(CL_Mch_Lockout_Nxdn, F::Lockout, "GI_Sheet_Sel_Mch_Lockout_LmrP25")
        .InPmr("GI_Sheet_Sel_Mch_Lockout_Pmr"),
    Choice(CL_Mch_AutoChScan, F::AutoChannelScan, kOnOff2),
    Choice(CL_Mch_AutoReset, F::AutoReset, "GI_Sheet_Sel_Mch_AutoReset_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_AutoReset_Pmr"),
    Choice(CL_Mch_AutoReset_Pmr, F::AutoReset, "GI_Sheet_Sel_Mch_AutoReset_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_AutoReset_Pmr"),
    Choice(CL_Mch_AutoReset_Qirs, F::AutoReset, "GI_Sheet_Sel_Mch_AutoReset_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_AutoReset_Pmr"),
    Choice(CL_Mch_CH_Mute_Lmr, F::ChannelMute, "GI_Sheet_Sel_Mch_ChMute")
        .FlexMark()
        .GreyWhen(C::Type3)
        .Marks(M::MuteWarn),
    Choice(CL_Mch_CH_Mute, F::ChannelMute, "GI_Sheet_Sel_Mch_ChMute")
        .FlexMark()
        .GreyWhen(C::Type3)
        .Marks(M::MuteWarn),
    Choice(CL_Mch_2Tone, F::TwoTone, "GI_Sheet_Sel_Mch_2Tone").Typed().GreyWhen(C::TwoTone),
    Choice(CL_Mch_Log, F::Log, "GI_Sheet_Sel_Mch_Log_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_Log_Pmr")
        .GreyWhen(C::Type3NoF1),
    Choice(CL_Mch_Log_Pmr, F::Log, "GI_Sheet_Sel_Mch_Log_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_Log_Pmr")
        .GreyWhen(C::Type3NoF1),
    Choice(CL_Mch_Log_Qirs, F::Log, "GI_Sheet_Sel_Mch_Log_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_Log_Pmr")
        .GreyWhen(C::Type3NoF1),
    Choice(CL_Mch_Scan_Inc, F::ScanInclude, "GI_Sheet_Sel_Mch_ScanInc"),
    Choice(CL_Mch_Scan_List, F::ScanList, "GI_Sheet_Sel_Mch_Scan_List").DashesWhen(C::ScanListOff, "----"),
    Choice(CL_Mch_Scan_ListSel, F::ScanListSelect, "GI_Sheet_Sel_Mch_Scan_ListSel")
        .DashesWhen(C::ScanListOff, "---"),
    Choice(CL_Mch_Scrm_On, F::Scrambler, "GI_Sheet_Sel_Mch_ScramOn").GreyWhen(C::Type0NoF3),
    Choice(CL_Mch_Sql_Tight, F::SquelchTight, kOnOff2),
    Choice(CL_Mch_VORN_TxInh, F::VornTxInhibit, "GI_Sheet_Sel_Mch_CH_TxInh"),
    Choice(CL_Mch_SigType_Log_Lmr, F::SignallingLog, "GI_Sheet_Sel_Mch_SigType_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_SigType_Pmr")
        .GreyWhen(C::Type3),
    Choice(CL_Mch_SigType_Log_Pmr, F::SignallingLog, "GI_Sheet_Sel_Mch_SigType_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_SigType_Pmr")
        .GreyWhen(C::Type3),
    Choice(CL_Mch_SigType_Emg_Lmr, F::SignallingEmergency, "GI_Sheet_Sel_Mch_SigType_Emg_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_SigType_Emg_Pmr")
        .GreyWhen(C::Type3),
    Choice(CL_Mch_SigType_Emg_Pmr, F::SignallingEmergency, "GI_Sheet_Sel_Mch_SigType_Emg_Lmr")
        .InPmr("GI_Sheet_Sel_Mch_SigType_Emg_Pmr")
        .GreyWhen(C::Type3),
    Choice(CL_Mch_Moni, F::Monitor, "GI_Sheet_Sel_Mch_Moni").FlexMark().GreyWhen(C::Type3).Marks(M::MoniWarn),
    Choice(CL_Mch_Moni_Qirs, F::Monitor, "GI_Sheet_Sel_Mch_Moni")
        .FlexMark()
        .GreyWhen(C::Type3)
        .Marks(M::MoniWarn),
    Choice(CL_Mch_Sel, F::Selective, "GI_Sheet_Sel_Mch_Sel").FlexMark().GreyWhen(C::Type3).Marks(M::SelError),
    Choice(CL_Mch_Sel_Qirs, F::Selective, "GI_Sheet_Sel_Mch_Sel")
        .FlexMark()
        .GreyWhen(C::Type3)
        .Marks(M::SelError),
    Choice(CL_Mch_Call, F::Call, "GI_Sheet_Sel_Mch_Call").FlexMark().GreyWhen(C::Type3).Marks(M::CallError),
    Choice(CL_Mch_Call_Qirs, F::Call, "GI_Sheet_Sel_Mch_Call")
        .FlexMark()
        .GreyWhen(C::Type3)
        .Marks(M::CallError),
    Choice(CL_Mch_PTT, F::Ptt, "GI_Sheet_Sel_Mch_Ptt").FlexMark().GreyWhen(C::Type3).Marks(M::CallError),
    Choice(CL_Mch_PTT_Qirs, F::Ptt, "GI_Sheet_Sel_Mch_Ptt").FlexMark().GreyWhen(C::Type3).Marks(M::CallError),
    Choice(CL_Mch_Form, F::Form, "GI_Sheet_Sel_Mch_Form").GreyWhen(C::Type3),
    Choice(CL_Mch_Form_Qirs, F::Form, "GI_Sheet_Sel_Mch_Form").GreyWhen(C::Type3),
    Choice(CL_Mch_Rpt_C, F::RepeaterCode, "GI_Sheet_Sel_RxC_AbcCode")
        .Typed()
        .GreyWhen(C::Type3)
        .DashesWhen(C::RptCode, "----"),
    Choice(CL_Mch_Rpt_C_Qirs, F::RepeaterCode, "GI_Sheet_Sel_RxC_AbcCode")
        .Typed()
        .GreyWhen(C::Type3)
        .DashesWhen(C::RptCode, "----"),
    Choice(CL_Mch_Rpt_L, F::RepeaterLong, "GI_Sheet_Sel_Mch_LTone").DashesWhen(C::RptCode, "-"),
    Choice(CL_Mch_Rpt_L_Qirs, F::RepeaterLong, "GI_Sheet_Sel_Mch_LTone").DashesWhen(C::RptCode, "-"),
    Choice(CL_Mch_Stn_C, F::StationCode, "GI_Sheet_Sel_RxC_AbcCode").Typed().DashesWhen(C::StnCode, "----"),
    Choice(CL_Mch_Id_C, F::IdCode, "GI_Sheet_Sel_RxC_AbcCode").Typed().DashesWhen(C::StnCode, "----"),
    Choice(CL_Mch_Stn_L, F::StationLong, "GI_Sheet_Sel_Mch_LTone").DashesWhen(C::StnCode, "-"),
    Choice(CL_Mch_Id_L, F::IdLong, "GI_Sheet_Sel_Mch_LTone").DashesWhen(C::StnCode, "-"),
    Choice(CL_Mch_Pos, F::Position, "GI_Sheet_Sel_Mch_Pos").GreyWhen(C::Type3),
    Choice(CL_Mch_DtmfDec, F::DtmfDecode, "GI_Sheet_Sel_Mch_ChMuteLtr").GreyWhen(C::NoF1),
    Choice(CL_Mch_Msk_Sig, F::MskSignalling, "GI_Sheet_Sel_Mch_Msk_Signal_Pmr")
        .RedrawsAll()
        .GreyWhen(C::Type3),
    Choice(CL_Mch_Msk_SendStatus, F::MskSendStatus, "GI_Sheet_Sel_Mch_SendStatus")
        .FlexMark()
        .GreyWhen(C::Type3OrPmrNoSig),
    Choice(CL_Mch_Msk_Stn, F::StationCode, "GI_Sheet_Sel_Mch_Msk_ID").Typed().DashesWhen(C::MskCode, "----"),
    Choice(CL_Mch_Dig_Sig, F::ChannelType, "GI_Sheet_Sel_Mch_Dig_Signal").RedrawsAll(),
    Choice(CL_Mch_Nxdn_SQL_Type, F::SquelchType, "GI_Sheet_Sel_Mch_Nxdn_SQL_Type").GreyWhen(C::Type0),
    Choice(CL_Mch_Nxdn_Encryption_No, F::NxdnEncryption, "GI_Sheet_Sel_Nxdn_EncryptionList")
        .Typed()
        .GreyWhen(C::Type0NoF3),
    Choice(CL_Mch_Nxdn_Fast_Mute, F::FastMute, kOnOff2).GreyWhen(C::Type0NoF3),
    Choice(CL_Mch_Dpmr_SQL_Type, F::SquelchType, "GI_Sheet_Sel_Mch_Dpmr_SQL_Type")
        .DashesWhen(C::Type0, "----"),
    Choice(CL_Mch_Dpmr_SendStatus, F::DpmrSendStatus, "GI_Sheet_Sel_Mch_Dpmr_SendStatus")
        .FlexMark()
        .DashesWhen(C::NotTypes23, "----"),
    Choice(CL_Mch_Dpmr_Fast_Mute, F::FastMute, kOnOff2).DashesWhen(C::Type0, "----"),
    // Group (LTR) bank channels: flags beside their IDs.
    Choice(CL_Grp_TxInh, F::GroupTxInhibit, "GI_Sheet_Sel_Mch_CH_TxInh"),
    Choice(CL_Grp_PhonePriv, F::GroupPhonePrivacy, "GI_Sheet_Sel_Misc_Enable2"),
    Choice(CL_Grp_BlockIdEnable, F::GroupBlockIdEnable, "GI_Sheet_Sel_Misc_OnOff_I"),

    // Cells of a channel with behaviours of their own.
    Cell(CL_Mch_No, &B::Number),
    Cell(CL_MchWin_No, &B::Number),
    Cell(CL_Mch_Atr, &B::Marks),
    Cell(CL_Mch_FreqR, &B::RxFrequency),
    Cell(CL_Mch_FreqT, &B::TxFrequency),
    Cell(CL_Mch_CTone_R, &B::RxTone),
    Cell(CL_Mch_CTone_T, &B::TxTone),
    Cell(CL_Mch_Text, &B::Name),
    Cell(CL_Mch_Scan, &B::ScanLists),
    Cell(CL_Mch_Scan_Qirs, &B::ScanLists),
    Cell(CL_Mch_RxCNo, &B::ReceiveCodes),
    Cell(CL_Mch_RxCNo2, &B::ReceiveCodes),
    Cell(CL_Mch_RxCNo2_Ltr, &B::ReceiveCodes),
    Cell(CL_Mch_Msk_RxCNo, &B::MskReceiveCodes, F::MskReceiveCodes),
    Cell(CL_Mch_RxCNoDtmf, &B::DtmfDecodeCode, F::DtmfDecodeCode),
    Cell(CL_Mch_SigType_Dec_Lmr, &B::SignallingDecode, F::SignallingDecode),
    Cell(CL_Mch_SigType_Dec_Pmr, &B::SignallingDecode, F::SignallingDecode),
    Cell(CL_Mch_Msk_Rpt, &B::MskRepeater, F::RepeaterCode),
    Cell(CL_Grp_RxId, &B::GroupNumber, F::GroupRxId).Range(1, 254),
    Cell(CL_Grp_TxId, &B::GroupNumber, F::GroupTxId).Range(0, 254),
    Cell(CL_Grp_HomeRptCh, &B::GroupNumber, F::GroupHomeRepeater).Range(1, 20),
    Cell(CL_Grp_BlockIdStart, &B::GroupNumber, F::GroupBlockIdStart).Range(1, 254),
    Cell(CL_Grp_BlockIdEnd, &B::GroupNumber, F::GroupBlockIdEnd).Range(1, 254),
    Cell(CL_Mch_Nxdn_RxNac, &B::NxdnNac, F::NxdnRxNac),
    Cell(CL_Mch_Nxdn_TxNac, &B::NxdnNac, F::NxdnTxNac),
    Cell(CL_Mch_Dpmr_RxCc, &B::DpmrColourCode, F::RxColourCode),
    Cell(CL_Mch_Dpmr_TxCc, &B::DpmrColourCode, F::TxColourCode),
    Cell(CL_Mch_Nxdn_Unit_Dec, &B::NxdnUnitId, F::NxdnUnitId),
    Cell(CL_Mch_VORN_Unit_Dec, &B::VornUnitId, F::VornUnitId),
    Cell(CL_Mch_Nxdn_Ind_List, &B::IndividualList, F::IndividualList),
    Cell(CL_Mch_VORN_Ind_List, &B::IndividualList, F::IndividualList),
    Cell(CL_Mch_Nxdn_TG_List, &B::NxdnTalkGroupList, F::NxdnTalkGroupList),
    Cell(CL_Mch_VORN_TG_List, &B::VornTalkGroupList, F::VornTalkGroupList),
    Cell(CL_Mch_Dpmr_Call_List, &B::DpmrList, F::DpmrCallList),
    Cell(CL_Mch_Dpmr_TG_List, &B::DpmrList, F::DpmrTalkGroupList),
    Cell(CL_Mch_Dpmr_Unit_Dec, &B::DpmrUnitId),
    Cell(CL_Mch_Dpmr_Encryption_No, &B::DpmrEncryption, F::DpmrEncryption),
};

} // namespace

std::span<const indMchRow> indMchTable::Rows() {
    return kRows;
}

// Every channel cell call looks its row up, so the rows are indexed by cell number once.
const indMchRow* indMchTable::Find(int32_t cell) {
    static const std::array<const indMchRow*, cmcCellIds::kNoCell> byCell = [] {
        std::array<const indMchRow*, cmcCellIds::kNoCell> index{};
        for (const indMchRow& r : kRows)
            if (!index[size_t(r.cell)])
                index[size_t(r.cell)] = &r;
        return index;
    }();
    return cell >= 0 && cell < cmcCellIds::kNoCell ? byCell[size_t(cell)] : nullptr;
}

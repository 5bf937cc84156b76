#include "model/indSettingTable.h"

#include "cells/cmcCellNumber.h"
#include "model/indLayout.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using Row = indSettingRow;
using Test = indSettingTest;
namespace T = indTable;
namespace S = indSignal;
namespace P = indOwnPlaces;
using indMap::At;
namespace K = indKeysArea;

constexpr int32_t kMskTiming = indDigitalExtras::kMskTiming;

constexpr Row Field(int32_t cell, int32_t at, int lo, int hi, Row::Codec codec, const char* list) {
    Row r;
    r.cell = cell;
    r.offset = at;
    r.lowBit = static_cast<uint8_t>(lo);
    r.width = static_cast<uint8_t>(hi - lo + 1);
    r.codec = codec;
    r.list = list;
    return r;
}
// EditChoice on bits lo..hi.
constexpr Row Choice(int32_t cell, int32_t at, int lo, int hi, const char* list) {
    return Field(cell, at, lo, hi, Row::Codec::Choice, list);
}
// EditChoiceTyped on bits lo..hi (lists of numbers a user may also type).
constexpr Row Typed(int32_t cell, int32_t at, int lo, int hi, const char* list) {
    return Field(cell, at, lo, hi, Row::Codec::ChoiceTyped, list);
}
// A byte timer counting 1/u seconds.
constexpr Row Timer(int32_t cell, int32_t at, int u, bool offAllowed) {
    Row r = Field(cell, at, 0, 7, Row::Codec::Timer, nullptr);
    r.unitsPerSecond = static_cast<int16_t>(u);
    r.offAllowed = offAllowed;
    return r;
}
// A number minimum..maximum on bits lo..hi, shown plus shown.
constexpr Row Number(int32_t cell, int32_t at, int lo, int hi, int minimum, int maximum, int shown = 0) {
    Row r = Field(cell, at, lo, hi, Row::Codec::Stepped, nullptr);
    r.minimum = static_cast<int16_t>(minimum);
    r.maximum = static_cast<int16_t>(maximum);
    r.shownOffset = static_cast<int16_t>(shown);
    return r;
}
// A 16-bit number minimum..maximum in the two bytes from at (high byte first).
constexpr Row Number16(int32_t cell, int32_t at, int minimum, int maximum) {
    Row r = Number(cell, at, 0, 7, 0, 0);
    r.minimum = static_cast<int16_t>(minimum);
    r.maximum = static_cast<int16_t>(maximum);
    r.length = 2;
    return r;
}
// A text of length characters from at.
constexpr Row Text(int32_t cell, int32_t at, int length) {
    Row r = Field(cell, at, 0, 7, Row::Codec::Text, nullptr);
    r.length = static_cast<int16_t>(length);
    return r;
}
// A text in display characters, length places from at.
constexpr Row Display(int32_t cell, int32_t at, int length) {
    Row r = Text(cell, at, length);
    r.codec = Row::Codec::DisplayText;
    return r;
}
// The 16-character clone password from at.
constexpr Row Password(int32_t cell, int32_t at) {
    Row r = Text(cell, at, 16);
    r.codec = Row::Codec::Password;
    return r;
}
// A password of length characters from at, through the password dialog.
constexpr Row PasswordOf(int32_t cell, int32_t at, int length) {
    Row r = Password(cell, at);
    r.length = static_cast<int16_t>(length);
    return r;
}
// Grey tests: a bit (mask) clear, a whole byte zero, the model family.
constexpr Test Clear(int32_t at, uint8_t mask) {
    return Test{at, mask, 0};
}
constexpr Test Zero(int32_t at) {
    return Test{at, 0xFF, 0};
}
constexpr Test Family(uint8_t family) {
    return Test{Test::kFamily, 0xFF, family};
}

// Where a row is marked grey, the feature it belongs to is off: the talk-back options without the
// talk-back ID display, the call ID reset beep without any reset, the talk-around within range while
// talk-around out of range is off, the scrambler details for the plain inversion type, the man-down
// details while man-down is off, the low-battery periods of an unused warning, the stun display timer
// while the display stays on, the lone-worker details without a lone-worker time-out, the dPMR wake-up
// header in the LMR family. Cells that decide such a test redraw every cell when they change.
const Row kRows[] = {
    // Setting cells: one bit field each.
    Choice(CL_Ltr_AtbRingBack, indMap::kRepeaterArea + 8, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Msk_AdrRange_CountryCode, At(T::kMskAddress, 6), 0, 7, "GI_Sheet_Sel_MSK_Country_Code"),
    Choice(CL_Msk_Cfg_Enc_PttCall, At(T::kMskConfig, 11), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Enc_PreEmphasis, At(T::kMskConfig, 11), 6, 6, "GI_Sheet_Sel_Msk_PreEmphasis"),
    Choice(CL_Msk_Cfg_Enc_PttSideTone, At(T::kMskConfig, 11), 2, 2, "GI_Sheet_Sel_Msk_PttSideTone"),
    Choice(CL_Msk_Cfg_Dec_MuteMskTone, At(T::kMskConfig, 11), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Msk_Cfg_Dec_ANI_Disp, At(T::kMskConfig, 13), 4, 5, "GI_Sheet_Sel_Msk_ANI_Disp"),
    Choice(CL_Msk_Cfg_Status_Send_PrioA, At(T::kGeneral, 33), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Status_Send_On, At(T::kMskConfig, 12), 1, 1, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Status_Send_Off, At(T::kMskConfig, 12), 0, 0, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Base, At(T::kMskConfig, 12), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Logoff, At(T::kMskConfig, 12), 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Status, At(T::kMskConfig, 12), 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Sdm, At(T::kMskConfig, 12), 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Emer, At(T::kMskConfig, 12), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_ManDown, At(T::kMskConfig, 12), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Etc_PttEnableAtConnect, At(T::kMskConfig, 13), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Ind_Set_LogForInd, At(T::kNxdnIndSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Grp_Set_BlockDecode, At(T::kNxdnGroupSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_Enable")
        .Wider(),
    Choice(CL_Nxdn_Ind_Op_Disp_RecieveUId, At(T::kNxdnOptions, 24), 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Nxdn_Grp_Op_Disp_Mode, At(T::kNxdnOptions, 25), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_Recieve, At(T::kNxdnOptions, 25), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_RecieveUId, At(T::kNxdnOptions, 25), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_Ptt, At(T::kNxdnOptions, 25), 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Trunk_SU_ReceiveBeep, At(T::kNxdnOptions, 31), 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Gps_Fix_Id, At(T::kNxdnOptions, 36), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Voice, At(T::kNxdnOptions, 38), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Status, At(T::kNxdnOptions, 36), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Sdm, At(T::kNxdnOptions, 36), 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_CallAlert, At(T::kNxdnOptions, 36), 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Emer, At(T::kNxdnOptions, 36), 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_ManDown, At(T::kNxdnOptions, 36), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Sentence, At(T::kNxdnOptions, 38), 4, 5, "GI_Sheet_Sel_Msk_GpsSentence"),
    Choice(CL_Nxdn_Config_Beep, At(T::kNxdnOptions, 26), 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Config_BeepG, At(T::kNxdnOptions, 31), 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Config_CallTypeMode, At(T::kNxdnOptions, 50), 5, 5, "GI_Sheet_Sel_Nxdn_Option_CallType"),
    Choice(CL_Nxdn_Config_CallTypeReset, At(T::kNxdnOptions, 50), 4, 4, "GI_Sheet_Sel_Misc_OnOff_I").Wider(),
    Choice(CL_Nxdn_Config_DecodeComparson, At(T::kNxdnOptions, 26), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Option_TalkBackRXType, At(T::kNxdnOptions, 26), 4, 4,
           "GI_Sheet_Sel_Nxdn_Talk_Back_RX_Type")
        .GreyWhen(Clear(At(T::kNxdnOptions, 40), 0x08)),
    Choice(CL_Nxdn_Option_TalkBackBeep, At(T::kNxdnOptions, 40), 4, 4, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(At(T::kNxdnOptions, 40), 0x08)),
    Choice(CL_Nxdn_Option_TalkBackIdDisplay, At(T::kNxdnOptions, 40), 3, 3, "GI_Sheet_Sel_Misc_OnOff")
        .Wider(),
    Choice(CL_Nxdn_Status_Set_AllowPoll, At(T::kNxdnStatusSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Status_Set_PollTX, At(T::kNxdnStatusSettings, 0), 2, 2, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Status_Set_Log, At(T::kNxdnStatusSettings, 0), 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Typed(CL_Nxdn_Status_Set_PowerONStat, At(T::kNxdnStatusSettings, 1), 0, 7,
          "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Typed(CL_Nxdn_Status_Set_PowerOFFStat, At(T::kNxdnStatusSettings, 2), 0, 7,
          "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Typed(CL_Nxdn_Status_Set_GpsStatus, At(T::kNxdnStatusSettings, 3), 0, 7,
          "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Choice(CL_Nxdn_Status_Set_RequestAck, At(T::kNxdnStatusSettings, 0), 5, 5, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_Status_Set_Send_Voice, At(T::kNxdnOptions, 38), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Typed(CL_Nxdn_Status_Set_Send_Status_Num, At(T::kNxdnOptions, 39), 0, 7,
          "GI_Sheet_Sel_Nxdn_Simul_Send_Status_Num"),
    Choice(CL_Nxdn_ANI_CurtRinger, At(T::kNxdnOptions, 40), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_ANI_OverRinger, At(T::kNxdnOptions, 40), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_ANI_TX_RTTBeep, At(T::kNxdnOptions, 40), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_CallLog_Log, At(T::kNxdnOptions, 50), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallLog_LogActType, At(T::kNxdnOptions, 50), 0, 3, "GI_Sheet_Sel_Nxdn_CallLog_LogActType"),
    Choice(CL_Nxdn_SDM_Setting_RX, At(T::kNxdnMessageSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_SDM_Setting_Log, At(T::kNxdnMessageSettings, 0), 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_SDM_Setting_RequestAck, At(T::kNxdnMessageSettings, 0), 5, 5,
           "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_CallAlert_RX, At(T::kNxdnCallAlert, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_TX, At(T::kNxdnCallAlert, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_ShowIcon, At(T::kNxdnCallAlert, 0), 3, 3, "GI_Sheet_Nxdn_CallAlert_Bell"),
    Choice(CL_Nxdn_CallAlert_Log, At(T::kNxdnCallAlert, 0), 5, 5, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_DecExo, At(T::kNxdnCallAlert, 0), 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_RequestAck, At(T::kNxdnCallAlert, 2), 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_RadioChk_RX, At(T::kNxdnRadioCheck, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RadioChk_TX, At(T::kNxdnRadioCheck, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_RX, At(T::kNxdnStun, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_TX, At(T::kNxdnStun, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_Mode, At(T::kNxdnStun, 0), 5, 5, "GI_Sheet_Sel_Nxdn_Stun_Mode"),
    Choice(CL_Nxdn_Stun_FixedID_Enable, At(T::kNxdnOptions, 24), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Kill_RX, At(T::kNxdnKill, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Kill_TX, At(T::kNxdnKill, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Kill_FixedID_Enable, At(T::kNxdnOptions, 24), 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Revive_RX, At(T::kNxdnRevive, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Revive_TX, At(T::kNxdnRevive, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_RX, At(T::kNxdnRemoteMonitor, 0), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_TX, At(T::kNxdnRemoteMonitor, 0), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_Mode, At(T::kNxdnRemoteMonitor, 0), 5, 5, "GI_Sheet_Sel_Nxdn_RMONI_Mode"),
    Choice(CL_Nxdn_Expert_TxAllCall, At(T::kNxdnExpert, 12), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Expert_RxAllCall, At(T::kNxdnExpert, 12), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Dpmr_Ind_Set_Ringer, At(T::kDpmrIndSettings, 0), 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Dpmr_Ind_Set_BellIcon, At(T::kDpmrIndSettings, 0), 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Grp_Set_BlockDecode, At(T::kDpmrGroupSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_OnOff")
        .Wider(),
    Choice(CL_Dpmr_Grp_Set_Ringer, At(T::kDpmrGroupSettings, 0), 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Dpmr_Grp_Set_BellIcon, At(T::kDpmrGroupSettings, 0), 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Gps_Fix_Id, At(T::kDpmrOptions, 36), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Voice, At(T::kDpmrOptions, 38), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Status, At(T::kDpmrOptions, 36), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Sdm, At(T::kDpmrOptions, 36), 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_CallAlert, At(T::kDpmrOptions, 36), 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Emer, At(T::kDpmrOptions, 36), 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_ManDown, At(T::kDpmrOptions, 36), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Sentence, At(T::kDpmrOptions, 38), 4, 5, "GI_Sheet_Sel_Digi_GpsSentence"),
    Choice(CL_Dpmr_Option_CallIdReset_onClearDown, At(T::kDpmrOptions, 27), 1, 1, "GI_Sheet_Sel_Misc_OnOff")
        .Wider(),
    Choice(CL_Dpmr_Option_CallIdReset_Beep, At(T::kDpmrOptions, 27), 0, 0, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(At(T::kDpmrOptions, 27), 0x02), Zero(At(T::kDpmrOptions, 49))),
    Choice(CL_Dpmr_Option_Broadcast_RX, At(T::kDpmrOptions, 28), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_Alert_ClearDownBeep, At(T::kDpmrOptions, 25), 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Option_Alert_RingBackTone, At(T::kDpmrOptions, 25), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_TalkBackBeep, At(T::kDpmrOptions, 50), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_TalkBackIdDisplay, At(T::kDpmrOptions, 50), 4, 4, "GI_Sheet_Sel_Misc_OnOff")
        .Wider(),
    Choice(CL_Dpmr_Config_Unit_ID, At(T::kDpmrOptions, 26), 7, 7, "GI_Sheet_Sel_Dpmr_Option_UnitID").Wider(),
    Choice(CL_Dpmr_Config_DecodeComparson, At(T::kDpmrOptions, 26), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_OverRinger, At(T::kDpmrOptions, 25), 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_TX_RTTBeep, At(T::kDpmrOptions, 25), 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_PTT_Call, At(T::kDpmrOptions, 26), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_PTT_Enable_Connect, At(T::kDpmrOptions, 26), 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_ColourCode_Backup, At(T::kGeneral, 34), 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Status_Set_AllowPoll, At(T::kDpmrStatusSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Status_Set_PollTX, At(T::kDpmrStatusSettings, 0), 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Status_Set_RequestAck, At(T::kDpmrStatusSettings, 0), 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Status_Set_Bell, At(T::kDpmrStatusSettings, 7), 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Op_Ani_Disp_Mode, At(T::kDpmrOptions, 25), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_Recieve, At(T::kDpmrOptions, 25), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_RecieveUId, At(T::kDpmrOptions, 25), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_Ptt, At(T::kDpmrOptions, 25), 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogActType, At(T::kDpmrOptions, 50), 0, 3, "GI_Sheet_Sel_Dpmr_CallLog_LogActType"),
    Choice(CL_Dpmr_CallLog_LogForInd, At(T::kDpmrOptions, 26), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForStatus, At(T::kDpmrOptions, 26), 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForCallAlert, At(T::kDpmrOptions, 26), 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForSDM, At(T::kDpmrOptions, 26), 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_SDM_Setting_RX, At(T::kDpmrMessageSettings, 0), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_SDM_Setting_Bell, At(T::kDpmrMessageSettings, 1), 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_SDM_Setting_RequestAck, At(T::kDpmrMessageSettings, 0), 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_CallAlert_ShowIcon, At(T::kDpmrCallAlert, 0), 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_CallAlert_RequestAck, At(T::kDpmrCallAlert, 2), 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Dpmr_Stun_Mode, At(T::kDpmrStun, 0), 5, 5, "GI_Sheet_Sel_Dpmr_Stun_Mode"),
    Choice(CL_Dpmr_Stun_TXTimer, At(T::kDpmrStun, 1), 0, 7, "GI_Sheet_Dpmr_AmbienceListening_TX_Timer"),
    Choice(CL_Dpmr_Expert_TxAllCall, At(T::kDpmrExpert, 12), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Expert_RxAllCall, At(T::kDpmrExpert, 12), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Expert_TxWait, At(T::kDpmrExpert, 12), 0, 3, "GI_Sheet_Sel_TxWait_Timer"),
    Choice(CL_Dpmr_Expert_Lockout_PoliteLevel, At(T::kDpmrExpert, 12), 5, 5,
           "GI_Sheet_Sel_Lockout_PoliteLevel"),
    Choice(CL_VORN_Op_AtbRingBack, At(T::kTrunkOptions, 1), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_DispOnPtt, indMap::kRepeaterArea + 8, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_DispOnRx, indMap::kRepeaterArea + 8, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_BeepWithinRange, indMap::kRepeaterArea + 8, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_TA_withinRange, indMap::kRepeaterArea + 8, 2, 2, "GI_Sheet_Sel_Misc_Enable_I")
        .GreyWhen(Clear(indMap::kRepeaterArea + 8, 0x02)),
    Choice(CL_Ltr_Op_TA_OutOfRange, indMap::kRepeaterArea + 8, 1, 1, "GI_Sheet_Sel_Ltr_TA_OutRange").Wider(),
    Choice(CL_Ltr_Op_LSD_Decoder, indMap::kRepeaterArea + 11, 7, 7, "GI_Sheet_Sel_LsdDecode"),
    Choice(CL_ExtPort_PortMode_IGSW, At(T::kRadioSettings, 26), 4, 4, "GI_Sheet_Sel_PortMode_IGSW")
        .RedrawAll(),
    Choice(CL_ExtPort_PortMode_AFO, At(T::kGeneral, 123), 2, 2, "GI_Sheet_Sel_PortMode_AFO").RedrawAll(),
    Choice(CL_ExtPort_PortMode_EPTT, At(T::kGeneral, 36), 1, 1, "GI_Sheet_Sel_PortMode_EPTT").RedrawAll(),
    Choice(CL_ExtPort_PortMode_SCI, At(T::kGeneral, 123), 3, 3, "GI_Sheet_Sel_PortMode_SCI").RedrawAll(),
    Choice(CL_KDisp_HangAct_Moni, At(T::kGeneral, 36), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_KDisp_HangAct_Scan, At(T::kGeneral, 36), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_KDisp_HangAct_PrioA, At(T::kGeneral, 36), 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_AmpOnOff, At(T::kGeneral, 34), 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_KDisp_OpeningBeep, At(T::kGeneral, 29), 6, 7, "GI_Sheet_Sel_KDisp_Opening_Beep"),
    Choice(CL_KDisp_RotarySelStat, At(T::kGeneral, 123), 1, 1, "GI_Sheet_Sel_KDisp_Rotary_Stat"),
    Choice(CL_KDisp_RfPoSel, At(T::kGeneral, 34), 2, 2, "GI_Sheet_Sel_KDisp_RfPwr"),
    Choice(CL_KDisp_PrioA_SwOn, At(T::kGeneral, 32), 1, 1, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_PrioA_AutoReset, At(T::kGeneral, 121), 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_PrioA_ClearDown, At(T::kGeneral, 33), 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_SetM_Backlight, At(T::kRadioSettings, 8), 4, 7, "GI_Sheet_Sel_SetM_Mob_Backlight"),
    Choice(CL_SetM_Backlight_HH, At(T::kRadioSettings, 8), 4, 7, "GI_Sheet_Sel_SetM_Mob_Backlight"),
    Choice(CL_SetM_BeepOn, At(T::kRadioSettings, 2), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_SetM_VoxOnOff, At(T::kRadioSettings, 8), 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_HornOut, At(T::kRadioSettings, 8), 3, 3, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_BATVDisp, At(T::kRadioSettings, 8), 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_SetM_SigMoni, At(T::kRadioSettings, 8), 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_LoneWorker, At(T::kRadioSettings, 26), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_PwrOnPassword, At(T::kGeneral, 34), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_SetModeAccess, At(T::kGeneral, 32), 3, 3, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Tot_ID_Out, At(T::kGeneral, 32), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Tot_Dtmf_ID_Out, At(T::kGeneral, 32), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Tot_Beep, At(T::kGeneral, 32), 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LockoutOverride, At(T::kGeneral, 34), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Ctcss_ToneBurst, At(T::kGeneral, 123), 4, 5, "GI_Sheet_Sel_Comm_Ctcss_BurstType"),
    Choice(CL_Comm_Ctcss_RxAfFilt, At(T::kGeneral, 31), 2, 2, "GI_Sheet_Sel_Comm_RxAfSw"),
    Choice(CL_Comm_Ctcss_ChMuteCont, At(T::kGeneral, 109), 1, 1, "GI_Sheet_Sel_Exp_ChMuteCont"),
    Choice(CL_Comm_Ctcss_Backup, At(T::kGeneral, 34), 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Comm_RS232C_SPPED, At(T::kGeneral, 192), 4, 7, "GI_Sheet_Sel_Comm_RS232C_SPEED"),
    Choice(CL_Comm_RS232C_Mode, At(T::kGeneral, 192), 0, 3, "GI_Sheet_Sel_Comm_RS232C_Mode"),
    Choice(CL_Comm_RS_FlowContorl, At(T::kGeneral, 193), 4, 5, "GI_Sheet_Sel_Comm_RS_Flow"),
    Choice(CL_Comm_RS_ReqAck, At(T::kGeneral, 193), 6, 6, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Gps_Auto, At(T::kGeneral, 122), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Gps_PositionFormat, At(T::kGeneral, 123), 6, 6, "GI_Sheet_Sel_GPS_Position_Format"),
    Choice(CL_Comm_Gps_GpsIndcator, At(T::kGeneral, 123), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Scrm_Type, At(T::kGeneral, 6), 3, 3, "GI_Sheet_Sel_Comm_Scrm_Type").Wider(),
    Choice(CL_Comm_Scrm_SyncCapture, At(T::kGeneral, 6), 6, 7, "GI_Sheet_Sel_Comm_Scrm_SyncCapture")
        .GreyWhen(Clear(At(T::kGeneral, 6), 0x08)),
    Choice(CL_Comm_Scrm_GroupCode, At(T::kGeneral, 6), 0, 1, "GI_Sheet_Sel_Comm_Scrm_GroupCode")
        .GreyWhen(Clear(At(T::kGeneral, 6), 0x08)),
    Choice(CL_Comm_Scrm_TStartTiming, At(T::kGeneral, 6), 4, 5, "GI_Sheet_Sel_Comm_Scrm_ToneStartTiming")
        .GreyWhen(Clear(At(T::kGeneral, 6), 0x08)),
    Choice(CL_Comm_ManDown_ON, At(T::kGeneral, 30), 2, 2, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_ManDown_Sairen, At(T::kGeneral, 31), 7, 7, "GI_Sheet_Sel_Comm_Sairen")
        .GreyWhen(Clear(At(T::kGeneral, 30), 0x04)),
    Choice(CL_Msk_Presl_Country, At(T::kMskPreselect, 6), 0, 7, "GI_Sheet_Sel_MSK_Country_Code"),
    Choice(CL_Msk_Presl_Ptt_Side, At(T::kMskPreselect, 8), 2, 3, "GI_Sheet_Sel_Msk_PttSideTone"),
    Choice(CL_Comm_LowBatt1_TX_End, At(T::kGeneral, 129), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LowBatt2_TX_End, At(T::kGeneral, 129), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LowBatt1, At(T::kGeneral, 129), 5, 5, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_LowBatt2, At(T::kGeneral, 129), 4, 4, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_ChAnnounceOnOff, At(T::kRadioSettings, 25), 2, 2, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Comm_ChAnnounceSet, At(T::kGeneral, 122), 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Comm_TRDataOut, At(T::kGeneral, 32), 2, 2, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Tactical, At(T::kGeneral, 109), 6, 6, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Wide, At(T::kGeneral, 34), 7, 7, "GI_Sheet_Sel_Comm_Wide"),
    Choice(CL_Comm_Middle, At(T::kGeneral, 122), 7, 7, "GI_Sheet_Sel_Comm_Middle"),
    Choice(CL_Comm_FNarrow, At(T::kRadioSettings, 26), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_FNarrow_Change, At(T::kGeneral, 122), 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_AFON2_Always_ON, At(T::kGeneral, 121), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Demph_Setting, At(T::kGeneral, 121), 0, 1, "GI_Sheet_Sel_DemphSetting"),
    Choice(CL_Comm_DTMFDec_InputSet, At(T::kGeneral, 30), 4, 4, "GI_Sheet_Sel_DTMFDecInputSet"),
    Choice(CL_Comm_AutoTx_MicSel, At(T::kGeneral, 127), 2, 2, "GI_Sheet_Sel_AutoTx_MicSel"),
    Choice(CL_Comm_Escalating_Alarms, At(T::kGeneral, 133), 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Strv_Stun_Type, At(T::kStun, 10), 0, 3, "GI_Sheet_Sel_Comm_Stun_Type"),
    Choice(CL_Comm_Strv_TRDataOut, At(T::kStun, 8), 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_PSW_Inhibit, At(T::kStun, 8), 6, 6, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_LCD_OFF, At(T::kStun, 8), 5, 5, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_Strv_Text_ON, At(T::kStun, 8), 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Comm_Strv_Beep_ON, At(T::kStun, 8), 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Strv_DecAll, At(T::kStun, 8), 3, 3, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_RevAll, At(T::kStun, 8), 2, 2, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Emer_Setting_RptCancel, At(T::kLoneWorker, 26), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Emer_Setting_ScanCancel, At(T::kLoneWorker, 26), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Emer_Setting_Silent, At(T::kGeneral, 31), 7, 7, "GI_Sheet_Sel_Comm_Silent"),
    Choice(CL_Emer_Signal_CodeEna, At(T::kLoneWorker, 27), 7, 7, "GI_Sheet_Sel_Misc_Enable3").Wider(),
    Typed(CL_Emer_Signal_Code, At(T::kLoneWorker, 24), 0, 6, "GI_Sheet_Sel_RxC_EmgCode")
        .GreyWhen(Clear(At(T::kLoneWorker, 27), 0x80)),
    Choice(CL_Emer_Signal_CodeLong, At(T::kLoneWorker, 24), 7, 7, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(At(T::kLoneWorker, 27), 0x80)),
    Choice(CL_Emer_Signal_2TDec, At(T::kLoneWorker, 27), 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_5TDec, At(T::kLoneWorker, 27), 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_QIRSDec, At(T::kLoneWorker, 27), 5, 5, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_QIRSRep, At(T::kLoneWorker, 27), 4, 4, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_Nxdn_CallType, At(T::kLoneWorker, 28), 0, 1, "GI_Sheet_Sel_Nxdn_Status_CallType")
        .Wider(),
    Choice(CL_Emer_Signal_Nxdn_RequestAck, At(T::kLoneWorker, 28), 5, 5, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Emer_Signal_Nxdn_SendAckTalkgroup, At(T::kLoneWorker, 28), 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Emer_Signal_Nxdn_SendAckAllCall, At(T::kLoneWorker, 28), 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Emer_Signal_DpmrDec, At(T::kLoneWorker, 29), 7, 7, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_DpmrFixedId, At(T::kLoneWorker, 29), 4, 4, "GI_Sheet_Sel_Misc_Enable3").Wider(),
    Choice(CL_Emer_Signal_DpmrRinger, At(T::kLoneWorker, 25), 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Comm_ChGrp_ON, At(T::kChannelGroupsOn, 0), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_DtcsInv_Tx, At(T::kGeneral, 30), 7, 7, "GI_Sheet_Sel_Exp_DtcsInv"),
    Choice(CL_Exp_DtcsInv_Rx, At(T::kGeneral, 30), 6, 6, "GI_Sheet_Sel_Exp_DtcsInv"),
    Choice(CL_Exp_RxExo_On, At(T::kGeneral, 36), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_ToneMuteExPtt, At(T::kGeneral, 36), 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_Ignition, At(T::kRadioSettings, 24), 4, 4, "GI_Sheet_Sel_Misc_Enable").Wider(),
    Choice(CL_Exp_ClShift, At(T::kGeneral, 33), 0, 1, "GI_Sheet_Sel_Exp_ClShift"),
    Choice(CL_Exp_BattType, At(T::kRadioSettings, 26), 0, 1, "GI_Sheet_Sel_Comm_Batt_Type"),
    Choice(CL_Dtmf_CompareTone, At(T::kGeneral, 122), 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_AutoChCall_PmrOnly, At(T::kGeneral, 31), 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_BacklitatStopScan, At(T::kGeneral, 109), 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteOnFast, At(T::kGeneral, 121), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteAfterTalk, At(T::kGeneral, 127), 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VotePTTSideTone, At(T::kGeneral, 127), 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteDisplayGroup, At(T::kGeneral, 133), 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteDisplayCH, At(T::kGeneral, 133), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteStopHookOff, At(T::kGeneral, 133), 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_NuisanceDelete, At(T::kGeneral, 30), 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_ModeSlaveScan, At(T::kGeneral, 31), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_MonitorKeyAction, At(T::kGeneral, 127), 7, 7, "GI_Sheet_Sel_MonitorKey_Action"),
    Choice(CL_ScanComm_TalkBackTimerBeep, At(T::kGeneral, 127), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_2T_CompareTone, At(T::kGeneral, 109), 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_5TRx_CompareTone, At(T::kGeneral, 109), 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_5TTx_PTTCallIna, At(T::kGeneral, 32), 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    // Timer cells: one byte each.
    Timer(CL_Msk_Cfg_Dec_ANI_Disp_Timer, At(T::kMskConfig, 6), 10, false),
    Timer(CL_Nxdn_Grp_Op_Disp_Timer, At(T::kNxdnOptions, 14), 10, false),
    Timer(CL_Nxdn_Trunk_SU_Busy_Wait, At(T::kNxdnOptions, 32), 1, true),
    Timer(CL_Nxdn_Trunk_SU_Grp_Wait, At(T::kNxdnOptions, 33), 10, true),
    Timer(CL_Nxdn_Trunk_SU_RAccess_Timer, At(T::kNxdnOptions, 34), 10, true),
    Timer(CL_Nxdn_Config_SS_Wait, At(T::kNxdnOptions, 15), 100, false),
    Timer(CL_Nxdn_ANI_PreDisplayTimer, At(T::kNxdnOptions, 41), 10, true),
    Timer(CL_Nxdn_ANI_PostDisplayTimer, At(T::kNxdnOptions, 42), 10, true),
    Timer(CL_Nxdn_Expert_Lag_Timer, At(T::kNxdnExpert, 13), 100, false),
    Timer(CL_Nxdn_Expert_PowerDown, At(T::kNxdnExpert, 11), 100, false),
    Timer(CL_Dpmr_Option_CallIdReset_Timer, At(T::kDpmrOptions, 49), 1, true).Wider(),
    Timer(CL_Dpmr_Op_Ani_Disp_Timer, At(T::kDpmrOptions, 14), 10, false),
    Timer(CL_Dpmr_Expert_Lag_Timer, At(T::kDpmrExpert, 15), 100, false),
    Timer(CL_Dpmr_Expert_PowerDown, At(T::kDpmrExpert, 11), 100, false),
    Timer(CL_Dpmr_Expert_Wakeup_Header_OffTimer, At(T::kDpmrExpert, 26), 10, false).GreyWhen(Family(0)),
    Timer(CL_VORN_Op_Tim_FadeTimer, At(T::kTrunkOptions, 0), 10, false),
    Timer(CL_Ltr_Op_Tim_OutOfRange, indMap::kRepeaterArea + 9, 1, true),
    Timer(CL_Ltr_Op_Tim_FadeTimer, indMap::kRepeaterArea + 10, 10, false),
    Timer(CL_KDisp_ScrollTimer, At(T::kGeneral, 135), 10, true),
    Timer(CL_Comm_AtResetTimer_A, At(T::kGeneral, 61), 1, true),
    Timer(CL_Comm_AtResetTimer_B, At(T::kGeneral, 62), 1, true),
    Timer(CL_Comm_InactiveTimer, At(T::kGeneral, 63), 1, false),
    Timer(CL_Comm_Tot_Timer, At(T::kGeneral, 57), 1, false),
    Timer(CL_Comm_Tot_PenaltyTimer, At(T::kGeneral, 58), 1, true),
    Timer(CL_Comm_LockoutPenaltyTimer, At(T::kGeneral, 59), 1, true),
    Timer(CL_Comm_Ctcss_ReverseBurst, At(T::kGeneral, 39), 100, true),
    Timer(CL_Comm_PwrSave_Timer1, At(T::kGeneral, 101), 10, false),
    Timer(CL_Comm_PwrSave_Timer2, At(T::kGeneral, 102), 1, false),
    Timer(CL_Comm_ManDown_Timer, At(T::kGeneral, 103), 1, false).GreyWhen(Clear(At(T::kGeneral, 30), 0x04)),
    Timer(CL_Comm_ManDown_TS1, At(T::kManDown, 5), 10, false).GreyWhen(Clear(At(T::kGeneral, 30), 0x04)),
    Timer(CL_Comm_ManDown_TS2, At(T::kManDown, 6), 10, false).GreyWhen(Clear(At(T::kGeneral, 30), 0x04)),
    Timer(CL_Comm_ManDown_TS3, At(T::kManDown, 7), 10, false).GreyWhen(Clear(At(T::kGeneral, 30), 0x04)),
    Timer(CL_Comm_LowBatt1_Periods, At(T::kGeneral, 130), 1, true)
        .GreyWhen(Clear(At(T::kGeneral, 129), 0x20)),
    Timer(CL_Comm_LowBatt2_Periods, At(T::kGeneral, 131), 1, true)
        .GreyWhen(Clear(At(T::kGeneral, 129), 0x10)),
    Timer(CL_Comm_Strv_LCD_OFF_Timer, At(T::kStun, 9), 10, false).GreyWhen(Clear(At(T::kStun, 8), 0x20)),
    Timer(CL_Emer_LoneWorker_Timeout, At(T::kLoneWorker, 4), 1, true).Wider(),
    Timer(CL_Emer_LoneWorker_PreAlarm, At(T::kLoneWorker, 5), 1, false).GreyWhen(Zero(At(T::kLoneWorker, 4))),
    Timer(CL_Emer_LoneWorker_RepeatAlarm, At(T::kLoneWorker, 6), 1, false)
        .GreyWhen(Zero(At(T::kLoneWorker, 4))),
    Timer(CL_Emer_LoneWorker_Pttdelay, At(T::kLoneWorker, 7), 10, false)
        .GreyWhen(Zero(At(T::kLoneWorker, 4))),
    Timer(CL_Emer_Timer_Start, At(T::kLoneWorker, 3), 1, false),
    Timer(CL_Emer_Timer_TxTone, At(T::kLoneWorker, 9), 1, true),
    Timer(CL_Emer_Timer_AutoTx, At(T::kLoneWorker, 10), 1, true),
    Timer(CL_Emer_Timer_RxTone, At(T::kLoneWorker, 11), 1, true),
    Timer(CL_Emer_Timer_AutoRx, At(T::kLoneWorker, 12), 1, true),
    Timer(CL_Emer_Timer_Idle, At(T::kLoneWorker, 13), 1, true),
    Timer(CL_Emer_Timer_Backlight, At(T::kLoneWorker, 8), 1, false),
    Timer(CL_Exp_Emer_SwOnTimer, At(T::kGeneral, 54), 10, false),
    Timer(CL_Exp_Emer_SwOffTimer, At(T::kGeneral, 55), 10, false),
    Timer(CL_Exp_Emer_StartRepeat, At(T::kGeneral, 56), 1, false),
    Timer(CL_Exp_RxExo_Delay, At(T::kGeneral, 66), 10, true),
    Timer(CL_Exp_ExPttDelay, At(T::kGeneral, 67), 10, true),
    Timer(CL_Dtmf_PttDelayTimer, At(T::kGeneral, 124), 100, false),
    Timer(CL_Dtmf_DtmfTimer, At(T::kGeneral, 46), 100, false),
    Timer(CL_Dtmf_FirstTimer, At(T::kGeneral, 47), 100, false),
    Timer(CL_Dtmf_MarkTimer, At(T::kGeneral, 48), 100, false),
    Timer(CL_Dtmf_NotoneTimer, At(T::kGeneral, 125), 100, false),
    Timer(CL_Dtmf_ANI_Disp_Timer, At(T::kGeneral, 128), 10, false),
    Timer(CL_ScanComm_StopTimer, At(T::kGeneral, 50), 10, false),
    Timer(CL_ScanComm_StopTimerB, At(T::kGeneral, 104), 10, false),
    Timer(CL_ScanComm_ResumeTimer, At(T::kGeneral, 51), 10, false),
    Timer(CL_ScanComm_TalkBackTimer, At(T::kGeneral, 105), 10, false),
    Timer(CL_ScanComm_ScanTimer_Fast, At(T::kGeneral, 37), 1000, false),
    Timer(CL_ScanComm_ScanTimer_Slow, At(T::kGeneral, 38), 100, false),
    Timer(CL_ScanComm_VoteTimer_ReVoteDwell, At(T::kGeneral, 134), 10, false),
    Timer(CL_ScanComm_VoteTimer_LeadIn, At(T::kGeneral, 158), 100, false),
    Timer(CL_ScanComm_VoteTimer_Dwell, At(T::kGeneral, 159), 1000, false),
    Timer(CL_ScanComm_VoteTimer_PTTSideTone, At(T::kGeneral, 132), 100, false),
    Timer(CL_2T_GroupTimer, At(T::kGeneral, 49), 10, false),
    Timer(CL_2T_ExoTimer, At(T::kGeneral, 65), 1, false),
    Timer(CL_2T_AutoTxTimer, At(T::kGeneral, 64), 1, false),
    Timer(CL_5TRx_LinkATimer, At(T::kGeneral, 43), 100, false),
    Timer(CL_5TRx_IdDecodeTimer, At(T::kGeneral, 52), 10, false),
    Timer(CL_5TRx_ExoTimer, At(T::kGeneral, 65), 1, false),
    Timer(CL_5TRx_AuxTimer, At(T::kGeneral, 107), 1, false),
    Timer(CL_5TRx_AutoTxTimer, At(T::kGeneral, 64), 1, false),
    Timer(CL_5TTx_LongToneTimer, At(T::kGeneral, 44), 100, false),
    Timer(CL_5TTx_LinkRTimer, At(T::kGeneral, 40), 100, false),
    Timer(CL_5TTx_Link1Timer, At(T::kGeneral, 41), 100, false),
    Timer(CL_5TTx_Link2Timer, At(T::kGeneral, 42), 100, false),
    Timer(CL_5TTx_LeadOutDelayTimer, At(T::kGeneral, 45), 100, false),
    Timer(CL_5TTx_AbcDecTimer, At(T::kGeneral, 53), 10, false),

    // Cells of the same families whose storage the radio leaves to us. Each takes bits that no fixed
    // setting, timer, list or counter uses: free bits of the set mode table (table 6), of the common
    // table (table 8) and of the MSK, NXDN, dPMR and emergency tables, next to the related fixed fields.
    // The MSK and NXDN ones share the fate of their tables, which the model reads but does not pack.
    // Set mode levels: RadioSettings[3]-RadioSettings[5].
    Choice(CL_SetM_BeepLev, At(T::kRadioSettings, 3), 0, 3, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_SetM_RingerLev, At(T::kRadioSettings, 3), 4, 7, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_SetM_SqlLev, At(T::kRadioSettings, 4), 0, 3, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_SetM_MicGain, At(T::kRadioSettings, 4), 4, 5, "GI_Sheet_Sel_SetM_MicGain4").Chosen(),
    Choice(CL_SetM_VoxGain, At(T::kRadioSettings, 5), 0, 3, "GI_Sheet_Sel_SetM_VoxGain").Chosen(),
    Choice(CL_SetM_VoxDelay, At(T::kRadioSettings, 5), 4, 7, "GI_Sheet_Sel_SetM_VoxDelay").Chosen(),
    Choice(CL_Exp_BattTypeChange, At(T::kRadioSettings, 26), 7, 7, "GI_Sheet_Sel_Comm_Batt_Type_Change")
        .Chosen(),
    // Which items the user's set mode offers: one enable bit each, RadioSettings[12] bit 7 onwards.
    Choice(CL_USetM_Backlight, At(T::kRadioSettings, 12), 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_LcdContrast, At(T::kRadioSettings, 12), 6, 6, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BeepOn, At(T::kRadioSettings, 12), 5, 5, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BeepLev, At(T::kRadioSettings, 12), 4, 4, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_RingerLev, At(T::kRadioSettings, 12), 3, 3, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_SqlLev, At(T::kRadioSettings, 12), 2, 2, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_AfMinLev, At(T::kRadioSettings, 12), 1, 1, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_AudioFilt, At(T::kRadioSettings, 12), 0, 0, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_MicGain, At(T::kRadioSettings, 13), 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxOnOff, At(T::kRadioSettings, 13), 6, 6, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxGain, At(T::kRadioSettings, 13), 5, 5, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxDelay, At(T::kRadioSettings, 13), 4, 4, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_HornOut, At(T::kRadioSettings, 13), 3, 3, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BATVDisp, At(T::kRadioSettings, 13), 2, 2, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BERDisp, At(T::kRadioSettings, 13), 1, 1, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_SigMoni, At(T::kRadioSettings, 13), 0, 0, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_LoneWorker, At(T::kRadioSettings, 14), 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    // Emergency levels and the dPMR emergency repeat: free bits of the emergency table.
    Choice(CL_Emer_Setting_MaxAlert, At(T::kLoneWorker, 0), 0, 3, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_Emer_Setting_Sql, At(T::kLoneWorker, 0), 4, 7, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_Emer_Setting_MicGain, At(T::kLoneWorker, 1), 0, 1, "GI_Sheet_Sel_SetM_MicGain4").Chosen(),
    Choice(CL_Emer_Signal_DpmrRep, At(T::kLoneWorker, 29), 5, 6, "GI_Sheet_Sel_Emergency_RepeatCancel")
        .Chosen(),
    // Common table: squelch offset and display code in the free byte General[35], hook-off scan suspend
    // and the horn port beside the other hang-up actions and port modes at General[36], power switch,
    // low-battery power, power-on scan and vote check in the free byte General[110].
    Choice(CL_Comm_Sql_Tight_Ofs, At(T::kGeneral, 35), 0, 3, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_KDisp_MrCode, At(T::kGeneral, 35), 4, 5, "GI_Sheet_Sel_MrCode").Chosen(),
    Choice(CL_KDisp_MrCodeLmr, At(T::kGeneral, 35), 4, 5, "GI_Sheet_Sel_MrCodeLmr").Chosen(),
    Choice(CL_KDisp_HangAct_ScanSuspend, At(T::kGeneral, 36), 4, 4, "GI_Sheet_Sel_HookOffSuspend").Chosen(),
    Choice(CL_ExtPort_PortMode_HORN, At(T::kGeneral, 36), 0, 0, "GI_Sheet_Sel_PortMode_HORN")
        .RedrawAll()
        .Chosen(),
    Choice(CL_KDisp_PwrSW, At(T::kGeneral, 110), 0, 1, "GI_Sheet_Sel_Power_Switch").Chosen(),
    Choice(CL_KDisp_PwrSW_HH, At(T::kGeneral, 110), 0, 1, "GI_Sheet_Sel_Power_Switch").Chosen(),
    Choice(CL_KDisp_RfPoBatt, At(T::kGeneral, 110), 2, 3, "GI_Sheet_Sel_Batt_RfPwr").Chosen(),
    Choice(CL_ScanComm_PwrOnScan, At(T::kGeneral, 110), 4, 5, "GI_Sheet_Sel_PwrOnScan").Chosen(),
    Choice(CL_ScanComm_VoteCheckCONT, At(T::kGeneral, 110), 6, 6, "GI_Sheet_Sel_Vote_Check_BeforeRSSI")
        .Chosen(),
    // Timers of these families in free bytes between the fixed timers.
    Timer(CL_KDisp_Auto_KeyLock_Timer, At(T::kGeneral, 60), 1, true).Chosen(),
    Timer(CL_ScanComm_VoteTimer_Rssi, At(T::kGeneral, 106), 100, false).Chosen(),
    Timer(CL_Exp_IgnitionTimer, At(T::kGeneral, 108), 1, true).Chosen(),
    Timer(CL_Comm_Gps_IntervalTimer, At(T::kGeneral, 111), 1, true).Chosen(),
    // MSK GPS sentence beside the other MSK configuration bits.
    Choice(CL_Msk_Cfg_Gps_Sentence, At(T::kMskConfig, 13), 0, 1, "GI_Sheet_Sel_Msk_GpsSentence").Chosen(),
    // NXDN: the unit ID mode is bit 7 of NxdnOptions[26] (the channel sheet shows a fixed ID while it is
    // set);
    // ringers and auxiliary action of short data and call alert in the free halves of their tables.
    Choice(CL_Nxdn_Config_Unit_ID, At(T::kNxdnOptions, 26), 7, 7, "GI_Sheet_Sel_Nxdn_Option_UnitID")
        .Wider()
        .Chosen(),
    Choice(CL_Nxdn_SDM_Setting_Ringer, At(T::kNxdnMessageSettings, 1), 0, 3, "GI_Sheet_Sel_RxC_Beep")
        .Chosen(),
    Choice(CL_Nxdn_CallAlert_Ringer, At(T::kNxdnCallAlert, 1), 0, 3, "GI_Sheet_Sel_RxC_Beep").Chosen(),
    Choice(CL_Nxdn_CallAlert_Aux, At(T::kNxdnCallAlert, 1), 4, 7, "GI_Sheet_Sel_RxC_Aux2").Chosen(),
    // dPMR: status settings laid out like the NXDN ones (power-on, power-off and GPS status bytes after
    // the flag byte; the ID reference at DpmrStatusSettings[4] stays free), short data ringer and audio, the
    // group
    // list switch beside the block decode bit.
    Typed(CL_Dpmr_Status_Set_PowerONStat, At(T::kDpmrStatusSettings, 1), 0, 7,
          "GI_Sheet_Sel_Dpmr_Status_PowerStatus")
        .Chosen(),
    Typed(CL_Dpmr_Status_Set_PowerOFFStat, At(T::kDpmrStatusSettings, 2), 0, 7,
          "GI_Sheet_Sel_Dpmr_Status_PowerStatus")
        .Chosen(),
    Typed(CL_Dpmr_Status_Set_GpsStatus, At(T::kDpmrStatusSettings, 3), 0, 7,
          "GI_Sheet_Sel_Dpmr_Status_GpsReqStatus")
        .Chosen(),
    Typed(CL_Dpmr_Status_Set_Send_Voice, At(T::kDpmrStatusSettings, 6), 0, 7,
          "GI_Sheet_Sel_Dpmr_Simul_Send_Status_Num")
        .Chosen(),
    Choice(CL_Dpmr_SDM_Setting_AUD, At(T::kDpmrMessageSettings, 1), 2, 3, "GI_Sheet_Sel_RxC_Aud").Chosen(),
    Choice(CL_Dpmr_SDM_Setting_Ringer, At(T::kDpmrMessageSettings, 1), 4, 7, "GI_Sheet_Sel_RxC_Beep")
        .Chosen(),
    Choice(CL_Dpmr_Grp_Set_BelongGrpList_ON, At(T::kDpmrGroupSettings, 0), 2, 2, "GI_Sheet_Sel_Misc_OnOff")
        .Chosen(),
    // Scan lists (table 15, 17 entries of 18 bytes): the channel references and their marks use bytes
    // 10-17 and bit 7 of byte 8; the list options take bits 0-6 of byte 8 and byte 9.
    Choice(CL_ScanList_ScanMode, At(T::kScanLists, 8), 0, 1, "GI_Sheet_Sel_ScanMode")
        .PerEntry(18, 17)
        .Chosen(),
    Choice(CL_ScanList_TalkBack, At(T::kScanLists, 8), 2, 2, "GI_Sheet_Sel_Misc_OnOff")
        .PerEntry(18, 17)
        .Chosen(),
    Choice(CL_ScanList_TX_Action, At(T::kScanLists, 8), 3, 4, "GI_Sheet_Sel_ScanTXAct")
        .PerEntry(18, 17)
        .Chosen(),
    Choice(CL_ScanList_Cancel_CH, At(T::kScanLists, 8), 5, 5, "GI_Sheet_Sel_ScanCancelCH")
        .PerEntry(18, 17)
        .Chosen(),
    Choice(CL_ScanList_PwrSave, At(T::kScanLists, 8), 6, 6, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(18, 17)
        .Chosen(),
    Choice(CL_ScanList_DispText, At(T::kScanLists, 9), 0, 1, "GI_Sheet_Sel_ScanList_Text")
        .PerEntry(18, 17)
        .Chosen(),
    // DTMF decode entries (table 16, 8 entries of 21 bytes): the code and its text lead the entry; the
    // decode actions take its last three bytes.
    Choice(CL_Dtmf_Decode_Stun, At(T::kDtmfDecode, 18), 0, 1, "GI_Sheet_Sel_RxC_Stun_Dtmf")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Scan, At(T::kDtmfDecode, 18), 2, 3, "GI_Sheet_Sel_RxC_Scan")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Aud, At(T::kDtmfDecode, 18), 4, 5, "GI_Sheet_Sel_RxC_Aud").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_IdDec, At(T::kDtmfDecode, 19), 0, 0, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Bell, At(T::kDtmfDecode, 19), 1, 2, "GI_Sheet_Sel_RxC_Bell")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_EmerCancel, At(T::kDtmfDecode, 19), 3, 3, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Exo, At(T::kDtmfDecode, 19), 4, 4, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_AutoTx, At(T::kDtmfDecode, 19), 5, 5, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Sfunc, At(T::kDtmfDecode, 19), 6, 6, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(21, 8)
        .Chosen(),
    Choice(CL_Dtmf_Decode_Beep, At(T::kDtmfDecode, 20), 0, 3, "GI_Sheet_Sel_RxC_Beep")
        .PerEntry(21, 8)
        .Chosen(),
    // Numbers, timers and texts of these families, in free bytes of the common table between the
    // timers (General[68]-General[97]), of the set mode table (RadioSettings[6]-RadioSettings[9]) and of the
    // emergency table
    // (LoneWorker[2], LoneWorker[14]-LoneWorker[23]); the stun display text in table 21.
    Text(CL_KDisp_OpeningText, At(T::kGeneral, 68), 12).Chosen(),
    Timer(CL_Comm_EmerTim_On, At(T::kGeneral, 80), 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Off, At(T::kGeneral, 81), 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Start, At(T::kGeneral, 82), 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Sairen, At(T::kGeneral, 83), 1, true).Chosen(),
    Number(CL_Comm_EmerTim_ReCycle, At(T::kGeneral, 84), 0, 7, 0, 99).Chosen(),
    Number(CL_Comm_ManDown_ReCycle, At(T::kGeneral, 85), 0, 7, 0, 99)
        .GreyWhen(Clear(At(T::kGeneral, 30), 0x04))
        .Chosen(),
    Number(CL_Comm_RS_NumMax, At(T::kGeneral, 86), 0, 7, 1, 255).Chosen(),
    Number(CL_Comm_RS_CharXon, At(T::kGeneral, 87), 0, 7, 0, 255).Chosen(),
    Number(CL_Comm_RS_CharXoff, At(T::kGeneral, 88), 0, 7, 0, 255).Chosen(),
    Number(CL_Comm_Gps_TimeMarker, At(T::kGeneral, 89), 0, 7, 0, 59).Chosen(),
    Timer(CL_Exp_PSaveStartTimer_1, At(T::kGeneral, 90), 1, true).Chosen(),
    Timer(CL_Exp_PSaveStartTimer_2, At(T::kGeneral, 91), 1, true).Chosen(),
    Number(CL_Exp_BeepFreq_Low, At(T::kGeneral, 92), 0, 7, 0, 255).Chosen(),
    Number(CL_Exp_BeepFreq_High, At(T::kGeneral, 93), 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_Fast, At(T::kGeneral, 94), 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_L2, At(T::kGeneral, 95), 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_L0, At(T::kGeneral, 96), 0, 7, 0, 255).Chosen(),
    Number(CL_KDisp_DispLines, At(T::kGeneral, 97), 0, 7, 1, 3).Chosen(),
    Text(CL_Comm_Strv_Text, At(T::kStunText, 0), 12).GreyWhen(Clear(At(T::kStun, 8), 0x10)).Chosen(),
    Number(CL_SetM_LcdContrast, At(T::kRadioSettings, 6), 0, 7, 1, 8).Chosen(),
    Number(CL_SetM_AFMinLev, At(T::kRadioSettings, 7), 0, 7, 0, 15).Chosen(),
    Number(CL_SetM_AudioFilt, At(T::kRadioSettings, 9), 0, 1, 0, 3).Chosen(),
    Number(CL_SetM_BERDisp, At(T::kRadioSettings, 9), 2, 2, 0, 1).Chosen(),
    Number(CL_Emer_Setting_RptCycle, At(T::kLoneWorker, 2), 0, 7, 0, 99).Chosen(),
    Text(CL_Emer_Setting_EmerText, At(T::kLoneWorker, 14), 10).Chosen(),
    // External port direction and logic: one bit per port, the nine I/O ports from bit 7 of the first
    // byte, then the input and the output port (free bytes General[7]-General[10] of the common table).
    Choice(CL_ExtPort_InOut_1_Dir, At(T::kGeneral, 7), 7, 7, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_2_Dir, At(T::kGeneral, 7), 6, 6, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_3_Dir, At(T::kGeneral, 7), 5, 5, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_4_Dir, At(T::kGeneral, 7), 4, 4, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_5_Dir, At(T::kGeneral, 7), 3, 3, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_6_Dir, At(T::kGeneral, 7), 2, 2, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_7_Dir, At(T::kGeneral, 7), 1, 1, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_8_Dir, At(T::kGeneral, 7), 0, 0, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_9_Dir, At(T::kGeneral, 8), 7, 7, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_In_1_Dir, At(T::kGeneral, 8), 6, 6, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_Out_1_Dir, At(T::kGeneral, 8), 5, 5, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_1_Logic, At(T::kGeneral, 9), 7, 7, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_2_Logic, At(T::kGeneral, 9), 6, 6, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_3_Logic, At(T::kGeneral, 9), 5, 5, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_4_Logic, At(T::kGeneral, 9), 4, 4, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_5_Logic, At(T::kGeneral, 9), 3, 3, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_6_Logic, At(T::kGeneral, 9), 2, 2, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_7_Logic, At(T::kGeneral, 9), 1, 1, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_8_Logic, At(T::kGeneral, 9), 0, 0, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_9_Logic, At(T::kGeneral, 10), 7, 7, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_In_1_Logic, At(T::kGeneral, 10), 6, 6, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_Out_1_Logic, At(T::kGeneral, 10), 5, 5, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    // NXDN configuration timers and counts in free bytes of table 36 (NxdnOptions[12]-NxdnOptions[23],
    // NxdnOptions[43]-NxdnOptions[47],
    // NxdnOptions[54]-NxdnOptions[61]); like the rest of that table they are saved only with data that holds
    // it.
    Timer(CL_Nxdn_Config_FSSP_Wait, At(T::kNxdnOptions, 12), 100, false).Chosen(),
    Timer(CL_Nxdn_Config_T_ACK_Wait, At(T::kNxdnOptions, 13), 10, false).Chosen(),
    Timer(CL_Nxdn_Config_T_LONG_Wait, At(T::kNxdnOptions, 16), 10, false).Chosen(),
    Timer(CL_Nxdn_Config_T_SHORT_Wait, At(T::kNxdnOptions, 17), 100, false).Chosen(),
    Timer(CL_Nxdn_Config_BeepRepeatTimer, At(T::kNxdnOptions, 18), 1, true).Chosen(),
    Timer(CL_Nxdn_Config_Ack_TX_Delay, At(T::kNxdnOptions, 19), 100, false).Chosen(),
    Timer(CL_Nxdn_Config_Ack_RX_Wait, At(T::kNxdnOptions, 20), 10, false).Chosen(),
    Number(CL_Nxdn_Config_Attempt_No, At(T::kNxdnOptions, 21), 0, 7, 1, 10).Chosen(),
    Timer(CL_Nxdn_Config_ResetTimer, At(T::kNxdnOptions, 22), 1, true).Chosen(),
    Timer(CL_Nxdn_Config_Emer_Tans, At(T::kNxdnOptions, 23), 1, false).Chosen(),
    Timer(CL_Nxdn_Option_TalkBackTimer, At(T::kNxdnOptions, 43), 1, true).Wider().Chosen(),
    Timer(CL_Nxdn_RMONI_TXTimer, At(T::kNxdnOptions, 44), 1, false).Chosen(),
    Number(CL_Nxdn_Trunk_SU_RAccess_Retry, At(T::kNxdnOptions, 45), 0, 7, 0, 15).Chosen(),
    Number(CL_Nxdn_Grp_Op_Pre_Len, At(T::kNxdnOptions, 46), 0, 7, 0, 15).Chosen(),
    Text(CL_Nxdn_Option_AnalogTalkBackText, At(T::kNxdnOptions, 54), 8).Chosen(),
    // MSK preselection: own and common ID (0-4095) and two counts in the free bytes of table 22 before
    // the country code. The address ranges of table 25 before its country code, where the range cells
    // (indRangeCells, asked first) keep them: the first group address (the individual range ends
    // below it and has no bytes of its own), the common and the killer address.
    Number16(CL_Msk_Presl_Own_Id, At(T::kMskPreselect, 0), 0, 4095).Chosen(),
    Number16(CL_Msk_Presl_Common, At(T::kMskPreselect, 2), 0, 4095).Chosen(),
    Number(CL_Msk_Presl_Call_Let, At(T::kMskPreselect, 4), 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_Presl_Sync, At(T::kMskPreselect, 5), 0, 7, 0, 255).Chosen(),
    Number16(CL_Msk_AdrRange_Group, At(T::kMskAddress, 0), 1, 4095).Chosen(),
    Number16(CL_Msk_AdrRange_Common, At(T::kMskAddress, 2), 0, 4095).Chosen(),
    Number16(CL_Msk_AdrRange_Killer, At(T::kMskAddress, 4), 0, 4095).Chosen(),
    // The dPMR display messages: the 21 entries of 8 display characters of table 116, in cell order.
    Display(CL_Dpmr_DispMsg_App_VoiceCall, At(T::kDpmrDisplayMessages, 0), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_BroadcastCall, At(T::kDpmrDisplayMessages, 8), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_StatusCall, At(T::kDpmrDisplayMessages, 16), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_SDMCall, At(T::kDpmrDisplayMessages, 24), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_CallAlert, At(T::kDpmrDisplayMessages, 32), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_AmbienceListen, At(T::kDpmrDisplayMessages, 40), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Stun, At(T::kDpmrDisplayMessages, 48), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Kill, At(T::kDpmrDisplayMessages, 56), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Revive, At(T::kDpmrDisplayMessages, 64), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_StatusPoll, At(T::kDpmrDisplayMessages, 72), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_CallLog, At(T::kDpmrDisplayMessages, 80), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_NoLog, At(T::kDpmrDisplayMessages, 88), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_TX, At(T::kDpmrDisplayMessages, 96), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_Failed, At(T::kDpmrDisplayMessages, 104), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_Complete, At(T::kDpmrDisplayMessages, 112), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_CompleteCall, At(T::kDpmrDisplayMessages, 120), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_CompleteClear, At(T::kDpmrDisplayMessages, 128), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_GrpID, At(T::kDpmrDisplayMessages, 136), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_UID, At(T::kDpmrDisplayMessages, 144), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_AllCall, At(T::kDpmrDisplayMessages, 152), 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_Private, At(T::kDpmrDisplayMessages, 160), 8).Chosen(),
    // The clone password the clone write asks about (set when its first byte is not 0).
    Password(CL_Comm_ClonePasswordStr, At(T::kGeneral, 170)).OnModelField(),
    // The clone comments the radio shows in its clone information.
    Text(CL_Comm_CloneComment1, At(T::kCloneComments, 0), 16).OnModelField(),
    Text(CL_Comm_CloneComment2, At(T::kCloneComments, 16), 16).OnModelField(),
    // dPMR options and confirmation timers in free bytes of table 104 (DpmrOptions[15]-DpmrOptions[20], the
    // analogue talk-back text at DpmrOptions[39]), expert values beside the expert timers of table 115.
    Timer(CL_Dpmr_Config_BeepRepeatTimer, At(T::kDpmrOptions, 15), 1, true).Chosen(),
    Timer(CL_Dpmr_Config_Ack_TX_Delay, At(T::kDpmrOptions, 16), 100, false).Chosen(),
    Timer(CL_Dpmr_Config_Ack_RX_Wait, At(T::kDpmrOptions, 17), 10, false).Chosen(),
    Number(CL_Dpmr_Config_Attempt_No, At(T::kDpmrOptions, 18), 0, 7, 1, 10).Chosen(),
    Timer(CL_Dpmr_Option_Broadcast_InactiveTimer, At(T::kDpmrOptions, 19), 1, true).Chosen(),
    Timer(CL_Dpmr_Option_TalkBackTimer, At(T::kDpmrOptions, 20), 1, true).Wider().Chosen(),
    Text(CL_Dpmr_Option_AnalogTalkBackText, At(T::kDpmrOptions, 39), 8).Chosen(),
    Timer(CL_Dpmr_Expert_T_ch_chk_Timer, At(T::kDpmrExpert, 16), 100, false).Chosen(),
    Number(CL_Dpmr_Expert_RSSI_L0, At(T::kDpmrExpert, 17), 0, 7, 0, 255).Chosen(),
    Number(CL_Dpmr_Expert_Wakeup_Header, At(T::kDpmrExpert, 18), 0, 7, 0, 15).Chosen(),
    // The dPMR and NXDN expert levels are the bytes the normalisation keeps from being 0.
    Number(CL_Dpmr_Expert_FS48_Attack, At(T::kDpmrExpert, 0), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Attack, At(T::kDpmrExpert, 1), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Sync_BitError, At(T::kDpmrExpert, 2), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS48_Sync_BitError, At(T::kDpmrExpert, 3), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Err_BitError, At(T::kDpmrExpert, 4), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Err_Counter, At(T::kDpmrExpert, 5), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_LET, At(T::kDpmrExpert, 7), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_CC_Det_Count, At(T::kDpmrExpert, 9), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_CC_Undet_Count, At(T::kDpmrExpert, 10), 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_ND, At(T::kDpmrExpert, 14), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_FS38_Attack, At(T::kNxdnExpert, 0), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_FS20_Attack, At(T::kNxdnExpert, 1), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N5_BitError, At(T::kNxdnExpert, 2), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N6_BitError, At(T::kNxdnExpert, 3), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N7_BitError, At(T::kNxdnExpert, 4), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N7_Counter, At(T::kNxdnExpert, 5), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N5_Counter, At(T::kNxdnExpert, 6), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_Resync_Counter, At(T::kNxdnExpert, 8), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_LET, At(T::kNxdnExpert, 9), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_RAN_Det_Count, At(T::kNxdnExpert, 10), 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_RAN_Undet_Count, At(T::kNxdnExpert, 7), 0, 7, 0, 255).OnModelField(),
    // Signalling records (indSignal in indLayout.h places them): the names, choices and timers of the
    // DTMF memories and decode entries, the receive codes, whose name and decode actions the two-tone
    // and five-tone views share, the five-tone and two-tone transmit codes and the user tone settings.
    Choice(CL_Dtmf_CodeID, S::kMemoryAt, S::kMemoryIdBit, S::kMemoryIdBit, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kMemorySize, S::kMemories)
        .Chosen(),
    Choice(CL_Dtmf_CodeEmer, S::kMemoryAt, S::kMemoryEmergencyBit, S::kMemoryEmergencyBit,
           "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kMemorySize, S::kMemories)
        .Chosen(),
    Display(CL_Dtmf_Text, S::kMemoryAt + S::kMemoryName, 8).PerEntry(S::kMemorySize, S::kMemories).Chosen(),
    Display(CL_Dtmf_Decode_Text, S::kDecodeAt + S::kDecodeName, 8)
        .PerEntry(S::kDecodeSize, S::kDecodeEntries)
        .Chosen(),
    Display(CL_5TRx_Text, S::kRxAt + S::kRxName, 8).PerEntry(S::kRxSize, S::kRxCodes).Chosen(),
    Choice(CL_5TRx_Exo, S::kRxAt + S::kRxActions1, 0, 0, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_AutoTx, S::kRxAt + S::kRxActions1, 1, 1, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Sfunc, S::kRxAt + S::kRxActions1, 2, 2, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Bell, S::kRxAt + S::kRxActions1, 3, 4, "GI_Sheet_Sel_RxC_Bell")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Scan, S::kRxAt + S::kRxActions1, 5, 6, "GI_Sheet_Sel_RxC_Scan")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_IdDec, S::kRxAt + S::kRxActions1, 7, 7, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Beep, S::kRxAt + S::kRxActions2, 0, 2, "GI_Sheet_Sel_RxC_Beep")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Aux, S::kRxAt + S::kRxActions2, 3, 4, "GI_Sheet_Sel_RxC_Aux")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Stun, S::kRxAt + S::kRxActions2, 5, 6, "GI_Sheet_Sel_RxC_Stun")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_EmerCancel, S::kRxAt + S::kRxActions2, 7, 7, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_5TRx_Aud, S::kRxAt + S::kRxFiveTone, 0, 1, "GI_Sheet_Sel_RxC_Aud")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Number(CL_5TRx_CompareDigit, S::kRxAt + S::kRxFiveTone, 4, 7, 0, 8)
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Timer(CL_5TRx_BeepRepeatTimer, S::kRxAt + S::kRxBeepRepeat, 1, true)
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Display(CL_2T_Text, S::kRxAt + S::kRxName, 8).PerEntry(S::kRxSize, S::kRxCodes).Chosen(),
    Choice(CL_2T_EXO, S::kRxAt + S::kRxActions1, 0, 0, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_AutoTx, S::kRxAt + S::kRxActions1, 1, 1, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Sfunc, S::kRxAt + S::kRxActions1, 2, 2, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Bell, S::kRxAt + S::kRxActions1, 3, 4, "GI_Sheet_Sel_RxC_Bell")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Scan, S::kRxAt + S::kRxActions1, 5, 6, "GI_Sheet_Sel_RxC_Scan")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Beep, S::kRxAt + S::kRxActions2, 0, 2, "GI_Sheet_Sel_RxC_Beep")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Aux, S::kRxAt + S::kRxActions2, 3, 4, "GI_Sheet_Sel_RxC_Aux")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_Stun, S::kRxAt + S::kRxActions2, 5, 6, "GI_Sheet_Sel_RxC_Stun")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Timer(CL_2T_BeepRepeatTimer, S::kRxAt + S::kRxBeepRepeat, 1, true)
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Timer(CL_2T_1st_Period, S::kRxAt + S::kRxPeriod1, 10, false).PerEntry(S::kRxSize, S::kRxCodes).Chosen(),
    Timer(CL_2T_2nd_Period, S::kRxAt + S::kRxPeriod2, 10, false).PerEntry(S::kRxSize, S::kRxCodes).Chosen(),
    Timer(CL_2T_NotoneTimer, S::kRxAt + S::kRxNoTone, 10, true).PerEntry(S::kRxSize, S::kRxCodes).Chosen(),
    Choice(CL_2T_Code_Type, S::kRxAt + S::kRxTwoTone, 0, 1, "GI_Sheet_Sel_2TRxC_Type")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_GroupCall, S::kRxAt + S::kRxTwoTone, 2, 3, "GI_Sheet_Sel_2TRxC_Group")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Choice(CL_2T_ANS, S::kRxAt + S::kRxTwoTone, 4, 4, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kRxSize, S::kRxCodes)
        .Chosen(),
    Display(CL_5TTx_Text, S::kTxOptionsAt + S::kTxName, 8).PerEntry(S::kTxOptionsSize, S::kTxCodes).Chosen(),
    Choice(CL_5TTx_Update, S::kTxOptionsAt + S::kTxFlags, 0, 0, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kTxOptionsSize, S::kTxCodes)
        .Chosen(),
    Choice(CL_5TTx_AbcDec, S::kTxOptionsAt + S::kTxFlags, 1, 1, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kTxOptionsSize, S::kTxCodes)
        .Chosen(),
    Choice(CL_5TTx_AbcAud, S::kTxOptionsAt + S::kTxFlags, 2, 2, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kTxOptionsSize, S::kTxCodes)
        .Chosen(),
    Choice(CL_5TTx_Sel, S::kTxOptionsAt + S::kTxFlags, 3, 3, "GI_Sheet_Sel_Misc_OnOff2")
        .PerEntry(S::kTxOptionsSize, S::kTxCodes)
        .Chosen(),
    Number(CL_Select_TX_Code, S::kSelectedTxCode, 0, 7, 0, S::kTxCodes - 1, 1).Wider().Chosen(),
    Display(CL_2T_TxText, S::kTwoToneTxAt + S::kTwoToneTxName, 8)
        .PerEntry(S::kTwoToneTxSize, S::kTwoToneTxCodes)
        .Chosen(),
    Choice(CL_UTone_Auto, S::kUserToneAuto, 0, 0, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Timer(CL_UTone_TonePeriod, S::kUserTonePeriod, 10, false).Chosen(),
    Timer(CL_UTone_NotoneTimer, S::kUserToneNoTone, 10, true).Chosen(),
    Timer(CL_UTone_Length, S::kUserToneLength, 10, false).Chosen(),
    // Key, display and external port settings, and the further common, emergency and expert settings,
    // in the model's own area (table 203, see indKeysArea); the key assignments, passwords, user CTCSS
    // and the channel switch's channel are indKeyCells.
    Choice(CL_ExtPort_PortMode_none, At(T::kModelExtras, K::kKeyFlags), 7, 7, "GI_Sheet_Sel_PortMode_none")
        .RedrawAll()
        .Chosen(),
    Choice(CL_KDisp_Tenkey_Select, At(T::kModelExtras, K::kKeyFlags), 6, 6, "GI_Sheet_Sel_Misc_Enable3")
        .Chosen(),
    Choice(CL_KDisp_DTMFDecoder_Select, At(T::kModelExtras, K::kKeyFlags), 5, 5, "GI_Sheet_Sel_Misc_Enable3")
        .Chosen(),
    Choice(CL_KDisp_DTMFMic_Customize, At(T::kModelExtras, K::kKeyFlags), 4, 4, "GI_Sheet_Sel_Misc_OnOff")
        .Chosen(),
    Choice(CL_KDisp_RotarySel, At(T::kModelExtras, K::kKeyFlags), 3, 3, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_KDisp_ErrChDisplay, At(T::kModelExtras, K::kKeyFlags), 2, 2, "GI_Sheet_Sel_Misc_OnOff")
        .Chosen(),
    Choice(CL_KDisp_SmaKey, At(T::kModelExtras, K::kKeyFlags), 1, 1, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_Comm_EmerIn, At(T::kModelExtras, K::kKeyFlags), 0, 0, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_KDisp_LED_LP0, At(T::kModelExtras, K::kLeds), 0, 7, "GI_Sheet_Sel_KDisp_LED").Chosen(),
    Choice(CL_KDisp_LED_LP1, At(T::kModelExtras, K::kLeds + 1), 0, 7, "GI_Sheet_Sel_KDisp_LED").Chosen(),
    Choice(CL_KDisp_LED_LP2, At(T::kModelExtras, K::kLeds + 2), 0, 7, "GI_Sheet_Sel_KDisp_LED").Chosen(),
    Choice(CL_ExtPort_InOut_1, At(T::kModelExtras, K::kPorts), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_2, At(T::kModelExtras, K::kPorts + 1), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_3, At(T::kModelExtras, K::kPorts + 2), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_4, At(T::kModelExtras, K::kPorts + 3), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_5, At(T::kModelExtras, K::kPorts + 4), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_6, At(T::kModelExtras, K::kPorts + 5), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_7, At(T::kModelExtras, K::kPorts + 6), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_8, At(T::kModelExtras, K::kPorts + 7), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_InOut_9, At(T::kModelExtras, K::kPorts + 8), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_In_1, At(T::kModelExtras, K::kPorts + 9), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_ExtPort_Out_1, At(T::kModelExtras, K::kPorts + 10), 0, 7, "GI_Sheet_Sel_ExtPort_Function")
        .Chosen(),
    Choice(CL_Emer_Signal_ScanCancel, At(T::kModelExtras, K::kMoreFlags), 7, 7, "GI_Sheet_Sel_Misc_OnOff")
        .Chosen(),
    Choice(CL_Comm_ChGrp_Type, At(T::kModelExtras, K::kMoreFlags), 6, 6, "GI_Sheet_Sel_Comm_ChGrp_Type")
        .Chosen(),
    Choice(CL_Exp_RxAf_Filter, At(T::kModelExtras, K::kMoreFlags), 5, 5, "GI_Sheet_Sel_Comm_RxAfSw").Chosen(),
    // One input for the external PTT and the foot switch, or one each: the microphone of the shared
    // input applies only to the first, that of the foot switch only to the second.
    Choice(CL_Exp_Select_ExPttFtsw, At(T::kModelExtras, K::kMoreFlags), 4, 4, "GI_Sheet_Sel_Exp_ExPttFtsw")
        .Wider()
        .Chosen(),
    Choice(CL_Exp_EpttFtsw_C, At(T::kModelExtras, K::kMoreFlags), 3, 3, "GI_Sheet_Sel_AutoTx_MicSel")
        .GreyWhen(Test{At(T::kModelExtras, K::kMoreFlags), 0x10, 0x10})
        .Chosen(),
    Choice(CL_Exp_EpttFtsw_S, At(T::kModelExtras, K::kMoreFlags), 2, 2, "GI_Sheet_Sel_AutoTx_MicSel")
        .GreyWhen(Clear(At(T::kModelExtras, K::kMoreFlags), 0x10))
        .Chosen(),
    // Dimming on the ignition only applies while the ignition function is on.
    Choice(CL_Exp_DimIgsw, At(T::kModelExtras, K::kMoreFlags), 1, 1, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(At(T::kRadioSettings, 24), 0x10))
        .Chosen(),
    Number(CL_Comm_ChGrp_Number, At(T::kModelExtras, K::kChannelGroupCount), 0, 3, 0, 15, 1).Chosen(),
    Timer(CL_Comm_Tot_Reset, At(T::kModelExtras, K::kTotReset), 1, true).Chosen(),
    // MSK configuration in free places of table 23: the fixed base IDs of status and GPS messages in
    // bytes 0-1 and 2-3, the decoder timers in bytes 7 and 8, the send options in the free bits of
    // bytes 11 and 13.
    Number16(CL_Msk_Cfg_Status_FixBaseId, At(T::kMskConfig, 0), 0, 4095).Chosen(),
    Number16(CL_Msk_Cfg_Gps_FixBaseId, At(T::kMskConfig, 2), 0, 4095).Chosen(),
    Timer(CL_Msk_Cfg_Dec_BeepRepeatTimer, At(T::kMskConfig, 7), 1, true).Chosen(),
    Timer(CL_Msk_Cfg_Dec_DurationTimer, At(T::kMskConfig, 8), 1, false).Chosen(),
    Choice(CL_Msk_Cfg_Status_Send_Base, At(T::kMskConfig, 11), 4, 4, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_Msk_Cfg_Status_Send_Dim, At(T::kMskConfig, 11), 3, 3, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_Msk_Cfg_Gps_Send_Call, At(T::kMskConfig, 11), 1, 1, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_Msk_Cfg_Gps_Send_Ack, At(T::kMskConfig, 11), 0, 0, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    Choice(CL_Msk_Cfg_Gps_Enable, At(T::kMskConfig, 13), 6, 6, "GI_Sheet_Sel_Misc_Enable3").Chosen(),
    // MSK timing and errors, one byte each in the model's area (indDigitalExtras::kMskTiming): counts,
    // protocol timers in hundredths of a second, the longer waits in tenths.
    Number(CL_Msk_TimingErr_NA, kMskTiming + 0, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_ND, kMskTiming + 1, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_NM, kMskTiming + 2, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_NR, kMskTiming + 3, 0, 7, 0, 255).Chosen(),
    Timer(CL_Msk_TimingErr_TAC, kMskTiming + 4, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TOF, kMskTiming + 5, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TOI, kMskTiming + 6, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TWF, kMskTiming + 7, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TWI, kMskTiming + 8, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TRV, kMskTiming + 9, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TS1, kMskTiming + 10, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TS2, kMskTiming + 11, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TS3, kMskTiming + 12, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TI, kMskTiming + 13, 10, false).Chosen(),
    Number(CL_Msk_TimingErr_N1, kMskTiming + 14, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_N2, kMskTiming + 15, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_K, kMskTiming + 16, 0, 7, 0, 255).Chosen(),
    Timer(CL_Msk_TimingErr_TT, kMskTiming + 17, 10, false).Chosen(),
    Timer(CL_Msk_TimingErr_dTT, kMskTiming + 18, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TC, kMskTiming + 19, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TF, kMskTiming + 20, 100, false).Chosen(),
    Timer(CL_Msk_TimingErr_TV, kMskTiming + 21, 10, false).Chosen(),
    Timer(CL_Msk_TimingErr_T3, kMskTiming + 22, 10, false).Chosen(),
    Choice(CL_Msk_TimingErr_BusyCheck, kMskTiming + 23, 0, 0, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Number(CL_Msk_TimingErr_LetAck, kMskTiming + 24, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_TimingErr_LetCall, kMskTiming + 25, 0, 7, 0, 255).Chosen(),
    // NXDN options in free bits of table 36; the global auto switch is the form bit the channels'
    // fixed unit ID follows (bit 5 of byte 26), and the trunking unit ID mode and form are bits 6 and 5
    // of byte 1 of table 95.
    Choice(CL_Nxdn_Config_ID_Disp, At(T::kNxdnOptions, 24), 7, 7, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Choice(CL_Nxdn_Grp_Op_Strapped, At(T::kNxdnOptions, 25), 7, 7, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Choice(CL_Nxdn_Config_Emer_Beep, At(T::kNxdnOptions, 38), 0, 3, "GI_Sheet_Sel_RxC_Beep").Chosen(),
    Choice(CL_Nxdn_Config_Global_Auto, At(T::kNxdnOptions, 26), 5, 5, "GI_Sheet_Sel_Misc_OnOff")
        .Wider()
        .OnModelField(),
    Choice(CL_VORN_Op_Unit_ID, At(T::kTrunkOptions, 1), 6, 6, "GI_Sheet_Sel_Nxdn_Option_UnitID")
        .Wider()
        .OnModelField(),
    Choice(CL_VORN_Op_Global_Auto, At(T::kTrunkOptions, 1), 5, 5, "GI_Sheet_Sel_Misc_OnOff")
        .Wider()
        .OnModelField(),
    // dPMR: broadcast transmit beside broadcast receive (bit 7 of byte 28), pdS in bit 7 of byte 27.
    Choice(CL_Dpmr_Option_Broadcast_TX, At(T::kDpmrOptions, 28), 7, 7, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Choice(CL_Dpmr_Config_pdS, At(T::kDpmrOptions, 27), 7, 7, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    // LTR options in the free bits and bytes of the radio's LTR option bytes (see indOwnPlaces): the
    // blocked ID range and the priority talk group are grey while they are off.
    Choice(CL_Ltr_BeepHandShake, P::kLtrBeeps, 3, 3, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Choice(CL_Ltr_BeepOnRx, P::kLtrBeeps, 5, 5, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    Choice(CL_Ltr_TotDispatch, P::kLtrSwitches, 0, 0, "GI_Sheet_Sel_Misc_OnOff2").Chosen(),
    Choice(CL_Ltr_TotPhone, P::kLtrSwitches, 1, 1, "GI_Sheet_Sel_Misc_OnOff2").Chosen(),
    Choice(CL_Ltr_TaBusyLockout, P::kLtrSwitches, 2, 2, "GI_Sheet_Sel_Misc_OnOff2").Chosen(),
    Choice(CL_Ltr_PwrSave, P::kLtrSwitches, 3, 3, "GI_Sheet_Sel_Misc_OnOff2").Chosen(),
    Choice(CL_Ltr_BlockIdEna, P::kLtrSwitches, 4, 4, "GI_Sheet_Sel_Misc_Enable2").Wider().Chosen(),
    Choice(CL_Ltr_DecPriTgEna, P::kLtrSwitches, 5, 5, "GI_Sheet_Sel_Misc_Enable2").Wider().Chosen(),
    Number(CL_Ltr_BlockIdStart, P::kLtrBlockIdFirst, 0, 7, 1, 254)
        .GreyWhen(Clear(P::kLtrSwitches, P::kLtrBlockIdsOn))
        .Chosen(),
    Number(CL_Ltr_BlockIdEnd, P::kLtrBlockIdLast, 0, 7, 1, 254)
        .GreyWhen(Clear(P::kLtrSwitches, P::kLtrBlockIdsOn))
        .Chosen(),
    Number(CL_Ltr_PriTgId, P::kLtrPriorityId, 0, 7, 1, 254)
        .GreyWhen(Clear(P::kLtrSwitches, P::kLtrPriorityDecode))
        .Chosen(),
    Number(CL_Ltr_Op_NumPreBit, P::kLtrPreambleBits, 0, 7, 0, 255).Chosen(),
    Number(CL_Ltr_Op_NumHangBit, P::kLtrHangBits, 0, 7, 0, 255).Chosen(),
    // The voting zone in the model's own area: the scrambler type and code are grey while the
    // scrambler is off.
    Choice(CL_VoteZone_RfPo, P::kVoteZone, 0, 1, "GI_Sheet_Sel_Mch_RfPwr").Chosen(),
    Choice(CL_VoteZone_Scrm_On, P::kVoteZone, 2, 3, "GI_Sheet_Sel_Mch_ScramOn").Wider().Chosen(),
    Choice(CL_VoteZone_Scrm_Type, P::kVoteZone, 4, 4, "GI_Sheet_Sel_Comm_Scrm_Type")
        .GreyWhen(Clear(P::kVoteZone, P::kVoteScramblerBits))
        .Chosen(),
    Number(CL_VoteZone_Scrm_Code, P::kVoteScramblerCode, 0, 7, 0, 31, 1)
        .GreyWhen(Clear(P::kVoteZone, P::kVoteScramblerBits))
        .Chosen(),
    Typed(CL_VoteZone_Encryption, P::kVoteEncryption, 0, 7, "GI_Sheet_Sel_Dpmr_EncryptionList").Chosen(),
    Choice(CL_VoteZone_Fast_Mute, P::kVoteZone, 5, 5, "GI_Sheet_Sel_Misc_OnOff2").Chosen(),
    Display(CL_VoteOp_VoteText, P::kVoteText, P::kVoteTextLength).Chosen(),
    // The adjustment channel's bank and the modes the adjustment transmits and receives in; a new bank
    // redraws the channel captions.
    Number(CL_Adjust_ChGrp, P::kAdjustBank, 0, 7, 0, 7, 1).Wider().Chosen(),
    Choice(CL_Adjust_TxMode, P::kAdjustModes, 0, 1, "GI_Sheet_Sel_Mch_Dig_Signal").Chosen(),
    Choice(CL_Adjust_RxMode, P::kAdjustModes, 2, 3, "GI_Sheet_Sel_Mch_Dig_Signal").Chosen(),
    Number16(CL_Adjust_BALFreq, P::kAdjustBalanceHz, 0, 3000).Chosen(),
    PasswordOf(CL_Adjust_Password, P::kAdjustPassword, P::kAdjustPasswordLength).Chosen(),
    PasswordOf(CL_Maker_Password, P::kMakerPassword, P::kMakerPasswordLength).Chosen(),
};

// Pairs of cells that are two views of the same setting (one per sheet variant) and share its bits.
constexpr std::array<std::pair<int32_t, int32_t>, 20> kShared = {{
    {CL_2T_AutoTxTimer, CL_5TRx_AutoTxTimer},
    {CL_2T_CompareTone, CL_5TRx_CompareTone},
    {CL_2T_ExoTimer, CL_5TRx_ExoTimer},
    {CL_Comm_ManDown_Sairen, CL_Emer_Setting_Silent},
    {CL_Comm_Tot_ID_Out, CL_Comm_Tot_Dtmf_ID_Out},
    {CL_Dpmr_Config_ColourCode_Backup, CL_Comm_Ctcss_Backup},
    {CL_Emer_Signal_2TDec, CL_Emer_Signal_5TDec},
    {CL_SetM_Backlight, CL_SetM_Backlight_HH},
    {CL_KDisp_MrCode, CL_KDisp_MrCodeLmr},
    {CL_KDisp_PwrSW, CL_KDisp_PwrSW_HH},
    // A receive code's name and decode actions, in its two-tone and its five-tone view.
    {CL_2T_Text, CL_5TRx_Text},
    {CL_2T_EXO, CL_5TRx_Exo},
    {CL_2T_AutoTx, CL_5TRx_AutoTx},
    {CL_2T_Sfunc, CL_5TRx_Sfunc},
    {CL_2T_Bell, CL_5TRx_Bell},
    {CL_2T_Scan, CL_5TRx_Scan},
    {CL_2T_Beep, CL_5TRx_Beep},
    {CL_2T_Aux, CL_5TRx_Aux},
    {CL_2T_Stun, CL_5TRx_Stun},
    {CL_2T_BeepRepeatTimer, CL_5TRx_BeepRepeatTimer},
}};

// Row index by cell number (-1: no row), built once.
struct Index {
    std::array<int16_t, CL_None> at{};
    Index() {
        at.fill(-1);
        for (size_t i = 0; i < std::size(kRows); ++i)
            at[static_cast<size_t>(kRows[i].cell)] = static_cast<int16_t>(i);
    }
};

} // namespace

std::span<const indSettingRow> indSettingTable::Rows() {
    return kRows;
}

const indSettingRow* indSettingTable::Find(int32_t cell) {
    static const Index index;
    if (cell < 0 || cell >= CL_None)
        return nullptr;
    int16_t i = index.at[static_cast<size_t>(cell)];
    return i < 0 ? nullptr : &kRows[i];
}

bool indSettingTable::SharesBits(int32_t cellA, int32_t cellB) {
    return std::any_of(kShared.begin(), kShared.end(), [&](const std::pair<int32_t, int32_t>& p) {
        return (p.first == cellA && p.second == cellB) || (p.first == cellB && p.second == cellA);
    });
}

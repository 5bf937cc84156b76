#include "model/indSettingTable.h"

#include "cells/cmcCellNumber.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using Row = indSettingRow;
using Test = indSettingTest;

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
    Choice(CL_Ltr_AtbRingBack, 0x14EE5, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Msk_AdrRange_CountryCode, 0x12DCB, 0, 7, "GI_Sheet_Sel_MSK_Country_Code"),
    Choice(CL_Msk_Cfg_Enc_PttCall, 0x12F28, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Enc_PreEmphasis, 0x12F28, 6, 6, "GI_Sheet_Sel_Msk_PreEmphasis"),
    Choice(CL_Msk_Cfg_Enc_PttSideTone, 0x12F28, 2, 2, "GI_Sheet_Sel_Msk_PttSideTone"),
    Choice(CL_Msk_Cfg_Dec_MuteMskTone, 0x12F28, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Msk_Cfg_Dec_ANI_Disp, 0x12F2A, 4, 5, "GI_Sheet_Sel_Msk_ANI_Disp"),
    Choice(CL_Msk_Cfg_Status_Send_PrioA, 0x12575, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Status_Send_On, 0x12F29, 1, 1, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Status_Send_Off, 0x12F29, 0, 0, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Base, 0x12F29, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Logoff, 0x12F29, 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Status, 0x12F29, 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Sdm, 0x12F29, 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_Emer, 0x12F29, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Gps_Send_ManDown, 0x12F29, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Msk_Cfg_Etc_PttEnableAtConnect, 0x12F2A, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Ind_Set_LogForInd, 0x17155, 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Grp_Set_BlockDecode, 0x184DF, 3, 3, "GI_Sheet_Sel_Misc_Enable").Wider(),
    Choice(CL_Nxdn_Ind_Op_Disp_RecieveUId, 0x184FD, 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Nxdn_Grp_Op_Disp_Mode, 0x184FE, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_Recieve, 0x184FE, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_RecieveUId, 0x184FE, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Grp_Op_Disp_Ptt, 0x184FE, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Trunk_SU_ReceiveBeep, 0x18504, 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Gps_Fix_Id, 0x18509, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Voice, 0x1850B, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Status, 0x18509, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Sdm, 0x18509, 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_CallAlert, 0x18509, 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_Emer, 0x18509, 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Send_ManDown, 0x18509, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Gps_Sentence, 0x1850B, 4, 5, "GI_Sheet_Sel_Msk_GpsSentence"),
    Choice(CL_Nxdn_Config_Beep, 0x184FF, 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Config_BeepG, 0x18504, 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Nxdn_Config_CallTypeMode, 0x18517, 5, 5, "GI_Sheet_Sel_Nxdn_Option_CallType"),
    Choice(CL_Nxdn_Config_CallTypeReset, 0x18517, 4, 4, "GI_Sheet_Sel_Misc_OnOff_I").Wider(),
    Choice(CL_Nxdn_Config_DecodeComparson, 0x184FF, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_Option_TalkBackRXType, 0x184FF, 4, 4, "GI_Sheet_Sel_Nxdn_Talk_Back_RX_Type")
        .GreyWhen(Clear(0x1850D, 0x08)),
    Choice(CL_Nxdn_Option_TalkBackBeep, 0x1850D, 4, 4, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(0x1850D, 0x08)),
    Choice(CL_Nxdn_Option_TalkBackIdDisplay, 0x1850D, 3, 3, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Nxdn_Status_Set_AllowPoll, 0x19B0B, 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Status_Set_PollTX, 0x19B0B, 2, 2, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Status_Set_Log, 0x19B0B, 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Typed(CL_Nxdn_Status_Set_PowerONStat, 0x19B0C, 0, 7, "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Typed(CL_Nxdn_Status_Set_PowerOFFStat, 0x19B0D, 0, 7, "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Typed(CL_Nxdn_Status_Set_GpsStatus, 0x19B0E, 0, 7, "GI_Sheet_Sel_Nxdn_Status_PowerStatus"),
    Choice(CL_Nxdn_Status_Set_RequestAck, 0x19B0B, 5, 5, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_Status_Set_Send_Voice, 0x1850B, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Typed(CL_Nxdn_Status_Set_Send_Status_Num, 0x1850C, 0, 7, "GI_Sheet_Sel_Nxdn_Simul_Send_Status_Num"),
    Choice(CL_Nxdn_ANI_CurtRinger, 0x1850D, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_ANI_OverRinger, 0x1850D, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_ANI_TX_RTTBeep, 0x1850D, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Nxdn_CallLog_Log, 0x18517, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallLog_LogActType, 0x18517, 0, 3, "GI_Sheet_Sel_Nxdn_CallLog_LogActType"),
    Choice(CL_Nxdn_SDM_Setting_RX, 0x19B25, 3, 3, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_SDM_Setting_Log, 0x19B25, 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_SDM_Setting_RequestAck, 0x19B25, 5, 5, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_CallAlert_RX, 0x19B27, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_TX, 0x19B27, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_ShowIcon, 0x19B27, 3, 3, "GI_Sheet_Nxdn_CallAlert_Bell"),
    Choice(CL_Nxdn_CallAlert_Log, 0x19B27, 5, 5, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_DecExo, 0x19B27, 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_CallAlert_RequestAck, 0x19B29, 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Nxdn_RadioChk_RX, 0x19B2B, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RadioChk_TX, 0x19B2B, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_RX, 0x19B2D, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_TX, 0x19B2D, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Stun_Mode, 0x19B2D, 5, 5, "GI_Sheet_Sel_Nxdn_Stun_Mode"),
    Choice(CL_Nxdn_Stun_FixedID_Enable, 0x184FD, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Kill_RX, 0x19B2F, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Kill_TX, 0x19B2F, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Kill_FixedID_Enable, 0x184FD, 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Nxdn_Revive_RX, 0x19B31, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Revive_TX, 0x19B31, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_RX, 0x19B33, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_TX, 0x19B33, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_RMONI_Mode, 0x19B33, 5, 5, "GI_Sheet_Sel_Nxdn_RMONI_Mode"),
    Choice(CL_Nxdn_Expert_TxAllCall, 0x19BBF, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Nxdn_Expert_RxAllCall, 0x19BBF, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Dpmr_Ind_Set_Ringer, 0x1F631, 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Dpmr_Ind_Set_BellIcon, 0x1F631, 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Grp_Set_BlockDecode, 0x1F653, 3, 3, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Dpmr_Grp_Set_Ringer, 0x1F653, 4, 7, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Dpmr_Grp_Set_BellIcon, 0x1F653, 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Gps_Fix_Id, 0x1F681, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Voice, 0x1F683, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Status, 0x1F681, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Sdm, 0x1F681, 5, 5, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_CallAlert, 0x1F681, 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_Emer, 0x1F681, 3, 3, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Send_ManDown, 0x1F681, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Dpmr_Gps_Sentence, 0x1F683, 4, 5, "GI_Sheet_Sel_Digi_GpsSentence"),
    Choice(CL_Dpmr_Option_CallIdReset_onClearDown, 0x1F678, 1, 1, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Dpmr_Option_CallIdReset_Beep, 0x1F678, 0, 0, "GI_Sheet_Sel_Misc_OnOff")
        .GreyWhen(Clear(0x1F678, 0x02), Zero(0x1F68E)),
    Choice(CL_Dpmr_Option_Broadcast_RX, 0x1F679, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_Alert_ClearDownBeep, 0x1F676, 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Option_Alert_RingBackTone, 0x1F676, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_TalkBackBeep, 0x1F68F, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Option_TalkBackIdDisplay, 0x1F68F, 4, 4, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Dpmr_Config_Unit_ID, 0x1F677, 7, 7, "GI_Sheet_Sel_Dpmr_Option_UnitID").Wider(),
    Choice(CL_Dpmr_Config_DecodeComparson, 0x1F677, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_OverRinger, 0x1F676, 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_TX_RTTBeep, 0x1F676, 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_PTT_Call, 0x1F677, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_PTT_Enable_Connect, 0x1F677, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Config_ColourCode_Backup, 0x12576, 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Status_Set_AllowPoll, 0x1FDCB, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Status_Set_PollTX, 0x1FDCB, 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Status_Set_RequestAck, 0x1FDCB, 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_Status_Set_Bell, 0x1FDD2, 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_Op_Ani_Disp_Mode, 0x1F676, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_Recieve, 0x1F676, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_RecieveUId, 0x1F676, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Op_Ani_Disp_Ptt, 0x1F676, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogActType, 0x1F68F, 0, 3, "GI_Sheet_Sel_Dpmr_CallLog_LogActType"),
    Choice(CL_Dpmr_CallLog_LogForInd, 0x1F677, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForStatus, 0x1F677, 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForCallAlert, 0x1F677, 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_CallLog_LogForSDM, 0x1F677, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_SDM_Setting_RX, 0x1FDE7, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_SDM_Setting_Bell, 0x1FDE8, 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_SDM_Setting_RequestAck, 0x1FDE7, 5, 5, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Dpmr_CallAlert_ShowIcon, 0x1FDE9, 0, 1, "GI_Sheet_Dpmr_CallAlert_Bell"),
    Choice(CL_Dpmr_CallAlert_RequestAck, 0x1FDEB, 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Dpmr_Stun_Mode, 0x1FDED, 5, 5, "GI_Sheet_Sel_Dpmr_Stun_Mode"),
    Choice(CL_Dpmr_Stun_TXTimer, 0x1FDEE, 0, 7, "GI_Sheet_Dpmr_AmbienceListening_TX_Timer"),
    Choice(CL_Dpmr_Expert_TxAllCall, 0x1FE41, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Expert_RxAllCall, 0x1FE41, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Dpmr_Expert_TxWait, 0x1FE41, 0, 3, "GI_Sheet_Sel_TxWait_Timer"),
    Choice(CL_Dpmr_Expert_Lockout_PoliteLevel, 0x1FE41, 5, 5, "GI_Sheet_Sel_Lockout_PoliteLevel"),
    Choice(CL_VORN_Op_AtbRingBack, 0x19BD8, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_DispOnPtt, 0x14EE5, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_DispOnRx, 0x14EE5, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_BeepWithinRange, 0x14EE5, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Ltr_Op_TA_withinRange, 0x14EE5, 2, 2, "GI_Sheet_Sel_Misc_Enable_I")
        .GreyWhen(Clear(0x14EE5, 0x02)),
    Choice(CL_Ltr_Op_TA_OutOfRange, 0x14EE5, 1, 1, "GI_Sheet_Sel_Ltr_TA_OutRange").Wider(),
    Choice(CL_Ltr_Op_LSD_Decoder, 0x14EE8, 7, 7, "GI_Sheet_Sel_LsdDecode"),
    Choice(CL_ExtPort_PortMode_IGSW, 0x10F3A, 4, 4, "GI_Sheet_Sel_PortMode_IGSW").RedrawAll(),
    Choice(CL_ExtPort_PortMode_AFO, 0x125CF, 2, 2, "GI_Sheet_Sel_PortMode_AFO").RedrawAll(),
    Choice(CL_ExtPort_PortMode_EPTT, 0x12578, 1, 1, "GI_Sheet_Sel_PortMode_EPTT").RedrawAll(),
    Choice(CL_ExtPort_PortMode_SCI, 0x125CF, 3, 3, "GI_Sheet_Sel_PortMode_SCI").RedrawAll(),
    Choice(CL_KDisp_HangAct_Moni, 0x12578, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_KDisp_HangAct_Scan, 0x12578, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_KDisp_HangAct_PrioA, 0x12578, 6, 6, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_AmpOnOff, 0x12576, 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_KDisp_OpeningBeep, 0x12571, 6, 7, "GI_Sheet_Sel_KDisp_Opening_Beep"),
    Choice(CL_KDisp_RotarySelStat, 0x125CF, 1, 1, "GI_Sheet_Sel_KDisp_Rotary_Stat"),
    Choice(CL_KDisp_RfPoSel, 0x12576, 2, 2, "GI_Sheet_Sel_KDisp_RfPwr"),
    Choice(CL_KDisp_PrioA_SwOn, 0x12574, 1, 1, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_PrioA_AutoReset, 0x125CD, 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_KDisp_PrioA_ClearDown, 0x12575, 7, 7, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_SetM_Backlight, 0x10F28, 4, 7, "GI_Sheet_Sel_SetM_Mob_Backlight"),
    Choice(CL_SetM_Backlight_HH, 0x10F28, 4, 7, "GI_Sheet_Sel_SetM_Mob_Backlight"),
    Choice(CL_SetM_BeepOn, 0x10F22, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_SetM_VoxOnOff, 0x10F28, 0, 0, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_HornOut, 0x10F28, 3, 3, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_BATVDisp, 0x10F28, 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_SetM_SigMoni, 0x10F28, 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_SetM_LoneWorker, 0x10F3A, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_PwrOnPassword, 0x12576, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_SetModeAccess, 0x12574, 3, 3, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Tot_ID_Out, 0x12574, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Tot_Dtmf_ID_Out, 0x12574, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Tot_Beep, 0x12574, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LockoutOverride, 0x12576, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Ctcss_ToneBurst, 0x125CF, 4, 5, "GI_Sheet_Sel_Comm_Ctcss_BurstType"),
    Choice(CL_Comm_Ctcss_RxAfFilt, 0x12573, 2, 2, "GI_Sheet_Sel_Comm_RxAfSw"),
    Choice(CL_Comm_Ctcss_ChMuteCont, 0x125C1, 1, 1, "GI_Sheet_Sel_Exp_ChMuteCont"),
    Choice(CL_Comm_Ctcss_Backup, 0x12576, 1, 1, "GI_Sheet_Sel_Misc_OnOff_I"),
    Choice(CL_Comm_RS232C_SPPED, 0x12614, 4, 7, "GI_Sheet_Sel_Comm_RS232C_SPEED"),
    Choice(CL_Comm_RS232C_Mode, 0x12614, 0, 3, "GI_Sheet_Sel_Comm_RS232C_Mode"),
    Choice(CL_Comm_RS_FlowContorl, 0x12615, 4, 5, "GI_Sheet_Sel_Comm_RS_Flow"),
    Choice(CL_Comm_RS_ReqAck, 0x12615, 6, 6, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Gps_Auto, 0x125CE, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Gps_PositionFormat, 0x125CF, 6, 6, "GI_Sheet_Sel_GPS_Position_Format"),
    Choice(CL_Comm_Gps_GpsIndcator, 0x125CF, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Scrm_Type, 0x1255A, 3, 3, "GI_Sheet_Sel_Comm_Scrm_Type").Wider(),
    Choice(CL_Comm_Scrm_SyncCapture, 0x1255A, 6, 7, "GI_Sheet_Sel_Comm_Scrm_SyncCapture")
        .GreyWhen(Clear(0x1255A, 0x08)),
    Choice(CL_Comm_Scrm_GroupCode, 0x1255A, 0, 1, "GI_Sheet_Sel_Comm_Scrm_GroupCode")
        .GreyWhen(Clear(0x1255A, 0x08)),
    Choice(CL_Comm_Scrm_TStartTiming, 0x1255A, 4, 5, "GI_Sheet_Sel_Comm_Scrm_ToneStartTiming")
        .GreyWhen(Clear(0x1255A, 0x08)),
    Choice(CL_Comm_ManDown_ON, 0x12572, 2, 2, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_ManDown_Sairen, 0x12573, 7, 7, "GI_Sheet_Sel_Comm_Sairen").GreyWhen(Clear(0x12572, 0x04)),
    Choice(CL_Msk_Presl_Country, 0x12C42, 0, 7, "GI_Sheet_Sel_MSK_Country_Code"),
    Choice(CL_Msk_Presl_Ptt_Side, 0x12C44, 2, 3, "GI_Sheet_Sel_Msk_PttSideTone"),
    Choice(CL_Comm_LowBatt1_TX_End, 0x125D5, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LowBatt2_TX_End, 0x125D5, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_LowBatt1, 0x125D5, 5, 5, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_LowBatt2, 0x125D5, 4, 4, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_ChAnnounceOnOff, 0x10F39, 2, 2, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Comm_ChAnnounceSet, 0x125CE, 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Comm_TRDataOut, 0x12574, 2, 2, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Tactical, 0x125C1, 6, 6, "GI_Sheet_Sel_Comm_SetModeAccess"),
    Choice(CL_Comm_Wide, 0x12576, 7, 7, "GI_Sheet_Sel_Comm_Wide"),
    Choice(CL_Comm_Middle, 0x125CE, 7, 7, "GI_Sheet_Sel_Comm_Middle"),
    Choice(CL_Comm_FNarrow, 0x10F3A, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_FNarrow_Change, 0x125CE, 4, 4, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_AFON2_Always_ON, 0x125CD, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Demph_Setting, 0x125CD, 0, 1, "GI_Sheet_Sel_DemphSetting"),
    Choice(CL_Comm_DTMFDec_InputSet, 0x12572, 4, 4, "GI_Sheet_Sel_DTMFDecInputSet"),
    Choice(CL_Comm_AutoTx_MicSel, 0x125D3, 2, 2, "GI_Sheet_Sel_AutoTx_MicSel"),
    Choice(CL_Comm_Escalating_Alarms, 0x125D9, 2, 2, "GI_Sheet_Sel_Misc_Enable3"),
    Choice(CL_Comm_Strv_Stun_Type, 0x12C6E, 0, 3, "GI_Sheet_Sel_Comm_Stun_Type"),
    Choice(CL_Comm_Strv_TRDataOut, 0x12C6C, 7, 7, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_PSW_Inhibit, 0x12C6C, 6, 6, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_LCD_OFF, 0x12C6C, 5, 5, "GI_Sheet_Sel_Misc_OnOff").Wider(),
    Choice(CL_Comm_Strv_Text_ON, 0x12C6C, 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Comm_Strv_Beep_ON, 0x12C6C, 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Comm_Strv_DecAll, 0x12C6C, 3, 3, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Comm_Strv_RevAll, 0x12C6C, 2, 2, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Emer_Setting_RptCancel, 0x12C60, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Emer_Setting_ScanCancel, 0x12C60, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Emer_Setting_Silent, 0x12573, 7, 7, "GI_Sheet_Sel_Comm_Silent"),
    Choice(CL_Emer_Signal_CodeEna, 0x12C61, 7, 7, "GI_Sheet_Sel_Misc_Enable3").Wider(),
    Typed(CL_Emer_Signal_Code, 0x12C5E, 0, 6, "GI_Sheet_Sel_RxC_EmgCode").GreyWhen(Clear(0x12C61, 0x80)),
    Choice(CL_Emer_Signal_CodeLong, 0x12C5E, 7, 7, "GI_Sheet_Sel_Misc_OnOff").GreyWhen(Clear(0x12C61, 0x80)),
    Choice(CL_Emer_Signal_2TDec, 0x12C61, 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_5TDec, 0x12C61, 6, 6, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_QIRSDec, 0x12C61, 5, 5, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_QIRSRep, 0x12C61, 4, 4, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_Nxdn_CallType, 0x12C62, 0, 1, "GI_Sheet_Sel_Nxdn_Status_CallType").Wider(),
    Choice(CL_Emer_Signal_Nxdn_RequestAck, 0x12C62, 5, 5, "GI_Sheet_Sel_Misc_Enable_I"),
    Choice(CL_Emer_Signal_Nxdn_SendAckTalkgroup, 0x12C62, 7, 7, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Emer_Signal_Nxdn_SendAckAllCall, 0x12C62, 6, 6, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Emer_Signal_DpmrDec, 0x12C63, 7, 7, "GI_Sheet_Sel_Misc_Enable4"),
    Choice(CL_Emer_Signal_DpmrFixedId, 0x12C63, 4, 4, "GI_Sheet_Sel_Misc_Enable3").Wider(),
    Choice(CL_Emer_Signal_DpmrRinger, 0x12C5F, 0, 3, "GI_Sheet_Sel_RxC_Beep"),
    Choice(CL_Comm_ChGrp_ON, 0x12CF4, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_DtcsInv_Tx, 0x12572, 7, 7, "GI_Sheet_Sel_Exp_DtcsInv"),
    Choice(CL_Exp_DtcsInv_Rx, 0x12572, 6, 6, "GI_Sheet_Sel_Exp_DtcsInv"),
    Choice(CL_Exp_RxExo_On, 0x12578, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_ToneMuteExPtt, 0x12578, 2, 2, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_Exp_Ignition, 0x10F38, 4, 4, "GI_Sheet_Sel_Misc_Enable"),
    Choice(CL_Exp_ClShift, 0x12575, 0, 1, "GI_Sheet_Sel_Exp_ClShift"),
    Choice(CL_Exp_BattType, 0x10F3A, 0, 1, "GI_Sheet_Sel_Comm_Batt_Type"),
    Choice(CL_Dtmf_CompareTone, 0x125CE, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_AutoChCall_PmrOnly, 0x12573, 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_BacklitatStopScan, 0x125C1, 4, 4, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteOnFast, 0x125CD, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteAfterTalk, 0x125D3, 1, 1, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VotePTTSideTone, 0x125D3, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteDisplayGroup, 0x125D9, 7, 7, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteDisplayCH, 0x125D9, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_VoteStopHookOff, 0x125D9, 5, 5, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_NuisanceDelete, 0x12572, 3, 3, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_ModeSlaveScan, 0x12573, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_ScanComm_MonitorKeyAction, 0x125D3, 7, 7, "GI_Sheet_Sel_MonitorKey_Action"),
    Choice(CL_ScanComm_TalkBackTimerBeep, 0x125D3, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_2T_CompareTone, 0x125C1, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_5TRx_CompareTone, 0x125C1, 0, 0, "GI_Sheet_Sel_Misc_OnOff"),
    Choice(CL_5TTx_PTTCallIna, 0x12574, 6, 6, "GI_Sheet_Sel_Misc_OnOff"),
    // Timer cells: one byte each.
    Timer(CL_Msk_Cfg_Dec_ANI_Disp_Timer, 0x12F23, 10, false),
    Timer(CL_Nxdn_Grp_Op_Disp_Timer, 0x184F3, 10, false),
    Timer(CL_Nxdn_Trunk_SU_Busy_Wait, 0x18505, 1, true),
    Timer(CL_Nxdn_Trunk_SU_Grp_Wait, 0x18506, 10, true),
    Timer(CL_Nxdn_Trunk_SU_RAccess_Timer, 0x18507, 10, true),
    Timer(CL_Nxdn_Config_SS_Wait, 0x184F4, 100, false),
    Timer(CL_Nxdn_ANI_PreDisplayTimer, 0x1850E, 10, true),
    Timer(CL_Nxdn_ANI_PostDisplayTimer, 0x1850F, 10, true),
    Timer(CL_Nxdn_Expert_Lag_Timer, 0x19BC0, 100, false),
    Timer(CL_Nxdn_Expert_PowerDown, 0x19BBE, 100, false),
    Timer(CL_Dpmr_Option_CallIdReset_Timer, 0x1F68E, 1, true).Wider(),
    Timer(CL_Dpmr_Op_Ani_Disp_Timer, 0x1F66B, 10, false),
    Timer(CL_Dpmr_Expert_Lag_Timer, 0x1FE44, 100, false),
    Timer(CL_Dpmr_Expert_PowerDown, 0x1FE40, 100, false),
    Timer(CL_Dpmr_Expert_Wakeup_Header_OffTimer, 0x1FE4F, 10, false).GreyWhen(Family(0)),
    Timer(CL_VORN_Op_Tim_FadeTimer, 0x19BD7, 10, false),
    Timer(CL_Ltr_Op_Tim_OutOfRange, 0x14EE6, 1, true),
    Timer(CL_Ltr_Op_Tim_FadeTimer, 0x14EE7, 10, false),
    Timer(CL_KDisp_ScrollTimer, 0x125DB, 10, true),
    Timer(CL_Comm_AtResetTimer_A, 0x12591, 1, true),
    Timer(CL_Comm_AtResetTimer_B, 0x12592, 1, true),
    Timer(CL_Comm_InactiveTimer, 0x12593, 1, false),
    Timer(CL_Comm_Tot_Timer, 0x1258D, 1, false),
    Timer(CL_Comm_Tot_PenaltyTimer, 0x1258E, 1, true),
    Timer(CL_Comm_LockoutPenaltyTimer, 0x1258F, 1, true),
    Timer(CL_Comm_Ctcss_ReverseBurst, 0x1257B, 100, true),
    Timer(CL_Comm_PwrSave_Timer1, 0x125B9, 10, false),
    Timer(CL_Comm_PwrSave_Timer2, 0x125BA, 1, false),
    Timer(CL_Comm_ManDown_Timer, 0x125BB, 1, false).GreyWhen(Clear(0x12572, 0x04)),
    Timer(CL_Comm_ManDown_TS1, 0x12F12, 10, false).GreyWhen(Clear(0x12572, 0x04)),
    Timer(CL_Comm_ManDown_TS2, 0x12F13, 10, false).GreyWhen(Clear(0x12572, 0x04)),
    Timer(CL_Comm_ManDown_TS3, 0x12F14, 10, false).GreyWhen(Clear(0x12572, 0x04)),
    Timer(CL_Comm_LowBatt1_Periods, 0x125D6, 1, true).GreyWhen(Clear(0x125D5, 0x20)),
    Timer(CL_Comm_LowBatt2_Periods, 0x125D7, 1, true).GreyWhen(Clear(0x125D5, 0x10)),
    Timer(CL_Comm_Strv_LCD_OFF_Timer, 0x12C6D, 10, false).GreyWhen(Clear(0x12C6C, 0x20)),
    Timer(CL_Emer_LoneWorker_Timeout, 0x12C4A, 1, true).Wider(),
    Timer(CL_Emer_LoneWorker_PreAlarm, 0x12C4B, 1, false).GreyWhen(Zero(0x12C4A)),
    Timer(CL_Emer_LoneWorker_RepeatAlarm, 0x12C4C, 1, false).GreyWhen(Zero(0x12C4A)),
    Timer(CL_Emer_LoneWorker_Pttdelay, 0x12C4D, 10, false).GreyWhen(Zero(0x12C4A)),
    Timer(CL_Emer_Timer_Start, 0x12C49, 1, false),
    Timer(CL_Emer_Timer_TxTone, 0x12C4F, 1, true),
    Timer(CL_Emer_Timer_AutoTx, 0x12C50, 1, true),
    Timer(CL_Emer_Timer_RxTone, 0x12C51, 1, true),
    Timer(CL_Emer_Timer_AutoRx, 0x12C52, 1, true),
    Timer(CL_Emer_Timer_Idle, 0x12C53, 1, true),
    Timer(CL_Emer_Timer_Backlight, 0x12C4E, 1, false),
    Timer(CL_Exp_Emer_SwOnTimer, 0x1258A, 10, false),
    Timer(CL_Exp_Emer_SwOffTimer, 0x1258B, 10, false),
    Timer(CL_Exp_Emer_StartRepeat, 0x1258C, 1, false),
    Timer(CL_Exp_RxExo_Delay, 0x12596, 10, true),
    Timer(CL_Exp_ExPttDelay, 0x12597, 10, true),
    Timer(CL_Dtmf_PttDelayTimer, 0x125D0, 100, false),
    Timer(CL_Dtmf_DtmfTimer, 0x12582, 100, false),
    Timer(CL_Dtmf_FirstTimer, 0x12583, 100, false),
    Timer(CL_Dtmf_MarkTimer, 0x12584, 100, false),
    Timer(CL_Dtmf_NotoneTimer, 0x125D1, 100, false),
    Timer(CL_Dtmf_ANI_Disp_Timer, 0x125D4, 10, false),
    Timer(CL_ScanComm_StopTimer, 0x12586, 10, false),
    Timer(CL_ScanComm_StopTimerB, 0x125BC, 10, false),
    Timer(CL_ScanComm_ResumeTimer, 0x12587, 10, false),
    Timer(CL_ScanComm_TalkBackTimer, 0x125BD, 10, false),
    Timer(CL_ScanComm_ScanTimer_Fast, 0x12579, 1000, false),
    Timer(CL_ScanComm_ScanTimer_Slow, 0x1257A, 100, false),
    Timer(CL_ScanComm_VoteTimer_ReVoteDwell, 0x125DA, 10, false),
    Timer(CL_ScanComm_VoteTimer_LeadIn, 0x125F2, 100, false),
    Timer(CL_ScanComm_VoteTimer_Dwell, 0x125F3, 1000, false),
    Timer(CL_ScanComm_VoteTimer_PTTSideTone, 0x125D8, 100, false),
    Timer(CL_2T_GroupTimer, 0x12585, 10, false),
    Timer(CL_2T_ExoTimer, 0x12595, 1, false),
    Timer(CL_2T_AutoTxTimer, 0x12594, 1, false),
    Timer(CL_5TRx_LinkATimer, 0x1257F, 100, false),
    Timer(CL_5TRx_IdDecodeTimer, 0x12588, 10, false),
    Timer(CL_5TRx_ExoTimer, 0x12595, 1, false),
    Timer(CL_5TRx_AuxTimer, 0x125BF, 1, false),
    Timer(CL_5TRx_AutoTxTimer, 0x12594, 1, false),
    Timer(CL_5TTx_LongToneTimer, 0x12580, 100, false),
    Timer(CL_5TTx_LinkRTimer, 0x1257C, 100, false),
    Timer(CL_5TTx_Link1Timer, 0x1257D, 100, false),
    Timer(CL_5TTx_Link2Timer, 0x1257E, 100, false),
    Timer(CL_5TTx_LeadOutDelayTimer, 0x12581, 100, false),
    Timer(CL_5TTx_AbcDecTimer, 0x12589, 10, false),

    // Cells of the same families whose storage the radio leaves to us. Each takes bits that no fixed
    // setting, timer, list or counter uses: free bits of the set mode table (0x10F20), of the common
    // table (0x12554) and of the MSK, NXDN, dPMR and emergency tables, next to the related fixed fields.
    // The MSK and NXDN ones share the fate of their tables, which the model reads but does not pack.
    // Set mode levels: 0x10F23-0x10F25.
    Choice(CL_SetM_BeepLev, 0x10F23, 0, 3, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_SetM_RingerLev, 0x10F23, 4, 7, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_SetM_SqlLev, 0x10F24, 0, 3, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_SetM_MicGain, 0x10F24, 4, 5, "GI_Sheet_Sel_SetM_MicGain4").Chosen(),
    Choice(CL_SetM_VoxGain, 0x10F25, 0, 3, "GI_Sheet_Sel_SetM_VoxGain").Chosen(),
    Choice(CL_SetM_VoxDelay, 0x10F25, 4, 7, "GI_Sheet_Sel_SetM_VoxDelay").Chosen(),
    Choice(CL_Exp_BattTypeChange, 0x10F3A, 7, 7, "GI_Sheet_Sel_Comm_Batt_Type_Change").Chosen(),
    // Which items the user's set mode offers: one enable bit each, 0x10F2C bit 7 onwards.
    Choice(CL_USetM_Backlight, 0x10F2C, 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_LcdContrast, 0x10F2C, 6, 6, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BeepOn, 0x10F2C, 5, 5, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BeepLev, 0x10F2C, 4, 4, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_RingerLev, 0x10F2C, 3, 3, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_SqlLev, 0x10F2C, 2, 2, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_AfMinLev, 0x10F2C, 1, 1, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_AudioFilt, 0x10F2C, 0, 0, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_MicGain, 0x10F2D, 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxOnOff, 0x10F2D, 6, 6, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxGain, 0x10F2D, 5, 5, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_VoxDelay, 0x10F2D, 4, 4, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_HornOut, 0x10F2D, 3, 3, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BATVDisp, 0x10F2D, 2, 2, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_BERDisp, 0x10F2D, 1, 1, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_SigMoni, 0x10F2D, 0, 0, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    Choice(CL_USetM_LoneWorker, 0x10F2E, 7, 7, "GI_Sheet_Sel_UserSetEnable").Chosen(),
    // Emergency levels and the dPMR emergency repeat: free bits of the emergency table.
    Choice(CL_Emer_Setting_MaxAlert, 0x12C46, 0, 3, "GI_Sheet_Sel_SetM_BeepLev").Chosen(),
    Choice(CL_Emer_Setting_Sql, 0x12C46, 4, 7, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_Emer_Setting_MicGain, 0x12C47, 0, 1, "GI_Sheet_Sel_SetM_MicGain4").Chosen(),
    Choice(CL_Emer_Signal_DpmrRep, 0x12C63, 5, 6, "GI_Sheet_Sel_Emergency_RepeatCancel").Chosen(),
    // Common table: squelch offset and display code in the free byte 0x12577, hook-off scan suspend
    // and the horn port beside the other hang-up actions and port modes at 0x12578, power switch,
    // low-battery power, power-on scan and vote check in the free byte 0x125C2.
    Choice(CL_Comm_Sql_Tight_Ofs, 0x12577, 0, 3, "GI_Sheet_Sel_SetM_SqlLev").Chosen(),
    Choice(CL_KDisp_MrCode, 0x12577, 4, 5, "GI_Sheet_Sel_MrCode").Chosen(),
    Choice(CL_KDisp_MrCodeLmr, 0x12577, 4, 5, "GI_Sheet_Sel_MrCodeLmr").Chosen(),
    Choice(CL_KDisp_HangAct_ScanSuspend, 0x12578, 4, 4, "GI_Sheet_Sel_HookOffSuspend").Chosen(),
    Choice(CL_ExtPort_PortMode_HORN, 0x12578, 0, 0, "GI_Sheet_Sel_PortMode_HORN").RedrawAll().Chosen(),
    Choice(CL_KDisp_PwrSW, 0x125C2, 0, 1, "GI_Sheet_Sel_Power_Switch").Chosen(),
    Choice(CL_KDisp_PwrSW_HH, 0x125C2, 0, 1, "GI_Sheet_Sel_Power_Switch").Chosen(),
    Choice(CL_KDisp_RfPoBatt, 0x125C2, 2, 3, "GI_Sheet_Sel_Batt_RfPwr").Chosen(),
    Choice(CL_ScanComm_PwrOnScan, 0x125C2, 4, 5, "GI_Sheet_Sel_PwrOnScan").Chosen(),
    Choice(CL_ScanComm_VoteCheckCONT, 0x125C2, 6, 6, "GI_Sheet_Sel_Vote_Check_BeforeRSSI").Chosen(),
    // Timers of these families in free bytes between the fixed timers.
    Timer(CL_KDisp_Auto_KeyLock_Timer, 0x12590, 1, true).Chosen(),
    Timer(CL_ScanComm_VoteTimer_Rssi, 0x125BE, 100, false).Chosen(),
    Timer(CL_Exp_IgnitionTimer, 0x125C0, 1, true).Chosen(),
    Timer(CL_Comm_Gps_IntervalTimer, 0x125C3, 1, true).Chosen(),
    // MSK GPS sentence beside the other MSK configuration bits.
    Choice(CL_Msk_Cfg_Gps_Sentence, 0x12F2A, 0, 1, "GI_Sheet_Sel_Msk_GpsSentence").Chosen(),
    // NXDN: the unit ID mode is bit 7 of 0x184FF (the channel sheet shows a fixed ID while it is set);
    // ringers and auxiliary action of short data and call alert in the free halves of their tables.
    Choice(CL_Nxdn_Config_Unit_ID, 0x184FF, 7, 7, "GI_Sheet_Sel_Nxdn_Option_UnitID").Wider().Chosen(),
    Choice(CL_Nxdn_SDM_Setting_Ringer, 0x19B26, 0, 3, "GI_Sheet_Sel_RxC_Beep").Chosen(),
    Choice(CL_Nxdn_CallAlert_Ringer, 0x19B28, 0, 3, "GI_Sheet_Sel_RxC_Beep").Chosen(),
    Choice(CL_Nxdn_CallAlert_Aux, 0x19B28, 4, 7, "GI_Sheet_Sel_RxC_Aux2").Chosen(),
    // dPMR: status settings laid out like the NXDN ones (power-on, power-off and GPS status bytes after
    // the flag byte; the ID reference at 0x1FDCF stays free), short data ringer and audio, the group
    // list switch beside the block decode bit.
    Typed(CL_Dpmr_Status_Set_PowerONStat, 0x1FDCC, 0, 7, "GI_Sheet_Sel_Dpmr_Status_PowerStatus").Chosen(),
    Typed(CL_Dpmr_Status_Set_PowerOFFStat, 0x1FDCD, 0, 7, "GI_Sheet_Sel_Dpmr_Status_PowerStatus").Chosen(),
    Typed(CL_Dpmr_Status_Set_GpsStatus, 0x1FDCE, 0, 7, "GI_Sheet_Sel_Dpmr_Status_GpsReqStatus").Chosen(),
    Typed(CL_Dpmr_Status_Set_Send_Voice, 0x1FDD1, 0, 7, "GI_Sheet_Sel_Dpmr_Simul_Send_Status_Num").Chosen(),
    Choice(CL_Dpmr_SDM_Setting_AUD, 0x1FDE8, 2, 3, "GI_Sheet_Sel_RxC_Aud").Chosen(),
    Choice(CL_Dpmr_SDM_Setting_Ringer, 0x1FDE8, 4, 7, "GI_Sheet_Sel_RxC_Beep").Chosen(),
    Choice(CL_Dpmr_Grp_Set_BelongGrpList_ON, 0x1F653, 2, 2, "GI_Sheet_Sel_Misc_OnOff").Chosen(),
    // Scan lists (17 entries of 18 bytes at 0x127D6): the channel references and their marks use bytes
    // 10-17 and bit 7 of byte 8; the list options take bits 0-6 of byte 8 and byte 9.
    Choice(CL_ScanList_ScanMode, 0x127DE, 0, 1, "GI_Sheet_Sel_ScanMode").PerEntry(18, 17).Chosen(),
    Choice(CL_ScanList_TalkBack, 0x127DE, 2, 2, "GI_Sheet_Sel_Misc_OnOff").PerEntry(18, 17).Chosen(),
    Choice(CL_ScanList_TX_Action, 0x127DE, 3, 4, "GI_Sheet_Sel_ScanTXAct").PerEntry(18, 17).Chosen(),
    Choice(CL_ScanList_Cancel_CH, 0x127DE, 5, 5, "GI_Sheet_Sel_ScanCancelCH").PerEntry(18, 17).Chosen(),
    Choice(CL_ScanList_PwrSave, 0x127DE, 6, 6, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(18, 17).Chosen(),
    Choice(CL_ScanList_DispText, 0x127DF, 0, 1, "GI_Sheet_Sel_ScanList_Text").PerEntry(18, 17).Chosen(),
    // DTMF decode entries (8 entries of 21 bytes at 0x12908): the code and its text lead the entry; the
    // decode actions take its last three bytes.
    Choice(CL_Dtmf_Decode_Stun, 0x1291A, 0, 1, "GI_Sheet_Sel_RxC_Stun_Dtmf").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Scan, 0x1291A, 2, 3, "GI_Sheet_Sel_RxC_Scan").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Aud, 0x1291A, 4, 5, "GI_Sheet_Sel_RxC_Aud").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_IdDec, 0x1291B, 0, 0, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Bell, 0x1291B, 1, 2, "GI_Sheet_Sel_RxC_Bell").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_EmerCancel, 0x1291B, 3, 3, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Exo, 0x1291B, 4, 4, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_AutoTx, 0x1291B, 5, 5, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Sfunc, 0x1291B, 6, 6, "GI_Sheet_Sel_Misc_OnOff2").PerEntry(21, 8).Chosen(),
    Choice(CL_Dtmf_Decode_Beep, 0x1291C, 0, 3, "GI_Sheet_Sel_RxC_Beep").PerEntry(21, 8).Chosen(),
    // Numbers, timers and texts of these families, in free bytes of the common table between the
    // timers (0x12598-0x125B5), of the set mode table (0x10F26-0x10F29) and of the emergency table
    // (0x12C48, 0x12C54-0x12C5D); the stun display text in table 21 (0x12C2C).
    Text(CL_KDisp_OpeningText, 0x12598, 12).Chosen(),
    Timer(CL_Comm_EmerTim_On, 0x125A4, 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Off, 0x125A5, 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Start, 0x125A6, 1, false).Chosen(),
    Timer(CL_Comm_EmerTim_Sairen, 0x125A7, 1, true).Chosen(),
    Number(CL_Comm_EmerTim_ReCycle, 0x125A8, 0, 7, 0, 99).Chosen(),
    Number(CL_Comm_ManDown_ReCycle, 0x125A9, 0, 7, 0, 99).GreyWhen(Clear(0x12572, 0x04)).Chosen(),
    Number(CL_Comm_RS_NumMax, 0x125AA, 0, 7, 1, 255).Chosen(),
    Number(CL_Comm_RS_CharXon, 0x125AB, 0, 7, 0, 255).Chosen(),
    Number(CL_Comm_RS_CharXoff, 0x125AC, 0, 7, 0, 255).Chosen(),
    Number(CL_Comm_Gps_TimeMarker, 0x125AD, 0, 7, 0, 59).Chosen(),
    Timer(CL_Exp_PSaveStartTimer_1, 0x125AE, 1, true).Chosen(),
    Timer(CL_Exp_PSaveStartTimer_2, 0x125AF, 1, true).Chosen(),
    Number(CL_Exp_BeepFreq_Low, 0x125B0, 0, 7, 0, 255).Chosen(),
    Number(CL_Exp_BeepFreq_High, 0x125B1, 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_Fast, 0x125B2, 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_L2, 0x125B3, 0, 7, 0, 255).Chosen(),
    Number(CL_ScanComm_VoteLevel_L0, 0x125B4, 0, 7, 0, 255).Chosen(),
    Number(CL_KDisp_DispLines, 0x125B5, 0, 7, 1, 3).Chosen(),
    Text(CL_Comm_Strv_Text, 0x12C2C, 12).GreyWhen(Clear(0x12C6C, 0x10)).Chosen(),
    Number(CL_SetM_LcdContrast, 0x10F26, 0, 7, 1, 8).Chosen(),
    Number(CL_SetM_AFMinLev, 0x10F27, 0, 7, 0, 15).Chosen(),
    Number(CL_SetM_AudioFilt, 0x10F29, 0, 1, 0, 3).Chosen(),
    Number(CL_SetM_BERDisp, 0x10F29, 2, 2, 0, 1).Chosen(),
    Number(CL_Emer_Setting_RptCycle, 0x12C48, 0, 7, 0, 99).Chosen(),
    Text(CL_Emer_Setting_EmerText, 0x12C54, 10).Chosen(),
    // External port direction and logic: one bit per port, the nine I/O ports from bit 7 of the first
    // byte, then the input and the output port (free bytes 0x1255B-0x1255E of the common table).
    Choice(CL_ExtPort_InOut_1_Dir, 0x1255B, 7, 7, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_2_Dir, 0x1255B, 6, 6, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_3_Dir, 0x1255B, 5, 5, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_4_Dir, 0x1255B, 4, 4, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_5_Dir, 0x1255B, 3, 3, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_6_Dir, 0x1255B, 2, 2, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_7_Dir, 0x1255B, 1, 1, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_8_Dir, 0x1255B, 0, 0, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_9_Dir, 0x1255C, 7, 7, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_In_1_Dir, 0x1255C, 6, 6, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_Out_1_Dir, 0x1255C, 5, 5, "GI_Sheet_Sel_InOutput_Port_Dir").Chosen(),
    Choice(CL_ExtPort_InOut_1_Logic, 0x1255D, 7, 7, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_2_Logic, 0x1255D, 6, 6, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_3_Logic, 0x1255D, 5, 5, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_4_Logic, 0x1255D, 4, 4, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_5_Logic, 0x1255D, 3, 3, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_6_Logic, 0x1255D, 2, 2, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_7_Logic, 0x1255D, 1, 1, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_8_Logic, 0x1255D, 0, 0, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_InOut_9_Logic, 0x1255E, 7, 7, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_In_1_Logic, 0x1255E, 6, 6, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    Choice(CL_ExtPort_Out_1_Logic, 0x1255E, 5, 5, "GI_Sheet_Sel_InOutput_Port_Logic").Chosen(),
    // NXDN configuration timers and counts in free bytes of table 36 (0x184F1-0x184FC, 0x18510-0x18514,
    // 0x1851B-0x18522); like the rest of that table they are saved only with data that holds it.
    Timer(CL_Nxdn_Config_FSSP_Wait, 0x184F1, 100, false).Chosen(),
    Timer(CL_Nxdn_Config_T_ACK_Wait, 0x184F2, 10, false).Chosen(),
    Timer(CL_Nxdn_Config_T_LONG_Wait, 0x184F5, 10, false).Chosen(),
    Timer(CL_Nxdn_Config_T_SHORT_Wait, 0x184F6, 100, false).Chosen(),
    Timer(CL_Nxdn_Config_BeepRepeatTimer, 0x184F7, 1, true).Chosen(),
    Timer(CL_Nxdn_Config_Ack_TX_Delay, 0x184F8, 100, false).Chosen(),
    Timer(CL_Nxdn_Config_Ack_RX_Wait, 0x184F9, 10, false).Chosen(),
    Number(CL_Nxdn_Config_Attempt_No, 0x184FA, 0, 7, 1, 10).Chosen(),
    Timer(CL_Nxdn_Config_ResetTimer, 0x184FB, 1, true).Chosen(),
    Timer(CL_Nxdn_Config_Emer_Tans, 0x184FC, 1, false).Chosen(),
    Timer(CL_Nxdn_Option_TalkBackTimer, 0x18510, 1, true).Wider().Chosen(),
    Timer(CL_Nxdn_RMONI_TXTimer, 0x18511, 1, false).Chosen(),
    Number(CL_Nxdn_Trunk_SU_RAccess_Retry, 0x18512, 0, 7, 0, 15).Chosen(),
    Number(CL_Nxdn_Grp_Op_Pre_Len, 0x18513, 0, 7, 0, 15).Chosen(),
    Text(CL_Nxdn_Option_AnalogTalkBackText, 0x1851B, 8).Chosen(),
    // MSK preselection: own and common ID (0-4095) and two counts in the free bytes of table 22 before
    // the country code; the address ranges in table 25 around its country code.
    Number16(CL_Msk_Presl_Own_Id, 0x12C3C, 0, 4095).Chosen(),
    Number16(CL_Msk_Presl_Common, 0x12C3E, 0, 4095).Chosen(),
    Number(CL_Msk_Presl_Call_Let, 0x12C40, 0, 7, 0, 255).Chosen(),
    Number(CL_Msk_Presl_Sync, 0x12C41, 0, 7, 0, 255).Chosen(),
    Number16(CL_Msk_AdrRange_Individual, 0x12DC5, 0, 4095).Chosen(),
    Number16(CL_Msk_AdrRange_Group, 0x12DC7, 0, 4095).Chosen(),
    Number16(CL_Msk_AdrRange_Common, 0x12DC9, 0, 4095).Chosen(),
    Number(CL_Msk_AdrRange_Killer, 0x12DCC, 0, 7, 0, 255).Chosen(),
    // The dPMR display messages: the 21 entries of 8 display characters of table 116, in cell order.
    Display(CL_Dpmr_DispMsg_App_VoiceCall, 0x1FE53, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_BroadcastCall, 0x1FE5B, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_StatusCall, 0x1FE63, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_SDMCall, 0x1FE6B, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_CallAlert, 0x1FE73, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_AmbienceListen, 0x1FE7B, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Stun, 0x1FE83, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Kill, 0x1FE8B, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_Revive, 0x1FE93, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_StatusPoll, 0x1FE9B, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_CallLog, 0x1FEA3, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_App_NoLog, 0x1FEAB, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_TX, 0x1FEB3, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_Failed, 0x1FEBB, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_Complete, 0x1FEC3, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_CompleteCall, 0x1FECB, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_Prog_CompleteClear, 0x1FED3, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_GrpID, 0x1FEDB, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_UID, 0x1FEE3, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_AllCall, 0x1FEEB, 8).Chosen(),
    Display(CL_Dpmr_DispMsg_ANI_Private, 0x1FEF3, 8).Chosen(),
    // The clone password the clone write asks about (set when its first byte is not 0).
    Password(CL_Comm_ClonePasswordStr, 0x125FE).OnModelField(),
    // The clone comments the radio shows in its clone information.
    Text(CL_Comm_CloneComment1, 0x12636, 16).OnModelField(),
    Text(CL_Comm_CloneComment2, 0x12646, 16).OnModelField(),
    // dPMR options and confirmation timers in free bytes of table 104 (0x1F66C-0x1F671, the
    // analogue talk-back text at 0x1F684), expert values beside the expert timers of table 115.
    Timer(CL_Dpmr_Config_BeepRepeatTimer, 0x1F66C, 1, true).Chosen(),
    Timer(CL_Dpmr_Config_Ack_TX_Delay, 0x1F66D, 100, false).Chosen(),
    Timer(CL_Dpmr_Config_Ack_RX_Wait, 0x1F66E, 10, false).Chosen(),
    Number(CL_Dpmr_Config_Attempt_No, 0x1F66F, 0, 7, 1, 10).Chosen(),
    Timer(CL_Dpmr_Option_Broadcast_InactiveTimer, 0x1F670, 1, true).Chosen(),
    Timer(CL_Dpmr_Option_TalkBackTimer, 0x1F671, 1, true).Wider().Chosen(),
    Text(CL_Dpmr_Option_AnalogTalkBackText, 0x1F684, 8).Chosen(),
    Timer(CL_Dpmr_Expert_T_ch_chk_Timer, 0x1FE45, 100, false).Chosen(),
    Number(CL_Dpmr_Expert_RSSI_L0, 0x1FE46, 0, 7, 0, 255).Chosen(),
    Number(CL_Dpmr_Expert_Wakeup_Header, 0x1FE47, 0, 7, 0, 15).Chosen(),
    // The dPMR and NXDN expert levels are the bytes the normalisation keeps from being 0.
    Number(CL_Dpmr_Expert_FS48_Attack, 0x1FE35, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Attack, 0x1FE36, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Sync_BitError, 0x1FE37, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS48_Sync_BitError, 0x1FE38, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Err_BitError, 0x1FE39, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_FS24_Err_Counter, 0x1FE3A, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_LET, 0x1FE3C, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_CC_Det_Count, 0x1FE3E, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_CC_Undet_Count, 0x1FE3F, 0, 7, 1, 255).OnModelField(),
    Number(CL_Dpmr_Expert_ND, 0x1FE43, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_FS38_Attack, 0x19BB3, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_FS20_Attack, 0x19BB4, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N5_BitError, 0x19BB5, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N6_BitError, 0x19BB6, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N7_BitError, 0x19BB7, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N7_Counter, 0x19BB8, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_N5_Counter, 0x19BB9, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_Resync_Counter, 0x19BBB, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_LET, 0x19BBC, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_RAN_Det_Count, 0x19BBD, 0, 7, 1, 255).OnModelField(),
    Number(CL_Nxdn_Expert_RAN_Undet_Count, 0x19BBA, 0, 7, 0, 255).OnModelField(),
};

// Pairs of cells that are two views of the same setting (one per sheet variant) and share its bits.
constexpr std::array<std::pair<int32_t, int32_t>, 10> kShared = {{
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

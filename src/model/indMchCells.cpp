#include "model/indMchCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcFrequencyCodec.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "cells/cmcToneCodec.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcGTex.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

namespace {

using L = indLayout;
using CC = cmcChoiceCodecs;
using Io = cmcCodecIo;

// One bit field of a channel's storage: slot A, B or D, byte, lowest bit, width.
struct Part {
    char slot = 0; // 0: unused
    uint8_t byte = 0;
    uint8_t bit = 0;
    uint8_t width = 1;
};

// When a value does not apply, or is shown grey.
enum class Cond {
    None,
    Type3,           // channel type 3
    Type0,           // channel type 0
    Type3NoF1,       // type 3 and the bank lacks F1
    Type0NoF3,       // type 0 and the bank lacks F3
    NoF1,            // the bank lacks F1
    TwoTone,         // types 2, 3 without F1, or F1 with B18.5
    Type3OrPmrNoSig, // type 3, or PMR family with the signalling flag clear
    ScanListOff,     // bit 6 of 0x12573 clear
    RptCode,         // the repeater code rule (PMR family with signalling, without B3.2)
    StnCode,         // PMR family with the signalling flag set
    MskCode,         // PMR family with the signalling flag clear
    NotTypes23,      // channel types 0 and 1
};

// Warnings and errors of the option cells.
enum class Mark { None, WnmWarn, MuteWarn, MoniWarn, SelError, CallError };

struct ChoiceCell {
    int32_t cell;
    Part parts[3];
    const char* list;
    const char* listPmr; // nullptr: list in both families
    int32_t choiceCell;
    bool typed;
    Cond grey;
    Cond dashes;
    const char* dashText;
    uint8_t scope;
    Mark mark;
};

constexpr Part A(int byte, int bit, int width = 1) {
    return Part{'A', uint8_t(byte), uint8_t(bit), uint8_t(width)};
}
constexpr Part B(int byte, int bit, int width = 1) {
    return Part{'B', uint8_t(byte), uint8_t(bit), uint8_t(width)};
}
constexpr Part D(int byte, int bit, int width = 1) {
    return Part{'D', uint8_t(byte), uint8_t(bit), uint8_t(width)};
}

constexpr const char* kOnOff2 = "GI_Sheet_Sel_Misc_OnOff2";
constexpr int32_t kF0 = CC::kFlex0;
constexpr int32_t kFM = CC::kFlexMark;

// The option cells that follow the common pattern: a value of bits, a list, and their conditions.
const ChoiceCell kChoiceCells[] = {
    {CL_Mch_Inh,
     {A(0, 7)},
     "GI_Sheet_Sel_Mch_ChInh",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_TxInh,
     {A(4, 7)},
     "GI_Sheet_Sel_Mch_CH_TxInh",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_TxInh_Qirs,
     {A(4, 7)},
     "GI_Sheet_Sel_Mch_CH_TxInh",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_ClockShift,
     {A(12, 2, 2)},
     "GI_Sheet_Sel_Mch_ClShift",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Nar,
     {A(12, 6), A(12, 4)},
     "GI_Sheet_Sel_Mch_Nar",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Nar_Pmr,
     {A(12, 6), A(12, 4)},
     "GI_Sheet_Sel_Mch_Nar",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_WNM,
     {A(12, 6), A(12, 4)},
     "GI_Sheet_Sel_Mch_WNM",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::WnmWarn},
    {CL_Mch_WNM_Pmr,
     {A(12, 6), A(12, 4)},
     "GI_Sheet_Sel_Mch_WNM",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::WnmWarn},
    {CL_Mch_Compander,
     {B(3, 4)},
     kOnOff2,
     nullptr,
     kF0,
     false,
     Cond::Type3NoF1,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_PwrSave, {B(0, 7)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_PwrSave_Qirs, {B(0, 7)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_Tot, {B(0, 4)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_Tot_Qirs, {B(0, 4)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_RfPo,
     {B(0, 0), B(0, 1)},
     "GI_Sheet_Sel_Mch_RfPwr",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Lockout,
     {B(0, 2, 2), B(17, 0), B(17, 1, 2)},
     "GI_Sheet_Sel_Mch_Lockout_LmrP25",
     "GI_Sheet_Sel_Mch_Lockout_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Lockout_Pmr,
     {B(0, 2, 2), B(17, 0), B(17, 1, 2)},
     "GI_Sheet_Sel_Mch_Lockout_LmrP25",
     "GI_Sheet_Sel_Mch_Lockout_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Lockout_Nxdn,
     {B(0, 2, 2), B(17, 0), B(17, 1, 2)},
     "GI_Sheet_Sel_Mch_Lockout_LmrP25",
     "GI_Sheet_Sel_Mch_Lockout_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_AutoChScan, {B(3, 0)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_AutoReset,
     {B(2, 1), B(2, 0)},
     "GI_Sheet_Sel_Mch_AutoReset_Lmr",
     "GI_Sheet_Sel_Mch_AutoReset_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_AutoReset_Pmr,
     {B(2, 1), B(2, 0)},
     "GI_Sheet_Sel_Mch_AutoReset_Lmr",
     "GI_Sheet_Sel_Mch_AutoReset_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_AutoReset_Qirs,
     {B(2, 1), B(2, 0)},
     "GI_Sheet_Sel_Mch_AutoReset_Lmr",
     "GI_Sheet_Sel_Mch_AutoReset_Pmr",
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_CH_Mute_Lmr,
     {B(1, 0)},
     "GI_Sheet_Sel_Mch_ChMute",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::MuteWarn},
    {CL_Mch_CH_Mute,
     {B(1, 0)},
     "GI_Sheet_Sel_Mch_ChMute",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::MuteWarn},
    {CL_Mch_2Tone,
     {B(8, 0, 7)},
     "GI_Sheet_Sel_Mch_2Tone",
     nullptr,
     kF0,
     true,
     Cond::TwoTone,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Log,
     {B(1, 4, 4)},
     "GI_Sheet_Sel_Mch_Log_Lmr",
     "GI_Sheet_Sel_Mch_Log_Pmr",
     kF0,
     false,
     Cond::Type3NoF1,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Log_Pmr,
     {B(1, 4, 4)},
     "GI_Sheet_Sel_Mch_Log_Lmr",
     "GI_Sheet_Sel_Mch_Log_Pmr",
     kF0,
     false,
     Cond::Type3NoF1,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Log_Qirs,
     {B(1, 4, 4)},
     "GI_Sheet_Sel_Mch_Log_Lmr",
     "GI_Sheet_Sel_Mch_Log_Pmr",
     kF0,
     false,
     Cond::Type3NoF1,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Scan_Inc,
     {B(1, 1)},
     "GI_Sheet_Sel_Mch_ScanInc",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Scan_List,
     {A(13, 0, 8)},
     "GI_Sheet_Sel_Mch_Scan_List",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::ScanListOff,
     "----",
     0,
     Mark::None},
    {CL_Mch_Scan_ListSel,
     {B(0, 5)},
     "GI_Sheet_Sel_Mch_Scan_ListSel",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::ScanListOff,
     "---",
     0,
     Mark::None},
    {CL_Mch_Scrm_On,
     {B(3, 5, 2)},
     "GI_Sheet_Sel_Mch_ScramOn",
     nullptr,
     kF0,
     false,
     Cond::Type0NoF3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Sql_Tight, {B(1, 2)}, kOnOff2, nullptr, kF0, false, Cond::None, Cond::None, "", 0, Mark::None},
    {CL_Mch_VORN_TxInh,
     {D(4, 7)},
     "GI_Sheet_Sel_Mch_CH_TxInh",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_SigType_Log_Lmr,
     {B(16, 1, 2)},
     "GI_Sheet_Sel_Mch_SigType_Lmr",
     "GI_Sheet_Sel_Mch_SigType_Pmr",
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_SigType_Log_Pmr,
     {B(16, 1, 2)},
     "GI_Sheet_Sel_Mch_SigType_Lmr",
     "GI_Sheet_Sel_Mch_SigType_Pmr",
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_SigType_Emg_Lmr,
     {B(16, 3, 2)},
     "GI_Sheet_Sel_Mch_SigType_Emg_Lmr",
     "GI_Sheet_Sel_Mch_SigType_Emg_Pmr",
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_SigType_Emg_Pmr,
     {B(16, 3, 2)},
     "GI_Sheet_Sel_Mch_SigType_Emg_Lmr",
     "GI_Sheet_Sel_Mch_SigType_Emg_Pmr",
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Moni,
     {B(0, 6), B(1, 3), B(2, 4, 2)},
     "GI_Sheet_Sel_Mch_Moni",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::MoniWarn},
    {CL_Mch_Moni_Qirs,
     {B(0, 6), B(1, 3), B(2, 4, 2)},
     "GI_Sheet_Sel_Mch_Moni",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::MoniWarn},
    {CL_Mch_Sel,
     {B(2, 6, 2)},
     "GI_Sheet_Sel_Mch_Sel",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::SelError},
    {CL_Mch_Sel_Qirs,
     {B(2, 6, 2)},
     "GI_Sheet_Sel_Mch_Sel",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::SelError},
    {CL_Mch_Call,
     {B(2, 3)},
     "GI_Sheet_Sel_Mch_Call",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::CallError},
    {CL_Mch_Call_Qirs,
     {B(2, 3)},
     "GI_Sheet_Sel_Mch_Call",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::CallError},
    {CL_Mch_PTT,
     {B(2, 2)},
     "GI_Sheet_Sel_Mch_Ptt",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::CallError},
    {CL_Mch_PTT_Qirs,
     {B(2, 2)},
     "GI_Sheet_Sel_Mch_Ptt",
     nullptr,
     kFM,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::CallError},
    {CL_Mch_Form,
     {B(6, 0, 4)},
     "GI_Sheet_Sel_Mch_Form",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Form_Qirs,
     {B(6, 0, 4)},
     "GI_Sheet_Sel_Mch_Form",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Rpt_C,
     {B(7, 0, 7)},
     "GI_Sheet_Sel_RxC_AbcCode",
     nullptr,
     kF0,
     true,
     Cond::Type3,
     Cond::RptCode,
     "----",
     0,
     Mark::None},
    {CL_Mch_Rpt_C_Qirs,
     {B(7, 0, 7)},
     "GI_Sheet_Sel_RxC_AbcCode",
     nullptr,
     kF0,
     true,
     Cond::Type3,
     Cond::RptCode,
     "----",
     0,
     Mark::None},
    {CL_Mch_Rpt_L,
     {B(7, 7)},
     "GI_Sheet_Sel_Mch_LTone",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::RptCode,
     "-",
     0,
     Mark::None},
    {CL_Mch_Rpt_L_Qirs,
     {B(7, 7)},
     "GI_Sheet_Sel_Mch_LTone",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::RptCode,
     "-",
     0,
     Mark::None},
    {CL_Mch_Stn_C,
     {B(8, 0, 7)},
     "GI_Sheet_Sel_RxC_AbcCode",
     nullptr,
     kF0,
     true,
     Cond::None,
     Cond::StnCode,
     "----",
     0,
     Mark::None},
    {CL_Mch_Id_C,
     {B(9, 0, 7)},
     "GI_Sheet_Sel_RxC_AbcCode",
     nullptr,
     kF0,
     true,
     Cond::None,
     Cond::StnCode,
     "----",
     0,
     Mark::None},
    {CL_Mch_Stn_L,
     {B(8, 7)},
     "GI_Sheet_Sel_Mch_LTone",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::StnCode,
     "-",
     0,
     Mark::None},
    {CL_Mch_Id_L,
     {B(9, 7)},
     "GI_Sheet_Sel_Mch_LTone",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::StnCode,
     "-",
     0,
     Mark::None},
    {CL_Mch_Pos,
     {B(6, 6, 2)},
     "GI_Sheet_Sel_Mch_Pos",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_DtmfDec,
     {B(18, 5)},
     "GI_Sheet_Sel_Mch_ChMuteLtr",
     nullptr,
     kF0,
     false,
     Cond::NoF1,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Msk_Sig,
     {B(3, 3)},
     "GI_Sheet_Sel_Mch_Msk_Signal_Pmr",
     nullptr,
     kF0,
     false,
     Cond::Type3,
     Cond::None,
     "",
     0x20,
     Mark::None},
    {CL_Mch_Msk_SendStatus,
     {B(3, 1)},
     "GI_Sheet_Sel_Mch_SendStatus",
     nullptr,
     kFM,
     false,
     Cond::Type3OrPmrNoSig,
     Cond::None,
     "",
     0x20,
     Mark::None},
    {CL_Mch_Msk_Stn,
     {B(8, 0, 7)},
     "GI_Sheet_Sel_Mch_Msk_ID",
     nullptr,
     kF0,
     true,
     Cond::None,
     Cond::MskCode,
     "----",
     0,
     Mark::None},
    {CL_Mch_Dig_Sig,
     {A(12, 0, 2)},
     "GI_Sheet_Sel_Mch_Dig_Signal",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::None,
     "",
     0x20,
     Mark::None},
    {CL_Mch_Nxdn_SQL_Type,
     {B(17, 4, 2)},
     "GI_Sheet_Sel_Mch_Nxdn_SQL_Type",
     nullptr,
     kF0,
     false,
     Cond::Type0,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Nxdn_Encryption_No,
     {B(19, 0, 8)},
     "GI_Sheet_Sel_Nxdn_EncryptionList",
     nullptr,
     kF0,
     true,
     Cond::Type0NoF3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Nxdn_Fast_Mute,
     {B(17, 7)},
     kOnOff2,
     nullptr,
     kF0,
     false,
     Cond::Type0NoF3,
     Cond::None,
     "",
     0,
     Mark::None},
    {CL_Mch_Dpmr_SQL_Type,
     {B(17, 4, 2)},
     "GI_Sheet_Sel_Mch_Dpmr_SQL_Type",
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::Type0,
     "----",
     0,
     Mark::None},
    {CL_Mch_Dpmr_SendStatus,
     {B(17, 6)},
     "GI_Sheet_Sel_Mch_Dpmr_SendStatus",
     nullptr,
     kFM,
     false,
     Cond::None,
     Cond::NotTypes23,
     "----",
     0x20,
     Mark::None},
    {CL_Mch_Dpmr_Fast_Mute,
     {B(17, 7)},
     kOnOff2,
     nullptr,
     kF0,
     false,
     Cond::None,
     Cond::Type0,
     "----",
     0,
     Mark::None},
};

// The channel's slots in the working image.
struct Slots {
    uint8_t* a;
    uint8_t* b;
    uint8_t* d;
    uint8_t* Of(char slot) const { return slot == 'A' ? a : slot == 'B' ? b : d; }
};

Slots SlotsOf(uint8_t* w, int n) {
    return {w + L::kChA + L::kChASize * n, w + L::kChB + L::kChBSize * n, w + L::kChD + 5 * n};
}

int32_t ReadParts(const Slots& s, const Part (&parts)[3]) {
    int32_t value = 0;
    int shift = 0;
    for (const Part& p : parts) {
        if (!p.slot)
            break;
        const int32_t mask = (1 << p.width) - 1;
        value |= ((s.Of(p.slot)[p.byte] >> p.bit) & mask) << shift;
        shift += p.width;
    }
    return value;
}

void WriteParts(const Slots& s, const Part (&parts)[3], int32_t value) {
    int shift = 0;
    for (const Part& p : parts) {
        if (!p.slot)
            break;
        const int32_t mask = (1 << p.width) - 1;
        uint8_t& byte = s.Of(p.slot)[p.byte];
        byte = uint8_t((byte & ~(mask << p.bit)) | (((value >> shift) & mask) << p.bit));
        shift += p.width;
    }
}

bool Bit(uint8_t v, int b) {
    return (v >> b) & 1;
}

// What the conditions of one channel look at.
struct Ctx {
    int n = 0;
    int bank = 0;
    Slots s{};
    int type = 0; // channel type, A12 bits 0-1
    bool f1 = false, f3 = false;
    bool pmr = false;
    bool sig = false; // the signalling flag B3.3 (kind 2 only)
    uint8_t* w = nullptr;
};

bool Holds(Cond c, const Ctx& x) {
    switch (c) {
    case Cond::None:
        return false;
    case Cond::Type3:
        return x.type == 3;
    case Cond::Type0:
        return x.type == 0;
    case Cond::Type3NoF1:
        return x.type == 3 && !x.f1;
    case Cond::Type0NoF3:
        return x.type == 0 && !x.f3;
    case Cond::NoF1:
        return !x.f1;
    case Cond::TwoTone:
        return ((x.type == 2 || x.type == 3) && !x.f1) || (x.f1 && Bit(x.s.b[18], 5));
    case Cond::Type3OrPmrNoSig:
        return x.type == 3 || (x.pmr && !x.sig);
    case Cond::ScanListOff:
        return !Bit(x.w[L::kMark3Byte], 6);
    case Cond::RptCode: // applies outside PMR, or without signalling, or with B3.2 and signalling
        return !(!x.pmr || !x.sig || (Bit(x.s.b[3], 2) && x.sig));
    case Cond::StnCode:
        return x.pmr && x.sig;
    case Cond::MskCode: // applies outside PMR or with signalling
        return x.pmr && !x.sig;
    case Cond::NotTypes23:
        return x.type < 2;
    }
    return false;
}

void Dashes(indCellCall& call, const char* text) {
    call.io.Show(text);
    call.io.SetFontColor(Io::kGrey);
}

// After a change: the other view of the channel refreshes while the memory channel window is open.
void Changed(indCellCall& call) {
    call.wrote = true;
    indCellHandler& h = call.handler;
    if (h.mchWindowChannel >= 0) {
        if (call.category == CT_Mch_Win)
            h.Post(cmcEv::RedrawIndex, 0, h.mchWindowChannel);
        else
            h.Post(cmcEv::RedrawMchWindow);
    }
}

int CcOf(int32_t f) {
    return f == 0 ? 0 : (f / 6250) % 64;
}

int TotalChannels(const uint8_t* w) {
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(w, g);
    return total;
}

// Entries in use of a list record kind.
int ListCount(const uint8_t* w, int kind) {
    switch (kind) {
    case 18:
        return L::Get16(w, L::kCount33);
    case 19:
        return L::Get16(w, L::kCount34);
    case 24:
        return L::Get16(w, L::kCount58);
    case 28:
        return L::Get16(w, L::kCount91);
    case 29:
        return L::Get16(w, L::kCount92);
    case 31:
        return L::Get16(w, L::kCount101);
    default:
        return 0;
    }
}

bool IsNewRowKey(int32_t k) {
    return k == Io::kKeySpace || k == Io::kKeyBackspace || k == '.' || (k >= '0' && k <= '9') ||
           k == Io::kKeyReturn;
}

// Creates the channel of a new row when a key that starts an entry arrives. False when it could not.
bool CreateOnKey(indCellCall& call, const Ctx& x, bool& created) {
    created = false;
    if (indMchCells::IsInBank(call, x.n) || !IsNewRowKey(call.io.Key()))
        return true;
    if (TotalChannels(x.w) >= L::kChannels || !call.handler.AddChannels(x.bank, 1)) {
        call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        return false;
    }
    created = true;
    call.wrote = true;
    call.scope |= cmcCellCapsule::kScopeAll;
    call.record.Decode(call.recordKind, x.n);
    return true;
}

bool RunChoice(indCellCall& call, const Ctx& x, const ChoiceCell& c, int32_t& result) {
    if (Holds(c.dashes, x)) {
        Dashes(call, c.dashText);
        return true;
    }
    int32_t value = ReadParts(x.s, c.parts);
    const char* list = x.pmr && c.listPmr ? c.listPmr : c.list;
    const bool changed =
        c.typed ? CC::EditChoiceTyped(call.io, call.env, value, list, c.choiceCell)
                : CC::EditChoice(call.io, call.env, value, list, c.choiceCell,
                                 c.choiceCell == kFM ? std::optional<int32_t>(value) : std::nullopt);
    if (changed) {
        WriteParts(x.s, c.parts, value);
        call.scope |= c.scope;
        Changed(call);
        result = Io::kResultRefresh;
    }
    if (Holds(c.grey, x))
        call.io.SetFontColor(Io::kGrey);
    uint8_t& marks = call.capsule.stateBits;
    switch (c.mark) {
    case Mark::None:
        break;
    case Mark::WnmWarn:
        if ((value == 2 || value == 3) && !Bit(x.w[0x125CE], 7))
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Mark::MuteWarn:
        if (x.pmr && value == 0 && x.sig)
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Mark::MoniWarn:
        if (x.pmr && value != 6 && value != 7 && x.sig)
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Mark::SelError:
        if (x.pmr && value != 1 && x.sig)
            marks |= cmcCellCapsule::kStateError;
        break;
    case Mark::CallError:
        if (x.pmr && value == 1 && x.sig)
            marks |= cmcCellCapsule::kStateError;
        break;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

// Stepped 16-bit or byte values whose transmit twin follows while equal.
bool RunPairStep(indCellCall& call, const Ctx& x, int32_t& result, bool transmit, int rxAt, int txAt,
                 bool word) {
    auto get = [&](int at) { return word ? int32_t(L::Get16(x.s.a, at)) : int32_t(x.s.a[at]); };
    auto put = [&](int at, int32_t v) {
        if (word)
            L::Put16(x.s.a, at, uint32_t(v));
        else
            x.s.a[at] = uint8_t(v);
    };
    const int32_t rx = get(rxAt), tx = get(txAt);
    int32_t value = transmit ? tx : rx;
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = 63;
    if (cmcNumberCodecs::EditStepped(call.io, value, p)) {
        if (transmit) {
            put(txAt, value);
        } else {
            if (rx == tx)
                put(txAt, value);
            put(rxAt, value);
        }
        Changed(call);
        result = Io::kResultRefresh;
    }
    if (transmit && get(rxAt) == get(txAt) && call.io.result != Io::kResultEdit)
        call.io.displayText = "<-";
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

std::string BcdDigits(const uint8_t* w, int entry) {
    if (entry < 0 || entry >= 500)
        return "";
    const uint8_t* e = w + 0x1DAD9 + 14 * entry;
    return cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(e, 4), 7);
}

bool RunListRef(indCellCall& call, const Ctx& x, int32_t& result, uint16_t& field, const char* list,
                int32_t choiceCell) {
    int32_t value = field;
    int32_t k = call.io.Key();
    if (k == Io::kKeySpace || k == Io::kKeyBackspace)
        call.io.key = 0;
    if (CC::EditChoiceTyped(call.io, call.env, value, list, choiceCell)) {
        field = uint16_t(value);
        call.record.Encode(0, x.n);
        Changed(call);
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultEdit)
        call.io.displayText = std::to_string(int(field) + 1);
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool RunFrequency(indCellCall& call, Ctx& x, int32_t& result, bool transmit) {
    datCh& r = call.record;
    if (!transmit) {
        bool created = false;
        if (!CreateOnKey(call, x, created))
            return true;
        if (created) {
            x.s = SlotsOf(x.w, x.n);
            result = Io::kResultRefresh;
        }
    }
    const bool hadContent = (r.status & datCh::kHasContent) && r.rxFrequency != 0;
    cmcFrequencyCodec::Pair pair{r.rxFrequency, r.txFrequency, r.rxFrequency != 0};
    const bool changed = cmcFrequencyCodec::EditFrequency(call.io, pair, transmit, 0);
    if (changed) {
        r.rxFrequency = pair.rx;
        r.txFrequency = pair.tx;
        const uint8_t rxCc = uint8_t(CcOf(pair.rx)), txCc = uint8_t(CcOf(pair.tx));
        const bool digital = (r.mode1 & 3) != 0;
        bool ccChanged;
        if (transmit) {
            ccChanged = r.a27 != txCc;
            r.a27 = txCc;
        } else {
            ccChanged = r.a26 != rxCc || r.a27 != txCc;
            r.a26 = rxCc;
            r.a27 = txCc;
        }
        r.Encode(0, x.n);
        Changed(call);
        result = Io::kResultRefresh;
        if (ccChanged && digital && (transmit || hadContent))
            call.handler.Message("GI_AppMess_MchSheet_CC_Change", cmcMessageBox::Icon::Warning);
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    const bool keyPending = call.io.result == Io::kResultEdit;
    if (r.rxFrequency == 0 && !keyPending)
        call.io.displayText.clear();
    if (transmit && Bit(r.frequencyFlags, 1))
        call.io.SetFontColor(Io::kGrey);
    return true;
}

bool RunTone(indCellCall& call, const Ctx& x, int32_t& result, bool transmit) {
    datCh& r = call.record;
    cmcToneCodec::Tone rx = indMchCells::ToCodec(r.tone1), tx = indMchCells::ToCodec(r.tone2);
    if (cmcToneCodec::EditTone(call.io, call.env, rx, tx, transmit)) {
        r.tone1 = indMchCells::FromCodec(rx);
        r.tone2 = indMchCells::FromCodec(tx);
        r.Encode(0, x.n);
        Changed(call);
        result = Io::kResultRefresh;
    }
    if (x.type == 3)
        call.io.SetFontColor(Io::kGrey);
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

// Channel count of a bank (parameter 8: the total in use).
bool RunBankCount(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    const int bank = call.parameter;
    const int total = TotalChannels(w);
    if (bank < 0 || bank > L::kGroups) {
        call.io.displayText.clear();
        return true;
    }
    if (bank == L::kGroups) {
        call.io.Show(std::to_string(total));
        return true;
    }
    const int count = L::GroupCount(w, bank);
    int32_t value = count;
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = L::kChannels;
    p.saturate = true;
    if (cmcNumberCodecs::EditStepped(call.io, value, p) && value != count) {
        const int kind = call.record.kind ? call.record.kind : 1;
        (void)kind;
        if (value > count) {
            const int want = value - count;
            const int room = std::min(want, L::kChannels - total);
            const int fits = call.handler.LargestRoom(CT_Mch, room, bank);
            if (fits > 0)
                call.handler.AddChannels(bank, fits);
            if (fits < want)
                call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        } else {
            int remove = count - value;
            int blank = 0;
            datCh ch(&call.work);
            const int kindCh = call.modelFamily == 1 ? datCh::kChannel2 : datCh::kChannel1;
            const int first = L::GroupStart(w, bank);
            while (blank < remove) {
                ch.Decode(kindCh, first + count - 1 - blank);
                if (ch.status & datCh::kHasContent)
                    break;
                ++blank;
            }
            if (blank > 0)
                call.handler.RemoveChannels(bank, blank);
            if (blank < remove)
                call.handler.Message(blank < count ? "GI_AppMess_ChErr_NotBlank" : "GI_AppMess_ChErr_NoCh",
                                     cmcMessageBox::Icon::Error);
        }
        call.wrote = true;
        call.scope |= cmcCellCapsule::kScopeAll;
        result = Io::kResultRefresh;
        call.io.Show(std::to_string(L::GroupCount(w, bank)));
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

// The type flags of a bank (parameter): SmarTrunk (F0), repeater group (F1), trunking (F3) and its
// sub-type (F2). A change alters what every channel of the bank shows and which columns its sheet has.
bool RunBankType(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    const int bank = call.parameter;
    if (bank < 0 || bank >= L::kGroups) {
        call.io.displayText.clear();
        return true;
    }
    int32_t at = L::kBankF0;
    const char* list = kOnOff2;
    switch (call.cell) {
    case CL_Mch_LTR:
        at = L::kBankF1;
        break;
    case CL_Mch_TrunkType:
        at = L::kBankF3;
        list = "GI_Sheet_Sel_Bank_TrunkType";
        break;
    case CL_Mch_TrunkType2:
        at = L::kBankF2;
        list = "GI_Sheet_Sel_Bank_TrunkType2";
        break;
    default:
        break;
    }
    const uint8_t mask = uint8_t(0x80 >> bank);
    int32_t value = (w[at] & mask) ? 1 : 0;
    if (CC::EditChoice(call.io, call.env, value, list)) {
        w[at] = uint8_t(value ? (w[at] | mask) : (w[at] & ~mask));
        call.wrote = true;
        call.banksChanged = true;
        call.scope |= cmcCellCapsule::kScopeAll;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

} // namespace

cmcToneCodec::Tone indMchCells::ToCodec(const datCh::Tone& t) {
    cmcToneCodec::Tone c;
    c.flags = uint8_t((t.on ? cmcToneCodec::kOn : 0) | (t.digital ? cmcToneCodec::kDigital : 0) |
                      (t.inverted ? cmcToneCodec::kInverted : 0));
    c.tone = uint16_t(t.index);
    c.code = uint16_t(t.code);
    return c;
}

datCh::Tone indMchCells::FromCodec(const cmcToneCodec::Tone& c) {
    datCh::Tone t;
    t.on = c.flags & cmcToneCodec::kOn;
    t.digital = c.flags & cmcToneCodec::kDigital;
    t.inverted = c.flags & cmcToneCodec::kInverted;
    t.index = c.tone;
    t.code = c.code;
    return t;
}

bool indMchCells::StorageOf(int32_t cell, int32_t channel, int32_t& offset, int32_t& size) {
    switch (cell) {
    case CL_Grp_RxId:
    case CL_Grp_TxId:
    case CL_Grp_HomeRptCh:
    case CL_Grp_BlockIdStart:
    case CL_Grp_BlockIdEnd:
    case CL_Grp_TxInh:
    case CL_Grp_PhonePriv:
    case CL_Grp_BlockIdEnable:
        if (channel < 0 || channel >= L::kChannels)
            return false;
        offset = L::kChC + 6 * channel;
        size = 6;
        return true;
    default:
        return false;
    }
}

int indMchCells::BankOf(const indCellCall& call) {
    const uint8_t* w = call.work.Data();
    if (call.handler.shownBank >= 0 && call.handler.shownBank < L::kGroups)
        return call.handler.shownBank;
    if (call.category == CT_Mch_Win && call.handler.mchWindowChannel >= 0) {
        int g = L::GroupOf(w, call.handler.mchWindowChannel);
        if (g < L::kGroups)
            return g;
    }
    const int g = L::GroupOf(w, call.parameter);
    if (g < L::kGroups)
        return g;
    for (int b = L::kGroups - 1; b >= 0; --b)
        if (L::GroupCount(w, b) > 0)
            return b;
    return 0;
}

bool indMchCells::IsInBank(const indCellCall& call, int32_t n) {
    const uint8_t* w = call.work.Data();
    const int bank = BankOf(call);
    const int first = L::GroupStart(w, bank);
    return n >= first && n < first + L::GroupCount(w, bank) && n < L::kChannels;
}

bool indMchCells::Handle(indCellCall& call, int32_t& result) {
    if (call.cell == CL_Mch_Bank) {
        return RunBankCount(call, result);
    }
    if (call.cell == CL_Mch_SmarTrunk || call.cell == CL_Mch_LTR || call.cell == CL_Mch_TrunkType ||
        call.cell == CL_Mch_TrunkType2)
        return RunBankType(call, result);
    if (call.cell == CL_Bank_UsedQty || call.cell == CL_Bank_UsedTotal || call.cell == CL_Bank_UsedLeft) {
        const uint8_t* w = call.W();
        const int total = TotalChannels(w);
        int shown = call.cell == CL_Bank_UsedTotal  ? L::kChannels
                    : call.cell == CL_Bank_UsedLeft ? std::max(L::kChannels - total, 0)
                                                    : (call.parameter >= 0 && call.parameter < L::kGroups
                                                           ? L::GroupCount(w, call.parameter)
                                                           : total);
        call.io.Show(std::to_string(shown));
        return true;
    }
    if (call.cell == CL_Mch_UsedCHs) {
        const uint8_t* w = call.W();
        const int bank = std::clamp(call.parameter, 0, L::kGroups - 1);
        const int left = L::kChannels - TotalChannels(w);
        const int fits = left > 0 ? call.handler.LargestRoom(CT_Mch, left, bank) : 0;
        call.io.Show(std::to_string(std::max(fits, 0)));
        return true;
    }
    if (call.category != CT_Mch && call.category != CT_Mch_Win && call.category != CT_Mch_Check)
        return false;
    if (!datCh::IsChannelKind(call.recordKind) || call.parameter < 0)
        return false;
    if (call.parameter >= L::kChannels) {
        // A blank row after 128 channels: there is no slot behind it, only the refusal to add one.
        call.io.displayText.clear();
        if (call.cell == CL_Mch_No || call.cell == CL_MchWin_No) {
            call.io.Show(call.env.Text("GI_NewChTitle"));
        } else if ((call.cell == CL_Mch_FreqR || call.cell == CL_Grp_RxId ||
                    call.cell == CL_Mch_VORN_Unit_Dec) &&
                   IsNewRowKey(call.io.Key())) {
            call.handler.Message("GI_AppMess_ChErr_Overflow", cmcMessageBox::Icon::Error);
        }
        return true;
    }

    Ctx x;
    x.w = call.W();
    x.n = call.parameter;
    x.bank = BankOf(call);
    x.s = SlotsOf(x.w, x.n);
    x.type = x.s.a[12] & 3;
    const int own = L::GroupOf(x.w, x.n);
    x.f1 = L::BankFlag(x.w, L::kBankF1, own < L::kGroups ? own : x.bank);
    x.f3 = L::BankFlag(x.w, L::kBankF3, own < L::kGroups ? own : x.bank);
    x.pmr = call.modelFamily == 1;
    x.sig = call.recordKind == datCh::kChannel2 && Bit(x.s.b[3], 3);
    datCh& r = call.record;
    const bool newRow = !IsInBank(call, x.n);

    for (const ChoiceCell& c : kChoiceCells)
        if (c.cell == call.cell)
            return RunChoice(call, x, c, result);

    switch (call.cell) {
    case CL_Mch_No:
    case CL_MchWin_No: {
        if (newRow) {
            call.io.Show(call.env.Text("GI_NewChTitle"));
        } else {
            char text[32];
            std::snprintf(text, sizeof text, "%d-%3d", x.bank + 1, x.n - L::GroupStart(x.w, x.bank) + 1);
            call.io.Show(text);
        }
        return true;
    }
    case CL_Mch_Atr: {
        if (newRow)
            return true;
        int32_t value = r.marks | r.status << 8;
        const bool two = L::BankFlag(x.w, L::kBankF1, x.bank) || L::BankFlag(x.w, L::kBankF2, x.bank) ||
                         L::BankFlag(x.w, L::kBankF3, x.bank);
        if (CC::EditMarks(call.io, call.env, value, two ? "GI_Sheet_Sel_Mch_Atr2" : "GI_Sheet_Sel_Mch_Atr")) {
            r.marks = uint8_t(value);
            r.Encode(0, x.n);
            call.scope |= 0x24;
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_FreqR:
        return RunFrequency(call, x, result, false);
    case CL_Mch_FreqT:
        return RunFrequency(call, x, result, true);
    case CL_Mch_CTone_R:
        return RunTone(call, x, result, false);
    case CL_Mch_CTone_T:
        return RunTone(call, x, result, true);
    case CL_Mch_Text: {
        cmcTextCodecs::DisplayText p;
        p.length = 8;
        cmcTextCodecs::Glyphs glyphs;
        glyphs.userPatterns = x.w + 0x12656;
        if (cmcTextCodecs::EditDisplayText(call.io, call.env, std::span<uint8_t>(x.s.a + 14, 8), p, glyphs)) {
            Changed(call);
            result = Io::kResultRefresh;
        }
        // Without a canvas to paint the display characters on (printing to text, the command line) the
        // name is shown in its editing form.
        if (!call.io.painter && call.io.displayText.empty()) {
            call.io.displayText = cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(x.s.a + 14, 8));
            while (!call.io.displayText.empty() && call.io.displayText.back() == ' ')
                call.io.displayText.pop_back();
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Scan:
    case CL_Mch_Scan_Qirs: {
        int32_t value = int32_t(r.lists);
        if (CC::EditBits(call.io, call.env, value, 1, 17, CC::BitLabels::Numeric, "")) {
            r.lists = uint32_t(value);
            r.Encode(0, x.n);
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_RxCNo2:
    case CL_Mch_RxCNo2_Ltr:
    case CL_Mch_RxCNo: {
        const bool tenBits = call.cell != CL_Mch_RxCNo && call.recordKind == datCh::kChannel1;
        int32_t value = tenBits ? int32_t(L::Get16(x.s.b, 10) >> 6) : int32_t(x.s.b[11]);
        const int last = call.cell == CL_Mch_RxCNo ? 8 : 10;
        const auto labels = call.cell == CL_Mch_RxCNo ? CC::BitLabels::Numeric : CC::BitLabels::Alphanumeric;
        if (CC::EditBits(call.io, call.env, value, 1, last, labels, "")) {
            if (tenBits)
                L::Put16(x.s.b, 10, uint32_t((value & 0x3FF) << 6 | (L::Get16(x.s.b, 10) & 0x3F)));
            else
                x.s.b[11] = uint8_t(value);
            Changed(call);
            result = Io::kResultRefresh;
        }
        const bool grey =
            call.cell == CL_Mch_RxCNo ? x.type == 3 : Holds(Cond::TwoTone, x) || (x.type == 3 && !x.f1);
        if (grey)
            call.io.SetFontColor(Io::kGrey);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Msk_RxCNo: {
        int32_t value = (x.s.b[10] & 0x7F) << 1;
        if (CC::EditBits(call.io, call.env, value, 1, 7, CC::BitLabels::Numeric, "")) {
            x.s.b[10] = uint8_t((x.s.b[10] & 0x80) | ((value >> 1) & 0x7F));
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (x.type == 3)
            call.io.SetFontColor(Io::kGrey);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_RxCNoDtmf: {
        int32_t value = x.s.b[20];
        if (CC::EditChoiceTyped(call.io, call.env, value, "GI_Sheet_Sel_Mch_DTMF_Dec")) {
            x.s.b[20] = uint8_t(value);
            x.s.b[18] = uint8_t((x.s.b[18] & ~0x20) | (value != 0 ? 0x20 : 0));
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (!x.f1)
            call.io.SetFontColor(Io::kGrey);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_SigType_Dec_Lmr:
    case CL_Mch_SigType_Dec_Pmr: {
        int32_t value = Bit(x.s.b[16], 0) ? 2 : 0;
        const char* list = x.pmr ? "GI_Sheet_Sel_Mch_SigType_Dec_Pmr" : "GI_Sheet_Sel_Mch_SigType_Dec_Lmr";
        if (CC::EditChoice(call.io, call.env, value, list)) {
            x.s.b[16] = uint8_t((x.s.b[16] & ~1) | ((value >> 1) & 1));
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (x.type == 3)
            call.io.SetFontColor(Io::kGrey);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Msk_Rpt: {
        if (Holds(Cond::MskCode, x)) {
            Dashes(call, "----");
            return true;
        }
        int32_t value = Bit(x.s.b[3], 2) ? 255 : (x.s.b[7] & 0x7F);
        const char* list = value == 255 ? "GI_Sheet_Sel_Mch_Msk_Rpt_1st_Pmr" : "GI_Sheet_Sel_Mch_Msk_Rpt_2nd";
        if (CC::EditChoiceTyped(call.io, call.env, value, list)) {
            if (value == 255) {
                x.s.b[3] |= 0x04;
            } else {
                x.s.b[3] &= uint8_t(~0x04);
                x.s.b[7] = uint8_t((x.s.b[7] & 0x80) | (value & 0x7F));
            }
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Grp_RxId:
    case CL_Grp_TxId:
    case CL_Grp_HomeRptCh:
    case CL_Grp_BlockIdStart:
    case CL_Grp_BlockIdEnd: {
        // Channels of group (LTR) banks: IDs and the home repeater in the C slot; the receive ID is
        // the key cell that creates the channel.
        if (call.cell == CL_Grp_RxId) {
            bool created = false;
            if (!CreateOnKey(call, x, created))
                return true;
            if (created)
                result = Io::kResultRefresh;
        }
        uint8_t* c = x.w + L::kChC + 6 * x.n;
        const int at = call.cell == CL_Grp_RxId           ? 0
                       : call.cell == CL_Grp_TxId         ? 1
                       : call.cell == CL_Grp_HomeRptCh    ? 2
                       : call.cell == CL_Grp_BlockIdStart ? 4
                                                          : 5;
        int32_t value = c[at];
        cmcNumberCodecs::Stepped p;
        p.minimum = call.cell == CL_Grp_TxId ? 0 : 1;
        p.maximum = call.cell == CL_Grp_HomeRptCh ? 20 : 254;
        if (cmcNumberCodecs::EditStepped(call.io, value, p)) {
            if (call.cell == CL_Grp_RxId && c[1] == c[0])
                c[1] = uint8_t(value);
            c[at] = uint8_t(value);
            Changed(call);
            call.scope |= cmcCellCapsule::kScopeRecord;
            result = Io::kResultRefresh;
        }
        if (call.cell == CL_Grp_TxId && c[1] == c[0] && call.io.result != Io::kResultEdit)
            call.io.displayText = "<-";
        if (call.cell == CL_Grp_RxId && c[0] == 0 && call.io.result != Io::kResultEdit)
            call.io.displayText.clear();
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Grp_TxInh:
    case CL_Grp_PhonePriv:
    case CL_Grp_BlockIdEnable: {
        uint8_t& c3 = x.w[L::kChC + 6 * x.n + 3];
        const int bit = call.cell == CL_Grp_TxInh ? 7 : call.cell == CL_Grp_PhonePriv ? 6 : 5;
        int32_t value = (c3 >> bit) & 1;
        const char* list = call.cell == CL_Grp_TxInh       ? "GI_Sheet_Sel_Mch_CH_TxInh"
                           : call.cell == CL_Grp_PhonePriv ? "GI_Sheet_Sel_Misc_Enable2"
                                                           : "GI_Sheet_Sel_Misc_OnOff_I";
        if (CC::EditChoice(call.io, call.env, value, list)) {
            c3 = uint8_t((c3 & ~(1 << bit)) | ((value & 1) << bit));
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Nxdn_RxNac:
    case CL_Mch_Nxdn_TxNac:
        RunPairStep(call, x, result, call.cell == CL_Mch_Nxdn_TxNac, 22, 24, true);
        if (x.type == 0)
            call.io.SetFontColor(Io::kGrey);
        if (L::Get16(x.s.a, call.cell == CL_Mch_Nxdn_TxNac ? 24 : 22) > 63)
            call.capsule.stateBits |= cmcCellCapsule::kStateError;
        return true;
    case CL_Mch_Dpmr_RxCc:
    case CL_Mch_Dpmr_TxCc:
        if (x.type == 0) {
            Dashes(call, "----");
            return true;
        }
        RunPairStep(call, x, result, call.cell == CL_Mch_Dpmr_TxCc, 26, 27, false);
        if (x.s.a[call.cell == CL_Mch_Dpmr_TxCc ? 27 : 26] > 63)
            call.capsule.stateBits |= cmcCellCapsule::kStateError;
        return true;
    case CL_Mch_Nxdn_Unit_Dec: {
        if (!Bit(x.w[0x184FF], 7)) {
            int32_t value = r.b14;
            cmcNumberCodecs::Stepped p;
            p.minimum = 1;
            p.maximum = call.unitIdMax;
            if (cmcNumberCodecs::EditStepped(call.io, value, p)) {
                L::Put16(x.s.b, 14, uint32_t(value));
                Changed(call);
                result = Io::kResultRefresh;
            }
        } else {
            char text[32];
            if (Bit(x.w[0x184FF], 5))
                std::snprintf(text, sizeof text, "%d****", int(L::Get16(x.w, 0x184E5)));
            else
                std::snprintf(text, sizeof text, "%d", int(L::Get16(x.w, 0x184E7)));
            call.io.Show(text);
        }
        if (x.type == 0)
            call.io.SetFontColor(Io::kGrey);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_VORN_Unit_Dec: {
        bool created = false;
        if (!CreateOnKey(call, x, created))
            return true;
        const int32_t k = call.io.Key();
        if (Bit(x.w[0x19BD8], 6)) {
            char text[32];
            if (Bit(x.w[0x19BD8], 5))
                std::snprintf(text, sizeof text, "%d***", int(L::Get16(x.w, 0x19BDD)));
            else
                std::snprintf(text, sizeof text, "%d", int(L::Get16(x.w, 0x19BDF)));
            call.io.Show(text);
            const bool sets = k == Io::kKeySpace || k == Io::kKeyBackspace || (k >= '0' && k <= '9') ||
                              (!created && (k == '.' || k == Io::kKeyReturn));
            if (sets && L::Get16(x.s.d, 2) != 1) {
                L::Put16(x.s.d, 2, 1);
                Changed(call);
                call.handler.Post(cmcEv::RedrawAll);
                result = Io::kResultRefresh;
            }
            return true;
        }
        int32_t value = L::Get16(x.s.d, 2);
        cmcNumberCodecs::Stepped p;
        p.minimum = 0;
        p.maximum = 2000;
        if (cmcNumberCodecs::EditStepped(call.io, value, p) && value != 0) {
            L::Put16(x.s.d, 2, uint32_t(value));
            Changed(call);
            call.handler.Post(cmcEv::RedrawAll);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Nxdn_Ind_List:
    case CL_Mch_VORN_Ind_List: {
        const bool vorn = call.cell == CL_Mch_VORN_Ind_List;
        RunListRef(call, x, result, r.b12, vorn ? "GI_Sheet_Sel_IndList_VORN" : "GI_Sheet_Sel_IndList",
                   vorn ? 21 : 19);
        const bool f1 = L::BankFlag(x.w, L::kBankF1, x.bank), f3 = L::BankFlag(x.w, L::kBankF3, x.bank);
        const bool applies = vorn ? (f3 && !f1) : (!f3 && !f1);
        // Only channels that call through the list can point past its end: an analogue channel keeps
        // the default reference even while the list is empty, and that is no error.
        const bool usesList = vorn || x.type >= 2;
        if (applies && usesList && (r.status & datCh::kInUse) && r.b12 >= ListCount(x.w, vorn ? 28 : 18))
            call.capsule.stateBits |= cmcCellCapsule::kStateError;
        if (!vorn && x.type < 2)
            call.io.SetFontColor(Io::kGrey);
        return true;
    }
    case CL_Mch_Nxdn_TG_List:
        RunListRef(call, x, result, r.b22, "GI_Sheet_Sel_TGList", 20);
        if (x.type == 0)
            call.io.SetFontColor(Io::kGrey);
        return true;
    case CL_Mch_VORN_TG_List:
        return RunListRef(call, x, result, r.d0, "GI_Sheet_Sel_TGList_VORN", 22);
    case CL_Mch_Dpmr_Call_List:
    case CL_Mch_Dpmr_TG_List: {
        const bool tg = call.cell == CL_Mch_Dpmr_TG_List;
        if (tg ? x.type == 0 : x.type < 2) {
            Dashes(call, "----");
            return true;
        }
        uint16_t& field = tg ? r.b30 : r.b28;
        int32_t value = field;
        if (CC::EditChoice(call.io, call.env, value,
                           tg ? "GI_Sheet_Sel_CallList_Grp" : "GI_Sheet_Sel_CallList", tg ? 25 : 23)) {
            field = uint16_t(value);
            r.Encode(0, x.n);
            Changed(call);
            result = Io::kResultRefresh;
        }
        call.io.Show(std::to_string(int(field) + 1) + ": " + BcdDigits(x.w, field));
        if (int(field) >= ListCount(x.w, 31) && (r.status & datCh::kInUse) && tg)
            call.capsule.stateBits |= cmcCellCapsule::kStateError;
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Dpmr_Unit_Dec: {
        if (x.type == 0) {
            Dashes(call, "----");
            return true;
        }
        std::span<uint8_t> id(x.s.b + 24, 4);
        std::string shown;
        if (Bit(x.w[0x1F677], 7)) {
            shown = cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(x.w + 0x1F65D, 4), 7);
            call.io.Show(shown);
        } else {
            if (cmcDigitCodecs::EditBcdId(call.io, id, 7, "0000001", "9999999", true)) {
                Changed(call);
                result = Io::kResultRefresh;
            }
            shown = cmcDigitCodecs::BcdIdText(id, 7);
        }
        const std::string limit = cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(x.w + 0x1F661, 4), 7);
        // An unset limit (all digits 0) limits nothing.
        if (limit != "0000000" && shown >= limit)
            call.capsule.stateBits |= cmcCellCapsule::kStateError;
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    case CL_Mch_Dpmr_Encryption_No: {
        if (x.type == 0) {
            Dashes(call, "----");
            return true;
        }
        int32_t value = x.s.b[32];
        if (CC::EditChoiceTyped(call.io, call.env, value, "GI_Sheet_Sel_Dpmr_EncryptionList")) {
            x.s.b[32] = uint8_t(value);
            Changed(call);
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultEdit && value >= 0 && value < 32) {
            char text[16];
            std::snprintf(text, sizeof text, ": %5d", int(L::Get16(x.w, 0x1FDF5 + 2 * value)));
            call.io.displayText += text;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    default:
        break;
    }
    return false;
}

#include "model/indMdcCells.h"

#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <cstdio>
#include <iterator>
#include <span>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

constexpr int32_t kSets = 5;
constexpr int32_t kTexts = 16; // status and message texts per set
constexpr int32_t kTextEntry = 9;

// The MDC tables: one entry per set (status and message lists: 16 entries of 9 bytes per set). The
// radio data gives them no field layout; the cells place their fields as the rows below say.
enum Set {
    System,
    General,
    SelCall,
    CallAlert,
    RadioChk,
    Emg,
    PttId,
    Stun,
    Revive,
    Status,
    Message,
    StatusList,
    MessageList,
    SystemAlias,
};
struct SetTable {
    int32_t at;
    int32_t size;
    const char* caption; // row caption format, or null
};
constexpr SetTable kTables[] = {
    {L::SlotAddress(indTable::kMdcSystems), 10, "Sys %d"},    // 46: the sets each system uses, one byte each
    {L::SlotAddress(indTable::kMdcGeneral), 20, "Gen %d"},    // 47
    {L::SlotAddress(indTable::kMdcSelCall), 8, "SelC %d"},    // 49
    {L::SlotAddress(indTable::kMdcCallAlert), 12, nullptr},   // 50
    {L::SlotAddress(indTable::kMdcRadioCheck), 6, "RdoC %d"}, // 51
    {L::SlotAddress(indTable::kMdcEmergency), 18, "Emg %d"},  // 53
    {L::SlotAddress(indTable::kMdcPttId), 6, "PTT %d"},       // 54
    {L::SlotAddress(indTable::kMdcStun), 8, "STUN %d"},       // 48
    {L::SlotAddress(indTable::kMdcRevive), 8, nullptr},       // 52
    {L::SlotAddress(indTable::kMdcStatusSettings), 10, nullptr},  // 55: status settings
    {L::SlotAddress(indTable::kMdcMessageSettings), 10, nullptr}, // 56: message settings
    {L::SlotAddress(indTable::kMdcStatusTexts), 144, nullptr},    // 59: 16 status texts per set
    {L::SlotAddress(indTable::kMdcMessageTexts), 144, nullptr},   // 60: 16 message texts per set
    {indDigitalExtras::kMdcSystemAlias, 1, nullptr}, // the model's area: a system's use of the aliases
};

enum class Kind {
    Caption, // the row caption of the set
    Number,  // row number within a text list
    Bit,     // one bit through a choice list
    Choice,  // a byte through a choice list
    Hex,     // a 16-bit ID, four hexadecimal digits
    Time,    // a byte of tenths of a second
    Count,   // a small count, stepped within 0..max
    Text,    // eight characters
};

struct MdcCell {
    int32_t cell;
    Set set;
    Kind kind;
    int32_t at = 0;             // entry byte
    uint8_t bit = 0;            // Bit: the bit
    const char* list = nullptr; // Bit, Choice
    int32_t max = 15;           // Count
};

constexpr const char* kEnable = "GI_Sheet_Sel_Misc_Enable";

constexpr MdcCell kCells[] = {
    {CL_Mdc_System_List_Text, System, Kind::Caption},
    {CL_Mdc_System_List_General, System, Kind::Choice, 0, 0, "GI_Sheet_Sel_Mdc_System_General_List"},
    {CL_Mdc_System_List_Selcall, System, Kind::Choice, 1, 0, "GI_Sheet_Sel_Mdc_System_Selcall_List"},
    {CL_Mdc_System_List_RadioChk, System, Kind::Choice, 2, 0, "GI_Sheet_Sel_Mdc_System_RadioChk_List"},
    {CL_Mdc_System_List_Emg, System, Kind::Choice, 3, 0, "GI_Sheet_Sel_Mdc_System_Emg_List"},
    {CL_Mdc_System_List_PttId, System, Kind::Choice, 4, 0, "GI_Sheet_Sel_Mdc_System_PttId_List"},
    {CL_Mdc_System_List_Stun, System, Kind::Choice, 5, 0, "GI_Sheet_Sel_Mdc_System_Stun_List"},
    {CL_Mdc_System_List_Status, System, Kind::Choice, 6, 0, "GI_Sheet_Sel_Mdc_System_Status_List"},
    {CL_Mdc_System_List_Message, System, Kind::Choice, 7, 0, "GI_Sheet_Sel_Mdc_System_Message_List"},
    {CL_Mdc_System_List_CallAlert, System, Kind::Choice, 8, 0, "GI_Sheet_Sel_Mdc_System_CallAlert_List"},
    {CL_Mdc_System_List_Revive, System, Kind::Choice, 9, 0, "GI_Sheet_Sel_Mdc_System_Revive_List"},
    // Table 46 has a byte for each of the ten kinds of set; whether the system uses the alias list is
    // bit 0 of its byte in the model's area.
    {CL_Mdc_System_List_Alias, SystemAlias, Kind::Bit, 0, 0, kEnable},

    {CL_Mdc_General_Text, General, Kind::Caption},
    {CL_Mdc_General_Mdc_On, General, Kind::Bit, 0, 7, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Mdc_General_Mute_MSK, General, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_General_Tones_Req, General, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_General_Log_Enabled, General, Kind::Bit, 0, 4, kEnable},
    {CL_Mdc_General_Self_Id, General, Kind::Hex, 1},
    {CL_Mdc_General_Group_Id, General, Kind::Hex, 3},
    {CL_Mdc_General_Initial_Tx_Delay, General, Kind::Time, 5},
    {CL_Mdc_General_10key_Timeout, General, Kind::Time, 6},
    {CL_Mdc_General_Menu_Timeout, General, Kind::Time, 7},
    {CL_Mdc_General_Rx_Sync_Threshold, General, Kind::Count, 8},
    {CL_Mdc_General_Tx_Sync_Retry, General, Kind::Count, 9},
    {CL_Mdc_General_DOS_Time, General, Kind::Time, 10},
    {CL_Mdc_General_Coast_Time, General, Kind::Time, 11},
    {CL_Mdc_General_Auto_Reset, General, Kind::Time, 12},
    {CL_Mdc_General_Mute_Type, General, Kind::Count, 13, 0, nullptr, 3},
    {CL_Mdc_General_Log_Action_Type, General, Kind::Count, 14, 0, nullptr, 3},
    {CL_Mdc_Conv_Time, General, Kind::Time, 15},

    {CL_Mdc_SelCall_Text, SelCall, Kind::Caption},
    {CL_Mdc_SelCall_Rx, SelCall, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_SelCall_Tx, SelCall, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_SelCall_Show_Icon, SelCall, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_SelCall_RT_Beep, SelCall, Kind::Bit, 0, 4, kEnable},
    {CL_Mdc_SelCall_Rx_Log, SelCall, Kind::Bit, 0, 3, kEnable},
    {CL_Mdc_SelCall_EXO_Out, SelCall, Kind::Bit, 0, 2, kEnable},
    {CL_Mdc_SelCall_BeepType, SelCall, Kind::Choice, 1, 0, "GI_Sheet_Sel_MDC_Beep_Type"},
    {CL_Mdc_SelCall_Disp_Time, SelCall, Kind::Time, 2},
    {CL_Mdc_SelCall_AUX, SelCall, Kind::Choice, 3, 0, "GI_Sheet_Sel_RxC_Aux"},

    {CL_Mdc_CallAlert_Rx, CallAlert, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_CallAlert_Tx, CallAlert, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_CallAlert_Show_Icon, CallAlert, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_CallAlert_Request_Ack, CallAlert, Kind::Bit, 0, 4, kEnable},
    {CL_Mdc_CallAlert_Rx_Log, CallAlert, Kind::Bit, 0, 3, kEnable},
    {CL_Mdc_CallAlert_EXO_Out, CallAlert, Kind::Bit, 0, 2, kEnable},
    {CL_Mdc_CallAlert_Beep_Type, CallAlert, Kind::Choice, 1, 0, "GI_Sheet_Sel_MDC_Beep_Type"},
    {CL_Mdc_CallAlert_Beep_Length, CallAlert, Kind::Time, 2},
    {CL_Mdc_CallAlert_Num_Retry, CallAlert, Kind::Count, 3},
    {CL_Mdc_CallAlert_Ack_Wait, CallAlert, Kind::Time, 4},
    {CL_Mdc_CallAlert_Ack_Delay, CallAlert, Kind::Time, 5},
    {CL_Mdc_CallAlert_Display_Time, CallAlert, Kind::Time, 6},
    {CL_Mdc_CallAlert_AUX, CallAlert, Kind::Choice, 7, 0, "GI_Sheet_Sel_RxC_Aux"},

    {CL_Mdc_RadioChk_Text, RadioChk, Kind::Caption},
    {CL_Mdc_RadioChk_Rx, RadioChk, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_RadioChk_Tx, RadioChk, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_RadioChk_Num_Retry, RadioChk, Kind::Count, 1},
    {CL_Mdc_RadioChk_Ack_Wait, RadioChk, Kind::Time, 2},
    {CL_Mdc_RadioChk_Ack_Delay, RadioChk, Kind::Time, 3},
    {CL_Mdc_RadioChk_Disp_Time, RadioChk, Kind::Time, 4},

    {CL_Mdc_Emg_Text, Emg, Kind::Caption},
    {CL_Mdc_Emg_Rx, Emg, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_Emg_Tx, Emg, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_Emg_No_Disp, Emg, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_Emg_Ignore_Other, Emg, Kind::Bit, 0, 4, kEnable},
    {CL_Mdc_Emg_BacklightUpdate, Emg, Kind::Bit, 0, 3, kEnable},
    {CL_Mdc_Emg_Rx_Log, Emg, Kind::Bit, 0, 2, kEnable},
    {CL_Mdc_Emg_Rx_Send_Ack, Emg, Kind::Bit, 0, 1, kEnable},
    {CL_Mdc_Emg_EXO_Out, Emg, Kind::Bit, 0, 0, kEnable},
    {CL_Mdc_Emg_Status_No, Emg, Kind::Count, 1},
    {CL_Mdc_Emg_Cnt_Beep, Emg, Kind::Count, 2},
    {CL_Mdc_Emg_Beep_Type, Emg, Kind::Choice, 3, 0, "GI_Sheet_Sel_MDC_Beep_Type"},
    {CL_Mdc_Emg_No_Polite, Emg, Kind::Count, 4},
    {CL_Mdc_Emg_No_Impolite, Emg, Kind::Count, 5},
    {CL_Mdc_Emg_Beep_Time, Emg, Kind::Time, 6},
    {CL_Mdc_Emg_Disp_Time, Emg, Kind::Time, 7},
    {CL_Mdc_Emg_Ack_Wait, Emg, Kind::Time, 8},
    {CL_Mdc_Emg_Free_Wait, Emg, Kind::Time, 9},
    {CL_Mdc_Emg_Cycle_Delay, Emg, Kind::Time, 10},
    {CL_Mdc_Emg_Open_Mic_Duration, Emg, Kind::Time, 11},
    {CL_Mdc_Emg_No_Cycles, Emg, Kind::Count, 12},
    {CL_Mdc_Emg_AUX, Emg, Kind::Choice, 13, 0, "GI_Sheet_Sel_RxC_Aux"},
    {CL_Mdc_Emg_Ack_Delay, Emg, Kind::Time, 14},

    {CL_Mdc_PttId_Text, PttId, Kind::Caption},
    {CL_Mdc_PttId_Rx, PttId, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_PttId_Tx, PttId, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_PttId_Pttid_Dwn, PttId, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_PttId_Pttid_Up, PttId, Kind::Bit, 0, 4, kEnable},
    {CL_Mdc_PttId_Rt_Beep, PttId, Kind::Bit, 0, 3, kEnable},
    {CL_Mdc_PttId_Cu_Beep, PttId, Kind::Bit, 0, 2, kEnable},
    {CL_Mdc_PttId_Pre_Time, PttId, Kind::Time, 1},
    {CL_Mdc_PttId_Post_Time, PttId, Kind::Time, 2},

    {CL_Mdc_Stun_Text, Stun, Kind::Caption},
    {CL_Mdc_Stun_Rx, Stun, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_Stun_Tx, Stun, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_Stun_No_Retry, Stun, Kind::Count, 1},
    {CL_Mdc_Stun_Ack_Wait, Stun, Kind::Time, 2},
    {CL_Mdc_Stun_Disp_Time, Stun, Kind::Time, 3},
    {CL_Mdc_Stun_Ack_Delay, Stun, Kind::Time, 4},

    {CL_Mdc_Revive_Rx, Revive, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_Revive_Tx, Revive, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_Revive_No_Retry, Revive, Kind::Count, 1},
    {CL_Mdc_Revive_Ack_Delay, Revive, Kind::Time, 2},
    {CL_Mdc_Revive_Ack_Wait, Revive, Kind::Time, 3},
    {CL_Mdc_Revive_Ack_Disp_Time, Revive, Kind::Time, 4},

    {CL_Mdc_Status_Rx, Status, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_Status_Tx_Ack, Status, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_Status_Poll_Tx, Status, Kind::Bit, 0, 5, kEnable},
    {CL_Mdc_Status_Num_Retry, Status, Kind::Count, 1},
    {CL_Mdc_Status_Ack_Time, Status, Kind::Time, 2},
    {CL_Mdc_Status_Ack_Wait, Status, Kind::Time, 3},
    {CL_Mdc_Status_Disp_Time, Status, Kind::Time, 4},

    {CL_Mdc_Msg_RX, Message, Kind::Bit, 0, 7, kEnable},
    {CL_Mdc_Msg_TX, Message, Kind::Bit, 0, 6, kEnable},
    {CL_Mdc_Msg_No_Retry, Message, Kind::Count, 1},
    {CL_Mdc_Msg_Ack_Time, Message, Kind::Time, 2},
    {CL_Mdc_Msg_Ack_Wait, Message, Kind::Time, 3},
    {CL_Mdc_Msg_Disp_Time, Message, Kind::Time, 4},

    // Status and message texts: parameter = set * 16 + text; text (8), then the option bits.
    {CL_Mdc_Status_Num, StatusList, Kind::Number},
    {CL_Mdc_Status_Text, StatusList, Kind::Text, 0},
    {CL_Mdc_Status_Ack, StatusList, Kind::Bit, 8, 7, kEnable},
    {CL_Mdc_Status_Strip, StatusList, Kind::Bit, 8, 6, kEnable},
    {CL_Mdc_Status_On_Pwr_Up, StatusList, Kind::Bit, 8, 5, kEnable},
    {CL_Mdc_Status_Enabled, StatusList, Kind::Bit, 8, 4, kEnable},
    {CL_Mdc_Status_Tx, StatusList, Kind::Bit, 8, 3, kEnable},
    {CL_Mdc_Msg_Num, MessageList, Kind::Number},
    {CL_Mdc_Msg_Text, MessageList, Kind::Text, 0},
    {CL_Mdc_Msg_Request_Ack, MessageList, Kind::Bit, 8, 7, kEnable},
    {CL_Mdc_Msg_Strip_Tones, MessageList, Kind::Bit, 8, 6, kEnable},
    {CL_Mdc_Msg_Enabled, MessageList, Kind::Bit, 8, 5, kEnable},
};

static_assert(std::size(kTables) == SystemAlias + 1);

// Every field lies inside its entry.
constexpr bool FieldsFit() {
    for (const MdcCell& c : kCells) {
        const int32_t size = c.set == StatusList || c.set == MessageList ? kTextEntry : kTables[c.set].size;
        if (c.at + (c.kind == Kind::Hex ? 2 : c.kind == Kind::Text ? 8 : 1) > size)
            return false;
    }
    return true;
}
static_assert(FieldsFit());

const MdcCell* CellOf(int32_t cell) {
    for (const MdcCell& c : kCells)
        if (c.cell == cell)
            return &c;
    return nullptr;
}

std::string Format(const char* format, int32_t n) {
    char text[32];
    const int len = std::snprintf(text, sizeof text, format, n);
    return std::string(text, len > 0 ? size_t(len) : 0);
}

} // namespace

bool indMdcCells::StorageOf(int32_t cell, int32_t parameter, int32_t& offset, int32_t& size) {
    const MdcCell* c = CellOf(cell);
    if (!c)
        return false;
    const bool list = c->set == StatusList || c->set == MessageList;
    const int32_t n = parameter;
    if (n < 0 || n >= (list ? kSets * kTexts : kSets))
        return false;
    const SetTable& t = kTables[c->set];
    offset = t.at + (list ? t.size * (n / kTexts) + kTextEntry * (n % kTexts) : t.size * n);
    size = list ? kTextEntry : t.size;
    return true;
}

bool indMdcCells::Handle(indCellCall& call, int32_t& result) {
    const MdcCell* c = CellOf(call.cell);
    if (!c)
        return false;
    const bool list = c->set == StatusList || c->set == MessageList;
    const int32_t n = call.parameter;
    Io& io = call.io;
    if (n < 0 || n >= (list ? kSets * kTexts : kSets)) {
        io.displayText.clear();
        return true;
    }
    const SetTable& t = kTables[c->set];
    uint8_t* e = call.W() + t.at + (list ? t.size * (n / kTexts) + kTextEntry * (n % kTexts) : t.size * n);
    bool changed = false;
    switch (c->kind) {
    case Kind::Caption:
        io.Show(Format(t.caption ? t.caption : "%d", n + 1));
        return true;
    case Kind::Number:
        io.Show(Format("%d", n % kTexts + 1));
        return true;
    case Kind::Bit: {
        int32_t v = (e[c->at] >> c->bit) & 1;
        changed = cmcChoiceCodecs::EditChoice(io, call.env, v, c->list);
        if (changed)
            e[c->at] = uint8_t((e[c->at] & ~(1 << c->bit)) | (v & 1) << c->bit);
        break;
    }
    case Kind::Choice: {
        int32_t v = e[c->at];
        changed = cmcChoiceCodecs::EditChoice(io, call.env, v, c->list);
        if (changed)
            e[c->at] = uint8_t(v);
        break;
    }
    case Kind::Hex: {
        int32_t v = L::Get16(e, c->at);
        changed = cmcDigitCodecs::EditHex(io, v, 0, 0xFFFF, 4);
        if (changed)
            L::Put16(e, c->at, uint32_t(v));
        break;
    }
    case Kind::Time: {
        cmcNumberCodecs::FixedPoint p;
        p.storedDecimals = 1;
        p.shownDecimals = 1;
        p.minimum = 0;
        p.maximum = 25.5;
        p.stepping = true;
        int32_t v = e[c->at];
        changed = cmcNumberCodecs::EditFixedPoint(io, v, p);
        if (changed)
            e[c->at] = uint8_t(v);
        break;
    }
    case Kind::Count: {
        cmcNumberCodecs::Stepped p;
        p.minimum = 0;
        p.maximum = c->max;
        p.clamp = true;
        int32_t v = e[c->at];
        changed = cmcNumberCodecs::EditStepped(io, v, p);
        if (changed)
            e[c->at] = uint8_t(v);
        break;
    }
    case Kind::Text:
        changed = cmcTextCodecs::EditText(io, std::span<uint8_t>(e + c->at, 8), cmcTextCodecs::Fill::Spaces);
        break;
    }
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (io.result != Io::kResultNone)
        result = io.result;
    return true;
}

bool indMdcCells::Serves(int32_t cell) {
    return CellOf(cell) != nullptr;
}

#include "model/indKeyCells.h"
#include "model/indMchCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "cells/cmcNumberCodecs.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"
#include "model/indSettingTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Io = cmcCodecIo;
using CC = cmcChoiceCodecs;
using Kind = indKeyRow::Kind;
namespace A = indKeysArea;

constexpr int32_t kExtras = indMap::SlotAddress(indTable::kModelExtras);
constexpr int32_t Extra(int32_t n) {
    return kExtras + n;
}

// The key functions the model fixes (the dial is the channel selector).
constexpr int8_t kChannelUp = 3;
constexpr int8_t kChannelDown = 4;

// The keys in the order of their bytes; the external emergency input has an active level.
constexpr std::array<int32_t, A::kKeys> kConvKeys = {
    CL_KDisp_Key_Conv_RightUp, CL_KDisp_Key_Conv_RightDn, CL_KDisp_Key_Conv_LeftUp, CL_KDisp_Key_Conv_LeftDn,
    CL_KDisp_Key_Conv_DialCw,  CL_KDisp_Key_Conv_DialCcw, CL_KDisp_Key_Conv_P0,     CL_KDisp_Key_Conv_P1,
    CL_KDisp_Key_Conv_P2,      CL_KDisp_Key_Conv_P3,      CL_KDisp_Key_Conv_P4,     CL_KDisp_Key_Conv_Opf0,
    CL_KDisp_Key_Conv_Opf1,    CL_KDisp_Key_Conv_Opf2,    CL_KDisp_Key_Conv_ExtEmr,
};
constexpr std::array<int32_t, A::kKeys> kShiftKeys = {
    CL_KDisp_Key_Shift_RightUp, CL_KDisp_Key_Shift_RightDn, CL_KDisp_Key_Shift_LeftUp,
    CL_KDisp_Key_Shift_LeftDn,  CL_KDisp_Key_Shift_DialCw,  CL_KDisp_Key_Shift_DialCcw,
    CL_KDisp_Key_Shift_P0,      CL_KDisp_Key_Shift_P1,      CL_KDisp_Key_Shift_P2,
    CL_KDisp_Key_Shift_P3,      CL_KDisp_Key_Shift_P4,      CL_KDisp_Key_Shift_Opf0,
    CL_KDisp_Key_Shift_Opf1,    CL_KDisp_Key_Shift_Opf2,    CL_KDisp_Key_Shift_ExtEmr,
};
constexpr int kDialCw = 4, kDialCcw = 5, kExtEmr = 14;

constexpr indKeyRow Key(int32_t cell, int32_t byte, int index, bool shifted) {
    indKeyRow r;
    r.cell = cell;
    r.kind = Kind::Key;
    r.at = Extra(byte + index);
    r.hasOption = index == kExtEmr;
    if (!shifted && index == kDialCw)
        r.fixed = kChannelUp;
    if (!shifted && index == kDialCcw)
        r.fixed = kChannelDown;
    return r;
}

constexpr indKeyRow Other(int32_t cell, Kind kind, int32_t byte) {
    indKeyRow r;
    r.cell = cell;
    r.kind = kind;
    r.at = Extra(byte);
    return r;
}

constexpr std::array<indKeyRow, 2 * A::kKeys + 4> BuildRows() {
    std::array<indKeyRow, 2 * A::kKeys + 4> rows{};
    for (int i = 0; i < A::kKeys; ++i) {
        rows[size_t(i)] = Key(kConvKeys[size_t(i)], A::kConvKeys, i, false);
        rows[size_t(A::kKeys + i)] = Key(kShiftKeys[size_t(i)], A::kShiftKeys, i, true);
    }
    rows[2 * A::kKeys] = Other(CL_Comm_UserPassword, Kind::Password, A::kUserPassword);
    rows[2 * A::kKeys + 1] = Other(CL_Comm_DealerPasscode, Kind::Password, A::kDealerPasscode);
    rows[2 * A::kKeys + 2] = Other(CL_Exp_UserCtcss, Kind::UserTone, A::kUserTone);
    rows[2 * A::kKeys + 3] = Other(CL_ExtPort_ChSW_Table_MoveCH, Kind::Channel, A::kMoveChannel);
    return rows;
}
constexpr std::array<indKeyRow, 2 * A::kKeys + 4> kRows = BuildRows();

std::string Upper(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ')
            out += char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A key: its function from the key list and, where the key has one, its high/low option. Enter opens
// the function list, space and backspace step the function, "H" and "L" (typed or as keys) and the
// option list ("/") set the option. A fixed key shows its function in olive and takes no printable
// key; Enter opens its option list when it has one.
bool RunKey(indCellCall& call, const indKeyRow& row) {
    Io& io = call.io;
    uint8_t& byte = call.W()[row.at];
    const bool fixed = row.fixed != indKeyRow::kFree;
    int32_t function = fixed ? row.fixed : byte & A::kKeyFunction;
    bool high = (byte & A::kKeyHigh) != 0;
    bool changed = false;
    const int32_t k = io.Key();
    if (io.linked) {
        if (!fixed && io.Chose(CC::kFlex0)) {
            function = io.chosenParam;
            changed = true;
        } else if (row.hasOption && io.Chose(CC::kFlexKeyOpt)) {
            high = io.chosenParam != 0;
            changed = true;
        }
    } else if (io.editState == Io::kEntered) {
        const std::string typed = Upper(io.enteredText);
        if (row.hasOption && (typed == "H" || typed == "HIGH" || typed == "L" || typed == "LOW")) {
            high = typed[0] == 'H';
            changed = true;
        } else if (!fixed && !typed.empty()) {
            // A function typed by its text.
            const cmcChoiceList& list = call.env.Lists()->List(indKeyCells::kKeyList, CC::kFlex0);
            for (const cmcChoiceList::Entry& e : list.ByPosition())
                if (Upper(e.text) == typed) {
                    function = e.value;
                    changed = true;
                }
        }
        if (!changed)
            io.Refuse(Io::kRefuseList);
    } else if (row.hasOption && (k == 'H' || k == 'h' || k == 'L' || k == 'l') && !fixed) {
        high = k == 'H' || k == 'h';
        changed = true;
    } else if (row.hasOption && ((k == '/' && !fixed) || (k == Io::kKeyReturn && fixed))) {
        if (cmcCellWindows* windows = call.env.Windows())
            windows->OpenList(io.capsule, indKeyCells::kOptionList, CC::kFlexKeyOpt, high ? 1 : 0);
        io.result = Io::kResultRefresh;
    } else if (!fixed) {
        changed = CC::EditChoice(io, call.env, function, indKeyCells::kKeyList);
    }
    if (io.result != Io::kResultEdit) {
        const std::string_view text =
            call.env.Lists()->List(indKeyCells::kKeyList, CC::kFlex0).TextOfValue(function);
        io.Show(CC::KeyOptionText(text, row.hasOption, high));
    }
    if (fixed)
        io.SetFontColor(Io::kOlive);
    const uint8_t now = static_cast<uint8_t>((function & A::kKeyFunction) | (high ? A::kKeyHigh : 0));
    if (!changed || function < 0 || function > A::kKeyFunction || now == byte)
        return false;
    byte = now;
    return true;
}

// A password the radio asks for: never shown, only whether one is set. Enter or space opens the
// password dialog; a typed text is taken by the same rule: up to 16 characters and not blanks only,
// or nothing, which removes the password.
bool RunPassword(indCellCall& call, const indKeyRow& row) {
    Io& io = call.io;
    uint8_t* field = call.W() + row.at;
    std::string typed;
    bool entered = false;
    const int32_t k = io.Key();
    if (io.editState == Io::kEntered) {
        typed = io.enteredText;
        entered = true;
    } else if (!io.linked && (k == Io::kKeyReturn || k == Io::kKeySpace)) {
        cmcCellWindows* windows = call.env.Windows();
        entered = windows && windows->AskPassword(io.capsule, typed);
        io.result = Io::kResultRefresh;
    }
    const bool printable = std::all_of(typed.begin(), typed.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) <= 126;
    });
    const bool blanks = !typed.empty() && typed.find_first_not_of(' ') == std::string::npos;
    bool changed = false;
    if (entered && typed.size() > size_t(A::kPasswordLength))
        io.Refuse(Io::kRefuseLength, {std::to_string(A::kPasswordLength)});
    if (entered && printable && !blanks && typed.size() <= size_t(A::kPasswordLength)) {
        for (int32_t i = 0; i < A::kPasswordLength; ++i) {
            const uint8_t b = size_t(i) < typed.size() ? static_cast<uint8_t>(typed[size_t(i)]) : 0;
            changed = changed || field[i] != b;
            field[i] = b;
        }
    }
    const bool set = std::any_of(field, field + A::kPasswordLength, [](uint8_t b) { return b != 0; });
    io.Show(set ? "********" : "[Input the password]");
    return changed;
}

// The user CTCSS frequency in 0.1 Hz, 0 for off (shown with the off text, typed as "OFF").
bool RunUserTone(indCellCall& call, const indKeyRow& row) {
    Io& io = call.io;
    uint8_t* w = call.W();
    int32_t value = indLayout::Get16(w, row.at);
    bool changed = false;
    const std::string typed = Upper(io.enteredText);
    if (io.editState == Io::kEntered && typed.size() > 1 && typed.compare(0, 2, "OF") == 0) {
        changed = value != 0;
        value = 0;
        io.Show(call.env.Text(cmcNumberCodecs::kTimerOffKey));
    } else {
        cmcNumberCodecs::FixedPoint p;
        p.storedDecimals = 1;
        p.shownDecimals = 1;
        p.minimum = indKeyCells::kUserToneMin / 10.0;
        p.maximum = indKeyCells::kUserToneMax / 10.0;
        p.stepping = true;
        changed = cmcNumberCodecs::EditFixedPoint(io, value, p);
        if (value == 0 && io.result == Io::kResultNone)
            io.Show(call.env.Text(cmcNumberCodecs::kTimerOffKey));
    }
    if (!changed || value == indLayout::Get16(w, row.at))
        return false;
    indLayout::Put16(w, row.at, uint32_t(value));
    return true;
}

// The channel the channel switch moves to: a channel reference picked bank first, then channel.
bool RunChannel(indCellCall& call, const indKeyRow& row) {
    uint8_t& byte = call.W()[row.at];
    int32_t value = byte;
    CC::ChannelLists lists;
    lists.bankList = indKeyCells::kMoveBankList;
    lists.banks = indMchCells::BankLayoutOf(call.W());
    // Stepping passes over channel slots that no bank holds.
    const auto banks = lists.banks;
    const bool changed = CC::EditChannelRef(call.io, call.env, value, lists,
                                            [banks](int32_t n) { return banks.BankOf(n) < 0; });
    if (!changed || value < 0 || value > CC::kNoChannel || value == byte)
        return false;
    byte = static_cast<uint8_t>(value);
    return true;
}

// The bytes a row uses.
int32_t LengthOf(const indKeyRow& row) {
    switch (row.kind) {
    case Kind::Password:
        return A::kPasswordLength;
    case Kind::UserTone:
        return 2;
    default:
        return 1;
    }
}

// The port pins in the order of their function bytes, with their direction and logic cells.
struct PortPin {
    int32_t function, direction, logic;
};
constexpr std::array<PortPin, indKeyCells::kPins> kPortPins = {{
    {CL_ExtPort_InOut_1, CL_ExtPort_InOut_1_Dir, CL_ExtPort_InOut_1_Logic},
    {CL_ExtPort_InOut_2, CL_ExtPort_InOut_2_Dir, CL_ExtPort_InOut_2_Logic},
    {CL_ExtPort_InOut_3, CL_ExtPort_InOut_3_Dir, CL_ExtPort_InOut_3_Logic},
    {CL_ExtPort_InOut_4, CL_ExtPort_InOut_4_Dir, CL_ExtPort_InOut_4_Logic},
    {CL_ExtPort_InOut_5, CL_ExtPort_InOut_5_Dir, CL_ExtPort_InOut_5_Logic},
    {CL_ExtPort_InOut_6, CL_ExtPort_InOut_6_Dir, CL_ExtPort_InOut_6_Logic},
    {CL_ExtPort_InOut_7, CL_ExtPort_InOut_7_Dir, CL_ExtPort_InOut_7_Logic},
    {CL_ExtPort_InOut_8, CL_ExtPort_InOut_8_Dir, CL_ExtPort_InOut_8_Logic},
    {CL_ExtPort_InOut_9, CL_ExtPort_InOut_9_Dir, CL_ExtPort_InOut_9_Logic},
    {CL_ExtPort_In_1, CL_ExtPort_In_1_Dir, CL_ExtPort_In_1_Logic},
    {CL_ExtPort_Out_1, CL_ExtPort_Out_1_Dir, CL_ExtPort_Out_1_Logic},
}};

// Which pin each port mode's dedicated function uses: the serial interface takes two (data out and
// in), the others one. A mode holds its pins while its value is 0.
struct PinTaker {
    int32_t mode;
    int pin;
};
constexpr int kInOut1 = 0, kInOut2 = 1, kInOut3 = 2, kInOut4 = 3, kInOut9 = 8, kIn1 = 9, kOut1 = 10;
constexpr std::array<PinTaker, 7> kPinTakers = {{
    {CL_ExtPort_PortMode_SCI, kInOut1},
    {CL_ExtPort_PortMode_SCI, kInOut2},
    {CL_ExtPort_PortMode_EPTT, kInOut3},
    {CL_ExtPort_PortMode_AFO, kInOut4},
    {CL_ExtPort_PortMode_none, kInOut9},
    {CL_ExtPort_PortMode_IGSW, kIn1},
    {CL_ExtPort_PortMode_HORN, kOut1},
}};

} // namespace

std::optional<int> indKeyCells::PinOf(int32_t cell) {
    for (size_t i = 0; i < kPortPins.size(); ++i) {
        const PortPin& p = kPortPins[i];
        if (cell == p.function || cell == p.direction || cell == p.logic) {
            return int(i);
        }
    }
    return std::nullopt;
}

bool indKeyCells::CanHold(int32_t mode, int pin) {
    return std::any_of(kPinTakers.begin(), kPinTakers.end(),
                       [&](const PinTaker& t) { return t.mode == mode && t.pin == pin; });
}

std::optional<int32_t> indKeyCells::TakenBy(int pin, const uint8_t* w) {
    for (const PinTaker& t : kPinTakers) {
        if (t.pin != pin) {
            continue;
        }
        const indSettingRow* mode = indSettingTable::Find(t.mode);
        if (mode && mode->Read(w) == 0) {
            return t.mode;
        }
    }
    return std::nullopt;
}

bool indKeyCells::HandleTakenPort(indCellCall& call, int32_t& result) {
    const std::optional<int> pin = PinOf(call.cell);
    if (!pin || !TakenBy(*pin, call.W())) {
        return false;
    }
    call.io.result = Io::kResultNone;
    call.io.ShowDashes();
    result = Io::kResultNone;
    return true;
}

const indKeyRow* indKeyCells::Find(int32_t cell) {
    const auto it =
        std::find_if(kRows.begin(), kRows.end(), [cell](const indKeyRow& r) { return r.cell == cell; });
    return it == kRows.end() ? nullptr : &*it;
}

bool indKeyCells::Handle(indCellCall& call, int32_t& result) {
    const indKeyRow* row = Find(call.cell);
    if (!row)
        return false;
    uint8_t* w = call.W();
    // Edited only where the data saves the bytes, and only by a user action: a drawing call or data
    // without the model's own area works on a copy and writes nothing.
    const bool kept = call.ShowOnlyUnlessKept(row->at, LengthOf(*row));
    if (!kept)
        call.io.linked = false;
    const int32_t length = LengthOf(*row);
    const std::vector<uint8_t> before(w + row->at, w + row->at + length);
    bool changed = false;
    switch (row->kind) {
    case Kind::Key:
        changed = RunKey(call, *row);
        break;
    case Kind::Password:
        changed = RunPassword(call, *row);
        break;
    case Kind::UserTone:
        changed = RunUserTone(call, *row);
        break;
    case Kind::Channel:
        changed = RunChannel(call, *row);
        break;
    }
    if (!kept)
        call.io.SetFontColor(Io::kGrey);
    if (changed && (call.notify != cmcCellHandler::kNotifyAction || !kept)) {
        std::copy(before.begin(), before.end(), w + row->at);
        changed = false;
    }
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indKeyCells::Serves(int32_t cell) {
    return Find(cell) != nullptr;
}

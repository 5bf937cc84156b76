#include "model/indDigitalCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <span>

namespace {

using L = indLayout;
using Io = cmcCodecIo;
using Row = indDigitalCells::Row;
using Kind = indDigitalCells::Kind;
namespace T = indTable;
namespace X = indDigitalExtras;

constexpr int32_t kVornUnitMax = 2000; // trunking unit IDs

constexpr Row Number16(int32_t cell, int32_t at, int32_t minimum, int32_t maximum, int32_t greyAt = 0,
                       uint8_t greyMask = 0) {
    Row r{cell, Kind::Number16, at};
    r.minimum = minimum;
    r.maximum = maximum;
    r.greyAt = greyAt;
    r.greyMask = greyMask;
    return r;
}
constexpr Row Simple(int32_t cell, Kind kind, int32_t at, int32_t greyAt = 0, uint8_t greyMask = 0,
                     bool wider = false) {
    Row r{cell, kind, at};
    r.greyAt = greyAt;
    r.greyMask = greyMask;
    r.wider = wider;
    return r;
}
// The fixed unit ID: leading digits 0..leadMax at at while (w[autoAt] & autoMask) is set, else the
// whole ID 1..plainMax at plainAt; grey while the unit ID is chosen per channel.
constexpr Row FixedId(int32_t cell, int32_t at, int32_t leadMax, const char* wildcards, int32_t autoAt,
                      uint8_t autoMask, int32_t plainAt, int32_t plainMax, int32_t modeAt, uint8_t modeMask) {
    Row r = Simple(cell, Kind::FixedId, at, modeAt, modeMask, true);
    r.maximum = leadMax;
    r.wildcards = wildcards;
    r.autoAt = autoAt;
    r.autoMask = autoMask;
    r.plainAt = plainAt;
    r.plainMax = plainMax;
    return r;
}
constexpr Row RxStatus(int32_t cell, int32_t at) {
    Row r{cell, Kind::RxStatus, at};
    r.entries = X::kDpmrRxStatusEntries;
    return r;
}

// NXDN table 36: bytes 0-1 the leading digits and 2-3 the whole fixed unit ID (bit 5 of byte 26
// chooses between them, bit 7 makes the unit ID fixed), 4-5 and 6-7 the stun IDs (conventional and
// trunking), 8-9 and 10-11 the kill IDs, enabled by bits 2 and 3 of byte 24. Table 78: the group
// block decode range in bytes 2-3 and 4-5, used while bit 3 of byte 0 is set. Trunking table 95: the
// leading digits in bytes 6-7 and the whole ID in bytes 8-9 (bits 5 and 6 of byte 1 as above).
// dPMR table 104: the fixed ID in bytes 0-3 (used while bit 7 of byte 26 is set), the input digits in
// bits 7-1 of byte 12; table 103: the IDs the call keys A and B call, bytes 2-5 and 6-9.
const Row kRows[] = {
    Number16(CL_Nxdn_Grp_Set_BlockDecode_Min, L::At(T::kNxdnGroupSettings, 2), 1, 0xFFFF,
             L::At(T::kNxdnGroupSettings, 0), 0x08),
    Number16(CL_Nxdn_Grp_Set_BlockDecode_Max, L::At(T::kNxdnGroupSettings, 4), 1, 0xFFFF,
             L::At(T::kNxdnGroupSettings, 0), 0x08),
    FixedId(CL_Nxdn_Config_Global_Edit, L::At(T::kNxdnOptions, 0), 6, "****", L::At(T::kNxdnOptions, 26),
            0x20, L::At(T::kNxdnOptions, 2), 0, L::At(T::kNxdnOptions, 26), 0x80),
    Number16(CL_Nxdn_Stun_FixedID, L::At(T::kNxdnOptions, 4), 1, 0, L::At(T::kNxdnOptions, 24), 0x04),
    Number16(CL_Nxdn_Stun_VORN_FixedID, L::At(T::kNxdnOptions, 6), 1, kVornUnitMax,
             L::At(T::kNxdnOptions, 24), 0x04),
    Number16(CL_Nxdn_Kill_FixedID, L::At(T::kNxdnOptions, 8), 1, 0, L::At(T::kNxdnOptions, 24), 0x08),
    Number16(CL_Nxdn_Kill_VORN_FixedID, L::At(T::kNxdnOptions, 10), 1, kVornUnitMax,
             L::At(T::kNxdnOptions, 24), 0x08),
    FixedId(CL_VORN_Op_Global_Edit, L::At(T::kTrunkOptions, 6), 2, "***", L::At(T::kTrunkOptions, 1), 0x20,
            L::At(T::kTrunkOptions, 8), kVornUnitMax, L::At(T::kTrunkOptions, 1), 0x40),
    // MSK table 23: the sync word in bytes 4-5.
    Simple(CL_Msk_Cfg_Enc_SyncvWord, Kind::Hex16, L::At(T::kMskConfig, 4)),
    Simple(CL_Dpmr_Config_Global_ID, Kind::BcdId, L::At(T::kDpmrOptions, 0), L::At(T::kDpmrOptions, 26), 0x80,
           true),
    Simple(CL_Dpmr_Config_KeyAssign_CallA, Kind::BcdId, L::At(T::kDpmrGroupSettings, 2)),
    Simple(CL_Dpmr_Config_KeyAssign_CallB, Kind::BcdId, L::At(T::kDpmrGroupSettings, 6)),
    Simple(CL_Dpmr_Ind_InputDigit, Kind::Digits, L::At(T::kDpmrOptions, 12)),
    RxStatus(CL_Dpmr_Msg_Status_Text_List_LastStatus, X::kDpmrLastStatus),
    RxStatus(CL_Dpmr_Msg_Status_Text_List_StatusDigit_Rx, X::kDpmrRxStatus),
};

// Bytes the row's value occupies from its address.
constexpr int32_t Width(Kind kind) {
    switch (kind) {
    case Kind::BcdId:
        return 4;
    case Kind::Digits:
    case Kind::RxStatus:
        return 1;
    default:
        return 2;
    }
}

int32_t Largest(int32_t maximum, const indCellCall& call) {
    return maximum == 0 ? call.unitIdMax : maximum;
}

// A 16-bit number stepped within minimum..maximum; typed text outside the range is refused.
bool EditWord(Io& io, uint8_t* value, int32_t minimum, int32_t maximum) {
    cmcNumberCodecs::Stepped p;
    p.minimum = minimum;
    p.maximum = maximum;
    int32_t v = L::Get16(value, 0);
    const bool changed = cmcNumberCodecs::EditStepped(io, v, p);
    if (changed && v >= minimum && v <= maximum)
        L::Put16(value, 0, uint32_t(v));
    return changed;
}

// The receive status number of entry n; another entry's number is not taken twice.
bool EditRxStatus(indCellCall& call, const Row& row, int32_t n, uint8_t* value) {
    const uint8_t* w = call.W();
    auto taken = [&](int32_t shown) {
        for (int32_t j = 0; j < row.entries; ++j)
            if (j != n && w[row.at + j] == shown + 2)
                return true;
        return false;
    };
    int32_t v = *value;
    const bool changed = cmcChoiceCodecs::EditStatusNumber(call.io, call.env, v, true, taken);
    if (changed)
        *value = uint8_t(v);
    return changed;
}

// Runs the row's codec on a copy of its bytes; true when the copy changed.
bool RunCodec(indCellCall& call, const Row& row, int32_t n, std::span<uint8_t> value) {
    Io& io = call.io;
    uint8_t* w = call.W();
    switch (row.kind) {
    case Kind::Number16:
        return EditWord(io, value.data(), row.minimum, Largest(row.maximum, call));
    case Kind::FixedId: {
        if (!(w[row.autoAt] & row.autoMask))
            return false; // the whole ID, edited by the caller in its own place
        const bool changed = EditWord(io, value.data(), row.minimum, row.maximum);
        if (io.result != Io::kResultEdit && !io.displayText.empty())
            io.displayText += row.wildcards;
        return changed;
    }
    case Kind::Hex16: {
        int32_t v = L::Get16(value.data(), 0);
        const bool changed = cmcDigitCodecs::EditHex(io, v, 0, 0xFFFF, 4);
        if (changed)
            L::Put16(value.data(), 0, uint32_t(v));
        return changed;
    }
    case Kind::BcdId:
        return cmcDigitCodecs::EditBcdId(io, value, 7, "0000001", "9999999", true);
    case Kind::Digits: {
        int32_t v = value[0] >> 1;
        const bool changed =
            cmcChoiceCodecs::EditBits(io, call.env, v, 1, 7, cmcChoiceCodecs::BitLabels::Numeric, "");
        if (changed)
            value[0] = uint8_t((value[0] & 1) | (v & 0x7F) << 1);
        return changed;
    }
    case Kind::RxStatus:
        return EditRxStatus(call, row, n, value.data());
    }
    return false;
}

} // namespace

const indDigitalCells::Row* indDigitalCells::Find(int32_t cell) {
    const auto it =
        std::find_if(std::begin(kRows), std::end(kRows), [cell](const Row& r) { return r.cell == cell; });
    return it == std::end(kRows) ? nullptr : &*it;
}

bool indDigitalCells::Handle(indCellCall& call, int32_t& result) {
    const Row* row = Find(call.cell);
    if (!row)
        return false;
    const int32_t n = row->entries > 1 ? call.parameter : 0;
    if (n < 0 || n >= row->entries) {
        call.io.displayText.clear();
        return true;
    }
    uint8_t* w = call.W();
    // The fixed unit ID in its whole form lives in its own place with its own range.
    const bool plain = row->kind == Kind::FixedId && !(w[row->autoAt] & row->autoMask);
    const int32_t at = plain ? row->plainAt : row->at + n;
    const int32_t width = Width(row->kind);
    const bool kept = call.ShowOnlyUnlessKept(at, width);
    std::array<uint8_t, 4> copy{};
    std::copy(w + at, w + at + width, copy.begin());
    const std::span<uint8_t> value(copy.data(), size_t(width));
    const bool changed = plain ? EditWord(call.io, value.data(), 1, Largest(row->plainMax, call))
                               : RunCodec(call, *row, n, value);
    const bool grey = row->greyMask != 0 && (w[row->greyAt] & row->greyMask) == 0;
    if (!kept || grey)
        call.io.SetFontColor(Io::kGrey);
    if (changed && kept && call.notify == cmcCellHandler::kNotifyAction &&
        !std::equal(value.begin(), value.end(), w + at)) {
        std::copy(value.begin(), value.end(), w + at);
        call.wrote = true;
        if (row->wider)
            call.scope |= cmcCellCapsule::kScopeAll;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indDigitalCells::Serves(int32_t cell) {
    return Find(cell) != nullptr;
}

#include "model/indServiceCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "model/datCh.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;
namespace P = indOwnPlaces;

// The debug sheet: sixteen bytes a row, space and backspace on an address move a page of sixteen rows.
constexpr int32_t kRowBytes = 16;
constexpr int32_t kPage = 16 * kRowBytes;
constexpr int32_t kLastRow = (L::kWorkSize - 1) / kRowBytes * kRowBytes;
constexpr int32_t kAddressDigits = 5;

bool IsDebugByte(int32_t cell) {
    return cell >= CL_EeDebugWin_0 && cell <= CL_EeDebugWin_F;
}

bool Acting(const indCellCall& call) {
    return call.notify == cmcCellHandler::kNotifyAction;
}

// Shown for what the image holds; no key, typed text or answer reaches the codec.
void ShowOnly(Io& io) {
    io.key = 0;
    io.editState = Io::kShow;
}

// The address cell of a row: shows the row's first address; a typed address moves the sheet so that
// this row shows the row holding it (as near as the image's ends allow), space and backspace move a
// page. Moving the sheet changes no radio data.
void RunDebugAddress(indCellCall& call, int32_t& result, int32_t rowAt) {
    int32_t& first = call.handler.debugAddress;
    const int32_t rowOffset = rowAt - first;
    const int32_t key = call.io.Key();
    int32_t moved = first;
    if (call.io.editState == Io::kShow && (key == Io::kKeySpace || key == Io::kKeyBackspace)) {
        moved = first + (key == Io::kKeySpace ? kPage : -kPage);
        int32_t shown = rowAt;
        cmcDigitCodecs::EditHex(call.io, shown, 0, L::kWorkSize - 1, kAddressDigits);
    } else {
        int32_t typed = rowAt;
        if (cmcDigitCodecs::EditHex(call.io, typed, 0, L::kWorkSize - 1, kAddressDigits))
            moved = typed / kRowBytes * kRowBytes - rowOffset;
    }
    moved = std::clamp(moved, 0, kLastRow);
    if (!Acting(call) || moved == first)
        return;
    first = moved;
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", kAddressDigits, unsigned(first + rowOffset));
    call.io.Show(text);
    call.scope |= cmcCellCapsule::kScopeAll;
    result = Io::kResultRefresh;
}

// One byte of the working image in two hexadecimal digits; a typed value is stored in maker mode when
// the byte survives a save. Bytes no edit could keep are grey.
void RunDebugByte(indCellCall& call, int32_t& result, int32_t at) {
    uint8_t* w = call.W();
    const bool keeps = indServiceCells::DebugEditable(w, at);
    const bool editable = keeps && call.handler.makerMode;
    if (!editable)
        ShowOnly(call.io);
    int32_t value = w[at];
    const bool changed = cmcDigitCodecs::EditHex(call.io, value, 0, 0xFF, 2);
    if (!keeps)
        call.io.SetFontColor(Io::kGrey);
    if (!changed || !editable || !Acting(call) || value == w[at])
        return;
    w[at] = static_cast<uint8_t>(value);
    call.wrote = true;
    result = Io::kResultRefresh;
}

void RunDebug(indCellCall& call, int32_t& result) {
    const int64_t rowAt = int64_t(call.handler.debugAddress) + int64_t(kRowBytes) * call.parameter;
    const int64_t at = IsDebugByte(call.cell) ? rowAt + (call.cell - CL_EeDebugWin_0) : rowAt;
    if (call.parameter < 0 || at >= L::kWorkSize) {
        call.io.Show("");
        return;
    }
    if (IsDebugByte(call.cell))
        RunDebugByte(call, result, int32_t(at));
    else
        RunDebugAddress(call, result, int32_t(rowAt));
}

// The adjustment channel: its bank, the bank's channel count and the channel's number (-1 when the
// position lies beyond the bank's channels).
struct AdjustChannel {
    int bank = 0;
    int count = 0;
    int position = 0;
    int channel = -1;
};

AdjustChannel AdjustChannelOf(const uint8_t* w) {
    AdjustChannel a;
    a.bank = std::min<int>(w[P::kAdjustBank], L::kGroups - 1);
    a.count = std::clamp(L::GroupCount(w, a.bank), 0, int(L::kChannels));
    a.position = w[P::kAdjustPosition];
    const int n = L::GroupStart(w, a.bank) + a.position;
    if (a.position < a.count && n >= 0 && n < L::kChannels)
        a.channel = n;
    return a;
}

constexpr const char* kNoChannel = "---";

// The channel's position in its bank, 1 to the bank's count; "---" grey for a bank without channels.
void RunAdjustPosition(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    const AdjustChannel a = AdjustChannelOf(w);
    if (a.count == 0) {
        ShowOnly(call.io);
        call.io.Show(kNoChannel);
        call.io.SetFontColor(Io::kGrey);
        return;
    }
    const bool stored = indWorkImage::Keeps(w, P::kAdjustPosition);
    if (!stored)
        ShowOnly(call.io);
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = a.count - 1;
    p.offset = 1;
    int32_t value = a.position;
    const bool changed = cmcNumberCodecs::EditStepped(call.io, value, p);
    if (!stored || a.channel < 0)
        call.io.SetFontColor(Io::kGrey);
    if (!changed || !stored || !Acting(call) || value == a.position)
        return;
    w[P::kAdjustPosition] = static_cast<uint8_t>(value);
    call.wrote = true;
    call.scope |= cmcCellCapsule::kScopeAll; // the captions follow the channel
    result = Io::kResultRefresh;
}

std::string Megahertz(int32_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "%d.%05d", hz / 1000000, hz % 1000000 / 10);
    return text;
}

// The read-only captions of the adjustment channel.
void RunAdjustCaption(indCellCall& call) {
    ShowOnly(call.io);
    const AdjustChannel a = AdjustChannelOf(call.W());
    if (a.channel < 0) {
        call.io.Show(kNoChannel);
        return;
    }
    datCh ch(&call.work);
    ch.Decode(call.modelFamily == 1 ? datCh::kChannel2 : datCh::kChannel1, a.channel);
    static const char* const kPowers[] = {"High", "Middle", "Low1", "Low2"};
    static const char* const kModes[] = {"Wide", "Narrow", "Middle", "Narrow"};
    static const char* const kTypes[] = {"Analog", "Mixed(Analog)", "Mixed(Digital)", "Digital"};
    std::string text;
    switch (call.cell) {
    case CL_Adjust_ChNoFreq:
        text = "RX=" + Megahertz(ch.rxFrequency) + ", TX=" + Megahertz(ch.txFrequency);
        break;
    case CL_Adjust_ChRfPow:
        text = std::string("RF Power=") + kPowers[ch.rfPower & 3] + ", Mode=" + kModes[ch.narrow & 3];
        break;
    default:
        text = std::string("CH Type=") + kTypes[ch.channelType & 3];
        break;
    }
    call.io.Show(text);
}

bool IsAdjustCaption(int32_t cell) {
    return cell == CL_Adjust_ChNoFreq || cell == CL_Adjust_ChRfPow || cell == CL_Adjust_TxModeComment ||
           cell == CL_Adjust_RxModeComment;
}

} // namespace

bool indServiceCells::DebugEditable(const uint8_t* w, int32_t offset) {
    if (offset < 0 || offset >= L::kWorkSize)
        return false;
    if (offset < L::kSignatureAt)
        return offset < L::kRadioModelAt || offset >= L::kRadioModelAt + 2;
    if (offset < L::kRadioSize)
        return false;
    return indWorkImage::Keeps(w, offset);
}

bool indServiceCells::Handle(indCellCall& call, int32_t& result) {
    if (call.cell == CL_EeDebugWin_Adr || IsDebugByte(call.cell))
        RunDebug(call, result);
    else if (call.cell == CL_Adjust_ChNo)
        RunAdjustPosition(call, result);
    else if (IsAdjustCaption(call.cell))
        RunAdjustCaption(call);
    else
        return false;
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indServiceCells::Serves(int32_t cell) {
    return cell == CL_EeDebugWin_Adr || IsDebugByte(cell) || cell == CL_Adjust_ChNo || IsAdjustCaption(cell);
}

#include "model/indSignalCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

namespace {

namespace S = indSignal;
using L = indLayout;
using Io = cmcCodecIo;

enum class Codec : uint8_t {
    Caption,      // the row's number; a DTMF memory adds its kind
    Dtmf,         // a length byte (the bits of mask) followed by 16 digits
    ToneCode,     // 8 five-tone digits, F ending the sequence, and a plus-mark byte where marks apply
    CodeWithOff,  // an answer-back code 1..32 in a byte, 0 for off
    Tenths,       // a 16-bit tone frequency in 0.1 Hz
    DigitBits,    // digit positions 1..8 of a byte, the first in bit 7
    Nibble,       // one tone digit 0..E in the high or the low nibble of a byte
    SelectedName, // the name of the transmit code the selected-code cell names
};

struct SignalCell {
    int32_t cell;
    Codec codec;
    int32_t at = 0;      // the field's byte in entry 0
    int16_t stride = 0;  // bytes from one entry to the next
    int16_t entries = 1; // the cell's parameter picks the entry
    int32_t plusAt = 0;  // ToneCode: the plus-mark byte, bytes after the digits (0: no marks)
    uint8_t mask = 0xFF; // Dtmf: the length bits of the first byte
    bool low = false;    // Nibble: the low nibble
    double minimum = 0;  // Tenths: the range in hertz
    double maximum = 0;
    const char* title = nullptr; // DigitBits: the bit-field window's title
};

constexpr SignalCell Caption(int32_t cell, int16_t entries) {
    SignalCell c{cell, Codec::Caption};
    c.entries = entries;
    return c;
}
constexpr SignalCell Dtmf(int32_t cell, int32_t at, int16_t stride, int16_t entries, uint8_t mask) {
    SignalCell c{cell, Codec::Dtmf, at, stride, entries};
    c.mask = mask;
    return c;
}
constexpr SignalCell ToneCode(int32_t cell, int32_t at, int16_t stride, int16_t entries, int32_t plusAt) {
    SignalCell c{cell, Codec::ToneCode, at, stride, entries};
    c.plusAt = plusAt;
    return c;
}
constexpr SignalCell Abc(int32_t cell, int32_t at, int16_t stride, int16_t entries) {
    return SignalCell{cell, Codec::CodeWithOff, at, stride, entries};
}
constexpr SignalCell Tenths(int32_t cell, int32_t at, int16_t stride, int16_t entries, double minimum,
                            double maximum) {
    SignalCell c{cell, Codec::Tenths, at, stride, entries};
    c.minimum = minimum;
    c.maximum = maximum;
    return c;
}
constexpr SignalCell DigitBits(int32_t cell, int32_t at, int16_t stride, int16_t entries, const char* title) {
    SignalCell c{cell, Codec::DigitBits, at, stride, entries};
    c.title = title;
    return c;
}
constexpr SignalCell Nibble(int32_t cell, int32_t at, bool low) {
    SignalCell c{cell, Codec::Nibble, at};
    c.low = low;
    return c;
}

// Two-tone frequencies of the radio's tone decoder and encoder; user tones are sub-audible.
constexpr double kTwoToneMin = 250.0, kTwoToneMax = 3000.0;
constexpr double kUserToneMin = 40.0, kUserToneMax = 300.0;
constexpr double kUserToneLimitMin = 25.0, kUserToneLimitMax = 330.0;

constexpr SignalCell kCells[] = {
    Caption(CL_Dtmf_ChNo, S::kMemories),
    Dtmf(CL_Dtmf_Code, S::kMemoryAt + S::kMemoryLength, S::kMemorySize, S::kMemories, S::kMemoryLengthMask),
    Caption(CL_Dtmf_Decode_ChNo, S::kDecodeEntries),
    Dtmf(CL_Dtmf_Decode_Code, S::kDecodeAt + S::kDecodeLength, S::kDecodeSize, S::kDecodeEntries, 0xFF),
    Abc(CL_Dtmf_Decode_Abc, S::kDecodeAt + S::kDecodeAbc, S::kDecodeSize, S::kDecodeEntries),
    ToneCode(CL_5TRx_RxCode, S::kRxAt + S::kRxDigits, S::kRxSize, S::kRxCodes,
             S::kRxPlusMarks - S::kRxDigits),
    Abc(CL_5TRx_Abc, S::kRxAt + S::kRxAbc, S::kRxSize, S::kRxCodes),
    Tenths(CL_2T_RxFreq_1st, S::kRxAt + S::kRxTone1, S::kRxSize, S::kRxCodes, kTwoToneMin, kTwoToneMax),
    Tenths(CL_2T_RxFreq_2nd, S::kRxAt + S::kRxTone2, S::kRxSize, S::kRxCodes, kTwoToneMin, kTwoToneMax),
    Tenths(CL_2TTx_Freq_1st, S::kTwoToneTxAt + S::kTwoToneTxTone1, S::kTwoToneTxSize, S::kTwoToneTxCodes,
           kTwoToneMin, kTwoToneMax),
    Tenths(CL_2TTx_Freq_2nd, S::kTwoToneTxAt + S::kTwoToneTxTone2, S::kTwoToneTxSize, S::kTwoToneTxCodes,
           kTwoToneMin, kTwoToneMax),
    ToneCode(CL_5TTx_TxCode, S::kTxAt, S::kTxSize, S::kTxCodes, 0),
    DigitBits(CL_5TTx_InputDigit, S::kTxOptionsAt + S::kTxInputDigits, S::kTxOptionsSize, S::kTxCodes,
              "Input digits"),
    SignalCell{CL_Select_TX_Text, Codec::SelectedName},
    DigitBits(CL_5TTx_DispDigit, S::kShownDigits, 0, 1, "Digits shown"),
    Nibble(CL_5TTx_DispDigit1, S::kDigitShown + 0, false),
    Nibble(CL_5TTx_DispDigit2, S::kDigitShown + 0, true),
    Nibble(CL_5TTx_DispDigit3, S::kDigitShown + 1, false),
    Nibble(CL_5TTx_DispDigit4, S::kDigitShown + 1, true),
    Nibble(CL_5TTx_DispDigit5, S::kDigitShown + 2, false),
    Nibble(CL_5TTx_DispDigit6, S::kDigitShown + 2, true),
    Nibble(CL_5TTx_DispDigit7, S::kDigitShown + 3, false),
    Nibble(CL_5TTx_DispDigit8, S::kDigitShown + 3, true),
    Nibble(CL_5TTx_DispDigit9, S::kDigitShown + 4, false),
    Nibble(CL_5TTx_DispDigit0, S::kDigitShown + 4, true),
    Nibble(CL_5TTx_SpTone_Group, S::kSpecialTones, false),
    Nibble(CL_5TTx_SpTone_Repeat, S::kSpecialTones, true),
    Nibble(CL_5TTx_SpTone_Link2, S::kSpecialLink2, false),
    Tenths(CL_UTone_Encode, S::kUserToneAt, S::kUserToneSize, S::kUserTones, kUserToneMin, kUserToneMax),
    Tenths(CL_UTone_Dec_Low, S::kUserToneLow, 0, 1, kUserToneLimitMin, kUserToneLimitMax),
    Tenths(CL_UTone_Dec_High, S::kUserToneHigh, 0, 1, kUserToneLimitMin, kUserToneLimitMax),
};

// The areas of the model's own table these records take stay apart and within bytes 0-249.
static_assert(S::kMemoryAt + S::kMemorySize * S::kMemories <= S::kTwoToneTxAt);
static_assert(S::kTwoToneTxAt + S::kTwoToneTxSize * S::kTwoToneTxCodes <= S::kUserToneAuto);
static_assert(S::kUserToneLength < S::kSpecialTones);
static_assert(S::kDigitShown + 5 <= indMap::At(indTable::kModelExtras, 250));

const SignalCell* Find(int32_t cell) {
    for (const SignalCell& c : kCells)
        if (c.cell == cell)
            return &c;
    return nullptr;
}

// The five-tone digit the codes show as "*": the stored repeat tone when it is a letter tone (A-E),
// else E, so that no plain digit is taken for a repeat.
uint8_t RepeatDigit(const uint8_t* w) {
    const uint8_t d = w[S::kSpecialTones] & 0x0F;
    return d >= 0xA && d <= 0xE ? d : S::kDefaultRepeatTone;
}

// An encode tone the radio's own decoder would not take: a tone set outside the decode limits, while
// both limits are set.
bool OutsideDecodeLimits(const uint8_t* w, int32_t tone) {
    const int32_t low = L::Get16(w, S::kUserToneLow), high = L::Get16(w, S::kUserToneHigh);
    return tone != 0 && low != 0 && high != 0 && (tone < low || tone > high);
}

// A display text (user characters from the glyph table); without a canvas the text itself.
bool EditName(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t> text, uint8_t* w) {
    cmcTextCodecs::DisplayText p;
    p.length = int32_t(text.size());
    cmcTextCodecs::Glyphs glyphs;
    glyphs.userPatterns = w + L::SlotAddress(indTable::kUserCharacters);
    const bool changed = cmcTextCodecs::EditDisplayText(io, env, text, p, glyphs);
    if (!io.painter && io.displayText.empty() && io.result == Io::kResultNone) {
        std::string shown = cmcTextCodecs::EncodeDisplayText(text);
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        io.displayText = shown;
    }
    return changed;
}

// "1 Autodial", "2 Log/ID", "3 Emergency": a memory's number and what the radio sends it for.
std::string MemoryCaption(const uint8_t* w, int32_t n) {
    const uint8_t b = w[S::kMemoryAt + S::kMemorySize * n + S::kMemoryLength];
    const char* kind = (b >> S::kMemoryEmergencyBit) & 1 ? "Emergency"
                       : (b >> S::kMemoryIdBit) & 1      ? "Log/ID"
                                                         : "Autodial";
    return std::to_string(n + 1) + " " + kind;
}

// Runs c's codec on a copy of the entry's bytes from `at` (bytes long) and stores the copy when the
// codec changed it on a user action.
class Field {
public:
    Field(uint8_t* w, int32_t at, int32_t bytes) : m_w(w), m_at(at), m_copy(w + at, w + at + bytes) {}
    uint8_t* Bytes() { return m_copy.data(); }
    std::span<uint8_t> Span(int32_t from, int32_t n) { return {m_copy.data() + from, size_t(n)}; }
    bool Store() {
        if (std::equal(m_copy.begin(), m_copy.end(), m_w + m_at))
            return false;
        std::copy(m_copy.begin(), m_copy.end(), m_w + m_at);
        return true;
    }

private:
    uint8_t* m_w;
    int32_t m_at;
    std::vector<uint8_t> m_copy;
};

// The bytes a cell's codec reads, from the field's first byte: what the save must keep for an edit.
int32_t FieldBytes(const SignalCell& c) {
    switch (c.codec) {
    case Codec::Dtmf:
        return 1 + S::kDtmfMaxDigits / 2;
    case Codec::ToneCode:
        return c.plusAt ? c.plusAt + 1 : 4;
    case Codec::Tenths:
        return 2;
    default:
        return 1;
    }
}

bool Run(indCellCall& call, const SignalCell& c, int32_t entry, bool commit) {
    uint8_t* w = call.W();
    Io& io = call.io;
    if (c.codec == Codec::Caption) {
        io.Show(c.cell == CL_Dtmf_ChNo ? MemoryCaption(w, entry) : std::to_string(entry + 1));
        return false;
    }
    int32_t at = c.at + c.stride * entry;
    int32_t bytes = FieldBytes(c);
    if (c.codec == Codec::SelectedName) {
        at = S::kTxOptionsAt + S::kTxOptionsSize * std::min<int32_t>(w[S::kSelectedTxCode], S::kTxCodes - 1) +
             S::kTxName;
        bytes = 8;
    }
    // A field the data does not keep shows what it holds, grey, and takes no edit.
    const bool stored = call.ShowOnlyUnlessKept(at, bytes);
    if (!stored)
        commit = false;
    Field f(w, at, bytes);
    uint8_t* b = f.Bytes();
    bool edited = false;
    switch (c.codec) {
    case Codec::Dtmf: {
        uint8_t length = uint8_t(b[0] & c.mask);
        edited = cmcDigitCodecs::EditDtmf(io, f.Span(1, S::kDtmfMaxDigits / 2), length, S::kDtmfMaxDigits);
        b[0] = uint8_t((b[0] & ~c.mask) | (length & c.mask));
        break;
    }
    case Codec::ToneCode: {
        uint8_t none = 0;
        uint8_t& marks = c.plusAt ? b[c.plusAt] : none;
        edited = cmcDigitCodecs::EditToneCode(io, f.Span(0, 4), marks, RepeatDigit(w), 8, c.plusAt != 0);
        break;
    }
    case Codec::CodeWithOff: {
        int32_t v = b[0] <= 32 ? b[0] : 0;
        edited = cmcChoiceCodecs::EditCodeWithOff(io, call.env, v);
        b[0] = uint8_t(v);
        break;
    }
    case Codec::Tenths: {
        cmcNumberCodecs::FixedPoint p;
        p.storedDecimals = 1;
        p.shownDecimals = 1;
        p.minimum = c.minimum;
        p.maximum = c.maximum;
        p.stepping = true;
        int32_t v = L::Get16(b, 0);
        edited = cmcNumberCodecs::EditFixedPoint(io, v, p);
        L::Put16(b, 0, uint32_t(std::clamp<int32_t>(v, 0, 0xFFFF)));
        if (c.cell == CL_UTone_Encode && OutsideDecodeLimits(w, L::Get16(b, 0)))
            call.capsule.stateBits |= cmcCellCapsule::kStateWarning;
        break;
    }
    case Codec::DigitBits: {
        int32_t v = b[0];
        edited =
            cmcChoiceCodecs::EditBits(io, call.env, v, 1, 8, cmcChoiceCodecs::BitLabels::Numeric, c.title);
        b[0] = uint8_t(v);
        break;
    }
    case Codec::Nibble: {
        int32_t v = c.low ? b[0] & 0x0F : b[0] >> 4;
        edited = cmcDigitCodecs::EditHexDigit(io, v, false);
        b[0] = c.low ? uint8_t((b[0] & 0xF0) | (v & 0x0F)) : uint8_t((b[0] & 0x0F) | (v & 0x0F) << 4);
        break;
    }
    case Codec::SelectedName:
        edited = EditName(io, call.env, f.Span(0, 8), w);
        break;
    case Codec::Caption:
        break;
    }
    if (!stored)
        io.SetFontColor(Io::kGrey);
    return edited && commit && f.Store();
}

} // namespace

bool indSignalCells::Handle(indCellCall& call, int32_t& result) {
    const SignalCell* c = Find(call.cell);
    if (!c)
        return false;
    const int32_t entry = c->entries > 1 ? call.parameter : 0;
    if (entry < 0 || entry >= c->entries) {
        call.io.Show("");
        return true;
    }
    if (Run(call, *c, entry, call.notify == cmcCellHandler::kNotifyAction)) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indSignalCells::Serves(int32_t cell) {
    return Find(cell) != nullptr;
}

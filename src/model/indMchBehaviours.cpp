#include "model/indMchBehaviours.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcFrequencyCodec.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "cells/cmcToneCodec.h"
#include "core/cmcEv.h"
#include "core/cmcGTex.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indMchCells.h"
#include "model/indMchContext.h"
#include "model/indMchTable.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <string>

namespace {

using L = indLayout;
using CC = cmcChoiceCodecs;
using Io = cmcCodecIo;
using F = datCh::Field;
using X = indMchContext;
using Row = indMchRow;

bool Bit(uint8_t v, int b) {
    return (v >> b) & 1;
}

// The codec's answer, when it has one, is the cell's result.
bool Answer(const X& x, int32_t& result) {
    if (x.call.io.result != Io::kResultNone)
        result = x.call.io.result;
    return true;
}

void Grey(X& x, bool grey) {
    if (grey)
        x.call.io.SetFontColor(Io::kGrey);
}

void Refreshed(X& x, int32_t& result) {
    x.Changed();
    result = Io::kResultRefresh;
}

void MarkChoice(X& x, Row::Mark mark, int32_t value) {
    uint8_t& marks = x.call.capsule.stateBits;
    switch (mark) {
    case Row::Mark::None:
        break;
    case Row::Mark::WnmWarn:
        if ((value == 2 || value == 3) && !Bit(x.w[L::At(indTable::kGeneral, 0x7A)], 7))
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Row::Mark::MuteWarn:
        if (x.pmr && value == 0 && x.sig)
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Row::Mark::MoniWarn:
        if (x.pmr && value != 6 && value != 7 && x.sig)
            marks |= cmcCellCapsule::kStateWarning;
        break;
    case Row::Mark::SelError:
        if (x.pmr && value != 1 && x.sig)
            marks |= cmcCellCapsule::kStateError;
        break;
    case Row::Mark::CallError:
        if (x.pmr && value == 1 && x.sig)
            marks |= cmcCellCapsule::kStateError;
        break;
    }
}

int CcOf(int32_t f) {
    return f == 0 ? 0 : (f / 6250) % 64;
}

bool Frequency(X& x, int32_t& result, bool transmit) {
    indCellCall& call = x.call;
    datCh& r = x.record;
    if (!transmit) {
        bool created = false;
        if (!x.CreateOnKey(created))
            return true;
        if (created)
            result = Io::kResultRefresh;
    }
    const bool hadContent = (r.status & datCh::kHasContent) && r.rxFrequency != 0;
    cmcFrequencyCodec::Pair pair{r.rxFrequency, r.txFrequency, r.rxFrequency != 0};
    if (cmcFrequencyCodec::EditFrequency(call.io, pair, transmit, 0)) {
        r.rxFrequency = pair.rx;
        r.txFrequency = pair.tx;
        // The dPMR colour codes follow the frequencies.
        const uint16_t rxCc = uint16_t(CcOf(pair.rx)), txCc = uint16_t(CcOf(pair.tx));
        const bool digital = r.channelType != 0;
        bool ccChanged;
        if (transmit) {
            ccChanged = r.txColourCode != txCc;
            r.txColourCode = txCc;
        } else {
            ccChanged = r.rxColourCode != rxCc || r.txColourCode != txCc;
            r.rxColourCode = rxCc;
            r.txColourCode = txCc;
        }
        r.Encode(0, x.n);
        Refreshed(x, result);
        if (ccChanged && digital && (transmit || hadContent))
            call.handler.Message("GI_AppMess_MchSheet_CC_Change", cmcMessageBox::Icon::Warning);
    }
    Answer(x, result);
    const bool keyPending = call.io.result == Io::kResultEdit;
    if (r.rxFrequency == 0 && !keyPending)
        call.io.displayText.clear();
    Grey(x, transmit && r.txInhibit);
    return true;
}

bool Tone(X& x, int32_t& result, bool transmit) {
    datCh& r = x.record;
    cmcToneCodec::Tone rx = indMchCells::ToCodec(r.rxTone), tx = indMchCells::ToCodec(r.txTone);
    if (cmcToneCodec::EditTone(x.call.io, x.call.env, rx, tx, transmit)) {
        r.rxTone = indMchCells::FromCodec(rx);
        r.txTone = indMchCells::FromCodec(tx);
        r.Encode(0, x.n);
        Refreshed(x, result);
    }
    Grey(x, x.type == 3);
    return Answer(x, result);
}

// Stepped values 0..63 whose transmit twin follows while equal.
void PairStep(X& x, int32_t& result, bool transmit, F rxField, F txField) {
    datCh& r = x.record;
    const int32_t rx = r.Get(rxField), tx = r.Get(txField);
    int32_t value = transmit ? tx : rx;
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = 63;
    if (cmcNumberCodecs::EditStepped(x.call.io, value, p)) {
        if (transmit) {
            r.Set(txField, value);
        } else {
            if (rx == tx)
                r.Set(txField, value);
            r.Set(rxField, value);
        }
        Refreshed(x, result);
    }
    if (transmit && r.Get(rxField) == r.Get(txField) && x.call.io.result != Io::kResultEdit)
        x.call.io.displayText = "<-";
    Answer(x, result);
}

// A reference into a list, shown from 1.
void ListRef(X& x, int32_t& result, uint16_t& field, const char* list, int32_t choiceCell) {
    indCellCall& call = x.call;
    int32_t value = field;
    int32_t k = call.io.Key();
    if (k == Io::kKeySpace || k == Io::kKeyBackspace)
        call.io.key = 0;
    if (CC::EditChoiceTyped(call.io, call.env, value, list, choiceCell)) {
        field = uint16_t(value);
        x.record.Encode(0, x.n);
        Refreshed(x, result);
    }
    if (call.io.result != Io::kResultEdit)
        call.io.displayText = std::to_string(int(field) + 1);
    Answer(x, result);
}

std::string BcdDigits(const uint8_t* w, int entry) {
    if (entry < 0 || entry >= 500)
        return "";
    const uint8_t* e = w + L::SlotAddress(indTable::kDpmrIndIds) + 14 * entry;
    return cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(e, 4), 7);
}

// A unit ID that a radio-wide setting fixes for every channel: shown as the setting has it.
void ShowFixedId(X& x, int32_t flagsAt, int32_t patternAt, int32_t idAt, const char* pattern) {
    char text[32];
    if (Bit(x.w[flagsAt], 5))
        std::snprintf(text, sizeof text, pattern, int(L::Get16(x.w, patternAt)));
    else
        std::snprintf(text, sizeof text, "%d", int(L::Get16(x.w, idAt)));
    x.call.io.Show(text);
}

} // namespace

bool indMchBehaviours::Choice(X& x, const Row& c, int32_t& result) {
    indCellCall& call = x.call;
    if (x.Holds(c.dashes)) {
        x.Dashes(c.dashText);
        return true;
    }
    const bool fixed = x.record.FixedByKind(c.field);
    if (fixed) {
        // The value the record kind fixes, shown in olive; no key reaches the stored bits.
        call.io.key = 0;
        call.io.editState = Io::kShow;
    }
    int32_t value = fixed ? int32_t(c.field == F::StationCode ? x.record.stationCode : x.record.stationLong)
                          : x.record.Get(c.field);
    const char* list = x.pmr && c.listPmr ? c.listPmr : c.list;
    const int32_t choiceCell = c.flexMark ? CC::kFlexMark : CC::kFlex0;
    const bool changed = c.typed ? CC::EditChoiceTyped(call.io, call.env, value, list, choiceCell)
                                 : CC::EditChoice(call.io, call.env, value, list, choiceCell,
                                                  c.flexMark ? std::optional<int32_t>(value) : std::nullopt);
    if (changed) {
        x.record.Set(c.field, value);
        call.scope |= c.scope;
        Refreshed(x, result);
    }
    Grey(x, x.Holds(c.grey));
    if (fixed)
        call.io.SetFontColor(Io::kOlive);
    MarkChoice(x, c.mark, value);
    return Answer(x, result);
}

bool indMchBehaviours::Number(X& x, const Row&, int32_t&) {
    if (!indMchCells::IsInBank(x.call, x.n)) {
        x.call.io.Show(x.call.env.Text("GI_NewChTitle"));
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "%d-%3d", x.bank + 1, x.n - L::GroupStart(x.w, x.bank) + 1);
        x.call.io.Show(text);
    }
    return true;
}

bool indMchBehaviours::Marks(X& x, const Row&, int32_t& result) {
    if (!indMchCells::IsInBank(x.call, x.n))
        return true;
    datCh& r = x.record;
    int32_t value = r.marks | r.status << 8;
    const bool two = L::BankFlag(x.w, L::kBankF1, x.bank) || L::BankFlag(x.w, L::kBankF2, x.bank) ||
                     L::BankFlag(x.w, L::kBankF3, x.bank);
    if (CC::EditMarks(x.call.io, x.call.env, value, two ? "GI_Sheet_Sel_Mch_Atr2" : "GI_Sheet_Sel_Mch_Atr")) {
        r.marks = uint8_t(value);
        r.Encode(0, x.n);
        x.call.scope |= cmcCellCapsule::kScopeAll | cmcCellCapsule::kScopeCell;
        Refreshed(x, result);
    }
    return Answer(x, result);
}

bool indMchBehaviours::RxFrequency(X& x, const Row&, int32_t& result) {
    return Frequency(x, result, false);
}

bool indMchBehaviours::TxFrequency(X& x, const Row&, int32_t& result) {
    return Frequency(x, result, true);
}

bool indMchBehaviours::RxTone(X& x, const Row&, int32_t& result) {
    return Tone(x, result, false);
}

bool indMchBehaviours::TxTone(X& x, const Row&, int32_t& result) {
    return Tone(x, result, true);
}

bool indMchBehaviours::Name(X& x, const Row&, int32_t& result) {
    indCellCall& call = x.call;
    cmcTextCodecs::DisplayText p;
    p.length = 8;
    cmcTextCodecs::Glyphs glyphs;
    glyphs.userPatterns = x.w + L::SlotAddress(indTable::kUserCharacters);
    uint8_t name[8];
    std::memcpy(name, x.record.name, sizeof name);
    if (cmcTextCodecs::EditDisplayText(call.io, call.env, std::span<uint8_t>(name), p, glyphs)) {
        x.record.SetName(name);
        Refreshed(x, result);
    }
    // Without a canvas to paint the display characters on (printing to text, the command line) the
    // name is shown in its editing form.
    if (!call.io.painter && call.io.displayText.empty()) {
        call.io.displayText = cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(x.record.name));
        while (!call.io.displayText.empty() && call.io.displayText.back() == ' ')
            call.io.displayText.pop_back();
    }
    return Answer(x, result);
}

bool indMchBehaviours::ScanLists(X& x, const Row&, int32_t& result) {
    datCh& r = x.record;
    int32_t value = int32_t(r.lists);
    if (CC::EditBits(x.call.io, x.call.env, value, 1, 17, CC::BitLabels::Numeric, "")) {
        r.lists = uint32_t(value);
        r.Encode(0, x.n);
        Refreshed(x, result);
    }
    return Answer(x, result);
}

bool indMchBehaviours::ReceiveCodes(X& x, const Row&, int32_t& result) {
    indCellCall& call = x.call;
    const bool eight = call.cell == CL_Mch_RxCNo;
    // Kind 1 keeps ten codes in its own field; the eight-code cell always shows the kind-2 byte.
    const F field = !eight && call.recordKind == datCh::kChannel1 ? F::ReceiveCodes10 : F::ReceiveCodes;
    int32_t value = x.record.Get(field);
    const auto labels = eight ? CC::BitLabels::Numeric : CC::BitLabels::Alphanumeric;
    if (CC::EditBits(call.io, call.env, value, 1, eight ? 8 : 10, labels, "")) {
        x.record.Set(field, value);
        Refreshed(x, result);
    }
    Grey(x, eight ? x.type == 3 : x.Holds(indMchCond::TwoTone) || (x.type == 3 && !x.f1));
    return Answer(x, result);
}

bool indMchBehaviours::MskReceiveCodes(X& x, const Row& row, int32_t& result) {
    // Codes 1..7 are bits 1..7 of the shown value.
    int32_t value = x.record.Get(row.field) << 1;
    if (CC::EditBits(x.call.io, x.call.env, value, 1, 7, CC::BitLabels::Numeric, "")) {
        x.record.Set(row.field, value >> 1);
        Refreshed(x, result);
    }
    Grey(x, x.type == 3);
    return Answer(x, result);
}

bool indMchBehaviours::DtmfDecodeCode(X& x, const Row& row, int32_t& result) {
    int32_t value = x.record.Get(row.field);
    if (CC::EditChoiceTyped(x.call.io, x.call.env, value, "GI_Sheet_Sel_Mch_DTMF_Dec")) {
        x.record.Set(row.field, value);
        x.record.Set(F::DtmfDecode, value != 0);
        Refreshed(x, result);
    }
    Grey(x, !x.f1);
    return Answer(x, result);
}

bool indMchBehaviours::SignallingDecode(X& x, const Row& row, int32_t& result) {
    // The list's second entry (2) is the flag set.
    int32_t value = x.record.Get(row.field) ? 2 : 0;
    const char* list = x.pmr ? "GI_Sheet_Sel_Mch_SigType_Dec_Pmr" : "GI_Sheet_Sel_Mch_SigType_Dec_Lmr";
    if (CC::EditChoice(x.call.io, x.call.env, value, list)) {
        x.record.Set(row.field, (value >> 1) & 1);
        Refreshed(x, result);
    }
    Grey(x, x.type == 3);
    return Answer(x, result);
}

bool indMchBehaviours::MskRepeater(X& x, const Row& row, int32_t& result) {
    if (x.Holds(indMchCond::MskCode)) {
        x.Dashes("----");
        return true;
    }
    // 255 stands for "repeater first"; other values are the repeater code.
    datCh& r = x.record;
    int32_t value = r.Get(F::MskRepeaterFirst) ? 255 : r.Get(row.field);
    const char* list = value == 255 ? "GI_Sheet_Sel_Mch_Msk_Rpt_1st_Pmr" : "GI_Sheet_Sel_Mch_Msk_Rpt_2nd";
    if (CC::EditChoiceTyped(x.call.io, x.call.env, value, list)) {
        if (value == 255) {
            r.Set(F::MskRepeaterFirst, 1);
        } else {
            r.Set(F::MskRepeaterFirst, 0);
            r.Set(row.field, value);
        }
        Refreshed(x, result);
    }
    return Answer(x, result);
}

bool indMchBehaviours::GroupNumber(X& x, const Row& row, int32_t& result) {
    indCellCall& call = x.call;
    datCh& r = x.record;
    const bool receive = call.cell == CL_Grp_RxId;
    if (receive) {
        bool created = false;
        if (!x.CreateOnKey(created))
            return true;
        if (created)
            result = Io::kResultRefresh;
    }
    int32_t value = r.Get(row.field);
    cmcNumberCodecs::Stepped p;
    p.minimum = row.minimum;
    p.maximum = row.maximum;
    if (cmcNumberCodecs::EditStepped(call.io, value, p)) {
        if (receive && r.Get(F::GroupTxId) == r.Get(F::GroupRxId))
            r.Set(F::GroupTxId, value);
        r.Set(row.field, value);
        x.Changed();
        call.scope |= cmcCellCapsule::kScopeRecord;
        result = Io::kResultRefresh;
    }
    const bool same = r.Get(F::GroupTxId) == r.Get(F::GroupRxId);
    if (call.cell == CL_Grp_TxId && same && call.io.result != Io::kResultEdit)
        call.io.displayText = "<-";
    if (receive && r.Get(F::GroupRxId) == 0 && call.io.result != Io::kResultEdit)
        call.io.displayText.clear();
    return Answer(x, result);
}

bool indMchBehaviours::NxdnNac(X& x, const Row& row, int32_t& result) {
    PairStep(x, result, row.field == F::NxdnTxNac, F::NxdnRxNac, F::NxdnTxNac);
    Grey(x, x.type == 0);
    if (x.record.Get(row.field) > 63)
        x.call.capsule.stateBits |= cmcCellCapsule::kStateError;
    return true;
}

bool indMchBehaviours::DpmrColourCode(X& x, const Row& row, int32_t& result) {
    if (x.type == 0) {
        x.Dashes("----");
        return true;
    }
    PairStep(x, result, row.field == F::TxColourCode, F::RxColourCode, F::TxColourCode);
    if (x.record.Get(row.field) > 63)
        x.call.capsule.stateBits |= cmcCellCapsule::kStateError;
    return true;
}

bool indMchBehaviours::NxdnUnitId(X& x, const Row& row, int32_t& result) {
    if (!Bit(x.w[L::At(indTable::kNxdnOptions, 26)], 7)) {
        int32_t value = x.record.Get(row.field);
        cmcNumberCodecs::Stepped p;
        p.minimum = 1;
        p.maximum = x.call.unitIdMax;
        if (cmcNumberCodecs::EditStepped(x.call.io, value, p)) {
            x.record.Set(row.field, value);
            Refreshed(x, result);
        }
    } else {
        ShowFixedId(x, L::At(indTable::kNxdnOptions, 26), L::SlotAddress(indTable::kNxdnOptions),
                    L::At(indTable::kNxdnOptions, 2), "%d****");
    }
    Grey(x, x.type == 0);
    return Answer(x, result);
}

bool indMchBehaviours::VornUnitId(X& x, const Row& row, int32_t& result) {
    indCellCall& call = x.call;
    bool created = false;
    if (!x.CreateOnKey(created))
        return true;
    const int32_t k = call.io.Key();
    if (Bit(x.w[L::At(indTable::kTrunkOptions, 1)], 6)) {
        // One unit ID for every channel: a key that would edit the cell marks the channel in use.
        ShowFixedId(x, L::At(indTable::kTrunkOptions, 1), L::At(indTable::kTrunkOptions, 6),
                    L::At(indTable::kTrunkOptions, 8), "%d***");
        const bool sets = k == Io::kKeySpace || k == Io::kKeyBackspace || (k >= '0' && k <= '9') ||
                          (!created && (k == '.' || k == Io::kKeyReturn));
        if (sets && x.record.Get(row.field) != 1) {
            x.record.Set(row.field, 1);
            x.Changed();
            call.handler.Post(cmcEv::RedrawAll);
            result = Io::kResultRefresh;
        }
        return true;
    }
    int32_t value = x.record.Get(row.field);
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = 2000;
    if (cmcNumberCodecs::EditStepped(call.io, value, p) && value != 0) {
        x.record.Set(row.field, value);
        x.Changed();
        call.handler.Post(cmcEv::RedrawAll);
        result = Io::kResultRefresh;
    }
    return Answer(x, result);
}

bool indMchBehaviours::IndividualList(X& x, const Row&, int32_t& result) {
    datCh& r = x.record;
    const bool vorn = x.call.cell == CL_Mch_VORN_Ind_List;
    ListRef(x, result, r.individualList, vorn ? "GI_Sheet_Sel_IndList_VORN" : "GI_Sheet_Sel_IndList",
            vorn ? 21 : 19);
    const bool f1 = L::BankFlag(x.w, L::kBankF1, x.bank), f3 = L::BankFlag(x.w, L::kBankF3, x.bank);
    const bool applies = vorn ? (f3 && !f1) : (!f3 && !f1);
    // Only channels that call through the list can point past its end: an analogue channel keeps
    // the default reference even while the list is empty, and that is no error.
    const bool usesList = vorn || x.type >= 2;
    if (applies && usesList && (r.status & datCh::kInUse) &&
        r.individualList >= X::ListCount(x.w, vorn ? 28 : 18))
        x.call.capsule.stateBits |= cmcCellCapsule::kStateError;
    Grey(x, !vorn && x.type < 2);
    return true;
}

bool indMchBehaviours::NxdnTalkGroupList(X& x, const Row&, int32_t& result) {
    ListRef(x, result, x.record.nxdnTalkGroupList, "GI_Sheet_Sel_TGList", 20);
    Grey(x, x.type == 0);
    return true;
}

bool indMchBehaviours::VornTalkGroupList(X& x, const Row&, int32_t& result) {
    ListRef(x, result, x.record.vornTalkGroupList, "GI_Sheet_Sel_TGList_VORN", 22);
    return true;
}

bool indMchBehaviours::DpmrList(X& x, const Row&, int32_t& result) {
    indCellCall& call = x.call;
    datCh& r = x.record;
    const bool tg = call.cell == CL_Mch_Dpmr_TG_List;
    if (tg ? x.type == 0 : x.type < 2) {
        x.Dashes("----");
        return true;
    }
    uint16_t& field = tg ? r.dpmrTalkGroupList : r.dpmrCallList;
    int32_t value = field;
    if (CC::EditChoice(call.io, call.env, value, tg ? "GI_Sheet_Sel_CallList_Grp" : "GI_Sheet_Sel_CallList",
                       tg ? 25 : 23)) {
        field = uint16_t(value);
        r.Encode(0, x.n);
        Refreshed(x, result);
    }
    call.io.Show(std::to_string(int(field) + 1) + ": " + BcdDigits(x.w, field));
    if (int(field) >= X::ListCount(x.w, 31) && (r.status & datCh::kInUse) && tg)
        call.capsule.stateBits |= cmcCellCapsule::kStateError;
    return Answer(x, result);
}

bool indMchBehaviours::DpmrUnitId(X& x, const Row&, int32_t& result) {
    indCellCall& call = x.call;
    if (x.type == 0) {
        x.Dashes("----");
        return true;
    }
    uint8_t id[4];
    std::memcpy(id, x.record.dpmrUnitId, sizeof id);
    std::string shown;
    if (Bit(x.w[L::At(indTable::kDpmrOptions, 26)], 7)) {
        shown = cmcDigitCodecs::BcdIdText(
            std::span<const uint8_t>(x.w + L::SlotAddress(indTable::kDpmrOptions), 4), 7);
        call.io.Show(shown);
    } else {
        if (cmcDigitCodecs::EditBcdId(call.io, std::span<uint8_t>(id), 7, "0000001", "9999999", true)) {
            x.record.SetDpmrUnitId(id);
            Refreshed(x, result);
        }
        shown = cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(id), 7);
    }
    const std::string limit =
        cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(x.w + L::At(indTable::kDpmrOptions, 4), 4), 7);
    // An unset limit (all digits 0) limits nothing.
    if (limit != "0000000" && shown >= limit)
        call.capsule.stateBits |= cmcCellCapsule::kStateError;
    return Answer(x, result);
}

bool indMchBehaviours::DpmrEncryption(X& x, const Row& row, int32_t& result) {
    if (x.type == 0) {
        x.Dashes("----");
        return true;
    }
    int32_t value = x.record.Get(row.field);
    if (CC::EditChoiceTyped(x.call.io, x.call.env, value, "GI_Sheet_Sel_Dpmr_EncryptionList")) {
        x.record.Set(row.field, value);
        Refreshed(x, result);
    }
    // The key value of the chosen entry beside its number.
    if (x.call.io.result != Io::kResultEdit && value >= 0 && value < 32) {
        char text[16];
        std::snprintf(text, sizeof text, ": %5d",
                      int(L::Get16(x.w, L::SlotAddress(indTable::kDpmrKeys) + 2 * value)));
        x.call.io.displayText += text;
    }
    return Answer(x, result);
}

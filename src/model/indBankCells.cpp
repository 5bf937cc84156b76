#include "model/indBankCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "core/cmcText.h"
#include "model/indBankKind.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"
#include "model/indLayout.h"
#include "model/indWorkImage.h"

#include <cctype>
#include <span>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

constexpr const char* kNone = "Non";

void Changed(indCellCall& call, int32_t& result, uint8_t scope) {
    call.wrote = true;
    call.scope |= scope;
    result = Io::kResultRefresh;
}

// A bank number 0..7 or none (8) as the bank cells show it.
std::string BankText(int32_t bank) {
    return bank >= 0 && bank < L::kGroups ? "Bank " + std::to_string(bank + 1) : std::string(kNone);
}

void RunName(indCellCall& call, int32_t& result, int bank) {
    std::span<uint8_t> field(call.W() + indBankCells::kNamesAt + indBankCells::kNameLength * bank,
                             indBankCells::kNameLength);
    if (call.notify != cmcCellHandler::kNotifyAction) {
        Io show = call.io;
        show.editState = Io::kShow;
        show.key = 0;
        cmcTextCodecs::EditText(show, field, cmcTextCodecs::Fill::Spaces);
        call.io.displayText = show.displayText;
        return;
    }
    if (cmcTextCodecs::EditText(call.io, field, cmcTextCodecs::Fill::Spaces))
        Changed(call, result, cmcCellCapsule::kScopeAll); // the tree and bank sheets show the name
}

// The LTR repeater of a bank: 1..20, or none. An LTR bank in use without one cannot work: an error.
void RunRepeater(indCellCall& call, int32_t& result, int bank) {
    uint8_t* w = call.W();
    uint8_t& byte = w[indBankCells::kRepeaterAt + indBankCells::kRepeaterStride * bank];
    int32_t value = byte <= indBankCells::kRepeaters ? byte : 0;
    // Enter on the cell of a repeater or trunking bank opens the bank's repeater list; typed digits
    // and the step keys still set the bank's repeater.
    const indBankKind::Kind kind = indBankKind::Of(w, bank);
    if (call.notify == cmcCellHandler::kNotifyAction && call.io.editState == Io::kShow &&
        call.io.Key() == Io::kKeyReturn && call.handler.host &&
        (kind == indBankKind::Kind::Repeater || kind == indBankKind::Kind::Trunking) &&
        call.handler.host->ShowRepeaterWindow(bank)) {
        call.io.key = 0;
    }
    cmcNumberCodecs::Stepped p;
    p.minimum = 0;
    p.maximum = indBankCells::kRepeaters;
    const bool changed = cmcNumberCodecs::EditStepped(call.io, value, p);
    if (call.io.result == Io::kResultNone && value == 0)
        call.io.Show(kNone);
    if (changed && call.notify == cmcCellHandler::kNotifyAction && value != byte) {
        byte = static_cast<uint8_t>(value);
        Changed(call, result, cmcCellCapsule::kScopeSelf);
    }
    if (L::BankFlag(w, L::kBankF1, bank) && L::GroupCount(w, bank) > 0 && byte == 0)
        call.capsule.stateBits |= cmcCellCapsule::kStateError;
}

// The SmarTrunk bank: at most one bank carries the SmarTrunk flag; space and backspace step through
// the banks and none.
void RunSmarTrunk(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    int32_t bank = L::kGroups;
    for (int g = 0; g < L::kGroups; ++g)
        if (L::BankFlag(w, L::kBankF0, g)) {
            bank = g;
            break;
        }
    const int32_t key = call.io.Key();
    int32_t next = bank;
    if (key == Io::kKeySpace)
        next = (bank + 1) % (L::kGroups + 1);
    else if (key == Io::kKeyBackspace)
        next = (bank + L::kGroups) % (L::kGroups + 1);
    if (next != bank && call.notify == cmcCellHandler::kNotifyAction) {
        w[L::kBankF0] = next < L::kGroups ? uint8_t(0x80 >> next) : 0;
        call.banksChanged = true;
        Changed(call, result, cmcCellCapsule::kScopeAll);
        bank = next;
    }
    call.io.Show(BankText(bank));
}

// The bank new channels go to: space and backspace step through the banks and none; a typed bank
// number (1-8, "Bank 3" as shown) or "Non" chooses directly.
void RunFreeBank(indCellCall& call, int32_t& result) {
    uint8_t* w = call.W();
    uint8_t& byte = w[indOwnPlaces::kFreeBank];
    const int32_t bank = byte < L::kGroups ? byte : L::kGroups;
    const bool stored = indWorkImage::Keeps(w, indOwnPlaces::kFreeBank);
    int32_t next = bank;
    const int32_t key = call.io.Key();
    if (call.io.editState == Io::kEntered) {
        std::string typed = call.io.enteredText;
        for (char& c : typed)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (typed.rfind("bank", 0) == 0)
            typed.erase(0, 4);
        cmcText::TrimBlanks(typed);
        if (typed == "non" || typed == "none")
            next = L::kGroups;
        else if (typed.size() == 1 && typed[0] >= '1' && typed[0] < '1' + L::kGroups)
            next = typed[0] - '1';
        else
            call.io.Refuse(Io::kRefuseList);
    } else if (key == Io::kKeySpace) {
        next = (bank + 1) % (L::kGroups + 1);
    } else if (key == Io::kKeyBackspace) {
        next = (bank + L::kGroups) % (L::kGroups + 1);
    }
    if (stored && next != bank && call.notify == cmcCellHandler::kNotifyAction) {
        byte = static_cast<uint8_t>(next);
        Changed(call, result, cmcCellCapsule::kScopeSelf);
    }
    call.io.Show(BankText(byte < L::kGroups ? byte : L::kGroups));
    if (!stored)
        call.io.SetFontColor(Io::kGrey);
    else if (call.io.editState == Io::kShow && key == Io::kKeyReturn)
        call.io.OpenEditorTrimmed();
    else if (call.io.editState == Io::kShow && key > ' ' && key < 128)
        call.io.OpenEditorWith(static_cast<char>(key));
}

} // namespace

bool indBankCells::Handle(indCellCall& call, int32_t& result) {
    const int32_t cell = call.cell;
    if (cell == CL_Bank_SmarTrunk) {
        RunSmarTrunk(call, result);
        return true;
    }
    if (cell == CL_Bank_SelBankFree) {
        RunFreeBank(call, result);
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    if (cell != CL_Mch_BankText && cell != CL_Mch_Rpt)
        return false;
    const int bank = call.parameter;
    if (bank < 0 || bank >= L::kGroups) {
        call.io.displayText.clear();
        return true;
    }
    if (cell == CL_Mch_BankText)
        RunName(call, result, bank);
    else
        RunRepeater(call, result, bank);
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
    return true;
}

bool indBankCells::Serves(int32_t cell) {
    return cell == CL_Bank_SmarTrunk || cell == CL_Bank_SelBankFree || cell == CL_Mch_BankText ||
           cell == CL_Mch_Rpt;
}

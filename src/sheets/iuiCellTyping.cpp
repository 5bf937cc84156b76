#include "sheets/iuiCellTyping.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcChoiceList.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "model/indCellHandler.h"
#include "sheets/iuiListRecorder.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace {

std::string Normal(std::string_view s) {
    size_t first = 0, last = s.size();
    while (first < last && (s[first] == ' ' || s[first] == '\t'))
        ++first;
    while (last > first && (s[last - 1] == ' ' || s[last - 1] == '\t'))
        --last;
    std::string out;
    for (char c : s.substr(first, last - first))
        out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Puts the recorder in place of the program's windows while the text is typed.
class WindowsSwap {
public:
    WindowsSwap(cmcCodecEnv& codecs, cmcCellWindows* windows) : m_codecs(codecs), m_saved(codecs.Windows()) {
        m_codecs.SetWindows(windows);
    }
    ~WindowsSwap() { m_codecs.SetWindows(m_saved); }
    WindowsSwap(const WindowsSwap&) = delete;
    WindowsSwap& operator=(const WindowsSwap&) = delete;

private:
    cmcCodecEnv& m_codecs;
    cmcCellWindows* m_saved;
};

void Prepare(cmcCellCapsule& capsule, cmcCellObj& scratch, cuiSheet* sheet) {
    capsule.cell = &scratch;
    capsule.sheet = sheet;
    capsule.onGrid = true; // the handler honours keys and editors only on a grid
}

// The entry of the recorded list whose text is text; false when the list has none such.
bool Choose(indCellHandler& handler, cmcCodecEnv& codecs, cuiSheet* sheet, const cmcCellObj& cell,
            const iuiListRecorder& recorder, const std::string& text, cmcCellCapsule& answer) {
    if (recorder.listName.empty() || !codecs.Lists())
        return false;
    const cmcChoiceList& list = codecs.Lists()->List(recorder.listName, recorder.choiceCell);
    const std::string wanted = Normal(text);
    for (const cmcChoiceList::Entry& e : list.ByPosition()) {
        if (Normal(e.text) != wanted)
            continue;
        cmcCellObj entry;
        entry.cell = recorder.choiceCell;
        entry.parameter = e.value;
        cmcCellCapsule chosen;
        chosen.cell = &entry;
        cmcCellObj scratch = cell;
        Prepare(answer, scratch, sheet);
        answer.link = &chosen;
        answer.editState = cmcCellCapsule::kEditChosen;
        handler.CallCell(answer, cmcCellHandler::kNotifyAction);
        answer.link = nullptr;
        answer.cell = nullptr;
        return true;
    }
    return false;
}

} // namespace

std::string iuiCellTyping::Shown(indCellHandler& handler, cuiSheet* sheet, const cmcCellObj& cell) {
    if (!cell.HasCell())
        return cell.GetDisplayText();
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    capsule.sheet = sheet;
    capsule.displayText = cell.GetDisplayText();
    handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return capsule.displayText;
}

std::string iuiCellTyping::Outcome::Refusal() const {
    if (!reason.empty())
        return "refused: " + reason;
    std::string still = shown;
    for (char& c : still)
        if (c == '\n')
            c = ' ';
    return "refused (still " + still + ")";
}

bool iuiCellTyping::Same(const std::string& shown, const std::string& typed) {
    return Normal(shown) == Normal(typed) || SameNumber(shown, typed);
}

bool iuiCellTyping::SameNumber(const std::string& a, const std::string& b) {
    auto parse = [](const std::string& text, double& value) {
        const std::string s = Normal(text);
        // Digits with at most one point and a leading minus: no exponents, no hexadecimal, no words.
        if (s.empty() || s.find_first_not_of("-.0123456789") != std::string::npos ||
            s.find('-', 1) != std::string::npos || s.find('.') != s.rfind('.') ||
            s.find_first_of("0123456789") == std::string::npos)
            return false;
        const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
        return error == std::errc() && end == s.data() + s.size();
    };
    // Whole numbers stay texts: the leading zeros of a code ("0012") are part of it.
    if (a.find('.') == std::string::npos && b.find('.') == std::string::npos)
        return false;
    double x = 0, y = 0;
    return parse(a, x) && parse(b, y) && x == y;
}

std::string iuiCellTyping::RefusalOf(const cmcCellCapsule& capsule) {
    // "" when the cell gave no reason: the caller then names what the cell still shows.
    return capsule.refusal;
}

iuiCellTyping::Outcome iuiCellTyping::Type(indCellHandler& handler, cmcCodecEnv& codecs, cuiSheet* sheet,
                                           const cmcCellObj& cell, const std::string& text) {
    Outcome outcome;
    cmcEeprom* work = handler.Get().work;
    const cmcEeprom before = work ? *work : cmcEeprom();
    iuiListRecorder recorder;
    WindowsSwap swap(codecs, &recorder);

    // Carriage return first: it adds the entry of a new row, and tells which list the cell offers.
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    Prepare(capsule, scratch, sheet);
    capsule.key = cmcCellCapsule::kKeyReturn;
    handler.CallCell(capsule, cmcCellHandler::kNotifyAction);
    if (capsule.redirect.on &&
        (capsule.redirect.cell != cell.cell || capsule.redirect.parameter != cell.parameter)) {
        outcome.firstCell = capsule.redirect.cell;
        outcome.shown = Shown(handler, sheet, cell);
        outcome.reason = "the row is empty; set its first cell first";
        return outcome;
    }

    // What carriage return changed (a new row's entry) does not make the text taken.
    const cmcEeprom afterReturn = work ? *work : cmcEeprom();
    cmcCellCapsule answer;
    if (!Choose(handler, codecs, sheet, cell, recorder, text, answer)) {
        // Lists of numbers also take typed numbers.
        scratch = cell;
        answer.ResetCapsule();
        Prepare(answer, scratch, sheet);
        answer.editState = cmcCellCapsule::kEditEntered;
        answer.enteredText = text;
        handler.CallCell(answer, cmcCellHandler::kNotifyAction);
        answer.cell = nullptr;
    }
    outcome.changed = work && !(*work == before);
    outcome.shown = Shown(handler, sheet, cell);
    // A text the cell refused is not taken because the cell happens to show it: an empty text on a
    // blank row shows as the empty row it leaves.
    const std::string refusal = RefusalOf(answer);
    outcome.accepted = (work && !(*work == afterReturn)) || (Same(outcome.shown, text) && refusal.empty());
    if (!outcome.accepted)
        outcome.reason = refusal;
    return outcome;
}

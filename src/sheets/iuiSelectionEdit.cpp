#include "sheets/iuiSelectionEdit.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "core/cmcEeprom.h"
#include "model/indCellHandler.h"
#include "sheets/iuiCellTyping.h"

#include <cctype>
#include <cstdlib>

namespace {

// A key stepping many cells opens none of the windows a cell may open on it.
class NoWindows : public cmcCellWindows {
public:
    void OpenList(const cmcCellCapsule*, std::string_view, int32_t, int32_t) override {}
    void OpenBits(const cmcCellCapsule*, int32_t, int32_t, int32_t, int32_t, std::string_view) override {}
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {}
    void OpenCharEditor(const cmcCellCapsule*, int32_t) override {}
    bool AskPassword(const cmcCellCapsule*, std::string&) override { return false; }
};

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r')
            c = ' ';
    return s;
}

// A decimal number ("446.00625", "-12.5", "12,5") as a whole count of 10^-decimals units. At most
// twelve whole digits, so that a series of any length stays far inside 64 bits; fraction digits beyond
// decimals must be zeros.
bool ParseScaled(const std::string& text, int decimals, bool allowSign, int64_t& out) {
    const std::string s = Trimmed(text);
    size_t i = 0;
    bool negative = false;
    if (allowSign && i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    int64_t whole = 0;
    int wholeDigits = 0, fractionDigits = 0;
    int64_t fraction = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' || c == ',') {
            if (point)
                return false;
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            if (!point) {
                if (++wholeDigits > 12)
                    return false;
                whole = whole * 10 + (c - '0');
            } else if (fractionDigits < decimals) {
                fraction = fraction * 10 + (c - '0');
                ++fractionDigits;
            } else if (c != '0') {
                return false;
            }
        } else {
            return false;
        }
    }
    if (wholeDigits == 0 && fractionDigits == 0)
        return false;
    for (int d = fractionDigits; d < decimals; ++d)
        fraction *= 10;
    int64_t scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    out = whole * scale + fraction;
    if (negative)
        out = -out;
    return true;
}

bool AllDigits(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

iuiSelectionEdit::iuiSelectionEdit(indCellHandler& handler, cmcCodecEnv& codecs, cuiSheet* sheet)
    : m_handler(handler), m_codecs(codecs), m_sheet(sheet) {}

void iuiSelectionEdit::Refuse(Result& result, const Target& target, Refusal::Why why,
                              const std::string& text) {
    Refusal refusal;
    refusal.row = target.row;
    refusal.rowName = target.rowName;
    refusal.why = why;
    refusal.text = OneLine(text);
    result.refused.push_back(std::move(refusal));
}

iuiSelectionEdit::Result iuiSelectionEdit::Type(const std::vector<Target>& cells, const std::string& text) {
    return TypeEach(cells, std::vector<std::string>(cells.size(), text));
}

iuiSelectionEdit::Result iuiSelectionEdit::TypeEach(const std::vector<Target>& cells,
                                                    const std::vector<std::string>& texts) {
    Result result;
    for (size_t i = 0; i < cells.size() && i < texts.size(); ++i) {
        const Target& target = cells[i];
        const iuiCellTyping::Outcome outcome =
            iuiCellTyping::Type(m_handler, m_codecs, m_sheet, target.cell, texts[i]);
        if (outcome.changed)
            ++result.changed;
        if (outcome.accepted)
            continue;
        if (outcome.firstCell >= 0)
            Refuse(result, target, Refusal::kEmptyRow, {});
        else if (!outcome.reason.empty())
            Refuse(result, target, Refusal::kSaid, outcome.reason);
        else
            Refuse(result, target, Refusal::kStill, outcome.shown);
    }
    return result;
}

iuiSelectionEdit::Result iuiSelectionEdit::Step(const std::vector<Target>& cells, int32_t key) {
    Result result;
    cmcEeprom* work = m_handler.Get().work;
    NoWindows none;
    cmcCellWindows* saved = m_codecs.Windows();
    m_codecs.SetWindows(&none);
    for (const Target& target : cells) {
        const cmcEeprom before = work ? *work : cmcEeprom();
        cmcCellObj scratch = target.cell;
        cmcCellCapsule capsule;
        capsule.cell = &scratch;
        capsule.sheet = m_sheet;
        capsule.onGrid = true;
        capsule.key = key;
        const int32_t answer = m_handler.CallCell(capsule, cmcCellHandler::kNotifyAction);
        capsule.cell = nullptr;
        if (work && !(*work == before)) {
            ++result.changed;
            continue;
        }
        if (capsule.redirect.on && (capsule.redirect.cell != target.cell.cell ||
                                    capsule.redirect.parameter != target.cell.parameter))
            Refuse(result, target, Refusal::kEmptyRow, {});
        else if (!capsule.refusal.empty())
            Refuse(result, target, Refusal::kSaid, capsule.refusal);
        else if (answer == cmcCellHandler::kResultEdit)
            Refuse(result, target, Refusal::kNoStep, {});
        else
            Refuse(result, target, Refusal::kStill, iuiCellTyping::Shown(m_handler, m_sheet, target.cell));
    }
    m_codecs.SetWindows(saved);
    return result;
}

iuiSelectionEdit::Result iuiSelectionEdit::FillDown(const std::vector<Target>& cells) {
    if (cells.size() < 2)
        return {};
    const std::string text = OneLine(iuiCellTyping::Shown(m_handler, m_sheet, cells.front().cell));
    const std::vector<Target> rest(cells.begin() + 1, cells.end());
    return Type(rest, text);
}

bool iuiSelectionEdit::SeriesTexts(Series kind, const std::string& start, const std::string& step,
                                   size_t count, std::vector<std::string>& texts, SeriesError& error) {
    texts.clear();
    error = SeriesError::kNone;
    // Frequencies in hertz: a start in MHz (six decimals), a step in kHz (three decimals).
    const bool frequency = kind == Series::kFrequency;
    int64_t first = 0, by = 0;
    if (!ParseScaled(start, frequency ? 6 : 0, false, first)) {
        error = SeriesError::kStart;
        return false;
    }
    if (!ParseScaled(step, frequency ? 3 : 0, true, by)) {
        error = SeriesError::kStep;
        return false;
    }
    // A number written with leading zeros ("0012") keeps its width: the zeros belong to the code.
    const std::string written = Trimmed(start);
    const size_t width = !frequency && written.size() > 1 && written[0] == '0' ? written.size() : 0;
    for (size_t i = 0; i < count; ++i) {
        const int64_t value = first + by * static_cast<int64_t>(i);
        if (value < 0) {
            texts.clear();
            error = SeriesError::kBelowZero;
            return false;
        }
        std::string text;
        if (frequency) {
            std::string hertz = std::to_string(value % 1000000);
            text = std::to_string(value / 1000000) + "." + std::string(6 - hertz.size(), '0') + hertz;
        } else {
            text = std::to_string(value);
            if (text.size() < width)
                text.insert(0, width - text.size(), '0');
        }
        texts.push_back(std::move(text));
    }
    return true;
}

bool iuiSelectionEdit::SeriesKindOf(const std::string& header, const std::string& shown, Series& kind) {
    std::string lower;
    for (char c : header)
        lower += char(std::tolower(static_cast<unsigned char>(c)));
    const std::string value = Trimmed(OneLine(shown));
    int64_t scaled = 0;
    if (lower.find("mhz") != std::string::npos ||
        (value.find('.') != std::string::npos && ParseScaled(value, 6, false, scaled))) {
        kind = Series::kFrequency;
        return true;
    }
    if (value.empty() || AllDigits(value)) {
        kind = Series::kNumber;
        return true;
    }
    return false;
}

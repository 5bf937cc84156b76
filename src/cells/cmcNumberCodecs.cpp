#include "cells/cmcNumberCodecs.h"

#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"

#include <cmath>
#include <cstdio>

namespace {

using T = cmcCodecText;
constexpr std::string_view kNumberChars = "0123456789.-";

int64_t Pow10(int32_t n) {
    int64_t p = 1;
    for (int32_t i = 0; i < n && i < 18; ++i)
        p *= 10;
    return p;
}

bool IsStepKey(int32_t k) {
    return k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace;
}

// Value plus or minus one, wrapping from one end of low..high to the other.
int32_t StepWrap(int32_t value, int32_t k, int32_t low, int32_t high) {
    int64_t v = int64_t(value) + (k == cmcCodecIo::kKeySpace ? 1 : -1);
    if (v < low)
        return high;
    if (v > high)
        return low;
    return static_cast<int32_t>(v);
}

// A typed number as the numeric cells read it: digits, "." and "-" only, the first 9 of them, rounded
// to the nearest integer. None when no digit was typed.
bool ReadTypedInteger(std::string_view text, int64_t& out, bool dotCounts = false) {
    std::string r = T::Reduce(text, kNumberChars, 9);
    bool usable = T::HasDigit(r) || (dotCounts && r.find('.') != std::string::npos);
    if (!usable)
        return false;
    out = T::RoundHalfAway(T::ReadDecimal(r));
    return true;
}

// The reason for a number outside low..high, the limits shown as the cell shows its values.
void RefuseRange(cmcCodecIo& io, int64_t low, int64_t high) {
    char a[16], b[16];
    io.Refuse(cmcCodecIo::kRefuseRange, {T::FormatInt(a, low), T::FormatInt(b, high)});
}

// Key rules shared by the integer codecs: carriage return opens the editor with the trimmed text, a
// digit (or "-" when negative values exist) with that character.
void OpenIntegerEditor(cmcCodecIo& io, int32_t k, bool negative) {
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorTrimmed();
    else if (T::IsDigit(k) || (k == '-' && negative))
        io.OpenEditorWith(static_cast<char>(k));
}

} // namespace

bool cmcNumberCodecs::EditNumber(cmcCodecIo& io, int32_t& value, int32_t minWidth, int32_t minimum,
                                 int32_t maximum, bool noFill) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        int64_t n = 0;
        if (!ReadTypedInteger(io.enteredText, n)) {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        } else if (n < minimum || n > maximum) {
            RefuseRange(io, minimum, maximum);
        } else {
            value = static_cast<int32_t>(n);
            changed = true;
        }
    } else if (IsStepKey(k)) {
        value = StepWrap(value, k, minimum, maximum);
        changed = true;
    }
    char digits[16];
    std::string_view number = T::FormatInt(digits, value < 0 ? -int64_t(value) : value);
    char text[32];
    size_t n = 0;
    if (value < 0)
        text[n++] = '-';
    if (!noFill)
        for (size_t w = number.size() + n; w < static_cast<size_t>(minWidth) && n < 15; ++w)
            text[n++] = '0';
    number.copy(text + n, number.size());
    io.Show(std::string_view(text, n + number.size()));
    OpenIntegerEditor(io, k, minimum < 0);
    return changed;
}

bool cmcNumberCodecs::EditStepped(cmcCodecIo& io, int32_t& value, const Stepped& p) {
    bool changed = false;
    int32_t step = p.step > 0 ? p.step : 1;
    auto clampIn = [&] {
        if (p.clamp && (value < p.minimum || value > p.maximum)) {
            value = static_cast<int32_t>(T::Limit(value, p.minimum, p.maximum));
            changed = true;
        }
    };
    clampIn();
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        int64_t n = 0;
        // Nothing usable typed leaves the value alone (the value is never half-stored).
        if (ReadTypedInteger(io.enteredText, n, true)) {
            n = T::RoundToStep(n - p.offset, step);
            value = static_cast<int32_t>(T::Limit(n, p.minimum, p.maximum));
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        }
    } else if (IsStepKey(k)) {
        int64_t v = int64_t(value) + (k == cmcCodecIo::kKeySpace ? step : -step);
        if (v < p.minimum)
            v = p.saturate ? p.minimum : p.maximum;
        else if (v > p.maximum)
            v = p.saturate ? p.maximum : p.minimum;
        value = static_cast<int32_t>(T::TruncToStep(v, step));
        changed = true;
    }
    clampIn();
    if (p.fixedText) {
        io.Show(p.fixedText);
    } else {
        char digits[16];
        io.Show(T::FormatInt(digits, int64_t(value) + p.offset));
    }
    OpenIntegerEditor(io, k, p.minimum < 0);
    return changed;
}

bool cmcNumberCodecs::EditStepped(cmcCodecIo& io, uint8_t& value, const Stepped& p) {
    int32_t v = value;
    bool changed = EditStepped(io, v, p);
    value = static_cast<uint8_t>(T::Limit(v, 0, 255));
    return changed;
}

std::string cmcNumberCodecs::FormatFixedPoint(int32_t value, int32_t storedDecimals, int32_t shownDecimals) {
    int64_t scale = Pow10(storedDecimals);
    int64_t whole = value / scale;
    int64_t fraction = value % scale;
    if (fraction < 0)
        fraction = -fraction;
    if (shownDecimals >= storedDecimals)
        fraction *= Pow10(shownDecimals - storedDecimals);
    else
        fraction /= Pow10(storedDecimals - shownDecimals);
    char text[48];
    int n;
    // A negative value above -1 has no sign in its whole part; write it so that -0.5 does not read 0.5.
    if (value < 0 && whole == 0)
        n = std::snprintf(text, sizeof text, "%3s.%0*lld", "-0", static_cast<int>(shownDecimals),
                          static_cast<long long>(fraction));
    else
        n = std::snprintf(text, sizeof text, "%3lld.%0*lld", static_cast<long long>(whole),
                          static_cast<int>(shownDecimals), static_cast<long long>(fraction));
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

bool cmcNumberCodecs::EditFixedPoint(cmcCodecIo& io, int32_t& value, const FixedPoint& p) {
    bool changed = false;
    double scale = static_cast<double>(Pow10(p.storedDecimals));
    int64_t low = T::RoundHalfAway(p.minimum * scale);
    int64_t high = T::RoundHalfAway(p.maximum * scale);
    int32_t step = p.step > 0 ? p.step : 1;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        std::string r = T::Reduce(io.enteredText, kNumberChars, 9);
        if (!r.empty()) {
            constexpr double kLimit = (1 << 30) - 2;
            double x = T::ReadDecimal(r) * scale;
            x = x < -kLimit ? -kLimit : (x > kLimit ? kLimit : x);
            int64_t n = T::TruncToStep(T::RoundHalfAway(x), step);
            value = static_cast<int32_t>(T::Limit(n, low, high));
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        }
    } else if (p.stepping && IsStepKey(k)) {
        int64_t v = int64_t(value) + (k == cmcCodecIo::kKeySpace ? step : -step);
        value = static_cast<int32_t>(T::Limit(v, low, high));
        changed = true;
    }
    io.Show(FormatFixedPoint(value, p.storedDecimals, p.shownDecimals));
    if (k == '.' || k == '-' || T::IsDigit(k)) {
        io.OpenEditorWith(static_cast<char>(k));
    } else if (k == cmcCodecIo::kKeyReturn || (!p.stepping && k == cmcCodecIo::kKeySpace)) {
        if (p.clearOnEdit)
            io.OpenEditorAt("", 0);
        else
            io.OpenEditorTrimmed();
    }
    return changed;
}

std::string cmcNumberCodecs::FormatTimer(int32_t value, int32_t unitsPerSecond, int32_t dropZeros) {
    int64_t u = unitsPerSecond > 0 ? unitsPerSecond : 1;
    char text[48];
    int n = std::snprintf(text, sizeof text, "%3lld.%03lld", static_cast<long long>(value / u),
                          static_cast<long long>(int64_t(value) * 1000 / u % 1000));
    std::string s(text, n > 0 ? static_cast<size_t>(n) : 0);
    for (int32_t i = 0; i < dropZeros && !s.empty() && s.back() == '0'; ++i)
        s.pop_back();
    if (dropZeros > 0 && !s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

namespace {

// Whether a typed text asks for "off": longer than one character and starting with "OF" in any case.
bool TypedOff(std::string_view text) {
    text = cmcCodecText::Trim(text);
    return text.size() > 1 && (text[0] == 'O' || text[0] == 'o') && (text[1] == 'F' || text[1] == 'f');
}

} // namespace

bool cmcNumberCodecs::EditTimer(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const Timer& p) {
    bool changed = false;
    int32_t u = p.unitsPerSecond > 0 ? p.unitsPerSecond : 1;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        if (TypedOff(io.enteredText)) {
            // Off is 0; a timer without off keeps its value rather than taking one it cannot hold.
            if (p.offAllowed || (p.minimum <= 0 && p.maximum >= 0)) {
                value = 0;
                changed = true;
            } else {
                const std::string low = FormatTimer(p.minimum, u, 3), high = FormatTimer(p.maximum, u, 3);
                io.Refuse(cmcCodecIo::kRefuseRange, {T::Trim(low), T::Trim(high)});
            }
        } else {
            std::string r = T::Reduce(io.enteredText, "0123456789.", 9);
            if (!r.empty()) {
                double x = (T::ReadDecimal(r) + 0.0005) * u;
                x = x < p.minimum ? p.minimum : (x > p.maximum ? p.maximum : x);
                value = static_cast<int32_t>(std::trunc(x));
                changed = true;
            } else {
                io.Refuse(cmcCodecIo::kRefuseNumber);
            }
        }
    } else if (IsStepKey(k)) {
        value = StepWrap(value, k, p.minimum, p.maximum);
        changed = true;
    }
    bool opens = k == cmcCodecIo::kKeyReturn || k == '.' || k == 'O' || k == 'o' || T::IsDigit(k);
    if (value == 0 && p.offAllowed && !opens)
        io.Show(env.Text(kTimerOffKey));
    else
        io.Show(FormatTimer(value, u, p.dropZeros));
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorTrimmed();
    else if (opens)
        io.OpenEditorWith(static_cast<char>(k));
    return changed;
}

bool cmcNumberCodecs::EditTimer(cmcCodecIo& io, cmcCodecEnv& env, uint8_t& value, const Timer& p) {
    Timer byteTimer = p;
    byteTimer.minimum = 0;
    byteTimer.maximum = 255;
    int32_t v = value;
    bool changed = EditTimer(io, env, v, byteTimer);
    value = static_cast<uint8_t>(T::Limit(v, 0, 255));
    return changed;
}

bool cmcNumberCodecs::EditMinSec(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const MinSec& p) {
    bool changed = false;
    int32_t r = p.resolution > 0 && p.resolution <= 60 ? p.resolution : 1;
    int32_t f = 60 / r;
    int32_t low = p.minimumSeconds / r;
    int32_t high = p.maximumSeconds / r;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        std::string t = T::Reduce(io.enteredText, "0123456789:");
        if (!t.empty() && t.size() <= 6) { // "mmm:ss"
            size_t colon = t.find(':');
            std::string_view minutes = std::string_view(t).substr(0, colon);
            std::string_view seconds;
            if (colon != std::string::npos) {
                seconds = std::string_view(t).substr(colon + 1);
                seconds = seconds.substr(0, seconds.find(':'));
            }
            int64_t m = static_cast<int64_t>(T::ReadDecimal(minutes));
            int64_t s = static_cast<int64_t>(T::ReadDecimal(seconds));
            int64_t v = s / r + int64_t(f) * m + (2 * (s % r) >= r ? 1 : 0);
            value = static_cast<int32_t>(T::Limit(v, low, high));
            changed = true;
        } else if (t.empty()) {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        } else {
            io.Refuse(cmcCodecIo::kRefuseLength, {"6"}); // "mmm:ss"
        }
    } else if (IsStepKey(k)) {
        value = StepWrap(value, k, low, high);
        changed = true;
    }
    bool opens = k == cmcCodecIo::kKeyReturn || k == ':' || T::IsDigit(k);
    if (value == 0 && p.offAllowed && !opens) {
        io.Show(env.Text(kTimerOffKey));
    } else {
        char text[32];
        int n = std::snprintf(text, sizeof text, "%2d:%02d", value / f, r * (value % f));
        io.Show(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0));
    }
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorTrimmed();
    else if (opens)
        io.OpenEditorWith(static_cast<char>(k));
    return changed;
}

bool cmcNumberCodecs::EditAdjust(cmcCodecIo& io, int32_t& value, const Adjust& p) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        int64_t n = 0;
        if (ReadTypedInteger(io.enteredText, n, true)) {
            value = static_cast<int32_t>(T::Limit(n - p.offset, p.minimum, p.maximum));
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        }
    } else if (k == cmcCodecIo::kKeyRight || k == cmcCodecIo::kKeyLeft) {
        int32_t step = io.shift ? p.largeStep : p.smallStep;
        step = step > 0 ? step : 1;
        int64_t v = int64_t(value) + (k == cmcCodecIo::kKeyRight ? step : -step);
        value = static_cast<int32_t>(T::TruncToStep(T::Limit(v, p.minimum, p.maximum), step));
        changed = true;
    }
    char digits[16];
    io.Show(T::FormatInt(digits, int64_t(value) + p.offset));
    OpenIntegerEditor(io, k, p.minimum < 0);
    return changed;
}

std::string cmcNumberCodecs::AdjustBar(int32_t value, int32_t minimum, int32_t maximum) {
    int64_t span = int64_t(maximum) - minimum;
    int64_t filled = span > 0 ? (int64_t(value) - minimum) * 20 / span : 0;
    filled = T::Limit(filled, 0, 20);
    std::string bar = "[";
    bar.append(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(20 - filled), '-');
    bar += ']';
    return bar;
}

#include "cells/cmcDigitCodecs.h"

#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"
#include "core/cmcText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using T = cmcCodecText;

uint8_t GetNibble(std::span<const uint8_t> bytes, size_t i) {
    uint8_t b = bytes[i / 2];
    return (i % 2 == 0) ? static_cast<uint8_t>(b >> 4) : static_cast<uint8_t>(b & 0x0F);
}

void PutNibble(std::span<uint8_t> bytes, size_t i, uint8_t digit) {
    uint8_t& b = bytes[i / 2];
    b = (i % 2 == 0) ? static_cast<uint8_t>((b & 0x0F) | (digit << 4))
                     : static_cast<uint8_t>((b & 0xF0) | (digit & 0x0F));
}

// Space and backspace act as carriage return in these codecs.
int32_t DigitKey(const cmcCodecIo& io) {
    int32_t k = io.Key();
    return k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace ? cmcCodecIo::kKeyReturn : k;
}

void OpenOnKey(cmcCodecIo& io, int32_t k, bool opensWithChar) {
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorTrimmed();
    else if (opensWithChar)
        io.OpenEditorWith(static_cast<char>(k));
}

} // namespace

bool cmcDigitCodecs::EditHex(cmcCodecIo& io, int32_t& value, int32_t minimum, int32_t maximum,
                             int32_t digits) {
    bool changed = false;
    int32_t k = DigitKey(io);
    digits = std::clamp(digits, 1, 8);
    if (io.editState == cmcCodecIo::kEntered) {
        std::string_view t = T::Trim(io.enteredText).substr(0, static_cast<size_t>(digits) + 1);
        bool hex = !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return T::IsHexDigit(c); });
        if (hex) {
            int64_t v = 0;
            for (char c : t)
                v = v * 16 + T::HexValue(c);
            value = static_cast<int32_t>(T::Limit(v, minimum, maximum));
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseChars, {"0-9, A-F"});
        }
    }
    char text[16];
    int n = std::snprintf(text, sizeof text, "%0*X", static_cast<int>(digits), static_cast<unsigned>(value));
    io.Show(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0));
    OpenOnKey(io, k, k > 0 && k < 128 && T::IsHexDigit(k));
    return changed;
}

bool cmcDigitCodecs::EditHexDigit(cmcCodecIo& io, int32_t& value, bool lettersToF) {
    int32_t top = lettersToF ? 15 : 14;
    auto allowed = [&](int32_t c) { return c > 0 && c < 128 && T::IsHexDigit(c) && T::HexValue(c) <= top; };
    bool changed = false;
    int32_t k = DigitKey(io);
    if (io.editState == cmcCodecIo::kEntered) {
        std::string_view t = T::Trim(io.enteredText);
        if (!t.empty() && allowed(static_cast<unsigned char>(t[0]))) {
            value = T::HexValue(t[0]);
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseChars, {lettersToF ? "0-9, A-F" : "0-9, A-E"});
        }
    }
    io.Show(std::string(1, cmcText::HexDigitChar(unsigned(value))));
    OpenOnKey(io, k, allowed(k));
    return changed;
}

bool cmcDigitCodecs::EditHexString(cmcCodecIo& io, std::span<uint8_t> nibbles, bool letters) {
    std::string_view allowed = letters ? "0123456789abcdefABCDEF" : "0123456789";
    bool changed = false;
    int32_t k = DigitKey(io);
    size_t n = nibbles.size();
    if (io.editState == cmcCodecIo::kEntered) {
        std::string r = T::Reduce(io.enteredText, allowed);
        if (!r.empty()) {
            if (r.size() < n)
                r.insert(0, n - r.size(), '0');
            for (size_t i = 0; i < n; ++i)
                nibbles[i] = static_cast<uint8_t>(T::HexValue(r[i]));
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseChars, {letters ? "0-9, A-F" : "0-9"});
        }
    }
    char text[64];
    size_t shown = std::min(n, sizeof text);
    for (size_t i = 0; i < shown; ++i)
        text[i] = cmcText::HexDigitChar(nibbles[i]);
    io.Show(std::string_view(text, shown));
    OpenOnKey(io, k, k > 0 && k < 128 && allowed.find(static_cast<char>(k)) != std::string_view::npos);
    return changed;
}

bool cmcDigitCodecs::EditHexString(cmcCodecIo& io, int32_t& value, int32_t digits, bool letters) {
    digits = std::clamp(digits, 1, 8);
    uint8_t nibbles[8];
    for (int32_t i = 0; i < digits; ++i)
        nibbles[i] = static_cast<uint8_t>((static_cast<uint32_t>(value) >> (4 * (digits - 1 - i))) & 0x0F);
    bool changed = EditHexString(io, std::span<uint8_t>(nibbles, static_cast<size_t>(digits)), letters);
    if (changed) {
        uint32_t v = 0;
        for (int32_t i = 0; i < digits; ++i)
            v = (v << 4) | nibbles[i];
        value = static_cast<int32_t>(v);
    }
    return changed;
}

bool cmcDigitCodecs::EditDtmf(cmcCodecIo& io, std::span<uint8_t> nibbles, uint8_t& length,
                              int32_t maxDigits) {
    size_t capacity = std::min(nibbles.size() * 2, static_cast<size_t>(std::max(maxDigits, 0)));
    bool changed = false;
    int32_t k = DigitKey(io);
    if (io.editState == cmcCodecIo::kEntered) {
        std::string r = T::Reduce(io.enteredText, "0123456789abcdefABCDEF*#", capacity);
        std::fill(nibbles.begin(), nibbles.end(), 0);
        for (size_t i = 0; i < r.size(); ++i)
            PutNibble(nibbles, i,
                      static_cast<uint8_t>(r[i] == '*' ? 0xE : (r[i] == '#' ? 0xF : T::HexValue(r[i]))));
        length = static_cast<uint8_t>(r.size());
        changed = true;
    }
    static constexpr char kDtmf[] = "0123456789ABCD*#";
    char text[64];
    size_t shown = std::min({static_cast<size_t>(length), nibbles.size() * 2, sizeof text});
    for (size_t i = 0; i < shown; ++i)
        text[i] = kDtmf[GetNibble(nibbles, i)];
    io.Show(std::string_view(text, shown));
    OpenOnKey(io, k, k > 0 && k < 128 && (T::IsHexDigit(k) || k == '*' || k == '#'));
    return changed;
}

bool cmcDigitCodecs::EditToneCode(cmcCodecIo& io, std::span<uint8_t> nibbles, uint8_t& mark,
                                  uint8_t repeatDigit, int32_t maxDigits, bool plusMarks) {
    size_t capacity = nibbles.size() * 2;
    bool changed = false;
    int32_t k = DigitKey(io);
    if (io.editState == cmcCodecIo::kEntered) {
        std::string r =
            T::Reduce(io.enteredText, plusMarks ? "0123456789abcdegABCDEG*+" : "0123456789abcdegABCDEG*",
                      std::min(capacity, static_cast<size_t>(std::max(maxDigits, 0))));
        if (!r.empty()) {
            uint8_t marks = 0;
            for (size_t i = 0; i < capacity; ++i) {
                uint8_t digit = 0xF; // F ends the sequence and fills the rest
                if (i < r.size()) {
                    char c = r[i];
                    if (c == '*' || c == 'G' || c == 'g') {
                        digit = repeatDigit;
                    } else if (c == '+') {
                        digit = 0;
                        if (i < 8)
                            marks = static_cast<uint8_t>(marks | (0x80 >> i));
                    } else {
                        digit = static_cast<uint8_t>(T::HexValue(c));
                    }
                }
                PutNibble(nibbles, i, digit);
            }
            mark = marks;
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseChars, {plusMarks ? "0-9, A-E, *, G, +" : "0-9, A-E, *, G"});
        }
    }
    static constexpr char kTone[] = "0123456789ABCDE*";
    char text[8];
    size_t n = 0;
    for (size_t i = 0; i < capacity && i < 8; ++i) {
        uint8_t d = GetNibble(nibbles, i);
        if (d == 0xF)
            break;
        text[n++] = (mark & (0x80 >> i)) ? '+' : (d == repeatDigit ? '*' : kTone[d]);
    }
    io.Show(std::string_view(text, n));
    OpenOnKey(io, k,
              k > 0 && k < 128 &&
                  (T::IsHexDigit(k) || k == '*' || k == 'G' || k == 'g' || k == '#' || k == '+'));
    return changed;
}

namespace {

// "00" + id + "0" packed high digit first ("*" = 10); digits odd, so the result has whole bytes.
std::vector<uint8_t> PackId(std::string_view id, size_t digits) {
    std::vector<uint8_t> packed((digits + 3) / 2, 0);
    for (size_t i = 0; i < digits + 2; ++i) {
        char c = i >= 2 && i - 2 < id.size() ? id[i - 2] : '0';
        PutNibble(packed, i, static_cast<uint8_t>(c == '*' ? 10 : (c >= '0' && c <= '9' ? c - '0' : 0)));
    }
    return packed;
}

} // namespace

std::string cmcDigitCodecs::BcdIdText(std::span<const uint8_t> packed, int32_t digits) {
    static constexpr char kId[] = "0123456789*?????";
    std::string text;
    size_t n = std::min(static_cast<size_t>(std::max(digits, 0)), packed.size() * 2);
    for (size_t i = 0; i < n; ++i)
        text += kId[GetNibble(packed, i)];
    return text;
}

bool cmcDigitCodecs::EditBcdId(cmcCodecIo& io, std::span<uint8_t> packed, int32_t digits,
                               std::string_view minimum, std::string_view maximum, bool noWildcard) {
    size_t n = static_cast<size_t>(std::max(digits, 1) | 1); // packing needs an odd digit count
    bool changed = false;
    int32_t k = DigitKey(io);
    if (io.editState == cmcCodecIo::kEntered && packed.size() * 2 >= n + 1) {
        std::string r = T::Reduce(io.enteredText, "0123456789*");
        bool ok = !r.empty() && !(noWildcard && r.find('*') != std::string::npos);
        if (r.empty())
            io.Refuse(cmcCodecIo::kRefuseChars, {noWildcard ? "0-9" : "0-9, *"});
        else if (!ok)
            io.Refuse(cmcCodecIo::kRefuseWildcard);
        if (ok) {
            if (r.size() < n + 2)
                r.insert(0, n + 2 - r.size(), '0');
            r.resize(n + 2);
            // A wildcard in the ID's first digit makes the whole ID a wildcard; one in its second or
            // third digit is only allowed after that.
            if (r[2] == '*')
                ok = r.find_first_of("0123456789", 3) == std::string::npos;
            else if (r[3] == '*' || r[4] == '*')
                ok = false;
            if (!ok)
                io.Refuse(cmcCodecIo::kRefuseWildcard);
        }
        if (ok) {
            size_t star = r.find('*');
            if (star != std::string::npos)
                std::fill(r.begin() + static_cast<std::ptrdiff_t>(star), r.end(), '*');
            std::vector<uint8_t> full(n / 2 + 2, 0);
            for (size_t i = 0; i < n + 2; ++i)
                PutNibble(full, i, static_cast<uint8_t>(r[i] == '*' ? 10 : r[i] - '0'));
            std::vector<uint8_t> low = PackId(minimum, n);
            std::vector<uint8_t> high = PackId(maximum, n);
            if (full < low)
                full = low;
            else if (full > high)
                full = high;
            std::copy(full.begin() + 1, full.end(), packed.begin());
            changed = true;
        }
    }
    io.Show(BcdIdText(packed, static_cast<int32_t>(n)));
    OpenOnKey(io, k, T::IsDigit(k) || (k == '*' && !noWildcard));
    return changed;
}

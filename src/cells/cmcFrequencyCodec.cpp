#include "cells/cmcFrequencyCodec.h"

#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"

#include <cmath>
#include <cstdio>

std::optional<int32_t> cmcFrequencyCodec::SnapFrequency(int64_t f) {
    if (f < 0)
        return std::nullopt;
    // The precision of what was typed: the largest power of ten up to 100 kHz that divides f.
    int64_t d = 1;
    while (d < 100000 && f % (d * 10) == 0)
        d *= 10;
    for (int64_t c = f - f % 100000; c <= f + d - 1; c += 625)
        if (c >= f && (c % 2500 == 0 || c % 3125 == 0))
            return static_cast<int32_t>(c);
    return std::nullopt;
}

std::optional<int32_t> cmcFrequencyCodec::ParseFrequency(std::string_view text) {
    std::string r = cmcCodecText::Reduce(text, "0123456789.", 9);
    if (r.empty())
        return std::nullopt;
    double hz = cmcCodecText::ReadDecimal(r) * 1000000.0 + 0.5;
    hz = hz < 0 ? 0 : (hz > kTypedLimit + 0.5 ? kTypedLimit + 0.5 : hz);
    std::optional<int32_t> snapped = SnapFrequency(static_cast<int64_t>(std::trunc(hz)));
    if (!snapped || *snapped <= 0)
        return std::nullopt;
    return *snapped > kStoredLimit ? kStoredLimit : *snapped;
}

int cmcFrequencyCodec::FormatFrequency(char (&buffer)[24], int32_t hz) {
    if (hz < 0) { // not a frequency the radio can hold; shown as it is
        int n = std::snprintf(buffer, sizeof buffer, "%d.%06d", hz / 1000000, hz % 1000000);
        return n > 0 ? n : 0;
    }
    // "%d.%06d" by hand: every visible frequency cell is formatted on each paint.
    char whole[12];
    int w = 0;
    for (int32_t mhz = hz / 1000000; w == 0 || mhz > 0; mhz /= 10)
        whole[w++] = static_cast<char>('0' + mhz % 10);
    int n = 0;
    while (w > 0)
        buffer[n++] = whole[--w];
    buffer[n++] = '.';
    int32_t rest = hz % 1000000;
    for (int32_t div = 100000; div > 0; div /= 10)
        buffer[n++] = static_cast<char>('0' + rest / div % 10);
    buffer[n] = 0;
    return n;
}

bool cmcFrequencyCodec::EditFrequency(cmcCodecIo& io, Pair& pair, bool transmit, int32_t txOffset) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        if (std::optional<int32_t> f = ParseFrequency(io.enteredText)) {
            if (transmit) {
                pair.tx = *f;
            } else {
                int32_t oldRx = pair.rx;
                pair.rx = *f;
                if (pair.tx == oldRx)
                    pair.tx = pair.rx;
                if (!pair.set) {
                    if (txOffset != 0) {
                        int64_t tx = int64_t(pair.rx) + txOffset;
                        if (pair.rx >= kUpperBandStart)
                            tx -= kUpperBandShift;
                        std::optional<int32_t> s =
                            SnapFrequency(tx < 0 ? 0 : (tx > kTypedLimit ? kTypedLimit : tx));
                        pair.tx = s ? (*s > kStoredLimit ? kStoredLimit : *s) : 0;
                    } else {
                        pair.tx = pair.rx;
                    }
                }
                pair.set = pair.rx != 0;
            }
            changed = true;
        }
    }
    // Space and backspace act as carriage return.
    if (k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace)
        k = cmcCodecIo::kKeyReturn;

    char text[24];
    int32_t own = transmit ? pair.tx : pair.rx;
    io.align = 2;
    if (pair.rx == 0) {
        io.Show("");
    } else if (transmit && pair.tx == pair.rx) {
        io.align = 1;
        io.Show("<-");
    } else {
        io.Show(std::string_view(text, FormatFrequency(text, own)));
    }

    if (k == cmcCodecIo::kKeyReturn) {
        // The editor gets the frequency itself, also where "<-" is shown.
        std::string_view current =
            pair.rx == 0 ? std::string_view() : std::string_view(text, FormatFrequency(text, own));
        io.OpenEditorSelected(current);
    } else if (k == '.') {
        std::string_view current =
            pair.rx == 0 ? std::string_view(".") : std::string_view(text, FormatFrequency(text, own));
        size_t dot = current.find('.');
        io.OpenEditorAt(current,
                        static_cast<int32_t>(dot == std::string_view::npos ? current.size() : dot + 1));
    } else if (k == '=' && transmit) {
        std::string_view rx =
            pair.rx == 0 ? std::string_view() : std::string_view(text, FormatFrequency(text, pair.rx));
        io.OpenEditorSelected(rx);
    } else if (cmcCodecText::IsDigit(k)) {
        io.OpenEditorWith(static_cast<char>(k));
    }
    return changed;
}

#include "cells/cmcFrequencyCodec.h"

#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"

#include <cmath>
#include <cstdio>

static_assert(cmcFrequencyCodec::kHighestRaster % cmcFrequencyCodec::kRasterA == 0 &&
              cmcFrequencyCodec::kHighestRaster <= cmcFrequencyCodec::kStoredLimit &&
              cmcFrequencyCodec::kHighestRaster + cmcFrequencyCodec::kRasterA >
                  cmcFrequencyCodec::kStoredLimit &&
              cmcFrequencyCodec::kStoredLimit / cmcFrequencyCodec::kRasterB * cmcFrequencyCodec::kRasterB <
                  cmcFrequencyCodec::kHighestRaster);

std::optional<int32_t> cmcFrequencyCodec::SnapFrequency(int64_t f) {
    if (f < 0)
        return std::nullopt;
    // The precision of what was typed: the largest power of ten up to 100 kHz that divides f.
    int64_t d = 1;
    while (d < 100000 && f % (d * 10) == 0)
        d *= 10;
    for (int64_t c = f - f % 100000; c <= f + d - 1; c += 625)
        if (c >= f && (c % kRasterA == 0 || c % kRasterB == 0))
            return static_cast<int32_t>(c);
    return std::nullopt;
}

std::optional<int32_t> cmcFrequencyCodec::ParseFrequency(std::string_view text, const Band& band,
                                                         Refused* why) {
    auto refuse = [why](Refused reason) -> std::optional<int32_t> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (why)
        *why = Refused::None;
    std::string r = cmcCodecText::Reduce(text, "0123456789.", 9);
    if (!cmcCodecText::HasDigit(r))
        return refuse(Refused::NoNumber);
    double hz = cmcCodecText::ReadDecimal(r) * 1000000.0 + 0.5;
    hz = hz < 0 ? 0 : (hz > kTypedLimit + 0.5 ? kTypedLimit + 0.5 : hz);
    const int64_t typed = static_cast<int64_t>(std::trunc(hz));
    if (typed < band.low || typed > band.high)
        return refuse(Refused::OutOfBand);
    std::optional<int32_t> snapped = SnapFrequency(typed);
    if (!snapped || *snapped <= 0)
        return refuse(Refused::OffRaster);
    if (*snapped > band.high)
        return refuse(Refused::OutOfBand);
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

namespace {

// Hertz as kilohertz without trailing zeros: 2500 reads "2.5", 3125 "3.125", 12500 "12.5".
std::string Kilohertz(int32_t hz) {
    std::string text = std::to_string(hz / 1000);
    int32_t rest = hz % 1000;
    if (rest != 0) {
        text += '.';
        for (int32_t div = 100; div > 0 && rest != 0; div /= 10) {
            text += static_cast<char>('0' + rest / div);
            rest %= div;
        }
    }
    return text;
}

void RefuseFrequency(cmcCodecIo& io, cmcFrequencyCodec::Refused why, const cmcFrequencyCodec::Band& band) {
    using F = cmcFrequencyCodec;
    switch (why) {
    case F::Refused::NoNumber:
        io.Refuse(cmcCodecIo::kRefuseNumber);
        break;
    case F::Refused::OutOfBand: {
        char low[24], high[24];
        io.Refuse(cmcCodecIo::kRefuseBand, {std::string_view(low, F::FormatFrequency(low, band.low)),
                                            std::string_view(high, F::FormatFrequency(high, band.high))});
        break;
    }
    case F::Refused::OffRaster:
        io.Refuse(cmcCodecIo::kRefuseRaster, {Kilohertz(F::kRasterA), Kilohertz(F::kRasterB)});
        break;
    case F::Refused::None:
        break;
    }
}

} // namespace

bool cmcFrequencyCodec::EditFrequency(cmcCodecIo& io, Pair& pair, bool transmit, int32_t txOffset,
                                      const Band& band) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        Refused why = Refused::None;
        std::optional<int32_t> f = ParseFrequency(io.enteredText, band, &why);
        if (!f)
            RefuseFrequency(io, why, band);
        if (f) {
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

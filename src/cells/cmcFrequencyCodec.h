#pragma once
// The receive and transmit frequency cells of channel and repeater records: megahertz text with six
// decimals, snapping typed frequencies to the radio's channel raster, and the transmit frequency that
// follows the receive one.
#include <cstdint>
#include <optional>
#include <string_view>

struct cmcCodecIo;

class cmcFrequencyCodec {
public:
    // Highest frequency a typed text can give, and the highest one stored.
    static constexpr int64_t kTypedLimit = 799999999;
    static constexpr int32_t kStoredLimit = 799999950;
    // Repeaters move their transmit frequency this far down from 470 MHz on.
    static constexpr int32_t kUpperBandStart = 470000000;
    static constexpr int32_t kUpperBandShift = 2000000;

    // The frequency pair of one record, in hertz (0 = empty) and its set mark.
    struct Pair {
        int32_t rx = 0;
        int32_t tx = 0;
        bool set = false;
    };

    // The raster frequency (multiple of 2,500 or 3,125 Hz) that f stands for, within the precision
    // it was typed with; none when no raster frequency lies there.
    static std::optional<int32_t> SnapFrequency(int64_t f);

    // Edits rx (transmit false) or tx of pair. txOffset is the repeater shift a new record's transmit
    // frequency gets (0 for channels: it equals the receive frequency).
    static bool EditFrequency(cmcCodecIo& io, Pair& pair, bool transmit, int32_t txOffset);
    // A typed megahertz text as a raster frequency; none when it is unusable.
    static std::optional<int32_t> ParseFrequency(std::string_view text);
    // "%d.%06d" into a small buffer; returns its length.
    static int FormatFrequency(char (&buffer)[24], int32_t hz);
};

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

    // The channel raster: every frequency the radio stores is a multiple of one of these (hertz).
    static constexpr int32_t kRasterA = 2500;
    static constexpr int32_t kRasterB = 3125;
    // The lowest and highest raster frequencies a record can hold (0 stands for an empty record).
    static constexpr int32_t kLowestRaster = kRasterA < kRasterB ? kRasterA : kRasterB;
    static constexpr int32_t kHighestRaster = 799997500; // the last multiple of either up to kStoredLimit

    // The frequencies a cell takes, in hertz, both ends included. The default is everything the
    // record can hold.
    struct Band {
        int32_t low = kLowestRaster;
        int32_t high = kHighestRaster;
    };
    // Why a typed frequency was not taken.
    enum class Refused { None, NoNumber, OutOfBand, OffRaster };

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
    // A refused text leaves the pair alone and gives its reason with the band or the raster.
    static bool EditFrequency(cmcCodecIo& io, Pair& pair, bool transmit, int32_t txOffset, const Band& band);
    static bool EditFrequency(cmcCodecIo& io, Pair& pair, bool transmit, int32_t txOffset) {
        return EditFrequency(io, pair, transmit, txOffset, Band());
    }
    // A typed megahertz text as a raster frequency within band; none, with the reason in why when
    // given, when it is unusable.
    static std::optional<int32_t> ParseFrequency(std::string_view text, const Band& band,
                                                 Refused* why = nullptr);
    static std::optional<int32_t> ParseFrequency(std::string_view text) {
        return ParseFrequency(text, Band());
    }
    // "%d.%06d" into a small buffer; returns its length.
    static int FormatFrequency(char (&buffer)[24], int32_t hz);
};

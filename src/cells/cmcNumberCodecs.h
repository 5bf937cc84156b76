#pragma once
// Value codecs of plain numbers: counts, stepped numbers, fixed-point decimals, timers in seconds,
// minutes and seconds, and the maker's adjustment values. Each turns the stored value into the cell's
// text and the user's key, typed text or step back into a value; it returns true when the value changed.
#include <cstdint>
#include <string>
#include <string_view>

class cmcCodecEnv;
struct cmcCodecIo;

class cmcNumberCodecs {
public:
    struct Stepped {
        int32_t minimum = 0;
        int32_t maximum = 255;
        int32_t offset = 0; // shown number = value + offset
        int32_t step = 1;
        const char* fixedText = nullptr; // shown instead of the number when set
        bool clamp = false;              // pull a stored value outside the range inside
        bool saturate = false;           // stepping stops at the ends instead of wrapping
    };
    struct FixedPoint {
        int32_t storedDecimals = 3;
        int32_t shownDecimals = 3; // 1 to 4
        double minimum = 0;
        double maximum = 0;
        int32_t step = 1; // in stored units
        bool stepping = false;
        bool clearOnEdit = false;
    };
    struct Timer {
        int32_t unitsPerSecond = 1;
        int32_t minimum = 0;
        int32_t maximum = 255;
        bool offAllowed = false;
        int32_t dropZeros = 0; // trailing zeros removed from the shown text
    };
    struct MinSec {
        int32_t minimumSeconds = 0;
        int32_t maximumSeconds = 0;
        int32_t resolution = 1; // seconds per unit, divides 60
        bool offAllowed = false;
    };
    struct Adjust {
        int32_t minimum = 0;
        int32_t maximum = 255;
        int32_t offset = 0;
        int32_t smallStep = 1; // arrow keys
        int32_t largeStep = 5; // arrow keys with Shift
    };

    // Overlay key of the timers' off text.
    static constexpr std::string_view kTimerOffKey = "GI_AppInd_TimerOff";

    static bool EditNumber(cmcCodecIo& io, int32_t& value, int32_t minWidth, int32_t minimum, int32_t maximum,
                           bool noFill);
    static bool EditStepped(cmcCodecIo& io, int32_t& value, const Stepped& p);
    static bool EditStepped(cmcCodecIo& io, uint8_t& value, const Stepped& p);
    static bool EditFixedPoint(cmcCodecIo& io, int32_t& value, const FixedPoint& p);
    static bool EditTimer(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const Timer& p);
    static bool EditTimer(cmcCodecIo& io, cmcCodecEnv& env, uint8_t& value, const Timer& p);
    static bool EditMinSec(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const MinSec& p);
    static bool EditAdjust(cmcCodecIo& io, int32_t& value, const Adjust& p);
    // "[" + 20 characters, (value - minimum) * 20 / (maximum - minimum) of them "#", the rest "-", "]".
    static std::string AdjustBar(int32_t value, int32_t minimum, int32_t maximum);

    // The shown forms, without key handling.
    static std::string FormatFixedPoint(int32_t value, int32_t storedDecimals, int32_t shownDecimals);
    static std::string FormatTimer(int32_t value, int32_t unitsPerSecond, int32_t dropZeros);
};

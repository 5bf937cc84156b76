#pragma once
// Reading what a user typed into a value cell: keeping only the characters a codec accepts, reading
// decimal numbers and rounding them the way every numeric cell does (halves away from zero).
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class cmcCodecText {
public:
    // The characters of text that occur in allowed, at most maxLength of them.
    static std::string Reduce(std::string_view text, std::string_view allowed, size_t maxLength = SIZE_MAX);
    // Text without leading and trailing spaces and tabs.
    static std::string_view Trim(std::string_view text);
    static std::string Upper(std::string_view text);
    // The leading decimal number of text ("-1.5x" reads -1.5); 0 when there is none.
    static double ReadDecimal(std::string_view text);
    static bool HasDigit(std::string_view text);
    static bool IsDigit(int key) { return key >= '0' && key <= '9'; }
    static bool IsHexDigit(int key);
    static int HexValue(int c); // -1 for a non-hexadecimal character
    // Nearest integer, halves away from zero; saturates at the 64-bit range.
    static int64_t RoundHalfAway(double value);
    // value rounded to a multiple of step, halves away from zero (step > 0).
    static int64_t RoundToStep(int64_t value, int64_t step);
    // value truncated toward zero to a multiple of step (step > 0).
    static int64_t TruncToStep(int64_t value, int64_t step);
    static int64_t Limit(int64_t value, int64_t low, int64_t high) {
        return value < low ? low : (value > high ? high : value);
    }
    // "%d" into a small buffer without allocating; returns the text.
    static std::string_view FormatInt(char (&buffer)[16], int64_t value);
    // An overlay text with its placeholders filled by hand: "%1" to "%9" stand for values[0] to
    // values[8], "%%" for a percent sign. A placeholder without a value and any other "%" stay as
    // written, so a translated text can never read past the values it is given.
    static std::string Fill(std::string_view format, std::initializer_list<std::string_view> values);
};

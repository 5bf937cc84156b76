#pragma once
// Value codecs of digit strings: hexadecimal numbers and digits, nibble strings, DTMF digit strings,
// selective-call tone sequences and packed decimal IDs with wildcards.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct cmcCodecIo;

class cmcDigitCodecs {
public:
    static bool EditHex(cmcCodecIo& io, int32_t& value, int32_t minimum, int32_t maximum, int32_t digits);
    static bool EditHexDigit(cmcCodecIo& io, int32_t& value, bool lettersToF);
    // digits nibbles of value, the first digit in the highest nibble.
    static bool EditHexString(cmcCodecIo& io, int32_t& value, int32_t digits, bool letters);
    // digits nibbles, one per byte of nibbles (low half used).
    static bool EditHexString(cmcCodecIo& io, std::span<uint8_t> nibbles, bool letters);
    // Nibbles high half first; length holds the number of digits.
    static bool EditDtmf(cmcCodecIo& io, std::span<uint8_t> nibbles, uint8_t& length, int32_t maxDigits);
    // Nibbles high half first, F ends the sequence; mark has one bit per position from bit 7 down.
    static bool EditToneCode(cmcCodecIo& io, std::span<uint8_t> nibbles, uint8_t& mark, uint8_t repeatDigit,
                             int32_t maxDigits, bool plusMarks);
    // An ID of digits decimal digits (odd), packed BCD followed by a 0 digit: (digits + 1) / 2 bytes.
    // "*" is a wildcard (digit 10). minimum and maximum are digit texts of the ID ("0000001").
    static bool EditBcdId(cmcCodecIo& io, std::span<uint8_t> packed, int32_t digits, std::string_view minimum,
                          std::string_view maximum, bool noWildcard);
    static std::string BcdIdText(std::span<const uint8_t> packed, int32_t digits);
};

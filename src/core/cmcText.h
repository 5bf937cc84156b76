#pragma once
// Small text and hexadecimal helpers shared by the overlay reader, the cell language, the codecs, the
// settings and the clone drivers. Texts are UTF-8; every separator they look for is ASCII.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cmcText {

// An overlay text with each "%s" replaced by the next of values, in order, by hand: overlay texts never
// go to printf, so a translated text cannot read past the values it is given. A "%s" past the values
// and any other "%" stay as written.
std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values);

// Field n (from 0) of text split at every separator; the last field runs to the end. None when the
// text has fewer than n + 1 fields (an empty text has one empty field).
std::optional<std::string> FieldOf(std::string_view text, char separator, int n);

// Part n (from 0) of text cut at any character of separators (e.g. "[:" to take a cell name).
std::optional<std::string> PartBefore(std::string_view text, std::string_view separators, int n);

// Position after the leading spaces and tabs.
size_t SkipBlanks(std::string_view text);

// Removes leading and trailing spaces and tabs.
void TrimBlanks(std::string& text);

// Removes every space and tab.
void RemoveBlanks(std::string& text);

// A copy of text, or an empty text for none.
std::string CopyText(const char* text);

// At most n bytes of text (empty for none); never cuts a UTF-8 character in two.
std::string CopyPrefix(const char* text, size_t n);

// Every ampersand doubled, so that a caption shows it literally.
std::string DoubleAmpersands(std::string_view text);

// Which letters a hexadecimal digit may be written with: files and command texts take either case,
// the clone frames only upper case.
enum class HexLetters { AnyCase, UpperCase };

// The value (0 to 15) of one hexadecimal digit; none for any other character.
std::optional<uint8_t> HexDigitValue(char c, HexLetters letters = HexLetters::AnyCase);

// The byte written as two hexadecimal digits, high digit first; none unless both are digits.
std::optional<uint8_t> HexByte(char high, char low, HexLetters letters = HexLetters::AnyCase);

// The number the hexadecimal digits spell, high digit first, kept to its low 32 bits; none when any
// character is not a digit. An empty text is 0.
std::optional<uint32_t> HexNumber(std::string_view digits, HexLetters letters = HexLetters::AnyCase);

// The upper-case hexadecimal digit of the low four bits of value.
char HexDigitChar(unsigned value);

// Appends the byte as two upper-case hexadecimal digits.
void AppendHexByte(std::string& out, uint8_t byte);

// Hexadecimal digits taken two by two, high digit first; other characters are skipped. An odd last
// digit becomes the high half of a final byte whose low half is 0.
std::vector<uint8_t> HexToBytes(std::string_view text);

// Each byte as two upper-case hexadecimal digits.
std::string BytesToHex(std::span<const uint8_t> bytes);
std::string BytesToHex(std::string_view bytes);

// Each pair of hexadecimal digits appended as one character. Conversion stops at the first pair that
// is not two hexadecimal digits; an odd last character is ignored.
std::string HexToChars(std::string_view text);

// True for the character codes 32 to 126.
bool IsPrintableChar(int code);

// True when low <= value <= high.
constexpr bool InRange(long long value, long long low, long long high) {
    return low <= value && value <= high;
}

// The i-th 4-bit digit of bytes, the high half of byte i / 2 first. An index past the end is a fatal
// programming error.
uint8_t Nibble(std::span<const uint8_t> bytes, size_t i);

// Sets the i-th 4-bit digit (digit & 0xF), leaving the other half of the byte unchanged.
void SetNibble(std::span<uint8_t> bytes, size_t i, uint8_t digit);

} // namespace cmcText

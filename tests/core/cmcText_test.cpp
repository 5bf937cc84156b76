#include "core/cmcText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace cmcText;
using std::nullopt;
using std::optional;
using std::string;

TEST(cmcText, FieldOfSplitsAtEverySeparator) {
    struct Case {
        string text;
        char sep;
        int n;
        optional<string> want;
    };
    const Case cases[] = {
        {"English\tENG.OVL", '\t', 0, "English"},
        {"English\tENG.OVL", '\t', 1, "ENG.OVL"},
        {"English\tENG.OVL", '\t', 2, nullopt},
        {"", '\t', 0, ""},
        {"", '\t', 1, nullopt},
        {"a,,c", ',', 1, ""},
        {"a,,c", ',', 2, "c"},
        {"a,b,", ',', 2, ""},
        {"abc", ',', -1, nullopt},
        // UTF-8 text: multi-byte characters never contain the ASCII separator.
        {"\xC3\xA9t\xC3\xA9\t\xE6\x97\xA5\xE6\x9C\xAC", '\t', 1, "\xE6\x97\xA5\xE6\x9C\xAC"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldOf(c.text, c.sep, c.n), c.want) << c.text << " #" << c.n;
}

TEST(cmcText, PartBeforeCutsAtAnyOfTheSet) {
    EXPECT_EQ(PartBefore("CL_Ch_Freq[3]:x", "[:", 0), "CL_Ch_Freq");
    EXPECT_EQ(PartBefore("CL_Ch_Freq[3]:x", "[:", 1), "3]");
    EXPECT_EQ(PartBefore("CL_Ch_Freq[3]:x", "[:", 2), "x");
    EXPECT_EQ(PartBefore("CL_Ch_Freq[3]:x", "[:", 3), nullopt);
    EXPECT_EQ(PartBefore("plain", "[:", 0), "plain");
}

// Overlay texts are filled by hand: a translated text that names more values than it is given, or
// printf directives of its own, keeps them as written.
TEST(cmcText, FillInReplacesEachPlaceholderInOrderAndNothingElse) {
    const struct {
        const char* text;
        std::initializer_list<std::string_view> values;
        const char* filled;
    } cases[] = {
        {"Port %s at %s", {"ttyUSB0", "38400"}, "Port ttyUSB0 at 38400"},
        {"%s and %s", {"one"}, "one and %s"},
        {"%n %d %x 100%", {"a"}, "%n %d %x 100%"},
        {"%s", {"%s%n"}, "%s%n"},
        {"no value", {"x"}, "no value"},
        {"end %", {}, "end %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cmcText::FillIn(c.text, c.values), c.filled) << c.text;
}

TEST(cmcText, BlankHandling) {
    EXPECT_EQ(SkipBlanks(" \t x "), 3u);
    EXPECT_EQ(SkipBlanks(" \t"), 2u);
    const std::pair<string, string> trims[] = {{"  x\t", "x"}, {"\t \t", ""}, {"a b", "a b"}, {"", ""}};
    for (auto [in, want] : trims) {
        TrimBlanks(in);
        EXPECT_EQ(in, want);
    }
    string s = " a\tb c ";
    RemoveBlanks(s);
    EXPECT_EQ(s, "abc");
}

TEST(cmcText, Copies) {
    EXPECT_EQ(CopyText(nullptr), "");
    EXPECT_EQ(CopyText("abc"), "abc");
    EXPECT_EQ(CopyPrefix(nullptr, 3), "");
    EXPECT_EQ(CopyPrefix("abcdef", 3), "abc");
    EXPECT_EQ(CopyPrefix("ab", 3), "ab");
    // "a" followed by a two-byte character: cutting at 2 would split it.
    EXPECT_EQ(CopyPrefix("a\xC3\xA9z", 2), "a");
    EXPECT_EQ(CopyPrefix("a\xC3\xA9z", 3), "a\xC3\xA9");
    EXPECT_EQ(DoubleAmpersands("A&B"), "A&&B");
    EXPECT_EQ(DoubleAmpersands("&&"), "&&&&");
}

TEST(cmcText, Hexadecimal) {
    EXPECT_EQ(HexToBytes("0A 1b-C"), (std::vector<uint8_t>{0x0A, 0x1B, 0xC0}));
    EXPECT_EQ(HexToBytes("xyz"), std::vector<uint8_t>{});
    EXPECT_EQ(HexToBytes("fF00"), (std::vector<uint8_t>{0xFF, 0x00}));
    const uint8_t bytes[] = {0x00, 0x7F, 0xAB, 0xFF};
    EXPECT_EQ(BytesToHex(bytes), "007FABFF");
    EXPECT_EQ(BytesToHex(std::string_view("\x01\xfe", 2)), "01FE");
    EXPECT_EQ(HexToBytes(BytesToHex(bytes)), std::vector<uint8_t>(std::begin(bytes), std::end(bytes)));
    EXPECT_EQ(HexToChars("414243"), "ABC");
    EXPECT_EQ(HexToChars("41424"), "AB");
    EXPECT_EQ(HexToChars("41zz43"), "A");
}

// The digit rules every caller relies on: either case for files and command texts, upper case only
// for clone frames, none for anything around the digit ranges.
TEST(cmcText, HexDigitsByLetterCase) {
    struct Case {
        char c;
        int anyCase; // -1: not a digit
        int upperCase;
    };
    const Case cases[] = {
        {'0', 0, 0},   {'9', 9, 9},   {'A', 10, 10}, {'F', 15, 15},    {'a', 10, -1},
        {'f', 15, -1}, {'/', -1, -1}, {':', -1, -1}, {'@', -1, -1},    {'G', -1, -1},
        {'`', -1, -1}, {'g', -1, -1}, {' ', -1, -1}, {'\xB0', -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.c));
        std::optional<uint8_t> any = HexDigitValue(c.c);
        std::optional<uint8_t> upper = HexDigitValue(c.c, HexLetters::UpperCase);
        EXPECT_EQ(any ? int(*any) : -1, c.anyCase);
        EXPECT_EQ(upper ? int(*upper) : -1, c.upperCase);
    }
}

TEST(cmcText, HexBytesNumbersAndOutput) {
    EXPECT_EQ(HexByte('F', 'e'), std::optional<uint8_t>(0xFE));
    EXPECT_EQ(HexByte('F', 'e', HexLetters::UpperCase), std::nullopt);
    EXPECT_EQ(HexByte('0', 'x'), std::nullopt);
    EXPECT_EQ(HexByte('x', '0'), std::nullopt);

    struct Case {
        const char* digits;
        HexLetters letters;
        std::optional<uint32_t> value;
    };
    const Case cases[] = {
        {"", HexLetters::AnyCase, 0u},
        {"0000FF7F", HexLetters::AnyCase, 0xFF7Fu},
        {"ffffffff", HexLetters::AnyCase, 0xFFFFFFFFu},
        {"ffffffff", HexLetters::UpperCase, std::nullopt},
        {"1A2B3C4D5E6F", HexLetters::AnyCase, 0x3C4D5E6Fu}, // only the low 32 bits stay
        {"12 4", HexLetters::AnyCase, std::nullopt},
        {"-1", HexLetters::AnyCase, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(HexNumber(c.digits, c.letters), c.value);
    }

    std::string out = "x";
    AppendHexByte(out, 0x0A);
    AppendHexByte(out, 0xF0);
    EXPECT_EQ(out, "x0AF0");
    EXPECT_EQ(HexDigitChar(0x3C), 'C');
    EXPECT_EQ(HexDigitChar(0), '0');
}

TEST(cmcText, CharacterAndRangeChecks) {
    EXPECT_FALSE(IsPrintableChar(31));
    EXPECT_TRUE(IsPrintableChar(32));
    EXPECT_TRUE(IsPrintableChar(126));
    EXPECT_FALSE(IsPrintableChar(127));
    EXPECT_TRUE(InRange(5, 5, 5));
    EXPECT_FALSE(InRange(4, 5, 6));
    EXPECT_FALSE(InRange(7, 5, 6));
}

TEST(cmcText, Nibbles) {
    uint8_t bytes[] = {0x5A, 0xC3};
    EXPECT_EQ(Nibble(bytes, 0), 0x5);
    EXPECT_EQ(Nibble(bytes, 1), 0xA);
    EXPECT_EQ(Nibble(bytes, 3), 0x3);
    SetNibble(bytes, 0, 3);
    EXPECT_EQ(bytes[0], 0x3A);
    SetNibble(bytes, 3, 0xF7);
    EXPECT_EQ(bytes[1], 0xC7);
    EXPECT_NE(FatalText([&] { Nibble(bytes, 4); }), "");
    EXPECT_NE(FatalText([&] { SetNibble(bytes, 4, 1); }), "");
    EXPECT_EQ(bytes[1], 0xC7);
}

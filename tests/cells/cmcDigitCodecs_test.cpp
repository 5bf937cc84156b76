#include "cells/cmcDigitCodecs.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using D = cmcDigitCodecs;
using Bytes = std::vector<uint8_t>;
constexpr int32_t kEdit = cmcCodecIo::kResultEdit;

struct IntRow {
    const char* what;
    int32_t before;
    Act act;
    int32_t after;
    bool changed;
    const char* shown;
    int32_t result = 0;
};

template <class Codec> void RunInts(std::initializer_list<IntRow> rows, Codec codec) {
    for (const IntRow& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(r.act);
        int32_t v = r.before;
        EXPECT_EQ(codec(io, v), r.changed);
        EXPECT_EQ(v, r.after);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
    }
}

struct BufRow {
    const char* what;
    Bytes before;
    Act act;
    Bytes after;
    bool changed;
    const char* shown;
    int32_t result = 0;
};

template <class Codec> void RunBuffers(std::initializer_list<BufRow> rows, Codec codec) {
    for (const BufRow& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(r.act);
        Bytes b = r.before;
        EXPECT_EQ(codec(io, b), r.changed);
        EXPECT_EQ(b, r.after);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
    }
}

} // namespace

TEST(cmcDigitCodecs, EditHex) {
    RunInts(
        {
            {"digits shown", 0xAB, Draw(), 0xAB, false, "0AB"},
            {"typed", 0, Typed(" 1f "), 0x1F, true, "01F"},
            {"first digits + 1 characters, limited", 0, Typed("12345"), 0xFFF, true, "FFF"},
            {"not hexadecimal", 5, Typed("12g"), 5, false, "005"},
            {"space opens the editor", 5, Key(' '), 5, false, "005", kEdit},
            {"a hexadecimal digit opens it", 5, Key('c'), 5, false, "c", kEdit},
            {"other keys do nothing", 5, Key('x'), 5, false, "005"},
        },
        [](cmcCodecIo& io, int32_t& v) { return D::EditHex(io, v, 0, 0xFFF, 3); });
    RunInts(
        {
            {"F allowed", 0, Typed("f"), 15, true, "F"},
            {"first character only", 0, Typed("3x"), 3, true, "3"},
        },
        [](cmcCodecIo& io, int32_t& v) { return D::EditHexDigit(io, v, true); });
    RunInts(
        {
            {"F refused", 0, Typed("F"), 0, false, "0"},
            {"F key refused", 0, Key('F'), 0, false, "0"},
            {"E key opens the editor", 0, Key('E'), 0, false, "E", kEdit},
        },
        [](cmcCodecIo& io, int32_t& v) { return D::EditHexDigit(io, v, false); });
    RunInts(
        {
            {"padded in front", 0, Typed("1a"), 0x001A, true, "001A"},
            {"first digits kept", 0, Typed("123456"), 0x1234, true, "1234"},
        },
        [](cmcCodecIo& io, int32_t& v) { return D::EditHexString(io, v, 4, true); });
    RunInts({{"letters dropped", 0, Typed("1a2"), 0x0012, true, "0012"}},
            [](cmcCodecIo& io, int32_t& v) { return D::EditHexString(io, v, 4, false); });
}

TEST(cmcDigitCodecs, EditDtmf) {
    struct Dtmf {
        bool operator()(cmcCodecIo& io, Bytes& b) {
            // Last byte of the buffer is the length.
            uint8_t length = b.back();
            bool changed = D::EditDtmf(io, std::span<uint8_t>(b.data(), b.size() - 1), length, 8);
            b.back() = length;
            return changed;
        }
    };
    RunBuffers(
        {
            {"star and hash", {0, 0, 0, 0, 0}, Typed("12*#a"), {0x12, 0xEF, 0xA0, 0x00, 5}, true, "12*#A"},
            {"at most the maximum",
             {0, 0, 0, 0, 0},
             Typed("1234567890"),
             {0x12, 0x34, 0x56, 0x78, 8},
             true,
             "12345678"},
            {"empty clears", {0x12, 0x34, 0, 0, 4}, Typed(""), {0, 0, 0, 0, 0}, true, ""},
            {"length shown", {0x12, 0x34, 0, 0, 3}, Draw(), {0x12, 0x34, 0, 0, 3}, false, "123"},
            {"a bad length stays inside the buffer",
             {0x12, 0x34, 0, 0, 200},
             Draw(),
             {0x12, 0x34, 0, 0, 200},
             false,
             "12340000"},
            {"hash opens the editor", {0, 0, 0, 0, 0}, Key('#'), {0, 0, 0, 0, 0}, false, "#", kEdit},
        },
        Dtmf{});
}

TEST(cmcDigitCodecs, EditToneCode) {
    auto codec = [](bool plus) {
        return [plus](cmcCodecIo& io, Bytes& b) {
            // Last byte is the mark byte; the repeat digit is E.
            uint8_t mark = b.back();
            bool changed =
                D::EditToneCode(io, std::span<uint8_t>(b.data(), b.size() - 1), mark, 0xE, 8, plus);
            b.back() = mark;
            return changed;
        };
    };
    const Bytes blank{0xFF, 0xFF, 0xFF, 0xFF, 0};
    RunBuffers(
        {
            {"digits, plus and repeat", blank, Typed("12+G"), {0x12, 0x0E, 0xFF, 0xFF, 0x20}, true, "12+*"},
            {"F is dropped", blank, Typed("1f2"), {0x12, 0xFF, 0xFF, 0xFF, 0}, true, "12"},
            {"nothing usable",
             {0x12, 0xFF, 0xFF, 0xFF, 0},
             Typed("xyz"),
             {0x12, 0xFF, 0xFF, 0xFF, 0},
             false,
             "12"},
            {"eight digits fill the buffer",
             blank,
             Typed("123456789"),
             {0x12, 0x34, 0x56, 0x78, 0},
             true,
             "12345678"},
            {"plus opens the editor", blank, Key('+'), blank, false, "+", kEdit},
        },
        codec(true));
    RunBuffers({{"plus not allowed", blank, Typed("1+2"), {0x12, 0xFF, 0xFF, 0xFF, 0}, true, "12"}},
               codec(false));
}

TEST(cmcDigitCodecs, EditBcdId) {
    auto codec = [](const char* max, bool noWildcard) {
        return [max, noWildcard](cmcCodecIo& io, Bytes& b) {
            return D::EditBcdId(io, b, 7, "0000001", max, noWildcard);
        };
    };
    const Bytes zero{0, 0, 0, 0};
    RunBuffers(
        {
            {"seven digits", zero, Typed("1234567"), {0x12, 0x34, 0x56, 0x70}, true, "1234567"},
            {"padded in front", zero, Typed("12"), {0x00, 0x00, 0x01, 0x20}, true, "0000012"},
            {"limited to the minimum", zero, Typed("0"), {0x00, 0x00, 0x00, 0x10}, true, "0000001"},
            {"nine digits overflow to the maximum",
             zero,
             Typed("123456789"),
             {0x99, 0x99, 0x99, 0x90},
             true,
             "9999999"},
            {"empty is refused",
             {0x12, 0x34, 0x56, 0x70},
             Typed("-"),
             {0x12, 0x34, 0x56, 0x70},
             false,
             "1234567"},
        },
        codec("9999999", false));
    RunBuffers(
        {
            {"trailing wildcard", zero, Typed("12*"), {0x00, 0x00, 0x12, 0xA0}, true, "000012*"},
            {"everything after a wildcard is one",
             zero,
             Typed("1*3"),
             {0x00, 0x00, 0x1A, 0xA0},
             true,
             "00001**"},
            {"all wildcards", zero, Typed("*******"), {0xAA, 0xAA, 0xAA, 0xA0}, true, "*******"},
            {"a digit after a leading wildcard", zero, Typed("*123456"), zero, false, "0000000"},
            {"a wildcard in the second digit alone", zero, Typed("1*23456"), zero, false, "0000000"},
            {"star opens the editor", zero, Key('*'), zero, false, "*", kEdit},
        },
        codec("*******", false));
    RunBuffers(
        {
            {"wildcards refused", zero, Typed("12*"), zero, false, "0000000"},
            {"star key ignored", zero, Key('*'), zero, false, "0000000"},
        },
        codec("9999999", true));
}

// A refused entry says which characters the cell takes, or that a wildcard cannot stand there.
TEST(cmcDigitCodecs, RefusalsNameTheCharactersTaken) {
    CodecFixture f({{"GI_AppMess_Refuse_Chars", {"only %1"}}, {"GI_AppMess_Refuse_Wildcard", {"wildcard"}}});
    struct Row {
        const char* what;
        std::function<bool(cmcCodecIo&)> codec;
        const char* typed;
        const char* refusal;
    };
    const auto hex = [](cmcCodecIo& io) {
        int32_t v = 0;
        return D::EditHex(io, v, 0, 0xFFFF, 4);
    };
    const auto id = [](bool noWildcard) {
        return [noWildcard](cmcCodecIo& io) {
            uint8_t packed[4] = {};
            return D::EditBcdId(io, packed, 7, "0000001", "9999999", noWildcard);
        };
    };
    const Row rows[] = {
        {"hex with a letter beyond F", hex, "12G4", "only 0-9, A-F"},
        {"hex taken", hex, "12AB", ""},
        {"nibbles without a digit",
         [](cmcCodecIo& io) {
             int32_t v = 0;
             return D::EditHexString(io, v, 4, false);
         },
         "xyz", "only 0-9"},
        {"an ID of no digits", id(false), "abc", "only 0-9, *"},
        {"a wildcard where none is allowed", id(true), "12*", "wildcard"},
        {"a wildcard in the ID's second digit", id(false), "1*00000", "wildcard"},
        {"a wildcard in a later digit", id(false), "123*", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(Typed(r.typed));
        io.env = &f.env;
        EXPECT_EQ(r.codec(io), *r.refusal == 0);
        EXPECT_EQ(io.refusal, r.refusal);
    }
}

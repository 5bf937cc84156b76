#include "cells/cmcTextCodecs.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using X = cmcTextCodecs;
using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

CodecFixture Empty() {
    return CodecFixture({{"GI_Unused", {"x"}}, {"GI_Unused2", {"y"}}});
}

// The reason a too long text is refused with, as the overlay words it.
CodecFixture Reasons() {
    return CodecFixture({{"GI_AppMess_Refuse_Length", {"at most %1 characters"}}});
}

// Two toggleable segments and a fixed one: a pattern's bit 2 is the first segment, bit 1 the second.
const std::vector<X::Segment> kSegments = {
    {{{{{0, 0}, {10, 0}, {0, 10}}}}, false},
    {{{{{10, 0}, {10, 10}, {0, 10}}}}, false},
    {{{{{0, 0}, {1, 0}, {0, 1}}}}, true},
};

} // namespace

TEST(cmcTextCodecs, EditText) {
    struct Row {
        const char* what;
        X::Fill fill;
        cmcCodecIo io;
        Bytes after;
        bool changed;
        const char* shown;
        int32_t result = 0;
        const char* refusal = "";
    };
    const Row rows[] = {
        {"spaces: padded, controls become spaces", X::Fill::Spaces,
         MakeIo(Typed("AB\x01"
                      "C")),
         B("AB C  "), true, "AB C"},
        {"spaces: longer than the field is refused, never cut", X::Fill::Spaces, MakeIo(Typed("ABCDEFG")),
         B("NAME  "), false, "NAME", 0, "at most 6 characters"},
        {"spaces: blanks after a full field are no excess", X::Fill::Spaces, MakeIo(Typed("ABCDEF   ")),
         B("ABCDEF"), true, "ABCDEF"},
        {"zeros: too long is refused as well", X::Fill::ZerosLower, MakeIo(Typed("abcdefg")), Bytes(6, 0),
         false, "", 0, "at most 6 characters"},
        {"a too long list or window answer is refused", X::Fill::Spaces, Chosen(1, 0, "QQQQQQQ"), B("NAME  "),
         false, "NAME", 0, "at most 6 characters"},
        {"zeros: the space becomes a zero byte", X::Fill::Zeros, MakeIo(Typed("AB CD")),
         Bytes{'A', 'B', 0, 'C', 'D', 0}, true, "AB"},
        {"zeros, lower case", X::Fill::ZerosLower, MakeIo(Typed("AbC")), Bytes{'a', 'b', 'c', 0, 0, 0}, true,
         "abc"},
        {"a list or window answer stores too", X::Fill::Spaces, Chosen(1, 0, "Q"), B("Q     "), true, "Q"},
        {"space opens the editor", X::Fill::Spaces, MakeIo(Key(' ')), B("NAME  "), false, "NAME",
         cmcCodecIo::kResultEdit},
        {"a printable key opens it with the key", X::Fill::Spaces, MakeIo(Key('x')), B("NAME  "), false, "x",
         cmcCodecIo::kResultEdit},
    };
    CodecFixture f = Reasons();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = r.io;
        io.env = &f.env;
        Bytes field = r.fill == X::Fill::Spaces ? B("NAME  ") : Bytes(6, 0);
        EXPECT_EQ(X::EditText(io, field, r.fill), r.changed);
        EXPECT_EQ(field, r.after);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
        EXPECT_EQ(io.refusal, r.refusal);
    }
}

TEST(cmcTextCodecs, DisplayTextEscapes) {
    EXPECT_EQ(X::EncodeDisplayText(Bytes{'A', '%', 0x10, 0xC8, 'B', 0x05, 'C'}), "A%%%10%C8B");
    struct Row {
        const char* text;
        bool zeroTerminated;
        Bytes bytes;
    };
    const Row rows[] = {
        {"A%%%10%C8B", false, {'A', '%', 0x10, 0xC8, 'B', ' ', ' ', ' '}},
        {"%05%zz", false, {'%', '0', '5', '%', 'z', 'z', ' ', ' '}}, // 0x05 is no display character
        {"a\tb%", true, {'a', ' ', 'b', '%', 0, 0, 0, 0}},
        {"123456789", false, {'1', '2', '3', '4', '5', '6', '7', '8'}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Bytes decoded = X::DecodeDisplayText(r.text, 8, r.zeroTerminated);
        EXPECT_EQ(decoded, r.bytes);
        // What the editor gets back decodes to the same bytes.
        if (!r.zeroTerminated) {
            EXPECT_EQ(X::DecodeDisplayText(X::EncodeDisplayText(decoded), 8, false), decoded);
        }
    }
}

TEST(cmcTextCodecs, EditDisplayTextPaintsGlyphsAndOpensItsEditor) {
    CodecFixture f = Empty();
    const uint8_t patterns[32] = {0x00, 0x02}; // user character 16: second segment on
    X::Glyphs glyphs{kSegments, patterns};
    X::DisplayText p{3};
    Bytes buffer = B("AB\x10 ");

    RecordingCanvas canvas;
    cmcCodecIo draw = MakeIo(Draw());
    draw.painter = &canvas;
    draw.canvas = &canvas;
    draw.rect = {0, 0, 96, 20};
    EXPECT_FALSE(X::EditDisplayText(draw, f.env, buffer, p, glyphs));
    EXPECT_EQ(draw.displayText, "");
    // A cell's text as text from the left, each character at its own width (6 here), however wide the
    // cell: the user character as polygons (its second segment and the fixed one) in a place as wide
    // as a "W", the fourth character (beyond the length) in olive.
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"text 2,5 A normal", "text 8,5 B normal", "poly 3",
                                                      "poly 3", "text 20,5   olive"}));
    EXPECT_EQ(canvas.fontColor, 0x80000008u); // restored
    // The editor's picture of the display keeps its places: 8 of 12 x 20, each character centred in
    // its own.
    canvas.calls.clear();
    X::PaintDisplayText(canvas, draw.rect, buffer, p.length, 8, glyphs);
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"text 3,5 A normal", "text 15,5 B normal", "poly 3",
                                                      "poly 3", "text 39,5   olive"}));

    cmcCodecIo enter = MakeIo(Key(13));
    X::EditDisplayText(enter, f.env, buffer, p, glyphs);
    cmcCodecIo typed = MakeIo(Key('x'));
    X::EditDisplayText(typed, f.env, buffer, X::DisplayText{3, false, true}, glyphs);
    EXPECT_EQ(f.windows.opened, (std::vector<std::string>{"text [AB%10 ] all 4", "text [x] caret 4 wide"}));
    EXPECT_EQ(typed.result, cmcCodecIo::kResultRefresh);

    cmcCodecIo answer = Chosen(1, 0, "Hi%11");
    EXPECT_TRUE(X::EditDisplayText(answer, f.env, buffer, p, glyphs));
    EXPECT_EQ(buffer, (Bytes{'H', 'i', 0x11, ' '}));
}

// The field holds what fits or nothing: a text that decodes to more characters than the field is
// refused with the field's length, counted after the escapes are decoded.
TEST(cmcTextCodecs, EditDisplayTextRefusesWhatDoesNotFit) {
    CodecFixture f = Reasons();
    struct Row {
        const char* typed;
        bool taken;
    };
    for (const Row& r : {Row{"ABCD", true}, Row{"%41%%C%10", true}, Row{"AB  CD  ", false},
                         Row{"ABCD    ", true}, Row{"ABCDE", false}, Row{"%41%42%43%44%45", false}}) {
        SCOPED_TRACE(r.typed);
        Bytes buffer = B("WXYZ");
        cmcCodecIo io = MakeIo(Typed(r.typed));
        io.env = &f.env;
        EXPECT_EQ(X::EditDisplayText(io, f.env, buffer, X::DisplayText{4}, {}), r.taken);
        EXPECT_EQ(io.refusal, r.taken ? "" : "at most 4 characters");
        if (!r.taken) {
            EXPECT_EQ(buffer, B("WXYZ"));
        }
    }
}

TEST(cmcTextCodecs, GlyphPatternAndPassword) {
    CodecFixture f = Empty();
    uint8_t stored[2] = {0, 3};
    struct Row {
        const char* answer;
        uint8_t high, low;
    };
    for (const Row& r : {Row{"258", 0x01, 0x02}, Row{"abc", 0, 0}, Row{"", 0, 0}}) {
        cmcCodecIo io = Chosen(1, 0, r.answer);
        EXPECT_TRUE(X::EditGlyphPattern(io, f.env, stored, {}));
        EXPECT_EQ(stored[0], r.high) << r.answer;
        EXPECT_EQ(stored[1], r.low) << r.answer;
    }
    stored[1] = 6; // both toggleable segments on
    RecordingCanvas canvas;
    cmcCodecIo draw = MakeIo(Key(13));
    draw.painter = &canvas;
    draw.rect = {0, 0, 20, 20};
    EXPECT_FALSE(X::EditGlyphPattern(draw, f.env, stored, X::Glyphs{kSegments, nullptr}));
    EXPECT_EQ(canvas.calls.size(), 3u);
    EXPECT_EQ(f.windows.opened, (std::vector<std::string>{"char 6"}));

    // Callers that name no segments draw with the overlay's segment data: here two segments of one
    // triangle each, both lit by pattern 3, and a comment line.
    CodecFixture withData(
        {{"GI_PCG_Seg_Data", {"// segments", "1|(0,0)(10,0)(0,10)", "1|(10,0)(10,10)(0,10)"}}});
    uint8_t lit[2] = {0, 3};
    RecordingCanvas segmentCanvas;
    cmcCodecIo painted = MakeIo(Draw());
    painted.painter = &segmentCanvas;
    painted.rect = {0, 0, 20, 20};
    EXPECT_FALSE(X::EditGlyphPattern(painted, withData.env, lit, {}));
    EXPECT_EQ(withData.env.Segments().size(), 2u);
    EXPECT_EQ(segmentCanvas.calls.size(), 2u);

    Bytes password(16, ' ');
    cmcCodecIo shown = MakeIo(Draw());
    EXPECT_FALSE(X::EditPassword(shown, f.env, password));
    EXPECT_EQ(shown.displayText, "");
    f.windows.confirmPassword = false;
    cmcCodecIo cancelled = MakeIo(Key(13));
    EXPECT_FALSE(X::EditPassword(cancelled, f.env, password));
    EXPECT_EQ(password, Bytes(16, ' '));
    f.windows.confirmPassword = true;
    cmcCodecIo confirmed = MakeIo(Key(13));
    EXPECT_TRUE(X::EditPassword(confirmed, f.env, password));
    EXPECT_EQ(password, B("secret          "));
    EXPECT_EQ(confirmed.displayText, "********");
    // Seventeen characters do not fit: the password stays as it was rather than losing its end.
    f.windows.password = "seventeen chars!!";
    cmcCodecIo tooLong = MakeIo(Key(13));
    EXPECT_FALSE(X::EditPassword(tooLong, f.env, password));
    EXPECT_EQ(password, B("secret          "));
    EXPECT_EQ(tooLong.refusal, "GI_AppMess_Refuse_Length 16");
    // An empty entry removes the password: a blank-padded one would still read as set.
    f.windows.password.clear();
    cmcCodecIo emptied = MakeIo(Key(13));
    EXPECT_TRUE(X::EditPassword(emptied, f.env, password));
    EXPECT_EQ(password, Bytes(16, 0));
    EXPECT_EQ(emptied.displayText, "");
}

#pragma once
// Value codecs of texts: fixed-length character fields, texts shown on the radio's own display (with
// user-defined characters painted as segment glyphs), the glyph pattern of one user character, and
// the read/write password.
#include "cells/cmcCanvas.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class cmcCodecEnv;
struct cmcCodecIo;

class cmcTextCodecs {
public:
    enum class Fill { Spaces, Zeros, ZerosLower };
    // A typed text longer than the field (blanks at its end aside) is refused, never stored cut.
    static bool EditText(cmcCodecIo& io, std::span<uint8_t> field, Fill fill);

    // The segment geometry of a display character: each segment a list of triangles, in the
    // geometry's own coordinates; fixed segments are always drawn.
    struct Segment {
        std::vector<std::array<cmcCanvas::Point, 3>> triangles;
        bool fixed = false;
    };
    struct Glyphs {
        std::span<const Segment> segments;     // empty: characters are drawn as text
        const uint8_t* userPatterns = nullptr; // 16 patterns of 2 bytes (high first) for codes 16..31
    };
    struct DisplayText {
        int32_t length = 0;          // characters the radio shows; those beyond are painted olive
        bool zeroTerminated = false; // padded with zero bytes instead of spaces
        bool wide = false;           // 25 characters per row instead of 8
    };
    // Editing text of display bytes: "%%" for a percent sign, "%XX" for codes 16..31 and 127..255; a
    // byte below 32 (other than 16..31) ends the text.
    static std::string EncodeDisplayText(std::span<const uint8_t> bytes);
    // Bytes of an editing text (at most kDecodeLimit characters read), padded to size with spaces or
    // zeros. EditDisplayText refuses a text with more characters than its field holds.
    static constexpr size_t kDecodeLimit = 1024;
    static std::vector<uint8_t> DecodeDisplayText(std::string_view text, size_t size, bool zeroTerminated);
    static bool EditDisplayText(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t> buffer,
                                const DisplayText& p, const Glyphs& glyphs);
    // Paints bytes as display characters in rows of perRow places filling rect; asText (a sheet
    // cell): each row as text from the left, every character at its own width.
    static void PaintDisplayText(cmcCanvas& canvas, const cmcCanvas::Rect& rect,
                                 std::span<const uint8_t> bytes, int32_t length, int32_t perRow,
                                 const Glyphs& glyphs, bool asText = false);

    // The 16-bit segment pattern of one user character, stored high byte first.
    static bool EditGlyphPattern(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t, 2> stored,
                                 const Glyphs& glyphs);

    // The 16-character read/write password; a longer one is refused, never stored cut.
    static constexpr size_t kPasswordLength = 16;
    static bool EditPassword(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t> password);
};

#include "cells/cmcTextCodecs.h"

#include "cells/cmcCellWindows.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using T = cmcCodecText;

bool Printable(int c) {
    return c >= 32 && c <= 126;
}

// Refuses a text of more than capacity characters (blanks at its end aside): it would be stored cut
// down to something else than what was typed.
bool RefuseLonger(cmcCodecIo& io, size_t length, size_t capacity) {
    if (length <= capacity)
        return false;
    char digits[16];
    io.Refuse(cmcCodecIo::kRefuseLength, {T::FormatInt(digits, static_cast<int64_t>(capacity))});
    return true;
}

size_t WithoutTrailingBlanks(std::string_view text) {
    size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return n;
}

} // namespace

bool cmcTextCodecs::EditText(cmcCodecIo& io, std::span<uint8_t> field, Fill fill) {
    bool changed = false;
    int32_t k = io.Key();
    if (k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace)
        k = cmcCodecIo::kKeyReturn;
    const bool storing =
        io.editState == cmcCodecIo::kEntered || (io.editState == cmcCodecIo::kChosen && io.linked);
    if (storing && !RefuseLonger(io, WithoutTrailingBlanks(io.enteredText), field.size())) {
        uint8_t pad = fill == Fill::Spaces ? ' ' : 0;
        for (size_t i = 0; i < field.size(); ++i) {
            int c = i < io.enteredText.size() ? static_cast<unsigned char>(io.enteredText[i]) : pad;
            if (fill == Fill::ZerosLower && c >= 'A' && c <= 'Z')
                c = c - 'A' + 'a';
            if (fill == Fill::Spaces)
                field[i] = static_cast<uint8_t>(Printable(c) ? c : ' ');
            else
                field[i] = static_cast<uint8_t>(Printable(c) && c != ' ' ? c : 0);
        }
        changed = true;
    }
    size_t n = 0;
    if (fill == Fill::Spaces) {
        n = field.size();
        while (n > 0 && field[n - 1] == ' ')
            --n;
    } else {
        while (n < field.size() && field[n] != 0)
            ++n;
    }
    io.Show(std::string_view(reinterpret_cast<const char*>(field.data()), n));
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorSelected(io.displayText);
    else if (Printable(k))
        io.OpenEditorWith(static_cast<char>(k));
    return changed;
}

std::string cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        if (b == '%') {
            text += "%%";
        } else if ((b >= 16 && b <= 31) || b >= 127) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", b);
            text += hex;
        } else if (Printable(b)) {
            text += static_cast<char>(b);
        } else {
            break;
        }
    }
    return text;
}

std::vector<uint8_t> cmcTextCodecs::DecodeDisplayText(std::string_view text, size_t size,
                                                      bool zeroTerminated) {
    text = text.substr(0, kDecodeLimit);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size() && bytes.size() < size; ++i) {
        int c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
        } else if (c == '%' && i + 2 < text.size() && T::IsHexDigit(text[i + 1]) &&
                   T::IsHexDigit(text[i + 2])) {
            int b = T::HexValue(text[i + 1]) * 16 + T::HexValue(text[i + 2]);
            if ((b >= 16 && b <= 31) || b >= 127 || Printable(b)) {
                c = b;
                i += 2;
            }
        } else if (!Printable(c) && c < 127) {
            c = ' ';
        }
        bytes.push_back(static_cast<uint8_t>(c));
    }
    bytes.resize(size, zeroTerminated ? 0 : ' ');
    return bytes;
}

namespace {

// The glyphs as given, drawn with the overlay's segment data when the caller names no segments.
cmcTextCodecs::Glyphs WithSegments(const cmcTextCodecs::Glyphs& glyphs, cmcCodecEnv& env) {
    cmcTextCodecs::Glyphs drawn = glyphs;
    if (drawn.segments.empty())
        drawn.segments = env.Segments();
    return drawn;
}

} // namespace

void cmcTextCodecs::PaintDisplayText(cmcCanvas& canvas, const cmcCanvas::Rect& rect,
                                     std::span<const uint8_t> bytes, int32_t length, int32_t perRow,
                                     const Glyphs& glyphs, bool asText) {
    perRow = std::max(perRow, 1);
    int32_t count = static_cast<int32_t>(bytes.size());
    int32_t rows = std::max(1, (count + perRow - 1) / perRow);
    int32_t w = rect.Width() / perRow;
    int32_t h = rect.Height() / rows;
    const int32_t wide = std::max(canvas.TextWidth("W"), 1);
    // A cell shows its text as text: each row from the left, every character at its own width (a user
    // character as wide as a "W"), so that a widened column does not spread the letters apart. A
    // column too narrow for a character per place does the same, so that none spills into the
    // neighbouring cells. Otherwise (the editor's picture of the display) each character stands in
    // its own place of equal places filling the rectangle.
    const bool ownWidths = asText || (rows == 1 && w < wide);
    if (ownWidths)
        w = wide;
    if (w < 1 || h < 1 || rect.Width() < 1)
        return;

    // The geometry's bounding box, to fit it into one character place.
    int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (const Segment& s : glyphs.segments)
        for (const auto& t : s.triangles)
            for (const cmcCanvas::Point& p : t) {
                minX = first ? p.x : std::min(minX, p.x);
                maxX = first ? p.x : std::max(maxX, p.x);
                minY = first ? p.y : std::min(minY, p.y);
                maxY = first ? p.y : std::max(maxY, p.y);
                first = false;
            }
    double f = 0;
    if (!first && maxX > minX && maxY > minY)
        f = std::min(double(w - 2) / (maxX - minX), double(h - 2) / (maxY - minY));

    uint32_t normal = canvas.FontColor();
    uint32_t brush = canvas.BrushColor();
    cmcCanvas::BrushStyle style = canvas.GetBrushStyle();
    int32_t next = rect.left + 2;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t c = bytes[static_cast<size_t>(i)];
        uint32_t color = i < length ? normal : cmcCodecIo::kOlive;
        canvas.SetFontColor(color);
        int32_t x0 = rect.left + (i % perRow) * w;
        int32_t y0 = rect.top + (i / perRow) * h;
        int32_t place = w;
        if (ownWidths) {
            if (i % perRow == 0)
                next = rect.left + 2;
            const char one = c >= 32 ? static_cast<char>(c) : 'W';
            place = c >= 32 ? canvas.TextWidth(std::string_view(&one, 1)) : wide;
            if (next + place > rect.right) {
                next = rect.right; // the rest of the row does not fit either
                continue;
            }
            x0 = next;
            next += place;
        }
        if (c >= 16 && c <= 31) {
            if (f <= 0 || !glyphs.userPatterns) {
                canvas.SetPen(color, 1);
                canvas.SetBrush(brush, cmcCanvas::BrushStyle::Clear);
                canvas.Rectangle({x0 + 1, y0 + 1, x0 + place - 1, y0 + h - 1});
                continue;
            }
            const uint8_t* p = glyphs.userPatterns + 2 * (c - 16);
            uint32_t pattern = (uint32_t(p[0]) << 8) | p[1];
            size_t n = glyphs.segments.size();
            canvas.SetPen(color, 1);
            canvas.SetBrush(color, cmcCanvas::BrushStyle::Solid);
            for (size_t s = 0; s < n; ++s) {
                bool on = glyphs.segments[s].fixed || (n - 1 - s < 32 && ((pattern >> (n - 1 - s)) & 1));
                if (!on)
                    continue;
                for (const auto& t : glyphs.segments[s].triangles) {
                    std::array<cmcCanvas::Point, 3> q;
                    for (size_t j = 0; j < 3; ++j)
                        q[j] = {x0 + 1 + static_cast<int32_t>((t[j].x - minX) * f),
                                y0 + 1 + static_cast<int32_t>((t[j].y - minY) * f)};
                    canvas.Polygon(q);
                }
            }
        } else if (c >= 32) {
            char one = static_cast<char>(c);
            std::string_view text(&one, 1);
            canvas.SetBrush(brush, cmcCanvas::BrushStyle::Clear);
            canvas.TextOut(x0 + (place - canvas.TextWidth(text)) / 2, y0 + (h - canvas.TextHeight(text)) / 2,
                           text);
        }
    }
    canvas.SetFontColor(normal);
    canvas.SetBrush(brush, style);
}

bool cmcTextCodecs::EditDisplayText(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t> buffer,
                                    const DisplayText& p, const Glyphs& glyphs) {
    bool changed = false;
    int32_t k = io.Key();
    if (k == cmcCodecIo::kKeyBackspace)
        k = cmcCodecIo::kKeyReturn;
    if (io.editState == cmcCodecIo::kEntered || io.Chose(cmcChoiceCodecs::kAnswerCell)) {
        // Decoded in full first: a text with more characters than the field holds is refused.
        std::vector<uint8_t> all = DecodeDisplayText(io.enteredText, kDecodeLimit, false);
        size_t length = all.size();
        while (length > 0 && all[length - 1] == ' ')
            --length;
        if (!RefuseLonger(io, length, buffer.size())) {
            std::vector<uint8_t> bytes = DecodeDisplayText(io.enteredText, buffer.size(), p.zeroTerminated);
            std::copy(bytes.begin(), bytes.end(), buffer.begin());
            changed = true;
        }
    } else if (io.linked) {
        return false;
    }
    io.Show("");
    int32_t perRow = p.wide ? 25 : 8;
    if (io.painter)
        PaintDisplayText(*io.painter, io.rect, buffer, p.length, perRow, WithSegments(glyphs, env), true);
    if (k == cmcCodecIo::kKeyReturn || Printable(k)) {
        if (cmcCellWindows* windows = env.Windows()) {
            char one = static_cast<char>(k);
            std::string text = k == cmcCodecIo::kKeyReturn ? EncodeDisplayText(buffer) : std::string(&one, 1);
            windows->OpenDisplayText(io.capsule, text, k == cmcCodecIo::kKeyReturn,
                                     static_cast<int32_t>(buffer.size()), glyphs.userPatterns, p.wide);
        }
        io.result = cmcCodecIo::kResultRefresh;
    }
    return changed;
}

bool cmcTextCodecs::EditGlyphPattern(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t, 2> stored,
                                     const Glyphs& glyphs) {
    bool changed = false;
    if (io.Chose(cmcChoiceCodecs::kAnswerCell)) {
        char* end = nullptr;
        unsigned long v = std::strtoul(io.enteredText.c_str(), &end, 10);
        if (io.enteredText.empty() || end == io.enteredText.c_str() || *end != 0)
            v = 0; // not a number
        stored[0] = static_cast<uint8_t>((v >> 8) & 0xFF);
        stored[1] = static_cast<uint8_t>(v & 0xFF);
        return true;
    }
    if (io.linked)
        return false;
    io.Show("");
    if (io.painter) {
        // The character painted with its own pattern, as code 16 in a one-place row.
        Glyphs own = WithSegments(glyphs, env);
        own.userPatterns = stored.data();
        const uint8_t code = 16;
        PaintDisplayText(*io.painter, io.rect, std::span<const uint8_t>(&code, 1), 1, 1, own);
    }
    if (io.Key() == cmcCodecIo::kKeyReturn) {
        if (cmcCellWindows* windows = env.Windows())
            windows->OpenCharEditor(io.capsule, (int32_t(stored[0]) << 8) | stored[1]);
        io.result = cmcCodecIo::kResultRefresh;
    }
    return changed;
}

bool cmcTextCodecs::EditPassword(cmcCodecIo& io, cmcCodecEnv& env, std::span<uint8_t> password) {
    bool changed = false;
    int32_t k = io.Key();
    if (k == cmcCodecIo::kKeyReturn || k == cmcCodecIo::kKeySpace) {
        std::string typed;
        cmcCellWindows* windows = env.Windows();
        if (windows && windows->AskPassword(io.capsule, typed) &&
            !RefuseLonger(io, typed.size(), kPasswordLength)) {
            // An empty entry removes the password: zero bytes, since a clone write takes a first byte
            // other than 0 for a password set.
            const uint8_t fill = typed.empty() ? 0 : ' ';
            for (size_t i = 0; i < password.size(); ++i)
                password[i] = static_cast<uint8_t>(i < typed.size() && i < kPasswordLength ? typed[i] : fill);
            changed = true;
        }
        io.result = cmcCodecIo::kResultRefresh;
    }
    // The password itself is never shown: only whether one is set.
    bool set = std::any_of(password.begin(), password.end(),
                           [](uint8_t b) { return b != ' ' && b != 0 && b != 0xFF; });
    io.Show(set ? "********" : "");
    return changed;
}

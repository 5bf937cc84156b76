#include "sheets/cmcFixedCanvas.h"

#include <cstdlib>

int32_t cmcFixedCanvas::LineHeight() const {
    // A negative height is the character height; a positive one includes the leading.
    const int32_t h = m_font.height < 0 ? -m_font.height + 2 : m_font.height;
    return h > 0 ? h : 1;
}

int32_t cmcFixedCanvas::CharWidth() const {
    const int32_t w = (LineHeight() * 6 + 9) / 10;
    return w > 0 ? w : 1;
}

int32_t cmcFixedCanvas::TextWidth(std::string_view text) const {
    // Characters, not bytes: continuation bytes of UTF-8 do not count.
    int32_t n = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80)
            ++n;
    return n * CharWidth();
}

int32_t cmcFixedCanvas::TextHeight(std::string_view) const {
    return LineHeight();
}

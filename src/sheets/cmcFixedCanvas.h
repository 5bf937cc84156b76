#pragma once
// A measuring canvas without a display: every character is as wide as a fixed share of the font's
// height, every line as high as the font. Used by the command line, tests and benchmarks.
#include "cells/cmcCellFont.h"
#include "sheets/cmcMeasureOnlyCanvas.h"

class cmcFixedCanvas : public cmcMeasureOnlyCanvas {
public:
    void SetFont(const cmcCellFont& font) override { m_font = font; }
    int32_t FontSize() const override { return m_font.size; }
    // Pixels of one character and of one line in the current font.
    int32_t CharWidth() const;
    int32_t LineHeight() const;

    int32_t TextWidth(std::string_view text) const override;
    int32_t TextHeight(std::string_view text) const override;

private:
    cmcCellFont m_font;
};

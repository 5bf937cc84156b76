#pragma once
// A canvas that also takes cell fonts and resolves system colours: what cell painting needs beyond
// the drawing calls. The Qt canvas implements it on screen and on paper; tests record it.
#include "cells/cmcCanvas.h"

struct cmcCellFont;

class cmcFontCanvas : public cmcCanvas {
public:
    // The font (and font colour) of the text that follows.
    virtual void SetCellFont(const cmcCellFont& font) = 0;
    // A system colour (0x80000000 plus a number) as its 0x00BBGGRR value; others unchanged.
    virtual uint32_t ResolveColor(uint32_t color) const = 0;
};

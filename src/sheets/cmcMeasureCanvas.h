#pragma once
// A canvas that can take a cell's font, so that a sheet build can measure display texts in the font
// they will be drawn with (fitted column widths and row heights).
#include "cells/cmcCanvas.h"

struct cmcCellFont;

class cmcMeasureCanvas : public cmcCanvas {
public:
    // Makes font the font of the following TextWidth and TextHeight calls.
    virtual void SetFont(const cmcCellFont& font) = 0;
    // The point size of the current font (print width conversion).
    virtual int32_t FontSize() const = 0;
};

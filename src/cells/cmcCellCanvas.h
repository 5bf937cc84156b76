#pragma once
// What a cell behaviour may change on the canvas while its cell is drawn: the font colour (grey for
// values that do not apply, olive for fixed ones) and the background brush.
#include <cstdint>

class cmcCellCanvas {
public:
    virtual ~cmcCellCanvas() = default;
    virtual uint32_t FontColor() const = 0;
    virtual void SetFontColor(uint32_t color) = 0;
    virtual void SetBrushColor(uint32_t color) = 0;
};

#pragma once
// The measuring canvas of sheet builds on screen: text sizes in the real fonts the grid draws with.
#include "sheets/cmcMeasureOnlyCanvas.h"

#include "cells/cmcCellFont.h"

#include <QFont>

class cuiQtMeasureCanvas : public cmcMeasureOnlyCanvas {
public:
    cuiQtMeasureCanvas();

    void SetFont(const cmcCellFont& font) override;
    int32_t FontSize() const override { return m_cellFont.size; }
    int32_t TextWidth(std::string_view text) const override;
    int32_t TextHeight(std::string_view text) const override;

private:
    cmcCellFont m_cellFont;
    QFont m_font;
};

#pragma once
// One printed page as the printer laid it out: which sheet, where on the paper and which cells, so
// that a preview can show (or print) exactly this page again. Rectangles are in printer dots.
#include "cells/cmcCanvas.h"

#include <cstdint>
#include <string>

struct cuiPrintPage {
    std::string sheetText;
    cmcCanvas::Rect margins; // the margin rectangle the page frame was drawn in
    cmcCanvas::Rect extent;  // the cells printed: fixed rows and columns and the chunk
    int32_t firstCol = 0;    // first column of the chunk (after the fixed columns)
    int32_t firstRow = 0;    // first row of the chunk (after the fixed rows)
    int32_t colCount = 0;    // columns of the chunk
    int32_t rowCount = 0;    // rows of the chunk
    int32_t fontHeight = 0;  // print font height the page was laid out with (negative: character height)
    bool operator==(const cuiPrintPage&) const = default;
};

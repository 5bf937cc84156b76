#pragma once
// The paper the printer draws on: a page size and resolution in dots, a document of pages, and a
// canvas in printer dots. The desktop program puts it over a Qt printer or PDF writer; tests record it.
#include "cells/cmcFontCanvas.h"

#include <cstdint>

class cmcPrintDevice {
public:
    virtual ~cmcPrintDevice() = default;

    // The whole sheet of paper, in dots; (0, 0) is its top left corner.
    virtual int32_t PageWidth() const = 0;
    virtual int32_t PageHeight() const = 0;
    // Vertical dots per inch.
    virtual int32_t DotsPerInch() const = 0;

    // Opens the document; its first page is open afterwards. False when the device cannot print.
    virtual bool BeginDocument() = 0;
    // Closes the page and opens the next one. False when the device failed.
    virtual bool NewPage() = 0;
    // Closes the document. False when it could not be finished (nothing usable was printed).
    virtual bool EndDocument() = 0;

    // Draws on the open page. Before BeginDocument it only measures texts (fonts set through
    // SetCellFont, heights in dots), so that pages can be counted without printing.
    virtual cmcFontCanvas& Canvas() = 0;
};

#pragma once
// The sheet printer: builds a print copy of a sheet at the device's resolution, cuts it into pages
// that fit between the page header and footer (columns across, then rows down, fixed rows and
// columns on every page), shrinks the font of a page that does not fit (at most three times), and
// draws the page frame and the cells with the grid's cell painter. Counting, recording and printing
// walk the same pages, so a preview shows exactly what is printed.
#include "cells/cmcCanvas.h"
#include "cells/cmcCellFont.h"
#include "print/cuiPrintPage.h"
#include "sheets/cuiSheet.h"
#include "sheets/cuiSheetEnv.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class indCellHandler;
class cmcGTex;
class cmcPrintDevice;

class cuiPrinter {
public:
    struct Services {
        cmcGTex* texts = nullptr;              // main text table: frame texts and margins
        std::function<cuiSheetEnv()> sheetEnv; // what a sheet build reads (its canvas is replaced)
        indCellHandler* handler = nullptr;     // gives every painted cell its text; may be null
        int32_t screenDpi = 96;                // screen pixels per inch (print width conversion)
        int32_t fontSize = 10;                 // point size of the cell font (FontSize Printer)
        std::string date;                      // shown in the page footer
    };

    // Margins in millimetres: left, top, right, bottom.
    struct Margins {
        double left = 0, top = 0, right = 0, bottom = 0;
    };

    // One document being printed on one device: its margin rectangle, page numbering and the
    // cancel flag (the printing dialog's Cancel button sets it).
    struct Target {
        cmcPrintDevice* device = nullptr;
        cmcCanvas::Rect margins;
        bool repeaterPrint = false; // sheets build with their repeater-print rows
        bool pageStarted = false;   // a page was printed: the next one needs a new page first
        bool cancel = false;
        bool failed = false;    // the device refused a page
        int32_t pageNumber = 0; // pages printed so far in this document
        int32_t pageTotal = 0;  // pages of the whole document, for "page N / M"; 0: not shown
    };

    enum class Mode { Count, Record, Print };

    // A print copy kept from one walk of a sheet's pages to the next (counting, then printing), with
    // the font it was shrunk to: the second walk lays out the same pages without building again.
    struct Copy {
        std::unique_ptr<cuiSheet> sheet;
        int32_t fontHeight = 0;
        int shrinks = 0;
    };

    explicit cuiPrinter(Services services);
    ~cuiPrinter();
    cuiPrinter(const cuiPrinter&) = delete;
    cuiPrinter& operator=(const cuiPrinter&) = delete;

    void SetFontSize(int32_t points);
    int32_t FontSize() const { return m_s.fontSize; }

    // GI_Sys_Printer_Margins: left, top, right, bottom in millimetres (one line with commas, or one
    // value a line).
    Margins ReadMargins() const;
    // The margin rectangle of a page in dots.
    static cmcCanvas::Rect MarginRect(int32_t pageWidth, int32_t pageHeight, int32_t dpi, const Margins& mm);
    cmcCanvas::Rect MarginRect(const cmcPrintDevice& device) const;

    // A document on device with the overlay's margins.
    Target MakeTarget(cmcPrintDevice& device, bool repeaterPrint = false) const;

    // Whether the overlay defines the sheet and its print copy can print (no NoPrint, a bank with
    // channels).
    bool IsPrintable(Target& target, std::string_view sheetText);

    // Builds the print copy of one sheet and walks its pages: counts them, records them into pages
    // (Record) or prints them on the target's device (Print). Returns the number of pages; 0 for a
    // sheet that does not print. The walk stops when target.cancel is set. With keep, the copy a
    // walk leaves there is used by the next walk of the same sheet on the same target.
    int32_t PrintSheet(Target& target, std::string_view sheetText, Mode mode,
                       std::vector<cuiPrintPage>* pages = nullptr, Copy* keep = nullptr);

    // The page frame (header, footer and their bars) on the device's canvas in the sheet's title
    // font; returns the body rectangle between them. With draw false it only measures.
    cmcCanvas::Rect DrawFrame(Target& target, const std::string& title,
                              const std::optional<cmcCellFont>& font, bool draw);

    // Pagination of a built print copy: the column counts of the chunks across and the row counts
    // of the chunks down. A column break never falls inside a heading joined over columns.
    static std::vector<int32_t> ColumnChunks(const cuiSheet& sheet, int32_t width);
    static std::vector<int32_t> RowChunks(const cuiSheet& sheet, int32_t height);

private:
    class PageSource;
    class DeviceMeasure;
    std::unique_ptr<cuiSheet> BuildCopy(Target& target, std::string_view sheetText, int32_t fontHeight);
    // Widens the columns of a print copy to the texts the cell handler shows in them.
    void FitShownTexts(cuiSheet& sheet);
    void PaintPage(Target& target, cuiSheet& sheet, const cmcCanvas::Rect& body, const cuiPrintPage& page);

    Services m_s;
    std::unique_ptr<DeviceMeasure> m_measure; // the canvas print copies measure on
};

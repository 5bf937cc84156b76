#pragma once
// Paints one sheet cell the same way on screen, in the preview and on paper: background by selection
// state, rules, joined cells, the handler's text aligned in the cell and the warning or error mark.
#include "cells/cmcCanvas.h"
#include "cells/cmcCellCapsule.h"

#include <cstdint>

class cmcCellObj;
class cmcFontCanvas;

class cmcCellPainter {
public:
    // Cell table entry bits.
    static constexpr uint8_t kMultiSelect = 0x01;
    static constexpr uint8_t kSelected = 0x02;
    static constexpr uint8_t kLineMarked = 0x04;

    // Image list indices of the marks.
    static constexpr int kImageWarning = 12;
    static constexpr int kImageError = 13;

    // What the painter reads of a sheet.
    class Source {
    public:
        virtual ~Source() = default;
        virtual bool Ready() const = 0; // a cell table exists and no build runs
        virtual int ColCount() const = 0;
        virtual int RowCount() const = 0;
        virtual int ColWidth(int col) const = 0;
        virtual int RowHeight(int row) const = 0;
        virtual int FixedCols() const = 0;
        virtual const cmcCellObj& Cell(int col, int row) const = 0;
        virtual uint8_t CellBits(int col, int row) const = 0;
        virtual const cmcCellObj& BasicCell() const = 0;
        virtual bool IsCurrent(int col, int row) const = 0;
        virtual int CurrentRow() const = 0;
        virtual bool GridFocused() const = 0;
        virtual bool EditorVisible() const = 0;
        virtual bool PopupMode() const = 0;
        virtual bool SelectLineColoring() const = 0;
        virtual bool Printing() const = 0;
        virtual double Scale() const = 0;
        // The opener's capsule, given to the handler as link; may be null.
        virtual cmcCellCapsule* Link() const { return nullptr; }
        // Calls the cell handler with notify 0; false when the sheet has none.
        virtual bool CallHandler(cmcCellCapsule& capsule) = 0;
        // Image list for the marks; without one no mark is drawn.
        virtual bool HasImages() const = 0;
        virtual int ImageWidth() const { return 16; }
        virtual int ImageHeight() const { return 16; }
        virtual void DrawImage(cmcCanvas& canvas, int x, int y, int index) {}
    };

    // Paints cell (col, row) into rect. Returns true when the cell to the right is a tail that must be
    // repainted too (it follows its owner's highlight).
    bool Paint(Source& sheet, cmcFontCanvas& canvas, int col, int row, const cmcCanvas::Rect& rect);

    // The derived colours for the window colour w and text colour t (0x00BBGGRR).
    static uint32_t LineBlend(uint32_t w, uint32_t t);
    static uint32_t InactiveHighlight(uint32_t w, uint32_t t);

private:
    void UpdateDerived(cmcFontCanvas& canvas);
    void DrawPrintedMark(cmcCanvas& canvas, bool error, int x, int y, int f);

    cmcCellCapsule m_capsule; // reused for every painted cell
    uint32_t m_window = 0xFFFFFFFFu;
    uint32_t m_text = 0xFFFFFFFFu;
    uint32_t m_lineBlend = 0;
    uint32_t m_inactive = 0;
};

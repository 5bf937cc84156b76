#include "cells/cmcCellPainter.h"

#include "cells/cmcCellColors.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFontCanvas.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kHighlight = 0x8000000Du;
constexpr uint32_t kHighlightText = 0x8000000Eu;
constexpr uint32_t kBtnFace = 0x8000000Fu;
constexpr uint32_t kGrayText = 0x80000011u;
constexpr uint32_t kDarkGrey = 0x606060u;

uint32_t Blend(uint32_t w, uint32_t t, int wWeight, int tWeight, int round, int div) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int a = static_cast<int>((w >> shift) & 0xFF), b = static_cast<int>((t >> shift) & 0xFF);
        out |= static_cast<uint32_t>((wWeight * a + tWeight * b + round) / div) << shift;
    }
    return out;
}

bool IsPlainWhite(uint32_t color) {
    return color == cmcCellColors::clWindow || color == cmcCellColors::clWhite;
}

// A line feed ends a line: a text that ends with one (the bit-field texts do) has no empty line after
// it, so that a one-line text sits in its one-line row instead of half above it.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    if (text.size() > 1 && text.back() == '\n')
        text.remove_suffix(1);
    size_t start = 0;
    while (true) {
        size_t lf = text.find('\n', start);
        lines.push_back(
            text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start));
        if (lf == std::string_view::npos)
            break;
        start = lf + 1;
    }
    return lines;
}

} // namespace

uint32_t cmcCellPainter::LineBlend(uint32_t w, uint32_t t) {
    return Blend(w, t, 7, 1, 4, 8);
}

uint32_t cmcCellPainter::InactiveHighlight(uint32_t w, uint32_t t) {
    return Blend(w, t, 3, 1, 2, 4);
}

void cmcCellPainter::UpdateDerived(cmcFontCanvas& canvas) {
    uint32_t w = canvas.ResolveColor(cmcCellColors::clWindow);
    uint32_t t = canvas.ResolveColor(cmcCellColors::clWindowText);
    if (w == m_window && t == m_text)
        return;
    m_window = w;
    m_text = t;
    m_lineBlend = LineBlend(w, t);
    m_inactive = InactiveHighlight(w, t);
}

bool cmcCellPainter::Paint(Source& sheet, cmcFontCanvas& canvas, int col, int row,
                           const cmcCanvas::Rect& rect) {
    if (!sheet.Ready() || col < 0 || row < 0 || col >= sheet.ColCount() || row >= sheet.RowCount())
        return false;
    if (sheet.ColWidth(col) < 1 || sheet.RowHeight(row) < 1)
        return false;
    UpdateDerived(canvas);
    uint32_t savedBrush = canvas.BrushColor();
    cmcCanvas::BrushStyle savedStyle = canvas.GetBrushStyle();
    const bool printing = sheet.Printing();
    const double s = sheet.Scale();
    const int cols = sheet.ColCount();
    auto joinedAt = [&](int c) { return c < cols && (sheet.Cell(c, row).layoutFlags & cmcCellObj::kJoined); };

    // Joined cells: the text runs over the joined cells to the right; a joined cell paints its owner.
    bool nextJoined = joinedAt(col + 1);
    cmcCanvas::Rect text = rect;
    for (int c = col + 1; joinedAt(c); ++c)
        text.right += sheet.ColWidth(c);
    int owner = col;
    while (owner > 0 && joinedAt(owner))
        --owner;
    for (int c = owner; c < col; ++c)
        text.left -= sheet.ColWidth(c);
    const cmcCellObj& cell = sheet.Cell(owner, row);

    // Highlight.
    uint8_t bits = sheet.CellBits(owner, row);
    bool highlighted =
        ((bits & kMultiSelect) && (bits & (kSelected | kLineMarked))) || sheet.IsCurrent(owner, row);
    if (!highlighted && (cell.markFlags & cmcCellObj::kTail) && row == sheet.CurrentRow()) {
        int c = owner;
        while (c > 0 && (sheet.Cell(c, row).markFlags & cmcCellObj::kTail))
            --c;
        highlighted = (sheet.Cell(c, row).markFlags & cmcCellObj::kSelectable) && sheet.IsCurrent(c, row);
    }

    // An empty cell with a cell number shows one space. Built as a new string rather than assigned:
    // GCC 12 warns falsely (-Wrestrict) on assigning a literal to this string at -O2.
    std::string shown = cell.displayText.empty() && cell.HasCell() ? std::string(1, ' ') : cell.displayText;

    // Background.
    bool dark = false;
    bool onHighlight = false;
    bool onInactive = false;
    if (printing) {
        if (!IsPlainWhite(cell.color)) {
            dark = true;
            canvas.SetBrush(kDarkGrey, cmcCanvas::BrushStyle::Solid);
            canvas.FillRect(rect);
        }
    } else if (!highlighted || sheet.EditorVisible()) {
        uint32_t fill = cell.color;
        if (sheet.SelectLineColoring() && !sheet.PopupMode() && row == sheet.CurrentRow() &&
            col >= sheet.FixedCols())
            fill = m_lineBlend;
        canvas.SetBrush(fill, cmcCanvas::BrushStyle::Solid);
        canvas.FillRect(rect);
    } else if (sheet.GridFocused() || sheet.PopupMode()) {
        onHighlight = true;
        canvas.SetBrush(kHighlight, cmcCanvas::BrushStyle::Solid);
        canvas.FillRect(rect);
    } else {
        onInactive = true;
        canvas.SetBrush(m_inactive, cmcCanvas::BrushStyle::Solid);
        canvas.FillRect(rect);
    }

    // Rules.
    uint32_t rule = IsPlainWhite(cell.color) ? (printing ? cmcCellColors::clBlack : cmcCellColors::clGray)
                                             : cmcCellColors::clWhite;
    if (cell.layoutFlags & cmcCellObj::kBottomRule) {
        canvas.SetPen(rule, 1);
        canvas.MoveTo(rect.left, rect.bottom - 1);
        canvas.LineTo(rect.right, rect.bottom - 1);
    }
    if (!nextJoined && cell.RightRule() != 0) {
        canvas.SetPen(rule, 1);
        int from = cell.RightRule() == 1 ? rect.top : rect.top + (rect.bottom - rect.top) * 7 / 10;
        canvas.MoveTo(rect.right - 1, from);
        canvas.LineTo(rect.right - 1, rect.bottom);
    }

    // Font.
    const cmcCellFont* font = cell.font                ? &*cell.font
                              : sheet.BasicCell().font ? &*sheet.BasicCell().font
                                                       : nullptr;
    if (font)
        canvas.SetCellFont(*font);
    if (onHighlight)
        canvas.SetFontColor(kHighlightText);

    // The handler supplies the text and may ask for a mark.
    bool handled = false;
    if (cell.HasCell()) {
        m_capsule.ResetCapsule();
        m_capsule.link = sheet.Link();
        m_capsule.cell = const_cast<cmcCellObj*>(&cell);
        m_capsule.canvas = &canvas;
        m_capsule.cellRect = {text.left, text.top, text.right, text.bottom};
        m_capsule.stateBits = static_cast<uint8_t>((highlighted ? cmcCellCapsule::kStateCurrent : 0) |
                                                   (printing ? cmcCellCapsule::kStatePrinting : 0));
        if (sheet.CallHandler(m_capsule)) {
            handled = true;
            shown = m_capsule.displayText;
        }
    }

    // Text colour fix-ups.
    if (printing) {
        canvas.SetFontColor(dark ? cmcCellColors::clWhite : cmcCellColors::clBlack);
    } else if (onInactive) {
        uint32_t fc = canvas.FontColor();
        if (fc == kBtnFace || fc == m_inactive || fc == cmcCellColors::clSilver || fc == kGrayText)
            canvas.SetFontColor(cmcCellColors::clWindow);
    }

    // Lines of text, measured and aligned as a block.
    std::vector<std::string_view> lines;
    int textHeight = 0;
    if (!shown.empty()) {
        lines = SplitLines(shown);
        for (std::string_view line : lines)
            textHeight += canvas.TextHeight(line);
    }
    int L = text.left, Tp = text.top, R = text.right, Bt = text.bottom;
    int y;
    switch (cell.VAlign()) {
    case 1:
        y = Tp + (Bt + 1 - Tp - textHeight) / 2;
        break;
    case 2:
        y = static_cast<int>(Bt - textHeight - s + 0.5);
        break;
    default:
        y = static_cast<int>(Tp + s + 0.5);
        break;
    }
    canvas.SetBrush(canvas.BrushColor(), cmcCanvas::BrushStyle::Clear);
    canvas.MoveTo(L, y);
    for (std::string_view line : lines) {
        int w = canvas.TextWidth(line);
        int x;
        switch (cell.HAlign()) {
        case 1:
            x = L + (R + 1 - L - w) / 2;
            break;
        case 2:
            x = static_cast<int>(R + 1 - w - 4 * s + 0.5);
            break;
        default:
            x = static_cast<int>(L + 4 * s + 0.5);
            break;
        }
        x = std::max(x, L);
        if (L + w + 1 < R) {
            canvas.TextOut(x, y, line);
        } else {
            canvas.TextRect(text, x, y, line);
            canvas.MoveTo(R, y);
        }
        y += canvas.TextHeight(line);
    }

    // Warning or error mark.
    uint8_t marks =
        handled ? m_capsule.stateBits & (cmcCellCapsule::kStateWarning | cmcCellCapsule::kStateError) : 0;
    if (marks && sheet.HasImages()) {
        bool error = marks & cmcCellCapsule::kStateError;
        int f = printing ? (text.bottom - text.top) / 2 : sheet.ImageWidth();
        int g = f / 8;
        int position = m_capsule.markPosition;
        if (position == cmcCellCapsule::kMarkAuto)
            position = cell.HAlign() == 2 ? cmcCellCapsule::kMarkLeft : cmcCellCapsule::kMarkAfterText;
        int x;
        if (position == cmcCellCapsule::kMarkLeft) {
            x = text.left + g;
        } else {
            x = std::max(text.left, text.right - f - 1);
            if (position == cmcCellCapsule::kMarkAfterText && canvas.PenPos().x < x)
                x = canvas.PenPos().x;
        }
        if (printing)
            DrawPrintedMark(canvas, error, x, text.bottom - f - g, f);
        else
            sheet.DrawImage(canvas, x, text.bottom - sheet.ImageHeight() - 1,
                            error ? kImageError : kImageWarning);
    }
    m_capsule.stateBits &=
        static_cast<uint8_t>(~(cmcCellCapsule::kStateWarning | cmcCellCapsule::kStateError));

    canvas.SetBrush(savedBrush, savedStyle);
    return col + 1 < cols && (sheet.Cell(col + 1, row).markFlags & cmcCellObj::kTail);
}

void cmcCellPainter::DrawPrintedMark(cmcCanvas& canvas, bool error, int x0, int y0, int f) {
    int g = f / 8;
    auto at = [&](int x, int y) { return cmcCanvas::Point{x0 + x, y0 + y}; };
    canvas.SetPen(cmcCellColors::clBlack, 1);
    if (error) {
        cmcCanvas::Point cross[] = {at(g, 0),
                                    at(f / 2, f / 2 - g),
                                    at(f - 1 - g, 0),
                                    at(f - 1, g),
                                    at(f / 2 + g, f / 2),
                                    at(f - 1, f - 1 - g),
                                    at(f - 1 - g, f - 1),
                                    at(f / 2, f / 2 + g),
                                    at(g, f - 1),
                                    at(0, f - 1 - g),
                                    at(f / 2 - g, f / 2),
                                    at(0, g)};
        canvas.SetBrush(cmcCellColors::clBlack, cmcCanvas::BrushStyle::Solid);
        canvas.Polygon(cross);
        return;
    }
    cmcCanvas::Point triangle[] = {at(f / 2, 0), at(f - 1, f - 1), at(0, f - 1)};
    canvas.SetPen(cmcCellColors::clBlack, f / 16 + 1);
    canvas.SetBrush(cmcCellColors::clWhite, cmcCanvas::BrushStyle::Solid);
    canvas.Polygon(triangle);
    canvas.SetPen(cmcCellColors::clBlack, 1);
    canvas.SetBrush(cmcCellColors::clBlack, cmcCanvas::BrushStyle::Solid);
    cmcCanvas::Point bar[] = {at(f / 2 - g, f / 3), at(f / 2 + g, f / 3), at(f / 2 + f / 10, 2 * f / 3),
                              at(f / 2 - f / 10, 2 * f / 3)};
    canvas.Polygon(bar);
    cmcCanvas::Point dot[] = {at(f / 2 - f / 10, 3 * f / 4), at(f / 2 + f / 10, 3 * f / 4),
                              at(f / 2 + f / 10, 3 * f / 4 + f / 6), at(f / 2 - f / 10, 3 * f / 4 + f / 6)};
    canvas.Polygon(dot);
}

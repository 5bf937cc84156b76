#include "print/cuiPrinter.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellColors.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellPainter.h"
#include "core/cmcGTex.h"
#include "model/indCellHandler.h"
#include "print/cmcPrintDevice.h"
#include "sheets/cmcMeasureOnlyCanvas.h"
#include "sheets/cuiSheet.h"
#include "sheets/cuiSheetText.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSh_Mch.h"
#include "sheets/iuiSheetFactory.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// How often a page that does not fit is built again with a smaller font before it prints as it is.
constexpr int kMaxShrinks = 3;
// The widest a column grows to fit the texts it shows, in screen pixels (as on screen).
constexpr int32_t kColumnLimit = 650;

// Fills a frame text: each %d or %s takes the next value, %% is a percent sign, anything else stays.
// Overlay texts never reach a printf format here.
std::string Fill(std::string_view format, std::initializer_list<std::string> values) {
    std::string out;
    auto next = values.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char kind = format[i + 1];
            if (kind == '%') {
                out += '%';
                ++i;
                continue;
            }
            if ((kind == 'd' || kind == 's') && next != values.end()) {
                out += *next++;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

double Millimetres(std::string_view text) {
    const std::string s(text);
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    // A margin that is no number, negative or absurd reads as none rather than a page without body.
    if (end == s.c_str() || !std::isfinite(value) || value < 0 || value > 1000)
        return 0;
    return value;
}

// While a print copy's cells are asked for their texts, the handler knows the bank (or repeater
// group) the copy shows, so that its rows never follow the sheet open on screen.
class ShownBank {
public:
    ShownBank(indCellHandler* handler, const cuiSheet& sheet) : m_handler(handler) {
        if (!m_handler) {
            return;
        }
        m_saved = m_handler->shownBank;
        if (const auto* bank = dynamic_cast<const iuiSh_ChBank*>(&sheet)) {
            m_handler->shownBank = bank->Bank();
        } else if (const auto* list = dynamic_cast<const iuiSh_Mch*>(&sheet); list && list->Letter() == 'R') {
            m_handler->shownBank = list->ShownGroup();
        } else {
            m_handler->shownBank = -1;
        }
    }
    ~ShownBank() {
        if (m_handler) {
            m_handler->shownBank = m_saved;
        }
    }
    ShownBank(const ShownBank&) = delete;
    ShownBank& operator=(const ShownBank&) = delete;

private:
    indCellHandler* m_handler;
    int32_t m_saved = -1;
};

} // namespace

// Sheet builds measure on the device's canvas, in printer dots. The point size a build asks for is
// the printer font size (print width conversion of stored column widths).
class cuiPrinter::DeviceMeasure : public cmcMeasureOnlyCanvas {
public:
    cmcPrintDevice* device = nullptr;
    int32_t points = 10;
    void SetFont(const cmcCellFont& font) override { device->Canvas().SetCellFont(font); }
    int32_t FontSize() const override { return points; }
    int32_t TextWidth(std::string_view text) const override { return device->Canvas().TextWidth(text); }
    int32_t TextHeight(std::string_view text) const override { return device->Canvas().TextHeight(text); }
};

// The painter's view of one page of a print copy: the columns and rows off the page are 0 wide, so
// the painter skips them, and a heading joined from a column of an earlier page shows its owner's
// text again. Nothing is current, selected or focused on paper.
class cuiPrinter::PageSource : public cmcCellPainter::Source {
public:
    PageSource(cuiSheet& sheet, indCellHandler* handler, const cuiPrintPage& page)
        : m_sheet(sheet), m_handler(handler), m_cols(static_cast<size_t>(sheet.ColCount()), false),
          m_rows(static_cast<size_t>(sheet.RowCount()), false) {
        for (int32_t c = 0; c < sheet.GridFixedCols(); ++c) {
            m_cols[static_cast<size_t>(c)] = true;
        }
        for (int32_t c = page.firstCol; c < page.firstCol + page.colCount && c < sheet.ColCount(); ++c) {
            m_cols[static_cast<size_t>(c)] = true;
        }
        for (int32_t r = 0; r < sheet.GridFixedRows(); ++r) {
            m_rows[static_cast<size_t>(r)] = true;
        }
        for (int32_t r = page.firstRow; r < page.firstRow + page.rowCount && r < sheet.RowCount(); ++r) {
            m_rows[static_cast<size_t>(r)] = true;
        }
    }
    bool OnPage(int32_t col, int32_t row) const {
        return m_cols[static_cast<size_t>(col)] && m_rows[static_cast<size_t>(row)];
    }

    bool Ready() const override { return true; }
    int ColCount() const override { return m_sheet.ColCount(); }
    int RowCount() const override { return m_sheet.RowCount(); }
    int ColWidth(int col) const override {
        return col >= 0 && col < ColCount() && m_cols[static_cast<size_t>(col)] ? m_sheet.ColWidth(col) : 0;
    }
    int RowHeight(int row) const override {
        return row >= 0 && row < RowCount() && m_rows[static_cast<size_t>(row)] ? m_sheet.RowHeight(row) : 0;
    }
    int FixedCols() const override { return m_sheet.GridFixedCols(); }
    const cmcCellObj& Cell(int col, int row) const override { return m_sheet.CellAt(col, row).cell; }
    uint8_t CellBits(int col, int row) const override { return m_sheet.CellAt(col, row).flags; }
    const cmcCellObj& BasicCell() const override { return m_sheet.BasicCell(); }
    bool IsCurrent(int, int) const override { return false; }
    int CurrentRow() const override { return -1; }
    bool GridFocused() const override { return false; }
    bool EditorVisible() const override { return false; }
    bool PopupMode() const override { return false; }
    bool SelectLineColoring() const override { return false; }
    bool Printing() const override { return true; }
    double Scale() const override { return m_sheet.Scale(); }
    bool CallHandler(cmcCellCapsule& capsule) override {
        if (!m_handler) {
            return false;
        }
        capsule.sheet = nullptr;
        m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        return true;
    }
    // Printed marks are drawn as shapes, not images.
    bool HasImages() const override { return true; }

private:
    cuiSheet& m_sheet;
    indCellHandler* m_handler;
    std::vector<bool> m_cols;
    std::vector<bool> m_rows;
};

cuiPrinter::cuiPrinter(Services services)
    : m_s(std::move(services)), m_measure(std::make_unique<DeviceMeasure>()) {
    SetFontSize(m_s.fontSize);
}

cuiPrinter::~cuiPrinter() = default;

void cuiPrinter::SetFontSize(int32_t points) {
    m_s.fontSize = std::clamp(points, 8, 12);
}

cuiPrinter::Margins cuiPrinter::ReadMargins() const {
    double mm[4] = {0, 0, 0, 0};
    const std::string first = m_s.texts->GetLine("GI_Sys_Printer_Margins", 0);
    if (first.find(',') != std::string::npos) {
        std::string_view rest = first;
        for (double& value : mm) {
            const size_t comma = rest.find(',');
            value = Millimetres(rest.substr(0, comma));
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
    } else {
        for (int i = 0; i < 4; ++i) {
            const std::string line = m_s.texts->GetLine("GI_Sys_Printer_Margins", i);
            if (!line.empty() && line[0] == '#') {
                break;
            }
            mm[i] = Millimetres(line);
        }
    }
    return {mm[0], mm[1], mm[2], mm[3]};
}

cmcCanvas::Rect cuiPrinter::MarginRect(int32_t pageWidth, int32_t pageHeight, int32_t dpi,
                                       const Margins& mm) {
    // Dots per millimetre, from the vertical resolution for both directions.
    const double perMm = dpi * 0.03937007874015748;
    return {static_cast<int32_t>(mm.left * perMm), static_cast<int32_t>(mm.top * perMm),
            static_cast<int32_t>(pageWidth - mm.right * perMm),
            static_cast<int32_t>(pageHeight - mm.bottom * perMm)};
}

cmcCanvas::Rect cuiPrinter::MarginRect(const cmcPrintDevice& device) const {
    return MarginRect(device.PageWidth(), device.PageHeight(), device.DotsPerInch(), ReadMargins());
}

cuiPrinter::Target cuiPrinter::MakeTarget(cmcPrintDevice& device, bool repeaterPrint) const {
    Target target;
    target.device = &device;
    target.margins = MarginRect(device);
    target.repeaterPrint = repeaterPrint;
    return target;
}

std::unique_ptr<cuiSheet> cuiPrinter::BuildCopy(Target& target, std::string_view sheetText,
                                                int32_t fontHeight) {
    const cuiSheetText parts = cuiSheetText::Split(sheetText);
    cmcGTex& tex = *m_s.texts;
    // The tree may name a sheet the overlay does not define yet: it has nothing to print.
    if (parts.overlayKey.empty() || !tex.HasKey(parts.overlayKey + "_Cells") ||
        !tex.HasKey(parts.overlayKey + "_Style") || !tex.HasKey(parts.overlayKey + "_BasicCell")) {
        return nullptr;
    }
    cuiSheetEnv env = m_s.sheetEnv ? m_s.sheetEnv() : cuiSheetEnv{};
    if (!env.texts) {
        env.texts = m_s.texts;
    }
    // The copy is nobody's view: it takes no row events and never drives the memory channel window.
    env.events = nullptr;
    env.mchWindowOpen = false;
    env.repeaterPrint = target.repeaterPrint;
    // Only the build measures; the copy keeps no use of the canvas afterwards.
    m_measure->device = target.device;
    m_measure->points = m_s.fontSize;
    env.canvas = m_measure.get();
    std::unique_ptr<cuiSheet> sheet = iuiSheetFactory::Create(env, sheetText);
    sheet->SetPrinter(target.device->DotsPerInch(), m_s.screenDpi);
    sheet->SetPrintFontHeight(fontHeight);
    sheet->Show();
    FitShownTexts(*sheet);
    return sheet;
}

void cuiPrinter::FitShownTexts(cuiSheet& sheet) {
    if (!m_s.handler) {
        return;
    }
    const cmcCellObj& basic = sheet.BasicCell();
    const double s = sheet.Scale();
    const ShownBank shown(m_s.handler, sheet);
    // Columns stay within what a screen column may be, in dots.
    const int32_t limit = static_cast<int32_t>(kColumnLimit * s);
    cmcCellCapsule capsule;
    for (int32_t c = 0; c < sheet.ColCount(); ++c) {
        const int32_t current = sheet.ColWidth(c);
        if (current <= 0) {
            continue; // hidden columns stay hidden
        }
        int32_t widest = 0;
        for (int32_t r = sheet.GridFixedRows(); r < sheet.RowCount(); ++r) {
            const cmcCellObj& cell = sheet.CellAt(c, r).cell;
            if (!cell.HasCell() || (cell.markFlags & cmcCellObj::kTail)) {
                continue;
            }
            // A joined neighbour lends its width: the text may run into it.
            if (c + 1 < sheet.ColCount() && (sheet.CellAt(c + 1, r).cell.layoutFlags & cmcCellObj::kJoined)) {
                continue;
            }
            capsule.ResetCapsule();
            capsule.cell = const_cast<cmcCellObj*>(&cell);
            capsule.stateBits = cmcCellCapsule::kStatePrinting;
            m_s.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
            m_measure->SetFont(cell.font ? *cell.font : basic.font.value_or(cmcCellFont{}));
            std::string_view text = capsule.displayText;
            while (true) {
                const size_t lf = text.find('\n');
                widest = std::max(widest, m_measure->TextWidth(text.substr(0, lf)));
                if (lf == std::string_view::npos) {
                    break;
                }
                text.remove_prefix(lf + 1);
            }
        }
        const int32_t fitted = std::min(static_cast<int32_t>(widest + 8 * s + 0.5), limit);
        if (fitted > current) {
            sheet.SetColWidth(c, fitted);
        }
    }
}

bool cuiPrinter::IsPrintable(Target& target, std::string_view sheetText) {
    const int32_t height = m_s.fontSize * target.device->DotsPerInch() / -72;
    const std::unique_ptr<cuiSheet> sheet = BuildCopy(target, sheetText, height);
    return sheet && sheet->IsPrintable();
}

cmcCanvas::Rect cuiPrinter::DrawFrame(Target& target, const std::string& title,
                                      const std::optional<cmcCellFont>& titleFont, bool draw) {
    cmcFontCanvas& canvas = target.device->Canvas();
    const int32_t points = std::max(1, std::atoi(m_s.texts->GetLine("GI_Sys_Printer_FrameFont", 0).c_str()));
    cmcCellFont font = titleFont.value_or(cmcCellFont{});
    font.styles = 0;
    font.color = cmcCellColors::clBlack;
    font.height = -std::max(1, points * target.device->DotsPerInch() / 72);
    canvas.SetCellFont(font);
    const int32_t a = canvas.TextHeight("Ag");
    const int32_t b = static_cast<int32_t>(a * 0.1 + 1);
    const cmcCanvas::Rect m = target.margins;
    const int32_t headerBar = m.top + a + b;
    const int32_t footerBar = m.bottom - a - 2 * b;
    if (draw) {
        canvas.SetBrush(cmcCellColors::clWhite, cmcCanvas::BrushStyle::Clear);
        canvas.SetFontColor(cmcCellColors::clBlack);
        canvas.TextOut(m.left, m.top, title);
        const std::string rev = m_s.texts->GetLine("GI_Sys_AppTitleRev", 0);
        canvas.TextOut(m.right - 1 - canvas.TextWidth(rev), m.top, rev);

        const std::string maker = m_s.texts->GetLine("GI_Sys_Maker", 0);
        const int32_t footerTop = m.bottom - a - 1;
        canvas.TextOut(m.right - 1 - canvas.TextWidth(maker), footerTop, maker);
        const std::string number = std::to_string(target.pageNumber + 1);
        std::string page = target.pageTotal > 0
                               ? Fill(m_s.texts->GetLine("GI_Sys_Printer_PageFooter", 0),
                                      {number, std::to_string(target.pageTotal)})
                               : Fill(m_s.texts->GetLine("GI_Sys_Printer_PageFooter", 1), {number});
        if (!m_s.date.empty()) {
            page += "   " + Fill(m_s.texts->GetLine("GI_Sys_Printer_PageFooter", 2), {m_s.date});
        }
        canvas.TextOut(m.left, footerTop, page);

        canvas.SetBrush(cmcCellColors::clBlack, cmcCanvas::BrushStyle::Solid);
        canvas.FillRect({m.left, headerBar, m.right, headerBar + b});
        canvas.FillRect({m.left, footerBar, m.right, footerBar + b});
    }
    return {m.left, headerBar + b + 5 * b, m.right, footerBar - 5 * b};
}

std::vector<int32_t> cuiPrinter::ColumnChunks(const cuiSheet& sheet, int32_t width) {
    const int32_t cols = sheet.ColCount();
    const int32_t fixed = sheet.GridFixedCols();
    const int32_t fixedRows = sheet.GridFixedRows();
    int32_t fixedWidth = 0;
    for (int32_t c = 0; c < fixed; ++c) {
        fixedWidth += sheet.ColWidth(c);
    }
    // A page may start at a column none of whose heading cells continues the column before it.
    auto breakable = [&](int32_t c) {
        for (int32_t r = 0; r < fixedRows; ++r) {
            if (sheet.CellAt(c, r).cell.layoutFlags & cmcCellObj::kJoined) {
                return false;
            }
        }
        return true;
    };
    std::vector<int32_t> chunks;
    for (int32_t start = fixed; start < cols;) {
        int32_t running = fixedWidth;
        int32_t lastBreak = start;
        int32_t end = cols;
        for (int32_t c = start; c < cols; ++c) {
            if (c > start && breakable(c)) {
                lastBreak = c;
            }
            running += sheet.ColWidth(c);
            if (running > width && lastBreak != start) {
                end = lastBreak;
                break;
            }
        }
        chunks.push_back(end - start);
        start = end;
    }
    return chunks;
}

std::vector<int32_t> cuiPrinter::RowChunks(const cuiSheet& sheet, int32_t height) {
    const int32_t rows = sheet.RowCount();
    const int32_t fixed = sheet.GridFixedRows();
    int32_t fixedHeight = 0;
    for (int32_t r = 0; r < fixed; ++r) {
        fixedHeight += sheet.RowHeight(r);
    }
    std::vector<int32_t> chunks;
    for (int32_t start = fixed; start < rows;) {
        int32_t running = fixedHeight + sheet.RowHeight(start);
        int32_t end = start + 1;
        while (end < rows && running + sheet.RowHeight(end) <= height) {
            running += sheet.RowHeight(end);
            ++end;
        }
        chunks.push_back(end - start);
        start = end;
    }
    return chunks;
}

namespace {

// The cells of a page laid out from the body's top left.
cmcCanvas::Rect Extent(const cuiSheet& sheet, const cmcCanvas::Rect& body, const cuiPrintPage& page) {
    cmcCanvas::Rect extent{body.left, body.top, body.left, body.top};
    for (int32_t c = 0; c < sheet.GridFixedCols(); ++c) {
        extent.right += sheet.ColWidth(c);
    }
    for (int32_t c = page.firstCol; c < page.firstCol + page.colCount; ++c) {
        extent.right += sheet.ColWidth(c);
    }
    for (int32_t r = 0; r < sheet.GridFixedRows(); ++r) {
        extent.bottom += sheet.RowHeight(r);
    }
    for (int32_t r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
        extent.bottom += sheet.RowHeight(r);
    }
    return extent;
}

} // namespace

int32_t cuiPrinter::PrintSheet(Target& target, std::string_view sheetText, Mode mode,
                               std::vector<cuiPrintPage>* pages, Copy* keep) {
    Copy local;
    Copy& copy = keep ? *keep : local;
    if (!copy.sheet) {
        copy.fontHeight = m_s.fontSize * target.device->DotsPerInch() / -72;
        copy.shrinks = 0;
        copy.sheet = BuildCopy(target, sheetText, copy.fontHeight);
    }
    std::unique_ptr<cuiSheet>& sheet = copy.sheet;
    int32_t& height = copy.fontHeight;
    int& shrinks = copy.shrinks;
    if (!sheet || !sheet->IsPrintable()) {
        return 0;
    }
    const std::string title = sheet->Title();
    const std::optional<cmcCellFont> titleFont = sheet->TitleFont();
    const cmcCanvas::Rect body = DrawFrame(target, title, titleFont, false);
    const std::vector<int32_t> colChunks = ColumnChunks(*sheet, body.Width());
    const std::vector<int32_t> rowChunks = RowChunks(*sheet, body.Height());

    int32_t count = 0;
    int32_t firstRow = sheet->GridFixedRows();
    for (const int32_t rowCount : rowChunks) {
        int32_t firstCol = sheet->GridFixedCols();
        for (const int32_t colCount : colChunks) {
            cuiPrintPage page;
            page.sheetText = std::string(sheetText);
            page.margins = target.margins;
            page.firstCol = firstCol;
            page.firstRow = firstRow;
            page.colCount = colCount;
            page.rowCount = rowCount;
            while (true) {
                if (!sheet->CanPrint() || target.cancel || target.failed) {
                    return count;
                }
                page.extent = Extent(*sheet, body, page);
                const bool fits = page.extent.right <= body.right && page.extent.bottom <= body.bottom;
                if (fits || shrinks == kMaxShrinks || body.Width() < 1 || body.Height() < 1) {
                    break;
                }
                const double f = std::min(double(body.Height()) / std::max(1, page.extent.Height()),
                                          double(body.Width()) / std::max(1, page.extent.Width()));
                // From now on a positive height (a cell height), never 0: 0 would mean the screen font.
                const int32_t smaller = std::max(1, static_cast<int32_t>(std::abs(height) * f));
                ++shrinks;
                if (smaller == height) {
                    continue;
                }
                height = smaller;
                sheet = BuildCopy(target, sheetText, height);
                if (!sheet) {
                    return count;
                }
            }
            page.fontHeight = height;
            if (mode == Mode::Print) {
                if (target.pageStarted && !target.device->NewPage()) {
                    target.failed = true;
                    return count;
                }
                DrawFrame(target, title, titleFont, true);
                PaintPage(target, *sheet, body, page);
                target.pageStarted = true;
                ++target.pageNumber;
            }
            if (mode == Mode::Record && pages) {
                pages->push_back(page);
            }
            ++count;
            firstCol += colCount;
        }
        firstRow += rowCount;
    }
    return count;
}

void cuiPrinter::PaintPage(Target& target, cuiSheet& sheet, const cmcCanvas::Rect& body,
                           const cuiPrintPage& page) {
    const ShownBank shown(m_s.handler, sheet);
    PageSource source(sheet, m_s.handler, page);
    cmcCellPainter painter;
    cmcFontCanvas& canvas = target.device->Canvas();
    std::vector<int32_t> cols;
    for (int32_t c = 0; c < sheet.ColCount(); ++c) {
        if (source.ColWidth(c) > 0) {
            cols.push_back(c);
        }
    }
    int32_t y = body.top;
    for (int32_t r = 0; r < sheet.RowCount(); ++r) {
        const int32_t h = source.RowHeight(r);
        if (h < 1) {
            continue;
        }
        int32_t x = body.left;
        for (const int32_t c : cols) {
            const int32_t w = sheet.ColWidth(c);
            painter.Paint(source, canvas, c, r, {x, y, x + w, y + h});
            x += w;
        }
        y += h;
    }
}

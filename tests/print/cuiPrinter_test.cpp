// The sheet printer on a recording device: margins, pagination across and down with the fixed rows
// and columns on every page, joined headings kept whole, the font shrink, no-print sheets, the page
// frame and the list job's steps, cancel and failures.
#include "print/cuiPrintJob.h"
#include "print/cuiPrinter.h"

#include "RecordingDevice.h"
#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "model/indLayout.h"
#include "sheets/cmcMeasureOnlyCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// Paper of 1000 x 1000 dots at 96 dots per inch: one dot per screen pixel, 10 mm margins are 37
// dots. The body between header and footer is 925 x 869 dots; cell text is 9 dots a character.
constexpr int32_t kPage = 1000;
constexpr int32_t kDpi = 96;

struct Sheet {
    std::string key;
    std::string style;
    std::vector<std::string> cells;
};

struct Fixture {
    cmcGTex tex;
    cmcEeprom work;
    int builds = 0; // print copies built (each asks for the sheet environment once)

    explicit Fixture(const std::vector<Sheet>& sheets,
                     const std::vector<std::string>& margins = {"10,10,10,10"}) {
        std::vector<std::string> lines = {"#GI_Sys_Printer_Margins"};
        lines.insert(lines.end(), margins.begin(), margins.end());
        lines.insert(lines.end(),
                     {"#", "#GI_Sys_Printer_FrameFont", "9", "#", "#GI_Sys_AppTitleRev", "App 1.0", "#",
                      "#GI_Sys_Maker", "Maker Inc", "#", "#GI_Sys_Printer_PageFooter", "Page %d / %d",
                      "Page %d", "Printed %s", "#"});
        for (const Sheet& s : sheets) {
            for (const std::string& line :
                 {"#" + s.key + "_Style", s.style, std::string("#"), "#" + s.key + "_BasicCell",
                  std::string(""), std::string("#"), "#" + s.key + "_Cells"}) {
                lines.push_back(line);
            }
            lines.insert(lines.end(), s.cells.begin(), s.cells.end());
            lines.push_back("#");
        }
        lines.push_back("#End_Of_Ovl");
        tex.AttachLines(lines);
        work.SetSize(indLayout::kWorkSize);
    }

    cuiPrinter::Services Services() {
        cuiPrinter::Services s;
        s.texts = &tex;
        s.sheetEnv = [this] {
            ++builds;
            cuiSheetEnv env;
            env.texts = &tex;
            env.work = &work;
            return env;
        };
        s.screenDpi = kDpi;
        s.fontSize = 10;
        s.date = "2026-01-02";
        return s;
    }
};

TEST(cuiPrinter, MarginRectangleFromMillimetres) {
    struct Case {
        int32_t width, height, dpi;
        cuiPrinter::Margins mm;
        cmcCanvas::Rect expected;
    } cases[] = {
        // 10 mm at 600 dots per inch is 236.2 dots: the rectangle starts 236 dots in.
        {4960, 7016, 600, {10, 10, 10, 10}, {236, 236, 4723, 6779}},
        {2480, 3508, 300, {15, 20, 5, 0}, {177, 236, 2420, 3508}},
        {1000, 1000, 96, {0, 0, 0, 0}, {0, 0, 1000, 1000}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cuiPrinter::MarginRect(c.width, c.height, c.dpi, c.mm), c.expected) << c.dpi;
    }
}

TEST(cuiPrinter, MarginsReadFromOneLineOrOneValueALine) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<double> expected;
    } cases[] = {
        {{"10,12.5,8,4"}, {10, 12.5, 8, 4}},
        {{"15", "16", "17", "18"}, {15, 16, 17, 18}},
        // A margin that is no number or is negative counts as none; missing ones too.
        {{"x,-3,8"}, {0, 0, 8, 0}},
        {{"15", "16"}, {15, 16, 0, 0}},
    };
    for (const Case& c : cases) {
        Fixture f({}, c.lines);
        cuiPrinter printer(f.Services());
        const cuiPrinter::Margins m = printer.ReadMargins();
        EXPECT_EQ((std::vector<double>{m.left, m.top, m.right, m.bottom}), c.expected) << c.lines[0];
    }
}

TEST(cuiPrinter, WideSheetSplitsColumnsRepeatingFixedColumnsAndKeepingJoinedHeadingsWhole) {
    // Heading cells two columns wide ("+" continues the cell to its left) over 24 data columns: a
    // narrow one (17 dots) and a wide one (107 dots) under each heading, so that the page fills up
    // in the middle of a heading (after 13 columns). The fixed first column holds the row names.
    std::string heading = "{W}Name";
    for (int i = 0; i < 12; ++i) {
        heading += "|{W}P" + std::to_string(i) + "|{+}";
    }
    auto data = [](int c) {
        return c % 2 ? std::string(1, char('a' + c)) : "wide" + std::string(7, char('a' + c));
    };
    std::vector<std::string> cells = {heading};
    for (int r = 0; r < 3; ++r) {
        std::string row = "{W}row" + std::to_string(r);
        for (int c = 1; c <= 24; ++c) {
            row += "|{W}" + data(c);
        }
        cells.push_back(row);
    }
    Fixture f({{"GI_Sheet_Wide", "(FixedCols=1)(FixedRows=1)", cells}});
    cuiPrinter printer(f.Services());
    RecordingDevice device(kPage, kPage, kDpi);
    cuiPrintJob job(printer, device, {{"GI_Sheet_Wide"}, false});
    ASSERT_EQ(job.Run(), cuiPrintJob::State::Finished);

    const auto& pages = job.Pages();
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(device.pages, static_cast<int>(pages.size()));
    int32_t next = 1;
    for (size_t p = 0; p < pages.size(); ++p) {
        // Chunks follow each other, and each starts at a heading's first column (odd columns).
        EXPECT_EQ(pages[p].firstCol, next);
        EXPECT_EQ(pages[p].firstCol % 2, 1) << "page " << p;
        EXPECT_LE(pages[p].extent.right, 962) << "page " << p;
        next += pages[p].colCount;
        const auto texts = device.canvas.OnPage(static_cast<int>(p));
        for (const char* fixed : {"Name", "row0", "row1", "row2"}) {
            EXPECT_EQ(std::count(texts.begin(), texts.end(), fixed), 1) << fixed << " on page " << p;
        }
    }
    EXPECT_EQ(next, 25);
    // Every data cell is printed exactly once over all pages.
    std::map<std::string, int> seen;
    for (const auto& t : device.canvas.texts) {
        ++seen[t.text];
    }
    for (int c = 1; c <= 24; ++c) {
        EXPECT_EQ(seen[data(c)], 3) << c;
    }
}

TEST(cuiPrinter, TallSheetSplitsRowsRepeatingFixedRows) {
    std::vector<std::string> cells = {"{WH}Heading"};
    for (int r = 0; r < 150; ++r) {
        cells.push_back("{WH}line" + std::to_string(r));
    }
    Fixture f({{"GI_Sheet_Tall", "(FixedRows=1)", cells}});
    cuiPrinter printer(f.Services());
    RecordingDevice device(kPage, kPage, kDpi);
    cuiPrintJob job(printer, device, {{"GI_Sheet_Tall"}, false});
    ASSERT_EQ(job.Run(), cuiPrintJob::State::Finished);
    const auto& pages = job.Pages();
    ASSERT_GE(pages.size(), 3u);
    int32_t rows = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].firstRow, 1 + rows);
        EXPECT_LE(pages[p].extent.bottom, 934) << "page " << p;
        rows += pages[p].rowCount;
        const auto texts = device.canvas.OnPage(static_cast<int>(p));
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Heading"), 1) << "page " << p;
    }
    EXPECT_EQ(rows, 150);
}

TEST(cuiPrinter, PageTooLargeShrinksTheFontAtMostThreeTimes) {
    // One heading joined over all columns cannot be split. 110 % of the body fits after one shrink;
    // 120 columns of at least 8 dots padding never fit, whatever the font.
    auto joined = [](int columns, const std::string& cell) {
        std::string heading = "{W}H";
        std::string row = "{W}" + cell;
        for (int i = 1; i < columns; ++i) {
            heading += "|{+}";
            row += "|{W}" + cell;
        }
        return std::vector<std::string>{heading, row};
    };
    struct Case {
        const char* name;
        std::vector<std::string> cells;
        int builds;      // print copies built for the count
        bool fitsAtLast; // the page lies within the body in the end
    } cases[] = {
        {"fits", joined(9, "abcdefghi"), 1, true},            // 9 x 89 dots: 87 % of the body
        {"slightly wide", joined(10, "abcdefghij"), 2, true}, // 10 x 98 dots: 106 %
        {"never fits", joined(120, "a"), 4, false},
    };
    for (const Case& c : cases) {
        Fixture f({{"GI_Sheet_J", "(FixedRows=1)", c.cells}});
        cuiPrinter printer(f.Services());
        RecordingDevice device(kPage, kPage, kDpi);
        cuiPrinter::Target target = printer.MakeTarget(device);
        std::vector<cuiPrintPage> pages;
        EXPECT_EQ(printer.PrintSheet(target, "GI_Sheet_J", cuiPrinter::Mode::Record, &pages), 1) << c.name;
        EXPECT_EQ(f.builds, c.builds) << c.name;
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].extent.right <= 962, c.fitsAtLast) << c.name;
        if (c.builds == 1) {
            EXPECT_EQ(pages[0].fontHeight, -13) << c.name; // 10 points at 96 dots per inch
        } else {
            EXPECT_GT(pages[0].fontHeight, 0) << c.name;
            EXPECT_LT(pages[0].fontHeight, 13) << c.name;
        }
    }
}

TEST(cuiPrinter, NoPrintSheetIsNeitherCountedNorPrinted) {
    Fixture f({{"GI_Sheet_Hidden", "(NoPrint)", {"{W}secret"}}, {"GI_Sheet_Shown", "", {"{W}visible"}}});
    cuiPrinter printer(f.Services());
    {
        RecordingDevice device(kPage, kPage, kDpi);
        cuiPrintJob job(printer, device, {{"GI_Sheet_Hidden", "GI_Sheet_Missing"}, false});
        // Nothing prints: the document is never begun.
        EXPECT_EQ(job.Run(), cuiPrintJob::State::Empty);
        EXPECT_EQ(device.begun, 0);
    }
    RecordingDevice device(kPage, kPage, kDpi);
    cuiPrintJob job(printer, device, {{"GI_Sheet_Hidden", "GI_Sheet_Shown", "GI_Sheet_Hidden"}, false});
    EXPECT_EQ(job.Run(), cuiPrintJob::State::Finished);
    EXPECT_EQ(job.Pages().size(), 1u);
    EXPECT_EQ(device.pages, 1);
    for (const auto& t : device.canvas.texts) {
        EXPECT_NE(t.text, "secret");
    }
}

TEST(cuiPrinter, PageFrameHeaderFooterAndBars) {
    Fixture f({{"GI_Sheet_F", "(TitleString=Radio settings)", {"{W}x"}}, {"GI_Sheet_G", "", {"{W}y"}}});
    cuiPrinter printer(f.Services());
    RecordingDevice device(kPage, kPage, kDpi);
    cuiPrintJob job(printer, device, {{"GI_Sheet_F", "GI_Sheet_G"}, false});
    ASSERT_EQ(job.Run(), cuiPrintJob::State::Finished);
    // Frame font 9 points at 96 dots per inch: 12 dots, 14 dots a line, 9 dots a character; bars
    // 2 dots thick.
    const auto& t = device.canvas.texts;
    auto find = [&](int page, const std::string& text) {
        for (const auto& x : t) {
            if (x.page == page && x.text == text) {
                return std::pair{x.x, x.y};
            }
        }
        return std::pair{-1, -1};
    };
    EXPECT_EQ(find(0, "Radio settings"), std::pair(37, 37));
    EXPECT_EQ(find(0, "App 1.0"), std::pair(962 - 1 - 7 * 9, 37));
    EXPECT_EQ(find(0, "Maker Inc"), std::pair(962 - 1 - 9 * 9, 962 - 14 - 1));
    EXPECT_EQ(find(0, "Page 1 / 2   Printed 2026-01-02"), std::pair(37, 962 - 14 - 1));
    EXPECT_EQ(find(1, "Page 2 / 2   Printed 2026-01-02"), std::pair(37, 962 - 14 - 1));
    std::vector<cmcCanvas::Rect> bars;
    for (const auto& [page, rect] : device.canvas.fills) {
        if (page == 0 && rect.left == 37 && rect.right == 962) {
            bars.push_back(rect);
        }
    }
    EXPECT_EQ(bars, (std::vector<cmcCanvas::Rect>{{37, 53, 962, 55}, {37, 944, 962, 946}}));
    // The body starts five bar widths below the header bar.
    EXPECT_EQ(job.Pages()[0].extent.top, 65);
}

TEST(cuiPrintJob, OneSheetPerStepCancelAndDeviceFailure) {
    std::vector<std::string> tall = {"{WH}Heading"};
    for (int r = 0; r < 150; ++r) {
        tall.push_back("{WH}line" + std::to_string(r));
    }
    Fixture f(
        {{"GI_Sheet_A", "", {"{W}a"}}, {"GI_Sheet_B", "", {"{W}b"}}, {"GI_Sheet_T", "(FixedRows=1)", tall}});
    cuiPrinter printer(f.Services());
    {
        RecordingDevice device(kPage, kPage, kDpi);
        cuiPrintJob job(printer, device, {{"GI_Sheet_A", "GI_Sheet_B"}, false});
        ASSERT_EQ(job.Begin(), cuiPrintJob::State::Printing);
        EXPECT_EQ(device.begun, 0); // counting draws nothing
        EXPECT_EQ(job.Step(), cuiPrintJob::State::Printing);
        EXPECT_EQ(device.pages, 1);
        EXPECT_EQ(job.Step(), cuiPrintJob::State::Finished);
        EXPECT_EQ(device.pages, 2);
        EXPECT_EQ(device.ended, 1);
    }
    {
        // Cancel between sheets: the rest prints nothing, the document is still ended.
        RecordingDevice device(kPage, kPage, kDpi);
        cuiPrintJob job(printer, device, {{"GI_Sheet_A", "GI_Sheet_B", "GI_Sheet_T"}, false});
        job.Begin();
        job.Step();
        job.Cancel();
        EXPECT_EQ(job.Step(), cuiPrintJob::State::Cancelled);
        EXPECT_EQ(job.PagesPrinted(), 1);
        EXPECT_EQ(device.ended, 1);
    }
    {
        // A device that refuses a new page fails the job; it is not reported as printed.
        RecordingDevice device(kPage, kPage, kDpi);
        device.failNewPage = true;
        cuiPrintJob job(printer, device, {{"GI_Sheet_T"}, false});
        EXPECT_EQ(job.Run(), cuiPrintJob::State::Failed);
        EXPECT_EQ(job.PagesPrinted(), 1);
        EXPECT_EQ(device.ended, 1);
    }
}

} // namespace

namespace {

TEST(cuiPrinter, PrintCopiesScaleByPrinterResolution) {
    // A cell without W keeps the default width: one printer unit per screen pixel, or one pixel on
    // a preview bitmap; fitted cells add 8 screen pixels of padding in printer units.
    Fixture f({{"GI_Sheet_U", "", {"x|{W}ab"}}});
    struct Case {
        const char* name;
        void (*setup)(cuiSheet&);
        double scale;
        int32_t plainWidth;
        int32_t fittedPadding;
    } cases[] = {
        {"printer", [](cuiSheet& s) { s.SetPrinter(600, 96); }, 6.0, 6, 48},
        {"preview", [](cuiSheet& s) { s.SetPreviewTarget(600, 96); }, 1.0, 6, 8},
        {"preview bitmap",
         [](cuiSheet& s) {
             s.SetPreviewTarget(600, 96);
             s.SetBitmapMode(true);
         },
         1.0, 1, 8},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        struct Measure : cmcMeasureOnlyCanvas {
            RecordingCanvas* canvas;
            void SetFont(const cmcCellFont& font) override { canvas->SetCellFont(font); }
            int32_t FontSize() const override { return 10; }
            int32_t TextWidth(std::string_view t) const override { return canvas->TextWidth(t); }
            int32_t TextHeight(std::string_view t) const override { return canvas->TextHeight(t); }
        } measure;
        measure.canvas = &canvas;
        cuiSheetEnv env;
        env.texts = &f.tex;
        env.canvas = &measure;
        cuiSheet sheet(env, "GI_Sheet_U");
        c.setup(sheet);
        sheet.SetPrintFontHeight(-20);
        sheet.Show();
        EXPECT_EQ(sheet.Scale(), c.scale) << c.name;
        EXPECT_EQ(sheet.ColWidth(0), c.plainWidth) << c.name;
        canvas.SetCellFont(*sheet.BasicCell().font);
        EXPECT_EQ(sheet.ColWidth(1), canvas.TextWidth("ab") + c.fittedPadding) << c.name;
    }
}

} // namespace

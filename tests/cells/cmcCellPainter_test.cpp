// Cell painting: alignment and offsets, joined cells, highlight colours by focus and editor, printing
// colours, clipping and marks, against a canvas that records what is drawn.
#include "cells/cmcCellColors.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellPainter.h"
#include "cells/cmcFontCanvas.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// Every character is 8 pixels wide, every line 12 high.
struct RecordingCanvas : cmcFontCanvas {
    struct Text {
        int x, y;
        std::string text;
        bool clipped;
        uint32_t color;
    };
    struct Fill {
        cmcCanvas::Rect rect;
        uint32_t color;
    };
    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<std::vector<Point>> polygons;
    uint32_t fontColor = cmcCellColors::clWindowText, brush = cmcCellColors::clWindow;
    BrushStyle style = BrushStyle::Solid;
    Point pen;

    uint32_t FontColor() const override { return fontColor; }
    void SetFontColor(uint32_t c) override { fontColor = c; }
    void SetBrushColor(uint32_t c) override { brush = c; }
    void SetPen(uint32_t, int32_t) override {}
    void SetBrush(uint32_t c, BrushStyle s) override {
        brush = c;
        style = s;
    }
    uint32_t BrushColor() const override { return brush; }
    BrushStyle GetBrushStyle() const override { return style; }
    void TextOut(int32_t x, int32_t y, std::string_view t) override {
        texts.push_back({x, y, std::string(t), false, fontColor});
        pen = {x + TextWidth(t), y};
    }
    void TextRect(const Rect&, int32_t x, int32_t y, std::string_view t) override {
        texts.push_back({x, y, std::string(t), true, fontColor});
    }
    void MoveTo(int32_t x, int32_t y) override { pen = {x, y}; }
    void LineTo(int32_t x, int32_t y) override { pen = {x, y}; }
    Point PenPos() const override { return pen; }
    void FillRect(const Rect& r) override { fills.push_back({r, brush}); }
    void Rectangle(const Rect&) override {}
    void Polygon(std::span<const Point> p) override { polygons.emplace_back(p.begin(), p.end()); }
    int32_t TextWidth(std::string_view t) const override { return static_cast<int32_t>(t.size()) * 8; }
    int32_t TextHeight(std::string_view) const override { return 12; }
    void SetCellFont(const cmcCellFont& f) override { fontColor = f.color; }
    uint32_t ResolveColor(uint32_t c) const override {
        return c == cmcCellColors::clWindow ? 0xFFFFFF : c == cmcCellColors::clWindowText ? 0x000000 : c;
    }
};

// A one-row sheet of plain cells without a handler.
struct Sheet : cmcCellPainter::Source {
    std::vector<cmcCellObj> cells;
    std::vector<int> widths;
    std::vector<uint8_t> bits;
    cmcCellObj basic;
    int currentCol = -1;
    bool focused = true, editor = false, printing = false, images = true;
    uint8_t marks = 0;
    std::string handlerText;

    bool Ready() const override { return true; }
    int ColCount() const override { return static_cast<int>(cells.size()); }
    int RowCount() const override { return 1; }
    int ColWidth(int c) const override { return widths[static_cast<size_t>(c)]; }
    int RowHeight(int) const override { return 20; }
    int FixedCols() const override { return 0; }
    const cmcCellObj& Cell(int c, int) const override { return cells[static_cast<size_t>(c)]; }
    uint8_t CellBits(int c, int) const override { return bits[static_cast<size_t>(c)]; }
    const cmcCellObj& BasicCell() const override { return basic; }
    bool IsCurrent(int c, int r) const override { return c == currentCol && r == 0; }
    int CurrentRow() const override { return 0; }
    bool GridFocused() const override { return focused; }
    bool EditorVisible() const override { return editor; }
    bool PopupMode() const override { return false; }
    bool SelectLineColoring() const override { return false; }
    bool Printing() const override { return printing; }
    double Scale() const override { return 1.0; }
    bool CallHandler(cmcCellCapsule& capsule) override {
        capsule.displayText = handlerText;
        capsule.stateBits |= marks;
        return true;
    }
    bool HasImages() const override { return images; }
    void DrawImage(cmcCanvas& canvas, int x, int y, int index) override {
        drawnImages.push_back({x, y, index});
    }
    std::vector<std::array<int, 3>> drawnImages;

    void Add(const std::string& text, int width, uint8_t layout = 0,
             uint32_t color = cmcCellColors::clWindow) {
        cmcCellObj c;
        c.displayText = text;
        c.layoutFlags = layout;
        c.color = color;
        cells.push_back(c);
        widths.push_back(width);
        bits.push_back(cmcCellPainter::kMultiSelect);
    }
};

constexpr uint8_t kRight = 2, kCentre = 1, kMiddle = 1 << 2;

TEST(cmcCellPainter, HorizontalAndVerticalAlignment) {
    struct Case {
        uint8_t layout;
        std::string text;
        int x, y;
    } cases[] = {
        {0, "ab", 4, 1},                       // left: L + 4s, top: Tp + s
        {kRight, "abcde", 60 + 1 - 40 - 4, 1}, // right: R + 1 - w - 4s
        {kCentre, "ab", (61 - 16) / 2, 1},     // centre: L + (R + 1 - L - w) / 2
        {kMiddle, "ab", 4, (21 - 12) / 2},     // middle: Tp + (Bt + 1 - Tp - h) / 2
        {2 << 2, "ab", 4, 20 - 12 - 1},        // bottom: Bt - h - s
        {kMiddle, "ab\n", 4, (21 - 12) / 2},   // a closing line feed adds no empty line (bit fields)
    };
    for (const Case& c : cases) {
        Sheet sheet;
        sheet.Add(c.text, 60, c.layout);
        RecordingCanvas canvas;
        cmcCellPainter painter;
        painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 20});
        ASSERT_EQ(canvas.texts.size(), 1u) << c.text;
        EXPECT_EQ(canvas.texts[0].x, c.x) << int(c.layout);
        EXPECT_EQ(canvas.texts[0].y, c.y) << int(c.layout);
        EXPECT_FALSE(canvas.texts[0].clipped);
    }
}

TEST(cmcCellPainter, TwoLinesAreCentredAsABlockAndWideTextIsClipped) {
    Sheet sheet;
    sheet.Add("ab\nabcd", 60, kMiddle | kCentre);
    sheet.Add("much too long for it", 60);
    RecordingCanvas canvas;
    cmcCellPainter painter;
    painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 30});
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].y, (31 - 24) / 2);
    EXPECT_EQ(canvas.texts[1].y, (31 - 24) / 2 + 12);
    EXPECT_EQ(canvas.texts[0].x, (61 - 16) / 2);
    EXPECT_EQ(canvas.texts[1].x, (61 - 32) / 2);
    canvas.texts.clear();
    painter.Paint(sheet, canvas, 1, 0, {60, 0, 120, 20});
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_TRUE(canvas.texts[0].clipped);
    EXPECT_EQ(canvas.PenPos().x, 120);
}

TEST(cmcCellPainter, JoinedCellsShareTheOwnersTextAndRules) {
    Sheet sheet;
    sheet.Add("owner t", 40, 0);
    sheet.Add("", 40, cmcCellObj::kJoined);
    sheet.cells[0].markFlags = 1; // right rule X, suppressed by the joined neighbour
    RecordingCanvas canvas;
    cmcCellPainter painter;
    painter.Paint(sheet, canvas, 0, 0, {0, 0, 40, 20});
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_FALSE(canvas.texts[0].clipped); // 56 pixels fit the joined 80
    canvas.texts.clear();
    painter.Paint(sheet, canvas, 1, 0, {40, 0, 80, 20});
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "owner t");
    EXPECT_EQ(canvas.texts[0].x, 4); // placed from the owner's left edge
}

TEST(cmcCellPainter, HighlightFollowsFocusEditorAndSelection) {
    auto background = [](Sheet& sheet) {
        RecordingCanvas canvas;
        cmcCellPainter painter;
        painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 20});
        return canvas.fills.at(0).color;
    };
    Sheet sheet;
    sheet.Add("x", 60, 0, 0x00FFFF);
    EXPECT_EQ(background(sheet), 0x00FFFFu);
    sheet.currentCol = 0;
    EXPECT_EQ(background(sheet), 0x8000000Du); // clHighlight while focused
    sheet.focused = false;
    EXPECT_EQ(background(sheet), cmcCellPainter::InactiveHighlight(0xFFFFFF, 0x000000));
    EXPECT_EQ(cmcCellPainter::InactiveHighlight(0xFFFFFF, 0x000000), 0xBFBFBFu);
    EXPECT_EQ(cmcCellPainter::LineBlend(0xFFFFFF, 0x000000), 0xDFDFDFu);
    sheet.editor = true;
    EXPECT_EQ(background(sheet), 0x00FFFFu);
    sheet.editor = false;
    sheet.currentCol = -1;
    sheet.bits[0] |= cmcCellPainter::kSelected;
    sheet.focused = true;
    EXPECT_EQ(background(sheet), 0x8000000Du);
    sheet.bits[0] = cmcCellPainter::kSelected; // not multi-select: not highlighted
    EXPECT_EQ(background(sheet), 0x00FFFFu);
}

TEST(cmcCellPainter, PrintingUsesDarkGreyForColouredCellsAndPolygonMarks) {
    Sheet sheet;
    sheet.printing = true;
    sheet.Add("red", 60, 0, cmcCellColors::clRed);
    sheet.Add("white", 60, 0, cmcCellColors::clWindow);
    sheet.cells[0].cell = 5;
    sheet.handlerText = "from handler";
    sheet.marks = cmcCellCapsule::kStateError;
    RecordingCanvas canvas;
    cmcCellPainter painter;
    painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 20});
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].color, 0x606060u);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "from handler");
    EXPECT_EQ(canvas.texts[0].color, cmcCellColors::clWhite);
    ASSERT_EQ(canvas.polygons.size(), 1u);
    EXPECT_EQ(canvas.polygons[0].size(), 12u); // the cross
    canvas = RecordingCanvas();
    painter.Paint(sheet, canvas, 1, 0, {60, 0, 120, 20});
    EXPECT_TRUE(canvas.fills.empty());
    EXPECT_EQ(canvas.texts.at(0).color, cmcCellColors::clBlack);
}

TEST(cmcCellPainter, ScreenMarksComeFromTheImageList) {
    Sheet sheet;
    sheet.Add("v", 60, kRight);
    sheet.cells[0].cell = 5;
    sheet.handlerText = "123";
    sheet.marks = cmcCellCapsule::kStateWarning;
    RecordingCanvas canvas;
    cmcCellPainter painter;
    painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 20});
    ASSERT_EQ(sheet.drawnImages.size(), 1u);
    EXPECT_EQ(sheet.drawnImages[0][2], cmcCellPainter::kImageWarning);
    EXPECT_EQ(sheet.drawnImages[0][0], 0 + 16 / 8); // right-aligned text: mark on the left
    EXPECT_EQ(sheet.drawnImages[0][1], 20 - 16 - 1);
    sheet.images = false;
    painter.Paint(sheet, canvas, 0, 0, {0, 0, 60, 20});
    EXPECT_EQ(sheet.drawnImages.size(), 1u);
}

} // namespace

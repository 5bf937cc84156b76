// The grid control: sizes and fixed counts, geometry under scrolling, the select rule, keys and
// clicks handed to the sheet's handlers.
#include "gui/cuiGrid.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct GridFixture : testing::Test {
    cuiGrid grid;
    void SetUp() override {
        grid.resize(300, 200);
        grid.SetDefaultSizes(50, 20);
        grid.SetCounts(20, 40);
        grid.SetFixed(1, 1);
        grid.show();
    }
};

TEST_F(GridFixture, CountsFixedAndSizes) {
    EXPECT_EQ(grid.ColCount(), 20);
    EXPECT_EQ(grid.RowCount(), 40);
    EXPECT_EQ(grid.ColWidth(3), 50);
    grid.SetColWidth(3, 0);
    grid.SetRowHeight(2, 35);
    EXPECT_EQ(grid.ColWidth(3), 0);
    EXPECT_EQ(grid.RowHeight(2), 35);
    EXPECT_EQ(grid.GridWidth(), 19 * 50);
    EXPECT_EQ(grid.GridHeight(), 39 * 20 + 35);
    // Fixed counts stay below the counts; new rows take the default height.
    grid.SetFixed(30, 50);
    EXPECT_EQ(grid.FixedCols(), 19);
    EXPECT_EQ(grid.FixedRows(), 39);
    grid.SetFixed(1, 1);
    grid.SetCounts(20, 45);
    EXPECT_EQ(grid.RowHeight(44), 20);
    grid.SetCounts(2, 2);
    EXPECT_LT(grid.Col(), 2);
    EXPECT_LT(grid.Row(), 2);
}

TEST_F(GridFixture, CellGeometryFollowsScrollingAndFixedCells) {
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.CellRect(0, 0), (cmcCanvas::Rect{0, 0, 50, 20}));
    EXPECT_EQ(grid.CellRect(2, 3), (cmcCanvas::Rect{100, 60, 150, 80}));
    grid.SetLeftCol(4);
    grid.SetTopRow(10);
    EXPECT_EQ(grid.CellRect(0, 0), (cmcCanvas::Rect{0, 0, 50, 20}));
    EXPECT_EQ(grid.CellRect(4, 10), (cmcCanvas::Rect{50, 20, 100, 40}));
    EXPECT_EQ(grid.CellRect(2, 3), cmcCanvas::Rect{}); // scrolled out of view
    int col, row;
    ASSERT_TRUE(grid.CellAtPoint(60, 45, col, row));
    EXPECT_EQ(col, 4);
    EXPECT_EQ(row, 11);
    ASSERT_TRUE(grid.CellAtPoint(10, 10, col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(grid.CellAtPoint(-1, 5, col, row));
    EXPECT_EQ(col, -1);
    // Scrolling stops where the last column and row are fully in view.
    grid.SetLeftCol(100);
    grid.SetTopRow(100);
    EXPECT_EQ(grid.CellRect(19, 39).right <= grid.ClientWidth(), true);
    EXPECT_EQ(grid.CellRect(19, 39).bottom <= grid.ClientHeight(), true);
    EXPECT_GT(grid.LeftCol(), 10);
}

TEST_F(GridFixture, CurrentCellAsksTheSelectHandlerAndScrollsIntoView) {
    std::vector<std::pair<int, int>> asked;
    grid.onSelectCell = [&](int c, int r, bool& allow) {
        asked.emplace_back(c, r);
        allow = c != 5;
    };
    int topLeftChanges = 0;
    grid.onTopLeftChanged = [&] { ++topLeftChanges; };
    grid.SetCol(5);
    EXPECT_EQ(grid.Col(), 1); // refused
    grid.SetCol(12);
    grid.SetRow(30);
    EXPECT_EQ(grid.Col(), 12);
    EXPECT_EQ(grid.Row(), 30);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2], std::make_pair(12, 30));
    EXPECT_GT(topLeftChanges, 0);
    EXPECT_GT(grid.CellRect(12, 30).right, 0);
    EXPECT_LE(grid.CellRect(12, 30).bottom, grid.ClientHeight());
    // Moving without scrolling leaves the top-left cell.
    int left = grid.LeftCol(), top = grid.TopRow();
    grid.MoveCurrent(2, 2);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.LeftCol(), left);
    EXPECT_EQ(grid.TopRow(), top);
}

TEST_F(GridFixture, KeysGoToTheHandlersBeforeTheGridMoves) {
    std::vector<int> downs;
    std::vector<char32_t> chars;
    grid.onKeyDown = [&](int& key, int shift) {
        downs.push_back(key);
        if (key == cuiGrid::kVkDown && (shift & cuiGrid::kCtrl))
            key = 0; // consumed
    };
    grid.onKeyPress = [&](char32_t& ch) { chars.push_back(ch); };
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), 2);
    QTest::keyClick(&grid, Qt::Key_F5);
    QTest::keyClick(&grid, Qt::Key_A);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(downs, (std::vector<int>{0x27, 0x28, 0x28, 0x74, 'A', 0x0D}));
    EXPECT_EQ(chars, (std::vector<char32_t>{U'a', U'\r'}));
}

TEST_F(GridFixture, ClickSelectsAndReportsTheMouseAndDrawsEveryShownCell) {
    std::vector<cuiGrid::Button> presses;
    grid.onMouseDown = [&](cuiGrid::Button b, int, int, int) { presses.push_back(b); };
    int dbl = 0;
    grid.onDblClick = [&] { ++dbl; };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(125, 50));
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, QPoint(175, 70));
    EXPECT_EQ(grid.Col(), 2); // the right button leaves the current cell to the sheet
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(125, 50));
    EXPECT_EQ(dbl, 1);
    ASSERT_GE(presses.size(), 2u);
    EXPECT_EQ(presses[1], cuiGrid::Button::Right);

    int drawn = 0, current = 0, fixed = 0;
    grid.onDrawCell = [&](cuiQtCanvas&, int c, int r, const cmcCanvas::Rect& rect, int state) {
        ++drawn;
        if (state & cuiGrid::kDrawCurrent)
            ++current;
        if (state & cuiGrid::kDrawFixed)
            ++fixed;
        EXPECT_EQ(rect.Width(), grid.ColWidth(c));
    };
    grid.viewport()->grab();
    int cols = (grid.ClientWidth() + 49) / 50, rows = (grid.ClientHeight() + 19) / 20;
    EXPECT_EQ(drawn, cols * rows);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(fixed, cols + rows - 1);
}

TEST_F(GridFixture, ColumnSizingByDraggingAHeaderBorder) {
    grid.SetColSizing(true);
    int changed = 0;
    grid.onColWidthsChanged = [&] { ++changed; };
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(100, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 10), grid.viewport()->mapToGlobal(QPointF(130, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(130, 10));
    EXPECT_EQ(grid.ColWidth(1), 80);
    EXPECT_EQ(changed, 1);
}

} // namespace

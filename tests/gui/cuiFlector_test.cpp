// Choice list windows and value stepping on the shipped overlay: Enter on a choice cell opens its
// list beside the cell, picking an entry stores it through the cell handler, Escape leaves the value,
// and space and backspace step through the list in place.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "platform/cuiQtLoop.h"
#include "sheets/cuiSheet.h"
#include "support/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FlectorFixture : MainWindowFixture {

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        StartWindow(s);
        window->resize(900, 600);
        ASSERT_TRUE(window->SelectTreeNode("[St_Common]GI_Sheet_Common"));
        ASSERT_NE(window->SheetView(), nullptr);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    // Puts the cursor on the cell named name and gives the grid the focus.
    void GoTo(const char* name) {
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName(name), 0)) << name;
        Grid().setFocus();
    }
    std::string Shown() {
        return window->Handler()->CellText(View().Sheet().Cell(Grid().Col(), Grid().Row()), 0);
    }
    cuiFlector* List() { return window->CellWindows()->List(); }
};

TEST_F(FlectorFixture, EnterOpensTheListOnTheCurrentValueAndPickingAnEntryStoresIt) {
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    EXPECT_EQ(Shown(), "Through");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(List(), nullptr);
    cuiFlector& list = *List();
    EXPECT_TRUE(list.isVisible());
    // The list starts on the stored value and sits below its cell.
    cuiGrid& listGrid = list.View().Grid();
    const cmcCellObj& start = list.View().Sheet().Cell(listGrid.Col(), listGrid.Row());
    EXPECT_EQ(start.parameter, 0);
    cmcCanvas::Rect cell = Grid().CellRect(Grid().Col(), Grid().Row());
    EXPECT_GE(list.geometry().top(), Grid().viewport()->mapToGlobal(QPoint(0, cell.bottom)).y() - 1);
    // Its width shows its widest entry.
    EXPECT_GE(list.width(), QFontMetrics(listGrid.font()).horizontalAdvance("High-pass filter"));
    EXPECT_LT(list.height(), 3 * QFontMetrics(listGrid.font()).height()); // one row of entries

    QTest::keyClick(&listGrid, Qt::Key_Right);
    QTest::keyClick(&listGrid, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return List() == nullptr; }, 1000));
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(Shown(), "High-pass filter");
    EXPECT_TRUE(window->Modified());
}

TEST_F(FlectorFixture, ArrowsWrapInAListWithoutScrollBarsAndEscapeLeavesTheValue) {
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(List(), nullptr);
    cuiGrid& listGrid = List()->View().Grid();
    const int first = listGrid.Col();
    QTest::keyClick(&listGrid, Qt::Key_Left); // from the first entry round to the last
    EXPECT_NE(listGrid.Col(), first);
    QTest::keyClick(&listGrid, Qt::Key_Right);
    EXPECT_EQ(listGrid.Col(), first);
    QTest::keyClick(&listGrid, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return List() == nullptr; }, 1000));
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(Shown(), "Through");
    EXPECT_FALSE(window->Modified());
}

TEST_F(FlectorFixture, SpaceAndBackspaceStepTheValueWithoutAWindow) {
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    QTest::keyClick(&Grid(), Qt::Key_Space);
    EXPECT_EQ(Shown(), "High-pass filter");
    QTest::keyClick(&Grid(), Qt::Key_Space); // wraps round the two entries
    EXPECT_EQ(Shown(), "Through");
    QTest::keyClick(&Grid(), Qt::Key_Backspace);
    EXPECT_EQ(Shown(), "High-pass filter");
    EXPECT_EQ(List(), nullptr);
}

TEST_F(FlectorFixture, AListTallerThanTheWorkAreaScrollsAndIsAsTallAsIt) {
    window->CellWindows()->workArea = [] { return QRect(0, 0, 800, 20); };
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(List(), nullptr);
    EXPECT_LE(List()->height(), 20);
    EXPECT_EQ(List()->View().Grid().verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

TEST_F(FlectorFixture, AClickChoosesTheEntryButTheReleaseOfTheOpeningClickDoesNot) {
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(List(), nullptr);
    cuiGrid& listGrid = List()->View().Grid();
    // The entry "High-pass filter" is the second entry cell of the row.
    int col = -1;
    for (int c = listGrid.Col() + 1; c < listGrid.ColCount() && col < 0; ++c)
        if (List()->View().Selectable(c, listGrid.Row()))
            col = c;
    ASSERT_GE(col, 0);
    cmcCanvas::Rect r = listGrid.CellRect(col, listGrid.Row());
    const QPoint at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QTest::mouseRelease(listGrid.viewport(), Qt::LeftButton, {}, at);
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(Shown(), "Through");
    QTest::mouseClick(listGrid.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return List() == nullptr; }, 1000));
    EXPECT_EQ(Shown(), "High-pass filter");
}

TEST_F(FlectorFixture, CommittingEditsClosesAnOpenListWithoutAnAnswer) {
    GoTo("CL_Comm_Ctcss_RxAfFilt");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(List(), nullptr);
    QTest::keyClick(&List()->View().Grid(), Qt::Key_Right);
    events.Send(cmcEv::CommitEdit);
    EXPECT_TRUE(List() == nullptr || !List()->isVisible());
    EXPECT_EQ(Shown(), "Through");
}

} // namespace

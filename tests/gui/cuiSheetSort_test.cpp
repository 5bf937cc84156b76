// Sorting a bank from its column headers in the window, on the shipped overlay and initial data: a
// click sorts ascending, the next click on the same header descending, as one change of the data; a
// click that does not start and end on one header cell, or that drags a column border, sorts nothing.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiUndoCommands.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "platform/cuiQtLoop.h"
#include "sheets/iuiSheetSort.h"
#include "support/TestSupport.h"
#include <QAction>

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct SortFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"));
        ASSERT_GE(indLayout::GroupCount(window->Current().Data(), 0), 4);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    // What the column of a cell shows for each channel of the bank.
    std::vector<std::string> Shown(const char* cellName) {
        std::vector<std::string> texts;
        for (int n = 0; n < indLayout::GroupCount(window->Current().Data(), 0); ++n) {
            cmcCellObj cell;
            cell.category = cmcCellIds::CategoryByName("CT_Mch");
            cell.cell = cmcCellIds::CellByName(cellName);
            cell.parameter = n;
            texts.push_back(window->Handler()->CellText(cell, 0));
        }
        return texts;
    }
    int Column(const char* header) {
        return iuiSheetSort::ColumnOf(View().Sheet(), window->Handler(), header);
    }
    QPoint Middle(int col, int row) {
        const cuiGrid::Rect r = Grid().CellRect(col, row);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Click(const QPoint& at) { QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, at); }
};

TEST_F(SortFixture, AHeaderClickSortsAscendingAndTheNextOneDescending) {
    const std::vector<std::string> ascending = Shown("CL_Mch_FreqR");
    ASSERT_TRUE(std::is_sorted(ascending.begin(), ascending.end())) << "the initial bank is in order";
    std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    const int col = Column("RX frequency (MHz)");
    ASSERT_GE(col, 0);

    Click(Middle(col, 0)); // already in that order
    EXPECT_EQ(Shown("CL_Mch_FreqR"), ascending);
    EXPECT_FALSE(window->Modified());
    Click(Middle(col, 0));
    EXPECT_EQ(Shown("CL_Mch_FreqR"), descending);
    EXPECT_TRUE(window->Modified());
    Click(Middle(col, 0));
    EXPECT_EQ(Shown("CL_Mch_FreqR"), ascending);

    // Another header starts ascending again: names ascending, then descending.
    const int name = Column("Name");
    ASSERT_GE(name, 0);
    Click(Middle(col, 0));
    ASSERT_EQ(Shown("CL_Mch_FreqR"), descending);
    Click(Middle(name, 0));
    EXPECT_EQ(Shown("CL_Mch_FreqR"), ascending);

    // Each sort is one step of the edit history (the sheet is built again after each undo).
    const cmcEeprom sorted = window->Current();
    auto key = [this](Qt::KeyboardModifiers modifiers) {
        Grid().setFocus();
        QTest::keyClick(&Grid(), Qt::Key_Z, modifiers);
    };
    key(Qt::ControlModifier);
    EXPECT_EQ(Shown("CL_Mch_FreqR"), descending);
    key(Qt::ControlModifier);
    EXPECT_EQ(Shown("CL_Mch_FreqR"), ascending);
    key(Qt::ControlModifier | Qt::ShiftModifier);
    key(Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(window->Current() == sorted);
}

TEST_F(SortFixture, OnlyAClickOnOneHeaderCellSorts) {
    const std::vector<std::string> before = Shown("CL_Mch_FreqR");
    const int col = Column("RX frequency (MHz)");
    ASSERT_GE(col, 0);
    Click(Middle(col, 0)); // ascending: already in order; a second click would sort descending
    // A click on a channel's cell, a press on one header released on the next, a drag of the
    // column's border.
    Click(Middle(col, Grid().FixedRows()));
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, Middle(col, 0));
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, Middle(col + 1, 0));
    ASSERT_TRUE(Grid().ColSizing());
    const QPoint border(Grid().CellRect(col, 0).right, Middle(col, 0).y());
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, border);
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, border);
    EXPECT_EQ(Shown("CL_Mch_FreqR"), before);
    EXPECT_FALSE(window->Modified());
    // None of them counted as a click: the next one on the header is the second.
    Click(Middle(col, 0));
    EXPECT_EQ(Shown("CL_Mch_FreqR"), std::vector<std::string>(before.rbegin(), before.rend()));
}

} // namespace

// Dragging channels of a bank by their row numbers, on the shipped overlay and initial data: the
// dragged channel moves onto the row it is dropped on in one change that Ctrl+Z takes back, and a
// scan list naming it follows it; a click on a row number without dragging moves nothing.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "gui/cuiGrid.h"
#include "gui/cuiRowDrag.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"

#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RowDragOrder, MovesTheBlockOntoTheTarget) {
    struct Case {
        int count, low, high, target;
        std::vector<int32_t> sequence; // old entries in their new order
    };
    const Case cases[] = {
        {4, 0, 0, 2, {1, 2, 0, 3}},                                // down: after the row dropped on
        {4, 3, 3, 1, {0, 3, 1, 2}},                                // up: in the row's place
        {5, 0, 1, 3, {2, 3, 0, 1, 4}}, {4, 1, 1, 4, {0, 2, 3, 1}}, // after the last entry
        {4, 1, 2, 2, {0, 1, 2, 3}},                                // onto itself: nothing moves
        {4, 0, 0, 0, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        const std::vector<int32_t> order = cuiRowDrag::MoveOrder(c.count, c.low, c.high, c.target);
        std::vector<int32_t> sequence(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            sequence[static_cast<size_t>(order[i])] = static_cast<int32_t>(i);
        EXPECT_EQ(sequence, c.sequence) << c.low << ".." << c.high << " onto " << c.target;
    }
}

struct RowDragFixture : MainWindowFixture {
    static constexpr int32_t kScan = indMap::SlotAddress(indTable::kScanLists);

    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_GE(indLayout::GroupCount(window->Current().Data(), 0), 4);
        indLayout::Put16(window->Current().Data() + kScan, 12,
                         0); // scan list 0's priority channel: the first
        ASSERT_TRUE(window->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"));
    }
    cuiGrid& Grid() { return window->SheetView()->Grid(); }
    int PriorityChannel() { return indLayout::Get16(window->Current().Data() + kScan, 12); }
    std::vector<std::string> Frequencies() {
        std::vector<std::string> texts;
        for (int n = 0; n < indLayout::GroupCount(window->Current().Data(), 0); ++n) {
            cmcCellObj cell;
            cell.category = cmcCellIds::CategoryByName("CT_Mch");
            cell.cell = cmcCellIds::CellByName("CL_Mch_FreqR");
            cell.parameter = n;
            texts.push_back(window->Handler()->CellText(cell, 0));
        }
        return texts;
    }
    // The middle of a row's number cell.
    QPoint Number(int row) {
        const cuiGrid::Rect r = Grid().CellRect(0, Grid().FixedRows() + row);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Drag(int from, int to) {
        QWidget* viewport = Grid().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, Number(from));
        const QPoint a = Number(from), b = Number(to);
        for (int i = 1; i <= 4; ++i) {
            QMouseEvent move(QEvent::MouseMove, a + (b - a) * i / 4,
                             viewport->mapToGlobal(a + (b - a) * i / 4), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, b);
    }
};

TEST_F(RowDragFixture, ADraggedChannelMovesInOneUndoStepAndItsReferenceFollows) {
    const std::vector<std::string> before = Frequencies();
    const cmcEeprom original = window->Current();
    Drag(0, 2);
    const std::vector<std::string> after = Frequencies();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], before[1]);
    EXPECT_EQ(after[1], before[2]);
    EXPECT_EQ(after[2], before[0]);
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(PriorityChannel(), 2) << "the scan list names the moved channel where it went";
    EXPECT_TRUE(window->Modified());

    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Frequencies(), before);
    EXPECT_EQ(PriorityChannel(), 0);
    EXPECT_TRUE(window->Current() == original);

    // Up: the last channel takes the second one's place.
    Drag(3, 1);
    EXPECT_EQ(Frequencies(), (std::vector<std::string>{before[0], before[3], before[1], before[2]}));
}

TEST_F(RowDragFixture, AClickOnARowNumberMovesNothing) {
    const cmcEeprom original = window->Current();
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Number(0));
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, {}, Number(0));
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, {}, Number(2)); // no move between: no drag
    EXPECT_TRUE(window->Current() == original);
    EXPECT_FALSE(window->Modified());
}

TEST_F(RowDragFixture, ChannelsDroppedOnAnotherBanksNodeMoveToItsEndInOneUndoStep) {
    uint8_t* w = window->Current().Data();
    const int count0 = indLayout::GroupCount(w, 0);
    // Bank 1 gets the channel after bank 0's: a second bank with a node in the tree.
    indLayout::Put16(w, indLayout::kGroupCounts + 2, 1);
    indLayout::Put16(w + kScan, 12, 1); // the scan list names bank 0's second channel
    events.Send(cmcEv::RebuildBankBranches);
    ASSERT_TRUE(window->SelectTreeNode("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"));
    QTreeWidgetItem* bank1 = nullptr;
    for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it)
        if ((*it)->data(0, Qt::UserRole + 1).toString() == "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1")
            bank1 = *it;
    ASSERT_NE(bank1, nullptr);
    const std::vector<std::string> before = Frequencies();
    const cmcEeprom original = window->Current();

    // Row 1 dragged out of the grid onto bank 1's node.
    QTreeWidget* tree = window->Tree();
    const QPoint node = tree->visualItemRect(bank1).center();
    const QPoint release = Grid().viewport()->mapFromGlobal(tree->viewport()->mapToGlobal(node));
    QWidget* viewport = Grid().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, Number(1));
    for (const QPoint& at : {Number(1) + QPoint(0, 10), release}) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);

    w = window->Current().Data();
    EXPECT_EQ(indLayout::GroupCount(w, 0), count0 - 1);
    EXPECT_EQ(indLayout::GroupCount(w, 1), 2);
    std::vector<std::string> left = before;
    left.erase(left.begin() + 1);
    EXPECT_EQ(Frequencies(), left);
    cmcCellObj cell;
    cell.category = cmcCellIds::CategoryByName("CT_Mch");
    cell.cell = cmcCellIds::CellByName("CL_Mch_FreqR");
    cell.parameter = count0; // bank 1's second channel, the last one
    EXPECT_EQ(window->Handler()->CellText(cell, 0), before[1]);
    EXPECT_EQ(PriorityChannel(), count0) << "the scan list follows the channel into bank 1";

    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window->Current() == original);
}

} // namespace

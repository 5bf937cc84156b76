// Editing a memory channel bank with the keyboard on the shipped overlay and initial data: row
// selection with Shift, the pop-up menu of the current cell with the handler's entry states, and
// the row commands it carries out (copy and paste, insert, delete).
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "platform/cuiQtLoop.h"
#include "sheets/cuiSheet.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct EditingFixture : MainWindowFixture {

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        StartWindow(s);
        window->resize(900, 600);
        ASSERT_TRUE(window->OpenSheet(kBank));
        Grid().setFocus();
        ASSERT_GT(Channels(), 3);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    int Channels() { return indLayout::GroupCount(window->Current().Data(), 0); }
    // The receive frequency the sheet shows for channel n of the bank.
    std::string Frequency(int n) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName("CT_Mch");
        cell.cell = cmcCellIds::CellByName("CL_Mch_FreqR");
        cell.parameter = n;
        return window->Handler()->CellText(cell, 0);
    }
    QAction* Entry(const QString& text) {
        for (QAction* a : View().PopupMenu()->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    void OnFrequencyOf(int n) {
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), n));
        Grid().setFocus();
    }
};

TEST_F(EditingFixture, ShiftDownMarksWholeRowsAndAPlainMoveDropsTheRange) {
    OnFrequencyOf(0);
    const int row = Grid().Row();
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(View().HasRange());
    for (int r = row; r <= row + 2; ++r)
        for (int c = Grid().FixedCols(); c < Grid().ColCount(); ++c)
            ASSERT_TRUE(View().IsLineMarked(c, r)) << c << "," << r;
    EXPECT_FALSE(View().IsLineMarked(Grid().FixedCols(), row + 3));
    int32_t first = -1, last = -1;
    ASSERT_TRUE(View().RangeParameters(first, last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 2);

    QTest::keyClick(&Grid(), Qt::Key_Down);
    EXPECT_FALSE(View().HasRange());
    EXPECT_FALSE(View().IsLineMarked(Grid().FixedCols(), row));
}

TEST_F(EditingFixture, TheMenuKeyOpensThePopUpMenuWithTheHandlersEntryStates) {
    OnFrequencyOf(0);
    QTest::keyClick(&Grid(), Qt::Key_Menu);
    QMenu* menu = View().PopupMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    ASSERT_NE(Entry("&Copy"), nullptr);
    EXPECT_TRUE(Entry("&Copy")->isEnabled());
    EXPECT_FALSE(Entry("&Paste")->isEnabled()); // nothing copied yet
    menu->close();

    // On the new row after the last channel there is nothing to copy, clear or delete.
    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), Channels()));
    View().PreparePopup(true);
    EXPECT_FALSE(Entry("&Copy")->isEnabled());
    EXPECT_FALSE(Entry("&Delete row")->isEnabled());
    EXPECT_TRUE(Entry("&Insert row")->isEnabled());
}

TEST_F(EditingFixture, CopiedRowsPasteOverOthersAfterTheConfirmation) {
    const std::string f0 = Frequency(0), f1 = Frequency(1);
    ASSERT_NE(f0, Frequency(2));
    OnFrequencyOf(0);
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    View().PreparePopup(true);
    Entry("&Copy")->trigger();
    EXPECT_EQ(window->StatusText(), "Copied.");

    OnFrequencyOf(2);
    View().PreparePopup(true);
    ASSERT_TRUE(Entry("&Paste")->isEnabled());
    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    Entry("&Paste")->trigger();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(Frequency(2), f0); // cancelled: unchanged

    box.answers.push_back(cmcMessageBox::Answer::Ok);
    Entry("&Paste")->trigger();
    EXPECT_EQ(Frequency(2), f0);
    EXPECT_EQ(Frequency(3), f1);
    EXPECT_TRUE(window->Modified());
    // The pasted rows stay selected.
    int32_t first = -1, last = -1;
    ASSERT_TRUE(View().RangeParameters(first, last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 3);
}

TEST_F(EditingFixture, InsertAndDeleteChangeTheBankAndTheSheetsRows) {
    const int channels = Channels();
    const int rows = Grid().RowCount();
    const std::string f1 = Frequency(1);
    OnFrequencyOf(1);
    View().PreparePopup(true);
    ASSERT_TRUE(Entry("&Insert row")->isEnabled());
    Entry("&Insert row")->trigger();
    for (auto& b : box.shown)
        ADD_FAILURE() << b.text;
    EXPECT_EQ(Channels(), channels + 1);
    EXPECT_EQ(Grid().RowCount(), rows + 1);
    EXPECT_EQ(Frequency(2), f1); // the channel moved down behind the new one

    OnFrequencyOf(1);
    View().PreparePopup(true);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    Entry("&Delete row")->trigger();
    EXPECT_EQ(Channels(), channels);
    EXPECT_EQ(Grid().RowCount(), rows);
    EXPECT_EQ(Frequency(1), f1);
    // The status text is queued: it follows the cursor's move to the row.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->StatusText() == "Deleted."; }, 2000));
}

} // namespace

namespace {

TEST_F(EditingFixture, AnEditSessionWithoutTheMouse) {
    OnFrequencyOf(0);
    const int col = Grid().Col(), row = Grid().Row();
    QTest::keyClick(&Grid(), Qt::Key_Tab);
    EXPECT_EQ(Grid().Col(), col + 1);
    QTest::keyClick(&Grid(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid().Col(), col);
    EXPECT_EQ(Grid().Row(), row);

    // Typing starts an edit; Escape drops it, Enter stores it.
    const std::string before = Frequency(0);
    QTest::keyClick(&Grid(), Qt::Key_4);
    ASSERT_TRUE(View().EditorVisible());
    QTest::keyClick(Grid().viewport()->findChild<QLineEdit*>(), Qt::Key_Escape);
    EXPECT_FALSE(View().EditorVisible());
    EXPECT_EQ(Frequency(0), before);
    QTest::keyClick(&Grid(), Qt::Key_4);
    ASSERT_TRUE(View().EditorVisible());
    QTest::keyClicks(Grid().viewport()->findChild<QLineEdit*>(), "46.1");
    QTest::keyClick(Grid().viewport()->findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_FALSE(View().EditorVisible());
    EXPECT_EQ(Frequency(0), "446.100000");

    // Ctrl+Tab leaves the sheet for the tree and back.
    QTest::keyClick(&Grid(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(Grid().hasFocus());
}

} // namespace

namespace {

TEST_F(EditingFixture, TheEditMenuCarriesTheCurrentCellsPopUpEntries) {
    OnFrequencyOf(0);
    QMenu* edit = nullptr;
    for (QAction* a : window->menuBar()->actions())
        if (a->text() == "&Edit")
            edit = a->menu();
    ASSERT_NE(edit, nullptr);
    emit edit->aboutToShow();
    QStringList entries;
    for (QAction* a : edit->actions())
        entries << a->text();
    EXPECT_TRUE(entries.contains("&Copy"));
    EXPECT_TRUE(entries.contains("&Insert row"));
}

} // namespace

namespace {

TEST_F(EditingFixture, ARightClickOpensTheMenuOnlyOnACellThatCanBeCurrent) {
    OnFrequencyOf(0);
    const int col = Grid().Col(), row = Grid().Row();
    auto centre = [&](int c, int r) {
        cmcCanvas::Rect rect = Grid().CellRect(c, r);
        return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    };
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, centre(col, 0)); // the heading
    EXPECT_FALSE(View().PopupMenu()->isVisible());
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, centre(col, row + 1));
    EXPECT_TRUE(View().PopupMenu()->isVisible());
    EXPECT_EQ(Grid().Row(), row + 1); // the clicked cell became current
    View().PopupMenu()->close();
}

} // namespace

namespace {

TEST_F(EditingFixture, TheMenuKeyAndAnEntrysAcceleratorRunTheRowCommand) {
    OnFrequencyOf(1);
    QTest::keyClick(&Grid(), Qt::Key_Menu);
    ASSERT_TRUE(View().PopupMenu()->isVisible());
    QTest::keyClick(View().PopupMenu(), Qt::Key_C); // &Copy
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->StatusText() == "Copied."; }, 1000));
    EXPECT_FALSE(View().PopupMenu()->isVisible());
}

} // namespace

namespace {

TEST_F(EditingFixture, TypingAFrequencyIntoTheBlankRowMakesThatChannel) {
    const int n = Channels();
    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), n));
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_4);
    QApplication::processEvents();
    ASSERT_TRUE(View().EditorVisible());
    auto* editor = Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text().toStdString(), "4");
    QTest::keyClicks(editor, "46.1");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Channels(), n + 1);
    EXPECT_EQ(Frequency(n), "446.100000");
}

} // namespace

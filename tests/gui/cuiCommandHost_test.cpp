// The window's row commands beyond the memory channel rows: a list sheet's pop-up menu enables the
// commands that apply to the row (Move up and Move down included) and carries them out; and a bank's
// blank row when a later bank holds channels.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "sheets/cuiSheet.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using L = indLayout;

struct RowFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    QAction* Entry(const QString& text) {
        for (QAction* a : View().PopupMenu()->actions()) {
            if (a->text() == text) {
                return a;
            }
        }
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }
    // Opens the pop-up menu's entry states on entry n's cell.
    void On(const char* cell, int n) {
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName(cell), n));
        Grid().setFocus();
        View().PreparePopup(true);
    }
    int Ids() { return datCh::EntriesInUse(window->Current().Data(), datCh::kKindNxdnIndId); }
    std::string Text(const char* category, const char* cell, int n) {
        cmcCellObj obj;
        obj.category = cmcCellIds::CategoryByName(category);
        obj.cell = cmcCellIds::CellByName(cell);
        obj.parameter = n;
        return window->Handler()->CellText(obj, 0);
    }
    void Type(const char* category, const char* cell, int n, const char* text) {
        cmcCellObj obj;
        obj.category = cmcCellIds::CategoryByName(category);
        obj.cell = cmcCellIds::CellByName(cell);
        obj.parameter = n;
        cmcCellCapsule capsule;
        capsule.cell = &obj;
        capsule.onGrid = true;
        capsule.editState = cmcCellCapsule::kEditEntered;
        capsule.enteredText = text;
        window->Handler()->CallCell(capsule, cmcCellHandler::kNotifyAction);
    }
};

TEST_F(RowFixture, AnIdListsRowsTakeTheRowCommandsThatApply) {
    ASSERT_TRUE(window->OpenSheet("GI_Sheet_Nxdn_Ind_Id,X"));
    ASSERT_EQ(Ids(), 0);
    const int rows = Grid().RowCount();
    // The blank row of the empty list: only an insertion applies.
    On("CL_Nxdn_Ind_Id_Dec", 0);
    EXPECT_TRUE(Entry("&Insert row")->isEnabled());
    EXPECT_FALSE(Entry("&Copy")->isEnabled());
    EXPECT_FALSE(Entry("&Delete row")->isEnabled());
    EXPECT_FALSE(Entry("Move &up")->isEnabled());
    Entry("&Insert row")->trigger();
    On("CL_Nxdn_Ind_Id_Dec", 0);
    Entry("&Insert row")->trigger();
    EXPECT_EQ(Ids(), 2);
    EXPECT_EQ(Grid().RowCount(), rows + 2);
    Type("CT_Nxdn_Inv", "CL_Nxdn_Ind_Id_Dec", 1, "321");

    // The last entry moves up, not down; the first down, not up.
    On("CL_Nxdn_Ind_Id_Dec", 1);
    EXPECT_TRUE(Entry("Move &up")->isEnabled());
    EXPECT_FALSE(Entry("Move do&wn")->isEnabled());
    Entry("Move &up")->trigger();
    EXPECT_EQ(Text("CT_Nxdn_Inv", "CL_Nxdn_Ind_Id_Dec", 0), "321");
    EXPECT_EQ(window->SheetView()->Sheet().Cell(Grid().Col(), Grid().Row()).parameter, 0); // it follows
    On("CL_Nxdn_Ind_Id_Dec", 0);
    EXPECT_FALSE(Entry("Move &up")->isEnabled());
    EXPECT_TRUE(Entry("Move do&wn")->isEnabled());

    // The list keeps one entry.
    On("CL_Nxdn_Ind_Id_Dec", 1);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    Entry("&Delete row")->trigger();
    EXPECT_EQ(Ids(), 1);
    On("CL_Nxdn_Ind_Id_Dec", 0);
    box.shown.clear();
    Entry("&Delete row")->trigger();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(Ids(), 1);
}

TEST_F(RowFixture, TheBlankRowOfABankBeforeAnotherBankShowsNewAndAddsToItsBank) {
    TempDir dir;
    ASSERT_TRUE(window->OpenSheet("GI_Sheet_BankOp_Lmr"));
    Type("CT_BankOp", "CL_Mch_Bank", 0, "5");
    Type("CT_BankOp", "CL_Mch_Bank", 1, "3");
    ASSERT_EQ(L::GroupCount(window->Current().Data(), 1), 3);
    const std::string file = dir.File("banks.ocd");
    ASSERT_TRUE(window->Save(file));
    ASSERT_TRUE(window->OpenFile(file));
    ASSERT_TRUE(window->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"));
    EXPECT_EQ(Text("CT_Mch", "CL_Mch_No", 5), "New");

    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), 5));
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_1);
    QApplication::processEvents();
    auto* editor = Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "55.1");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(L::GroupCount(window->Current().Data(), 0), 6);
    EXPECT_EQ(L::GroupCount(window->Current().Data(), 1), 3);
    EXPECT_EQ(Text("CT_Mch", "CL_Mch_FreqR", 5), "155.100000");
    EXPECT_EQ(Text("CT_Mch", "CL_Mch_No", 6), "New");
}

} // namespace

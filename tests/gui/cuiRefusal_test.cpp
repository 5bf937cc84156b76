// A value the cell refuses says why: typed through the grid as a user types it, the reason with its
// limits shows in the status bar and as a tooltip at the cell, and the next cursor move or accepted
// edit clears it.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"

#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

struct RefusalFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    void Open(const char* sheet, const char* cell, int32_t parameter) {
        ASSERT_TRUE(window->OpenSheet(sheet));
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName(cell), parameter));
        Grid().setFocus();
    }
    // Types text on the current cell: its first character opens the in-place editor, the rest goes
    // into the editor, and Enter commits it.
    void Type(const QString& text) {
        QTest::keyClicks(&Grid(), text.left(1));
        auto* editor = Grid().viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor && editor->isVisible()) << "the first character opened no editor";
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    std::string Shown(const char* category, const char* name, int32_t parameter) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName(category);
        cell.cell = cmcCellIds::CellByName(name);
        cell.parameter = parameter;
        return window->Handler()->CellText(cell, 0);
    }
};

TEST_F(RefusalFixture, AFrequencyOutOfTheBandNamesTheBandAndAMoveClearsIt) {
    Open("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0", "CL_Mch_FreqR", 0);
    const std::string before = Shown("CT_Mch", "CL_Mch_FreqR", 0);
    ASSERT_FALSE(before.empty());

    Type("900");
    EXPECT_EQ(Shown("CT_Mch", "CL_Mch_FreqR", 0), before);
    const QString status = window->StatusText();
    EXPECT_TRUE(status.contains("0.002500") && status.contains("799.997500 MHz")) << status.toStdString();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), status);

    QTest::keyClick(&Grid(), Qt::Key_Down);
    EXPECT_EQ(window->StatusText(), "");
}

TEST_F(RefusalFixture, ANameLongerThanItsFieldIsRefusedNotCutAndTheNextEditClearsTheReason) {
    Open("GI_Sheet_BankOp_Lmr", "CL_Mch_BankText", 0);
    const std::string before = Shown("CT_BankOp", "CL_Mch_BankText", 0);

    Type("VERYLONGNAME");
    EXPECT_EQ(Shown("CT_BankOp", "CL_Mch_BankText", 0), before);
    EXPECT_EQ(window->StatusText(), "Too long: at most 8 characters");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), window->StatusText());

    // The cursor stayed on the cell: typing a name that fits there ends the refusal.
    Type("PATROL");
    EXPECT_EQ(Shown("CT_BankOp", "CL_Mch_BankText", 0), "PATROL");
    EXPECT_EQ(window->StatusText(), "");
}

} // namespace

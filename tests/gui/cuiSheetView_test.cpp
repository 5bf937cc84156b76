// The sheet engine on a small sheet: cursor moves over selectable cells with the nearest-cell
// fallback, keys and characters handed to the cell handler, and the in-place editor.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetFactory.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Three selectable cells: (1,1), (2,2) and (0,3), parameters 1, 2 and 3.
const std::vector<std::string> kOverlay = {
    "#GI_Sheet_T_Style",
    "(FixedRows=1)",
    "#",
    "#GI_Sheet_T_BasicCell",
    "{(Color=clWindow)}",
    "#",
    "#GI_Sheet_T_Cells",
    "A|B|C",
    "x|{S(%CT_Null.CL_Misc_QuarterPillar[1])}1|y",
    "x|y|{S(%CT_Null.CL_Misc_QuarterPillar[2])}2",
    "{S(%CT_Null.CL_Misc_QuarterPillar[3])}3|y|y",
    "#",
    "#End_Of_Ovl",
};

struct RecordingHandler : cmcCellHandler {
    struct Call {
        int32_t parameter, key, editState;
        std::string text;
    };
    std::vector<Call> calls;
    int32_t CallCell(cmcCellCapsule& c, int32_t notify) override {
        if (notify != kNotifyAction)
            return kResultNone;
        calls.push_back({c.cell->parameter, c.key, c.editState, c.enteredText});
        if (c.key == 'e') {
            c.displayText = "abc";
            c.selStart = 0;
            c.selLength = 3;
            return kResultEdit;
        }
        return kResultNone;
    }
};

struct SheetFixture : testing::Test {
    cmcGTex tex;
    RecordingHandler handler;
    std::unique_ptr<cuiSheetView> view;
    void SetUp() override {
        ASSERT_TRUE(tex.AttachLines(kOverlay));
        cuiSheetEnv env;
        env.texts = &tex;
        auto sheet = iuiSheetFactory::Build(env, "GI_Sheet_T");
        for (int c = 0; c < 3; ++c)
            sheet->SetColWidth(c, 40);
        view = std::make_unique<cuiSheetView>(std::move(sheet), &handler);
        view->resize(300, 200);
        view->show();
    }
    cuiGrid& Grid() { return view->Grid(); }
    std::pair<int, int> At() { return {Grid().Col(), Grid().Row()}; }
};

TEST_F(SheetFixture, CursorSettlesOnASelectableCellAndMovesToTheNearestOne) {
    EXPECT_EQ(Grid().FixedRows(), 1);
    EXPECT_EQ(At(), std::make_pair(1, 1));
    view->MoveBy(0, 1); // nothing below in column 1: the nearest selectable cell of the next row
    EXPECT_EQ(At(), std::make_pair(2, 2));
    view->MoveBy(0, 1);
    EXPECT_EQ(At(), std::make_pair(0, 3));
    view->MoveBy(0, 1); // no row below holds one: the cursor stays
    EXPECT_EQ(At(), std::make_pair(0, 3));
    view->MoveBy(0, -10);
    EXPECT_EQ(At(), std::make_pair(1, 1));
    EXPECT_TRUE(handler.calls.empty());
}

TEST_F(SheetFixture, KeysAndCharactersGoToTheCurrentCell) {
    Grid().setFocus();
    view->MoveBy(0, 2);
    ASSERT_EQ(At(), std::make_pair(0, 3));
    QTest::keyClick(&Grid(), Qt::Key_Left); // nothing to the left: the key goes to the cell
    QTest::keyClick(&Grid(), Qt::Key_F3);   // F2 edits the cell; the other F keys go to it
    QTest::keyClick(&Grid(), Qt::Key_X);
    ASSERT_EQ(handler.calls.size(), 3u);
    EXPECT_EQ(handler.calls[0].key, cmcCellCapsule::kKeyLeft);
    EXPECT_EQ(handler.calls[0].parameter, 3);
    EXPECT_EQ(handler.calls[1].key, cmcCellCapsule::KeyF(3));
    EXPECT_EQ(handler.calls[2].key, 'x');
    QTest::keyClick(&Grid(), Qt::Key_Right); // moves: nothing is sent
    EXPECT_EQ(handler.calls.size(), 3u);
}

TEST_F(SheetFixture, EditorOpensOnRequestCommitsWithEnterAndDropsWithEscape) {
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_E);
    ASSERT_TRUE(view->EditorVisible());
    auto* editor = Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "abc");
    EXPECT_EQ(editor->selectedText(), "abc");
    QTest::keyClicks(editor, "xy");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(view->EditorVisible());
    ASSERT_EQ(handler.calls.size(), 2u);
    EXPECT_EQ(handler.calls[1].editState, cmcCellCapsule::kEditEntered);
    EXPECT_EQ(handler.calls[1].text, "xy");
    EXPECT_EQ(handler.calls[1].key, 0);

    QTest::keyClick(&Grid(), Qt::Key_E);
    ASSERT_TRUE(view->EditorVisible());
    QTest::keyClicks(editor, "zz");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(view->EditorVisible());
    EXPECT_EQ(handler.calls.size(), 3u); // nothing committed
}

TEST_F(SheetFixture, FitColumnTakesTheWidestShownText) {
    view->FitColumn(0);
    int fitted = Grid().ColWidth(0);
    EXPECT_GT(fitted, 8);
    EXPECT_LT(fitted, 40); // "A", "x" and "3" are narrow
    EXPECT_EQ(view->Sheet().ColWidth(0), fitted);
}

} // namespace

namespace {

TEST_F(SheetFixture, AColumnDraggedNarrowerThanTenPixelsSnapsBack) {
    // Column 1 holds the selectable cell of the first row below the heading; column 0 does not.
    Grid().SetColWidth(1, 3);
    Grid().SetColWidth(0, 3);
    Grid().onColWidthsChanged();
    EXPECT_EQ(Grid().ColWidth(1), 10);
    EXPECT_EQ(view->Sheet().ColWidth(1), 10);
    EXPECT_EQ(Grid().ColWidth(0), 3);
}

} // namespace

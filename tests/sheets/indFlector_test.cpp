// Choice list windows without a display: the sheet a list is shown with, the window's place beside
// its cell, and the answer that stores the chosen entry in the opening cell.
#include "sheets/indFlector.h"

#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcGTex.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetFactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kOverlay = {
    "#CellModel_Basic",
    "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
    "#",
    "#GI_Sheet_Sel_Mode_Cells",
    "|{(%Flex0[0]:OFF)}|{(%Flex0[1]:Throughout the whole band)}|",
    "|{(%Flex0[2]:Low)}|",
    "#",
    "#GI_Sheet_Sel_Own_Style",
    "(FixedRows=1)",
    "#",
    "#GI_Sheet_Sel_Own_BasicCell",
    "{(Color=clWindow)}",
    "#",
    "#GI_Sheet_Sel_Own_Cells",
    "Head",
    "{S(%Flex0[7])}Seven",
    "#",
    "#End_Of_Ovl",
};

struct FlectorTest : testing::Test {
    cmcGTex tex;
    cmcFixedCanvas canvas;
    void SetUp() override { ASSERT_TRUE(tex.AttachLines(kOverlay)); }
    std::unique_ptr<cuiSheet> BuildList(indFlector& f) {
        cuiSheetEnv env;
        env.texts = &f.SheetTexts();
        env.canvas = &canvas;
        auto sheet = iuiSheetFactory::Create(env, f.ListName(), f.StartCell(), f.StartParameter());
        sheet->SetPopupMode(true);
        sheet->Show();
        return sheet;
    }
};

TEST_F(FlectorTest, AListWithOnlyItsCellsIsShownWithSelectableEntriesWideEnoughForTheirTexts) {
    indFlector f(tex, "GI_Sheet_Sel_Mode", cmcCellIds::CellByName("Flex0"), 1);
    EXPECT_NE(&f.SheetTexts(), &tex);
    auto sheet = BuildList(f);
    ASSERT_EQ(sheet->RowCount(), 2);
    const cmcCellObj& wide = sheet->Cell(2, 0);
    EXPECT_EQ(wide.parameter, 1);
    EXPECT_TRUE(wide.markFlags & cmcCellObj::kSelectable);
    EXPECT_TRUE(f.IsStart(wide));
    EXPECT_FALSE(f.IsStart(sheet->Cell(1, 0)));
    // The widest entry decides its column: wider than the short one beside it.
    EXPECT_GT(sheet->ColWidth(2), sheet->ColWidth(1));
    EXPECT_GE(sheet->ColWidth(2), canvas.TextWidth("Throughout the whole band") + 8);
    // The cells between the entries are not entries.
    EXPECT_FALSE(sheet->Cell(0, 0).HasCell());
}

TEST_F(FlectorTest, AListWithItsOwnDefinitionUsesIt) {
    indFlector f(tex, "GI_Sheet_Sel_Own", cmcCellIds::CellByName("Flex0"), 7);
    EXPECT_EQ(&f.SheetTexts(), &tex);
    auto sheet = BuildList(f);
    EXPECT_EQ(sheet->FixedRows(), 1);
    EXPECT_TRUE(f.IsStart(sheet->Cell(0, 1)));
}

TEST(FlectorPlace, TheWindowGoesBelowAboveOrBesideItsCell) {
    const indFlector::Rect work{0, 0, 1000, 800};
    struct Case {
        const char* what;
        indFlector::Rect cell;
        int32_t w, h;
        int32_t x, y;
    } cases[] = {
        {"below, 8 right of the cell", {100, 100, 200, 120}, 150, 300, 108, 120},
        {"above when below passes the bottom", {100, 600, 200, 620}, 150, 300, 108, 300},
        {"bottom aligned when neither fits", {100, 300, 200, 320}, 150, 600, 108, 200},
        {"kept inside the right edge", {900, 100, 990, 120}, 150, 300, 850, 120},
        {"left of the cell when it fits nowhere else", {900, 300, 990, 320}, 150, 600, 750, 200},
        {"larger than the work area stays on it", {10, 10, 50, 30}, 1200, 900, 0, 0},
    };
    for (const Case& c : cases) {
        indFlector::Point p = indFlector::Place(c.cell, c.w, c.h, work);
        EXPECT_EQ(p.x, c.x) << c.what;
        EXPECT_EQ(p.y, c.y) << c.what;
    }
}

TEST_F(FlectorTest, TheAnswerStoresTheChosenEntryThroughTheOpeningCellsChoice) {
    cmcFCache lists(tex);
    cmcCodecEnv env(&tex, &lists, nullptr);
    indFlector f(tex, "GI_Sheet_Sel_Mode", cmcCellIds::CellByName("Flex0"), 0);
    auto sheet = BuildList(f);

    int refreshed = 0;
    cmcCellObj openerCell;
    cmcCellCapsule opener;
    opener.cell = &openerCell;
    opener.key = 13;
    opener.groupIndex = 3;
    opener.refresh = [](void* context, cmcCellCapsule&, uint8_t) { ++*static_cast<int*>(context); };
    opener.refreshContext = &refreshed;

    cmcCellCapsule chosen;
    chosen.cell = &sheet->Cell(1, 1); // "Low", value 2
    cmcCellCapsule answer = indFlector::Answer(opener, chosen);
    EXPECT_EQ(answer.link, &chosen);
    EXPECT_EQ(answer.cell, &openerCell);
    EXPECT_EQ(answer.editState, cmcCellCapsule::kEditChosen);
    EXPECT_EQ(answer.key, 0);
    EXPECT_EQ(answer.groupIndex, 3);
    answer.Refresh(1);
    EXPECT_EQ(refreshed, 1);

    cmcCodecIo io = cmcCodecIo::FromCapsule(answer);
    int32_t value = 0;
    EXPECT_TRUE(
        cmcChoiceCodecs::EditChoice(io, env, value, "GI_Sheet_Sel_Mode", cmcCellIds::CellByName("Flex0")));
    EXPECT_EQ(value, 2);
}

} // namespace

// Finding cells by their shown text on the shipped LMR initial data: either case alike, the whole cell
// on request, every tree sheet in tree order then row then column, and the text a replace types.
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFind.h"
#include "sheets/iuiSheetTable.h"

#include "ShippedLmrData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

TEST(SheetFindText, HoldsAndReplacesEitherCaseOrTheWholeCell) {
    struct Case {
        const char* cell;
        const char* text;
        bool whole;
        bool holds;
        const char* replaced; // with "X"
    };
    const Case cases[] = {
        {"CH 3", "ch 3", false, true, "X"},
        {"CH 13", "ch 3", false, false, "CH 13"}, // "CH 1" then "3": no blank between
        {"CH 13", "H 1", false, true, "CX3"},
        {"ch ch CH", "CH", false, true, "X X X"},
        {"CH 3", "CH", true, false, "CH 3"},
        {" CH 3 ", "ch 3", true, true, "X"},
        {"151.625000", "625", false, true, "151.X000"},
        {"two\nlines", "o l", false, true, "twXines"},
        {"anything", "", false, false, "anything"},
        {"", "", true, false, ""},
    };
    for (const Case& c : cases) {
        iuiSheetFind::Options options;
        options.wholeCell = c.whole;
        EXPECT_EQ(iuiSheetFind::Holds(c.cell, c.text, options), c.holds) << c.cell << " / " << c.text;
        EXPECT_EQ(iuiSheetFind::Replaced(c.cell, c.text, "X", options), c.replaced)
            << c.cell << " / " << c.text;
    }
}

struct SheetFind : testing::Test, ShippedLmrData {
    void SetUp() override {
        Load();
        env.makerMode = true;
    }
    std::vector<iuiSheetFind::Target> Targets() {
        return iuiSheetFind::TreeTargets(iuiTreeSheets::Nodes(tables.Text(), work.Data(), {0, true, true}));
    }
    std::vector<iuiSheetFind::Match> Find(const std::string& text, bool whole = false) {
        iuiSheetFind::Options options;
        options.wholeCell = whole;
        return iuiSheetFind::InSheets(env, *handler, *codecs, Targets(), text, options);
    }
};

TEST_F(SheetFind, NamesTheBankRowAndColumnOfAChannelName) {
    for (const char* text : {"CH 3", "ch 3", "Ch 3"}) {
        const auto found = Find(text, true);
        ASSERT_EQ(found.size(), 1u) << text;
        const iuiSheetFind::Match& m = found[0];
        EXPECT_EQ(m.sheet, kBank0);
        EXPECT_EQ(m.caption, "BANK 1");
        EXPECT_EQ(m.row, 2);
        EXPECT_EQ(m.header, "Name");
        EXPECT_EQ(m.text, "CH 3");
        EXPECT_FALSE(m.label.empty());
        // The cell in the sheet's own grid shows the same text.
        iuiSheetTable table(env, *handler, *codecs, m.sheet);
        EXPECT_EQ(table.SheetColumn(m.column), m.sheetCol);
        EXPECT_EQ(table.SheetRow(m.row), m.sheetRow);
        EXPECT_EQ(table.Text(m.row, m.column), "CH 3");
    }
    EXPECT_TRUE(Find("CH", true).empty());
    EXPECT_TRUE(Find("no such text anywhere").empty());
}

TEST_F(SheetFind, AllSheetsComeInTreeOrderThenRowThenColumn) {
    const auto targets = Targets();
    for (const auto& t : targets)
        EXPECT_EQ(t.sheet.find("GI_Sheet_EeDebug"), std::string::npos) << "memory bytes are not searched";
    const auto found = Find("ch");
    ASSERT_GT(found.size(), 10u);
    auto order = [&](const iuiSheetFind::Match& m) {
        size_t at = 0;
        while (at < targets.size() && targets[at].sheet != m.sheet)
            ++at;
        return std::tuple(at, m.row, m.column);
    };
    size_t sheets = 1;
    for (size_t i = 1; i < found.size(); ++i) {
        EXPECT_LT(order(found[i - 1]), order(found[i])) << found[i].sheet << " row " << found[i].row;
        sheets += found[i].sheet != found[i - 1].sheet ? 1 : 0;
    }
    EXPECT_GT(sheets, 2u);
    // One sheet's table holds just that sheet's share, in the same order.
    iuiSheetTable bank(env, *handler, *codecs, kBank0);
    const auto inBank = iuiSheetFind::InTable(bank, "", "ch", {});
    size_t expected = 0;
    for (const auto& m : found)
        expected += m.sheet == kBank0 ? 1 : 0;
    EXPECT_EQ(inBank.size(), expected);
}

} // namespace

#include "cells/cmcFCache.h"

#include "cells/CodecTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

CodecFixture Lists() {
    return CodecFixture({
        {"OnOff_Cells", {"|{(%Flex0[0]:Off)}|{(%Flex0[1]:On)}|"}},
        // Two columns of three rows: stepping runs down the first column, then the second.
        {"Grid_Cells",
         {"|{(%Flex0[40])}D|{(%Flex0[10])}A|", "|{(%Flex0[50])}E|{(%Flex0[20])}B|",
          "|{(%Flex0[60])}F|{(%Flex0[30])}C|"}},
        {"Twice_Cells", {"|{(%Flex0[1]:a)}|{(%Flex0[1]:b)}|{(%Flex0[2]:c)}|"}},
        // A cell without its own parameter keeps the one before it; other choice cells are not entries.
        {"Mixed_Cells", {"|{(%Flex0[7])}seven|{(%Flex0)}again|{(%FlexMark[3]:mark)}|{(%CL_Null[9])}nine|"}},
        {"Empty_Cells", {"|{(%Flex0[1])}x|", "", "|{(%Flex0[2])}y|"}},
    });
}

} // namespace

TEST(cmcFCache, TextsAndSteppingOfAList) {
    CodecFixture f = Lists();
    struct Row {
        const char* list;
        int32_t cell;
        int32_t value;
        const char* text;
        int32_t up;
        int32_t down;
    };
    const Row rows[] = {
        {"OnOff", 1, 0, "Off", 1, 1},
        {"OnOff", 1, 1, "On", 0, 0},
        {"OnOff", 1, 5, "error", 0, 0}, // not in the list: the first entry either way
        {"Grid", 1, 10, "A", 20, 60},   // order: 40 50 60 down the first column, then 10 20 30
        {"Grid", 1, 30, "C", 40, 20},
        {"Grid", 1, 60, "F", 10, 50},
        {"Twice", 1, 2, "c", 1, 1},
        {"Twice", 1, 1, "a", 2, 2}, // equal values: the first in position order, never stuck on it
        {"Mixed", 1, 7, "seven", 7, 7},
        {"Mixed", 4, 3, "mark", 3, 3},
        {"Mixed", 1, 9, "error", 7, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.list) + " " + std::to_string(r.value));
        EXPECT_EQ(f.lists.TextOfValue(r.list, r.cell, r.value), r.text);
        EXPECT_EQ(f.lists.StepValue(r.list, r.cell, r.value, +1), r.up);
        EXPECT_EQ(f.lists.StepValue(r.list, r.cell, r.value, -1), r.down);
    }
}

TEST(cmcFCache, ListShape) {
    CodecFixture f = Lists();
    const cmcChoiceList& grid = f.lists.List("Grid", 1);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.WidestRow(), 3); // the empty cell before the first '|' counts
    ASSERT_EQ(grid.EntryCount(), 6);
    EXPECT_EQ(grid.ByPosition()[0].column, 1);
    EXPECT_EQ(grid.ByPosition()[3].column, 2);
    EXPECT_EQ(f.lists.List("Mixed", 1).EntryCount(), 2);
}

TEST(cmcFCache, EachListIsBuiltOnceAndClearedOnRequest) {
    CodecFixture f = Lists();
    const cmcChoiceList* first = &f.lists.List("OnOff", 1);
    EXPECT_EQ(&f.lists.List("OnOff", 1), first);
    f.lists.List("OnOff", 4); // another choice cell is another list
    EXPECT_EQ(f.lists.BuiltCount(), 2);
    f.lists.Clear();
    EXPECT_EQ(f.lists.BuiltCount(), 0);
    EXPECT_EQ(f.lists.TextOfValue("OnOff", 1, 1), "On");
    // A very long list name still forms a usable key.
    std::string longName(300, 'L');
    EXPECT_NE(FatalText([&] { f.lists.List(longName, 1); }).find(longName + "_Cells"), std::string::npos);
}

TEST(cmcFCache, BrokenListsAreConfigurationErrors) {
    CodecFixture f = Lists();
    EXPECT_EQ(FatalText([&] { f.lists.List("Missing", 1); }),
              "GTEX Error !\nThe index 'Missing_Cells' was not found.");
    EXPECT_NE(
        FatalText([&] { f.lists.List("Empty", 1); }).find("Empty line in the choice list 'Empty_Cells'"),
        std::string::npos);
    EXPECT_EQ(f.lists.BuiltCount(), 0); // nothing half-built is kept
}

TEST(cmcFCache, ShippedListsOfTheValueCellsBuild) {
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    cmcGTex texts;
    texts.OpenFile(std::string(source) + "/data/ENG.OVL");
    cmcFCache lists(texts);
    struct Row {
        const char* list;
        int32_t cell;
        int32_t entries;
        int32_t value;
        const char* text;
    };
    const Row rows[] = {
        {"GI_Sheet_Sel_Mch_CTone", 1, 51, 12, "100.0"}, {"GI_Sheet_Sel_Mch_CTone", 5, 1, 53, "DTCS"},
        {"GI_Sheet_Sel_ScanZoneSel", 8, 9, 8, "Null"},  {"GI_Sheet_Sel_ScanCHSel", 14, 16, 15, "CH 16"},
        {"GI_Sheet_Sel_RxC_AbcSel", 1, 1, 0, "OFF"},    {"GI_Sheet_Sel_RxC_AbcSel", 2, 1, 1, "code"},
        {"GI_Sheet_Sel_RxC_AbcCode", 1, 32, 32, "32"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.list);
        EXPECT_EQ(lists.List(r.list, r.cell).EntryCount(), r.entries);
        EXPECT_EQ(lists.TextOfValue(r.list, r.cell, r.value), r.text);
    }
    // The tone list steps from off through every tone and back.
    EXPECT_EQ(lists.StepValue("GI_Sheet_Sel_Mch_CTone", 1, 52, 1), 0);
    EXPECT_EQ(lists.StepValue("GI_Sheet_Sel_Mch_CTone", 1, 49, 1), 52);
}

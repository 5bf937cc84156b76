// A sheet as a table on the shipped LMR initial data: values typed through it take the cells' lists
// without showing the program's list windows, and a bank grows through its blank row.
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetTable.h"

#include "ShippedLmrData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The program's windows: typing must never open one.
struct CountingWindows : cmcCellWindows {
    int opened = 0;
    void OpenList(const cmcCellCapsule*, std::string_view, int32_t, int32_t) override { ++opened; }
    void OpenBits(const cmcCellCapsule*, int32_t, int32_t, int32_t, int32_t, std::string_view) override {
        ++opened;
    }
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {
        ++opened;
    }
    void OpenCharEditor(const cmcCellCapsule*, int32_t) override { ++opened; }
    bool AskPassword(const cmcCellCapsule*, std::string&) override { return ++opened, false; }
};

struct SheetTable : testing::Test, ShippedLmrData {
    CountingWindows windows;

    void SetUp() override { Load(&windows); }
};

TEST_F(SheetTable, TypedValuesTakeListEntriesWithoutOpeningWindows) {
    iuiSheetTable table(env, *handler, *codecs, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    const int32_t power = table.ColumnOf("RF power");
    const int32_t name = table.ColumnOf(" name ");
    ASSERT_GE(power, 0);
    ASSERT_GE(name, 0);
    EXPECT_EQ(table.Header(name), "Name");

    struct Case {
        int32_t column;
        const char* text;
        bool accepted;
        const char* shown;
    };
    const Case cases[] = {
        {power, "low1", true, "Low1"},  // a list entry, case aside
        {power, "Low", false, "Low1"},  // no such entry: refused, the value kept
        {name, "ALPHA", true, "ALPHA"}, // entered text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const iuiCellTyping::Outcome outcome = table.Type(1, c.column, c.text);
        EXPECT_EQ(outcome.accepted, c.accepted);
        EXPECT_EQ(table.Text(1, c.column), c.shown);
        if (!c.accepted) {
            EXPECT_EQ(outcome.Refusal(), "refused: Not in the list: choose one of its entries");
        }
    }
    EXPECT_EQ(windows.opened, 0);
    EXPECT_EQ(codecs->Windows(), &windows);
}

TEST(CellTyping, ShownAndTypedTextsCompare) {
    struct Case {
        const char* shown;
        const char* typed;
        bool same;
    };
    const Case cases[] = {
        {"CH 1", " ch 1 ", true},        // case and blanks aside
        {"151.625000", "151.625", true}, // a spreadsheet's number
        {"  0.000", "0", true},
        {"-1.50", "-1.5", true},
        {"0012", "12", false},   // a code keeps its zeros
        {"1e2", "100.0", false}, // no exponents
        {"151.625000", "151.6250001", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(iuiCellTyping::Same(c.shown, c.typed), c.same) << c.shown << " / " << c.typed;
}

TEST_F(SheetTable, BankGrowsThroughItsBlankRow) {
    iuiSheetTable table(env, *handler, *codecs, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    ASSERT_EQ(table.DataRowCount(), 4);
    ASSERT_TRUE(table.IsBlankRow(4));
    const int32_t rx = table.ColumnOf("RX frequency (MHz)");
    // Carriage return makes the new row's channel; a frequency outside every band is still refused.
    const iuiCellTyping::Outcome outside = table.Type(4, rx, "999");
    EXPECT_FALSE(outside.accepted);
    EXPECT_EQ(outside.Refusal(), "refused: Out of the radio's band: 0.002500\u2013799.997500 MHz");
    EXPECT_TRUE(table.Type(4, rx, "155.5").accepted);
    table.Rebuild();
    EXPECT_EQ(table.DataRowCount(), 5);
    EXPECT_FALSE(table.IsBlankRow(4));
    EXPECT_TRUE(table.IsBlankRow(5));
    EXPECT_EQ(table.Text(4, rx), "155.500000");
    EXPECT_EQ(table.Text(4, table.ColumnOf("No.")), "1-  5");
}

} // namespace

// The order a column sort gives: how keys compare by what they mean, and a stable order that keeps
// blank keys and empty entries last in either direction; and a bank sheet built on the initial data
// sorted by the texts its column shows, only while it shows every channel of the bank.
#include "sheets/iuiSheetSort.h"

#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indRowCommands.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"

#include "ShippedLmrData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

int Sign(int v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

TEST(SheetSort, KeysCompareByWhatTheyMean) {
    struct Case {
        const char* a;
        const char* b;
        int sign; // of Compare(a, b)
    };
    const Case cases[] = {
        {"9.5", "10", -1},                // numbers by value, not by their first digit
        {"151.625000", "151.955000", -1}, // frequencies
        {"9.25", "9.5", -1},              // decimals by value
        {"-3", "2", -1},
        {"10.0", "10", 1},     // the same value: the texts decide, so the order is still total
        {"CH 2", "ch 10", -1}, // digit runs in a text by value, without regard to case
        {"Alpha", "alpha", 0},
        {"abc", "ABD", -1},
        {"CH 02", "CH 2", 0},
        {"67.0", "OFF", -1}, // numbers before other texts
        {"<-", "154.6", 1},
        {"", "a", 1}, // blank keys last
        {"  ", "0", 1},
        {"", " ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " : " + c.b);
        EXPECT_EQ(Sign(iuiSheetSort::Compare(c.a, c.b)), c.sign);
        EXPECT_EQ(Sign(iuiSheetSort::Compare(c.b, c.a)), -c.sign);
    }
}

TEST(SheetSort, TheOrderIsStableAndKeepsBlankKeysAndEmptyEntriesLast) {
    const std::vector<std::string> keys = {"b", "A", "", "a", "c", "10", "9.5"};
    const std::vector<bool> empty = {false, false, false, false, true, false, false};
    // Entry i goes to position order[i]. Ascending: 9.5, 10, A, a (tied, in their order), b, then
    // the blank key, then the empty entry.
    EXPECT_EQ(iuiSheetSort::Order(keys, empty, false), (std::vector<int32_t>{4, 2, 5, 3, 6, 1, 0}));
    // Descending: b, A, a (still in their order), 10, 9.5, then the blank key and the empty entry.
    EXPECT_EQ(iuiSheetSort::Order(keys, empty, true), (std::vector<int32_t>{0, 1, 5, 2, 6, 3, 4}));
    EXPECT_EQ(iuiSheetSort::Order({}, {}, false), std::vector<int32_t>{});
}

struct BankSort : testing::Test, ShippedLmrData {
    std::unique_ptr<indRowCommands> rows;

    void SetUp() override {
        Load();
        handler->shownBank = 0;
        indRowCommands::Services rs;
        rs.work = &work;
        rs.defaults = &defaults;
        rs.handler = handler.get();
        rows = std::make_unique<indRowCommands>(rs);
        ASSERT_GE(indLayout::GroupCount(work.Data(), 0), 3);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int n = 0; n < indLayout::GroupCount(work.Data(), 0); ++n) {
            cmcCellObj cell;
            cell.category = CT_Mch;
            cell.cell = CL_Mch_Text;
            cell.parameter = n;
            names.push_back(handler->CellText(cell, 0));
        }
        return names;
    }
};

TEST_F(BankSort, ABankSheetSortsByTheTextsItShowsWhenItShowsEveryChannel) {
    auto sheet = iuiSheetFactory::Build(env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    EXPECT_EQ(iuiSheetSort::ColumnOf(*sheet, handler.get(), "Band-width"),
              iuiSheetSort::ColumnOf(*sheet, handler.get(), "band- WIDTH"));
    EXPECT_GE(iuiSheetSort::ColumnOf(*sheet, handler.get(), "Band-width"), 0);
    EXPECT_EQ(iuiSheetSort::ColumnOf(*sheet, handler.get(), "Frequency"), -1);
    const int32_t name = iuiSheetSort::ColumnOf(*sheet, handler.get(), "Name");
    ASSERT_GE(name, 0);
    const std::vector<std::string> before = Names();

    // The sheet's row of the bank's last channel no longer shows it: the sheet sorts nothing.
    const int32_t last = indLayout::GroupCount(work.Data(), 0) - 1;
    for (int32_t r = sheet->FixedRows(); r < sheet->RowCount(); ++r) {
        if (sheet->Cell(name, r).category == CT_Mch && sheet->Cell(name, r).parameter == last) {
            for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                sheet->Cell(c, r).category = CT_Null;
            }
        }
    }
    const cmcEeprom unsorted = work;
    EXPECT_EQ(iuiSheetSort::Sort(*sheet, *handler, *rows, name, true), indRowCommands::Result::NotHere);
    EXPECT_TRUE(work == unsorted);

    sheet = iuiSheetFactory::Build(env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    ASSERT_EQ(iuiSheetSort::Sort(*sheet, *handler, *rows, name, true), indRowCommands::Result::Done);
    EXPECT_EQ(Names(), std::vector<std::string>(before.rbegin(), before.rend()));
}

} // namespace

// The memory channel cell table: each cell is served by one row with one behaviour, and the option
// rows name the channel field they edit.
#include "model/indMchBehaviours.h"
#include "model/indMchCells.h"
#include "model/indMchTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(indMchTable, EachCellHasOneRowWithOneBehaviour) {
    std::set<int32_t> seen;
    for (const indMchRow& r : indMchTable::Rows()) {
        SCOPED_TRACE(r.cell);
        EXPECT_TRUE(seen.insert(r.cell).second) << "a second row would never run";
        EXPECT_NE(r.run == nullptr, r.bankRun == nullptr);
        EXPECT_EQ(indMchTable::Find(r.cell), &r);
        if (r.run == &indMchBehaviours::Choice) {
            EXPECT_NE(r.field, datCh::Field::Count);
            EXPECT_NE(r.list, nullptr);
        }
        if (r.dashes != indMchCond::None) {
            EXPECT_STRNE(r.dashText, "");
        }
    }
    for (int32_t cell = -1; cell <= 1754; ++cell)
        EXPECT_EQ(indMchCells::Serves(cell), seen.count(cell) == 1) << cell;
    EXPECT_EQ(indMchTable::Find(-1), nullptr);
    EXPECT_EQ(indMchTable::Find(1754), nullptr);
}

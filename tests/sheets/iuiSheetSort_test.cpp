// The order a column sort gives: how keys compare by what they mean, and a stable order that keeps
// blank keys and empty entries last in either direction.
#include "sheets/iuiSheetSort.h"

#include <gtest/gtest.h>

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

} // namespace

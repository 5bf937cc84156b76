#pragma once
// The fixed name tables of cell categories and cell identifiers, in number order, and the kind of
// decoded radio record behind each category. Lookups by name go through cmcCellIds.
#include <cstdint>

struct cmcCellNames {
    static constexpr int32_t kCategoryCount = 47;
    static constexpr int32_t kCellCount = 1754;

    static const char* const kCategories[kCategoryCount];
    static const char* const kCells[kCellCount];
    // Record kind per category; -1 for the memory channel categories, whose kind is the model
    // family plus 1.
    static const int8_t kRecordKinds[kCategoryCount];
};

#include "cells/cmcCellIds.h"

#include "cells/cmcCellNames.h"
#include "core/cmcFatal.h"
#include "core/cmcHash.h"

namespace {

// Categories and cells sit in two tables, so that a cell name given as a category (or the other way
// round) is refused instead of yielding a number from the wrong table.
const cmcHash& CategoryTable() {
    static const cmcHash table = [] {
        cmcHash t;
        for (int32_t i = 0; i < cmcCellNames::kCategoryCount; ++i)
            t.Insert(cmcCellNames::kCategories[i], static_cast<uint32_t>(i));
        return t;
    }();
    return table;
}

const cmcHash& CellTable() {
    static const cmcHash table = [] {
        cmcHash t;
        for (int32_t i = 0; i < cmcCellNames::kCellCount; ++i)
            t.Insert(cmcCellNames::kCells[i], static_cast<uint32_t>(i));
        return t;
    }();
    return table;
}

} // namespace

int32_t cmcCellIds::CategoryByName(std::string_view name) {
    if (name.empty())
        return kNoCategory;
    if (auto found = CategoryTable().Find(name))
        return static_cast<int32_t>(*found);
    cmcFatal("Cannot use the specified category.\n'" + std::string(name) + "'");
}

int32_t cmcCellIds::CellByName(std::string_view name) {
    if (name.empty())
        return kNoCell;
    if (auto found = CellTable().Find(name))
        return static_cast<int32_t>(*found);
    cmcFatal("Cannot use the specified cell.\n'" + std::string(name) + "'");
}

std::string cmcCellIds::CellName(int32_t cell) {
    if (cell < 0 || cell >= cmcCellNames::kCellCount)
        return {};
    return cmcCellNames::kCells[cell];
}

std::string cmcCellIds::CategoryName(int32_t category) {
    if (category < 0 || category >= cmcCellNames::kCategoryCount)
        return {};
    return cmcCellNames::kCategories[category];
}

int32_t cmcCellIds::RecordKindOfCategory(int32_t category, int32_t modelFamily) {
    if (category == kNoCategory)
        return 0;
    if (category < 0 || category > kNoCategory)
        cmcFatal("Unknown Cell Category. (" + std::to_string(category) + ")");
    const int32_t kind = cmcCellNames::kRecordKinds[category];
    if (kind < 0)
        return modelFamily == 1 ? 2 : 1;
    return kind;
}

#include "cells/cmcCellIds.h"

#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "core/cmcFatal.h"
#include "core/cmcHash.h"

#include <cstdlib>

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

namespace {

int IndexOfName(const char* const* names, int count, std::string_view name) {
    for (int i = 0; i < count; ++i)
        if (name == names[i])
            return i;
    return -1;
}

} // namespace

cmcCellIds::AddressFault cmcCellIds::ParseAddress(std::string_view address, cmcCellObj& cell) {
    cell = cmcCellObj();
    std::string_view rest = address;
    const size_t dot = rest.find('.');
    if (dot != std::string_view::npos) {
        const int category =
            IndexOfName(cmcCellNames::kCategories, cmcCellNames::kCategoryCount, rest.substr(0, dot));
        if (category < 0)
            return AddressFault::Category;
        cell.category = category;
        rest.remove_prefix(dot + 1);
    }
    const size_t open = rest.find('[');
    const int number = IndexOfName(cmcCellNames::kCells, cmcCellNames::kCellCount, rest.substr(0, open));
    if (number < 0)
        return AddressFault::Cell;
    cell.cell = number;
    if (open != std::string_view::npos) {
        const size_t close = rest.find(']', open);
        if (close == std::string_view::npos || close != rest.size() - 1)
            return AddressFault::Parameter;
        const std::string digits(rest.substr(open + 1, close - open - 1));
        char* end = nullptr;
        const long value = std::strtol(digits.c_str(), &end, 10);
        if (digits.empty() || *end != 0 || value < 0 || value > 100000)
            return AddressFault::Parameter;
        cell.parameter = int32_t(value);
    }
    return AddressFault::None;
}

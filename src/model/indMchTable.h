#pragma once
// The declarative table of the memory channel and bank cells: for each cell the behaviour that runs
// it and, for the option cells, the channel field, choice lists, grey and dashes conditions and marks.
#include "cells/cmcCellCapsule.h"
#include "model/datCh.h"
#include "model/indMchContext.h"

#include <cstdint>
#include <span>

struct indCellCall;

struct indMchRow {
    // Warnings and errors of the option cells.
    enum class Mark : uint8_t { None, WnmWarn, MuteWarn, MoniWarn, SelError, CallError };
    // A cell of one channel row.
    using ChannelRun = bool (*)(indMchContext& x, const indMchRow& row, int32_t& result);
    // A cell of a bank or of every bank; runs before the channel checks, whatever the category.
    using BankRun = bool (*)(indCellCall& call, int32_t& result);

    int32_t cell = 0;
    ChannelRun run = nullptr;
    BankRun bankRun = nullptr;
    datCh::Field field = datCh::Field::Count; // the channel field the cell edits, if one
    const char* list = nullptr;
    const char* listPmr = nullptr; // the list in the PMR family, when it differs
    bool typed = false;            // EditChoiceTyped: a number a user may also type
    bool flexMark = false;         // the choice marks the stored value
    indMchCond grey = indMchCond::None;
    indMchCond dashes = indMchCond::None; // shows dashText in grey instead of the value
    const char* dashText = "";
    uint8_t scope = 0; // refresh scope a change adds
    Mark mark = Mark::None;
    int16_t minimum = 0, maximum = 0; // stepped numbers

    // Builders for the table.
    constexpr indMchRow InPmr(const char* pmrList) const {
        indMchRow r = *this;
        r.listPmr = pmrList;
        return r;
    }
    constexpr indMchRow Typed() const {
        indMchRow r = *this;
        r.typed = true;
        return r;
    }
    // Marks the stored value in the list and refreshes every cell after a change.
    constexpr indMchRow FlexMark() const {
        indMchRow r = RedrawsAll();
        r.flexMark = true;
        return r;
    }
    constexpr indMchRow RedrawsAll() const {
        indMchRow r = *this;
        r.scope = cmcCellCapsule::kScopeAll;
        return r;
    }
    constexpr indMchRow GreyWhen(indMchCond c) const {
        indMchRow r = *this;
        r.grey = c;
        return r;
    }
    constexpr indMchRow DashesWhen(indMchCond c, const char* text) const {
        indMchRow r = *this;
        r.dashes = c;
        r.dashText = text;
        return r;
    }
    constexpr indMchRow Marks(Mark m) const {
        indMchRow r = *this;
        r.mark = m;
        return r;
    }
    constexpr indMchRow Range(int lowest, int highest) const {
        indMchRow r = *this;
        r.minimum = int16_t(lowest);
        r.maximum = int16_t(highest);
        return r;
    }
};

class indMchTable {
public:
    // Every row: bank cells first, then the cells of a channel row.
    static std::span<const indMchRow> Rows();
    // The row of a cell number, or nullptr when the family does not serve the cell.
    static const indMchRow* Find(int32_t cell);
};

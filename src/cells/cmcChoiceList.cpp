#include "cells/cmcChoiceList.h"

#include <algorithm>

cmcChoiceList::cmcChoiceList(std::vector<Entry> entries, int32_t rowCount, int32_t widestRow)
    : m_rowCount(rowCount), m_widestRow(widestRow), m_byValue(std::move(entries)) {
    std::stable_sort(m_byValue.begin(), m_byValue.end(),
                     [](const Entry& a, const Entry& b) { return a.value < b.value; });
    m_byPosition = m_byValue;
    auto position = [rowCount](const Entry& e) { return int64_t(e.row) + int64_t(rowCount) * e.column; };
    std::stable_sort(m_byPosition.begin(), m_byPosition.end(),
                     [&](const Entry& a, const Entry& b) { return position(a) < position(b); });
}

const cmcChoiceList::Entry* cmcChoiceList::FindByValue(int32_t value) const {
    auto it = std::lower_bound(m_byValue.begin(), m_byValue.end(), value,
                               [](const Entry& e, int32_t v) { return e.value < v; });
    return it != m_byValue.end() && it->value == value ? &*it : nullptr;
}

std::string_view cmcChoiceList::TextOfValue(int32_t value) const {
    const Entry* e = FindByValue(value);
    return e ? std::string_view(e->text) : kError;
}

int32_t cmcChoiceList::StepValue(int32_t current, int32_t step) const {
    int32_t count = EntryCount();
    if (count == 0)
        return current;
    int32_t i = 0;
    while (i < count && m_byPosition[i].value != current)
        ++i;
    if (i == count) // not in the list: the first entry, whichever way
        return m_byPosition[0].value;
    // Entries sharing the current value are passed over, so that stepping never sticks on a value
    // that a list holds twice.
    int64_t next = i;
    for (int32_t n = 0; n < count; ++n) {
        next += step;
        if (next >= count)
            next = 0;
        else if (next < 0)
            next = count - 1;
        if (m_byPosition[static_cast<size_t>(next)].value != current)
            break;
    }
    return m_byPosition[static_cast<size_t>(next)].value;
}

#pragma once
// One choice list of the overlay in the form the value codecs use it: its entries sorted by value for
// the text of a stored value, and in list window order (down each column, then the next column) for
// stepping.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cmcChoiceList {
public:
    struct Entry {
        int32_t row = 0;    // line within the list section
        int32_t column = 0; // cell index within the line (the empty cell before the first '|' is 0)
        int32_t value = 0;  // the cell's parameter
        std::string text;   // the cell's ':' argument, else its display text
    };

    // Text shown for a value that is not in its list.
    static constexpr std::string_view kError = "error";

    cmcChoiceList() = default;
    // entries in order of appearance; rowCount is the number of lines of the list.
    cmcChoiceList(std::vector<Entry> entries, int32_t rowCount, int32_t widestRow);

    // The text of value (binary search); kError when it is not in the list.
    std::string_view TextOfValue(int32_t value) const;
    // The value after (step +1) or before (step -1) current in stepping order, wrapping at the ends; a
    // current value that is not in the list steps to the first entry. current itself for an empty list.
    int32_t StepValue(int32_t current, int32_t step) const;
    bool Contains(int32_t value) const { return FindByValue(value) != nullptr; }

    int32_t RowCount() const { return m_rowCount; }
    int32_t WidestRow() const { return m_widestRow; }
    int32_t EntryCount() const { return static_cast<int32_t>(m_byPosition.size()); }
    // Entries in stepping (list window) order.
    const std::vector<Entry>& ByPosition() const { return m_byPosition; }

private:
    const Entry* FindByValue(int32_t value) const;

    int32_t m_rowCount = 0;
    int32_t m_widestRow = 0;
    std::vector<Entry> m_byValue;
    std::vector<Entry> m_byPosition;
};

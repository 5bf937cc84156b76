#pragma once
// The list of data files most recently opened or saved, newest first, behind the File menu's recent
// items. The environment object owns it and keeps it in the settings store.
#include <string>
#include <string_view>
#include <vector>

class cmcRecent {
public:
    explicit cmcRecent(int capacity);

    void Clear() { m_entries.clear(); }
    int Count() const { return static_cast<int>(m_entries.size()); }
    int Capacity() const { return m_capacity; }

    // Puts path first (after an open or save), dropping any equal entry and the oldest beyond capacity.
    void AddFront(std::string_view path);
    // Appends path (loading the stored list keeps its order), dropping any equal entry and the excess.
    void AddBack(std::string_view path);
    // Removes the entry equal to path, if any.
    void Remove(std::string_view path);

    // Entry index as the menu shows it: only the file name when the entry lies in folder, else the
    // full path; an empty folder always gives the full path; an index past the list gives "".
    std::string DisplayText(int index, std::string_view folder) const;

    // Caption of recent item index: "&<index + 1> <display text>" with the text's ampersands doubled
    // so that they show; "" when the slot is unused (the item is then disabled).
    std::string MenuCaption(int index, std::string_view folder) const;

private:
    void RemoveEqual(std::string_view path);
    void Trim();

    int m_capacity;
    std::vector<std::string> m_entries;
};

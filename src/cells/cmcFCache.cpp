#include "cells/cmcFCache.h"

#include "cells/cmcCellObj.h"
#include "core/cmcFatal.h"
#include "core/cmcGTex.h"

#include <cstdio>
#include <cstring>
#include <string>

const cmcChoiceList& cmcFCache::List(std::string_view listName, int32_t choiceCell) {
    // The key "name#cell" is formed on the stack: this runs for every choice cell painted.
    char buffer[160];
    std::string longKey;
    std::string_view key;
    char digits[16];
    size_t digitCount = 1;
    if (choiceCell >= 0 && choiceCell < 10) { // the usual choice cells need no formatting
        digits[0] = static_cast<char>('0' + choiceCell);
    } else {
        int n = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(choiceCell));
        digitCount = n > 0 ? static_cast<size_t>(n) : 0;
    }
    if (listName.size() + 1 + digitCount <= sizeof buffer) {
        listName.copy(buffer, listName.size());
        buffer[listName.size()] = '#';
        std::memcpy(buffer + listName.size() + 1, digits, digitCount);
        key = std::string_view(buffer, listName.size() + 1 + digitCount);
    } else {
        longKey = std::string(listName) + "#" + std::string(digits, digitCount);
        key = longKey;
    }
    if (cmcChoiceList* list = m_index.Find(key))
        return *(m_lastAsked = list);
    auto list = std::make_unique<cmcChoiceList>(Build(listName, choiceCell));
    m_index.Insert(key, list.get());
    m_lists.push_back(std::move(list));
    m_lastAsked = m_lists.back().get();
    return *m_lists.back();
}

void cmcFCache::Clear() {
    m_lastAsked = nullptr;
    m_index = cmcHash2<cmcChoiceList>();
    m_lists.clear();
}

cmcChoiceList cmcFCache::Build(std::string_view listName, int32_t choiceCell) {
    std::string section = std::string(listName) + "_Cells";
    std::vector<cmcChoiceList::Entry> entries;
    cmcCellObj::Counters counters{};
    // One scratch cell for the whole list: a cell without its own parameter keeps the one before it.
    cmcCellObj cell;
    int32_t widest = 0;
    int32_t row = 0;
    for (;; ++row) {
        std::string line = m_texts->GetLine(section, row);
        if (!line.empty() && line[0] == '#')
            break;
        if (line.empty())
            cmcFatal("Empty line in the choice list '" + section + "' (line " + std::to_string(row) + ").");
        std::string_view rest = line;
        int32_t column = 0;
        do {
            rest = cell.ParseCell(rest, *m_texts, &counters, nullptr);
            if (cell.cell == choiceCell)
                entries.push_back(
                    {row, column, cell.parameter, cell.argument ? *cell.argument : cell.displayText});
            ++column;
        } while (!rest.empty());
        widest = column > widest ? column : widest;
    }
    return cmcChoiceList(std::move(entries), row, widest);
}

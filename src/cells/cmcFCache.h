#pragma once
// The choice list cache: each choice list of the main text table is parsed once, at its first use,
// and kept for the value codecs, which look up texts and step through values on every paint.
#include "cells/cmcChoiceList.h"
#include "core/cmcHash2.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class cmcGTex;

class cmcFCache {
public:
    explicit cmcFCache(cmcGTex& texts) : m_texts(&texts) {}
    cmcFCache(const cmcFCache&) = delete;
    cmcFCache& operator=(const cmcFCache&) = delete;

    // The list section listName + "_Cells", its entries being the cells numbered choiceCell; built
    // on first use. A missing section is the overlay's fatal error; so is an empty line inside it.
    const cmcChoiceList& List(std::string_view listName, int32_t choiceCell);
    // The entry text of value, or "error" when the list does not hold it.
    std::string_view TextOfValue(std::string_view listName, int32_t choiceCell, int32_t value) {
        return List(listName, choiceCell).TextOfValue(value);
    }
    // The next (step +1) or previous (step -1) value in list window order, wrapping.
    int32_t StepValue(std::string_view listName, int32_t choiceCell, int32_t current, int32_t step) {
        return List(listName, choiceCell).StepValue(current, step);
    }
    // Forgets every list, so that they are rebuilt from the text table (after a change of language).
    void Clear();
    int32_t BuiltCount() const { return static_cast<int32_t>(m_lists.size()); }
    // The list the last List call returned (null after ForgetLastAsked or Clear): a sheet asks which
    // list a cell shows its value from, to fit the column to every entry of it.
    const cmcChoiceList* LastAsked() const { return m_lastAsked; }
    void ForgetLastAsked() { m_lastAsked = nullptr; }

private:
    cmcChoiceList Build(std::string_view listName, int32_t choiceCell);

    cmcGTex* m_texts;
    cmcHash2<cmcChoiceList> m_index;
    std::vector<std::unique_ptr<cmcChoiceList>> m_lists;
    const cmcChoiceList* m_lastAsked = nullptr;
};

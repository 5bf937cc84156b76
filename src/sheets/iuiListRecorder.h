#pragma once
// The cell windows where no window can open (typing a text through the cells, the command line):
// remembers the list a cell asks to show and the cell its entries answer to; every other window
// stays closed and a password is never given.
#include "cells/cmcCellWindows.h"

#include <cstdint>
#include <string>
#include <string_view>

class iuiListRecorder : public cmcCellWindows {
public:
    std::string listName; // the last list asked for ("" when none)
    int32_t choiceCell = 0;
    void OpenList(const cmcCellCapsule*, std::string_view name, int32_t cell, int32_t) override {
        listName = name;
        choiceCell = cell;
    }
    void OpenBits(const cmcCellCapsule*, int32_t, int32_t, int32_t, int32_t, std::string_view) override {}
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {}
    void OpenCharEditor(const cmcCellCapsule*, int32_t) override {}
    bool AskPassword(const cmcCellCapsule*, std::string&) override { return false; }
};

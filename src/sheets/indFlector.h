#pragma once
// The toolkit-free half of a choice list window: the sheet definition the list is shown with, the
// entry it starts on, where the window goes beside its cell, and the answer sent back to that cell.
#include "cells/cmcCellCapsule.h"
#include "core/cmcGTex.h"

#include <cstdint>
#include <memory>
#include <string>

class cmcCellObj;

class indFlector {
public:
    struct Rect {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0; // exclusive
        int32_t bottom = 0;
        int32_t Width() const { return right - left; }
        int32_t Height() const { return bottom - top; }
    };
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
    };

    // A list whose entries are the entries of a radio data list (the ID lists, the MDC aliases): it
    // is shown by that list's own sheet (its sheet text names the sheet and the list's kind letter),
    // where each entry's row shows the entry's ID and name and its choice cell is the one to pick.
    struct DataList {
        int32_t choiceCell;
        const char* sheetText;
        int32_t kind; // the list's record kind, whose count says how many entries there are
    };
    // The data list a choice cell picks from, or null for lists of fixed entries.
    static const DataList* DataListOf(int32_t choiceCell);

    // listName is the overlay key of the list (its entries are listName + "_Cells"). A list that has
    // no _Style and _BasicCell of its own is shown with a private definition: its cells selectable,
    // widened to their texts, on the program's basic cell.
    indFlector(cmcGTex& texts, std::string listName, int32_t startCell, int32_t startParameter);
    ~indFlector();
    indFlector(const indFlector&) = delete;
    indFlector& operator=(const indFlector&) = delete;

    // The table the list sheet is built from, and its overlay key.
    cmcGTex& SheetTexts() { return m_private ? *m_private : m_texts; }
    const std::string& ListName() const { return m_listName; }
    int32_t StartCell() const { return m_startCell; }
    int32_t StartParameter() const { return m_startParameter; }
    // Whether an entry of the list is the one the window starts on.
    bool IsStart(const cmcCellObj& cell) const;

    // Top left of a window of width x height beside the cell (screen coordinates): below it, else
    // above it, else with its bottom on the work area's bottom; 8 pixels right of the cell's left,
    // kept inside the work area's right edge, or left of the cell when it fits there and nowhere else.
    static Point Place(const Rect& cell, int32_t width, int32_t height, const Rect& workArea);

    // The answer to the opening cell: a copy of the opener whose link is the chosen entry's capsule,
    // edit state "chosen" and no key. The opener's refresh callbacks stay, so its sheet repaints.
    static cmcCellCapsule Answer(const cmcCellCapsule& opener, cmcCellCapsule& chosen);

private:
    cmcGTex& m_texts;
    std::unique_ptr<cmcGTex> m_private;
    std::string m_listName;
    int32_t m_startCell;
    int32_t m_startParameter;
};

#pragma once
// One parsed cell text "{(attributes)}display text": what a sheet cell, menu, toolbar or tree entry or
// choice list entry shows and which behaviour (category, cell, parameter, argument) it is bound to.
#include "cells/cmcCellFont.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class cmcGTex;

class cmcCellObj {
public:
    // The counters @ch0 to @ch9 of one sheet build, shared by all its cells.
    using Counters = std::array<int32_t, 10>;

    // Layout flag bits.
    static constexpr uint8_t kHAlignMask = 0x03; // 0 left, 1 centre, 2 right
    static constexpr uint8_t kVAlignMask = 0x0C; // 0 top, 1 middle, 2 bottom (bits 2-3)
    static constexpr uint8_t kWiden = 0x10;      // W: widen the column to the text
    static constexpr uint8_t kHeighten = 0x20;   // H: heighten the row to the text
    static constexpr uint8_t kJoined = 0x40;     // +: drawn as part of the cell to its left
    static constexpr uint8_t kBottomRule = 0x80; // B
    // Mark flag bits; bits 4-7 are Flag0 to Flag3.
    static constexpr uint8_t kRuleMask = 0x03;   // right rule: 0 none, 1 full X, 2 lower part Q
    static constexpr uint8_t kSelectable = 0x04; // S
    static constexpr uint8_t kTail = 0x08;       // T
    // More flag bits 0-4 are Flag4 to Flag8.

    // Menu state flags (Flag0 to Flag3).
    static constexpr int kFlagChecked = 0;
    static constexpr int kFlagHidden = 1;
    static constexpr int kFlagDisabled = 2;
    static constexpr int kFlagCaption = 3;

    const cmcCellObj* parent = nullptr; // basic cell this one inherits from (not owned)
    int32_t category = 47;              // cmcCellIds::kNoCategory
    int32_t cell = 1754;                // cmcCellIds::kNoCell
    int32_t parameter = 0;
    std::optional<std::string> argument; // text after ':' in a '%' attribute
    int32_t imageIndex = -1;
    uint8_t layoutFlags = 0;
    uint8_t markFlags = 0;
    uint8_t moreFlags = 0;
    uint32_t color = 0x80000005;     // background, clWindow
    std::optional<cmcCellFont> font; // none: the sheet's basic cell font
    std::string popupMenu;           // "" inherits through PopupMenuName
    std::string displayText;

    // Cuts the first cell off a row of cells (up to the first unescaped '|') and returns the rest of
    // the row after that '|' (a view into row; empty when there is none). The cell is reset from
    // parent; unless skip is set it is then filled from the cell's text. Named attribute sets are read
    // from tex; counters may be null when the text uses none.
    std::string_view ParseCell(std::string_view row, cmcGTex& tex, Counters* counters,
                               const cmcCellObj* parent, bool skip = false);
    // Defaults, then everything but the font and pop-up menu name copied from the parent.
    void ResetCell();
    void SetDisplayText(std::string_view text) { displayText = text; }
    const std::string& GetDisplayText() const { return displayText; }
    // The first non-empty pop-up menu name on this cell or its parents; "" when there is none.
    std::string_view PopupMenuName() const;
    // Deep copy of every field (a plain assignment does the same).
    void CopyCell(const cmcCellObj& source) { *this = source; }

    int HAlign() const { return layoutFlags & kHAlignMask; }
    int VAlign() const { return (layoutFlags & kVAlignMask) >> 2; }
    int RightRule() const { return markFlags & kRuleMask; }
    bool HasCategory() const { return category != 47; }
    bool HasCell() const { return cell != 1754; }
    // State flags Flag0 to Flag8; other numbers read false and are not stored.
    bool StateFlag(int d) const;
    void SetStateFlag(int d, bool on);
    // Clears Flag0 to Flag4 before a menu item's state is asked for again.
    void ClearMenuState();

private:
    void ParseAttributes(std::string_view text, cmcGTex& tex, int depth);
    void ParseProperty(std::string_view prop, cmcGTex& tex, int depth);
    void ParseBinding(std::string_view prop);
    void ParseFont(std::string_view fields);
    void ParseDisplayText(std::string_view text);
    int32_t& Counter(std::string_view ref) const;

    Counters* m_counters = nullptr; // attached only while a cell text is parsed
};

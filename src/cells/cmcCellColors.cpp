#include "cells/cmcCellColors.h"

#include "core/cmcHash.h"

namespace {

struct NamedColor {
    const char* name;
    uint32_t value;
};

// "clHightlightText" is the name overlays have always used for the highlighted text colour.
constexpr NamedColor kColors[] = {
    {"clAqua", 0xFFFF00},
    {"clBlack", 0x000000},
    {"clBlue", 0xFF0000},
    {"clDkGray", 0x808080},
    {"clFuchsia", 0xFF00FF},
    {"clGray", 0x808080},
    {"clGreen", 0x008000},
    {"clLime", 0x00FF00},
    {"clLtGray", 0xC0C0C0},
    {"clMaroon", 0x000080},
    {"clNavy", 0x800000},
    {"clOlive", 0x008080},
    {"clPurple", 0x800080},
    {"clRed", 0x0000FF},
    {"clSilver", 0xC0C0C0},
    {"clTeal", 0x808000},
    {"clWhite", 0xFFFFFF},
    {"clYellow", 0x00FFFF},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHightlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
};

} // namespace

bool cmcCellColors::ByName(std::string_view name, uint32_t& value) {
    static const cmcHash table = [] {
        cmcHash t;
        for (const NamedColor& c : kColors)
            t.Insert(c.name, c.value);
        return t;
    }();
    if (auto found = table.Find(name)) {
        value = *found;
        return true;
    }
    return false;
}

#pragma once
// The text that names a sheet to open: "[class name]overlay key,kind text", split into its parts.
#include <string>
#include <string_view>

struct cuiSheetText {
    std::string className;  // between the square brackets; empty without them
    std::string overlayKey; // the sheet definition's key
    std::string kind;       // after the first comma; empty without one

    static cuiSheetText Split(std::string_view text);
    // The first character of the kind text, or 0.
    char KindLetter() const { return kind.empty() ? 0 : kind[0]; }
};

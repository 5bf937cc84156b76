#pragma once
// Types a text into one cell the way the grid does when a technician enters it: carriage return
// first (it adds the entry of a blank row and tells whether the cell offers a list), then the list
// entry with that text when the cell opened a list, else the text as entered in the in-place editor.
// The spreadsheet exchange and the command line's cell edits share it.
#include "cells/cmcCellObj.h"

#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcCodecEnv;
class cuiSheet;
class indCellHandler;

class iuiCellTyping {
public:
    struct Outcome {
        bool accepted = false;
        bool changed = false;   // the working image changed
        std::string shown;      // what the cell shows afterwards
        std::string reason;     // why the cell refused the text, when it says; may be "" when refused
        int32_t firstCell = -1; // the row is empty: the cell number that must be set first, else -1
        std::string said;       // the reason the cell's codec gave when it refused, "" when none

        // "refused: REASON", or "refused (still SHOWN)" when the cell gives no reason.
        std::string Refusal() const;
    };

    // sheet may be null (cells that stand alone). The codec environment's cell windows are replaced
    // for the duration of the call: a list is chosen from, never shown.
    static Outcome Type(indCellHandler& handler, cmcCodecEnv& codecs, cuiSheet* sheet, const cmcCellObj& cell,
                        const std::string& text);
    // The cell's display text as the sheet draws it (line feeds kept).
    static std::string Shown(indCellHandler& handler, cuiSheet* sheet, const cmcCellObj& cell);
    // Whether a shown text is what was typed, case and surrounding blanks aside, or the same decimal
    // number written otherwise (a spreadsheet drops the trailing zeros of "151.625000").
    static bool Same(const std::string& shown, const std::string& typed);
    // Whether both texts are plain decimal numbers of equal value, one at least with a decimal point
    // ("0.500" and ".5", "12.0" and "12"; "0012" and "12" are different codes).
    static bool SameNumber(const std::string& a, const std::string& b);
    // The reason a cell gives for refusing what was typed, "" when it gives none.
    static std::string RefusalOf(const cmcCellCapsule& capsule);
};

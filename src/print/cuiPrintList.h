#pragma once
// Which sheets a print command prints, in order: the open sheet alone, the summary (the first tree
// nodes and the repeater lists) or every sheet of the navigation tree. Repeater lists print with the
// repeater-print rows of their sheets shown.
#include "sheets/iuiTreeSheets.h"

#include <string>
#include <vector>

class cmcEeprom;
class cmcGTex;

struct cuiPrintList {
    std::vector<std::string> sheets;
    bool repeaterPrint = false; // the list holds repeater lists: their Only_Print rows stay

    // Print all: the sheet of every tree node in tree order; for LMR the repeater lists of the banks
    // that have repeaters right after the third node.
    static cuiPrintList AllSheets(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes);
    // Print summary: the sheets of the first three tree nodes, and for LMR the repeater lists.
    static cuiPrintList Summary(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes);
    // Print current: the open sheet alone, or the summary for the LMR bank operation sheet.
    static cuiPrintList Current(const std::string& sheetText, cmcGTex& texts, cmcEeprom& work,
                                const iuiTreeSheets::Modes& modes);
    // The repeater list sheet texts of banks 0 to 7 that hold repeaters.
    static std::vector<std::string> RepeaterLists(cmcEeprom& work);
};

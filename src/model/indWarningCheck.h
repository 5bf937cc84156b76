#pragma once
// The warning check: evaluates the check cells of GI_WarningCheckList and the channel check of every
// bank through the cell handler, and lists where errors and warnings are. Clone write refuses data
// with errors.
#include <cstdint>
#include <string>
#include <vector>

class cmcEeprom;
class cmcGTex;
class indCellHandler;

class indWarningCheck {
public:
    struct Item {
        std::string cellText; // the check cell as the list names it, e.g. "{(%CL_Check_Mch:...)}"
        std::string location; // the cell's argument: where its sheet is in the tree
    };
    struct Result {
        std::vector<Item> errors;
        std::vector<Item> warnings;
        int ErrorCount() const { return static_cast<int>(errors.size()); }
        int WarningCount() const { return static_cast<int>(warnings.size()); }
    };

    // modelType 0 LMR, 1 PMR (the bank sheets of the type are named in the bank checks).
    static Result Run(indCellHandler& handler, cmcGTex& tex, int modelType);
    // The errors of a working image on its own (a handler of its own over tex, without windows or
    // events): what clone write asks before it writes. The image is not changed.
    static int ErrorCount(cmcEeprom& work, const cmcEeprom* defaults, cmcGTex& tex, int modelType);
};

#pragma once
// The sheet of the memory channel window and the A/D window: a plain sheet that keeps no column widths,
// fits cells without rounding and can mark its title while usable-channel marking is on.
#include "sheets/cuiSheet.h"

class iuiSheet : public cuiSheet {
public:
    iuiSheet(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell = 0,
             int32_t startParameter = 0);

    void ApplyStyleKey(std::string_view key) override;
    void CreateCells(const std::string& cellsKey) override;
};

#include "model/indSettingCells.h"

// Placeholder until the setting cells land: no cell is one of them yet.
bool indSettingCells::Handle(indCellCall&, cmcCellCapsule&, int32_t, int32_t&) {
    return false;
}

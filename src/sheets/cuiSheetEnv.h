#pragma once
// What a sheet build reads from its surroundings: the overlay, the radio data, the model state, the
// settings store for column widths and the canvas that measures texts. Nothing here is owned.
#include <cstdint>

class cmcEeprom;
class cmcEvMan;
class cmcGTex;
class cmcMeasureCanvas;
class cmcSettingsStore;

struct cuiSheetEnv {
    cmcGTex* texts = nullptr;             // main text table: the sheet definitions
    cmcGTex* languages = nullptr;         // language index (language list sheets); may be null
    cmcEeprom* work = nullptr;            // the working image; may be null: every list reads empty
    const cmcEeprom* current = nullptr;   // the current image (Only_SACC); null reads the bit clear
    int32_t modelType = 0;                // 0 LMR, 1 PMR
    bool makerMode = false;               // Only_Maker rows stay
    bool repeaterPrint = false;           // Only_Print rows stay (repeater lists being printed)
    int32_t fontRatio = 100;              // display font ratio in per cent (View menu)
    cmcSettingsStore* settings = nullptr; // stored column widths; null keeps none
    cmcMeasureCanvas* canvas = nullptr;   // measures fitted cells; null leaves sizes at their default
    cmcEvMan* events = nullptr;           // list sheets listen here for their row events; may be null
    bool mchWindowOpen = false;           // the memory channel window is open (bank sheets follow it)
    bool usableMarking = false;           // usable-channel marking: window sheets with WithUsable say so
};

#pragma once
// The defaults a new radio configuration starts from, one set per model type, built into a working
// image and packed into the radio layout.
class cmcEeprom;

class InitialData {
public:
    // Fills work (resized to the working image) with the defaults of the model type (0 LMR, 1 PMR)
    // and packs them. Returns false when the defaults do not pack or do not pass the data checks.
    static bool Build(int modelType, cmcEeprom& work);
};

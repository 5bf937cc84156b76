#pragma once
// The model's consistency pass over a working image: after expansion (direction 0) and before saving
// or writing to a radio (direction 1). Restores model constants, recomputes derived values, clamps
// counts and identifiers, canonicalises every record and rebuilds the sorted index tables.
#include "model/indWorkImage.h"

#include <cstdint>

class cmcEeprom;
class cmcMessageBox;

class indNormalize {
public:
    struct Options {
        const cmcEeprom* defaults = nullptr; // the model type's initial image
        cmcMessageBox* box = nullptr;        // reports a broken directory while packing
        int unitIdMax = 65519;               // GI_AppUnitIdMax
    };
    static constexpr int kToWorking = 0;
    static constexpr int kToRadio = 1;

    // How packing (direction 1) ended; Ok for direction 0. NoImage when work is no working image.
    static indWorkImage::PackResult Run(cmcEeprom& work, int direction, bool writeFlag,
                                        const Options& options);

    // The parts, for callers and tests that need one of them.
    static void RestoreConstants(uint8_t* w, const uint8_t* d);
    static void RecomputeDerived(cmcEeprom& work);
    static void ClampCounts(uint8_t* w);
    static void CanonicaliseRecords(cmcEeprom& work);
    static void ClampIdentifiers(uint8_t* w, const uint8_t* d, int unitIdMax);
    static void FillEmptyValues(uint8_t* w, const uint8_t* d);
    static void SortIndexTables(uint8_t* w, const uint8_t* d);
};

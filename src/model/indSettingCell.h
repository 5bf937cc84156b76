#pragma once
// The behaviour of one row of the setting table: reads the row's bits from the working image, runs
// its codec, and writes a changed value back into the same bits only.
#include <cstdint>

class cmcCodecEnv;
struct cmcCodecIo;
struct indSettingRow;
struct indSettingTest;

class indSettingCell {
public:
    struct Outcome {
        bool changed = false;   // the working image was written
        bool redrawAll = false; // the caller posts event 13
        uint8_t scope = 0;      // refresh scope bits to add
    };

    // Runs row for entry (the cell's parameter on per-entry rows, else 0) on the working image w (at
    // least the working-image size). Only with commit (a user action) is a change written; a drawing
    // call never writes. An entry the row does not have shows an empty cell and takes no keys.
    static Outcome Run(const indSettingRow& row, int32_t entry, cmcCodecIo& io, cmcCodecEnv& env, uint8_t* w,
                       int32_t modelFamily, bool commit);
    // Whether the row is shown grey for the current settings.
    static bool IsGrey(const indSettingRow& row, const uint8_t* w, int32_t modelFamily);
    // Whether entry's bits are saved with the data (see indWorkImage::Keeps). A row whose table the
    // data does not hold shows its value grey and takes no edit, since a change would vanish on save.
    static bool IsStored(const indSettingRow& row, const uint8_t* w, int32_t entry = 0);

private:
    static bool Holds(const indSettingTest& t, const uint8_t* w, int32_t modelFamily);
};

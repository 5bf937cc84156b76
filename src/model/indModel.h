#pragma once
// The model operations that need no window: range lists by purpose, the checks of loaded data, the
// model type stored in the data, the conversion to and from the working image, and the initial data.
// The desktop program, the clone commands and the command line call them.
#include "core/cmcKvtFile.h"
#include "core/cmcRange.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cmcEeprom;
class datCh;
class cmcGTex;
class cmcMessageBox;

class indModel {
public:
    static constexpr int kLmr = 0;
    static constexpr int kPmr = 1;
    // The channel record kind this model uses for every channel.
    static constexpr int kChannelKind = 1;

    struct Settings {
        int unitIdMax = 65519;         // GI_AppUnitIdMax
        bool lockoutNewerData = false; // GI_Sys_LockoutNewerData is not 0
    };

    // defaults: the initial image of the current model type (may be null; not owned).
    // box: where packing reports a broken directory (may be null).
    indModel(const cmcEeprom* defaults, cmcMessageBox* box, Settings settings);

    void SetDefaults(const cmcEeprom* defaults) { m_defaults = defaults; }
    const Settings& GetSettings() const { return m_settings; }

    // The settings this class reads from the overlay.
    static Settings ReadSettings(cmcGTex& tex);

    // Range list for a purpose: 0 clone write, 1 clone read (and maker-mode write), 2 save, 3 open and
    // initial data, 5 and 6 short reads of the memory's head; anything else the whole radio memory.
    static std::vector<cmcRange> RangeList(int purpose);

    // Model and extra codes of a data file or frame; stores file error 3 or 4 when it refuses.
    static bool ModelCheck(int32_t modelCode, int32_t extraCode, cmcKvtFile::FileError& fileError);

    // 0 accepts, 1 rejects. The loose form checks the radio model value and byte 0x0108; the strict
    // form (clone read) also the signature, the model code and the signature at the packed end.
    static int CheckLoadedData(const cmcEeprom& image, bool strict);

    // 0 accepts, 1 rejects data that an newer data version made (only with the lockout on).
    int CheckDataVersion(const cmcEeprom& image) const;

    // The model type the packed data was made for (bit 1 of the byte at indLayout::kModelTypeAt, read
    // through the data's own directory).
    int StoredModelType(const cmcEeprom& image) const;

    // After data was loaded or read: switches to the model type stored in the data (switchModel loads
    // that type's initial data and hands it over with SetDefaults), then converts the image with
    // direction 0. Returns the model type.
    int AfterDataLoaded(cmcEeprom& image, const std::function<void(int modelType)>& switchModel);

    // Between radio layout and working layout: direction 0 expands and normalises, direction 1
    // normalises and packs (writeFlag when preparing a clone write). Returns true when packing failed.
    bool Convert(cmcEeprom& image, int direction, bool writeFlag = false) const;

    // The path of the initial data file of a model type: the application folder and entry modelType
    // of GI_App_InitialFile.
    static std::string InitialFilePath(cmcGTex& tex, int modelType);
    // Loads an initial data file into the image (sized to the working image). A file that cannot be
    // loaded is fatal: "Cannot open '<path>'.".
    static void LoadInitialData(const std::string& path, cmcEeprom& image);
    // Converts a freshly loaded initial image into the working layout, with itself as the defaults.
    // Its channel slots beyond the banks' channels, which no file carries, become safe spare
    // channels: the slots a new channel starts from.
    static void ConvertInitial(cmcEeprom& image, Settings settings);
    // What a channel starts from before its frequency is typed: both tones off (a new channel sends no
    // tone nobody asked for) and a blank name; the other fields keep the slot's values.
    static void MakeSafeChannel(datCh& channel);

private:
    // The radio part of image, expanded in a scratch working image.
    void ExpandCopy(const cmcEeprom& image, cmcEeprom& scratch, bool& table8Found) const;

    const cmcEeprom* m_defaults;
    cmcMessageBox* m_box;
    Settings m_settings;
};

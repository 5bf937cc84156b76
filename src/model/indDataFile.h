#pragma once
// This model's rules for clone data files: the codes and checks of every save and load, and the open
// sequence that the Open command and `ostrel-cli check` share.
#include "core/cmcKvtFile.h"
#include "core/cmcRange.h"

#include <cstdint>
#include <string>

class cmcEeprom;
class indModel;

class indDataFile {
public:
    static constexpr int32_t kModelCode = 0x3329;
    static constexpr int32_t kExtraCode = 0x0000;
    static constexpr int32_t kExtraCodeAlt = 0x0100; // also accepted when reading
    static constexpr int32_t kMapRev = 1;            // written; anything up to it is read
    static constexpr int32_t kAdrBit = 32;
    // The radio's clone memory, 0x0000 to 0xFF7F: what every data file holds.
    static constexpr cmcRange kRadioRanges[] = {{0x0000, 0xFF7F}, kRangeListEnd};

    // Model and extra code, map revision, address width and both checks, for a save or a load.
    static void Configure(cmcKvtFile& file);
    static bool ModelCheck(int32_t modelCode, int32_t extraCode, cmcKvtFile::FileError& fileError);
    static bool MapRevCheck(int32_t mapRev);

    // The comment a saved file carries: the radio's two 16-character clone comments of the working
    // image, characters outside 0x20..0x7E as blanks, the first trimmed at its end, the second
    // appended, the whole trimmed at its end.
    static std::string CloneComment(const cmcEeprom& work);
    // Writes the radio layout held in the image's first 65,408 bytes. Returns Ok, Open or Access.
    static cmcKvtFile::FileError Save(const std::string& path, cmcEeprom& image, const std::string& comment);
    // Loads a file that must cover the radio memory exactly (the initial data files). Returns Ok to
    // Data; on failure the image is unchanged.
    static cmcKvtFile::FileError Load(const std::string& path, cmcEeprom& image);
    // The Open command's sequence: the file is read into the scratch image (set to working-image size
    // and zero-filled first) without a range list, then checked, then its coverage of the radio memory
    // is checked. Returns the first failing file error, or Ok when the data may be taken over.
    // Shows nothing: the caller reports the error (cmcKvtFile::ShowFileError or the command line).
    // With a model, its data checks run between the two: the loose data check (Data) and, with the
    // lockout on, the newer-data check (Newer).
    static cmcKvtFile::FileError Open(const std::string& path, cmcEeprom& scratch,
                                      const indModel* model = nullptr);
};

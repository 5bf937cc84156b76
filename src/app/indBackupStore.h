#pragma once
// The backups of clone write: before new data goes into a radio, the radio's present data is saved as
// a clone data file in a folder of the user's, named after the radio's serial number and the time, so
// that a radio can always be put back as it was.
#include "core/cmcKvtFile.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class cmcEeprom;

class indBackupStore {
public:
    // $XDG_DATA_HOME/Ostrel/backups; ~/.local/share/Ostrel/backups when XDG_DATA_HOME is unset or not
    // an absolute path.
    static std::string DefaultFolder();
    // Makes a folder with its parents; false when one cannot be made or is no folder.
    static bool MakeFolder(const std::string& folder);
    // What a radio's backups are named after: its serial number as its label shows it, taken from the
    // clone information; the model name when the information carries none.
    static std::string RadioName(const std::vector<uint8_t>& info);
    // "<radio>-<YYYYMMDD-HHMMSS>.ocd" in local time.
    static std::string FileName(const std::string& radio, std::time_t when);
    // Makes the folder (with its parents) and saves the radio memory of image in it under a name that
    // no earlier backup has (a "-2", "-3"... before the extension when two writes fall into one
    // second). Ok with path set; Open when the folder cannot be made or written, Access when the disk
    // took only part of the file (nothing is left behind then).
    static cmcKvtFile::FileError Save(const std::string& folder, const std::string& radio, std::time_t when,
                                      cmcEeprom& image, std::string& path);
};

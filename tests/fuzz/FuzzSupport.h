#pragma once
// What the fuzz targets share: the shipped data folder, a scratch file per process, the program's
// overlay and initial data loaded once, the two ways a fatal error ends an input, and the open
// sequence of the Open command (file, expansion, normalisation, packing, save back to bytes).
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcMessageBox.h"
#include "core/cmcTextTables.h"
#include "model/indModel.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace fuzz {

// Reports a finding on standard error and traps, so libFuzzer saves the input.
[[noreturn]] void Finding(const std::string& what);

// A fatal error of the program is a finding (the default of every target).
void FatalIsFinding();
// A fatal error of the program throws Fatal (overlay and cell targets, where a configuration error
// is an expected outcome).
struct Fatal : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void FatalThrows();

// A file of this process in a memory-backed folder, removed at exit; name tells several apart.
std::string ScratchPath(const std::string& name);
void WriteFile(const std::string& path, const uint8_t* data, size_t size);

// Answers every box with Ok or Yes and counts them.
class QuietBox : public cmcMessageBox {
public:
    int shown = 0;
    Answer Show(const std::string&, const std::string&, Icon, Buttons buttons) override {
        ++shown;
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
};

// The shipped overlay and initial data as the program loads them at start-up, made once.
struct Program {
    cmcTextTables tables;
    indModel::Settings settings;
    cmcEeprom radio[2];   // the initial data files as loaded (radio layout in a working-size image)
    cmcEeprom initial[2]; // the same converted into the working layout (the defaults), LMR and PMR

    static Program& Get();
};

// The Open command of the window on the file at path, then Save to savePath: the file is read and
// checked, the model type it carries chosen, its radio bytes put over that type's initial data,
// expanded and normalised; then packed and saved, and the saved file must open again. Returns the
// file error of the open (Ok when it went all the way through).
cmcKvtFile::FileError OpenConvertSave(const std::string& path, const std::string& savePath);

} // namespace fuzz

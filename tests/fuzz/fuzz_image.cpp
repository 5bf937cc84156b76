// Fuzz target (b): the radio memory itself as input. The bytes patch one of the initial data files'
// radio images; the image is saved as a well-formed clone data file, which then takes the same
// open, convert and save path as a file from disk, so conversion runs on valid files.
//
// Input: one flag byte (bit 0: the PMR initial data, else LMR; bit 1: a zero image instead), then
// patches, each a 16-bit big-endian address, a length byte n and n bytes (cut at the input's end).
#include "FuzzSupport.h"

#include "model/indDataFile.h"

#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FatalIsFinding();
    fuzz::Program::Get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string in = fuzz::ScratchPath("image.ocd"), out = fuzz::ScratchPath("out.ocd");
    if (size < 1)
        return 0;
    fuzz::Program& p = fuzz::Program::Get();
    cmcEeprom image;
    image.SetSize(cmcEeprom::kRadioSize);
    if (!(data[0] & 2))
        image.WriteBlock(0, p.radio[data[0] & 1].Data(), cmcEeprom::kRadioSize);
    for (size_t at = 1; at + 3 <= size;) {
        const int32_t address = data[at] << 8 | data[at + 1];
        const size_t n = std::min<size_t>(data[at + 2], size - at - 3);
        for (size_t i = 0; i < n && address + int32_t(i) < cmcEeprom::kRadioSize; ++i)
            image.Data()[address + i] = data[at + 3 + i];
        at += 3 + n;
    }
    const cmcKvtFile::FileError saved = indDataFile::Save(in, image, "fuzz");
    if (saved != cmcKvtFile::FileError::Ok)
        fuzz::Finding("saving the radio image failed with file error " +
                      std::to_string(cmcKvtFile::Code(saved)));
    fuzz::OpenConvertSave(in, out);
    return 0;
}

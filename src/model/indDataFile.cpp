#include "model/indDataFile.h"

#include "core/cmcEeprom.h"
#include "model/indModel.h"

using FileError = cmcKvtFile::FileError;

void indDataFile::Configure(cmcKvtFile& file) {
    file.SetModelCode(kModelCode);
    file.SetExtraCode(kExtraCode);
    file.SetMapRev(kMapRev);
    file.SetAdrBit(kAdrBit);
    file.SetModelCheck(ModelCheck);
    file.SetMapRevCheck(MapRevCheck);
}

bool indDataFile::ModelCheck(int32_t modelCode, int32_t extraCode, FileError& fileError) {
    if (modelCode != kModelCode) {
        fileError = FileError::Model;
        return false;
    }
    if (extraCode != kExtraCode && extraCode != kExtraCodeAlt) {
        fileError = FileError::Extra;
        return false;
    }
    return true;
}

bool indDataFile::MapRevCheck(int32_t mapRev) {
    return mapRev <= kMapRev;
}

FileError indDataFile::Save(const std::string& path, cmcEeprom& image, const std::string& comment) {
    cmcKvtFile file;
    file.Attach(&image);
    Configure(file);
    file.SetComment(comment);
    return file.Save(path, kRadioRanges);
}

FileError indDataFile::Load(const std::string& path, cmcEeprom& image) {
    cmcKvtFile file;
    file.Attach(&image);
    Configure(file);
    return file.Load(path, kRadioRanges);
}

FileError indDataFile::Open(const std::string& path, cmcEeprom& scratch, const indModel* model) {
    scratch.SetSize(cmcEeprom::kWorkSize);
    cmcKvtFile file;
    file.Attach(&scratch);
    Configure(file);
    FileError code = file.Load(path, nullptr);
    if (code != FileError::Ok)
        return code;
    if (model && indModel::CheckLoadedData(scratch, false) != 0)
        return FileError::Data;
    if (model && model->CheckDataVersion(scratch) != 0)
        return FileError::Newer;
    return file.CheckCoverage(kRadioRanges);
}

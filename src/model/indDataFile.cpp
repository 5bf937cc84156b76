#include "model/indDataFile.h"

#include "core/cmcEeprom.h"
#include "model/indModel.h"

void indDataFile::Configure(cmcKvtFile& file) {
    file.SetModelCode(kModelCode);
    file.SetExtraCode(kExtraCode);
    file.SetMapRev(kMapRev);
    file.SetAdrBit(kAdrBit);
    file.SetModelCheck(ModelCheck);
    file.SetMapRevCheck(MapRevCheck);
}

bool indDataFile::ModelCheck(int32_t modelCode, int32_t extraCode, int& fileError) {
    if (modelCode != kModelCode) {
        fileError = cmcKvtFile::kFileErrModel;
        return false;
    }
    if (extraCode != kExtraCode && extraCode != kExtraCodeAlt) {
        fileError = cmcKvtFile::kFileErrExtra;
        return false;
    }
    return true;
}

bool indDataFile::MapRevCheck(int32_t mapRev) {
    return mapRev <= kMapRev;
}

int indDataFile::Save(const std::string& path, cmcEeprom& image, const std::string& comment) {
    cmcKvtFile file;
    file.Attach(&image);
    Configure(file);
    file.SetComment(comment);
    return file.Save(path, kRadioRanges);
}

int indDataFile::Load(const std::string& path, cmcEeprom& image) {
    cmcKvtFile file;
    file.Attach(&image);
    Configure(file);
    return file.Load(path, kRadioRanges);
}

int indDataFile::Open(const std::string& path, cmcEeprom& scratch, const indModel* model) {
    scratch.SetSize(cmcEeprom::kWorkSize);
    cmcKvtFile file;
    file.Attach(&scratch);
    Configure(file);
    int code = file.Load(path, nullptr);
    if (code != cmcKvtFile::kFileOk)
        return code;
    if (model && indModel::CheckLoadedData(scratch, false) != 0)
        return cmcKvtFile::kFileErrData;
    if (model && model->CheckDataVersion(scratch) != 0)
        return cmcKvtFile::kFileErrNewer;
    return file.CheckCoverage(kRadioRanges);
}

#include "model/indDataFile.h"

#include "core/cmcEeprom.h"
#include "model/indLayout.h"
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

std::string indDataFile::CloneComment(const cmcEeprom& work) {
    constexpr int kFieldLength = 16;
    const int32_t at = indLayout::SlotAddress(indTable::kCloneComments);
    if (work.GetSize() < at + 2 * kFieldLength)
        return {};
    auto field = [&](int32_t from) {
        std::string text;
        for (int i = 0; i < kFieldLength; ++i) {
            const uint8_t c = work.Data()[from + i];
            text += c >= 0x20 && c <= 0x7E ? static_cast<char>(c) : ' ';
        }
        return text;
    };
    auto trimEnd = [](std::string text) {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text;
    };
    return trimEnd(trimEnd(field(at)) + field(at + kFieldLength));
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

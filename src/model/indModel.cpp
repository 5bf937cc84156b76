#include "model/indModel.h"

#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcFatal.h"
#include "core/cmcGTex.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indNormalize.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
using L = indLayout;

bool SignatureAt(const cmcEeprom& image, int64_t at) {
    if (at < 0 || at + L::kSignatureLen > L::kRadioSize || at + L::kSignatureLen > image.GetSize())
        return false;
    return std::memcmp(image.Data() + at, L::kSignature, L::kSignatureLen) == 0;
}
} // namespace

indModel::indModel(const cmcEeprom* defaults, cmcMessageBox* box, Settings settings)
    : m_defaults(defaults), m_box(box), m_settings(settings) {}

indModel::Settings indModel::ReadSettings(cmcGTex& tex) {
    Settings s;
    s.unitIdMax = std::atoi(tex.GetText("GI_AppUnitIdMax").c_str());
    if (s.unitIdMax < 1)
        s.unitIdMax = 1;
    s.lockoutNewerData = std::atoi(tex.GetText("GI_Sys_LockoutNewerData").c_str()) != 0;
    return s;
}

std::vector<cmcRange> indModel::RangeList(int purpose) {
    cmcRange r{0x0000, L::kRadioLast};
    if (purpose == 0)
        r = {0x0100, L::kRadioLast};
    else if (purpose == 5)
        r = {0x0000, 0x00D6};
    else if (purpose == 6)
        r = {0x0000, 0x0008};
    return {r, kRangeListEnd};
}

bool indModel::ModelCheck(int32_t modelCode, int32_t extraCode, cmcKvtFile::FileError& fileError) {
    return indDataFile::ModelCheck(modelCode, extraCode, fileError);
}

int indModel::CheckLoadedData(const cmcEeprom& image, bool strict) {
    if (!image.Data() || image.GetSize() < L::kRadioSize)
        return 1;
    const uint8_t* p = image.Data();
    if (L::Get16(p, L::kRadioModelAt) != L::kRadioModelValue || p[L::kFlag108At] > 1)
        return 1;
    if (!strict)
        return 0;
    if (!SignatureAt(image, L::kSignatureAt) || L::Get16(p, L::kModelCodeAt) != L::kModelCode)
        return 1;
    int64_t end = L::Get32(p, L::kEndAt32);
    int64_t start = L::Get32(p, L::kStartAt32);
    if (end == 0) {
        end = L::Get16(p, L::kEndAt16);
        start = L::Get16(p, L::kStartAt16);
        if (end == 0)
            return 1;
    }
    return SignatureAt(image, L::kDataStart + end - start - L::kSignatureLen) ? 0 : 1;
}

void indModel::ExpandCopy(const cmcEeprom& image, cmcEeprom& scratch, bool& table8Found) const {
    scratch.SetSize(L::kWorkSize);
    if (image.Data())
        std::memcpy(scratch.Data(), image.Data(), size_t(std::min(image.GetSize(), L::kRadioSize)));
    indWorkImage tables(scratch, m_defaults, nullptr);
    indWorkImage::Table t;
    table8Found = tables.CopyDirectories() && tables.FindTable(indTable::kGeneral, t);
    tables.ExpandTables();
}

int indModel::CheckDataVersion(const cmcEeprom& image) const {
    if (!m_settings.lockoutNewerData)
        return 0;
    cmcEeprom scratch;
    bool found = false;
    ExpandCopy(image, scratch, found);
    return scratch.Data()[L::kNewerDataAt] != 0 ? 1 : 0;
}

int indModel::StoredModelType(const cmcEeprom& image) const {
    // Read through the packed data's own directory: the image's fixed slots may still hold the
    // previous data's values until it is converted, and converting needs the right model type first.
    cmcEeprom scratch;
    bool found = false;
    ExpandCopy(image, scratch, found);
    uint8_t b = 0;
    if (found)
        b = scratch.Data()[L::kModelTypeAt];
    else if (image.GetSize() > L::kModelTypeAt)
        b = image.Data()[L::kModelTypeAt];
    return (b & 0x02) ? kPmr : kLmr;
}

int indModel::AfterDataLoaded(cmcEeprom& image, const std::function<void(int modelType)>& switchModel) {
    const int type = StoredModelType(image);
    if (switchModel)
        switchModel(type);
    Convert(image, 0);
    return type;
}

bool indModel::Convert(cmcEeprom& image, int direction, bool writeFlag) const {
    indNormalize::Options o;
    o.defaults = m_defaults;
    o.box = m_box;
    o.unitIdMax = m_settings.unitIdMax;
    return indNormalize::Run(image, direction, writeFlag, o) != indWorkImage::PackResult::Ok;
}

std::string indModel::InitialFilePath(cmcGTex& tex, int modelType) {
    if (modelType != kPmr)
        modelType = kLmr;
    return cmcAppFile(tex.GetLine("GI_App_InitialFile", modelType));
}

void indModel::LoadInitialData(const std::string& path, cmcEeprom& image) {
    image.SetSize(L::kWorkSize);
    if (indDataFile::Load(path, image) != cmcKvtFile::FileError::Ok)
        cmcFatal("Cannot open '" + path + "'.");
}

void indModel::ConvertInitial(cmcEeprom& image, Settings settings) {
    cmcEeprom self;
    self.Assign(image);
    indModel(&self, nullptr, settings).Convert(image, 0);
    if (image.GetSize() < L::kWorkSize)
        return;
    int used = 0;
    for (int g = 0; g < L::kGroups; ++g)
        used += L::GroupCount(image.Data(), g);
    datCh spare(&image);
    for (int n = used; n < L::kChannels; ++n) {
        spare.Decode(kChannelKind, n);
        MakeSafeChannel(spare);
        spare.Encode(kChannelKind, n);
    }
}

void indModel::MakeSafeChannel(datCh& channel) {
    channel.rxTone.on = channel.txTone.on = false;
    if (std::all_of(std::begin(channel.name), std::end(channel.name), [](uint8_t c) { return c == 0; }))
        std::memset(channel.name, ' ', sizeof channel.name);
}

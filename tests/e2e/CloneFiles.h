#pragma once
// Clone data files for the tests that clone against the simulated radio: the shipped LMR initial
// data, a file with one channel in use made as the desktop program saves one, and the short memory
// end that keeps reads quick.
#include "app/indCloneCommands.h"
#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace clonefiles {

inline std::string InitialLmr() {
    return CliBinDir() + "/Initial_LMR.ocd";
}

inline cmcEeprom LoadImage(const std::string& path) {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kWorkSize);
    EXPECT_EQ(indDataFile::Load(path, image), cmcKvtFile::FileError::Ok) << path;
    return image;
}

inline std::string HexText(int32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(v));
    return buf;
}

// The radio's end address: a little past the packed data of the initial data, so reads stay short.
inline int32_t ShortEnd() {
    return (indCloneCommands::DataEnd(LoadImage(InitialLmr())) | 0xFF) + 0x100;
}

// Saves the initial data with only channel (-1: none) in use, at frequency hertz.
inline void MakeOneChannelFile(const std::string& path, int channel, int32_t frequency, const char* comment) {
    cmcEeprom initial = LoadImage(InitialLmr());
    indModel model(&initial, nullptr, indModel::Settings{});
    cmcEeprom work = initial;
    model.Convert(work, 0);
    datCh ch(&work);
    for (int i = 0; i < 128; ++i) {
        ch.Decode(indModel::kChannelKind, i);
        ch.rxFrequency = i == channel ? frequency : 0;
        ch.txFrequency = ch.rxFrequency;
        ch.Encode(indModel::kChannelKind, i);
    }
    model.Convert(work, 1);
    EXPECT_EQ(indDataFile::Save(path, work, comment), cmcKvtFile::FileError::Ok);
}

inline bool SameRadioBytes(const cmcEeprom& a, const cmcEeprom& b, int32_t first, int32_t last) {
    return std::memcmp(a.Data() + first, b.Data() + first, static_cast<size_t>(last - first + 1)) == 0;
}

} // namespace clonefiles

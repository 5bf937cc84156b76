// Setting and timer cells edited with ostrel-cli set: the saved file holds exactly the new bits.
#include "core/cmcEeprom.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A data file as the cells see it: loaded and expanded into the working image.
cmcEeprom Expanded(const std::string& path) {
    cmcEeprom img;
    indModel::LoadInitialData(path, img);
    indModel::ConvertInitial(img, {});
    return img;
}

} // namespace

TEST(CliSettings, TimerAndSettingBitAreSavedAndNothingElse) {
    TempDir dir;
    const std::string in = CliBinDir() + "/Initial_LMR.ocd";
    const std::string out = dir.File("edited.ocd");
    CliRun set = RunCli({"set", in, "-o", out, "CL_Comm_Tot_Timer=90", "CL_Comm_AtResetTimer_A=OFF",
                         "CL_Comm_Tot_Beep=ON", "CL_Comm_RS232C_SPPED=9600 bps"});
    ASSERT_EQ(set.status, 0) << set.out;

    CliRun get = RunCli({"get", out, "CL_Comm_Tot_Timer", "CL_Comm_AtResetTimer_A", "CL_Comm_Tot_Beep",
                         "CL_Comm_RS232C_SPPED"});
    EXPECT_EQ(get.out, "CL_Comm_Tot_Timer= 90.000\nCL_Comm_AtResetTimer_A=OFF\nCL_Comm_Tot_Beep=ON\n"
                       "CL_Comm_RS232C_SPPED=9600 bps\n");

    const cmcEeprom before = Expanded(in);
    const cmcEeprom after = Expanded(out);
    const uint8_t* b = before.Data();
    const uint8_t* a = after.Data();
    EXPECT_EQ(a[0x1258D], 90);                             // time-out timer, seconds
    EXPECT_EQ(a[0x12591], 0);                              // auto reset timer A: off
    EXPECT_EQ(a[0x12574], b[0x12574] | 0x10);              // time-out beep: bit 4 only
    EXPECT_EQ(a[0x12614], (b[0x12614] & 0x0F) | (3 << 4)); // RS-232C speed: bits 4-7 only
    int differing = 0;
    for (int32_t i = indLayout::kRadioSize; i < indLayout::kWorkSize; ++i)
        differing += a[i] != b[i];
    EXPECT_EQ(differing, 4);
}

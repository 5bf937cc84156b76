#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

// The numbers the handler dispatches on must be the positions of the names.
static_assert(CL_Null == 0 && Flex0 == 1 && CL_Mch_FreqR == 176 && CL_WinDA_RXLVA_Vt == 1753);
static_assert(CT_Null == 0 && CT_Mch == 2 && CT_Dpmr_SDM == 46 && CT_None == 47 && CL_None == 1754);

TEST(CellIds, FixedPositions) {
    struct Case {
        const char* name;
        int32_t number;
    };
    const Case cells[] = {
        {"CL_Null", 0},
        {"Flex0", 1},
        {"FlexMark", 4},
        {"Flex_DpmrStatusList_ChNo_StatusDigit_Rx", 28},
        {"CL_Menu_File_New", 29},
        {"CallSheet", 72},
        {"CL_Check_Mch", 73},
        {"CL_PMenu_Edit", 126},
        {"CL_Misc_QuarterPillar", 171},
        {"CL_Mch_No", 173},
        {"CL_Mch_FreqR", 176},
        {"CL_Mch_AreaBit", 655},
        {"CL_Check_Scan_Setting", 1011},
        {"CL_Adjust_ChGrp", 1450},
        {"CL_WinAD_VIN_Dec", 1714},
        {"CL_WinDA_RXLVA_Vt", 1753},
    };
    for (const Case& c : cells) {
        EXPECT_EQ(cmcCellIds::CellByName(c.name), c.number) << c.name;
        EXPECT_EQ(cmcCellIds::CellName(c.number), c.name);
    }
    const Case categories[] = {
        {"CT_Null", 0}, {"CT_PopupMenu", 1}, {"CT_Mch", 2}, {"CT_Rpt", 28}, {"CT_Dpmr_SDM", 46}};
    for (const Case& c : categories) {
        EXPECT_EQ(cmcCellIds::CategoryByName(c.name), c.number) << c.name;
        EXPECT_EQ(cmcCellIds::CategoryName(c.number), c.name);
    }
}

// Every name maps back to its own number, which also shows that no name occurs twice.
TEST(CellIds, EveryNameRoundTrips) {
    std::set<std::string> seen;
    for (int32_t i = 0; i < 1754; ++i) {
        const std::string name = cmcCellIds::CellName(i);
        ASSERT_FALSE(name.empty()) << i;
        EXPECT_EQ(cmcCellIds::CellByName(name), i) << name;
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
    for (int32_t i = 0; i < 47; ++i) {
        const std::string name = cmcCellIds::CategoryName(i);
        ASSERT_EQ(name.substr(0, 3), "CT_") << i;
        EXPECT_EQ(cmcCellIds::CategoryByName(name), i) << name;
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
}

// Addresses as scripts and value tables write them; a wrong name is an answer, never a fatal error.
TEST(CellIds, AddressesNameTheirWrongPart) {
    using F = cmcCellIds::AddressFault;
    const struct {
        const char* address;
        F fault;
        int32_t parameter;
    } cases[] = {
        {"CT_Mch.CL_Mch_FreqR[3]", F::None, 3},       {"CL_Mch_FreqR", F::None, 0},
        {"CT_Nope.CL_Mch_FreqR[3]", F::Category, 0},  {"CT_Mch.CL_Nope[3]", F::Cell, 0},
        {"CT_Mch.CL_Mch_FreqR[3", F::Parameter, 0},   {"CT_Mch.CL_Mch_FreqR[3]x", F::Parameter, 0},
        {"CT_Mch.CL_Mch_FreqR[-1]", F::Parameter, 0}, {"CT_Mch.CL_Mch_FreqR[100001]", F::Parameter, 0},
        {"CT_Mch.CL_Mch_FreqR[]", F::Parameter, 0},
    };
    for (const auto& c : cases) {
        cmcCellObj cell;
        EXPECT_EQ(cmcCellIds::ParseAddress(c.address, cell), c.fault) << c.address;
        if (c.fault == F::None) {
            EXPECT_EQ(cell.cell, cmcCellIds::CellByName("CL_Mch_FreqR")) << c.address;
            EXPECT_EQ(cell.parameter, c.parameter) << c.address;
        }
    }
}

TEST(CellIds, NoneValues) {
    EXPECT_EQ(cmcCellIds::CategoryByName(""), 47);
    EXPECT_EQ(cmcCellIds::CellByName(""), 1754);
    for (int32_t outside : {1754, -1, 5000})
        EXPECT_EQ(cmcCellIds::CellName(outside), "") << outside;
    EXPECT_EQ(cmcCellIds::CategoryName(47), "");
    EXPECT_EQ(cmcCellIds::CategoryName(-1), "");
}

TEST(CellIds, UnknownNamesAreFatal) {
    struct Case {
        bool category;
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {false, "CL_NoSuchCell", "Cannot use the specified cell.\n'CL_NoSuchCell'"},
        {false, "cl_mch_freqr", "Cannot use the specified cell.\n'cl_mch_freqr'"},
        {false, "CL_Mch_FreqR ", "Cannot use the specified cell.\n'CL_Mch_FreqR '"},
        {false, "CT_Mch", "Cannot use the specified cell.\n'CT_Mch'"},
        {true, "CT_mch", "Cannot use the specified category.\n'CT_mch'"},
        // A cell name is not a category, although both tables are looked up by name.
        {true, "CL_Null", "Cannot use the specified category.\n'CL_Null'"},
    };
    for (const Case& c : cases) {
        const std::string text = FatalText([&] {
            if (c.category)
                cmcCellIds::CategoryByName(c.name);
            else
                cmcCellIds::CellByName(c.name);
        });
        EXPECT_EQ(text, c.message);
    }
}

TEST(CellIds, RecordKindOfCategory) {
    struct Case {
        int32_t category;
        int32_t family;
        int32_t kind;
    };
    const Case cases[] = {
        {CT_Null, 0, 0},      {CT_PopupMenu, 1, 0},    {CT_Mch, 0, 1},   {CT_Mch, 1, 2},
        {CT_Mch_Check, 1, 2}, {CT_Mch_Win, 0, 1},      {CT_CEdit, 0, 3}, {CT_2Tone_Code, 0, 11},
        {CT_UserTone, 1, 10}, {CT_MSK_AdrRange, 0, 0}, {CT_Rpt, 0, 22},  {CT_CHGRP, 0, 30},
        {CT_Dpmr_SDM, 1, 37}, {CT_None, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cmcCellIds::RecordKindOfCategory(c.category, c.family), c.kind) << c.category;
    EXPECT_EQ(FatalText([] { cmcCellIds::RecordKindOfCategory(48, 0); }), "Unknown Cell Category. (48)");
    EXPECT_EQ(FatalText([] { cmcCellIds::RecordKindOfCategory(-1, 0); }), "Unknown Cell Category. (-1)");
}

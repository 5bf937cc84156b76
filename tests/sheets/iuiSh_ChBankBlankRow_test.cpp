// The blank row of a bank sheet when a later bank holds channels: its record number is the next bank's
// first channel, yet it is a new row of the bank shown. Built as the window and `sheet` build it, on
// data whose bank sizes were set on the bank operation sheet, saved and opened again.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSheetFactory.h"

#include "ShippedLmrData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using L = indLayout;

struct BankSheets : testing::Test, ShippedLmrData {
    void SetUp() override { Load(); }
    int32_t Act(int32_t category, int32_t cellNumber, int32_t parameter, int32_t key, const char* text) {
        cmcCellObj cell;
        cell.category = category;
        cell.cell = cellNumber;
        cell.parameter = parameter;
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        capsule.onGrid = true;
        capsule.key = key;
        if (text) {
            capsule.editState = cmcCellCapsule::kEditEntered;
            capsule.enteredText = text;
        }
        return handler->CallCell(capsule, cmcCellHandler::kNotifyAction);
    }
    std::string Shown(const cmcCellObj& cell) {
        cmcCellObj scratch = cell;
        cmcCellCapsule capsule;
        capsule.cell = &scratch;
        handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        return capsule.displayText;
    }
    // The cell of a cell number on the sheet's row that shows entry n.
    cmcCellObj RowCell(cuiSheet& sheet, int32_t cellNumber, int32_t n) {
        for (int32_t r = 0; r < sheet.RowCount(); ++r) {
            for (int32_t c = 0; c < sheet.ColCount(); ++c) {
                if (sheet.Cell(c, r).cell == cellNumber && sheet.Cell(c, r).parameter == n) {
                    return sheet.Cell(c, r);
                }
            }
        }
        ADD_FAILURE() << "no cell " << cellNumber << " for entry " << n;
        return {};
    }
};

TEST_F(BankSheets, TheBlankRowAfterABanksLastChannelAddsToThatBank) {
    // Bank operation: bank 1 holds five channels, bank 2 three; the data is saved and opened again.
    Act(CT_BankOp, CL_Mch_Bank, 0, 0, "5");
    Act(CT_BankOp, CL_Mch_Bank, 1, 0, "3");
    ASSERT_EQ(L::GroupCount(work.Data(), 0), 5);
    ASSERT_EQ(L::GroupCount(work.Data(), 1), 3);
    indModel model(&defaults, nullptr, indModel::ReadSettings(tables.Text()));
    ASSERT_EQ(model.Convert(work, 1), 0);
    model.Convert(work, 0);

    const auto sheet = iuiSheetFactory::Build(env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    ASSERT_EQ(iuiSh_ChBank::BankShown(*sheet), 0);
    const cmcCellObj number = RowCell(*sheet, CL_Mch_No, 5);
    // Without the bank shown, the blank row reads as the next bank's first channel.
    handler->shownBank = -1;
    EXPECT_EQ(Shown(number), "2-  1");
    // The window and `sheet` tell the handler the bank of the sheet they open.
    handler->shownBank = iuiSh_ChBank::BankShown(*sheet);
    EXPECT_EQ(Shown(number), tables.Text().GetText("GI_NewChTitle"));

    const cmcCellObj frequency = RowCell(*sheet, CL_Mch_FreqR, 5);
    Act(frequency.category, frequency.cell, 5, '\r', nullptr);
    Act(frequency.category, frequency.cell, 5, 0, "155.1");
    EXPECT_EQ(L::GroupCount(work.Data(), 0), 6);
    EXPECT_EQ(L::GroupCount(work.Data(), 1), 3);
    datCh ch(&work);
    ch.Decode(datCh::kChannel1, 5);
    EXPECT_EQ(ch.rxFrequency, 155100000);
    EXPECT_EQ(L::GroupOf(work.Data(), 5), 0);
    // Bank 1's sheet still starts with its own first channel, now number 6.
    const auto next = iuiSheetFactory::Build(env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1");
    handler->shownBank = iuiSh_ChBank::BankShown(*next);
    EXPECT_EQ(Shown(RowCell(*next, CL_Mch_No, 6)), "2-  1");
}

} // namespace

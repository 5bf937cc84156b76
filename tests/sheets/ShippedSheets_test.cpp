// The shipped overlay's sheets on the shipped initial data: every tree node's sheet builds for both
// model types, the menus, toolbar and pop-up menus parse, the bank sheet's loop follows the bank, and
// the choice lists the setting cells use exist. Prints which cell behaviours no sheet shows.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indSettingTable.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

struct Shipped {
    cmcTextTables tables;
    cmcEeprom work;
    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    int type;

    explicit Shipped(int modelType) : type(modelType) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), work);
        indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
        env.texts = &tables.Text();
        env.languages = &tables.Languages();
        env.work = &work;
        env.current = &work;
        env.modelType = type;
        env.makerMode = true;
        env.canvas = &canvas;
    }
    std::vector<iuiTreeSheets::Node> Nodes(bool all = true) {
        return iuiTreeSheets::Nodes(tables.Text(), work.Data(), {type, all, all});
    }
};

void Collect(const cuiSheet& sheet, std::set<int32_t>& cells) {
    for (int32_t r = 0; r < sheet.RowCount(); ++r)
        for (int32_t c = 0; c < sheet.ColCount(); ++c)
            cells.insert(sheet.CellAt(c, r).cell.cell);
}

TEST(ShippedSheets, EveryTreeNodeSheetBuildsForBothModelTypes) {
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        Shipped s(type);
        const auto nodes = s.Nodes();
        int banks = 0;
        for (const auto& node : nodes) {
            if (node.sheetText.empty())
                continue;
            auto sheet = iuiSheetFactory::Build(s.env, node.sheetText);
            EXPECT_GT(sheet->RowCount(), 0) << node.sheetText;
            EXPECT_GT(sheet->ColCount(), 0) << node.sheetText;
            banks += dynamic_cast<iuiSh_ChBank*>(sheet.get()) ? 1 : 0;
        }
        EXPECT_GT(banks, 0) << type;
        // Model-only nodes follow the model type.
        bool nxdn = false, dpmr = false;
        for (const auto& node : s.Nodes(false)) {
            nxdn = nxdn || node.sheetText.find("GI_Sheet_Nxdn_Op") == 0;
            dpmr = dpmr || node.sheetText.find("GI_Sheet_Dpmr_Op") == 0;
            EXPECT_NE(node.sheetText, "[St_Common]GI_Sheet_Maker");
        }
        EXPECT_EQ(nxdn, type == indModel::kLmr);
        EXPECT_EQ(dpmr, type == indModel::kPmr);
    }
}

TEST(ShippedSheets, WindowAndEditorSheetsBuild) {
    Shipped s(indModel::kLmr);
    for (const char* key : {"GI_Sheet_MchWin_Lmr", "GI_Sheet_MchWin_Pmr", "GI_Sheet_FBitsR",
                            "GI_Sheet_Sel_Text", "GI_Sheet_RptSetWin,R 9,0", "GI_Sheet_RptSetWin_VORN,R 9,1",
                            "GI_Sheet_Dpmr_Ind_Id,D", "GI_Sheet_BankOp_Pmr"})
        EXPECT_GT(iuiSheetFactory::Build(s.env, key)->RowCount(), 0) << key;
}

TEST(ShippedSheets, MenusToolbarAndPopupMenusParse) {
    Shipped s(indModel::kLmr);
    cmcGTex& tex = s.tables.Text();
    for (const char* section : {"GI_Menu_Main", "GI_ToolBar_Main", "GI_PMenu_Edit", "GI_PMenu_NoItem"}) {
        cmcCellObj basic;
        basic.ParseCell(tex.GetText(std::string(section) + "_BasicCell"), tex, nullptr, nullptr);
        int entries = 0;
        for (int n = 0;; ++n) {
            const std::string entry = tex.GetLine(std::string(section) + "_Body", n);
            if (!entry.empty() && entry[0] == '#')
                break;
            cmcCellObj cell;
            const size_t plus = entry.find('+');
            cell.ParseCell(plus == std::string::npos ? entry : entry.substr(plus + 1), tex, nullptr, &basic);
            EXPECT_FALSE(cell.GetDisplayText().empty()) << section << " " << n;
            ++entries;
        }
        EXPECT_GT(entries, 0) << section;
    }
}

TEST(ShippedSheets, BankLoopShowsABlankRowOnScreenOnly) {
    Shipped s(indModel::kLmr);
    uint8_t* w = s.work.Data();
    for (int g = 0; g < indLayout::kGroups; ++g)
        indLayout::Put16(w, indLayout::kGroupCounts + 2 * g, g == 0 ? 12 : 0);
    auto screen = iuiSheetFactory::Build(s.env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    auto* bank = dynamic_cast<iuiSh_ChBank*>(screen.get());
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(screen->RowCount() - bank->LoopMark(), 13);
    EXPECT_EQ(screen->TableRows(), iuiSh_ChBank::kTableRows);
    EXPECT_FALSE(screen->Row(bank->LoopMark() + 12).multiSelect);
    EXPECT_TRUE(screen->Row(bank->LoopMark() + 11).multiSelect);
    EXPECT_EQ(screen->Cell(1, bank->LoopMark() + 12).parameter, 12);
    auto print = iuiSheetFactory::Create(s.env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
    print->SetPrinter(96, 96);
    print->Show();
    EXPECT_EQ(print->RowCount() - bank->LoopMark(), 12);
    EXPECT_TRUE(print->IsPrintable());
    EXPECT_FALSE(iuiSheetFactory::Build(s.env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1")->IsPrintable());
}

TEST(ShippedSheets, ChoiceListsOfTheSettingCellsHaveEntries) {
    Shipped s(indModel::kLmr);
    cmcFCache lists(s.tables.Text());
    std::set<std::string> missing;
    for (const indSettingRow& row : indSettingTable::Rows()) {
        if (!row.list)
            continue;
        if (!s.tables.Text().HasKey(std::string(row.list) + "_Cells")) {
            missing.insert(row.list);
            continue;
        }
        EXPECT_GT(lists.List(row.list, cmcCellIds::CellByName("Flex0")).EntryCount(), 0) << row.list;
    }
    for (const std::string& list : missing)
        ADD_FAILURE() << "missing choice list " << list;
}

// Not a check: the report of which behaviours of the cell handler no shipped sheet places.
TEST(ShippedSheets, BehavioursOnSheetsReport) {
    std::set<int32_t> shown;
    std::set<int32_t> behaviours;
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        Shipped s(type);
        for (const auto& node : s.Nodes())
            if (!node.sheetText.empty())
                Collect(*iuiSheetFactory::Build(s.env, node.sheetText), shown);
        for (const char* key : {"GI_Sheet_MchWin_Lmr", "GI_Sheet_MchWin_Pmr", "GI_Sheet_RptSetWin,R 9,0",
                                "GI_Sheet_RptSetWin_VORN,R 9,1", "GI_Sheet_Dpmr_Ind_Id,D"})
            Collect(*iuiSheetFactory::Build(s.env, key), shown);
        cmcFCache lists(s.tables.Text());
        cmcCodecEnv codecs(&s.tables.Text(), &lists, nullptr);
        indCellHandler::Services services;
        services.work = &s.work;
        services.defaults = &s.work;
        services.env = &codecs;
        services.modelFamily = type;
        indCellHandler handler(services);
        // Every category: list cells behave only in the category of their list.
        for (int32_t cell = 0; cell < cmcCellIds::kNoCell; ++cell)
            for (int32_t category = 0; category < cmcCellIds::kNoCategory; ++category) {
                if (behaviours.count(cell))
                    break;
                cmcCellObj obj;
                obj.category = category;
                obj.cell = cell;
                cmcCellCapsule capsule;
                capsule.cell = &obj;
                // A behaviour whose choice list is not in the overlay yet still counts as one.
                FatalCatcher catcher;
                try {
                    handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
                } catch (const FatalError&) {
                    behaviours.insert(cell);
                    continue;
                }
                if (capsule.displayText.find("*Yet*") == std::string::npos && cell != 0)
                    behaviours.insert(cell);
            }
    }
    std::string missing;
    int placed = 0;
    for (int32_t cell : behaviours) {
        if (shown.count(cell))
            ++placed;
        else
            missing += " " + cmcCellIds::CellName(cell);
    }
    std::printf("behaviours: %zu, on a shipped sheet: %d, not placed:%s\n", behaviours.size(), placed,
                missing.c_str());
    std::string lists;
    for (int32_t cell = 0; cell < cmcCellIds::kNoCell; ++cell) {
        const std::string name = cmcCellIds::CellName(cell);
        for (const char* family :
             {"CL_Rpt_", "CL_VORN_", "CL_Mdc_", "CL_Nxdn_", "CL_Dpmr_", "CL_Msk_", "CL_ScanList_"})
            if (name.rfind(family, 0) == 0 && !behaviours.count(cell))
                lists += " " + name;
    }
    std::printf("list family cells without a behaviour:%s\n", lists.c_str());
    EXPECT_GT(placed, 0);
}

} // namespace

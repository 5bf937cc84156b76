// The shipped overlay's sheets on the shipped initial data: every tree node's sheet builds for both
// model types on both initial files and every cell on it draws, every name the overlay uses is known,
// the menus hold every command, the bank and repeater loops follow the data, and the choice lists the
// setting cells use exist. Prints which cell behaviours no sheet shows.
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
#include "model/indRptList.h"
#include "model/indSettingTable.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSh_Mch.h"
#include "sheets/iuiSheet.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>

namespace {

// The shipped texts and one initial data file, seen as one model type.
struct Shipped {
    cmcTextTables tables;
    cmcEeprom work;
    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    int type;

    explicit Shipped(int modelType, int fileType = -1) : type(modelType) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), fileType < 0 ? type : fileType),
                                  work);
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
    // Every sheet the program shows: the tree's, the windows' and the list windows'.
    std::vector<std::unique_ptr<cuiSheet>> AllSheets() {
        std::vector<std::unique_ptr<cuiSheet>> sheets;
        for (const auto& node : Nodes())
            if (!node.sheetText.empty())
                sheets.push_back(iuiSheetFactory::Build(env, node.sheetText));
        for (const char* key :
             {"GI_Sheet_Mch_Win_dPMR_CONV_LMR", "GI_Sheet_Mch_Win_dPMR_VOTE_LMR",
              "GI_Sheet_Mch_Win_dPMR_CONV_PMR", "GI_Sheet_Mch_Win_dPMR_VOTE_PMR", "GI_Sheet_WinAD"}) {
            sheets.push_back(std::make_unique<iuiSheet>(env, key));
            sheets.back()->Show();
        }
        for (const char* text : {"GI_Sheet_RptSetWin,R 9,0", "GI_Sheet_RptSetWin_VORN,R 9,1"})
            sheets.push_back(iuiSheetFactory::Build(env, text));
        return sheets;
    }
};

// The handler of a shipped data set, as the program sets it up.
struct Handler {
    cmcFCache lists;
    cmcCodecEnv codecs;
    indCellHandler::Services services;
    std::unique_ptr<indCellHandler> handler;

    explicit Handler(Shipped& s) : lists(s.tables.Text()), codecs(&s.tables.Text(), &lists, nullptr) {
        services.work = &s.work;
        services.defaults = &s.work;
        services.env = &codecs;
        services.modelFamily = s.type;
        handler = std::make_unique<indCellHandler>(services);
    }
    // Draws one cell of a sheet; the fatal error text it raised, or "".
    std::string Draw(cuiSheet& sheet, const cmcCellObj& cell) {
        cmcCellObj scratch = cell;
        cmcCellCapsule capsule;
        capsule.cell = &scratch;
        capsule.sheet = &sheet;
        capsule.displayText = cell.GetDisplayText();
        return FatalText([&] { handler->CallCell(capsule, cmcCellHandler::kNotifyDraw); });
    }
};

void Collect(const cuiSheet& sheet, std::set<int32_t>& cells) {
    for (int32_t r = 0; r < sheet.RowCount(); ++r)
        for (int32_t c = 0; c < sheet.ColCount(); ++c)
            cells.insert(sheet.CellAt(c, r).cell.cell);
}

std::string OverlayText() {
    return ReadFileText(cmcAppFile("ENG.OVL"));
}

TEST(ShippedSheets, EveryTreeNodeSheetBuildsForBothModelTypesAndBothInitialFiles) {
    for (int type : {indModel::kLmr, indModel::kPmr})
        for (int file : {indModel::kLmr, indModel::kPmr}) {
            Shipped s(type, file);
            int banks = 0, sheets = 0;
            const std::string fatal = FatalText([&] {
                for (const auto& node : s.Nodes()) {
                    if (node.sheetText.empty())
                        continue;
                    auto sheet = iuiSheetFactory::Build(s.env, node.sheetText);
                    EXPECT_GT(sheet->RowCount(), 0) << node.sheetText;
                    EXPECT_GT(sheet->ColCount(), 0) << node.sheetText;
                    // A printed page names its sheet.
                    if (sheet->IsPrintable()) {
                        EXPECT_FALSE(sheet->Title().empty()) << node.sheetText;
                    }
                    banks += dynamic_cast<iuiSh_ChBank*>(sheet.get()) ? 1 : 0;
                    ++sheets;
                }
            });
            EXPECT_EQ(fatal, "") << type << " " << file;
            EXPECT_GT(banks, 0) << type << " " << file;
            EXPECT_GT(sheets, 30) << type << " " << file;
        }
}

TEST(ShippedSheets, TreeFollowsModelTypeMakerAndAdjustmentModes) {
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        Shipped s(type);
        std::set<std::string> shown;
        for (const auto& node : s.Nodes(false))
            shown.insert(node.sheetText);
        struct Case {
            const char* sheet;
            bool lmr, pmr;
        };
        for (const Case& c :
             {Case{"GI_Sheet_Nxdn_Op", true, false}, Case{"GI_Sheet_Nxdn_Nac", true, false},
              Case{"GI_Sheet_VORN_Op", true, false}, Case{"GI_Sheet_Mdc", true, false},
              Case{"GI_Sheet_Ltr", true, false}, Case{"GI_Sheet_Dpmr_Op", false, true},
              Case{"GI_Sheet_Dpmr_Status", false, true}, Case{"GI_Sheet_Dpmr_CcCh", false, true},
              Case{"GI_Sheet_CTone", true, true}, Case{"GI_Sheet_UserTone", true, true},
              Case{"GI_Sheet_CloneInfo", true, true}, Case{"[St_Common]GI_Sheet_Maker", false, false},
              Case{"GI_Sheet_EeDebug", false, false}, Case{"GI_Sheet_Adjust", false, false}})
            EXPECT_EQ(shown.count(c.sheet) == 1, type == indModel::kLmr ? c.lmr : c.pmr)
                << c.sheet << " " << type;
        std::set<std::string> all;
        for (const auto& node : s.Nodes(true))
            all.insert(node.sheetText);
        EXPECT_EQ(all.count("[St_Common]GI_Sheet_Maker"), 1u);
        EXPECT_EQ(all.count("GI_Sheet_Adjust"), 1u);
    }
}

// Every sheet the overlay defines builds, also those no tree node opens (editor and window sheets).
// A translated overlay may name more values in a bank node's format than the tree has: the extra
// directives stay as text instead of reading past the values.
TEST(ShippedSheets, ABankNodeFormatNamingMoreValuesStaysText) {
    Shipped s(0);
    cmcGTex hostile;
    ASSERT_TRUE(hostile.AttachLines({"#GI_Tree_Branch_Mch_Bank",
                                     " +{(%%CT_Null.CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_%s,Bank %d)"
                                     "(ImageIndex=4)}Bank %s %n %d %x %",
                                     "#", "#End_Of_Ovl"}));
    hostile.SetFallback(&s.tables.Text());
    bool seen = false;
    for (const auto& node : iuiTreeSheets::Nodes(hostile, s.work.Data(), {0, true, true})) {
        if (node.bank != 0)
            continue;
        seen = true;
        EXPECT_EQ(node.sheetText, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
        EXPECT_EQ(node.overlayCaption, "Bank %s %n %d %x %");
    }
    EXPECT_TRUE(seen);
}

TEST(ShippedSheets, EverySheetDefinitionBuilds) {
    Shipped s(indModel::kLmr);
    cmcGTex& tex = s.tables.Text();
    const std::string style = "_Style";
    int built = 0;
    for (const std::string& key : tex.AllKeys()) {
        if (key.size() <= style.size() || key.compare(key.size() - style.size(), style.size(), style) != 0)
            continue;
        const std::string sheetKey = key.substr(0, key.size() - style.size());
        const std::string fatal = FatalText([&] {
            cuiSheet sheet(s.env, sheetKey);
            sheet.Show();
            EXPECT_GT(sheet.RowCount(), 0) << sheetKey;
        });
        EXPECT_EQ(fatal, "") << sheetKey;
        ++built;
    }
    EXPECT_GT(built, 60);
}

// Every cell on every shipped sheet draws on both model types: a missing choice list or a bad
// reference shows here before a user meets it.
TEST(ShippedSheets, EveryCellOnAShippedSheetDraws) {
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        Shipped s(type);
        Handler h(s);
        std::map<std::string, std::string> failures; // fatal text -> first cell that raised it
        for (auto& sheet : s.AllSheets())
            for (int32_t r = 0; r < sheet->RowCount(); ++r)
                for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                    const cmcCellObj& cell = sheet->Cell(c, r);
                    if (!cell.HasCell())
                        continue;
                    const std::string fatal = h.Draw(*sheet, cell);
                    if (!fatal.empty())
                        failures.emplace(fatal, sheet->OverlayKey() + " " + cmcCellIds::CellName(cell.cell));
                }
        for (const auto& [text, where] : failures)
            ADD_FAILURE() << where << ": " << text;
    }
}

TEST(ShippedSheets, EveryCellAndCategoryNameInTheOverlayIsKnown) {
    const std::string text = OverlayText();
    ASSERT_FALSE(text.empty());
    const std::regex name(R"((CT_\w+)|[%.]((?:CL_|Flex|CallSheet)\w*))");
    std::set<std::string> unknown;
    int names = 0;
    FatalCatcher catcher;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it) {
        const bool category = (*it)[1].matched;
        const std::string n = category ? (*it)[1].str() : (*it)[2].str();
        ++names;
        try {
            category ? cmcCellIds::CategoryByName(n) : cmcCellIds::CellByName(n);
        } catch (const FatalError&) {
            unknown.insert(n);
        }
    }
    EXPECT_GT(names, 1000);
    for (const std::string& n : unknown)
        ADD_FAILURE() << "unknown name " << n;
    // Every pop-up menu a cell names is there.
    Shipped s(indModel::kLmr);
    const std::regex popup(R"(PopupMenu=(\w+))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), popup); it != std::sregex_iterator(); ++it)
        for (const char* part : {"_BasicCell", "_Body"})
            EXPECT_TRUE(s.tables.Text().HasKey((*it)[1].str() + part)) << (*it)[1].str() << part;
}

TEST(ShippedSheets, MenusToolbarAndPopupMenusParse) {
    Shipped s(indModel::kLmr);
    cmcGTex& tex = s.tables.Text();
    for (const char* section :
         {"GI_Menu_Main", "GI_ToolBar_Main", "GI_PMenu_Edit", "GI_PMenu_NoItem", "GI_PMenu_CloneInfo"}) {
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

TEST(ShippedSheets, MainMenuHoldsEveryCommand) {
    Shipped s(indModel::kLmr);
    cmcGTex& tex = s.tables.Text();
    std::set<std::pair<int32_t, int32_t>> items; // (cell, parameter)
    for (int n = 0;; ++n) {
        const std::string entry = tex.GetLine("GI_Menu_Main_Body", n);
        if (!entry.empty() && entry[0] == '#')
            break;
        cmcCellObj cell;
        cell.ParseCell(entry.substr(entry.find('+') + 1), tex, nullptr, nullptr);
        items.insert({cell.cell, cell.parameter});
    }
    struct Item {
        const char* cell;
        int32_t first, last; // parameters
    };
    for (const Item& i : {Item{"CL_Menu_File_New", 0, 0},
                          Item{"CL_Menu_File_Open", 0, 0},
                          Item{"CL_Menu_File_Save", 0, 0},
                          Item{"CL_Menu_File_SaveAs", 0, 0},
                          Item{"CL_Menu_File_Print_Current", 0, 0},
                          Item{"CL_Menu_File_Print_All", 0, 0},
                          Item{"CL_Menu_File_Recent", 0, 9},
                          Item{"CL_Menu_File_Exit", 0, 0},
                          Item{"CL_Menu_Edit_Top", 0, 0},
                          Item{"CL_Menu_View_MchWin", 0, 0},
                          Item{"CL_Menu_View_ToolBar", 0, 0},
                          Item{"CL_Menu_Port_Com", 1, 4},
                          Item{"CL_Menu_Port_Usb", 0, 0},
                          Item{"CL_Menu_Port_ComList0", 0, 0},
                          Item{"CL_Menu_Port_ComList1", 0, 0},
                          Item{"CL_Menu_Port_ComList2", 0, 0},
                          Item{"CL_Menu_Port_SpeedHigh", 0, 1},
                          Item{"CL_Menu_Clone_Read", 0, 0},
                          Item{"CL_Menu_Clone_Write", 0, 0},
                          Item{"CL_Menu_Clone_Info", 0, 0},
                          Item{"CL_Model_Lmr", 0, 0},
                          Item{"CL_Model_Pmr", 0, 0},
                          Item{"CL_Menu_Lang", 0, 0},
                          Item{"CL_Help_Contents", 0, 0},
                          Item{"CL_Help_About", 0, 0}})
        for (int32_t p = i.first; p <= i.last; ++p)
            EXPECT_EQ(items.count({cmcCellIds::CellByName(i.cell), p}), 1u) << i.cell << "[" << p << "]";
    // The font sizes carry their percentage.
    for (int32_t percent : {80, 100, 125, 150})
        EXPECT_EQ(items.count({cmcCellIds::CellByName("CL_Menu_View_FontSize"), percent}), 1u) << percent;
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

TEST(ShippedSheets, RepeaterSheetOfAGroupStartsAtItsFirstEntry) {
    Shipped s(indModel::kLmr);
    uint8_t* w = s.work.Data();
    const uint8_t sizes[8] = {2, 5, 0, 0, 0, 0, 0, 0};
    for (int g = 0; g < 8; ++g)
        w[indRptList::kRptSizes + g] = sizes[g];
    auto sheet = iuiSheetFactory::Build(s.env, "GI_Sheet_RptSetWin,R 9,1");
    auto* list = dynamic_cast<iuiSh_Mch*>(sheet.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(sheet->RowCount() - list->LoopMark(), 5 + 1);
    EXPECT_EQ(sheet->Cell(1, list->LoopMark()).parameter, 2);
    EXPECT_EQ(sheet->Cell(1, list->LoopMark() + 5).parameter, 7);
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

// Every choice list of the overlay offers something to choose, whichever choice cell it uses.
TEST(ShippedSheets, EveryChoiceListHasEntries) {
    Shipped s(indModel::kLmr);
    cmcFCache lists(s.tables.Text());
    const std::string prefix = "GI_Sheet_Sel_", suffix = "_Cells";
    int checked = 0;
    for (const std::string& key : s.tables.Text().AllKeys()) {
        if (key.rfind(prefix, 0) != 0 || key.size() <= suffix.size() ||
            key.compare(key.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string list = key.substr(0, key.size() - suffix.size());
        int32_t entries = 0;
        for (int32_t choice = 1; choice <= 28 && entries == 0; ++choice)
            entries = lists.List(list, choice).EntryCount();
        EXPECT_GT(entries, 0) << list;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

// Not a check: the report of which behaviours of the cell handler no shipped sheet places. Cells that
// only menus, the toolbar, the tree or choice lists use are counted apart.
TEST(ShippedSheets, BehavioursOnSheetsReport) {
    std::set<int32_t> shown;
    std::set<int32_t> behaviours;
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        Shipped s(type);
        for (auto& sheet : s.AllSheets())
            Collect(*sheet, shown);
        Handler h(s);
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
                const std::string fatal =
                    FatalText([&] { h.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw); });
                if (!fatal.empty() || (capsule.displayText.find("*Yet*") == std::string::npos && cell != 0))
                    behaviours.insert(cell);
            }
    }
    std::set<std::string> inOverlay;
    const std::string text = OverlayText();
    const std::regex name(R"([%.]((?:CL_|Flex|CallSheet)\w*))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it)
        inOverlay.insert((*it)[1].str());
    std::string missing;
    int placed = 0, elsewhere = 0;
    for (int32_t cell : behaviours) {
        if (shown.count(cell))
            ++placed;
        else if (inOverlay.count(cmcCellIds::CellName(cell)))
            ++elsewhere;
        else
            missing += " " + cmcCellIds::CellName(cell);
    }
    std::printf(
        "behaviours: %zu, on a shipped sheet: %d, in menus, tree or choice lists only: %d, not placed:%s\n",
        behaviours.size(), placed, elsewhere, missing.c_str());
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

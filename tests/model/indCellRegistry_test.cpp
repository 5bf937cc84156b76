// The cell registry against the cell families themselves, on both shipped initial files: the
// registry takes a call with the same family, text and result as asking every family in turn did,
// for every cell number in every category and for every cell of every shipped sheet; each family
// takes exactly the cell numbers it declares; a number no family declares has no behaviour.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indAppCells.h"
#include "model/indBankCells.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indCellRegistry.h"
#include "model/indCheckCells.h"
#include "model/indDigitalCells.h"
#include "model/indEntryCells.h"
#include "model/indIdRefCells.h"
#include "model/indInfoCells.h"
#include "model/indKeyCells.h"
#include "model/indLayout.h"
#include "model/indListCells.h"
#include "model/indMakerCells.h"
#include "model/indMchCells.h"
#include "model/indMdcCells.h"
#include "model/indModel.h"
#include "model/indRangeCells.h"
#include "model/indRptCells.h"
#include "model/indServiceCells.h"
#include "model/indSettingCells.h"
#include "model/indSignalCells.h"
#include "model/indToneCells.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiSheet.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Family = indCellRegistry::Family;
using Taker = std::optional<Family>;
constexpr int kNoCell = cmcCellIds::kNoCell;

const char* NameOf(Taker f) {
    static constexpr const char* kNames[indCellRegistry::kFamilies] = {
        "Mch",   "List", "Rpt", "Entry",   "Mdc",     "Range",  "Check", "IdRef",   "Tone", "Bank",
        "Maker", "Info", "App", "Digital", "Setting", "Signal", "Keys",  "Service", "Inert"};
    return f ? kNames[int(*f)] : "none";
}

// One shipped initial file opened as the program opens it, with the handler of its model type.
struct Shipped {
    cmcTextTables tables;
    cmcEeprom work;
    cmcFCache lists{tables.Text()};
    cmcCodecEnv codecs{&tables.Text(), &lists, nullptr};
    std::unique_ptr<indCellHandler> handler;
    int type;

    explicit Shipped(int modelType) : type(modelType) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), work);
        indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
        indCellHandler::Services s;
        s.work = &work;
        s.defaults = &work;
        s.env = &codecs;
        s.modelFamily = type;
        handler = std::make_unique<indCellHandler>(s);
    }

    // Every cell (category, cell, parameter) of every sheet the program shows.
    std::set<std::tuple<int32_t, int32_t, int32_t>> SheetCells() {
        cmcFixedCanvas canvas;
        cuiSheetEnv env;
        env.texts = &tables.Text();
        env.languages = &tables.Languages();
        env.work = &work;
        env.current = &work;
        env.modelType = type;
        env.makerMode = true;
        env.canvas = &canvas;
        std::vector<std::unique_ptr<cuiSheet>> sheets;
        for (const auto& node : iuiTreeSheets::Nodes(tables.Text(), work.Data(), {type, true, true}))
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
        std::set<std::tuple<int32_t, int32_t, int32_t>> cells;
        for (const auto& sheet : sheets)
            for (int32_t r = 0; r < sheet->RowCount(); ++r)
                for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                    const cmcCellObj& cell = sheet->Cell(c, r);
                    if (cell.HasCell())
                        cells.insert({cell.category, cell.cell, cell.parameter});
                }
        return cells;
    }
};

// A drawing call as the handler prepares it for the behaviour: the record of the category decoded.
struct Probe {
    cmcCellObj obj;
    cmcCellCapsule capsule;
    indCellCall call;
    int32_t result = cmcCellHandler::kResultNone;

    Probe(Shipped& s, int32_t category, int32_t cell, int32_t parameter)
        : call(*s.handler, capsule, s.codecs, s.work) {
        obj.category = category;
        obj.cell = cell;
        obj.parameter = parameter;
        capsule.cell = &obj;
        call.category = category;
        call.cell = cell;
        call.parameter = parameter;
        call.modelFamily = s.type;
        if (category >= 0 && category <= cmcCellIds::kNoCategory)
            call.recordKind = cmcCellIds::RecordKindOfCategory(category, s.type);
        call.record.Bind(&s.work);
        if (call.recordKind != 0)
            call.record.Decode(call.recordKind, call.parameter);
        call.io = cmcCodecIo::FromCapsule(capsule);
    }
};

// The families asked one after the other, the way the handler chose a behaviour before it had a
// registry; the family that took the call.
Taker Chain(indCellCall& call, int32_t& result) {
    if (call.cell < 0 || call.cell >= kNoCell)
        return std::nullopt;
    if (indMchCells::Handle(call, result))
        return Family::Mch;
    if (indListCells::Handle(call, result))
        return Family::List;
    if (indRptCells::Handle(call, result))
        return Family::Rpt;
    if (indEntryCells::Handle(call, result))
        return Family::Entry;
    if (indMdcCells::Handle(call, result))
        return Family::Mdc;
    if (indRangeCells::Handle(call, result))
        return Family::Range;
    if (indCheckCells::Handle(call, result))
        return Family::Check;
    if (indIdRefCells::Handle(call, result))
        return Family::IdRef;
    if (indToneCells::Handle(call, result))
        return Family::Tone;
    if (indBankCells::Handle(call, result))
        return Family::Bank;
    if (indMakerCells::Handle(call, result))
        return Family::Maker;
    if (indInfoCells::Handle(call, result))
        return Family::Info;
    if (indAppCells::Handle(call, result))
        return Family::App;
    if (indDigitalCells::Handle(call, result))
        return Family::Digital;
    if (indSettingCells::Handle(call, call.capsule, call.notify, result))
        return Family::Setting;
    if (indSignalCells::Handle(call, result))
        return Family::Signal;
    if (indKeyCells::Handle(call, result))
        return Family::Keys;
    if (indServiceCells::Handle(call, result))
        return Family::Service;
    if (call.cell == CL_Null || call.cell == Flex_Language_ChNo) {
        call.io.displayText.clear();
        return Family::Inert;
    }
    return std::nullopt;
}

// Every cell number in every category with each of the parameters.
std::vector<std::tuple<int32_t, int32_t, int32_t>>
EveryCellEverywhere(std::initializer_list<int32_t> parameters) {
    std::vector<std::tuple<int32_t, int32_t, int32_t>> all;
    for (int32_t category = 0; category <= cmcCellIds::kNoCategory; ++category)
        for (int32_t cell = -1; cell <= kNoCell; ++cell)
            for (int32_t parameter : parameters)
                all.emplace_back(category, cell, parameter);
    return all;
}

bool SameRedirect(const cmcCellCapsule::Redirect& a, const cmcCellCapsule::Redirect& b) {
    return a.on == b.on && a.category == b.category && a.cell == b.cell && a.parameter == b.parameter &&
           a.key == b.key;
}

class CellRegistry : public ::testing::TestWithParam<int> {};

// The chain and the registry each draw on their own copy of the file, in step: a behaviour that
// writes while drawing (the MSK call list's digit count does) writes the same in both.
TEST_P(CellRegistry, TakesEveryCallWithTheFamilyTheChainOfFamiliesTook) {
    Shipped a(GetParam()), b(GetParam());
    // On a first record, before any record and past every list (the channel row past the last slot).
    auto situations = EveryCellEverywhere({-1, 0, 300});
    for (const auto& cell : a.SheetCells())
        situations.push_back(cell);
    int differences = 0;
    for (const auto& [category, cell, parameter] : situations) {
        Probe chain(a, category, cell, parameter), registry(b, category, cell, parameter);
        const Taker chained = Chain(chain.call, chain.result);
        const Taker found = indCellRegistry::Dispatch(registry.call, registry.result);
        if (chained == found && chain.call.io.displayText == registry.call.io.displayText &&
            chain.result == registry.result && chain.capsule.stateBits == registry.capsule.stateBits &&
            chain.call.wrote == registry.call.wrote && chain.call.scope == registry.call.scope &&
            SameRedirect(chain.capsule.redirect, registry.capsule.redirect))
            continue;
        if (++differences <= 20)
            ADD_FAILURE() << "category " << category << " cell " << cell << " parameter " << parameter
                          << ": chain " << NameOf(chained) << " \"" << chain.call.io.displayText << "\" "
                          << chain.result << ", registry " << NameOf(found) << " \""
                          << registry.call.io.displayText << "\" " << registry.result;
    }
    EXPECT_EQ(differences, 0);
    EXPECT_TRUE(std::equal(a.work.Data(), a.work.Data() + indLayout::kWorkSize, b.work.Data()));
}

TEST_P(CellRegistry, EachFamilyTakesExactlyTheCellNumbersItDeclares) {
    Shipped s(GetParam());
    std::vector<std::array<bool, indCellRegistry::kFamilies>> took(kNoCell);
    // Families decline by category, record kind and, for channels, a row before the first.
    for (const auto& [category, cell, parameter] : EveryCellEverywhere({-1, 0})) {
        if (cell < 0 || cell >= kNoCell)
            continue;
        // A family that declines leaves the call as it was, so the next one can be asked on it.
        auto p = std::make_unique<Probe>(s, category, cell, parameter);
        for (int f = 0; f < indCellRegistry::kFamilies; ++f) {
            // On a channel row past the last slot the channel family takes every number by design.
            if (Family(f) == Family::Mch && indMchCells::ServesWholeRow(p->call))
                continue;
            if (indCellRegistry::Run(Family(f), p->call, p->result)) {
                took[size_t(cell)][size_t(f)] = true;
                p = std::make_unique<Probe>(s, category, cell, parameter);
            }
        }
    }
    for (int32_t cell = 0; cell < kNoCell; ++cell)
        for (int f = 0; f < indCellRegistry::kFamilies; ++f)
            EXPECT_EQ(took[size_t(cell)][size_t(f)], indCellRegistry::Serves(Family(f), cell))
                << NameOf(Family(f)) << " and cell " << cell;
}

INSTANTIATE_TEST_SUITE_P(BothInitialFiles, CellRegistry, ::testing::Values(indModel::kLmr, indModel::kPmr));

// A cell number no family declares has no behaviour; a declared one can still find every family
// declining it in a category it does not belong to. Where two families declare a number, the first
// is asked first.
TEST(CellRegistry, NoBehaviourIsAStateOfTheNumber) {
    const auto families = [](int32_t cell) {
        std::vector<Family> list;
        if (const auto found = indCellRegistry::Find(cell))
            list.assign(found->begin(), found->end());
        return list;
    };
    for (int32_t cell : {-1, kNoCell, kNoCell + 100, int32_t(CL_Mch_Scrm_Type), int32_t(CL_WinAD_SMTR_Dec)})
        EXPECT_FALSE(indCellRegistry::Find(cell).has_value()) << cell;
    EXPECT_EQ(families(CL_Null), std::vector<Family>{Family::Inert});
    EXPECT_EQ(families(Flex_Language_ChNo), std::vector<Family>{Family::Inert});
    EXPECT_EQ(families(CL_Nxdn_Ind_Id_Dec), std::vector<Family>{Family::List});
    EXPECT_EQ(families(CL_Msk_AdrRange_Common), (std::vector<Family>{Family::Range, Family::Setting}));

    Shipped s(indModel::kLmr);
    struct Case {
        int32_t category, cell;
        Taker taker;
    };
    for (const Case& c :
         {Case{CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, Family::List}, Case{CT_Null, CL_Nxdn_Ind_Id_Dec, {}},
          Case{CT_Mch, CL_Mch_FreqR, Family::Mch}, Case{CT_Null, CL_Mch_FreqR, {}},
          Case{CT_MSK_AdrRange, CL_Msk_AdrRange_Common, Family::Range}, Case{CT_Null, CL_Null, Family::Inert},
          Case{CT_Mch, CL_Mch_Scrm_Type, {}}}) {
        Probe p(s, c.category, c.cell, 0);
        EXPECT_EQ(indCellRegistry::Dispatch(p.call, p.result), c.taker) << c.category << " " << c.cell;
    }
}

} // namespace

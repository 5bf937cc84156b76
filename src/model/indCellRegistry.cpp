#include "model/indCellRegistry.h"

#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcFatal.h"
#include "model/indAppCells.h"
#include "model/indBankCells.h"
#include "model/indCellCall.h"
#include "model/indCheckCells.h"
#include "model/indDigitalCells.h"
#include "model/indEntryCells.h"
#include "model/indIdRefCells.h"
#include "model/indInfoCells.h"
#include "model/indKeyCells.h"
#include "model/indListCells.h"
#include "model/indMakerCells.h"
#include "model/indMchCells.h"
#include "model/indMdcCells.h"
#include "model/indRangeCells.h"
#include "model/indRptCells.h"
#include "model/indServiceCells.h"
#include "model/indSettingCells.h"
#include "model/indSignalCells.h"
#include "model/indToneCells.h"

#include <string>

namespace {

using Family = indCellRegistry::Family;

// The cells that show nothing and ignore every action.
bool ServesInert(int32_t cell) {
    return cell == CL_Null || cell == Flex_Language_ChNo;
}

bool RunInert(indCellCall& call, int32_t&) {
    if (!ServesInert(call.cell))
        return false;
    call.io.displayText.clear();
    return true;
}

bool RunSetting(indCellCall& call, int32_t& result) {
    return indSettingCells::Handle(call, call.capsule, call.notify, result);
}

struct Behaviour {
    bool (*serves)(int32_t cell);
    bool (*run)(indCellCall& call, int32_t& result);
};

// One row per family, in the order of Family.
constexpr Behaviour kBehaviours[indCellRegistry::kFamilies] = {
    {indMchCells::Serves, indMchCells::Handle},
    {indListCells::Serves, indListCells::Handle},
    {indRptCells::Serves, indRptCells::Handle},
    {indEntryCells::Serves, indEntryCells::Handle},
    {indMdcCells::Serves, indMdcCells::Handle},
    {indRangeCells::Serves, indRangeCells::Handle},
    {indCheckCells::Serves, indCheckCells::Handle},
    {indIdRefCells::Serves, indIdRefCells::Handle},
    {indToneCells::Serves, indToneCells::Handle},
    {indBankCells::Serves, indBankCells::Handle},
    {indMakerCells::Serves, indMakerCells::Handle},
    {indInfoCells::Serves, indInfoCells::Handle},
    {indAppCells::Serves, indAppCells::Handle},
    {indDigitalCells::Serves, indDigitalCells::Handle}, // multi-byte NXDN, dPMR, trunking, MSK values
    {indSettingCells::Serves, RunSetting},
    {indSignalCells::Serves, indSignalCells::Handle}, // codes, tone frequencies and digits of signalling
    // Key assignments, passwords and the other cells of the model's own area.
    {indKeyCells::Serves, indKeyCells::Handle},
    {indServiceCells::Serves, indServiceCells::Handle}, // the maintenance sheets
    {ServesInert, RunInert},
};

const Behaviour& BehaviourOf(Family family) {
    return kBehaviours[size_t(family)];
}

} // namespace

struct indCellRegistry::Table {
    std::array<Entry, cmcCellIds::kNoCell> entries;

    Table() {
        for (int32_t cell = 0; cell < cmcCellIds::kNoCell; ++cell) {
            Entry& e = entries[size_t(cell)];
            for (int f = 0; f < kFamilies; ++f) {
                if (!BehaviourOf(Family(f)).serves(cell))
                    continue;
                if (e.count == kMaxCandidates)
                    cmcFatal("Too many cell families serve cell " + std::to_string(cell) + ".");
                e.families[e.count++] = Family(f);
            }
        }
    }
};

const indCellRegistry::Table& indCellRegistry::Get() {
    static const Table table;
    return table;
}

std::optional<indCellRegistry::Candidates> indCellRegistry::Find(int32_t cell) {
    if (cell < 0 || cell >= cmcCellIds::kNoCell)
        return std::nullopt;
    const Entry& e = Get().entries[size_t(cell)];
    if (e.count == 0)
        return std::nullopt;
    return Candidates(e.families.data(), e.count);
}

bool indCellRegistry::Serves(Family family, int32_t cell) {
    return BehaviourOf(family).serves(cell);
}

bool indCellRegistry::Run(Family family, indCellCall& call, int32_t& result) {
    return BehaviourOf(family).run(call, result);
}

std::optional<indCellRegistry::Family> indCellRegistry::Dispatch(indCellCall& call, int32_t& result) {
    if (call.cell < 0 || call.cell >= cmcCellIds::kNoCell)
        return std::nullopt;
    // A channel row past the last slot is the channel family's whatever the cell number.
    if (indMchCells::ServesWholeRow(call) && Run(Family::Mch, call, result))
        return Family::Mch;
    const std::optional<Candidates> candidates = Find(call.cell);
    if (!candidates)
        return std::nullopt;
    for (Family f : *candidates)
        if (Run(f, call, result))
            return f;
    return std::nullopt;
}

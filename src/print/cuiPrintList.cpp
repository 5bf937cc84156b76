#include "print/cuiPrintList.h"

#include "core/cmcEeprom.h"
#include "model/indBankKind.h"
#include "model/indLayout.h"
#include "model/indRptList.h"

namespace {

// The tree nodes whose sheets print, with the node's position in the tree.
struct Entry {
    size_t node;
    std::string sheetText;
};

std::vector<Entry> TreeSheets(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes) {
    const bool usable = work.GetSize() >= indLayout::kWorkSize;
    std::vector<Entry> out;
    const auto nodes = iuiTreeSheets::Nodes(texts, usable ? work.Data() : nullptr, modes);
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].sheetText.empty()) {
            out.push_back({i, nodes[i].sheetText});
        }
    }
    return out;
}

// The tree's first three nodes, after which the repeater lists print.
constexpr size_t kSummaryNodes = 3;

cuiPrintList Compose(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes, bool summary) {
    cuiPrintList list;
    const std::vector<std::string> repeaters =
        modes.modelType == 0 ? cuiPrintList::RepeaterLists(work) : std::vector<std::string>{};
    bool added = false;
    auto addRepeaters = [&] {
        if (!added) {
            list.sheets.insert(list.sheets.end(), repeaters.begin(), repeaters.end());
            list.repeaterPrint = !repeaters.empty();
            added = true;
        }
    };
    for (const Entry& entry : TreeSheets(texts, work, modes)) {
        if (entry.node >= kSummaryNodes) {
            addRepeaters();
            if (summary) {
                break;
            }
        }
        list.sheets.push_back(entry.sheetText);
    }
    addRepeaters();
    return list;
}

} // namespace

std::vector<std::string> cuiPrintList::RepeaterLists(cmcEeprom& work) {
    std::vector<std::string> out;
    if (work.GetSize() < indLayout::kWorkSize) {
        return out;
    }
    indRptList repeaters(work, indRptList::kRepeaters);
    indRptList trunking(work, indRptList::kTrunkRepeaters);
    for (int bank = 0; bank < indLayout::kGroups; ++bank) {
        const indBankKind::Kind kind = indBankKind::Of(work.Data(), bank);
        if (kind == indBankKind::Kind::Repeater && repeaters.GroupSize(bank) > 0) {
            out.push_back("GI_Sheet_RptSetWin,R 9," + std::to_string(bank));
        } else if (kind == indBankKind::Kind::Trunking && trunking.GroupSize(bank) > 0) {
            out.push_back("GI_Sheet_RptSetWin_VORN,R 9," + std::to_string(bank));
        }
    }
    return out;
}

cuiPrintList cuiPrintList::AllSheets(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes) {
    return Compose(texts, work, modes, false);
}

cuiPrintList cuiPrintList::Summary(cmcGTex& texts, cmcEeprom& work, const iuiTreeSheets::Modes& modes) {
    return Compose(texts, work, modes, true);
}

cuiPrintList cuiPrintList::Current(const std::string& sheetText, cmcGTex& texts, cmcEeprom& work,
                                   const iuiTreeSheets::Modes& modes) {
    // On LMR the bank operation sheet prints as the summary of the radio.
    if (modes.modelType == 0 && sheetText == "GI_Sheet_BankOpLtr,Bank %d,%d,0") {
        return Summary(texts, work, modes);
    }
    cuiPrintList list;
    list.sheets.push_back(sheetText);
    return list;
}

#include "sheets/iuiTreeSheets.h"

#include "cells/cmcCellObj.h"
#include "core/cmcGTex.h"
#include "model/indBankCells.h"
#include "model/indBankKind.h"
#include "model/indLayout.h"
#include "sheets/cuiSheetText.h"

#include <algorithm>
#include <cstdio>

int32_t iuiTreeSheets::Depth(const std::string& entry) {
    const size_t plus = entry.find('+');
    return plus == std::string::npos ? -1 : static_cast<int32_t>(plus);
}

int32_t iuiTreeSheets::BankOf(const std::string& sheetText) {
    const cuiSheetText parts = cuiSheetText::Split(sheetText);
    constexpr std::string_view kBank = "Bank ";
    if (parts.className != "St_ChBank" || parts.kind.compare(0, kBank.size(), kBank) != 0)
        return -1;
    int32_t bank = 0;
    size_t i = kBank.size();
    if (i >= parts.kind.size())
        return -1;
    for (; i < parts.kind.size() && parts.kind[i] >= '0' && parts.kind[i] <= '9'; ++i)
        bank = std::min(bank * 10 + (parts.kind[i] - '0'), 1000);
    return bank < indLayout::kGroups ? bank : -1;
}

std::string iuiTreeSheets::BankName(const uint8_t* work, int32_t bank) {
    if (!work || bank < 0 || bank >= indLayout::kGroups)
        return {};
    const uint8_t* field = work + indBankCells::kNamesAt + indBankCells::kNameLength * bank;
    std::string name;
    for (int32_t i = 0; i < indBankCells::kNameLength && field[i] != 0; ++i)
        name += field[i] >= 0x20 && field[i] < 0x7F ? static_cast<char>(field[i]) : ' ';
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string iuiTreeSheets::BankCaption(const uint8_t* work, int32_t bank, const std::string& overlayCaption) {
    std::string name = BankName(work, bank);
    return name.empty() ? overlayCaption + " " + std::to_string(bank + 1) : name;
}

int32_t iuiTreeSheets::BankImage(const uint8_t* work, int32_t bank) {
    if (!work || bank < 0 || bank >= indLayout::kGroups)
        return 4;
    const int32_t kind = static_cast<int32_t>(indBankKind::Of(work, bank));
    return 4 + 2 * kind + (indLayout::GroupCount(work, bank) > 0 ? 1 : 0);
}

namespace {

iuiTreeSheets::Node MakeNode(cmcGTex& tex, const cmcCellObj& basic, const std::string& entry, int32_t depth,
                             uint8_t* markFlags = nullptr, uint8_t* moreFlags = nullptr) {
    cmcCellObj cell;
    const size_t plus = entry.find('+');
    cell.ParseCell(std::string_view(entry).substr(plus == std::string::npos ? 0 : plus + 1), tex, nullptr,
                   &basic);
    iuiTreeSheets::Node node;
    node.depth = depth;
    node.caption = cell.GetDisplayText();
    node.sheetText = cell.argument.value_or(std::string());
    node.imageIndex = cell.imageIndex;
    if (markFlags)
        *markFlags = cell.markFlags;
    if (moreFlags)
        *moreFlags = cell.moreFlags;
    return node;
}

} // namespace

std::vector<iuiTreeSheets::Node> iuiTreeSheets::Nodes(cmcGTex& tex, const uint8_t* work, const Modes& modes) {
    cmcCellObj basic;
    basic.ParseCell(tex.GetText("GI_Tree_Main_BasicCell"), tex, nullptr, nullptr);
    std::vector<Node> nodes;
    int32_t removedDepth = -1; // while set, deeper entries belong to a removed node
    int32_t mchTopDepth = -1;  // while set, deeper entries are the overlay's own bank children
    for (int n = 0;; ++n) {
        const std::string entry = tex.GetLine("GI_Tree_Main_Body", n);
        if (!entry.empty() && entry[0] == '#')
            break;
        const int32_t depth = std::max<int32_t>(0, Depth(entry));
        if (removedDepth >= 0 && depth > removedDepth)
            continue;
        removedDepth = -1;
        if (mchTopDepth >= 0 && depth > mchTopDepth)
            continue;
        mchTopDepth = -1;
        uint8_t mark = 0, more = 0;
        Node node = MakeNode(tex, basic, entry, depth, &mark, &more);
        const bool drop = ((more & kAdjustOnly) && !modes.adjust) || ((mark & kMakerOnly) && !modes.maker) ||
                          ((mark & kLmrOnly) && modes.modelType == 1) ||
                          ((mark & kPmrOnly) && modes.modelType == 0);
        if (drop) {
            removedDepth = depth;
            continue;
        }
        nodes.push_back(node);
        if (node.sheetText != kMchTop)
            continue;
        // The memory channel branch: the bank operation sheet, then every bank that holds channels.
        mchTopDepth = depth;
        const std::string op = tex.GetLine("GI_Tree_Branch_Mch_BankOperation", modes.modelType == 1 ? 0 : 1);
        nodes.push_back(MakeNode(tex, basic, op, depth + 1));
        if (!work)
            continue;
        const std::string format = tex.GetText("GI_Tree_Branch_Mch_Bank");
        for (int bank = 0; bank < indLayout::kGroups; ++bank) {
            if (indLayout::GroupCount(work, bank) == 0)
                continue;
            // The overlay's format names the tree ("%s") and the bank ("%d"); it is filled in by hand,
            // never handed to printf, so that a translator's file cannot make it read past its values.
            std::string text;
            bool kindDone = false, bankDone = false;
            for (size_t i = 0; i < format.size(); ++i) {
                const char next = i + 1 < format.size() ? format[i + 1] : '\0';
                if (format[i] != '%' || next == '\0') {
                    text += format[i];
                } else if (next == '%') {
                    text += '%';
                    ++i;
                } else if (next == 's' && !kindDone) {
                    text += modes.modelType == 1 ? "Pmr" : "Lmr";
                    kindDone = true;
                    ++i;
                } else if (next == 'd' && !bankDone) {
                    text += std::to_string(bank);
                    bankDone = true;
                    ++i;
                } else {
                    text += format[i];
                }
            }
            Node& added = nodes.emplace_back(MakeNode(tex, basic, text, depth + 1));
            added.bank = bank;
            added.overlayCaption = added.caption;
            added.caption = BankCaption(work, bank, added.caption);
            added.imageIndex = BankImage(work, bank);
        }
    }
    return nodes;
}

#include "sheets/iuiSh_ChBank.h"

#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "model/indBankKind.h"
#include "model/indLayout.h"
#include "sheets/iuiSheetKind.h"
#include "sheets/iuiTreeSheets.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace {

struct Span {
    int16_t first;
    int16_t last;
};

// Cell numbers hidden per bank kind: repeater (A), SmarTrunk (B), trunking (C), ordinary.
const std::vector<Span> kHideA = {{176, 178}, {180, 180}, {182, 183}, {186, 186}, {188, 189}, {193, 193},
                                  {202, 202}, {204, 207}, {215, 215}, {255, 255}, {257, 264}, {643, 645}};
const std::vector<Span> kHideB = {{188, 188}, {190, 191}, {196, 201}, {204, 207},
                                  {230, 230}, {240, 240}, {263, 264}, {638, 645}};
const std::vector<Span> kHideC = {{176, 178}, {180, 180}, {182, 183},  {185, 186}, {188, 189},
                                  {193, 195}, {200, 202}, {208, 210},  {230, 230}, {254, 255},
                                  {257, 262}, {638, 640}, {1299, 1299}};
const std::vector<Span> kHideOrdinary = {{204, 207}, {230, 230}, {638, 645}};

bool Usable(const cmcEeprom* work) {
    return work && work->GetSize() >= indLayout::kWorkSize;
}

} // namespace

int32_t iuiSh_ChBank::BankShown(const cuiSheet& sheet) {
    const auto* bank = dynamic_cast<const iuiSh_ChBank*>(&sheet);
    return bank ? bank->Bank() : -1;
}

bool iuiSh_ChBank::Hidden(int hideSet, int32_t cell) {
    static const std::array<const std::vector<Span>*, 4> sets = {&kHideA, &kHideB, &kHideC, &kHideOrdinary};
    if (hideSet < 0 || hideSet > 3) {
        return false;
    }
    for (const Span& s : *sets[static_cast<size_t>(hideSet)]) {
        if (cell >= s.first && cell <= s.last) {
            return true;
        }
    }
    return false;
}

iuiSh_ChBank::iuiSh_ChBank(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell,
                           int32_t startParameter)
    : cuiSheet(env, std::move(overlayKey), startCell, startParameter) {
    m_layoutSelectFlags = false;
    m_minTableRows = kTableRows;
    if (m_env.events) {
        if (m_env.mchWindowOpen) {
            const auto answers = m_env.events->Ask(cmcEv::AskMchPendingBank);
            if (!answers.empty()) {
                m_pendingOffset = answers.front().value;
            }
        }
        m_env.events->Register(&iuiSh_ChBank::OnEvent, this);
    }
}

iuiSh_ChBank::~iuiSh_ChBank() {
    if (m_env.events) {
        m_env.events->Unregister(&iuiSh_ChBank::OnEvent, this);
    }
}

void iuiSh_ChBank::SetKind(std::string_view kind) {
    cuiSheet::SetKind(kind);
    const iuiSheetKind k = iuiSheetKind::Parse(kind);
    int bank = 0;
    if (k.word == "Bank" && k.ItemNumber(0, bank)) {
        m_bank = std::clamp(bank, 0, indLayout::kGroups - 1);
        if (m_env.mchWindowOpen && m_env.events) {
            m_env.events->Send(cmcEv::MchFollowBank, 0, m_bank);
        }
    }
    m_entryCount = 0;
    m_firstEntry = 0;
    if (Usable(m_env.work)) {
        // Counts come from the data as they are; a damaged count never makes more rows than channels.
        const uint8_t* w = m_env.work->Data();
        int32_t first = 0;
        for (int g = 0; g < m_bank; ++g) {
            first += indLayout::GroupCount(w, g);
        }
        m_firstEntry = std::min(first, indLayout::kChannels);
        m_entryCount = std::clamp(indLayout::GroupCount(w, m_bank), 0, indLayout::kChannels - m_firstEntry);
    }
}

void iuiSh_ChBank::Show() {
    cuiSheet::Show();
    if (m_env.events) {
        m_env.events->Send(cmcEv::RefreshSheetTitle);
    }
}

void iuiSh_ChBank::ApplyRowKeyword(std::string_view keyword) {
    int32_t n = 0;
    if (StartsWith(keyword, "LoopFrom") && !NumberAfterSpace(keyword, n)) {
        m_loopFirst = m_line;
        if (m_loopMark < 0) {
            m_loopMark = m_rowCount;
        }
        if (Printing()) {
            m_loopCount = m_entryCount;
        } else {
            m_loopCount = m_entryCount + 1;
            // The blank row to append a channel takes no part in a multi-selection.
            RowAt(m_loopMark + m_entryCount).multiSelect = false;
        }
        return;
    }
    cuiSheet::ApplyRowKeyword(keyword);
}

void iuiSh_ChBank::RowHook(int32_t row) {
    if (row == m_loopMark) {
        m_counters[0] = m_firstEntry;
    }
}

void iuiSh_ChBank::CreateCells(const std::string& cellsKey) {
    cuiSheet::CreateCells(cellsKey);
    const int hideSet = Usable(m_env.work)
                            ? static_cast<int>(indBankKind::HideSetOf(m_env.work->Data(), m_bank))
                            : static_cast<int>(indBankKind::HideSet::Ordinary);
    for (int32_t c = 0; c < m_colCount; ++c) {
        for (int32_t r = 0; r < m_rowCount; ++r) {
            if (Hidden(hideSet, Cell(c, r).cell)) {
                SetColWidth(c, 0);
                break;
            }
        }
    }
    UnselectHiddenColumns();
}

bool iuiSh_ChBank::SmarTrunk() const {
    return Usable(m_env.work) && indBankKind::Of(m_env.work->Data(), m_bank) == indBankKind::Kind::SmarTrunk;
}

std::string iuiSh_ChBank::BankName() const {
    // The name the bank operation sheet edits and the tree shows.
    return Usable(m_env.work) ? iuiTreeSheets::BankName(m_env.work->Data(), m_bank) : std::string();
}

std::string iuiSh_ChBank::Title() {
    const std::string smar = SmarTrunk() ? m_env.texts->GetText("GI_AppInd_MchSheet_Printer_SmarTrunk") : "";
    char text[512];
    std::snprintf(text, sizeof text, "%s %d: %s %s",
                  m_env.texts->GetText("GI_AppInd_MchSheet_Printer_Head").c_str(), m_bank + 1,
                  BankName().c_str(), smar.c_str());
    return text;
}

std::string iuiSh_ChBank::LiveTitle() {
    int32_t used = 0;
    if (Usable(m_env.work)) {
        for (int g = 0; g < indLayout::kGroups; ++g) {
            used += indLayout::GroupCount(m_env.work->Data(), g);
        }
    }
    const std::string smar = SmarTrunk() ? m_env.texts->GetText("GI_AppInd_MchSheet_Printer_SmarTrunk") : "";
    char text[512];
    std::snprintf(text, sizeof text, "%s %d: %s %s (%d %s)", m_title.value_or("").c_str(), m_bank + 1,
                  BankName().c_str(), smar.c_str(), std::max(0, indLayout::kChannels - used),
                  m_env.texts->GetText("GI_AppInd_Sheet_Title_LeftCH").c_str());
    return text;
}

bool iuiSh_ChBank::IsPrintable() {
    return cuiSheet::IsPrintable() && m_entryCount > 0;
}

void iuiSh_ChBank::AddRows(int32_t count) {
    GrowLoop(count);
}

void iuiSh_ChBank::RemoveRows(int32_t count) {
    ShrinkLoop(count, m_loopMark);
}

void iuiSh_ChBank::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<iuiSh_ChBank*>(context);
    switch (event.type) {
    case cmcEv::AskBankEntry:
        self->m_env.events->Answer(self->m_bank, self->m_firstEntry);
        break;
    case cmcEv::AddRows:
        self->AddRows(1);
        break;
    case cmcEv::RemoveRows:
        self->RemoveRows(1);
        break;
    default:
        break;
    }
}

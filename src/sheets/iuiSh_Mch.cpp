#include "sheets/iuiSh_Mch.h"

#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "model/indBankKind.h"
#include "model/indLayout.h"
#include "model/indRptList.h"
#include "sheets/iuiSheetKind.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

iuiSh_Mch::iuiSh_Mch(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell,
                     int32_t startParameter)
    : cuiSheet(env, std::move(overlayKey), startCell, startParameter) {
    m_layoutSelectFlags = false;
    m_minTableRows = 138;
    if (m_env.events)
        m_env.events->Register(&iuiSh_Mch::OnEvent, this);
}

iuiSh_Mch::~iuiSh_Mch() {
    if (m_env.events)
        m_env.events->Unregister(&iuiSh_Mch::OnEvent, this);
}

bool iuiSh_Mch::EditableList(char letter) {
    return letter && std::string_view("DMQRXqx").find(letter) != std::string_view::npos;
}
bool iuiSh_Mch::LongList(char letter) {
    return letter && std::string_view("DMQVWXZqx").find(letter) != std::string_view::npos;
}

int32_t iuiSh_Mch::RecordKindOf(char letter) {
    switch (letter) {
    case 'X':
        return 18;
    case 'Q':
        return 19;
    case 'x':
        return 28;
    case 'q':
        return 29;
    case 'M':
        return 24;
    case 'D':
        return 31;
    default:
        return 0;
    }
}

void iuiSh_Mch::SetKind(std::string_view kind) {
    cuiSheet::SetKind(kind);
    m_letter = kind.empty() ? 0 : kind[0];
    m_minTableRows = LongList(m_letter) ? 510 : 138;
    const iuiSheetKind k = iuiSheetKind::Parse(kind);
    m_firstEntry = 0;
    m_entryCount = 0;
    if (m_letter == 'R') {
        int group = 0;
        if (k.ItemNumber(1, group))
            m_shownGroup = std::clamp(group, 0, indLayout::kGroups - 1);
        const bool usable = m_env.work && m_env.work->GetSize() >= indLayout::kWorkSize;
        m_repeaterKind =
            usable && indBankKind::Of(m_env.work->Data(), m_shownGroup) == indBankKind::Kind::Trunking ? 27
                                                                                                       : 22;
        if (usable) {
            indRptList list(*m_env.work, m_repeaterKind);
            m_firstEntry = list.FirstOf(m_shownGroup);
            m_entryCount = list.GroupSize(m_shownGroup);
        }
        return;
    }
    const int32_t recordKind = RecordKindOf(m_letter);
    if (recordKind != 0)
        m_entryCount = std::clamp(ListCount(recordKind), 0, (LongList(m_letter) ? 510 : 138) - 1);
}

void iuiSh_Mch::ApplyRowKeyword(std::string_view keyword) {
    int32_t n = 0;
    if (StartsWith(keyword, "Only_Print")) {
        if (!m_env.repeaterPrint && NumberAfterSpace(keyword, n))
            m_skip = n;
        return;
    }
    if (!(StartsWith(keyword, "LoopFrom") && !NumberAfterSpace(keyword, n))) {
        cuiSheet::ApplyRowKeyword(keyword);
        return;
    }
    m_loopFirst = m_line;
    if (m_loopMark < 0)
        m_loopMark = m_rowCount;
    if (Printing()) {
        m_loopCount = m_entryCount;
        return;
    }
    if (EditableList(m_letter)) {
        m_loopCount = m_entryCount + 1;
        m_select = false;
        // The blank row to append an entry takes no part in a multi-selection.
        RowAt(m_loopMark + m_loopCount - 1).multiSelect = false;
        return;
    }
    if (m_letter == 'Y')
        m_loopCount = m_env.languages ? m_env.languages->CountListLines("GI_Sys_Language", 255) : 0;
    else
        m_loopCount = ListCount(RecordKindOf(m_letter));
    if (m_loopCount == 0)
        m_skip = 1;
    m_select = false;
    RowAt(m_loopMark + m_loopCount).multiSelect = false;
}

void iuiSh_Mch::RowHook(int32_t row) {
    if (row == m_loopMark)
        m_counters[0] = m_firstEntry;
}

void iuiSh_Mch::CreateCells(const std::string& cellsKey) {
    cuiSheet::CreateCells(cellsKey);
    UnselectHiddenColumns();
}

std::string iuiSh_Mch::Title() {
    if (m_overlayKey == "GI_Sheet_RptSetWin" || m_overlayKey == "GI_Sheet_RptSetWin_VORN") {
        char text[512];
        std::snprintf(text, sizeof text, "%s (%s:%3d)",
                      m_env.texts->GetText("GI_AppInd_RptSheet_Printer_Head").c_str(),
                      m_env.texts->GetText("GI_AppInd_Sheet_Title_Site").c_str(), m_shownGroup + 1);
        return text;
    }
    static constexpr std::string_view kTitled[] = {
        "GI_Sheet_MDC_AliasM", "GI_Sheet_Nxdn_Ind_Id", "GI_Sheet_Nxdn_Grp_Id", "GI_Sheet_NxdnTrunk_Ind_Id",
        "GI_Sheet_NxdnTrunk_Grp_Id", "GI_Sheet_Dpmr_Ind_Id",
        // The dPMR call lists the tree opens show their titles too.
        "GI_Sheet_Dpmr_CallList_Inv", "GI_Sheet_Dpmr_CallList_Grp"};
    for (std::string_view key : kTitled)
        if (m_overlayKey == key)
            return cuiSheet::Title();
    return {};
}

void iuiSh_Mch::AddRows(int32_t count) {
    if (!EditableList(m_letter))
        return;
    GrowLoop(count);
}

void iuiSh_Mch::RemoveRows(int32_t count) {
    if (!EditableList(m_letter))
        return;
    ShrinkLoop(count, m_loopMark);
}

void iuiSh_Mch::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<iuiSh_Mch*>(context);
    switch (event.type) {
    case cmcEv::AskBankEntry:
        self->m_env.events->Answer(self->m_bank, self->m_firstEntry);
        break;
    case cmcEv::AskListIndex:
        self->m_env.events->Answer(self->m_shownGroup, 0);
        break;
    case cmcEv::AddRows:
        self->AddRows(static_cast<int32_t>(event.p1));
        break;
    case cmcEv::RemoveRows:
        self->RemoveRows(static_cast<int32_t>(event.p1));
        break;
    default:
        break;
    }
}

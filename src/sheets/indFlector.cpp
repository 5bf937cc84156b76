#include "sheets/indFlector.h"

#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "model/datCh.h"

#include <utility>
#include <vector>

namespace {

// Shown without a definition of its own, a list takes the program's basic look and every entry
// becomes selectable and wide enough for its text.
constexpr const char* kPrivateStyle = "(NoPrint)";
constexpr const char* kPrivateFlags = "S<_WHB";

} // namespace

const indFlector::DataList* indFlector::DataListOf(int32_t choiceCell) {
    static constexpr DataList kLists[] = {
        {FlexMdcAlias_ChNo, "GI_Sheet_MDC_AliasM,M", datCh::kKindMdcAlias},
        {Flex_NxdnInvIDList_ChNo, "GI_Sheet_Nxdn_Ind_Id,X", datCh::kKindNxdnIndId},
        {Flex_NxdnTgIDList_ChNo, "GI_Sheet_Nxdn_Grp_Id,Q", datCh::kKindNxdnGroupId},
        {Flex_NxdnInvIDList_VORN_ChNo, "GI_Sheet_NxdnTrunk_Ind_Id,x", datCh::kKindTrunkIndId},
        {Flex_NxdnTgIDList_VORN_ChNo, "GI_Sheet_NxdnTrunk_Grp_Id,q", datCh::kKindTrunkTalkGroup},
        {Flex_DpmrInvIDList_ChNo, "GI_Sheet_Dpmr_Ind_Id,D", datCh::kKindDpmrIndId},
        {Flex_DpmrIDList_ChNo_Inv, "GI_Sheet_Dpmr_CallList_Inv,D", datCh::kKindDpmrIndId},
        {Flex_DpmrIDList_ChNo_Grp, "GI_Sheet_Dpmr_CallList_Grp,D", datCh::kKindDpmrIndId},
    };
    for (const DataList& list : kLists) {
        if (list.choiceCell == choiceCell) {
            return &list;
        }
    }
    return nullptr;
}

indFlector::indFlector(cmcGTex& texts, std::string listName, int32_t startCell, int32_t startParameter)
    : m_texts(texts), m_listName(std::move(listName)), m_startCell(startCell),
      m_startParameter(startParameter) {
    if (m_texts.HasKey(m_listName + "_Style") && m_texts.HasKey(m_listName + "_BasicCell")) {
        return;
    }
    std::vector<std::string> lines;
    lines.push_back("#" + m_listName + "_Style");
    lines.push_back(kPrivateStyle);
    lines.push_back("#");
    // The basic cell spells out the program's basic cell (no named sets: they live in the main table).
    std::string basic = "{" + std::string(kPrivateFlags) + "(Color=clWindow)}";
    if (m_texts.HasKey("CellModel_Basic")) {
        std::string model = m_texts.GetText("CellModel_Basic");
        const size_t group = model.find('(');
        if (group != std::string::npos) {
            basic = "{" + std::string(kPrivateFlags) + model.substr(group) + "}";
        }
    }
    lines.push_back("#" + m_listName + "_BasicCell");
    lines.push_back(basic);
    lines.push_back("#");
    lines.push_back("#" + m_listName + "_Cells");
    const std::string cells = m_listName + "_Cells";
    for (int n = 0;; ++n) {
        std::string line = m_texts.GetLine(cells, n);
        if (!line.empty() && line[0] == '#') {
            break;
        }
        lines.push_back(std::move(line));
    }
    lines.push_back("#");
    lines.push_back("#" + std::string(cmcGTex::kEndKey));
    m_private = std::make_unique<cmcGTex>();
    m_private->AttachLines(std::move(lines));
}

indFlector::~indFlector() = default;

bool indFlector::IsStart(const cmcCellObj& cell) const {
    return cell.cell == m_startCell && cell.parameter == m_startParameter;
}

indFlector::Point indFlector::Place(const Rect& cell, int32_t width, int32_t height, const Rect& work) {
    Point p;
    bool fits = true;
    p.y = cell.bottom;
    if (p.y + height > work.bottom) {
        p.y = cell.top - height;
        if (p.y < work.top) {
            p.y = work.bottom - height;
            fits = false;
        }
    }
    p.x = cell.left + 8;
    if (p.x + width > work.right) {
        p.x = work.right - width;
        if (!fits && width < cell.left - work.left) {
            p.x = cell.left - width;
        }
    }
    // A window larger than the work area keeps its top left on it.
    if (p.x < work.left) {
        p.x = work.left;
    }
    if (p.y < work.top) {
        p.y = work.top;
    }
    return p;
}

cmcCellCapsule indFlector::Answer(const cmcCellCapsule& opener, cmcCellCapsule& chosen) {
    cmcCellCapsule answer;
    answer.CopyCapsule(opener);
    answer.groupIndex = opener.groupIndex;
    answer.link = &chosen;
    answer.editState = cmcCellCapsule::kEditChosen;
    answer.key = 0;
    answer.command = 0;
    answer.enteredText.clear();
    return answer;
}

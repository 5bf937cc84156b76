#include "sheets/indFlector.h"

#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "model/datCh.h"

#include <algorithm>
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
        {Flex_NxdnInvIDList_ChNo, datCh::kKindNxdnIndId, "CT_Nxdn_Inv", "CL_Nxdn_Ind_Id_Dec",
         "CL_Nxdn_Ind_Id_Name"},
        {Flex_NxdnTgIDList_ChNo, datCh::kKindNxdnGroupId, "CT_Nxdn_Tg", "CL_Nxdn_Grp_Id_Dec",
         "CL_Nxdn_Grp_Id_Name"},
        {Flex_NxdnInvIDList_VORN_ChNo, datCh::kKindTrunkIndId, "CT_VORN_Inv", "CL_VORN_Ind_Id_Dec",
         "CL_VORN_Ind_Id_Name"},
        {Flex_NxdnTgIDList_VORN_ChNo, datCh::kKindTrunkTalkGroup, "CT_VORN_Tg", "CL_VORN_Grp_Id_Dec",
         "CL_VORN_Grp_Id_Name"},
        {Flex_DpmrInvIDList_ChNo, datCh::kKindDpmrIndId, "CT_Dpmr_Inv", "CL_Dpmr_Ind_Id_Dec",
         "CL_Dpmr_Ind_Id_Name"},
        {Flex_DpmrIDList_ChNo_Inv, datCh::kKindDpmrIndId, "CT_Dpmr_Inv", "CL_Dpmr_Ind_Id_Dec",
         "CL_Dpmr_Ind_Id_Name"},
        {Flex_DpmrIDList_ChNo_Grp, datCh::kKindDpmrIndId, "CT_Dpmr_Inv", "CL_Dpmr_Ind_Id_Dec",
         "CL_Dpmr_Ind_Id_Name"},
    };
    for (const DataList& list : kLists)
        if (list.choiceCell == choiceCell)
            return &list;
    return nullptr;
}

int32_t indFlector::DataEntries(const cmcEeprom* work, const DataList& list) {
    const int32_t capacity = datCh::Capacity(list.kind);
    const int32_t inUse = work ? datCh::EntriesInUse(work->Data(), list.kind) : 0;
    return std::clamp(inUse, 1, std::max(capacity, 1));
}

std::vector<std::string> indFlector::SplitCells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            cells.back() += line.substr(i, 2);
            ++i;
        } else if (line[i] == '|') {
            cells.emplace_back();
        } else {
            cells.back() += line[i];
        }
    }
    return cells;
}

namespace {

// The parameter a cell text gives its cell ("[n]"), or -1.
int32_t ParameterOf(const std::string& cell) {
    const size_t open = cell.find('[');
    if (open == std::string::npos)
        return -1;
    int32_t n = 0;
    size_t i = open + 1;
    if (i >= cell.size() || cell[i] < '0' || cell[i] > '9')
        return -1;
    for (; i < cell.size() && cell[i] >= '0' && cell[i] <= '9'; ++i)
        n = n * 10 + (cell[i] - '0');
    return n;
}

} // namespace

indFlector::indFlector(cmcGTex& texts, std::string listName, int32_t startCell, int32_t startParameter,
                       int32_t entries)
    : m_texts(texts), m_listName(std::move(listName)), m_startCell(startCell),
      m_startParameter(startParameter) {
    if (entries < 0 && m_texts.HasKey(m_listName + "_Style") && m_texts.HasKey(m_listName + "_BasicCell"))
        return;
    std::vector<std::string> lines;
    lines.push_back("#" + m_listName + "_Style");
    lines.push_back(kPrivateStyle);
    lines.push_back("#");
    // The basic cell spells out the program's basic cell (no named sets: they live in the main table).
    std::string basic = "{" + std::string(kPrivateFlags) + "(Color=clWindow)}";
    if (m_texts.HasKey("CellModel_Basic")) {
        std::string model = m_texts.GetText("CellModel_Basic");
        const size_t group = model.find('(');
        if (group != std::string::npos)
            basic = "{" + std::string(kPrivateFlags) + model.substr(group) + "}";
    }
    lines.push_back("#" + m_listName + "_BasicCell");
    lines.push_back(basic);
    lines.push_back("#");
    lines.push_back("#" + m_listName + "_Cells");
    const std::string cells = m_listName + "_Cells";
    for (int n = 0;; ++n) {
        std::string line = m_texts.GetLine(cells, n);
        if (!line.empty() && line[0] == '#')
            break;
        if (entries < 0) {
            lines.push_back(std::move(line));
            continue;
        }
        // A data list: the entries in use, one a row, so that each has room for its ID and name.
        for (const std::string& cell : SplitCells(line)) {
            const int32_t parameter = ParameterOf(cell);
            if (!cell.empty() && parameter >= 0 && parameter < entries)
                lines.push_back("|" + cell + "|");
        }
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
        if (!fits && width < cell.left - work.left)
            p.x = cell.left - width;
    }
    // A window larger than the work area keeps its top left on it.
    if (p.x < work.left)
        p.x = work.left;
    if (p.y < work.top)
        p.y = work.top;
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

#include "sheets/iuiSheet.h"

#include "core/cmcGTex.h"

#include <utility>

iuiSheet::iuiSheet(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell, int32_t startParameter)
    : cuiSheet(env, std::move(overlayKey), startCell, startParameter) {
    m_fitRounding = 0.0;
    m_storedWidths = false;
}

void iuiSheet::ApplyStyleKey(std::string_view key) {
    if (!StartsWith(key, "WithUsable")) {
        cuiSheet::ApplyStyleKey(key);
        return;
    }
    if (!m_env.usableMarking)
        return;
    m_title = m_title.value_or(std::string()) + " " + m_env.texts->GetText("GI_AppInd_chSheet_Usable_Title");
    // The font fields are those of a cell's Font attribute, as for the TitleFont key.
    cuiSheet::ApplyStyleKey("TitleFont=" + m_env.texts->GetText("GI_AppInd_chSheet_Usable_Font"));
}

void iuiSheet::CreateCells(const std::string& cellsKey) {
    cuiSheet::CreateCells(cellsKey);
    UnselectHiddenColumns();
}

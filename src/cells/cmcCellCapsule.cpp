#include "cells/cmcCellCapsule.h"

#include "cells/cmcCellObj.h"

void cmcCellCapsule::ResetCapsule() {
    const int32_t keepGroup = groupIndex;
    *this = cmcCellCapsule();
    groupIndex = keepGroup;
}

void cmcCellCapsule::CopyCapsule(const cmcCellCapsule& source) {
    if (&source == this)
        return;
    const int32_t keepGroup = groupIndex;
    *this = source;
    groupIndex = keepGroup;
    stateBits = source.stateBits & 0x0F;
}

void cmcCellCapsule::Refresh(uint8_t scope) {
    if (refresh && scope != 0)
        refresh(refreshContext, *this, scope);
}

void cmcCellCapsule::RestartEdit(int32_t flag) {
    if (restartEdit)
        restartEdit(restartEditContext, *this, flag);
}

void cmcCellCapsule::SelectAll() {
    selStart = 0;
    selLength = static_cast<int32_t>(displayText.size());
}

bool cmcCellCapsule::ScopeSelects(uint8_t scope, const cmcCellObj& acted, const cmcCellObj& visible) {
    const bool actedHasCategory = acted.HasCategory();
    const bool visibleHasCell = visible.HasCell();
    const bool sameRecordRule = actedHasCategory && visibleHasCell;
    if ((scope & kScopeSelf) && visible.cell == acted.cell && visible.parameter == acted.parameter)
        return true;
    if ((scope & kScopeCategory) && visible.category == acted.category)
        return true;
    if ((scope & kScopeCell) && visible.cell == acted.cell)
        return true;
    if ((scope & kScopeRecord) && sameRecordRule && visible.parameter == acted.parameter)
        return true;
    if ((scope & kScopeNeighbours) && visibleHasCell && visible.category == acted.category) {
        const int64_t d = static_cast<int64_t>(visible.parameter) - acted.parameter;
        if (d >= -1 && d <= 1)
            return true;
    }
    if ((scope & kScopeAll) && visibleHasCell)
        return true;
    if ((scope & kScopeFromHere) && sameRecordRule && visible.parameter >= acted.parameter)
        return true;
    if ((scope & kScopeUpToHere) && sameRecordRule && visible.parameter <= acted.parameter)
        return true;
    return false;
}

#include "model/indWarningCheck.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcGTex.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"

#include <cstdio>

namespace {

// Longest list the check reads; an overlay without the closing mark cannot make it run away.
constexpr int kMaxEntries = 1000;

void Evaluate(indCellHandler& handler, cmcGTex& tex, const std::string& text, int32_t group,
              indWarningCheck::Result& out) {
    cmcCellObj cell;
    cell.ParseCell(text, tex, nullptr, nullptr);
    cmcCellCapsule capsule;
    capsule.groupIndex = group;
    capsule.cell = &cell;
    handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
    indWarningCheck::Item item{text, cell.argument.value_or("")};
    if (capsule.stateBits & cmcCellCapsule::kStateError)
        out.errors.push_back(std::move(item));
    else if (capsule.stateBits & cmcCellCapsule::kStateWarning)
        out.warnings.push_back(std::move(item));
}

} // namespace

indWarningCheck::Result indWarningCheck::Run(indCellHandler& handler, cmcGTex& tex, int modelType) {
    Result result;
    // Channel checks see every channel where it stands, whatever bank a sheet shows.
    const int32_t shown = handler.shownBank;
    handler.shownBank = -1;
    for (int n = 0; n < kMaxEntries; ++n) {
        std::string line = tex.GetLine("GI_WarningCheckList", n);
        if (line.empty() || line[0] == '#')
            break;
        Evaluate(handler, tex, line, 0, result);
    }
    for (int bank = 0; bank < indLayout::kGroups; ++bank) {
        char text[96];
        std::snprintf(text, sizeof text, "{(%%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_%s,Bank %d)}",
                      modelType == 1 ? "Pmr" : "Lmr", bank);
        Evaluate(handler, tex, text, bank, result);
    }
    handler.shownBank = shown;
    return result;
}

int indWarningCheck::ErrorCount(cmcEeprom& work, const cmcEeprom* defaults, cmcGTex& tex, int modelType) {
    cmcFCache lists(tex);
    cmcCodecEnv env(&tex, &lists, nullptr);
    indCellHandler::Services s;
    s.work = &work;
    s.defaults = defaults;
    s.env = &env;
    s.modelFamily = modelType == 1 ? 1 : 0;
    indCellHandler handler(s);
    return Run(handler, tex, modelType).ErrorCount();
}

#include "cells/cmcCodecIo.h"

#include "cells/cmcCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecText.h"

void cmcCodecIo::OpenEditorTrimmed() {
    size_t first = displayText.find_first_not_of(" \t");
    size_t last = displayText.find_last_not_of(" \t");
    std::string trimmed =
        first == std::string::npos ? std::string() : displayText.substr(first, last - first + 1);
    OpenEditorSelected(trimmed);
}

void cmcCodecIo::OpenEditorAt(std::string_view text, int32_t caret) {
    displayText.assign(text);
    selStart = caret;
    selLength = 0;
    result = kResultEdit;
}

void cmcCodecIo::SetFontColor(uint32_t color) const {
    if (canvas)
        canvas->SetFontColor(color);
}

void cmcCodecIo::Refuse(std::string_view key, std::initializer_list<std::string_view> values) {
    if (env && env->Texts()) {
        refusal = cmcCodecText::Fill(env->Text(key), values);
        if (!refusal.empty())
            return;
    }
    refusal.assign(key);
    for (std::string_view v : values) {
        refusal += ' ';
        refusal += v;
    }
}

cmcCodecIo cmcCodecIo::FromCapsule(const cmcCellCapsule& capsule) {
    cmcCodecIo io;
    io.key = capsule.key;
    io.editState = capsule.editState;
    io.enteredText = capsule.enteredText;
    io.grid = capsule.onGrid;
    io.linked = capsule.link != nullptr;
    if (capsule.link && capsule.link->cell) {
        io.chosenCell = capsule.link->cell->cell;
        io.chosenParam = capsule.link->cell->parameter;
    }
    io.canvas = capsule.canvas;
    // Painting needs the full canvas; every canvas the sheets draw with is one.
    io.painter = dynamic_cast<cmcCanvas*>(capsule.canvas);
    io.rect = {capsule.cellRect.left, capsule.cellRect.top, capsule.cellRect.right, capsule.cellRect.bottom};
    io.capsule = &capsule;
    return io;
}

void cmcCodecIo::ToCapsule(cmcCellCapsule& capsule) const {
    capsule.displayText = displayText;
    capsule.selStart = selStart;
    capsule.selLength = selLength;
    capsule.refusal = refusal;
    if (align >= 0 && capsule.cell)
        capsule.cell->layoutFlags = static_cast<uint8_t>(
            (capsule.cell->layoutFlags & ~cmcCellObj::kHAlignMask) | (align & cmcCellObj::kHAlignMask));
    if (restartEdit)
        capsule.RestartEdit();
}

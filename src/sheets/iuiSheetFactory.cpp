#include "sheets/iuiSheetFactory.h"

#include "sheets/cuiSheetText.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSh_Common.h"
#include "sheets/iuiSh_Mch.h"

std::unique_ptr<cuiSheet> iuiSheetFactory::Create(const cuiSheetEnv& env, std::string_view sheetText,
                                                  int32_t startCell, int32_t startParameter) {
    const cuiSheetText text = cuiSheetText::Split(sheetText);
    std::unique_ptr<cuiSheet> sheet;
    if (text.className == "St_ChBank")
        sheet = std::make_unique<iuiSh_ChBank>(env, text.overlayKey, startCell, startParameter);
    else if (text.className == "St_Common")
        sheet = std::make_unique<iuiSh_Common>(env, text.overlayKey, startCell, startParameter);
    else if (text.className == "St_Mch" || iuiSh_Mch::EditableList(text.KindLetter()))
        // St_Mch also gives the counted read-only lists (languages) their list sheet.
        sheet = std::make_unique<iuiSh_Mch>(env, text.overlayKey, startCell, startParameter);
    else
        sheet = std::make_unique<cuiSheet>(env, text.overlayKey, startCell, startParameter);
    sheet->SetSheetText(sheetText);
    sheet->SetKind(text.kind);
    return sheet;
}

std::unique_ptr<cuiSheet> iuiSheetFactory::Build(const cuiSheetEnv& env, std::string_view sheetText) {
    std::unique_ptr<cuiSheet> sheet = Create(env, sheetText);
    sheet->Show();
    return sheet;
}

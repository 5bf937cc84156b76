#pragma once
// Makes the sheet a sheet text names: the class by the class name and kind letter, with its sheet
// text and kind set, not yet shown.
#include "sheets/cuiSheet.h"

#include <memory>
#include <string_view>

class iuiSheetFactory {
public:
    static std::unique_ptr<cuiSheet> Create(const cuiSheetEnv& env, std::string_view sheetText,
                                            int32_t startCell = 0, int32_t startParameter = 0);
    // Create, then Show: the built sheet.
    static std::unique_ptr<cuiSheet> Build(const cuiSheetEnv& env, std::string_view sheetText);
};

#pragma once
// A common settings sheet: a plain sheet whose "Only_Maker" rows show only in maker mode.
#include "sheets/cuiSheet.h"

class iuiSh_Common : public cuiSheet {
public:
    using cuiSheet::cuiSheet;
    void ApplyRowKeyword(std::string_view keyword) override;
};

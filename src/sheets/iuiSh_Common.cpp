#include "sheets/iuiSh_Common.h"

void iuiSh_Common::ApplyRowKeyword(std::string_view keyword) {
    int32_t n = 0;
    if (StartsWith(keyword, "Only_Maker")) {
        if (!m_env.makerMode && NumberAfterSpace(keyword, n))
            m_skip = n;
        return;
    }
    cuiSheet::ApplyRowKeyword(keyword);
}

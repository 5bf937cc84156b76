#pragma once
// Test data that holds or lacks tables beyond this model's own packing order: new data holds every
// table, while an older file or a radio of a related variant may lack some. Holding adds directory
// entries for the tables and packs, so the packing carries them; lacking removes their entries and
// packs, so the packing drops them.
#include "core/cmcEeprom.h"
#include "model/indLayout.h"
#include "model/indWorkImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <span>

namespace tableholding {

using L = indLayout;

inline void HoldTables(cmcEeprom& image, std::span<const int> ids) {
    uint8_t* w = image.Data();
    int n = L::Get16(w, L::kDir32At + 4);
    for (int id : ids) {
        indWorkImage::Table listed;
        if (indWorkImage(image, nullptr).FindTable(id, listed))
            continue;
        const indSlot* slot = L::SlotOf(id);
        uint8_t* e = w + L::kDir32Copy + 12 * n++;
        L::Put16(e, 0, uint32_t(id));
        L::Put16(e, 2, uint32_t(slot->size));
        L::Put16(e, 4, uint32_t(slot->count));
    }
    L::Put16(w, L::kDir32At + 4, uint32_t(n));
    ASSERT_EQ(indWorkImage(image, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
}

inline void LackTables(cmcEeprom& image, std::span<const int> ids) {
    uint8_t* w = image.Data();
    const int n = L::Get16(w, L::kDir32At + 4);
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        const int id = L::Get16(w, L::kDir32Copy + 12 * i);
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            continue;
        std::memmove(w + L::kDir32Copy + 12 * kept++, w + L::kDir32Copy + 12 * i, 12);
    }
    L::Put16(w, L::kDir32At + 4, uint32_t(kept));
    ASSERT_EQ(indWorkImage(image, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
}

} // namespace tableholding

#include "model/indLayout.h"

// Expansion visits the slots in this order (table 86 comes twice; the second visit changes nothing),
// the model's own tables last.
const uint16_t indLayout::kExpandOrder[kSlotCount + 1] = {
    2,   7,   14,  17,  26,  31,  83,  6,   61,  71,  100, 3,   8,   9,   10,  11,  12,  13,  15,
    16,  18,  19,  20,  21,  84,  85,  22,  64,  65,  96,  97,  98,  99,  28,  25,  27,  24,  23,
    29,  30,  32,  46,  47,  54,  53,  51,  50,  52,  49,  48,  55,  56,  59,  60,  58,  44,  33,
    34,  77,  78,  36,  86,  79,  80,  35,  62,  63,  75,  76,  74,  72,  73,  66,  81,  82,  67,
    68,  69,  70,  86,  87,  93,  94,  95,  88,  89,  90,  91,  92,  101, 117, 102, 103, 104, 115,
    105, 106, 107, 108, 109, 110, 111, 114, 112, 113, 116, 201, 202, 203, 204};

const indSlot* indLayout::SlotAt(int32_t offset) {
    for (const indSlot& s : kSlots)
        if (offset >= s.offset && offset < s.offset + s.size * s.count)
            return &s;
    return nullptr;
}

int indLayout::GroupStart(const uint8_t* w, int g) {
    int start = 0;
    for (int i = 0; i < g && i < kGroups; ++i)
        start += GroupCount(w, i);
    return start;
}

int indLayout::GroupOf(const uint8_t* w, int n) {
    int start = 0;
    for (int g = 0; g < kGroups; ++g) {
        int count = GroupCount(w, g);
        if (n >= start && n < start + count)
            return g;
        start += count;
    }
    return kGroups;
}

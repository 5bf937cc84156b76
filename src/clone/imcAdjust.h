#pragma once
// The adjustment values the model's maintenance functions share with the model clone driver: the
// target, the sweep flags and results, and the two adjustment byte tables the sweep writes into.
#include <cstdint>

struct imcAdjust {
    struct SweepRow {
        int32_t best = 0;    // sweep value at the highest reading
        int32_t last = 0;    // last sweep value whose reading reached the highest reading
        int32_t highest = 0; // the highest reading
    };
    int32_t target = 0; // 1 to 5; other values count as 0
    bool coarseSweep = false;
    int32_t adjustMode = 0; // the adjustment mode indicator
    bool request19200 = false;
    SweepRow sweep[6];
    uint8_t table1[16] = {};
    uint8_t table2[16] = {};

    int32_t Target() const { return target >= 1 && target <= 5 ? target : 0; }
};

#pragma once
// Value ranges of the data-signalling address cells, derived from the first value of table 25.
#include "model/indLayout.h"

#include <cstdint>

class cmcEeprom;

class datQirsAdr {
public:
    struct Range {
        int32_t minimum = 0;
        int32_t maximum = 0;
        int32_t extra = 0; // kept across resets
    };
    static constexpr int kRanges = 46;
    static constexpr int32_t kValueAt = indLayout::SlotAddress(indTable::kMskAddress);

    explicit datQirsAdr(cmcEeprom* image);
    // Writes N back to the image and resets the ranges.
    void Store(uint16_t n);
    uint16_t N() const { return m_n; }
    const Range& At(int i) const { return m_ranges[i]; }

private:
    void Reset();

    cmcEeprom* m_image;
    uint16_t m_n = 0;
    Range m_ranges[kRanges];
};

#pragma once
// The continuous tone records (CT_CTone, table 13, 40 entries of 4 bytes): the receive tone in bytes
// 0-1, the transmit tone in bytes 2-3, each in the channels' tone form, and the selection mark in bit 1
// of byte 0 (a bit the tone form leaves alone).
#include "model/indLayout.h"

#include <cstdint>

struct indCellCall;

class indToneCells {
public:
    static constexpr int32_t kRecordsAt = indLayout::SlotAddress(indTable::kCTones);
    static constexpr int32_t kRecordSize = 4;
    static constexpr int32_t kRecords = 40;

    // Runs the cell's behaviour when it is a continuous tone cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

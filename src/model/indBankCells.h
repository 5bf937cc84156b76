#pragma once
// The bank cells of the bank operation sheet and the bank table that the channel cells do not cover:
// each bank's name, its LTR repeater, and the one SmarTrunk bank.
//
// Storage: bank names are the eight 8-character entries of table 12; the LTR repeater of
// bank b is byte 0 of entry b of table 65 (4 bytes per bank), 0 meaning none; the SmarTrunk
// bank is the bank whose SmarTrunk flag (F0) is set.
#include "model/indLayout.h"

#include <cstdint>

struct indCellCall;

class indBankCells {
public:
    static constexpr int32_t kNamesAt = indLayout::SlotAddress(indTable::kBankNames);
    static constexpr int32_t kNameLength = 8;
    static constexpr int32_t kRepeaterAt = indLayout::SlotAddress(indTable::kBankRepeaters);
    static constexpr int32_t kRepeaterStride = 4;
    static constexpr int32_t kRepeaters = 20; // repeaters of an LTR bank's list

    // Runs the cell's behaviour when it is one of these bank cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
};

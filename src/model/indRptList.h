#pragma once
// The two repeater lists of the working image (conventional repeaters, record kind 22, and trunking
// repeaters, kind 27): where their 10-byte entries and per-bank group sizes live, and adding an entry
// at the end of a bank's group. Entries are kept group after group, bank 0 first, like channels.
#include "model/indLayout.h"

#include <cstdint>

class cmcEeprom;

class indRptList {
public:
    static constexpr int kRepeaters = 22;
    static constexpr int kTrunkRepeaters = 27;
    static constexpr int32_t kEntrySize = 10;

    // Conventional repeaters: 160 entries in the model's work area between the MDC alias slot and
    // table 44; the eight one-byte group sizes before them (at most 160 together), the LTR options
    // after the sizes, and one per-bank byte after the entries.
    static constexpr int32_t kRptSizes = indMap::kRepeaterArea;
    static constexpr int32_t kRptEntries = indMap::kRepeaterArea + 24;
    static constexpr int32_t kRptCapacity = 160;
    static constexpr int32_t kRptPerGroup = 20;
    static constexpr int32_t kRptBankBytes = kRptEntries + kRptCapacity * kEntrySize;
    // Trunking repeaters: table 89 (240 entries); table 88 holds one 10-byte record per bank (site)
    // whose first two bytes are the bank's group size.
    static constexpr int32_t kVornEntries = indLayout::SlotAddress(indTable::kTrunkRepeaters);
    static constexpr int32_t kVornCapacity = 240;
    static constexpr int32_t kVornPerGroup = 30;
    static constexpr int32_t kVornSites = indLayout::SlotAddress(indTable::kTrunkSites);

    // Entry byte layout (both lists): receive frequency (4, hertz), transmit frequency (4), options,
    // area bits (bit 7 - a for area a).
    static constexpr int32_t kOptions = 8;
    static constexpr int32_t kAreas = 9;
    // Option bits: receive data, transmit data, phone; bits 3-4 bandwidth, bits 5-6 RF power, bit 7
    // the repeater type.
    static constexpr uint8_t kRxData = 0x01, kTxData = 0x02, kPhone = 0x04;
    static constexpr int kBandwidthShift = 3;
    static constexpr int kPowerShift = 5;
    static constexpr int kTypeShift = 7;

    indRptList(cmcEeprom& work, int kind);

    int Kind() const { return m_kind; }
    int32_t Capacity() const;
    int32_t PerGroup() const;
    // Entry i of the list (0 <= i < Capacity()).
    uint8_t* Entry(int32_t i);
    int32_t GroupSize(int group) const;
    int32_t FirstOf(int group) const;
    int32_t Total() const;
    // The group whose entries include i, or -1.
    int GroupOf(int32_t i) const;
    // Whether group can take one more entry (the list and the group below their largest counts).
    bool HasRoom(int group) const;
    // Appends an empty entry to group; its global position, or -1 when the list or group is full.
    int32_t AddToGroup(int group);

private:
    void SetGroupSize(int group, int32_t size);

    cmcEeprom& m_work;
    int m_kind;
};

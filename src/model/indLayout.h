#pragma once
// The memory map of this radio model: where the packed radio tables live, the fixed slots of the
// working image, the visiting order of expansion, and big-endian accessors for both layouts.
#include <cstdint>

struct indSlot {
    uint16_t id;    // table identifier
    int32_t offset; // first byte of the slot in the working image
    int32_t size;   // slot entry size
    int32_t count;  // slot entry count
};

class indLayout {
public:
    // Radio memory (packed layout) and working image bounds.
    static constexpr int32_t kRadioSize = 0xFF80;
    static constexpr int32_t kRadioLast = 0xFF7F; // packing may not pass this address
    static constexpr int32_t kWorkSize = 0x2092F;
    static constexpr int32_t kDataStart = 0x0200;

    // Header fields of the packed memory.
    static constexpr int32_t kRadioModelAt = 0x0080; // 0x3328
    static constexpr uint16_t kRadioModelValue = 0x3328;
    static constexpr int32_t kSignatureAt = 0x0100;
    static constexpr int32_t kFlag108At = 0x0108;
    static constexpr int32_t kModelCodeAt = 0x010A;
    static constexpr uint16_t kModelCode = 0x3329;
    static constexpr int32_t kSec2At16 = 0x0110, kEndAt16 = 0x0112, kStartAt16 = 0x0114;
    static constexpr int32_t kDir16At = 0x0120;
    static constexpr int32_t kSec2At32 = 0x0130, kEndAt32 = 0x0134, kStartAt32 = 0x0138;
    static constexpr int32_t kDir32At = 0x0140;
    static constexpr const char* kSignature = "Zorv Inc"; // the first 8 characters of the maker's name
    static constexpr int32_t kSignatureLen = 8;

    // Working copies of the directories and the list counters.
    static constexpr int32_t kMaxDirEntries = 118;
    static constexpr int32_t kDir16Copy = 0x1FEFB; // 118 entries of 10 bytes
    static constexpr int32_t kDir32Copy = 0x20397; // 118 entries of 12 bytes
    static constexpr int32_t kCount33 = 0x2091F, kCount34 = 0x20921, kCount91 = 0x20923, kCount92 = 0x20925,
                             kCount58 = 0x2092B, kCount101 = 0x2092D;

    // Channels: 128 numbers across eight groups (banks).
    static constexpr int32_t kChannels = 128;
    static constexpr int32_t kGroups = 8;
    static constexpr int32_t kGroupCounts = 0x125E1; // eight 16-bit counts
    static constexpr int32_t kChA = 0x0FF80;         // 28-byte slots (tables 2 and 4)
    static constexpr int32_t kChASize = 28;
    static constexpr int32_t kChB = 0x11454; // 34-byte slots (tables 3 and 5)
    static constexpr int32_t kChBSize = 34;
    static constexpr int32_t kChC = 0x15569; // table 44, 6 bytes per channel
    static constexpr int32_t kChD = 0x19BE1; // table 90, 5 bytes per channel
    static constexpr int32_t kChCSize = 6, kChDSize = 5;
    static constexpr int32_t kChLists = 0x10D90;
    static constexpr int32_t kMark0At = 0x10D80, kMark1At = 0x10D82, kMark2At = 0x12569;
    static constexpr int32_t kMark3Byte = 0x12573;
    // Bank flags F0..F3, bit (7 - g) for group g.
    static constexpr int32_t kBankF0 = 0x12568, kBankF1 = 0x125F1, kBankF2 = 0x125FC, kBankF3 = 0x125FD;

    static constexpr int32_t kNewerDataAt = 0x12C24; // first byte of table 20
    static constexpr int32_t kModelTypeAt = 0x125F8; // bit 1: the data was made for the PMR type

    static constexpr int kSlotCount = 105;
    static const indSlot kSlots[kSlotCount];
    static const uint16_t kExpandOrder[kSlotCount + 1]; // 86 is visited twice

    // The slot of a table identifier, or nullptr.
    static const indSlot* SlotOf(int id);
    // The slot whose entries hold the working-image byte at offset, or nullptr.
    static const indSlot* SlotAt(int32_t offset);

    // Channel groups: the count of group g, the first channel number of g, and the group of channel n
    // (8 when n lies in no group). Counts come straight from the image and may be anything.
    static int GroupCount(const uint8_t* w, int g) { return Get16(w, kGroupCounts + 2 * g); }
    static int GroupStart(const uint8_t* w, int g);
    static int GroupOf(const uint8_t* w, int n);
    static bool BankFlag(const uint8_t* w, int32_t flagAt, int g) {
        return g >= 0 && g < kGroups && (w[flagAt] & (0x80 >> g)) != 0;
    }

    static uint16_t Get16(const uint8_t* p, int32_t at) { return uint16_t(p[at] << 8 | p[at + 1]); }
    static uint32_t Get32(const uint8_t* p, int32_t at) {
        return uint32_t(p[at]) << 24 | uint32_t(p[at + 1]) << 16 | uint32_t(p[at + 2]) << 8 | p[at + 3];
    }
    static void Put16(uint8_t* p, int32_t at, uint32_t v) {
        p[at] = uint8_t(v >> 8);
        p[at + 1] = uint8_t(v);
    }
    static void Put32(uint8_t* p, int32_t at, uint32_t v) {
        p[at] = uint8_t(v >> 24);
        p[at + 1] = uint8_t(v >> 16);
        p[at + 2] = uint8_t(v >> 8);
        p[at + 3] = uint8_t(v);
    }
};

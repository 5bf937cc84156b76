#pragma once
// The memory map of this radio model: where the packed radio tables live, the fixed slots of the
// working image, the visiting order of expansion, and big-endian accessors for both layouts. Every
// working-image address of the model is named here; other code writes addresses relative to a table.
#include <cstdint>

// Identifiers of the radio tables (the numbers the packed directory carries).
namespace indTable {
// Channels: the 28-byte and 34-byte halves of groups 0-6 (2, 3) and of group 7 (4, 5, which share
// the slots of 2 and 3), the 6-byte and 5-byte parts (44, 90), the marks and the scan list members.
inline constexpr int kChannelsA = 2;
inline constexpr int kChannelsB = 3;
inline constexpr int kGroup7ChannelsA = 4;
inline constexpr int kGroup7ChannelsB = 5;
inline constexpr int kChannelsC = 44;
inline constexpr int kChannelsD = 90;
inline constexpr int kChannelMarks = 7;
inline constexpr int kScanListMembers = 14;
// Radio-wide settings, banks and the tables of the analogue lists.
inline constexpr int kRadioSettings = 6;
inline constexpr int kGeneral = 8; // bank counts and flags, model type and most radio-wide settings
inline constexpr int kCloneComments = 9;
inline constexpr int kUserCharacters = 10;
inline constexpr int kOfKind10 = 11; // the 2-byte entries of record kind 10
inline constexpr int kBankNames = 12;
inline constexpr int kCTones = 13;
inline constexpr int kScanLists = 15;
inline constexpr int kDtmfDecode = 16;
inline constexpr int kOfKind9 = 17; // the 4-byte entries of record kind 9
inline constexpr int kTxCodeOptions = 18;
inline constexpr int kOfKind8 = 19; // the 28-byte entries of record kinds 8 and 11
inline constexpr int kNewerData = 20;
inline constexpr int kStunText = 21;
inline constexpr int kGroupFirstChannels = 61;
inline constexpr int kBankRepeaters = 65;
inline constexpr int kStun = 84;
inline constexpr int kLoneWorker = 85;
inline constexpr int kChannelRefs = 96;
inline constexpr int kChannelGroups = 98;
inline constexpr int kChannelGroupsOn = 99;
// MSK signalling.
inline constexpr int kMskPreselect = 22;
inline constexpr int kMskConfig = 23;
inline constexpr int kManDown = 24;
inline constexpr int kMskAddress = 25;
inline constexpr int kMskCallList = 26;
inline constexpr int kMskCallNames = 27; // the names of the call list's 32 entries
inline constexpr int kMskIdGroups = 28;
inline constexpr int kMskStatusRx = 29;
inline constexpr int kMskStatusTx = 30;
inline constexpr int kMskMessages = 31;
inline constexpr int kMskMessageFlags = 32;
// MDC signalling: one entry per set.
inline constexpr int kMdcSystems = 46;
inline constexpr int kMdcGeneral = 47;
inline constexpr int kMdcStun = 48;
inline constexpr int kMdcSelCall = 49;
inline constexpr int kMdcCallAlert = 50;
inline constexpr int kMdcRadioCheck = 51;
inline constexpr int kMdcRevive = 52;
inline constexpr int kMdcEmergency = 53;
inline constexpr int kMdcPttId = 54;
inline constexpr int kMdcStatusSettings = 55;
inline constexpr int kMdcMessageSettings = 56;
inline constexpr int kMdcAliases = 58;
inline constexpr int kMdcStatusTexts = 59;
inline constexpr int kMdcMessageTexts = 60;
// NXDN.
inline constexpr int kNxdnIndIds = 33;
inline constexpr int kNxdnGroupIds = 34;
inline constexpr int kNacChannels = 35;
inline constexpr int kNxdnOptions = 36;
inline constexpr int kNxdnStatusRx = 62;
inline constexpr int kNxdnStatusTx = 63;
inline constexpr int kNxdnKeys = 66;
inline constexpr int kNxdnStun = 67;
inline constexpr int kNxdnKill = 68;
inline constexpr int kNxdnRevive = 69;
inline constexpr int kNxdnRemoteMonitor = 70;
inline constexpr int kNxdnMessages = 71;
inline constexpr int kNxdnMessageFlags = 72;
inline constexpr int kNxdnMessageSettings = 73;
inline constexpr int kNxdnStatusSettings = 74;
inline constexpr int kNxdnIndSettings = 77;
inline constexpr int kNxdnGroupSettings = 78;
inline constexpr int kNxdnIndIdOrder = 79;   // sorted index of table 33
inline constexpr int kNxdnGroupIdOrder = 80; // sorted index of table 34
inline constexpr int kNxdnCallAlert = 81;
inline constexpr int kNxdnRadioCheck = 82;
// Trunking.
inline constexpr int kNxdnExpert = 86;
inline constexpr int kTrunkSites = 88;
inline constexpr int kTrunkRepeaters = 89;
inline constexpr int kTrunkIndIds = 91;
inline constexpr int kTrunkTalkGroups = 92;
inline constexpr int kTrunkIndIdOrder = 93;     // sorted index of table 91
inline constexpr int kTrunkTalkGroupOrder = 94; // sorted index of table 92
inline constexpr int kTrunkOptions = 95;
// dPMR.
inline constexpr int kDpmrMessages = 100;
inline constexpr int kDpmrIndIds = 101;
inline constexpr int kDpmrIndSettings = 102;
inline constexpr int kDpmrGroupSettings = 103;
inline constexpr int kDpmrOptions = 104;
inline constexpr int kDpmrIndIdOrder = 105; // sorted index of table 101
inline constexpr int kDpmrColourCodes = 106;
inline constexpr int kDpmrStatusRx = 107;
inline constexpr int kDpmrStatusTx = 108;
inline constexpr int kDpmrStatusSettings = 109;
inline constexpr int kDpmrMessageFlags = 110;
inline constexpr int kDpmrMessageSettings = 111;
inline constexpr int kDpmrCallAlert = 112;
inline constexpr int kDpmrStun = 113;
inline constexpr int kDpmrKeys = 114;
inline constexpr int kDpmrExpert = 115;
inline constexpr int kDpmrDisplayMessages = 116;
inline constexpr int kDpmrRxTalkGroups = 117;
// Tables 64, 75, 76, 83, 87 and 97 keep their bytes as they come: nothing reads their fields.
// The model's own tables: areas of the working image between the radio's slots that hold what the
// sheets edit beyond the radio's tables (the conventional repeater list with its group sizes and LTR
// options, the ten records of kind 23, and two areas of further fields). They travel in the packed
// directory under identifiers no radio table uses, so that files, conversions and clone writes keep
// them like any other table the data holds.
inline constexpr int kModelRepeaters = 201;
inline constexpr int kModelWorkArea = 202;
inline constexpr int kModelExtras = 203;
inline constexpr int kModelExtras2 = 204;
} // namespace indTable

struct indSlot {
    uint16_t id;     // table identifier
    int32_t offset;  // first byte of the slot in the working image
    int32_t size;    // slot entry size
    int32_t count;   // slot entry count
    int32_t countAt; // the 16-bit count of entries in use the editor keeps, or 0 (the full slot)
};

namespace indMap {
// Working areas beyond the fixed slots: the directory copies and the list counters.
inline constexpr int32_t kDir16Copy = 0x1FEFB; // 118 entries of 10 bytes
inline constexpr int32_t kDir32Copy = 0x20397; // 118 entries of 12 bytes
inline constexpr int32_t kCountNxdnIndIds = 0x2091F;
inline constexpr int32_t kCountNxdnGroupIds = 0x20921;
inline constexpr int32_t kCountTrunkIndIds = 0x20923;
inline constexpr int32_t kCountTrunkTalkGroups = 0x20925;
inline constexpr int32_t kCountMdcAliases = 0x2092B;
inline constexpr int32_t kCountDpmrIndIds = 0x2092D;
// Areas between the slots that the model keeps for itself: the conventional repeater list with its
// group sizes and options (up to table 44), and ten 38-byte records of record kind 23.
inline constexpr int32_t kRepeaterArea = 0x14EDD;
inline constexpr int32_t kRepeaterAreaEnd = 0x15569;
inline constexpr int32_t kKind23Area = 0x15869;
inline constexpr int32_t kKind23AreaEnd = 0x159E5;
// Two areas of further fields the model keeps for itself (the gaps before tables 79 and 80).
inline constexpr int32_t kModelExtrasArea = 0x18523;
inline constexpr int32_t kModelExtras2Area = 0x18B9F;
inline constexpr int32_t kModelExtrasSize = 500;

inline constexpr int kSlotCount = 109;
// Fixed slots of the working image: identifier, offset, slot entry size, slot entry count, count.
inline constexpr indSlot kSlots[kSlotCount] = {
    {indTable::kChannelsA, 0x0FF80, 28, 128, 0},
    {indTable::kChannelMarks, 0x10D80, 16, 1, 0},
    {indTable::kScanListMembers, 0x10D90, 16, 17, 0},
    {indTable::kOfKind9, 0x10EA0, 4, 32, 0},
    {indTable::kRadioSettings, 0x10F20, 38, 1, 0},
    {indTable::kGroupFirstChannels, 0x10F46, 2, 8, 0},
    {83, 0x10F56, 6, 1, 0},
    {indTable::kMskCallList, 0x10F5C, 4, 32, 0},
    {indTable::kMskMessages, 0x10FDC, 8, 8, 0},
    {indTable::kNxdnMessages, 0x1101C, 8, 10, 0},
    {indTable::kDpmrMessages, 0x1106C, 100, 10, 0},
    {indTable::kChannelsB, 0x11454, 34, 128, 0},
    {indTable::kGeneral, 0x12554, 226, 1, 0},
    {indTable::kCloneComments, 0x12636, 32, 1, 0},
    {indTable::kUserCharacters, 0x12656, 2, 16, 0},
    {indTable::kOfKind10, 0x12676, 128, 1, 0},
    {indTable::kBankNames, 0x126F6, 8, 8, 0},
    {indTable::kCTones, 0x12736, 4, 40, 0},
    {indTable::kScanLists, 0x127D6, 18, 17, 0},
    {indTable::kDtmfDecode, 0x12908, 21, 8, 0},
    {indTable::kTxCodeOptions, 0x129B0, 10, 32, 0},
    {indTable::kOfKind8, 0x12AF0, 28, 11, 0},
    {indTable::kNewerData, 0x12C24, 8, 1, 0},
    {indTable::kStunText, 0x12C2C, 8, 2, 0},
    {indTable::kMskPreselect, 0x12C3C, 10, 1, 0},
    {indTable::kLoneWorker, 0x12C46, 30, 1, 0},
    {indTable::kStun, 0x12C64, 12, 1, 0},
    {64, 0x12C70, 8, 1, 0},
    {indTable::kBankRepeaters, 0x12C78, 4, 8, 0},
    {indTable::kChannelRefs, 0x12C98, 16, 1, 0},
    {97, 0x12CA8, 12, 1, 0},
    {indTable::kChannelGroups, 0x12CB4, 4, 16, 0},
    {indTable::kChannelGroupsOn, 0x12CF4, 1, 1, 0},
    {indTable::kMskIdGroups, 0x12CF5, 26, 8, 0},
    {indTable::kMskAddress, 0x12DC5, 8, 1, 0},
    {indTable::kMskCallNames, 0x12DCD, 10, 32, 0},
    {indTable::kManDown, 0x12F0D, 16, 1, 0},
    {indTable::kMskConfig, 0x12F1D, 16, 1, 0},
    {indTable::kMskStatusRx, 0x12F2D, 12, 24, 0},
    {indTable::kMskStatusTx, 0x1304D, 12, 24, 0},
    {indTable::kMskMessageFlags, 0x1316D, 2, 8, 0},
    {indTable::kMdcSystems, 0x1317D, 10, 5, 0},
    {indTable::kMdcGeneral, 0x131AF, 20, 5, 0},
    {indTable::kMdcPttId, 0x13213, 6, 5, 0},
    {indTable::kMdcEmergency, 0x13231, 18, 5, 0},
    {indTable::kMdcRadioCheck, 0x1328B, 6, 5, 0},
    {indTable::kMdcCallAlert, 0x132A9, 12, 5, 0},
    {indTable::kMdcRevive, 0x132E5, 8, 5, 0},
    {indTable::kMdcSelCall, 0x1330D, 8, 5, 0},
    {indTable::kMdcStun, 0x13335, 8, 5, 0},
    {indTable::kMdcStatusSettings, 0x1335D, 10, 5, 0},
    {indTable::kMdcMessageSettings, 0x1338F, 10, 5, 0},
    {indTable::kMdcStatusTexts, 0x133C1, 144, 5, 0},
    {indTable::kMdcMessageTexts, 0x13691, 144, 5, 0},
    {indTable::kMdcAliases, 0x13961, 11, 500, kCountMdcAliases},
    {indTable::kChannelsC, 0x15569, 6, 128, 0},
    {indTable::kNxdnIndIds, 0x159E5, 12, 500, kCountNxdnIndIds},
    {indTable::kNxdnIndSettings, 0x17155, 2, 1, 0},
    {indTable::kNxdnGroupIds, 0x17157, 10, 500, kCountNxdnGroupIds},
    {indTable::kNxdnGroupSettings, 0x184DF, 6, 1, 0},
    {indTable::kNxdnOptions, 0x184E5, 62, 1, 0},
    {indTable::kNxdnIndIdOrder, 0x18717, 1000, 1, 0},
    {indTable::kNacChannels, 0x18AFF, 4, 40, 0},
    {indTable::kNxdnGroupIdOrder, 0x18D93, 1000, 1, 0},
    {indTable::kNxdnStatusRx, 0x1917B, 12, 100, 0},
    {indTable::kNxdnStatusTx, 0x1962B, 12, 100, 0},
    {75, 0x19ADB, 12, 2, 0},
    {76, 0x19AF3, 12, 2, 0},
    {indTable::kNxdnStatusSettings, 0x19B0B, 6, 1, 0},
    {indTable::kNxdnMessageFlags, 0x19B11, 2, 10, 0},
    {indTable::kNxdnMessageSettings, 0x19B25, 2, 1, 0},
    {indTable::kNxdnCallAlert, 0x19B27, 4, 1, 0},
    {indTable::kNxdnRadioCheck, 0x19B2B, 2, 1, 0},
    {indTable::kNxdnStun, 0x19B2D, 2, 1, 0},
    {indTable::kNxdnKill, 0x19B2F, 2, 1, 0},
    {indTable::kNxdnRevive, 0x19B31, 2, 1, 0},
    {indTable::kNxdnRemoteMonitor, 0x19B33, 2, 1, 0},
    {indTable::kNxdnKeys, 0x19B35, 2, 63, 0},
    {indTable::kNxdnExpert, 0x19BB3, 28, 1, 0},
    {87, 0x19BCF, 8, 1, 0},
    {indTable::kTrunkOptions, 0x19BD7, 10, 1, 0},
    {indTable::kChannelsD, 0x19BE1, 5, 128, 0},
    {indTable::kTrunkSites, 0x19E61, 10, 8, 0},
    {indTable::kTrunkRepeaters, 0x19EB1, 10, 240, 0},
    {indTable::kTrunkIndIds, 0x1A811, 12, 500, kCountTrunkIndIds},
    {indTable::kTrunkTalkGroups, 0x1BF81, 10, 500, kCountTrunkTalkGroups},
    {indTable::kTrunkIndIdOrder, 0x1D309, 1000, 1, 0},
    {indTable::kTrunkTalkGroupOrder, 0x1D6F1, 1000, 1, 0},
    {indTable::kDpmrIndIds, 0x1DAD9, 14, 500, kCountDpmrIndIds},
    {indTable::kDpmrIndSettings, 0x1F631, 2, 1, 0},
    {indTable::kDpmrRxTalkGroups, 0x1F633, 4, 8, 0},
    {indTable::kDpmrGroupSettings, 0x1F653, 10, 1, 0},
    {indTable::kDpmrOptions, 0x1F65D, 54, 1, 0},
    {indTable::kDpmrIndIdOrder, 0x1F693, 1000, 1, 0},
    {indTable::kDpmrColourCodes, 0x1FA7B, 2, 40, 0},
    {indTable::kDpmrStatusRx, 0x1FACB, 12, 32, 0},
    {indTable::kDpmrStatusTx, 0x1FC4B, 12, 32, 0},
    {indTable::kDpmrStatusSettings, 0x1FDCB, 8, 1, 0},
    {indTable::kDpmrMessageFlags, 0x1FDD3, 2, 10, 0},
    {indTable::kDpmrMessageSettings, 0x1FDE7, 2, 1, 0},
    {indTable::kDpmrCallAlert, 0x1FDE9, 4, 1, 0},
    {indTable::kDpmrStun, 0x1FDED, 8, 1, 0},
    {indTable::kDpmrKeys, 0x1FDF5, 2, 32, 0},
    {indTable::kDpmrExpert, 0x1FE35, 30, 1, 0},
    {indTable::kDpmrDisplayMessages, 0x1FE53, 8, 21, 0},
    // The model's own tables, in the areas between the slots above.
    {indTable::kModelRepeaters, kRepeaterArea, kRepeaterAreaEnd - kRepeaterArea, 1, 0},
    {indTable::kModelWorkArea, kKind23Area, 38, 10, 0},
    {indTable::kModelExtras, kModelExtrasArea, kModelExtrasSize, 1, 0},
    {indTable::kModelExtras2, kModelExtras2Area, kModelExtrasSize, 1, 0},
};

constexpr const indSlot* Find(int id) {
    for (const indSlot& s : kSlots)
        if (s.id == id)
            return &s;
    return nullptr;
}
// The first byte of a table's slot. Evaluated while compiling: an unknown table does not compile.
consteval int32_t SlotAddress(int table) {
    return Find(table)->offset;
}
// Byte at of a table's slot (a byte of a later entry lies at entry size times the entry further).
consteval int32_t At(int table, int32_t at) {
    return SlotAddress(table) + at;
}
} // namespace indMap

// The key assignments, display, external port and further common, emergency and expert settings the
// model keeps in its own area: byte numbers within table 203 (bytes 250 to 499 are theirs).
namespace indKeysArea {
inline constexpr int kKeys = 15;           // right up, right down, left up, left down, dial cw and ccw,
inline constexpr int32_t kConvKeys = 250;  // P0-P4, option 0-2, external emergency: one byte each,
inline constexpr int32_t kShiftKeys = 265; // function in bits 0-6, the high/low option in bit 7
inline constexpr uint8_t kKeyFunction = 0x7F;
inline constexpr uint8_t kKeyHigh = 0x80;
inline constexpr int32_t kLeds = 280;                // LED 0-2: one function byte each
inline constexpr int32_t kPorts = 283;               // I/O 1-9, input 1, output 1: one function byte each
inline constexpr int32_t kMoveChannel = 294;         // channel the channel switch moves to (128: none)
inline constexpr int32_t kKeyFlags = 295;            // one-bit key, display and port settings
inline constexpr int32_t kMoreFlags = 296;           // one-bit emergency, channel group and expert settings
inline constexpr int32_t kChannelGroupCount = 297;   // bits 0-3: number of channel groups - 1
inline constexpr int32_t kTotReset = 298;            // time-out timer reset, seconds (0: off)
inline constexpr int32_t kUserTone = 299;            // 16 bits: user CTCSS in 0.1 Hz (0: off)
inline constexpr int32_t kEmergencyDpmrTarget = 301; // 16 bits: entry of the dPMR ID list
inline constexpr int32_t kUserPassword = 303;        // 16 characters, zero-padded (all 0: none)
inline constexpr int32_t kDealerPasscode = 319;      // 16 characters, zero-padded (all 0: none)
inline constexpr int32_t kPasswordLength = 16;
inline constexpr int32_t kEnd = 335; // first byte no field uses
} // namespace indKeysArea

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
    static constexpr int32_t kDir16Copy = indMap::kDir16Copy;
    static constexpr int32_t kDir32Copy = indMap::kDir32Copy;
    // The counters by the table they count.
    static constexpr int32_t kCount33 = indMap::kCountNxdnIndIds, kCount34 = indMap::kCountNxdnGroupIds,
                             kCount91 = indMap::kCountTrunkIndIds, kCount92 = indMap::kCountTrunkTalkGroups,
                             kCount58 = indMap::kCountMdcAliases, kCount101 = indMap::kCountDpmrIndIds;

    // Channels: 128 numbers across eight groups (banks).
    static constexpr int32_t kChannels = 128;
    static constexpr int32_t kGroups = 8;
    static constexpr int32_t kGroupCounts = indMap::At(indTable::kGeneral, 0x8D); // eight 16-bit counts
    static constexpr int32_t kChA = indMap::SlotAddress(indTable::kChannelsA);    // 28-byte slots (2 and 4)
    static constexpr int32_t kChASize = 28;
    static constexpr int32_t kChB = indMap::SlotAddress(indTable::kChannelsB); // 34-byte slots (3 and 5)
    static constexpr int32_t kChBSize = 34;
    static constexpr int32_t kChC = indMap::SlotAddress(indTable::kChannelsC); // 6 bytes per channel
    static constexpr int32_t kChD = indMap::SlotAddress(indTable::kChannelsD); // 5 bytes per channel
    static constexpr int32_t kChCSize = 6, kChDSize = 5;
    static constexpr int32_t kChLists = indMap::SlotAddress(indTable::kScanListMembers);
    static constexpr int32_t kMark0At = indMap::At(indTable::kChannelMarks, 0),
                             kMark1At = indMap::At(indTable::kChannelMarks, 2),
                             kMark2At = indMap::At(indTable::kGeneral, 0x15);
    static constexpr int32_t kMark3Byte = indMap::At(indTable::kGeneral, 0x1F);
    // Bank flags F0..F3, bit (7 - g) for group g.
    static constexpr int32_t kBankF0 = indMap::At(indTable::kGeneral, 0x14),
                             kBankF1 = indMap::At(indTable::kGeneral, 0x9D),
                             kBankF2 = indMap::At(indTable::kGeneral, 0xA8),
                             kBankF3 = indMap::At(indTable::kGeneral, 0xA9);

    static constexpr int32_t kNewerDataAt = indMap::SlotAddress(indTable::kNewerData); // its first byte
    static constexpr int32_t kModelTypeAt = indMap::At(indTable::kGeneral, 0xA4);      // bit 1: made for PMR

    static constexpr int kSlotCount = indMap::kSlotCount;
    static constexpr const indSlot (&kSlots)[kSlotCount] = indMap::kSlots;
    static const uint16_t kExpandOrder[kSlotCount + 1]; // 86 is visited twice

    // The slot of a table identifier, or nullptr.
    static const indSlot* SlotOf(int id) { return indMap::Find(id); }
    // The slot whose entries hold the working-image byte at offset, or nullptr.
    static const indSlot* SlotAt(int32_t offset);
    // Byte at of a table's slot, for addresses written relative to a named table.
    static consteval int32_t At(int table, int32_t at) { return indMap::At(table, at); }
    static consteval int32_t SlotAddress(int table) { return indMap::SlotAddress(table); }

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

// The signalling records: DTMF memories and decode entries, the receive codes (one entry is a five-tone
// code and a two-tone code at once, sharing its name and decode actions: the sheet of the fitted
// signalling shows it), the five-tone and two-tone transmit codes and the user tones. Bytes are
// relative to an entry; docs/memory-map.md lists every field with its cell.
namespace indSignal {
// DTMF decode entries (table 16, 8 of 21 bytes): code length, 16 digits, ABC code, name; the decode
// actions take bytes 18-20.
inline constexpr int32_t kDecodeAt = indMap::SlotAddress(indTable::kDtmfDecode);
inline constexpr int32_t kDecodeSize = 21, kDecodeEntries = 8;
inline constexpr int32_t kDecodeLength = 0, kDecodeDigits = 1, kDecodeAbc = 9, kDecodeName = 10;
inline constexpr int32_t kDtmfMaxDigits = 16; // 8 bytes of digits, high nibble first
// DTMF memories (the model's own area, 8 of 17 bytes): byte 0 the code length in bits 0-4, the ID code
// mark in bit 6 and the emergency mark in bit 7; 16 digits; name.
inline constexpr int32_t kMemoryAt = indMap::At(indTable::kModelExtras, 0);
inline constexpr int32_t kMemorySize = 17, kMemories = 8;
inline constexpr int32_t kMemoryLength = 0, kMemoryDigits = 1, kMemoryName = 9;
inline constexpr uint8_t kMemoryLengthMask = 0x1F;
inline constexpr int kMemoryIdBit = 6, kMemoryEmergencyBit = 7;
// Receive codes (table 19, 11 of 28 bytes).
inline constexpr int32_t kRxAt = indMap::SlotAddress(indTable::kOfKind8);
inline constexpr int32_t kRxSize = 28, kRxCodes = 11;
inline constexpr int32_t kRxName = 0;                      // 8 display characters, both kinds
inline constexpr int32_t kRxDigits = 8, kRxPlusMarks = 12; // five-tone code: 8 digits, F ends it
inline constexpr int32_t kRxActions1 = 13; // bit 0 output, 1 auto TX, 2 special function, 3-4 bell,
                                           // 5-6 scan, 7 ID decode (five-tone)
inline constexpr int32_t kRxActions2 = 14; // bits 0-2 beep, 3-4 AUX, 5-6 stun, 7 emergency cancel
inline constexpr int32_t kRxFiveTone = 15; // bits 0-1 audio, 4-7 compared digits
inline constexpr int32_t kRxAbc = 16;      // answer-back code 0 (off) .. 32
inline constexpr int32_t kRxBeepRepeat = 17;
inline constexpr int32_t kRxTone1 = 18, kRxTone2 = 20; // two-tone frequencies in 0.1 Hz, 16 bits
inline constexpr int32_t kRxPeriod1 = 22, kRxPeriod2 = 23, kRxNoTone = 25; // 0.1 s
inline constexpr int32_t kRxTwoTone = 24; // bits 0-1 code type, 2-3 group call, 4 answer back
// Five-tone transmit codes: 8 digits in table 17 (4 bytes each), name and options in table 18.
inline constexpr int32_t kTxAt = indMap::SlotAddress(indTable::kOfKind9);
inline constexpr int32_t kTxSize = 4, kTxCodes = 32;
inline constexpr int32_t kTxOptionsAt = indMap::SlotAddress(indTable::kTxCodeOptions);
inline constexpr int32_t kTxOptionsSize = 10;
inline constexpr int32_t kTxName = 0, kTxInputDigits = 8; // input digits: bit 7 the first digit
inline constexpr int32_t kTxFlags = 9; // bit 0 update, 1 ABC decode, 2 ABC audio, 3 selectable
// Two-tone transmit codes (own area, 8 of 12 bytes): name, two frequencies in 0.1 Hz.
inline constexpr int32_t kTwoToneTxAt = indMap::At(indTable::kModelExtras, 136);
inline constexpr int32_t kTwoToneTxSize = 12, kTwoToneTxCodes = 8;
inline constexpr int32_t kTwoToneTxName = 0, kTwoToneTxTone1 = 8, kTwoToneTxTone2 = 10;
// User tones: 64 encode frequencies in 0.1 Hz (table 11, 2 bytes each) and their settings.
inline constexpr int32_t kUserToneAt = indMap::SlotAddress(indTable::kOfKind10);
inline constexpr int32_t kUserToneSize = 2, kUserTones = 64;
inline constexpr int32_t kUserToneAuto = indMap::At(indTable::kModelExtras, 232); // bit 0
inline constexpr int32_t kUserToneLow = indMap::At(indTable::kModelExtras, 233);  // 16 bits, 0.1 Hz
inline constexpr int32_t kUserToneHigh = indMap::At(indTable::kModelExtras, 235);
inline constexpr int32_t kUserTonePeriod = indMap::At(indTable::kModelExtras, 237); // 0.1 s
inline constexpr int32_t kUserToneNoTone = indMap::At(indTable::kModelExtras, 238);
inline constexpr int32_t kUserToneLength = indMap::At(indTable::kModelExtras, 239);
// Five-tone transmit settings: the special tones (group high, repeat low nibble; link 2 high nibble
// of the next byte), the selected transmit code, the shown digit positions (bit 7 the first) and the
// digit shown for each key 1..9, 0 (a nibble each, key 1 in the high nibble of the first byte).
inline constexpr int32_t kSpecialTones = indMap::At(indTable::kModelExtras, 240);
inline constexpr int32_t kSpecialLink2 = indMap::At(indTable::kModelExtras, 241);
inline constexpr int32_t kSelectedTxCode = indMap::At(indTable::kModelExtras, 242);
inline constexpr int32_t kShownDigits = indMap::At(indTable::kModelExtras, 243);
inline constexpr int32_t kDigitShown = indMap::At(indTable::kModelExtras, 244); // 5 bytes
inline constexpr uint8_t kDefaultRepeatTone = 0xE;
} // namespace indSignal
// Fields of the MSK, NXDN, dPMR and MDC sheets that their own tables have no room for, in bytes 0-249
// of the model's second area of further fields (table 204). Entry i of a per-entry field lies at the
// field's address plus its entry size times i.
namespace indDigitalExtras {
// MSK short text messages 2 and 3 of the eight entries (record kind 17): 16 bytes per entry, message 2
// in bytes 0-7, message 3 in bytes 8-15 (display characters, blank-padded).
inline constexpr int32_t kMskMessages23 = indMap::At(indTable::kModelExtras2, 0);
inline constexpr int32_t kMskMessages23Size = 16;
// MSK timing and error settings, one byte each in the order of the cells on the MSK sheet (NA first,
// LET call last): 26 bytes.
inline constexpr int32_t kMskTiming = indMap::At(indTable::kModelExtras2, 128);
// dPMR receive status lists, 33 entries of one byte each: the last-status numbers, then the receive
// status numbers.
inline constexpr int32_t kDpmrLastStatus = indMap::At(indTable::kModelExtras2, 154);
inline constexpr int32_t kDpmrRxStatus = indMap::At(indTable::kModelExtras2, 187);
inline constexpr int32_t kDpmrRxStatusEntries = 33;
// MDC: whether each of the five systems uses the alias list, bit 0 of one byte per system.
inline constexpr int32_t kMdcSystemAlias = indMap::At(indTable::kModelExtras2, 220);
// The first byte past the fields above (bytes up to 249 are this block's).
inline constexpr int32_t kEnd = indMap::At(indTable::kModelExtras2, 225);
static_assert(kEnd <= indMap::At(indTable::kModelExtras2, 250));
} // namespace indDigitalExtras
// Settings whose places the radio leaves to this model: the LTR options beside the radio's own in the
// LTR option bytes of the repeater area, and the voting zone, the bank for new channels, the
// adjustment channel and the two passwords in the second model area (bytes 250 on).
namespace indOwnPlaces {
// Repeater area byte 8 (the radio's LTR option bits 0-2, 4, 6, 7): bit 3 handshake beep, bit 5 beep on
// receive. Byte 11 (bit 7 the radio's LSD decoder): bits 0-3 dispatch and phone time-out timers, busy
// lockout, power save; bit 4 blocked IDs on; bit 5 priority talk group decode.
inline constexpr int32_t kLtrBeeps = indMap::kRepeaterArea + 8;
inline constexpr int32_t kLtrSwitches = indMap::kRepeaterArea + 11;
inline constexpr uint8_t kLtrBlockIdsOn = 0x10, kLtrPriorityDecode = 0x20;
// One byte each: the blocked ID range, the priority talk group (LTR IDs 1-254) and the preamble and
// hang bit counts.
inline constexpr int32_t kLtrBlockIdFirst = indMap::kRepeaterArea + 12;
inline constexpr int32_t kLtrBlockIdLast = indMap::kRepeaterArea + 13;
inline constexpr int32_t kLtrPriorityId = indMap::kRepeaterArea + 14;
inline constexpr int32_t kLtrPreambleBits = indMap::kRepeaterArea + 15;
inline constexpr int32_t kLtrHangBits = indMap::kRepeaterArea + 16;

// The voting zone: bits 0-1 RF power, bits 2-3 scrambler, bit 4 scrambler type, bit 5 fast mute; the
// scrambler code 0-31 (shown 1-32); the encryption key 0 (off) to 8; the voting text in 8 display
// characters.
inline constexpr int32_t kVoteZone = indMap::At(indTable::kModelExtras2, 250);
inline constexpr uint8_t kVoteScramblerBits = 0x0C;
inline constexpr int32_t kVoteScramblerCode = indMap::At(indTable::kModelExtras2, 251);
inline constexpr int32_t kVoteEncryption = indMap::At(indTable::kModelExtras2, 252);
inline constexpr int32_t kVoteText = indMap::At(indTable::kModelExtras2, 253);
inline constexpr int32_t kVoteTextLength = 8;
// The bank new channels go to: 0-7, any other value none.
inline constexpr int32_t kFreeBank = indMap::At(indTable::kModelExtras2, 261);
// The adjustment channel: its bank (0-7) and position in the bank (0-127); the transmit mode (bits 0-1)
// and receive mode (bits 2-3), channel types 0-3; the balance tone frequency in hertz (16 bits).
inline constexpr int32_t kAdjustBank = indMap::At(indTable::kModelExtras2, 262);
inline constexpr int32_t kAdjustPosition = indMap::At(indTable::kModelExtras2, 263);
inline constexpr int32_t kAdjustModes = indMap::At(indTable::kModelExtras2, 264);
inline constexpr int32_t kAdjustBalanceHz = indMap::At(indTable::kModelExtras2, 265);
// The adjustment password (8 characters) and the maker password (16), blank or zero when none.
inline constexpr int32_t kAdjustPassword = indMap::At(indTable::kModelExtras2, 267);
inline constexpr int32_t kAdjustPasswordLength = 8;
inline constexpr int32_t kMakerPassword = indMap::At(indTable::kModelExtras2, 275);
inline constexpr int32_t kMakerPasswordLength = 16;
} // namespace indOwnPlaces

#include "model/indNormalize.h"

#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using L = indLayout;

// The header fields that identify this model; the radio must never change them.
constexpr struct {
    int32_t at;
    int32_t size;
} kConstants[] = {{L::kRadioModelAt, 2}, {L::kSignatureAt, 8}, {L::kModelCodeAt, 2}};

constexpr int32_t kFirstUsedChannel = L::At(indTable::kRadioSettings, 18);
constexpr int32_t kGroupFirstUsed =
    L::SlotAddress(indTable::kGroupFirstChannels);      // table 61: eight 16-bit channel numbers
constexpr int32_t kSmallCounts = indMap::kRepeaterArea; // eight one-byte counts, at most 160 together
constexpr int32_t kTexts[] = {L::SlotAddress(indTable::kCloneComments), L::At(indTable::kCloneComments, 16)};

// Record kinds canonicalised besides the channels (kinds sharing a table appear once).
constexpr int kListKinds[] = {3,  5,  6,  7,  8,  9,  10, 14, 15, 17, 18, 19, 20, 23,
                              24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35, 36, 37};

struct IndexTable {
    int32_t at;      // 1,000-byte index table
    int32_t list;    // list table slot
    int32_t size;    // list entry size
    int32_t countAt; // list count
    int keyKind;     // 32: 32-bit value, 16: 16-bit value, 7: seven packed decimal digits
};
constexpr IndexTable kIndexTables[] = {
    {L::SlotAddress(indTable::kNxdnIndIdOrder), L::SlotAddress(indTable::kNxdnIndIds), 12, L::kCount33, 32},
    {L::SlotAddress(indTable::kNxdnGroupIdOrder), L::SlotAddress(indTable::kNxdnGroupIds), 10, L::kCount34,
     16},
    {L::SlotAddress(indTable::kTrunkIndIdOrder), L::SlotAddress(indTable::kTrunkIndIds), 12, L::kCount91, 32},
    {L::SlotAddress(indTable::kTrunkTalkGroupOrder), L::SlotAddress(indTable::kTrunkTalkGroups), 10,
     L::kCount92, 16},
    {L::SlotAddress(indTable::kDpmrIndIdOrder), L::SlotAddress(indTable::kDpmrIndIds), 14, L::kCount101, 7},
};

void DefaultIfZero8(uint8_t* w, const uint8_t* d, int32_t at) {
    if (w[at] == 0)
        w[at] = d[at];
}
void DefaultIfZero16(uint8_t* w, const uint8_t* d, int32_t at) {
    if (L::Get16(w, at) == 0)
        std::memcpy(w + at, d + at, 2);
}

} // namespace

void indNormalize::RestoreConstants(uint8_t* w, const uint8_t* d) {
    for (const auto& c : kConstants)
        std::memcpy(w + c.at, d + c.at, size_t(c.size));
}

void indNormalize::RecomputeDerived(cmcEeprom& work) {
    uint8_t* w = work.Data();
    datCh ch(&work);
    int first = -1;
    for (int g = 0; g < L::kGroups; ++g) {
        const int start = L::GroupStart(w, g);
        int groupFirst = -1;
        for (int n = start; n < start + L::GroupCount(w, g) && n < L::kChannels; ++n) {
            ch.Decode(datCh::kChannel1, n);
            if (ch.status & datCh::kInUse) {
                groupFirst = n;
                break;
            }
        }
        if (first < 0)
            first = groupFirst;
        // A bank without a channel in use points at its own first position.
        L::Put16(w, kGroupFirstUsed + 2 * g, uint32_t(groupFirst >= 0 ? groupFirst : std::min(start, 127)));
    }
    L::Put16(w, kFirstUsedChannel, uint32_t(first >= 0 ? first : 0));
}

void indNormalize::ClampCounts(uint8_t* w) {
    indWorkImage::ClampGroupCounts(w);
    int sum = 0;
    for (int i = 0; i < 8; ++i) {
        if (sum + w[kSmallCounts + i] > 160)
            w[kSmallCounts + i] = 0;
        else
            sum += w[kSmallCounts + i];
    }
}

void indNormalize::CanonicaliseRecords(cmcEeprom& work) {
    datCh r(&work);
    for (int n = 0; n < L::kChannels; ++n) {
        r.Decode(datCh::kChannel1, n);
        r.Encode(0, n);
    }
    for (int kind : kListKinds)
        for (int i = 0; i < datCh::Capacity(kind); ++i) {
            r.Decode(kind, i);
            r.Encode(0, i);
        }
}

void indNormalize::ClampIdentifiers(uint8_t* w, const uint8_t* d, int unitIdMax) {
    auto clamp16 = [&](int32_t at, int hi) {
        const int v = L::Get16(w, at);
        if (v < 1 || v > hi)
            std::memcpy(w + at, d + at, 2);
    };
    clamp16(L::At(indTable::kNxdnOptions, 4), unitIdMax);
    clamp16(L::At(indTable::kNxdnOptions, 8), unitIdMax);
    clamp16(L::At(indTable::kNxdnOptions, 6), 2000);
    clamp16(L::At(indTable::kNxdnOptions, 10), 2000);
    static const uint8_t lo[4] = {0x00, 0x00, 0x00, 0x10};
    static const uint8_t hi[4] = {0x99, 0x99, 0x99, 0x90};
    for (int32_t at : {L::At(indTable::kDpmrGroupSettings, 2), L::At(indTable::kDpmrGroupSettings, 6)})
        if (std::memcmp(w + at, lo, 4) < 0 || std::memcmp(w + at, hi, 4) > 0)
            std::memcpy(w + at, d + at, 4);
}

void indNormalize::FillEmptyValues(uint8_t* w, const uint8_t* d) {
    for (int32_t at : {L::At(indTable::kNxdnRemoteMonitor, 1), L::At(indTable::kNxdnOptions, 48),
                       L::At(indTable::kDpmrOptions, 48)})
        DefaultIfZero8(w, d, at);
    for (int32_t at = L::SlotAddress(indTable::kNxdnExpert); at <= L::At(indTable::kNxdnExpert, 6); ++at)
        DefaultIfZero8(w, d, at);
    for (int32_t at = L::At(indTable::kNxdnExpert, 8); at <= L::At(indTable::kNxdnExpert, 10); ++at)
        DefaultIfZero8(w, d, at);
    for (int32_t at = L::SlotAddress(indTable::kDpmrExpert); at <= L::At(indTable::kDpmrExpert, 5); ++at)
        DefaultIfZero8(w, d, at);
    for (int32_t at : {L::At(indTable::kDpmrExpert, 7), L::At(indTable::kDpmrExpert, 9),
                       L::At(indTable::kDpmrExpert, 10), L::At(indTable::kDpmrExpert, 14)})
        DefaultIfZero8(w, d, at);
    DefaultIfZero16(w, d, L::At(indTable::kNxdnGroupSettings, 2));
    DefaultIfZero16(w, d, L::At(indTable::kNxdnGroupSettings, 4));
    for (int i = 0; i < 63; ++i)
        DefaultIfZero16(w, d, L::SlotAddress(indTable::kNxdnKeys) + 2 * i);
    for (int i = 0; i < 32; ++i)
        DefaultIfZero16(w, d, L::SlotAddress(indTable::kDpmrKeys) + 2 * i);
}

void indNormalize::SortIndexTables(uint8_t* w, const uint8_t* d) {
    std::vector<uint16_t> order;
    for (const IndexTable& t : kIndexTables) {
        std::memcpy(w + t.at, d + t.at, 1000);
        const int n = std::min<int>(L::Get16(w, t.countAt), 500);
        auto key = [&](uint16_t i) -> uint32_t {
            const int32_t e = t.list + t.size * i;
            if (t.keyKind == 32)
                return L::Get32(w, e);
            if (t.keyKind == 16)
                return L::Get16(w, e);
            return L::Get32(w, e) >> 4; // seven digits: both nibbles of bytes 0-2, high nibble of 3
        };
        order.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            order[size_t(i)] = uint16_t(i);
        // Stable, ascending: the same order a stable bubble sort gives.
        std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) { return key(a) < key(b); });
        for (int i = 0; i < n; ++i)
            L::Put16(w, t.at + 2 * i, order[size_t(i)]);
    }
}

indWorkImage::PackResult indNormalize::Run(cmcEeprom& work, int direction, bool writeFlag,
                                           const Options& options) {
    if (!work.Data() || work.GetSize() < L::kWorkSize)
        return indWorkImage::PackResult::NoImage;
    // Without an initial image, the defaults are the image's own values.
    cmcEeprom own;
    const cmcEeprom* defaults = options.defaults;
    if (!defaults || !defaults->Data() || defaults->GetSize() < L::kWorkSize) {
        own.Assign(work);
        defaults = &own;
    }
    uint8_t* w = work.Data();
    const uint8_t* d = defaults->Data();
    indWorkImage tables(work, defaults, options.box);

    if (direction == kToWorking)
        tables.ExpandTables();
    RestoreConstants(w, d);
    ClampCounts(w);
    RecomputeDerived(work);
    for (int32_t at : kTexts)
        for (int i = 0; i < 16; ++i)
            if (w[at + i] < 0x20 || w[at + i] > 0x7E)
                w[at + i] = ' ';
    CanonicaliseRecords(work);
    ClampIdentifiers(w, d, options.unitIdMax);
    FillEmptyValues(w, d);
    SortIndexTables(w, d);
    // Data this system saves or writes never carries the newer-data flag: clear it before packing so
    // that the packed memory does not keep it either.
    w[L::kNewerDataAt] = 0;
    w[L::kNewerDataAt + 1] = d[L::kNewerDataAt + 1];
    if (direction == kToRadio)
        return tables.PackTables(writeFlag);
    return indWorkImage::PackResult::Ok;
}

#include "model/indRowKinds.h"

#include "cells/cmcCellIds.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "model/indRptList.h"

#include <algorithm>

namespace {

using L = indLayout;
using R = indRptList;
using C = indRowKind::Count;
using K = indRowKind::Keep;

constexpr int32_t kListLargest = 500;
// The bank operation rows copy the bank's name; the counts and kinds of a bank are not a row's to
// carry elsewhere (they move channels).
constexpr int32_t kBankNameSize = 8;
// The dPMR status list: a receive area and a transmit area of 12 bytes for each of the 32 entries.
constexpr int32_t kDpmrStatusEntries = 32;
constexpr int32_t kDpmrStatusSize = 12;

const indRowKind kKinds[] = {
    {datCh::kChannel1, C::Channels, K::Priority, L::kChannels, 0, cmcEv::InsertChannel, cmcEv::DeleteChannel},
    {datCh::kChannel2, C::Channels, K::Priority, L::kChannels, 0, cmcEv::InsertChannel, cmcEv::DeleteChannel},
    {datCh::kKindScanList, C::Fixed, K::Nothing, 17, 0, 0, 0},
    {13, C::Fixed, K::Nothing, L::kGroups, 0, 0, 0},
    {datCh::kKindNxdnIndId, C::InUse, K::OneEntry, kListLargest, 0, cmcEv::InsertNxdnIndId,
     cmcEv::DeleteNxdnIndId},
    {datCh::kKindNxdnGroupId, C::InUse, K::OneEntry, kListLargest, 0, cmcEv::InsertNxdnGroupId,
     cmcEv::DeleteNxdnGroupId},
    {datCh::kKindRepeater, C::Groups, K::Nothing, R::kRptCapacity, R::kRptPerGroup, cmcEv::InsertRepeater,
     cmcEv::DeleteRepeater},
    {datCh::kKindMdcAlias, C::InUse, K::Nothing, kListLargest, 0, cmcEv::InsertMdcAlias,
     cmcEv::DeleteMdcAlias},
    {datCh::kKindTrunkRepeater, C::Groups, K::Nothing, R::kVornCapacity, R::kVornPerGroup,
     cmcEv::InsertTrunkRepeater, cmcEv::DeleteTrunkRepeater},
    {datCh::kKindTrunkIndId, C::InUse, K::OneEntry, kListLargest, 0, cmcEv::InsertTrunkIndId,
     cmcEv::DeleteTrunkIndId},
    {datCh::kKindTrunkTalkGroup, C::InUse, K::OneEntry, kListLargest, 0, cmcEv::InsertTrunkTalkGroup,
     cmcEv::DeleteTrunkTalkGroup},
    {datCh::kKindDpmrIndId, C::InUse, K::OneOfEachType, kListLargest, 0, cmcEv::InsertDpmrIndId,
     cmcEv::DeleteDpmrIndId},
    {34, C::Fixed, K::Nothing, kDpmrStatusEntries, 0, 0, 0},
};

bool Usable(const cmcEeprom& work) {
    return work.GetSize() >= L::kWorkSize;
}

} // namespace

const indRowKind* indRowKinds::Of(int32_t kind) {
    for (const indRowKind& k : kKinds) {
        if (k.kind == kind) {
            return &k;
        }
    }
    return nullptr;
}

int32_t indRowKinds::KindOfCategory(int32_t category, int32_t modelFamily) {
    if (category < 0 || category > cmcCellIds::kNoCategory) {
        return 0;
    }
    const int32_t kind = cmcCellIds::RecordKindOfCategory(category, modelFamily);
    return Of(kind) ? kind : 0;
}

bool indRowKinds::IsRaw(int32_t kind) {
    return kind == 13 || kind == 34;
}

std::vector<std::span<uint8_t>> indRowKinds::RawAreas(cmcEeprom& image, int32_t kind, int32_t index) {
    std::vector<std::span<uint8_t>> areas;
    if (!Usable(image)) {
        return areas;
    }
    uint8_t* w = image.Data();
    if (kind == 13 && index >= 0 && index < L::kGroups) {
        areas.emplace_back(w + L::SlotAddress(indTable::kBankNames) + kBankNameSize * index, kBankNameSize);
    } else if (kind == 34 && index >= 0 && index < kDpmrStatusEntries) {
        areas.emplace_back(w + L::SlotAddress(indTable::kDpmrStatusRx) + kDpmrStatusSize * index,
                           kDpmrStatusSize);
        areas.emplace_back(w + L::SlotAddress(indTable::kDpmrStatusTx) + kDpmrStatusSize * index,
                           kDpmrStatusSize);
    }
    return areas;
}

int32_t indRowKinds::Total(const cmcEeprom& work, const indRowKind& kind) {
    if (!Usable(work)) {
        return 0;
    }
    switch (kind.count) {
    case C::Channels:
    case C::Groups: {
        int32_t total = 0;
        for (int g = 0; g < L::kGroups; ++g) {
            total += GroupSize(work, kind, g);
        }
        return total;
    }
    case C::InUse:
        return std::clamp(datCh::EntriesInUse(work.Data(), kind.kind), 0, datCh::Capacity(kind.kind));
    case C::Fixed:
        return kind.capacity;
    }
    return 0;
}

int32_t indRowKinds::GroupSize(const cmcEeprom& work, const indRowKind& kind, int group) {
    if (!Usable(work)) {
        return 0;
    }
    if (kind.count == C::Channels) {
        if (group < 0 || group >= L::kGroups) {
            return 0;
        }
        // Counts come from the data as they are; a damaged count never reaches past the channels.
        const int32_t before = GroupFirst(work, kind, group);
        return std::clamp<int32_t>(L::GroupCount(work.Data(), group), 0, L::kChannels - before);
    }
    if (kind.count == C::Groups) {
        // indRptList only reads the image it is bound to.
        return R(const_cast<cmcEeprom&>(work), kind.kind).GroupSize(group);
    }
    return Total(work, kind);
}

int32_t indRowKinds::GroupFirst(const cmcEeprom& work, const indRowKind& kind, int group) {
    if (!Grouped(kind)) {
        return 0;
    }
    int32_t first = 0;
    for (int g = 0; g < group && g < L::kGroups; ++g) {
        first += kind.count == C::Channels ? L::GroupCount(work.Data(), g) : GroupSize(work, kind, g);
    }
    return std::min(first, kind.capacity);
}

int indRowKinds::GroupOf(const cmcEeprom& work, const indRowKind& kind, int32_t index) {
    if (!Grouped(kind)) {
        return 0;
    }
    for (int g = 0; g < L::kGroups; ++g) {
        const int32_t first = GroupFirst(work, kind, g);
        if (index >= first && index < first + GroupSize(work, kind, g)) {
            return g;
        }
    }
    return -1;
}

void indRowKinds::SetGroupSize(cmcEeprom& work, const indRowKind& kind, int group, int32_t size) {
    if (!Usable(work)) {
        return;
    }
    uint8_t* w = work.Data();
    switch (kind.count) {
    case C::Channels:
        if (group >= 0 && group < L::kGroups) {
            L::Put16(w, L::kGroupCounts + 2 * group, uint32_t(size));
        }
        break;
    case C::Groups:
        if (group < 0 || group >= L::kGroups) {
            break;
        }
        if (kind.kind == R::kTrunkRepeaters) {
            L::Put16(w, R::kVornSites + R::kEntrySize * group, uint32_t(size));
        } else {
            w[R::kRptSizes + group] = uint8_t(size);
        }
        break;
    case C::InUse:
        datCh::SetEntriesInUse(w, kind.kind, size);
        break;
    case C::Fixed:
        break;
    }
}

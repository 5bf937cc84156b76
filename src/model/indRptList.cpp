#include "model/indRptList.h"

#include "core/cmcEeprom.h"
#include "model/indLayout.h"

#include <algorithm>
#include <cstring>

using L = indLayout;

indRptList::indRptList(cmcEeprom& work, int kind) : m_work(work), m_kind(kind) {}

int32_t indRptList::Capacity() const {
    return m_kind == kTrunkRepeaters ? kVornCapacity : kRptCapacity;
}

int32_t indRptList::PerGroup() const {
    return m_kind == kTrunkRepeaters ? kVornPerGroup : kRptPerGroup;
}

bool indRptList::HasRoom(int group) const {
    return group >= 0 && group < L::kGroups && Total() < Capacity() && GroupSize(group) < PerGroup();
}

uint8_t* indRptList::Entry(int32_t i) {
    return m_work.Data() + (m_kind == kTrunkRepeaters ? kVornEntries : kRptEntries) + kEntrySize * i;
}

int32_t indRptList::GroupSize(int group) const {
    if (group < 0 || group >= L::kGroups)
        return 0;
    const uint8_t* w = m_work.Data();
    // Sizes come from the data as they are: a size past the capacity counts as what is left.
    const int32_t raw =
        m_kind == kTrunkRepeaters ? L::Get16(w, kVornSites + kEntrySize * group) : w[kRptSizes + group];
    int32_t before = 0;
    for (int g = 0; g < group; ++g)
        before += m_kind == kTrunkRepeaters ? L::Get16(w, kVornSites + kEntrySize * g) : w[kRptSizes + g];
    return std::clamp(raw, 0, std::max(0, Capacity() - before));
}

void indRptList::SetGroupSize(int group, int32_t size) {
    uint8_t* w = m_work.Data();
    if (m_kind == kTrunkRepeaters)
        L::Put16(w, kVornSites + kEntrySize * group, uint32_t(size));
    else
        w[kRptSizes + group] = uint8_t(size);
}

int32_t indRptList::FirstOf(int group) const {
    int32_t first = 0;
    for (int g = 0; g < group && g < L::kGroups; ++g)
        first += GroupSize(g);
    return first;
}

int32_t indRptList::Total() const {
    return FirstOf(L::kGroups);
}

int indRptList::GroupOf(int32_t i) const {
    int32_t first = 0;
    for (int g = 0; g < L::kGroups; ++g) {
        const int32_t size = GroupSize(g);
        if (i >= first && i < first + size)
            return g;
        first += size;
    }
    return -1;
}

int32_t indRptList::AddToGroup(int group) {
    if (!HasRoom(group))
        return -1;
    const int32_t total = Total();
    const int32_t at = FirstOf(group) + GroupSize(group);
    // The later groups move up by one entry; the new entry starts empty.
    std::memmove(Entry(at + 1), Entry(at), size_t(kEntrySize) * size_t(total - at));
    std::memset(Entry(at), 0, size_t(kEntrySize));
    SetGroupSize(group, GroupSize(group) + 1);
    return at;
}

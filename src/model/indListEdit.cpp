#include "model/indListEdit.h"

#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indBankKind.h"
#include "model/indLayout.h"
#include "model/indRowKinds.h"
#include "model/indRptList.h"

#include <algorithm>
#include <vector>

#include <functional>

namespace {

using L = indLayout;

// A 16-bit reference through the renumbering; returns whether it named the removed entry (it then
// becomes 0).
bool Adjust16(uint8_t* w, int32_t at, const indListEdit::Renumber& map) {
    const int v = map(L::Get16(w, at));
    L::Put16(w, at, uint32_t(v < 0 ? 0 : v));
    return v < 0;
}

bool Adjust16(uint16_t& v, const indListEdit::Renumber& map) {
    const int n = map(v);
    v = uint16_t(n < 0 ? 0 : n);
    return n < 0;
}

indListEdit::Renumber Shift(int position, bool deletion) {
    // On deletion the reference to the removed entry goes and the later ones move down; on insertion
    // every reference at or above the new position moves up.
    return [position, deletion](int v) {
        if (deletion) {
            return v == position ? indListEdit::kGone : v > position ? v - 1 : v;
        }
        return v >= position ? v + 1 : v;
    };
}

} // namespace

indListEdit::Renumber indListEdit::BlockMove(int low, int high, int direction) {
    // The block [low, high] moves by one; the neighbour it passes takes the freed end.
    return [low, high, direction](int v) {
        if (v >= low && v <= high) {
            return v + direction;
        }
        if (direction > 0 && v == high + 1) {
            return low;
        }
        if (direction < 0 && v == low - 1) {
            return high;
        }
        return v;
    };
}

indListEdit::indListEdit(cmcEeprom& work, const cmcEeprom* defaults) : m_work(work), m_defaults(defaults) {}

void indListEdit::AdjustReferences(int kind, const Renumber& map, int group) {
    uint8_t* w = m_work.Data();
    // Channels with content, optionally only those in banks with (or without) the trunking flag.
    auto forChannels = [&](int onlyF3, const std::function<void(datCh&)>& fn) {
        datCh ch(&m_work);
        for (int n = 0; n < L::kChannels; ++n) {
            ch.Decode(datCh::kChannel1, n);
            if (!(ch.status & datCh::kHasContent)) {
                continue;
            }
            if (onlyF3 >= 0 && L::BankFlag(w, L::kBankF3, L::GroupOf(w, n)) != (onlyF3 == 1)) {
                continue;
            }
            fn(ch);
            ch.Encode(0, n);
        }
    };

    switch (kind) {
    case datCh::kChannel1:
    case datCh::kChannel2: {
        for (int i = 0; i < 17; ++i) {
            uint8_t* e = w + L::SlotAddress(indTable::kScanLists) + 18 * i;
            if (Adjust16(e, 12, map) && (e[10] >> 4) == 5) {
                e[10] &= 0x0F;
            }
            if (Adjust16(e, 14, map) && (e[10] & 0x0F) == 5) {
                e[10] = uint8_t((e[10] & 0xF0) | 1);
            }
            if (Adjust16(e, 16, map) && (e[11] >> 4) == 5) {
                e[11] &= 0x0F;
                e[8] &= 0x7F;
            }
        }
        // One-byte channel references (0x80 and up: none): the channel reference table and the
        // channel the channel switch moves to.
        auto adjust8 = [&](uint8_t& c) {
            if (c >= 0x80) {
                return;
            }
            const int n = map(c);
            c = n < 0 || n >= 0x80 ? 0x80 : uint8_t(n);
        };
        for (int i = 0; i < 16; ++i) {
            adjust8(w[L::SlotAddress(indTable::kChannelRefs) + i]);
        }
        adjust8(w[L::At(indTable::kModelExtras, indKeysArea::kMoveChannel)]);
        int firstGroup = 0;
        for (int g = 0; g < L::kGroups && !firstGroup; ++g) {
            if (L::GroupCount(w, g) > 0) {
                firstGroup = g + 1;
            }
        }
        // Channel groups: type 1 names a channel, type 3 a bank (from 1).
        datCh entry(&m_work);
        for (int i = 0; i < datCh::Capacity(datCh::kKindChannelGroup); ++i) {
            entry.Decode(datCh::kKindChannelGroup, i);
            if (entry.byte0 == 1) {
                Adjust16(entry.value, map);
            } else if (entry.byte0 == 3 && group >= 0 && entry.value == group + 1) {
                entry.value = uint16_t(firstGroup);
            }
            entry.Encode(0, i);
        }
        break;
    }
    case 18:
        Adjust16(w, L::At(indTable::kNxdnStatusSettings, 4), map);
        Adjust16(w, L::At(indTable::kNxdnOptions, 52), map);
        forChannels(0, [&](datCh& ch) { Adjust16(ch.individualList, map); });
        break;
    case 19:
        forChannels(-1, [&](datCh& ch) { Adjust16(ch.nxdnTalkGroupList, map); });
        break;
    case 28:
        Adjust16(w, L::At(indTable::kTrunkOptions, 2), map);
        Adjust16(w, L::At(indTable::kTrunkOptions, 4), map);
        forChannels(1, [&](datCh& ch) { Adjust16(ch.individualList, map); });
        break;
    case 29:
        forChannels(-1, [&](datCh& ch) { Adjust16(ch.vornTalkGroupList, map); });
        break;
    case 31:
        for (int32_t at :
             {L::At(indTable::kDpmrStatusSettings, 4), L::At(indTable::kDpmrStun, 2),
              L::At(indTable::kDpmrStun, 4), L::At(indTable::kDpmrStun, 6), L::At(indTable::kDpmrOptions, 8),
              L::At(indTable::kDpmrOptions, 10), L::At(indTable::kDpmrOptions, 52),
              L::At(indTable::kModelExtras, indKeysArea::kEmergencyDpmrTarget)}) {
            Adjust16(w, at, map);
        }
        for (int i = 0; i < datCh::Capacity(datCh::kKindDpmrRxTalkGroup); ++i) {
            datCh group(&m_work);
            group.Decode(datCh::kKindDpmrRxTalkGroup, i);
            Adjust16(group.value, map);
            group.Encode(0, i);
        }
        forChannels(-1, [&](datCh& ch) {
            Adjust16(ch.dpmrCallList, map);
            Adjust16(ch.dpmrTalkGroupList, map);
        });
        break;
    case datCh::kKindRepeater: {
        // A channel of a repeater bank names its home repeater by its number in the bank's group of
        // repeaters (from 1). When that repeater goes, the channel keeps a number the group still has.
        if (group < 0 || group >= L::kGroups || indBankKind::Of(w, group) != indBankKind::Kind::Repeater) {
            break;
        }
        indRptList repeaters(m_work, kind);
        const int first = repeaters.FirstOf(group);
        const int size = repeaters.GroupSize(group);
        forChannels(-1, [&](datCh& ch) {
            const int home = ch.groupHomeRepeater;
            if (L::GroupOf(w, ch.index) != group || home < 1 || home > size) {
                return;
            }
            const int n = map(first + home - 1);
            ch.groupHomeRepeater =
                uint16_t(n < 0 ? std::clamp(home, 1, std::max(1, size - 1)) : n - first + 1);
        });
        break;
    }
    case datCh::kKindScanList:
        // A channel's membership bits and its scan list follow the scan lists they name.
        forChannels(-1, [&](datCh& ch) {
            uint32_t lists = 0;
            for (int k = 0; k < datCh::Capacity(kind); ++k) {
                const int n = map(k);
                if (n >= 0 && n < datCh::Capacity(kind) && ((ch.lists >> (16 - k)) & 1)) {
                    lists |= 1u << (16 - n);
                }
            }
            ch.lists = lists;
            // The scan list a channel starts (1 for the first list, 0 for none).
            if (ch.scanList > 0 && ch.scanList <= datCh::Capacity(kind)) {
                const int n = map(ch.scanList - 1);
                ch.scanList = uint16_t(n < 0 ? 0 : n + 1);
            }
        });
        break;
    default:
        break;
    }
}

void indListEdit::Move(int kind, int from, int to, int bank) {
    datCh moving(&m_work), target(&m_work);
    moving.Decode(kind, from);
    target.Decode(kind, to);
    // The bank marks belong to the position, not to the entry.
    uint8_t m = uint8_t((moving.marks & ~0x30) | (target.marks & 0x30));
    if (bank != kNoBank) {
        const int g = L::GroupOf(m_work.Data(), to);
        if (bank != g + 1) {
            m &= uint8_t(~0x40);
        }
        if (bank != g) {
            m &= uint8_t(~0x80);
        }
    }
    moving.marks = m;
    moving.Encode(kind, to);
}

void indListEdit::FillFromDefaults(int kind, int position) {
    datCh here(&m_work);
    here.Decode(kind, position);
    datCh fresh(&m_work);
    if (m_defaults && m_defaults->GetSize() >= L::kWorkSize) {
        // Decoding only reads the image it is bound to.
        fresh.Bind(const_cast<cmcEeprom*>(m_defaults));
        fresh.Decode(kind, position);
        fresh.Bind(&m_work);
    } else {
        fresh.Decode(0, position); // an empty record
    }
    fresh.marks = here.marks;
    fresh.Encode(kind, position);
}

bool indListEdit::DeleteEntry(int kind, int a, int count, int bank) {
    if (m_work.GetSize() < L::kWorkSize || count > datCh::Capacity(kind) || a < 0 || a >= count) {
        return false;
    }
    // A removed channel's bank; for the other lists the group the entry is removed from.
    AdjustReferences(kind, Shift(a, true), datCh::IsChannelKind(kind) ? L::GroupOf(m_work.Data(), a) : bank);
    for (int i = a + 1; i < count; ++i) {
        Move(kind, i, i - 1, bank);
    }
    FillFromDefaults(kind, count - 1);
    return true;
}

bool indListEdit::InsertEntry(int kind, int b, int count, int bank) {
    if (m_work.GetSize() < L::kWorkSize || count > datCh::Capacity(kind) || b < 0 || b >= count) {
        return false;
    }
    // An entry added at the end moves no entry, so no reference follows one: a reference that named
    // the new position before (the first entry of an empty list) names the new entry.
    if (b < count - 1) {
        AdjustReferences(kind, Shift(b, false), datCh::IsChannelKind(kind) ? kNoBank : bank);
    }
    for (int i = count - 2; i >= b; --i) {
        Move(kind, i, i + 1, bank);
    }
    FillFromDefaults(kind, b);
    return true;
}

bool indListEdit::MoveBlock(int kind, int low, int high, int direction, int bank) {
    const int capacity = indRowKinds::IsRaw(kind) ? indRowKinds::Of(kind)->capacity : datCh::Capacity(kind);
    if (m_work.GetSize() < L::kWorkSize || (direction != 1 && direction != -1) || low < 0 || high < low ||
        low + direction < 0 || high + direction >= capacity) {
        return false;
    }
    // The block and the neighbour it passes, as one reordering of the entries they span.
    const int first = std::min(low, low + direction);
    const int last = std::max(high, high + direction);
    const Renumber map = BlockMove(low, high, direction);
    std::vector<int> order;
    for (int i = first; i <= last; ++i) {
        order.push_back(map(i) - first);
    }
    return Permute(kind, first, order, bank);
}

bool indListEdit::Permute(int kind, int first, const std::vector<int>& order, int bank) {
    const int capacity = indRowKinds::IsRaw(kind) ? indRowKinds::Of(kind)->capacity : datCh::Capacity(kind);
    const int n = int(order.size());
    if (m_work.GetSize() < L::kWorkSize || first < 0 || n > capacity - first) {
        return false;
    }
    std::vector<bool> taken(size_t(n), false);
    for (int to : order) {
        if (to < 0 || to >= n || taken[size_t(to)]) {
            return false; // not a reordering of the entries
        }
        taken[size_t(to)] = true;
    }
    const Renumber map = [first, n, &order](int v) {
        return v >= first && v < first + n ? first + order[size_t(v - first)] : v;
    };
    AdjustReferences(kind, map, datCh::IsChannelKind(kind) ? kNoBank : bank);
    // Every entry is taken first, then written at its new place.
    if (indRowKinds::IsRaw(kind)) {
        std::vector<std::vector<std::vector<uint8_t>>> entries;
        for (int i = 0; i < n; ++i) {
            entries.emplace_back();
            for (std::span<uint8_t> area : indRowKinds::RawAreas(m_work, kind, first + i)) {
                entries.back().emplace_back(area.begin(), area.end());
            }
        }
        for (int i = 0; i < n; ++i) {
            const std::vector<std::span<uint8_t>> areas =
                indRowKinds::RawAreas(m_work, kind, first + order[size_t(i)]);
            for (size_t a = 0; a < areas.size() && a < entries[size_t(i)].size(); ++a) {
                std::copy(entries[size_t(i)][a].begin(), entries[size_t(i)][a].end(), areas[a].begin());
            }
        }
        return true;
    }
    std::vector<datCh> entries;
    for (int i = 0; i < n; ++i) {
        entries.emplace_back(&m_work);
        entries.back().Decode(kind, first + i);
    }
    // The marks of a position (its bank's flags) stay with the position.
    std::vector<uint8_t> positionMarks;
    for (const datCh& entry : entries) {
        positionMarks.push_back(uint8_t(entry.marks & 0x30));
    }
    for (int i = 0; i < n; ++i) {
        datCh& record = entries[size_t(i)];
        const int to = order[size_t(i)];
        if (datCh::IsChannelKind(kind)) {
            record.marks = uint8_t((record.marks & ~0x30) | positionMarks[size_t(to)]);
        }
        record.Encode(kind, first + to);
    }
    return true;
}

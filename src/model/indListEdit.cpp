#include "model/indListEdit.h"

#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indLayout.h"

#include <functional>

namespace {

using L = indLayout;

// A reference equal to the removed position becomes 0, one above it moves down; on insertion every
// reference at or above the new position moves up. Returns whether the reference pointed at it.
bool Adjust16(uint8_t* w, int32_t at, int position, bool deletion) {
    const int v = L::Get16(w, at);
    if (deletion) {
        if (v == position) {
            L::Put16(w, at, 0);
            return true;
        }
        if (v > position)
            L::Put16(w, at, uint32_t(v - 1));
    } else if (v >= position) {
        L::Put16(w, at, uint32_t(v + 1));
    }
    return false;
}

bool Adjust16(uint16_t& v, int position, bool deletion) {
    if (deletion) {
        if (v == position) {
            v = 0;
            return true;
        }
        if (v > position)
            --v;
    } else if (v >= position) {
        ++v;
    }
    return false;
}

} // namespace

indListEdit::indListEdit(cmcEeprom& work, const cmcEeprom* defaults) : m_work(work), m_defaults(defaults) {}

void indListEdit::AdjustReferences(int kind, int p, bool deletion) {
    uint8_t* w = m_work.Data();
    // Channels with content, optionally only those in banks with (or without) the trunking flag.
    auto forChannels = [&](int onlyF3, const std::function<void(datCh&)>& fn) {
        datCh ch(&m_work);
        for (int n = 0; n < L::kChannels; ++n) {
            ch.Decode(datCh::kChannel1, n);
            if (!(ch.status & datCh::kHasContent))
                continue;
            if (onlyF3 >= 0 && L::BankFlag(w, L::kBankF3, L::GroupOf(w, n)) != (onlyF3 == 1))
                continue;
            fn(ch);
            ch.Encode(0, n);
        }
    };

    switch (kind) {
    case datCh::kChannel1:
    case datCh::kChannel2: {
        for (int i = 0; i < 17; ++i) {
            uint8_t* e = w + L::SlotAddress(indTable::kScanLists) + 18 * i;
            if (Adjust16(e, 12, p, deletion) && (e[10] >> 4) == 5)
                e[10] &= 0x0F;
            if (Adjust16(e, 14, p, deletion) && (e[10] & 0x0F) == 5)
                e[10] = uint8_t((e[10] & 0xF0) | 1);
            if (Adjust16(e, 16, p, deletion) && (e[11] >> 4) == 5) {
                e[11] &= 0x0F;
                e[8] &= 0x7F;
            }
        }
        for (int i = 0; i < 16; ++i) {
            uint8_t& c = w[L::SlotAddress(indTable::kChannelRefs) + i];
            if (c >= 0x80)
                continue;
            if (deletion)
                c = c == p ? 0x80 : c > p ? uint8_t(c - 1) : c;
            else if (c >= p)
                c = c + 1 >= 0x80 ? 0x80 : uint8_t(c + 1);
        }
        const int group = L::GroupOf(w, p);
        int firstGroup = 0;
        for (int g = 0; g < L::kGroups && !firstGroup; ++g)
            if (L::GroupCount(w, g) > 0)
                firstGroup = g + 1;
        // Channel groups: type 1 names a channel, type 3 a bank (from 1).
        datCh entry(&m_work);
        for (int i = 0; i < datCh::Capacity(datCh::kKindChannelGroup); ++i) {
            entry.Decode(datCh::kKindChannelGroup, i);
            if (entry.byte0 == 1)
                Adjust16(entry.value, p, deletion);
            else if (entry.byte0 == 3 && deletion && entry.value == group + 1)
                entry.value = uint16_t(firstGroup);
            entry.Encode(0, i);
        }
        break;
    }
    case 18:
        Adjust16(w, L::At(indTable::kNxdnStatusSettings, 4), p, deletion);
        Adjust16(w, L::At(indTable::kNxdnOptions, 52), p, deletion);
        forChannels(0, [&](datCh& ch) { Adjust16(ch.individualList, p, deletion); });
        break;
    case 19:
        forChannels(-1, [&](datCh& ch) { Adjust16(ch.nxdnTalkGroupList, p, deletion); });
        break;
    case 28:
        Adjust16(w, L::At(indTable::kTrunkOptions, 2), p, deletion);
        Adjust16(w, L::At(indTable::kTrunkOptions, 4), p, deletion);
        forChannels(1, [&](datCh& ch) { Adjust16(ch.individualList, p, deletion); });
        break;
    case 29:
        forChannels(-1, [&](datCh& ch) { Adjust16(ch.vornTalkGroupList, p, deletion); });
        break;
    case 31:
        for (int32_t at :
             {L::At(indTable::kDpmrStatusSettings, 4), L::At(indTable::kDpmrStun, 2),
              L::At(indTable::kDpmrStun, 4), L::At(indTable::kDpmrStun, 6), L::At(indTable::kDpmrOptions, 8),
              L::At(indTable::kDpmrOptions, 10), L::At(indTable::kDpmrOptions, 52),
              L::At(indTable::kModelExtras, indKeysArea::kEmergencyDpmrTarget)})
            Adjust16(w, at, p, deletion);
        for (int i = 0; i < datCh::Capacity(datCh::kKindDpmrRxTalkGroup); ++i) {
            datCh group(&m_work);
            group.Decode(datCh::kKindDpmrRxTalkGroup, i);
            Adjust16(group.value, p, deletion);
            group.Encode(0, i);
        }
        forChannels(-1, [&](datCh& ch) {
            Adjust16(ch.dpmrCallList, p, deletion);
            Adjust16(ch.dpmrTalkGroupList, p, deletion);
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
        if (bank != g + 1)
            m &= uint8_t(~0x40);
        if (bank != g)
            m &= uint8_t(~0x80);
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
    if (m_work.GetSize() < L::kWorkSize || count > datCh::Capacity(kind) || a < 0 || a >= count)
        return false;
    AdjustReferences(kind, a, true);
    for (int i = a + 1; i < count; ++i)
        Move(kind, i, i - 1, bank);
    FillFromDefaults(kind, count - 1);
    return true;
}

bool indListEdit::InsertEntry(int kind, int b, int count, int bank) {
    if (m_work.GetSize() < L::kWorkSize || count > datCh::Capacity(kind) || b < 0 || b >= count)
        return false;
    // An entry added at the end moves no entry, so no reference follows one: a reference that named
    // the new position before (the first entry of an empty list) names the new entry.
    if (b < count - 1) {
        AdjustReferences(kind, b, false);
    }
    for (int i = count - 2; i >= b; --i)
        Move(kind, i, i + 1, bank);
    FillFromDefaults(kind, b);
    return true;
}

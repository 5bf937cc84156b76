#include "model/indWorkImage.h"

#include "core/cmcEeprom.h"
#include "core/cmcFatal.h"
#include "core/cmcMessageBox.h"
#include "model/datCh.h"
#include "model/indLayout.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using L = indLayout;
namespace T = indTable;

bool Present(const uint8_t* w, int32_t descriptor) {
    return w[descriptor] == 0x00 && w[descriptor + 1] == 0x01;
}

// Copies count bytes of packed memory at a (possibly hostile) offset; bytes outside the radio memory
// read as 0. Returns whether the whole block lay inside.
bool CopyPacked(const uint8_t* w, int64_t from, uint8_t* to, int count) {
    bool inside = from >= 0 && from + count <= L::kRadioSize;
    for (int i = 0; i < count; ++i) {
        int64_t a = from + i;
        to[i] = a >= 0 && a < L::kRadioSize ? w[a] : 0;
    }
    return inside;
}

// Section order of packing; 0 marks the start of section 2, negative identifiers the channel tables.
constexpr int kSection1[] = {2, 7, 14, 6, 61, 17, 100, 4, 5, 83};
constexpr int kSection2[] = {3,   8,   10,  13,  15,  9,   11,  12,  16,  18,  19,  20,  21,
                             22,  96,  97,  64,  65,  84,  85,  98,  99,  101, 117, 104, 105,
                             106, 115, 114, 112, 113, 110, 111, 107, 108, 109, 102, 103, 116};

bool PackedByThisModel(int id) {
    return std::find(std::begin(kSection1), std::end(kSection1), id) != std::end(kSection1) ||
           std::find(std::begin(kSection2), std::end(kSection2), id) != std::end(kSection2);
}

// The list count the editor keeps for a table this model does not pack, or none (such lists travel
// with the entries in use).
int32_t ListCountAt(int id) {
    const indSlot* slot = L::SlotOf(id);
    return slot && !PackedByThisModel(id) ? slot->countAt : 0;
}

} // namespace

// Tables that have an editing slot but that this model's own packing order does not place. The
// packed data may still hold them (a radio or file of a related variant): they are carried through
// every packing with their entries from the slots, so that saving, converting or writing never drops
// what the data held. Data without them packs exactly as before.
std::vector<indWorkImage::Carried> indWorkImage::CarriedTables(const uint8_t* w, Carry carry) {
    std::vector<Carried> out;
    if (carry == Carry::Every) {
        for (const indSlot& slot : L::kSlots) {
            if (PackedByThisModel(slot.id))
                continue;
            int count = slot.count;
            if (int32_t at = ListCountAt(slot.id))
                count = std::min<int>(L::Get16(w, at), slot.count);
            out.push_back({slot.id, count});
        }
        return out;
    }
    auto collect = [&](int32_t descriptor, int32_t copies, int entrySize) {
        if (!Present(w, descriptor))
            return;
        const int n = std::min<int>(L::Get16(w, descriptor + 4), L::kMaxDirEntries);
        for (int i = 0; i < n; ++i) {
            const int id = L::Get16(w, copies + entrySize * i);
            const indSlot* slot = L::SlotOf(id);
            if (!slot || PackedByThisModel(id))
                continue;
            if (std::any_of(out.begin(), out.end(), [id](const Carried& c) { return c.id == id; }))
                continue;
            int count = L::Get16(w, copies + entrySize * i + 4);
            if (int32_t at = ListCountAt(id))
                count = L::Get16(w, at); // entries the editor added or removed since
            count = slot->count == 1 ? 1 : std::min<int>(count, slot->count);
            out.push_back({id, count});
        }
    };
    collect(L::kDir32At, L::kDir32Copy, 12);
    collect(L::kDir16At, L::kDir16Copy, 10);
    return out;
}

namespace {

// The number of entries of a table the directory copies list, or -1 when they do not list it.
int ListedCount(const uint8_t* w, int id) {
    auto listed = [&](int32_t descriptor, int32_t copies, int entrySize) {
        if (!Present(w, descriptor))
            return -1;
        const int n = std::min<int>(L::Get16(w, descriptor + 4), L::kMaxDirEntries);
        for (int i = 0; i < n; ++i)
            if (L::Get16(w, copies + entrySize * i) == id)
                return int(L::Get16(w, copies + entrySize * i + 4));
        return -1;
    };
    const int n = listed(L::kDir32At, L::kDir32Copy, 12);
    return n >= 0 ? n : listed(L::kDir16At, L::kDir16Copy, 10);
}

} // namespace

bool indWorkImage::HoldsTableAt(const uint8_t* w, int32_t offset) {
    const indSlot* slot = L::SlotAt(offset);
    return slot && (PackedByThisModel(slot->id) || ListedCount(w, slot->id) >= 0);
}

bool indWorkImage::Keeps(const uint8_t* w, int32_t offset) {
    const indSlot* slot = L::SlotAt(offset);
    if (!slot)
        return false;
    const int entry = (offset - slot->offset) / slot->size;
    // The same counts packing uses: table 101 and the carried lists go with their entries in use.
    if (PackedByThisModel(slot->id))
        return slot->id != T::kDpmrIndIds || entry < datCh::EntriesInUse(w, datCh::kKindDpmrIndId);
    int count = ListedCount(w, slot->id);
    if (count < 0)
        return false;
    if (int32_t at = ListCountAt(slot->id))
        count = L::Get16(w, at);
    return slot->count == 1 || entry < count;
}

bool indWorkImage::KeepsRange(const uint8_t* w, int32_t offset, int32_t size) {
    if (size <= 0)
        return false;
    // The bytes of one slot entry share the answer: one test per entry.
    for (int64_t at = offset; at < int64_t(offset) + size;) {
        const indSlot* slot = L::SlotAt(int32_t(at));
        if (!slot || !Keeps(w, int32_t(at)))
            return false;
        at = slot->offset + int64_t(slot->size) * ((at - slot->offset) / slot->size + 1);
    }
    return true;
}

indWorkImage::indWorkImage(cmcEeprom& work, const cmcEeprom* defaults, cmcMessageBox* box)
    : m_work(work), m_defaults(defaults), m_box(box) {}

bool indWorkImage::Usable() const {
    return m_work.Data() && m_work.GetSize() >= L::kWorkSize;
}

uint32_t indWorkImage::DataStart(const uint8_t* w) {
    if (L::Get32(w, L::kStartAt32) && L::Get32(w, L::kSec2At32) && L::Get32(w, L::kEndAt32))
        return L::Get32(w, L::kStartAt32);
    if (L::Get16(w, L::kStartAt16) && L::Get16(w, L::kSec2At16) && L::Get16(w, L::kEndAt16))
        return L::Get16(w, L::kStartAt16);
    return 0;
}

void indWorkImage::ClampGroupCounts(uint8_t* w) {
    int sum = 0;
    for (int g = 0; g < L::kGroups; ++g) {
        int c = L::GroupCount(w, g);
        if (sum + c > L::kChannels)
            L::Put16(w, L::kGroupCounts + 2 * g, 0);
        else
            sum += c;
    }
}

bool indWorkImage::CopyDirectories() {
    if (!Usable())
        return false;
    uint8_t* w = m_work.Data();
    const int64_t shift = int64_t(L::kDataStart) - DataStart(w);
    const bool has32 = Present(w, L::kDir32At);
    const bool has16 = Present(w, L::kDir16At);
    if (has32) {
        const int size = L::Get16(w, L::kDir32At + 2);
        const int n = std::min<int>(L::Get16(w, L::kDir32At + 4), L::kMaxDirEntries);
        const int64_t at = int64_t(L::Get32(w, L::kDir32At + 8)) + shift;
        for (int i = 0; i < n; ++i)
            CopyPacked(w, at + int64_t(i) * size, w + L::kDir32Copy + 12 * i, std::min(size, 12));
    }
    if (has16) {
        const int size = L::Get16(w, L::kDir16At + 2);
        const int n = std::min<int>(L::Get16(w, L::kDir16At + 4), L::kMaxDirEntries);
        const int64_t at = int64_t(L::Get16(w, L::kDir16At + 6)) + shift;
        for (int i = 0; i < n; ++i)
            CopyPacked(w, at + int64_t(i) * size, w + L::kDir16Copy + 10 * i, std::min(size, 10));
    }
    return has32 || has16;
}

bool indWorkImage::FindTable(int id, Table& out) const {
    if (!Usable())
        return false;
    const uint8_t* w = m_work.Data();
    const int64_t shift = int64_t(L::kDataStart) - DataStart(w);
    if (Present(w, L::kDir32At)) {
        const int n = std::min<int>(L::Get16(w, L::kDir32At + 4), L::kMaxDirEntries);
        for (int i = 0; i < n; ++i) {
            const int32_t e = L::kDir32Copy + 12 * i;
            if (L::Get16(w, e) != id)
                continue;
            out.size = L::Get16(w, e + 2);
            out.count = L::Get16(w, e + 4);
            out.offset = int64_t(L::Get32(w, e + 8)) + shift;
            return true;
        }
    }
    if (Present(w, L::kDir16At)) {
        const int n = std::min<int>(L::Get16(w, L::kDir16At + 4), L::kMaxDirEntries);
        for (int i = 0; i < n; ++i) {
            const int32_t e = L::kDir16Copy + 10 * i;
            if (L::Get16(w, e) != id)
                continue;
            out.size = L::Get16(w, e + 2);
            out.count = L::Get16(w, e + 4);
            out.offset = int64_t(L::Get16(w, e + 6)) + shift;
            return true;
        }
    }
    return false;
}

void indWorkImage::ExpandTables() {
    if (!CopyDirectories())
        return;
    uint8_t* w = m_work.Data();
    for (int id : L::kExpandOrder) {
        const indSlot* slot = L::SlotOf(id);
        Table t;
        if (!slot || !FindTable(id, t))
            continue;
        int n = slot->count == 1 ? 1 : std::min(t.count, slot->count);
        const int bytes = std::min(t.size, slot->size);
        int copied = 0;
        for (; copied < n; ++copied) {
            const int64_t from = t.offset + int64_t(copied) * t.size;
            if (from < 0 || from + bytes > L::kRadioSize)
                break; // a table reaching outside the radio memory ends where it leaves it
            std::memcpy(w + slot->offset + slot->size * copied, w + from, size_t(bytes));
        }
        n = copied;
        // Counted lists keep the number of entries copied.
        if (slot->countAt)
            L::Put16(w, slot->countAt, uint32_t(n));
    }

    Table t2, t3, t4, t5;
    if (!FindTable(T::kChannelsA, t2) || !FindTable(T::kChannelsB, t3) ||
        !FindTable(T::kGroup7ChannelsA, t4) || !FindTable(T::kGroup7ChannelsB, t5))
        return;

    // Group 7 channels follow the others in the channel slots.
    const int n2 = std::min(t2.count, L::kChannels);
    const int n4 = std::min(t4.count, L::kChannels - n2);
    int copied4 = 0;
    for (; copied4 < n4; ++copied4) {
        const int ch = n2 + copied4;
        const int64_t fromA = t4.offset + int64_t(copied4) * t4.size;
        const int64_t fromB = t5.offset + int64_t(copied4) * t5.size;
        const int bytesA = std::min(t4.size, L::kChASize);
        const int bytesB = std::min(t5.size, L::kChBSize);
        if (fromA < 0 || fromA + bytesA > L::kRadioSize)
            break;
        std::memcpy(w + L::kChA + L::kChASize * ch, w + fromA, size_t(bytesA));
        if (copied4 < t5.count && fromB >= 0 && fromB + bytesB <= L::kRadioSize)
            std::memcpy(w + L::kChB + L::kChBSize * ch, w + fromB, size_t(bytesB));
    }
    const bool haveDefaults = m_defaults && m_defaults->Data() && m_defaults->GetSize() >= L::kWorkSize;
    for (int ch = n2 + copied4; ch < L::kChannels; ++ch) {
        uint8_t* a = w + L::kChA + L::kChASize * ch;
        uint8_t* b = w + L::kChB + L::kChBSize * ch;
        if (haveDefaults) {
            std::memcpy(a, m_defaults->Data() + L::kChA + L::kChASize * ch, L::kChASize);
            std::memcpy(b, m_defaults->Data() + L::kChB + L::kChBSize * ch, L::kChBSize);
        } else {
            std::memset(a, 0, L::kChASize);
            std::memset(b, 0, L::kChBSize);
        }
    }

    // Group 7 count: what table 4 holds, but never fewer than the last group-7 channel with content.
    ClampGroupCounts(w);
    const int remembered = L::GroupCount(w, 7);
    L::Put16(w, L::kGroupCounts + 14, uint32_t(copied4));
    ClampGroupCounts(w);
    const int start7 = L::GroupStart(w, 7);
    int last = 0;
    datCh ch(&m_work);
    for (int p = 0; p < L::GroupCount(w, 7) && start7 + p < L::kChannels; ++p) {
        ch.Decode(datCh::kChannel1, start7 + p);
        if (ch.status & datCh::kHasContent)
            last = p + 1;
    }
    L::Put16(w, L::kGroupCounts + 14, uint32_t(std::max(remembered, last)));
    ClampGroupCounts(w);

    PackTables(false);
}

bool indWorkImage::Place(int id, int32_t from, int size, int count, int32_t& offset, int& entries) {
    uint8_t* w = m_work.Data();
    const int64_t bytes = int64_t(count) * size;
    const int64_t at = L::kDataStart + int64_t(offset);
    if (count < 0 || at + bytes > L::kRadioLast || from < 0 || from + bytes > L::kWorkSize)
        return false;
    if (entries >= L::kMaxDirEntries)
        return false;
    uint8_t* e32 = w + L::kDir32Copy + 12 * entries;
    std::memset(e32, 0, 12);
    L::Put16(e32, 0, uint32_t(id));
    L::Put16(e32, 2, uint32_t(size));
    L::Put16(e32, 4, uint32_t(count));
    L::Put32(e32, 8, uint32_t(at));
    uint8_t* e16 = w + L::kDir16Copy + 10 * entries;
    std::memset(e16, 0, 10);
    L::Put16(e16, 0, uint32_t(id));
    L::Put16(e16, 2, uint32_t(size));
    L::Put16(e16, 4, uint32_t(count));
    L::Put16(e16, 6, uint32_t(at));
    ++entries;
    std::memmove(w + at, w + from, size_t(bytes));
    offset += int32_t(bytes);
    return true;
}

indWorkImage::PackResult indWorkImage::PackTables(bool radio, Carry carry) {
    if (!Usable())
        return PackResult::NoImage;
    uint8_t* w = m_work.Data();

    // Counts from anywhere (a file, a hostile radio) must never address past the 128 channel slots.
    ClampGroupCounts(w);
    int n7 = L::GroupCount(w, 7);
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(w, g);
    const int nm = total - n7;
    if (radio && (w[L::At(indTable::kGeneral, 109)] & 0x40)) {
        int k = L::kChannels - total;
        while (k > 0 && !FitsInMemory(2, k, 0))
            --k;
        n7 += k;
    }

    const std::vector<Carried> carried = CarriedTables(w, carry);

    std::memset(w + L::kDataStart, 0, L::kRadioSize - L::kDataStart);
    std::memset(w + L::kSec2At16, 0, 6);
    std::memset(w + L::kDir16At, 0, 10);
    std::memset(w + L::kSec2At32, 0, 12);
    std::memset(w + L::kDir32At, 0, 12);
    L::Put32(w, L::kStartAt32, L::kDataStart);
    L::Put16(w, L::kStartAt16, L::kDataStart);
    std::memset(w + L::kDir32Copy, 0, 12 * L::kMaxDirEntries);
    std::memset(w + L::kDir16Copy, 0, 10 * L::kMaxDirEntries);

    int32_t offset = 0;
    int entries = 0;
    auto placeSlot = [&](int id) {
        const indSlot* s = L::SlotOf(id);
        int count = s->count;
        if (id == T::kDpmrIndIds)
            count = std::min<int>(datCh::EntriesInUse(w, datCh::kKindDpmrIndId), s->count);
        return Place(id, s->offset, s->size, count, offset, entries);
    };
    bool error = false;
    for (int id : kSection1) {
        bool ok;
        if (id == T::kChannelsA) {
            ok = Place(T::kChannelsA, L::kChA, L::kChASize, nm, offset, entries);
        } else if (id == T::kGroup7ChannelsA) {
            // Tables 4 and 5 go in together; lower the group-7 count until both fit.
            const int32_t saveOffset = offset;
            const int saveEntries = entries;
            ok = false;
            for (int n = n7;; --n) {
                offset = saveOffset;
                entries = saveEntries;
                if (Place(T::kGroup7ChannelsA, L::kChA + L::kChASize * nm, L::kChASize, n, offset, entries) &&
                    Place(T::kGroup7ChannelsB, L::kChB + L::kChBSize * nm, L::kChBSize, n, offset, entries)) {
                    ok = true;
                    break;
                }
                // Only the room added for a radio write may be given back, never stored channels.
                if (!radio || n <= L::GroupCount(w, 7))
                    break;
            }
        } else if (id == T::kGroup7ChannelsB) {
            continue;
        } else {
            ok = placeSlot(id);
        }
        if (!ok) {
            error = true;
            break;
        }
    }
    if (!error) {
        L::Put32(w, L::kSec2At32, uint32_t(L::kDataStart + offset));
        L::Put16(w, L::kSec2At16, uint32_t(L::kDataStart + offset));
        for (int id : kSection2) {
            bool ok = id == T::kChannelsB ? Place(T::kChannelsB, L::kChB, L::kChBSize, nm, offset, entries)
                                          : placeSlot(id);
            if (!ok) {
                error = true;
                break;
            }
        }
        for (const Carried& c : carried) {
            if (error)
                break;
            const indSlot* s = L::SlotOf(c.id);
            error = !Place(c.id, s->offset, s->size, c.count, offset, entries);
        }
    }
    if (error)
        return PackResult::MemoryFull;

    for (int i = 0; i < entries; ++i) {
        for (int j = 0; j < i; ++j) {
            const uint16_t a32 = L::Get16(w, L::kDir32Copy + 12 * i);
            const uint16_t a16 = L::Get16(w, L::kDir16Copy + 10 * i);
            int dup = -1;
            if (a32 == L::Get16(w, L::kDir32Copy + 12 * j))
                dup = a32;
            else if (a16 == L::Get16(w, L::kDir16Copy + 10 * j))
                dup = a16;
            if (dup < 0)
                continue;
            if (m_box)
                m_box->Show(
                    "### BoobyTrap ###\nError Detect in Static2Dynaimc Sequence.\n\nDuplicate PTBL-ID : '" +
                        std::to_string(dup) + "'",
                    cmcProgramName(), cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
            return PackResult::DuplicateTable;
        }
    }

    // The 32-bit directory, then the signature.
    const int64_t dirAt = L::kDataStart + int64_t(offset);
    const int64_t dirBytes = int64_t(12) * entries;
    if (dirAt + dirBytes > L::kRadioLast)
        return PackResult::MemoryFull;
    std::memcpy(w + dirAt, w + L::kDir32Copy, size_t(dirBytes));
    offset += int32_t(dirBytes);
    w[L::kDir32At] = 0x00;
    w[L::kDir32At + 1] = 0x01;
    L::Put16(w, L::kDir32At + 2, 12);
    L::Put16(w, L::kDir32At + 4, uint32_t(entries));
    L::Put32(w, L::kDir32At + 8, uint32_t(dirAt));
    const int64_t sigAt = L::kDataStart + int64_t(offset);
    if (sigAt + L::kSignatureLen > L::kRadioLast)
        return PackResult::MemoryFull;
    std::memcpy(w + sigAt, L::kSignature, L::kSignatureLen);
    const uint32_t end = uint32_t(sigAt + L::kSignatureLen);
    L::Put32(w, L::kEndAt32, end);
    std::memset(w + L::kSec2At16, 0, 6);
    std::memset(w + L::kDir16At, 0, 10);
    return PackResult::Ok;
}

bool indWorkImage::FitsInMemory(int listKind, int n, int group) const {
    if (!Usable())
        return false;
    const uint8_t* w = m_work.Data();
    int64_t s2, e;
    if (L::Get32(w, L::kEndAt32) != 0) {
        s2 = L::Get32(w, L::kSec2At32);
        e = L::Get32(w, L::kEndAt32);
    } else {
        s2 = L::Get16(w, L::kSec2At16);
        e = L::Get16(w, L::kEndAt16);
    }
    const int64_t limit = L::kRadioLast;
    int64_t t = 0, m = 0;
    bool channels = false;
    switch (listKind) {
    case 2:
    case 4:
        channels = true;
        if (group == 7) {
            t = 73 * int64_t(n);
        } else {
            t = 28 * int64_t(n);
            m = 45 * int64_t(n);
        }
        break;
    case 23:
    case 35:
        m = 12 * int64_t(n);
        break;
    case 24:
    case 28:
    case 34:
    case 36:
        m = 10 * int64_t(n);
        break;
    case 31:
        m = 11 * int64_t(n);
        break;
    case 39:
        m = 14 * int64_t(n);
        break;
    default:
        return true;
    }
    if (channels ? !(t < limit - s2) : !(s2 < limit))
        return false;
    const int64_t room = limit - e - t;
    return room >= m && room >= 0;
}

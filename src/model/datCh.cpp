#include "model/datCh.h"

#include "core/cmcEeprom.h"
#include "model/indLayout.h"
#include "model/indRptList.h"

#include <algorithm>
#include <cstring>

namespace {

using L = indLayout;
using R = indRptList;
namespace T = indTable;

// Where the entries of a list kind live: entry i at at + size i, inside the slot of table (0 for the
// model's own areas). flagKind 1: bit 1 of the byte at flagAt + 2 i; flagKind 2: bit (7 - i mod 8) of
// byte i / 8 of the bitmap at flagAt.
enum class Shape { Raw, Text, IdName32, IdName16, Nac, Alias, Value, BytesValue, Bcd, Bytes, Byte };
struct ListSource {
    int kind;
    int table;
    int32_t at;
    int size;
    int count;
    Shape shape;
    int flagKind;
    int32_t flagAt;
};

// A list whose entries start at the first byte of a table's slot.
constexpr ListSource InTable(int kind, int table, int size, int count, Shape shape, int flagKind = 0,
                             int32_t flagAt = 0) {
    return {kind, table, indMap::Find(table)->offset, size, count, shape, flagKind, flagAt};
}
// A list in an area of the working image that no table owns.
constexpr ListSource InArea(int kind, int32_t at, int size, int count) {
    return {kind, 0, at, size, count, Shape::Raw, 0, 0};
}

constexpr ListSource kSources[] = {
    InTable(datCh::kKindUserCharacters, T::kUserCharacters, 2, 16, Shape::Raw),
    InTable(datCh::kKindUserCharactersAlt, T::kUserCharacters, 2, 16, Shape::Raw),
    InTable(datCh::kKindDtmfDecode, T::kDtmfDecode, 21, 8, Shape::Raw),
    InTable(datCh::kKindScanList, T::kScanLists, 18, 17, Shape::Raw),
    InTable(datCh::kKindCTone, T::kCTones, 4, 40, Shape::Raw),
    InTable(datCh::kKindOfTable19, T::kOfKind8, 28, 11, Shape::Raw),
    InTable(datCh::kKindOfTable17, T::kOfKind9, 4, 32, Shape::Raw),
    InTable(datCh::kKindOfTable11, T::kOfKind10, 2, 64, Shape::Raw),
    InTable(datCh::kKindOfTable19Alt, T::kOfKind8, 28, 11, Shape::Raw),
    InTable(datCh::kKindMskIdGroup, T::kMskIdGroups, 26, 8, Shape::Raw),
    InTable(datCh::kKindMskCall, T::kMskCallList, 4, 32, Shape::Raw),
    InTable(datCh::kKindMskMessage, T::kMskMessages, 8, 8, Shape::Text, 1,
            L::SlotAddress(T::kMskMessageFlags)),
    InTable(datCh::kKindNxdnIndId, T::kNxdnIndIds, 12, 500, Shape::IdName32),
    InTable(datCh::kKindNxdnGroupId, T::kNxdnGroupIds, 10, 500, Shape::IdName16),
    InTable(datCh::kKindNac, T::kNacChannels, 4, 40, Shape::Nac, 2, L::At(T::kGeneral, 0x74)),
    InArea(datCh::kKindWorkArea, indMap::kKind23Area, 38, 10),
    InTable(datCh::kKindMdcAlias, T::kMdcAliases, 11, 500, Shape::Alias),
    InTable(datCh::kKindNxdnKey, T::kNxdnKeys, 2, 63, Shape::Value),
    InTable(datCh::kKindNxdnMessage, T::kNxdnMessages, 8, 10, Shape::Text, 1,
            L::SlotAddress(T::kNxdnMessageFlags)),
    InTable(datCh::kKindTrunkRepeater, T::kTrunkRepeaters, R::kEntrySize, R::kVornCapacity, Shape::Raw),
    InArea(datCh::kKindRepeater, R::kRptEntries, R::kEntrySize, R::kRptCapacity),
    InTable(datCh::kKindTrunkIndId, T::kTrunkIndIds, 12, 500, Shape::IdName32),
    InTable(datCh::kKindTrunkTalkGroup, T::kTrunkTalkGroups, 10, 500, Shape::IdName16),
    InTable(datCh::kKindChannelGroup, T::kChannelGroups, 4, 16, Shape::BytesValue),
    InTable(datCh::kKindDpmrIndId, T::kDpmrIndIds, 14, 500, Shape::Bcd),
    InTable(datCh::kKindDpmrRxTalkGroup, T::kDpmrRxTalkGroups, 4, 8, Shape::BytesValue),
    InTable(datCh::kKindDpmrColourCode, T::kDpmrColourCodes, 2, 40, Shape::Bytes, 2,
            L::At(T::kGeneral, 0xC2)),
    // The rotary status numbers and their bitmap lie inside table 8.
    {datCh::kKindDpmrRotaryStatus, T::kGeneral, L::At(T::kGeneral, 0xD0), 1, 16, Shape::Byte, 2,
     L::At(T::kGeneral, 0xE0)},
    InTable(datCh::kKindDpmrKey, T::kDpmrKeys, 2, 32, Shape::Value),
    InTable(datCh::kKindDpmrMessage, T::kDpmrMessages, 100, 10, Shape::Text, 1,
            L::SlotAddress(T::kDpmrMessageFlags)),
};

const ListSource* SourceOf(int kind) {
    for (const ListSource& s : kSources)
        if (s.kind == kind)
            return &s;
    return nullptr;
}

bool Bit(uint32_t v, int b) {
    return (v >> b) & 1;
}
void SetBit(uint8_t& v, int b, bool on) {
    v = on ? uint8_t(v | (1 << b)) : uint8_t(v & ~(1 << b));
}

int32_t ClampFrequency(uint32_t raw) {
    uint32_t f = raw & 0x7FFFFFFF;
    return int32_t(std::min<uint32_t>(f, datCh::kMaxFrequency));
}
int32_t ClampFrequency(int32_t f) {
    return std::clamp<int32_t>(f, 0, datCh::kMaxFrequency);
}

datCh::Tone DecodeTone(const uint8_t* t) {
    datCh::Tone tone;
    tone.on = !Bit(t[0], 7);
    tone.digital = Bit(t[0], 6);
    if (tone.digital) {
        tone.inverted = Bit(t[0], 5);
        tone.code = (t[0] & 1) * 256 + t[1];
    } else {
        tone.index = t[1];
    }
    return tone;
}

void EncodeTone(const datCh::Tone& tone, uint8_t* t) {
    // Bits the tone does not name keep their values.
    uint8_t keep = tone.digital ? uint8_t(t[0] & 0x1E) : uint8_t(t[0] & 0x3F);
    uint8_t b = keep;
    SetBit(b, 7, !tone.on);
    SetBit(b, 6, tone.digital);
    if (tone.digital) {
        SetBit(b, 5, tone.inverted);
        SetBit(b, 0, (tone.code >> 8) & 1);
        t[1] = uint8_t(tone.code);
    } else {
        t[1] = uint8_t(tone.index);
    }
    t[0] = b;
}

} // namespace

datCh::Tone datCh::ReadTone(const uint8_t* bytes) {
    return DecodeTone(bytes);
}

void datCh::WriteTone(const Tone& tone, uint8_t* bytes) {
    EncodeTone(tone, bytes);
}

namespace {

bool Usable(const cmcEeprom* image) {
    return image && image->Data() && image->GetSize() >= L::kWorkSize;
}

} // namespace

void datCh::Clear() {
    cmcEeprom* keep = m_image;
    *this = datCh(Blank{});
    m_image = keep;
    status = kHasContent;
}

int datCh::Capacity(int kind) {
    if (IsChannelKind(kind))
        return L::kChannels;
    const ListSource* s = SourceOf(kind);
    return s ? s->count : 0;
}

int32_t datCh::EntriesInUse(const uint8_t* work, int32_t kind) {
    const ListSource* s = SourceOf(kind);
    const indSlot* slot = s && s->table ? L::SlotOf(s->table) : nullptr;
    return slot && slot->countAt ? int32_t(L::Get16(work, slot->countAt)) : -1;
}

void datCh::SetEntriesInUse(uint8_t* work, int32_t kind, int32_t entries) {
    const ListSource* s = SourceOf(kind);
    const indSlot* slot = s && s->table ? L::SlotOf(s->table) : nullptr;
    if (slot && slot->countAt)
        L::Put16(work, slot->countAt, uint32_t(entries));
}

bool datCh::EntryBytes(int kind, int index, int32_t& offset, int32_t& size) {
    const ListSource* s = SourceOf(kind);
    if (!s || index < 0 || index >= s->count)
        return false;
    offset = s->at + s->size * index;
    size = s->size;
    return true;
}

void datCh::Decode(int k, int i) {
    Clear();
    kind = k;
    index = i;
    if (!Usable(m_image) || i < 0 || i >= Capacity(k))
        return;
    if (IsChannelKind(k))
        DecodeChannel();
    else
        DecodeList();
}

void datCh::Encode(int k, int i) {
    if (k == 0)
        k = kind;
    index = i;
    if (!Usable(m_image) || i < 0 || i >= Capacity(k))
        return;
    if (IsChannelKind(k))
        EncodeChannel(k);
    else
        EncodeList(k);
}

void datCh::DecodeChannel() {
    uint8_t* w = m_image->Data();
    const int n = index;
    const uint8_t* A = w + L::kChA + L::kChASize * n;
    const uint8_t* B = w + L::kChB + L::kChBSize * n;
    const uint8_t* C = w + L::kChC + 6 * n;
    const uint8_t* D = w + L::kChD + 5 * n;

    rxFrequency = ClampFrequency(L::Get32(A, 0));
    txFrequency = ClampFrequency(L::Get32(A, 4));
    frequencyFlags = uint8_t(Bit(A[0], 7) | Bit(A[4], 7) << 1 | (A[12] & 0x0C));
    tone1 = DecodeTone(A + 8);
    tone2 = DecodeTone(A + 10);
    mode1 = uint8_t((A[12] & 3) | ((B[17] >> 4) & 3) << 2 | Bit(B[17], 7) << 4);
    mode2 = uint8_t(Bit(A[12], 6) | Bit(A[12], 4) << 1 | Bit(B[3], 4) << 2 | Bit(B[3], 0) << 3 |
                    Bit(B[0], 7) << 4 | Bit(B[0], 4) << 5 | Bit(B[0], 0) << 6 | Bit(B[0], 1) << 7);
    mode3 = uint8_t(((B[0] >> 2) & 3) | Bit(B[17], 0) << 2 | ((B[17] >> 1) & 3) << 3);
    uint16_t ow = uint16_t(Bit(B[0], 5) | Bit(B[2], 1) << 1);
    if (kind == kChannel2)
        ow |= uint16_t(Bit(B[2], 0) << 2);
    ow |= uint16_t(((B[1] >> 4) & 15) << 3 | Bit(B[0], 6) << 7 | Bit(B[1], 3) << 8 | ((B[2] >> 4) & 3) << 9 |
                   ((B[2] >> 6) & 3) << 11 | Bit(B[2], 3) << 13 | Bit(B[2], 2) << 14 | Bit(B[1], 0) << 15);
    optionWord = ow;
    optionByte = uint8_t(Bit(B[3], 5) | Bit(B[3], 6) << 1 | ((B[18] >> 6) & 3) << 2);
    std::memcpy(name, A + 14, 8);
    a13 = A[13];
    a22 = L::Get16(A, 22);
    a24 = L::Get16(A, 24);
    a26 = A[26];
    a27 = A[27];
    b5 = B[5];
    b1_1 = Bit(B[1], 1);
    b1_2 = Bit(B[1], 2);
    b12 = L::Get16(B, 12);
    b14 = L::Get16(B, 14);
    b22 = L::Get16(B, 22);
    b19 = B[19];
    std::memcpy(b24, B + 24, 4);
    b17_6 = Bit(B[17], 6);
    b28 = L::Get16(B, 28);
    b30 = L::Get16(B, 30);
    b32 = B[32];
    b4 = B[4];
    b3Bits = uint8_t(Bit(B[3], 3) | Bit(B[3], 1) << 1 | Bit(B[3], 2) << 2 | Bit(B[17], 3) << 3);
    b16Bits = uint8_t(Bit(B[16], 2) | Bit(B[16], 1) << 1 | Bit(B[16], 4) << 2 | Bit(B[16], 3) << 3 |
                      Bit(B[16], 0) << 4);
    if (kind == kChannel2) {
        b6Nibble = B[6] & 15;
        b6Top = B[6] >> 6;
        b7 = B[7] & 0x7F;
        b7Flag = Bit(B[7], 7);
        b8 = B[8] & 0x7F;
        b8Flag = Bit(B[8], 7);
        b9 = B[9] & 0x7F;
        b9Flag = Bit(B[9], 7);
        b10 = B[10];
        b11 = B[11];
    } else {
        b8 = 1;
        b8Flag = true;
        twoTone = B[8] & 0x7F;
        b11 = uint16_t(L::Get16(B, 10) >> 6);
        b20 = B[20];
        b18_5 = Bit(B[18], 5);
    }
    c0 = C[0];
    c1 = C[1];
    c2 = C[2];
    c3Bits = C[3] >> 5;
    c4 = C[4];
    c5 = C[5];
    d0 = L::Get16(D, 0);
    d2 = L::Get16(D, 2);
    d4Flag = Bit(D[4], 7);
    lists = 0;
    for (int k = 0; k < 17; ++k)
        if (w[L::kChLists + 16 * k + n / 8] & (0x80 >> (n % 8)))
            lists |= 1u << (16 - k);

    const int g = L::GroupOf(w, n);
    uint8_t m = 0;
    if (L::Get16(w, L::kMark0At) == n)
        m |= 0x01;
    if (L::Get16(w, L::kMark1At) == n)
        m |= 0x02;
    if (!(w[L::kMark3Byte] & 0x20))
        m |= 0x08;
    if (w[L::kMark2At] == n && (m & 0x08))
        m |= 0x04;
    if (L::BankFlag(w, L::kBankF0, g))
        m |= 0x10;
    if (L::BankFlag(w, L::kBankF1, g))
        m |= 0x20;
    marks = m;

    uint8_t s = 0;
    if (rxFrequency != 0 || c0 != 0 || d2 != 0)
        s |= kHasContent;
    bool inUse;
    if (m & 0x20)
        inUse = c0 != 0;
    else if (L::BankFlag(w, L::kBankF3, g))
        inUse = d2 != 0;
    else
        inUse = rxFrequency != 0;
    if (inUse)
        s |= kInUse;
    status = s;
}

void datCh::EncodeChannel(int k) {
    uint8_t* w = m_image->Data();
    const int n = index;
    uint8_t* A = w + L::kChA + L::kChASize * n;
    uint8_t* B = w + L::kChB + L::kChBSize * n;
    uint8_t* C = w + L::kChC + 6 * n;
    uint8_t* D = w + L::kChD + 5 * n;

    L::Put32(A, 0, uint32_t(ClampFrequency(rxFrequency)) | (frequencyFlags & 1 ? 0x80000000u : 0));
    L::Put32(A, 4, uint32_t(ClampFrequency(txFrequency)) | (frequencyFlags & 2 ? 0x80000000u : 0));
    EncodeTone(tone1, A + 8);
    EncodeTone(tone2, A + 10);
    uint8_t a12 = uint8_t(A[12] & 0xA0);
    a12 |= uint8_t((mode1 & 3) | (frequencyFlags & 0x0C) | Bit(mode2, 1) << 4 | Bit(mode2, 0) << 6);
    A[12] = a12;
    A[13] = a13;
    std::memcpy(A + 14, name, 8);
    L::Put16(A, 22, a22);
    L::Put16(A, 24, a24);
    A[26] = a26;
    A[27] = a27;

    B[0] = uint8_t(Bit(mode2, 6) | Bit(mode2, 7) << 1 | (mode3 & 3) << 2 | Bit(mode2, 5) << 4 |
                   Bit(optionWord, 0) << 5 | Bit(optionWord, 7) << 6 | Bit(mode2, 4) << 7);
    B[1] = uint8_t(Bit(optionWord, 15) | b1_1 << 1 | b1_2 << 2 | Bit(optionWord, 8) << 3 |
                   ((optionWord >> 3) & 15) << 4);
    uint8_t b2 = k == kChannel2 ? 0 : uint8_t(B[2] & 1);
    b2 |= uint8_t(Bit(optionWord, 1) << 1 | Bit(optionWord, 14) << 2 | Bit(optionWord, 13) << 3 |
                  ((optionWord >> 9) & 3) << 4 | ((optionWord >> 11) & 3) << 6);
    if (k == kChannel2)
        b2 |= uint8_t(Bit(optionWord, 2));
    B[2] = b2;
    B[3] =
        uint8_t((B[3] & 0x80) | Bit(mode2, 3) | Bit(b3Bits, 1) << 1 | Bit(b3Bits, 2) << 2 |
                Bit(b3Bits, 0) << 3 | Bit(mode2, 2) << 4 | Bit(optionByte, 0) << 5 | Bit(optionByte, 1) << 6);
    B[4] = b4;
    B[5] = b5;
    L::Put16(B, 12, b12);
    L::Put16(B, 14, b14);
    B[16] = uint8_t((B[16] & 0xE0) | Bit(b16Bits, 4) | Bit(b16Bits, 1) << 1 | Bit(b16Bits, 0) << 2 |
                    Bit(b16Bits, 3) << 3 | Bit(b16Bits, 2) << 4);
    B[17] = uint8_t(Bit(mode3, 2) | ((mode3 >> 3) & 3) << 1 | Bit(b3Bits, 3) << 3 | ((mode1 >> 2) & 3) << 4 |
                    b17_6 << 6 | Bit(mode1, 4) << 7);
    uint8_t b18 = uint8_t((B[18] & 0x3F) | ((optionByte >> 2) & 3) << 6);
    if (k == kChannel1)
        SetBit(b18, 5, b18_5);
    B[18] = b18;
    B[19] = b19;
    L::Put16(B, 22, b22);
    std::memcpy(B + 24, b24, 4);
    L::Put16(B, 28, b28);
    L::Put16(B, 30, b30);
    B[32] = b32;
    if (k == kChannel2) {
        B[6] = uint8_t((B[6] & 0x30) | (b6Nibble & 15) | (b6Top & 3) << 6);
        B[7] = uint8_t((b7 & 0x7F) | b7Flag << 7);
        B[8] = uint8_t((b8 & 0x7F) | b8Flag << 7);
        B[9] = uint8_t((b9 & 0x7F) | b9Flag << 7);
        B[10] = b10;
        B[11] = uint8_t(b11);
    } else {
        B[8] = uint8_t((B[8] & 0x80) | (twoTone & 0x7F));
        L::Put16(B, 10, uint16_t((b11 & 0x3FF) << 6 | (L::Get16(B, 10) & 0x3F)));
        B[20] = b20;
    }

    C[0] = c0;
    C[1] = c1;
    C[2] = c2;
    C[3] = uint8_t((C[3] & 0x1F) | (c3Bits & 7) << 5);
    C[4] = c4;
    C[5] = c5;
    L::Put16(D, 0, d0);
    L::Put16(D, 2, d2);
    D[4] = uint8_t((D[4] & 0x7F) | d4Flag << 7);
    for (int l = 0; l < 17; ++l) {
        uint8_t& byte = w[L::kChLists + 16 * l + n / 8];
        SetBit(byte, 7 - n % 8, (lists >> (16 - l)) & 1);
    }

    if (marks & 0x01)
        L::Put16(w, L::kMark0At, uint32_t(n));
    if (marks & 0x02)
        L::Put16(w, L::kMark1At, uint32_t(n));
    if (marks & 0x04)
        w[L::kMark2At] = uint8_t(n);
    SetBit(w[L::kMark3Byte], 5, !(marks & 0x08));
    const int g = L::GroupOf(w, n);
    if (g < L::kGroups) {
        SetBit(w[L::kBankF0], 7 - g, marks & 0x10);
        SetBit(w[L::kBankF1], 7 - g, marks & 0x20);
    }
}

void datCh::DecodeList() {
    const ListSource& s = *SourceOf(kind);
    uint8_t* w = m_image->Data();
    const uint8_t* e = w + s.at + s.size * index;
    switch (s.shape) {
    case Shape::Raw:
        std::memcpy(raw, e, size_t(s.size));
        break;
    case Shape::Text:
        std::memcpy(text, e, size_t(s.size));
        break;
    case Shape::IdName32:
        id = L::Get32(e, 0);
        std::memcpy(name, e + 4, 8);
        break;
    case Shape::IdName16:
        id = L::Get16(e, 0);
        std::memcpy(name, e + 2, 8);
        break;
    case Shape::Nac:
        value = L::Get16(e, 0);
        value2 = L::Get16(e, 2);
        break;
    case Shape::Alias:
        std::memcpy(text, e, 8);
        byte0 = e[8];
        value = L::Get16(e, 9);
        break;
    case Shape::Value:
        value = L::Get16(e, 0);
        break;
    case Shape::BytesValue:
        byte0 = e[0];
        byte1 = e[1];
        value = L::Get16(e, 2);
        break;
    case Shape::Bcd:
        id = L::Get32(e, 0);
        std::memcpy(name, e + 4, 8);
        byte0 = e[12];
        byte1 = e[13];
        break;
    case Shape::Bytes:
        byte0 = e[0];
        byte1 = e[1];
        break;
    case Shape::Byte:
        byte0 = e[0];
        break;
    }
    if (s.flagKind == 1)
        flag = Bit(w[s.flagAt + 2 * index], 1);
    else if (s.flagKind == 2)
        flag = w[s.flagAt + index / 8] & (0x80 >> (index % 8));
}

void datCh::EncodeList(int k) {
    const ListSource* src = SourceOf(k);
    if (!src)
        return;
    const ListSource& s = *src;
    uint8_t* w = m_image->Data();
    uint8_t* e = w + s.at + s.size * index;
    switch (s.shape) {
    case Shape::Raw:
        std::memcpy(e, raw, size_t(s.size));
        break;
    case Shape::Text:
        std::memcpy(e, text, size_t(s.size));
        break;
    case Shape::IdName32:
        L::Put32(e, 0, id);
        std::memcpy(e + 4, name, 8);
        break;
    case Shape::IdName16:
        L::Put16(e, 0, id);
        std::memcpy(e + 2, name, 8);
        break;
    case Shape::Nac:
        L::Put16(e, 0, value);
        L::Put16(e, 2, value2);
        break;
    case Shape::Alias:
        std::memcpy(e, text, 8);
        e[8] = byte0;
        L::Put16(e, 9, value);
        break;
    case Shape::Value:
        L::Put16(e, 0, value);
        break;
    case Shape::BytesValue:
        e[0] = byte0;
        e[1] = byte1;
        L::Put16(e, 2, value);
        break;
    case Shape::Bcd:
        L::Put32(e, 0, id);
        std::memcpy(e + 4, name, 8);
        e[12] = byte0;
        e[13] = byte1;
        break;
    case Shape::Bytes:
        e[0] = byte0;
        e[1] = byte1;
        break;
    case Shape::Byte:
        e[0] = byte0;
        break;
    }
    if (s.flagKind == 1)
        SetBit(w[s.flagAt + 2 * index], 1, flag);
    else if (s.flagKind == 2)
        SetBit(w[s.flagAt + index / 8], 7 - index % 8, flag);
}

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
    // Text shapes whose entry goes on in an area of the model (fields the radio's table has no room
    // for): entry i continues at moreAt + moreSize i, its bytes following the table's in the text.
    int32_t moreAt = 0;
    int moreSize = 0;
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

// A list whose text goes on in the model's area.
constexpr ListSource Continued(ListSource s, int32_t moreAt, int moreSize) {
    s.moreAt = moreAt;
    s.moreSize = moreSize;
    return s;
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
    // MSK short messages: message 1 in the table, messages 2 and 3 in the model's area.
    Continued(InTable(datCh::kKindMskMessage, T::kMskMessages, 8, 8, Shape::Text, 1,
                      L::SlotAddress(T::kMskMessageFlags)),
              indDigitalExtras::kMskMessages23, indDigitalExtras::kMskMessages23Size),
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

// Every text, with its continuation, fits the record's text field.
constexpr bool TextsFit() {
    for (const ListSource& s : kSources)
        if (s.shape == Shape::Text && s.size + s.moreSize > int(sizeof(datCh{}.text)))
            return false;
    return true;
}
static_assert(TextsFit());

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

namespace {

// The channel's storage: slots A and B of tables 2/3 and 4/5, C of table 44, D of table 90.
enum class Slot : uint8_t { A, B, C, D };

// Record kinds a part is decoded and encoded in (bit kind - 1).
constexpr uint8_t kKind1 = 1, kKind2 = 2, kBothKinds = 3;

// Bits of one slot: width bits from the lowest bit of byte on. A part of more than one byte reads
// the bytes from byte on as one big-endian number (as every multi-byte value of the channel), and
// bit counts from that number's lowest bit.
struct Part {
    Slot slot = Slot::A;
    uint8_t byte = 0;
    uint8_t bit = 0;
    uint8_t width = 0; // 0: no part
    uint8_t kinds = kBothKinds;
};

// A field: its parts from the lowest value bits up, and the record member that holds it.
struct FieldLayout {
    datCh::Field field;
    uint16_t datCh::*member;
    Part parts[3];
};

constexpr Part A(int byte, int bit, int width = 1, uint8_t kinds = kBothKinds) {
    return {Slot::A, uint8_t(byte), uint8_t(bit), uint8_t(width), kinds};
}
constexpr Part B(int byte, int bit, int width = 1, uint8_t kinds = kBothKinds) {
    return {Slot::B, uint8_t(byte), uint8_t(bit), uint8_t(width), kinds};
}
constexpr Part C(int byte, int bit, int width = 1) {
    return {Slot::C, uint8_t(byte), uint8_t(bit), uint8_t(width), kBothKinds};
}
constexpr Part D(int byte, int bit, int width = 1) {
    return {Slot::D, uint8_t(byte), uint8_t(bit), uint8_t(width), kBothKinds};
}

using F = datCh::Field;
using Ch = datCh;

// Every bit field of a channel, in Field order.
constexpr FieldLayout kChannelFields[] = {
    {F::Inhibit, &Ch::inhibit, {A(0, 7)}},
    {F::TxInhibit, &Ch::txInhibit, {A(4, 7)}},
    {F::ChannelType, &Ch::channelType, {A(12, 0, 2)}},
    {F::ClockShift, &Ch::clockShift, {A(12, 2, 2)}},
    {F::Narrow, &Ch::narrow, {A(12, 6), A(12, 4)}},
    {F::ScanList, &Ch::scanList, {A(13, 0, 8)}},
    {F::NxdnRxNac, &Ch::nxdnRxNac, {A(22, 0, 16)}},
    {F::NxdnTxNac, &Ch::nxdnTxNac, {A(24, 0, 16)}},
    {F::RxColourCode, &Ch::rxColourCode, {A(26, 0, 8)}},
    {F::TxColourCode, &Ch::txColourCode, {A(27, 0, 8)}},
    {F::RfPower, &Ch::rfPower, {B(0, 0), B(0, 1)}},
    {F::Lockout, &Ch::lockout, {B(0, 2, 2), B(17, 0), B(17, 1, 2)}},
    {F::TimeOut, &Ch::timeOut, {B(0, 4)}},
    {F::ScanListSelect, &Ch::scanListSelect, {B(0, 5)}},
    {F::Monitor, &Ch::monitor, {B(0, 6), B(1, 3), B(2, 4, 2)}},
    {F::PowerSave, &Ch::powerSave, {B(0, 7)}},
    {F::ChannelMute, &Ch::channelMute, {B(1, 0)}},
    {F::ScanInclude, &Ch::scanInclude, {B(1, 1)}},
    {F::SquelchTight, &Ch::squelchTight, {B(1, 2)}},
    {F::Log, &Ch::log, {B(1, 4, 4)}},
    {F::AutoReset, &Ch::autoReset, {B(2, 1), B(2, 0, 1, kKind2)}},
    {F::Ptt, &Ch::ptt, {B(2, 2)}},
    {F::Call, &Ch::call, {B(2, 3)}},
    {F::Selective, &Ch::selective, {B(2, 6, 2)}},
    {F::AutoChannelScan, &Ch::autoChannelScan, {B(3, 0)}},
    {F::MskSendStatus, &Ch::mskSendStatus, {B(3, 1)}},
    {F::MskRepeaterFirst, &Ch::mskRepeaterFirst, {B(3, 2)}},
    {F::MskSignalling, &Ch::mskSignalling, {B(3, 3)}},
    {F::Compander, &Ch::compander, {B(3, 4)}},
    {F::Scrambler, &Ch::scrambler, {B(3, 5, 2)}},
    {F::SpareByte1, &Ch::spareByte1, {B(4, 0, 8)}},
    {F::SpareByte2, &Ch::spareByte2, {B(5, 0, 8)}},
    {F::Form, &Ch::form, {B(6, 0, 4, kKind2)}},
    {F::Position, &Ch::position, {B(6, 6, 2, kKind2)}},
    {F::RepeaterCode, &Ch::repeaterCode, {B(7, 0, 7, kKind2)}},
    {F::RepeaterLong, &Ch::repeaterLong, {B(7, 7, 1, kKind2)}},
    {F::StationCode, &Ch::stationCode, {B(8, 0, 7, kKind2)}},
    {F::StationLong, &Ch::stationLong, {B(8, 7, 1, kKind2)}},
    {F::TwoTone, &Ch::twoTone, {B(8, 0, 7, kKind1)}},
    {F::IdCode, &Ch::idCode, {B(9, 0, 7, kKind2)}},
    {F::IdLong, &Ch::idLong, {B(9, 7, 1, kKind2)}},
    {F::MskReceiveCodes, &Ch::mskReceiveCodes, {B(10, 0, 7, kKind2)}},
    {F::SpareFlag1, &Ch::spareFlag1, {B(10, 7, 1, kKind2)}},
    {F::ReceiveCodes, &Ch::receiveCodes, {B(11, 0, 8, kKind2)}},
    {F::ReceiveCodes10, &Ch::receiveCodes10, {B(10, 6, 10, kKind1)}},
    {F::IndividualList, &Ch::individualList, {B(12, 0, 16)}},
    {F::NxdnUnitId, &Ch::nxdnUnitId, {B(14, 0, 16)}},
    {F::SignallingDecode, &Ch::signallingDecode, {B(16, 0)}},
    {F::SignallingLog, &Ch::signallingLog, {B(16, 1, 2)}},
    {F::SignallingEmergency, &Ch::signallingEmergency, {B(16, 3, 2)}},
    {F::SpareFlag2, &Ch::spareFlag2, {B(17, 3)}},
    {F::SquelchType, &Ch::squelchType, {B(17, 4, 2)}},
    {F::DpmrSendStatus, &Ch::dpmrSendStatus, {B(17, 6)}},
    {F::FastMute, &Ch::fastMute, {B(17, 7)}},
    {F::DtmfDecode, &Ch::dtmfDecode, {B(18, 5, 1, kKind1)}},
    {F::SpareBits, &Ch::spareBits, {B(18, 6, 2)}},
    {F::NxdnEncryption, &Ch::nxdnEncryption, {B(19, 0, 8)}},
    {F::DtmfDecodeCode, &Ch::dtmfDecodeCode, {B(20, 0, 8, kKind1)}},
    {F::NxdnTalkGroupList, &Ch::nxdnTalkGroupList, {B(22, 0, 16)}},
    {F::DpmrCallList, &Ch::dpmrCallList, {B(28, 0, 16)}},
    {F::DpmrTalkGroupList, &Ch::dpmrTalkGroupList, {B(30, 0, 16)}},
    {F::DpmrEncryption, &Ch::dpmrEncryption, {B(32, 0, 8)}},
    {F::GroupRxId, &Ch::groupRxId, {C(0, 0, 8)}},
    {F::GroupTxId, &Ch::groupTxId, {C(1, 0, 8)}},
    {F::GroupHomeRepeater, &Ch::groupHomeRepeater, {C(2, 0, 8)}},
    {F::GroupBlockIdEnable, &Ch::groupBlockIdEnable, {C(3, 5)}},
    {F::GroupPhonePrivacy, &Ch::groupPhonePrivacy, {C(3, 6)}},
    {F::GroupTxInhibit, &Ch::groupTxInhibit, {C(3, 7)}},
    {F::GroupBlockIdStart, &Ch::groupBlockIdStart, {C(4, 0, 8)}},
    {F::GroupBlockIdEnd, &Ch::groupBlockIdEnd, {C(5, 0, 8)}},
    {F::VornTalkGroupList, &Ch::vornTalkGroupList, {D(0, 0, 16)}},
    {F::VornUnitId, &Ch::vornUnitId, {D(2, 0, 16)}},
    {F::VornTxInhibit, &Ch::vornTxInhibit, {D(4, 7)}},
};

constexpr bool InFieldOrder() {
    int i = 0;
    for (const FieldLayout& f : kChannelFields)
        if (int(f.field) != i++)
            return false;
    return i == int(F::Count);
}
static_assert(InFieldOrder(), "kChannelFields lists every field once, in Field order");

// Byte offsets of a name and the dPMR unit ID in slots A and B.
constexpr int kNameAt = 14, kDpmrUnitIdAt = 24;

// The storage of channel n.
struct Slots {
    uint8_t* s[4];
    uint8_t* Of(Slot slot) const { return s[int(slot)]; }
};

Slots SlotsOf(uint8_t* w, int n) {
    return {{w + L::kChA + L::kChASize * n, w + L::kChB + L::kChBSize * n, w + L::kChC + L::kChCSize * n,
             w + L::kChD + L::kChDSize * n}};
}

int BytesOf(const Part& p) {
    return (p.bit + p.width + 7) / 8;
}

uint32_t ReadPart(const Slots& s, const Part& p) {
    const uint8_t* at = s.Of(p.slot) + p.byte;
    uint32_t word = 0;
    for (int i = 0; i < BytesOf(p); ++i)
        word = word << 8 | at[i];
    return (word >> p.bit) & ((1u << p.width) - 1);
}

void WritePart(const Slots& s, const Part& p, uint32_t value) {
    uint8_t* at = s.Of(p.slot) + p.byte;
    const int bytes = BytesOf(p);
    uint32_t word = 0;
    for (int i = 0; i < bytes; ++i)
        word = word << 8 | at[i];
    const uint32_t mask = ((1u << p.width) - 1) << p.bit;
    word = (word & ~mask) | ((value << p.bit) & mask);
    for (int i = bytes - 1; i >= 0; --i, word >>= 8)
        at[i] = uint8_t(word);
}

// kindMask 0 takes every part; else only the parts of those kinds (the value keeps its bit places).
uint32_t ReadField(const Slots& s, const FieldLayout& f, uint8_t kindMask) {
    uint32_t value = 0;
    int shift = 0;
    for (const Part& p : f.parts) {
        if (!p.width)
            break;
        if (!kindMask || (p.kinds & kindMask))
            value |= ReadPart(s, p) << shift;
        shift += p.width;
    }
    return value;
}

void WriteField(const Slots& s, const FieldLayout& f, uint32_t value, uint8_t kindMask) {
    int shift = 0;
    for (const Part& p : f.parts) {
        if (!p.width)
            break;
        if (!kindMask || (p.kinds & kindMask))
            WritePart(s, p, value >> shift);
        shift += p.width;
    }
}

uint8_t KindMask(int kind) {
    return kind == datCh::kChannel2 ? kKind2 : kKind1;
}

} // namespace

bool datCh::IsStoredChannel() const {
    return Usable(m_image) && IsChannelKind(kind) && index >= 0 && index < L::kChannels;
}

int32_t datCh::Get(Field field) const {
    if (!IsStoredChannel())
        return 0;
    return int32_t(ReadField(SlotsOf(m_image->Data(), index), kChannelFields[int(field)], 0));
}

void datCh::Set(Field field, int32_t value) {
    if (!IsStoredChannel())
        return;
    WriteField(SlotsOf(m_image->Data(), index), kChannelFields[int(field)], uint32_t(value), 0);
    Reload();
}

void datCh::SetName(const uint8_t (&text)[8]) {
    if (!IsStoredChannel())
        return;
    std::memcpy(SlotsOf(m_image->Data(), index).Of(Slot::A) + kNameAt, text, 8);
    Reload();
}

void datCh::SetDpmrUnitId(const uint8_t (&bcd)[4]) {
    if (!IsStoredChannel())
        return;
    std::memcpy(SlotsOf(m_image->Data(), index).Of(Slot::B) + kDpmrUnitIdAt, bcd, 4);
    Reload();
}

void datCh::DecodeChannel() {
    uint8_t* w = m_image->Data();
    const int n = index;
    const Slots s = SlotsOf(w, n);
    const uint8_t* A = s.Of(Slot::A);

    rxFrequency = ClampFrequency(L::Get32(A, 0));
    txFrequency = ClampFrequency(L::Get32(A, 4));
    rxTone = DecodeTone(A + 8);
    txTone = DecodeTone(A + 10);
    std::memcpy(name, A + kNameAt, 8);
    std::memcpy(dpmrUnitId, s.Of(Slot::B) + kDpmrUnitIdAt, 4);
    const uint8_t kinds = KindMask(kind);
    for (const FieldLayout& f : kChannelFields)
        this->*f.member = uint16_t(ReadField(s, f, kinds));
    if (kind == kChannel1) {
        stationCode = 1;
        stationLong = 1;
    }
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

    uint8_t st = 0;
    if (rxFrequency != 0 || groupRxId != 0 || vornUnitId != 0)
        st |= kHasContent;
    bool inUse;
    if (m & 0x20)
        inUse = groupRxId != 0;
    else if (L::BankFlag(w, L::kBankF3, g))
        inUse = vornUnitId != 0;
    else
        inUse = rxFrequency != 0;
    if (inUse)
        st |= kInUse;
    status = st;
}

void datCh::EncodeChannel(int k) {
    uint8_t* w = m_image->Data();
    const int n = index;
    const Slots s = SlotsOf(w, n);
    uint8_t* A = s.Of(Slot::A);

    // The frequencies leave bit 7 of their first byte to the inhibit flags of the field table.
    L::Put32(A, 0, uint32_t(ClampFrequency(rxFrequency)));
    L::Put32(A, 4, uint32_t(ClampFrequency(txFrequency)));
    EncodeTone(rxTone, A + 8);
    EncodeTone(txTone, A + 10);
    std::memcpy(A + kNameAt, name, 8);
    std::memcpy(s.Of(Slot::B) + kDpmrUnitIdAt, dpmrUnitId, 4);
    const uint8_t kinds = KindMask(k);
    for (const FieldLayout& f : kChannelFields)
        WriteField(s, f, this->*f.member, kinds);
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
        if (s.moreSize)
            std::memcpy(text + s.size, w + s.moreAt + s.moreSize * index, size_t(s.moreSize));
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
        if (s.moreSize)
            std::memcpy(w + s.moreAt + s.moreSize * index, text + s.size, size_t(s.moreSize));
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

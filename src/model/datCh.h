#pragma once
// The decoded form of one entry of the working image: a memory channel or an entry of one of the
// model's other lists. Decode fills it from the fixed slots, Encode writes it back exactly.
#include <cstdint>

class cmcEeprom;

class datCh {
public:
    // Tone value: two bytes in the channel slot.
    struct Tone {
        bool on = false;
        bool digital = false;  // digital code squelch instead of a tone
        bool inverted = false; // only with a digital code
        int code = 0;          // 0..511, digital code
        int index = 0;         // tone table index
    };

    // Channel record kinds (the model uses one of them for all channels).
    static constexpr int kChannel1 = 1;
    static constexpr int kChannel2 = 2;
    static constexpr int kNoChannel = 128;
    static constexpr int32_t kMaxFrequency = 799999950;

    // Status bits.
    static constexpr uint8_t kHasContent = 0x01;
    static constexpr uint8_t kInUse = 0x02;

    datCh() { Clear(); }
    explicit datCh(cmcEeprom* image) : m_image(image) { Clear(); }

    void Bind(cmcEeprom* image) { m_image = image; }
    cmcEeprom* Image() const { return m_image; }

    // Zero-fills every field, sets "has content", keeps the image.
    void Clear();
    // Fills the fields of (kind, index) from the working image. An index outside the list, or a kind
    // without a source, leaves the cleared record.
    void Decode(int kind, int index);
    // Writes the fields back; kind 0 means the record's own kind. Stores the index.
    void Encode(int kind, int index);
    void Reload() { Decode(kind, index); }
    void Refresh() {
        Encode(kind, index);
        Decode(kind, index);
    }

    // The number of entries a list kind holds in the working image (0 for kinds without a source).
    static int Capacity(int kind);
    // Where entry index of a list kind starts in the working image and its size in bytes; false for
    // channel kinds, kinds without a source and indexes outside the list.
    static bool EntryBytes(int kind, int index, int32_t& offset, int32_t& size);
    // Entries in use of a list kind whose table keeps a count (18, 19, 24, 28, 29, 31), read from the
    // count the map names for that table; -1 for kinds without a count.
    static int32_t EntriesInUse(const uint8_t* work, int32_t kind);
    // Stores the entries in use of such a kind (nothing for kinds without a count).
    static void SetEntriesInUse(uint8_t* work, int32_t kind, int32_t entries);
    static bool IsChannelKind(int kind) { return kind == kChannel1 || kind == kChannel2; }
    // A tone setting in its two stored bytes (channels and the continuous tone records share the
    // form); encoding keeps the bits the tone does not name.
    static Tone ReadTone(const uint8_t* bytes);
    static void WriteTone(const Tone& tone, uint8_t* bytes);

    // Context.
    int kind = 0;
    int index = 0;

    // Channel fields (kinds 1 and 2).
    int32_t rxFrequency = 0; // hertz
    int32_t txFrequency = 0;
    uint8_t frequencyFlags = 0; // bit 0 A0.7, bit 1 A4.7 (transmit off), bits 2-3 A12.2-3
    Tone tone1, tone2;
    uint8_t mode1 = 0, mode2 = 0, mode3 = 0;
    uint16_t optionWord = 0;
    uint8_t optionByte = 0;
    uint8_t name[8] = {};
    uint8_t a13 = 0;
    uint16_t a22 = 0, a24 = 0;
    uint8_t a26 = 0, a27 = 0;
    uint8_t b5 = 0;
    bool b1_1 = false, b1_2 = false;
    uint16_t b12 = 0, b14 = 0, b22 = 0;
    uint8_t b19 = 0;
    uint8_t b24[4] = {};
    bool b17_6 = false;
    uint16_t b28 = 0, b30 = 0;
    uint8_t b32 = 0, b4 = 0;
    uint8_t b3Bits = 0, b16Bits = 0;
    // Kind 2: B6 nibble and top bits, B7-B9 7-bit values with flags, B10 and B11 bytes.
    // Kind 1: nibble 0, B8 field reads 1 with flag 1, b11 holds the 10-bit value of B10-B11.
    uint8_t b6Nibble = 0, b6Top = 0;
    uint8_t b7 = 0, b8 = 0, b9 = 0;
    bool b7Flag = false, b8Flag = false, b9Flag = false;
    uint8_t b10 = 0;
    uint16_t b11 = 0;
    uint8_t twoTone = 0; // kind 1: B8 bits 0-6
    uint8_t b20 = 0;     // kind 1
    bool b18_5 = false;  // kind 1
    uint8_t c0 = 0, c1 = 0, c2 = 0, c4 = 0, c5 = 0, c3Bits = 0;
    uint16_t d0 = 0, d2 = 0;
    bool d4Flag = false;
    uint32_t lists = 0; // bit 16 - k: member of scan list k
    // The marks byte and the status byte after it travel together (clipboard, mark cell).
    uint8_t marks = 0;
    uint8_t status = 0;

    // List record kinds: the entries of the model's other lists.
    static constexpr int kKindUserCharacters = 3, kKindUserCharactersAlt = 4; // user display characters
    static constexpr int kKindDtmfDecode = 5;
    static constexpr int kKindScanList = 6;
    static constexpr int kKindCTone = 7;
    static constexpr int kKindOfTable19 = 8, kKindOfTable19Alt = 11; // one of them, by model variant
    static constexpr int kKindOfTable17 = 9;
    static constexpr int kKindOfTable11 = 10;
    static constexpr int kKindMskIdGroup = 14;
    static constexpr int kKindMskCall = 15;
    static constexpr int kKindMskMessage = 17;
    static constexpr int kKindNxdnIndId = 18;
    static constexpr int kKindNxdnGroupId = 19;
    static constexpr int kKindNac = 20;
    static constexpr int kKindRepeater = 22;
    static constexpr int kKindWorkArea = 23; // the model's own area of ten 38-byte records
    static constexpr int kKindMdcAlias = 24;
    static constexpr int kKindNxdnKey = 25;
    static constexpr int kKindNxdnMessage = 26;
    static constexpr int kKindTrunkRepeater = 27;
    static constexpr int kKindTrunkIndId = 28;
    static constexpr int kKindTrunkTalkGroup = 29;
    static constexpr int kKindChannelGroup = 30;
    static constexpr int kKindDpmrIndId = 31;
    static constexpr int kKindDpmrRxTalkGroup = 32;
    static constexpr int kKindDpmrColourCode = 33;
    static constexpr int kKindDpmrRotaryStatus = 35;
    static constexpr int kKindDpmrKey = 36;
    static constexpr int kKindDpmrMessage = 37;

    // Fields of the other lists; one field serves several kinds, each with its own meaning:
    //   value:  NAC channels (20) receive NAC; MDC aliases (24) the alias ID; keys (25, 36) the key;
    //           channel groups (30) the channel or bank referred to; dPMR talk groups (32) the group.
    //   value2: NAC channels (20) transmit NAC.
    //   byte0:  MDC aliases (24) strip bit 7, beep type bits 0-3; channel groups (30) the entry type
    //           (1 a channel, 3 a bank); dPMR IDs (31) the input digits in bits 1-7; dPMR talk groups
    //           (32) a flag in bit 7; colour codes (33) the receive code; rotary status (35) the
    //           status number.
    //   byte1:  dPMR IDs (31) the selection in bit 7; colour codes (33) the transmit code; channel
    //           groups (30) and dPMR talk groups (32) carry it unread.
    uint32_t id = 0;        // 32-bit or 16-bit ID; packed BCD digits for kind 31
    uint8_t text[100] = {}; // message or alias text
    uint16_t value = 0, value2 = 0;
    uint8_t byte0 = 0, byte1 = 0;
    bool flag = false;    // selection bit kept beside the entry
    uint8_t raw[38] = {}; // kinds without a field layout: the entry's bytes one to one

private:
    struct Blank {};
    explicit datCh(Blank) {}
    void DecodeChannel();
    void EncodeChannel(int kind);
    void DecodeList();
    void EncodeList(int kind);

    cmcEeprom* m_image = nullptr;
};

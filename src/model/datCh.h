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

    // The channel's bit fields by name, for the cells.
    enum class Field : uint8_t {
        Inhibit,
        TxInhibit,
        ChannelType,
        ClockShift,
        Narrow,
        ScanList,
        NxdnRxNac,
        NxdnTxNac,
        RxColourCode,
        TxColourCode,
        RfPower,
        Lockout,
        TimeOut,
        ScanListSelect,
        Monitor,
        PowerSave,
        ChannelMute,
        ScanInclude,
        SquelchTight,
        Log,
        AutoReset,
        Ptt,
        Call,
        Selective,
        AutoChannelScan,
        MskSendStatus,
        MskRepeaterFirst,
        MskSignalling,
        Compander,
        Scrambler,
        SpareByte1,
        SpareByte2,
        Form,
        Position,
        RepeaterCode,
        RepeaterLong,
        StationCode,
        StationLong,
        TwoTone,
        IdCode,
        IdLong,
        MskReceiveCodes,
        SpareFlag1,
        ReceiveCodes,
        ReceiveCodes10,
        IndividualList,
        NxdnUnitId,
        SignallingDecode,
        SignallingLog,
        SignallingEmergency,
        SpareFlag2,
        SquelchType,
        DpmrSendStatus,
        FastMute,
        DtmfDecode,
        SpareBits,
        NxdnEncryption,
        DtmfDecodeCode,
        NxdnTalkGroupList,
        DpmrCallList,
        DpmrTalkGroupList,
        DpmrEncryption,
        GroupRxId,
        GroupTxId,
        GroupHomeRepeater,
        GroupBlockIdEnable,
        GroupPhonePrivacy,
        GroupTxInhibit,
        GroupBlockIdStart,
        GroupBlockIdEnd,
        VornTalkGroupList,
        VornUnitId,
        VornTxInhibit,
        Count
    };
    // One field of this record's channel as stored now, whichever record kind carries it (the cells
    // of both model variants reach every field); 0 when the record is no channel of the image.
    int32_t Get(Field field) const;
    // Whether the record's kind fixes a field instead of storing it: the first model variant has no
    // station code and decodes it as 1, long, while its stored bits are the two-tone code.
    bool FixedByKind(Field field) const {
        return kind == 1 && (field == Field::StationCode || field == Field::StationLong);
    }
    // Stores one field of this record's channel, leaving every other stored bit as it is, and reloads
    // the record. Does nothing when the record is no channel of the image.
    void Set(Field field, int32_t value);
    // Store the name or the dPMR unit ID alone, as Set does for a field.
    void SetName(const uint8_t (&text)[8]);
    void SetDpmrUnitId(const uint8_t (&bcd)[4]);

    // Context.
    int kind = 0;
    int index = 0;

    // Channel fields (kinds 1 and 2).
    int32_t rxFrequency = 0; // hertz
    int32_t txFrequency = 0;
    Tone rxTone, txTone;
    uint8_t name[8] = {};
    uint8_t dpmrUnitId[4] = {}; // seven packed BCD digits
    // The bit fields of the channel, one per Field (the table in datCh.cpp places them). Fields of
    // one record kind only stay 0 in the other, except the station code and its long flag, which
    // read 1 in kind 1.
    uint16_t inhibit = 0, txInhibit = 0; // txInhibit: transmit off, the transmit frequency shows blank
    uint16_t channelType = 0;            // 0 analogue, 1..3 the digital types
    uint16_t clockShift = 0, narrow = 0, scanList = 0;
    uint16_t nxdnRxNac = 0, nxdnTxNac = 0, rxColourCode = 0, txColourCode = 0;
    uint16_t rfPower = 0, lockout = 0, timeOut = 0, scanListSelect = 0, monitor = 0, powerSave = 0;
    uint16_t channelMute = 0, scanInclude = 0, squelchTight = 0, log = 0;
    uint16_t autoReset = 0, ptt = 0, call = 0, selective = 0;
    uint16_t autoChannelScan = 0, mskSendStatus = 0, mskRepeaterFirst = 0, mskSignalling = 0;
    uint16_t compander = 0, scrambler = 0;
    uint16_t form = 0, position = 0;                        // kind 2
    uint16_t repeaterCode = 0, repeaterLong = 0;            // kind 2
    uint16_t stationCode = 0, stationLong = 0, twoTone = 0; // station: kind 2; two-tone: kind 1
    uint16_t idCode = 0, idLong = 0;                        // kind 2
    uint16_t mskReceiveCodes = 0, receiveCodes = 0;         // kind 2
    uint16_t receiveCodes10 = 0;                            // kind 1: ten receive codes
    uint16_t individualList = 0, nxdnUnitId = 0, nxdnTalkGroupList = 0, nxdnEncryption = 0;
    uint16_t signallingDecode = 0, signallingLog = 0, signallingEmergency = 0;
    uint16_t squelchType = 0, dpmrSendStatus = 0, fastMute = 0;
    uint16_t dtmfDecode = 0, dtmfDecodeCode = 0; // kind 1
    uint16_t dpmrCallList = 0, dpmrTalkGroupList = 0, dpmrEncryption = 0;
    // Group (LTR) bank channels.
    uint16_t groupRxId = 0, groupTxId = 0, groupHomeRepeater = 0, groupBlockIdStart = 0, groupBlockIdEnd = 0;
    uint16_t groupTxInhibit = 0, groupPhonePrivacy = 0, groupBlockIdEnable = 0;
    // Trunking bank channels.
    uint16_t vornTalkGroupList = 0, vornUnitId = 0, vornTxInhibit = 0;
    // Stored values no cell shows: the record carries them so that a copied channel keeps them.
    uint16_t spareByte1 = 0, spareByte2 = 0, spareFlag1 = 0, spareFlag2 = 0, spareBits = 0;
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
    uint8_t text[100] = {}; // message or alias text; MSK messages (17): messages 1, 2, 3 of 8 each
    uint16_t value = 0, value2 = 0;
    uint8_t byte0 = 0, byte1 = 0;
    bool flag = false;    // selection bit kept beside the entry
    uint8_t raw[38] = {}; // kinds without a field layout: the entry's bytes one to one

private:
    struct Blank {};
    explicit datCh(Blank) {}
    void DecodeChannel();
    void EncodeChannel(int kind);
    bool IsStoredChannel() const;
    void DecodeList();
    void EncodeList(int kind);

    cmcEeprom* m_image = nullptr;
};

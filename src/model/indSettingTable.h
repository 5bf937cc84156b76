#pragma once
// The declarative table of the radio-wide setting and timer cells: for each cell its bits in the
// working image, its codec and choice list, when it is shown grey and what a change redraws.
#include <cstdint>
#include <span>

// A test on the working image: (byte & mask) == equals. An offset of kFamily tests the model family
// (0 LMR, 1 PMR) against equals instead; kNone never holds.
struct indSettingTest {
    static constexpr int32_t kNone = 0;
    static constexpr int32_t kFamily = -1;
    int32_t offset = kNone;
    uint8_t mask = 0;
    uint8_t equals = 0;
};

struct indSettingRow {
    // Stepped: a number minimum..maximum in the bit field, shown plus shownOffset. Text: length
    // characters from the row's byte, blank-padded.
    // DisplayText: as Text, in the radio's display characters (user characters included).
    // Password: length characters through the password dialog, never shown.
    enum class Codec : uint8_t { Choice, ChoiceTyped, Timer, Stepped, Text, DisplayText, Password };
    // Effects of a change beyond the cell itself.
    static constexpr uint8_t kWider = 0x01;     // redraw every cell with a cell number
    static constexpr uint8_t kRedrawAll = 0x02; // post cmcEv::RedrawAll: redraw every cell everywhere

    int32_t cell = 0;
    int32_t offset = 0;  // working-image byte (of entry 0 for per-entry rows)
    int16_t stride = 0;  // per-entry rows: bytes from one entry to the next; the cell's parameter
    int16_t entries = 1; // picks the entry, 0 .. entries - 1
    uint8_t lowBit = 0;  // the field's lowest bit
    uint8_t width = 1;   // bits in the field (8 for a whole byte)
    Codec codec = Codec::Choice;
    const char* list = nullptr; // choice codecs
    int16_t unitsPerSecond = 1; // timers: the byte counts 1/u seconds
    bool offAllowed = false;    // timers: 0 shows and accepts the off text
    int16_t minimum = 0;        // stepped numbers
    int16_t maximum = 255;
    int16_t shownOffset = 0;
    int16_t length = 1; // bytes the row uses from its byte on (texts)
    uint8_t effects = 0;
    indSettingTest grey;  // shown grey (still editable) when this holds
    indSettingTest grey2; // ... and this holds too, when set
    // True for rows that map a cell our own way (the radio leaves its storage to us); false for the
    // fixed layout the radio defines.
    bool chosen = false;
    // A chosen row that edits a field the rest of the model also knows (a clone comment, a level the
    // normalisation keeps from being 0): it is that field's editor, not a new use of its bytes.
    bool editsModelField = false;

    uint8_t Mask() const { return static_cast<uint8_t>(((1u << width) - 1u) << lowBit); }
    // The byte of entry (the cell's parameter); -1 when the row has no such entry.
    int32_t ByteOf(int32_t entry) const {
        return entry >= 0 && entry < entries ? offset + stride * entry : -1;
    }
    // The last byte of entry (texts span several).
    int32_t LastByteOf(int32_t entry) const {
        const int32_t at = ByteOf(entry);
        return at < 0 ? -1 : at + length - 1;
    }
    // The field's value; a two-byte number reads high byte first.
    int32_t Read(const uint8_t* w, int32_t entry = 0) const {
        const int32_t at = ByteOf(entry);
        if (codec == Codec::Stepped && length == 2)
            return w[at] << 8 | w[at + 1];
        return (w[at] & Mask()) >> lowBit;
    }
    // Writes value into the field, leaving the byte's other bits as they are.
    void Write(uint8_t* w, int32_t value, int32_t entry = 0) const {
        if (codec == Codec::Stepped && length == 2) {
            w[ByteOf(entry)] = static_cast<uint8_t>(value >> 8);
            w[ByteOf(entry) + 1] = static_cast<uint8_t>(value);
            return;
        }
        uint8_t& b = w[ByteOf(entry)];
        b = static_cast<uint8_t>((b & ~Mask()) | ((static_cast<uint32_t>(value) << lowBit) & Mask()));
    }

    // Builders for the table.
    constexpr indSettingRow Wider() const {
        indSettingRow r = *this;
        r.effects |= kWider;
        return r;
    }
    constexpr indSettingRow RedrawAll() const {
        indSettingRow r = *this;
        r.effects |= kRedrawAll;
        return r;
    }
    constexpr indSettingRow GreyWhen(indSettingTest t, indSettingTest t2 = {}) const {
        indSettingRow r = *this;
        r.grey = t;
        r.grey2 = t2;
        return r;
    }
    constexpr indSettingRow Chosen() const {
        indSettingRow r = *this;
        r.chosen = true;
        return r;
    }
    constexpr indSettingRow OnModelField() const {
        indSettingRow r = *this;
        r.chosen = true;
        r.editsModelField = true;
        return r;
    }
    constexpr indSettingRow PerEntry(int16_t bytesPerEntry, int16_t count) const {
        indSettingRow r = *this;
        r.stride = bytesPerEntry;
        r.entries = count;
        return r;
    }
};

class indSettingTable {
public:
    // Every row: the radio's fixed settings and timers first, then the cells we place ourselves.
    static std::span<const indSettingRow> Rows();
    // The row of a cell number, or nullptr.
    static const indSettingRow* Find(int32_t cell);
    // Rows a cell may share its bits with (cells that are two views of one setting).
    static bool SharesBits(int32_t cellA, int32_t cellB);
};

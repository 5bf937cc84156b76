#pragma once
// Value codecs whose values come from choice lists of the overlay or are picked in a window: plain and
// typed choices, channel and zone references, bit fields, and the smaller list-based cells (status
// numbers, codes with off, marks, key options, auxiliary actions, port bits, enable bits).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class cmcCodecEnv;
struct cmcCodecIo;

class cmcChoiceCodecs {
public:
    // Choice cell numbers of the list entries the codecs look for.
    static constexpr int32_t kFlex0 = 1;
    static constexpr int32_t kFlex1 = 2;
    static constexpr int32_t kFlexMark = 4;
    static constexpr int32_t kFlexDtcs = 5;
    static constexpr int32_t kFlexKeyOpt = 6;
    static constexpr int32_t kFlexZoneSel = 8;
    static constexpr int32_t kFlexZoneSelChGrpZone = 10;
    static constexpr int32_t kFlexZoneSelChGrpCh = 11;
    static constexpr int32_t kFlexCHSel = 14;
    static constexpr int32_t kFlexRxCodeAUX = 16;
    // Window answers of the bit-field, display-text and character editors come from a cell numbered 1.
    static constexpr int32_t kAnswerCell = 1;

    // The list's text for value; space and backspace step through the list, carriage return opens it.
    // With a link only an answer from the list (edit state 2, chosen cell = choiceCell) does anything.
    // insideWindow: a cell of a sheet inside a window, whose link is its opener: a link from another
    // cell number counts as no link.
    static bool EditChoice(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName,
                           int32_t choiceCell = kFlex0, std::optional<int32_t> markValue = std::nullopt,
                           bool insideWindow = false);
    // As EditChoice, with the model's list window of kind mode; stepping passes over the values that
    // skip() refuses (entries a record's rules exclude) and stops when it is back at the start.
    static bool EditChoiceModel(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName,
                                int32_t choiceCell, std::string_view mode,
                                const std::function<bool(int32_t)>& skip = {});
    // As EditChoice for lists of numbers; a typed number picks the nearest entry, "OFF" counts as 0.
    static bool EditChoiceTyped(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName,
                                int32_t choiceCell = kFlex0);

    // Channels 0..127 in eight banks (128 = none); zones 0..7 (8 = none).
    static constexpr int32_t kNoChannel = 128;
    static constexpr int32_t kNoZone = 8;
    // Where the banks' channels lie: bank g holds channels first[g] .. first[g] + size[g] - 1. The
    // model fills it from the bank counts; the default is eight banks of 16.
    struct BankLayout {
        std::array<int32_t, 8> first{0, 16, 32, 48, 64, 80, 96, 112};
        std::array<int32_t, 8> size{16, 16, 16, 16, 16, 16, 16, 16};
        // The bank holding channel, or -1 when no bank holds it.
        int32_t BankOf(int32_t channel) const;
    };
    struct ChannelLists {
        std::string_view bankList = "GI_Sheet_Sel_ScanZoneSel";
        int32_t bankCell = kFlexZoneSel;
        std::string_view channelList = "GI_Sheet_Sel_ScanCHSel";
        int32_t channelCell = kFlexCHSel;
        BankLayout banks;
    };
    // skip(channel) true: stepping passes over that channel (banks carrying a bank mark).
    static bool EditChannelRef(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const ChannelLists& lists,
                               const std::function<bool(int32_t)>& skip = {});
    // skip(zone) true: stepping passes over that zone (zones without channels).
    static bool EditZone(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const ChannelLists& lists,
                         const std::function<bool(int32_t)>& skip = {});

    // Positions first..last shown left to right, the first holding the highest bit of value.
    enum class BitLabels { Numeric, Alphanumeric };
    static bool EditBits(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, int32_t first, int32_t last,
                         BitLabels labels, std::string_view title);
    static char BitLabel(int32_t position, BitLabels labels);

    // Status numbers: 0 disabled, 1 the last status (receive lists), others shown as value - 1 (- 2 for
    // receive lists); excluded(n) true for shown numbers the status list's rules forbid.
    static bool EditStatusNumber(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, bool receive,
                                 const std::function<bool(int32_t)>& excluded = {});

    // Codes 1..32, 0 meaning off; the off/on list and its "code" entry open the code list.
    static constexpr std::string_view kAbcSelList = "GI_Sheet_Sel_RxC_AbcSel";
    static constexpr std::string_view kAbcCodeList = "GI_Sheet_Sel_RxC_AbcCode";
    static bool EditCodeWithOff(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value);

    // Marks A, B, E (bits 1, 2, 4; E only while bit 8 is clear); list answers 1..6 change them.
    static bool EditMarks(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName);
    static std::string MarksText(int32_t value);

    // One bit of a byte through a two-entry list (port direction, port logic, enable bits);
    // unavailable shows grey dashes.
    static bool EditBit(cmcCodecIo& io, cmcCodecEnv& env, uint8_t& byte, int32_t bit,
                        std::string_view listName, bool available = true);

    // "Key : " and the key's text, with " /H" or " /L" for keys that have a high/low option.
    static std::string KeyOptionText(std::string_view keyText, bool hasOption, bool high);
    // The action list's text followed by " /ON", " /OFF" or " /Momentary" (mode 0, 1, 2).
    static std::string AuxActionText(std::string_view actionText, int32_t mode);
};

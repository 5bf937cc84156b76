#pragma once
// What a memory channel cell sees of its call: the channel, its bank and the bank's type flags, and
// the conditions under which a value does not apply or shows grey.
#include <cstdint>

class datCh;
struct indCellCall;

// When a value does not apply, or is shown grey.
enum class indMchCond : uint8_t {
    None,
    Type3,           // channel type 3
    Type0,           // channel type 0
    Type3NoF1,       // type 3 and the bank lacks F1
    Type0NoF3,       // type 0 and the bank lacks F3
    NoF1,            // the bank lacks F1
    TwoTone,         // types 2, 3 without F1, or F1 with the DTMF decode flag
    Type3OrPmrNoSig, // type 3, or PMR family with the signalling flag clear
    ScanListOff,     // bit 6 of the channel mark byte (indLayout::kMark3Byte) clear
    RptCode,         // the repeater code rule (PMR family with signalling, without repeater-first)
    StnCode,         // PMR family with the signalling flag set
    MskCode,         // PMR family with the signalling flag clear
    NotTypes23,      // channel types 0 and 1
};

struct indMchContext {
    // Reads the channel of call.parameter (a channel number below 128) and its bank.
    explicit indMchContext(indCellCall& c);

    indCellCall& call;
    datCh& record; // the call's record, decoded for the channel
    uint8_t* w = nullptr;
    int n = 0;    // channel number
    int bank = 0; // the shown bank (indMchCells::BankOf)
    int type = 0; // channel type
    bool f1 = false, f3 = false;
    bool pmr = false;
    bool sig = false; // the signalling flag (kind 2 only)

    bool Holds(indMchCond c) const;
    // Dashes in grey instead of a value that does not apply.
    void Dashes(const char* text);
    // After a change: the other view of the channel refreshes while the memory channel window is open.
    void Changed();
    // Creates the channel of a new row when a key that starts an entry arrives; false when it could
    // not (the message is shown).
    bool CreateOnKey(bool& created);

    static int TotalChannels(const uint8_t* w);
    // Entries in use of a list record kind.
    static int ListCount(const uint8_t* w, int kind);
    // Keys that start an entry in a new row.
    static bool IsNewRowKey(int32_t key);
};

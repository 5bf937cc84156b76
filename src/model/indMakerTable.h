#pragma once
// The declarative table of the maker settings and the adjustment values: for each cell where its value
// lives, its codec and the codec's parameters.
//
// Maker settings are one byte each in the head of the radio memory (0x0010-0x007F, 0x0082-0x00D6):
// data files and clone reads carry the head, and only a clone write in maker mode (the only mode that
// shows these cells) writes it back. Adjustment values are not clone data at all: they live in the
// radio's adjustment memory, which the application reads and writes with adjustment commands; the
// table gives each one an index in that exchange.
#include <cstdint>
#include <span>

struct indMakerRow {
    enum class Kind : uint8_t {
        Stepped, // maker byte, 0..255
        Timer,   // maker byte counting tenths of a second
        Choice,  // maker byte through a choice list
        Shown,   // read-only: the maker timer at the same byte, in milliseconds ("[%4d]")
        Adjust,  // adjustment value (index), arrow keys step it
        Bar,     // read-only: the bar of adjustment value (index)
        Sweep,   // starts the application's sweep of adjustment value (index)
    };
    int32_t cell = 0;
    Kind kind = Kind::Stepped;
    int32_t at = 0; // maker byte offset, or adjustment value index
    const char* list = nullptr;
    bool coarse = false; // adjustment steps of 10 (50 with Shift) instead of 1 (5)

    static constexpr int32_t kMinimum = 0;
    static constexpr int32_t kMaximum = 255;
    static constexpr int32_t kTimerUnitsPerSecond = 10;
    bool IsMaker() const {
        return kind == Kind::Stepped || kind == Kind::Timer || kind == Kind::Choice || kind == Kind::Shown;
    }
};

class indMakerTable {
public:
    static std::span<const indMakerRow> Rows();
    // The row of a cell number, or nullptr.
    static const indMakerRow* Find(int32_t cell);
    // Adjustment values the table numbers (indexes 0 .. count - 1).
    static int32_t AdjustValueCount();
};

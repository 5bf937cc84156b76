#pragma once
// The cells of the keys, external port, common and expert sheets that need more than one bit field:
// key assignments (a function with, on some keys, a high/low option; keys the model fixes show their
// function in olive), the radio's user and dealer passwords, the user CTCSS frequency and the channel
// the channel switch moves to. Each cell is a row of a small table naming its behaviour and its bytes
// in the model's own area (see indKeysArea); the plain choices of these sheets are setting-table rows.
// It also knows which external port pins a port mode takes for its dedicated function.
#include <cstdint>
#include <optional>

struct indCellCall;

struct indKeyRow {
    enum class Kind : uint8_t { Key, Password, UserTone, Channel };
    static constexpr int8_t kFree = -1;

    int32_t cell = 0;
    Kind kind = Kind::Key;
    int32_t at = 0;         // working-image byte (the first of the field)
    bool hasOption = false; // keys: the high/low option in bit 7
    int8_t fixed = kFree;   // keys the model fixes: their function
};

class indKeyCells {
public:
    // The key functions and the high/low option lists.
    static constexpr const char* kKeyList = "GI_Sheet_Sel_KDisp_Key";
    static constexpr const char* kOptionList = "GI_Sheet_Sel_KDisp_KeyOpt_HL";
    // The bank list of the channel the channel switch moves to.
    static constexpr const char* kMoveBankList = "GI_Sheet_Sel_ExtIOZoneSel";
    // The user CTCSS frequency, in 0.1 Hz.
    static constexpr int32_t kUserToneMin = 400;
    static constexpr int32_t kUserToneMax = 3000;

    // The row of a cell number, or nullptr.
    static const indKeyRow* Find(int32_t cell);
    // Runs the cell's behaviour when it is one of these cells; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);

    // The external port pins: I/O 1-9, input 1, output 1, each with a function, a direction and a
    // logic cell. A port mode set to its dedicated function (its first entry, value 0: ignition sense,
    // horn, AF output, external PTT, serial data, unused) takes its pins; "General ..." frees them.
    static constexpr int kPins = 11;
    // The pin a function, direction or logic cell belongs to.
    static std::optional<int> PinOf(int32_t cell);
    // Whether port mode cell mode takes pin while it is set to its dedicated function.
    static bool CanHold(int32_t mode, int pin);
    // The port mode cell that holds pin on the working image w, or nullopt while the pin is free.
    static std::optional<int32_t> TakenBy(int pin, const uint8_t* w);
    // A cell of a taken pin shows "----" in grey and ignores every key, typed text and list answer,
    // leaving its stored value for the pin's return to general use. True when it handled the call.
    static bool HandleTakenPort(indCellCall& call, int32_t& result);
};

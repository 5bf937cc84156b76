#pragma once
// What the model cell handler asks of the application for the command cells of menus, toolbar and
// tree, the pop-up commands that need the sheet or a window, the clone information and language
// cells and the live readings: the desktop program implements it; without one those cells do
// nothing and show no state.
#include <cstdint>
#include <string>
#include <vector>

class cmcCellCapsule;

class indCellHost {
public:
    // A row command of a list sheet (CL_PMenu_Copy .. CL_PMenu_Insert) on the row the pop-up menu was
    // opened from. The handler gives the bounds of the list shown; the sheet and the main object carry
    // the command out (confirmations, clipboard, list insert and delete events, range to select,
    // cursor) in the capsule. The handler re-derives the packed memory afterwards.
    struct RowCommand {
        int32_t command = 0;  // CL_PMenu_Copy .. CL_PMenu_Insert
        int32_t category = 0; // the row cell's category and cell number
        int32_t cell = 0;
        int32_t recordKind = 0; // record kind of the row's list
        int32_t index = 0;      // the row's entry
        int32_t first = 0;      // valid entries of the list shown: first .. last
        int32_t last = -1;
        int32_t group = 0; // bank or parent entry (P1 of the list events)
    };

    virtual ~indCellHost() = default;
    // Runs an application command cell (activation is carriage return); argument is the cell's ':'
    // argument (the sheet text of CallSheet cells).
    virtual void RunCommand(int32_t cell, int32_t parameter, const std::string& argument) = 0;
    // Menu states of a command cell.
    virtual bool IsChecked(int32_t cell, int32_t parameter) { return false; }
    virtual bool IsDisabled(int32_t cell, int32_t parameter) { return false; }
    // Recent file entry n ("" when empty).
    virtual std::string RecentFile(int32_t n) { return {}; }
    // Byte of the last A/D readout for reading index (VIN, TEMPS, LVIN, SD, SMTR, T1, T2, REF, BAL,
    // DEV, CTCS, Sql, TXLVA, RXLVA); -1 when nothing was read.
    virtual int32_t AdReading(int32_t index) { return -1; }

    // Adjustment values of the radio's adjustment memory, numbered as the maker table numbers them, as
    // last read in adjust mode; -1 when none was read. A new value is the application's to send.
    virtual int32_t AdjustValue(int32_t index) { return -1; }
    virtual void SetAdjustValue(int32_t index, int32_t value) {}

    // Pop-up commands. A row command; false when no sheet carries it out (nothing changed).
    virtual bool RunRowCommand(const RowCommand& command, cmcCellCapsule& capsule) { return false; }
    // Opens the help file at a cell's help context.
    virtual void OpenHelp(int32_t context) {}
    // Shows the memory channel window on a channel; true when it is shown.
    virtual bool ShowChannelWindow(int32_t channel) { return false; }
    // Opens the repeater setting window on the repeater list of a bank (group); true when it opens.
    virtual bool ShowRepeaterWindow(int32_t group) { return false; }
    // Puts a text on the clipboard.
    virtual void CopyText(const std::string& text) {}

    // The information bytes of the last clone information answer (at most 127; empty before one).
    virtual std::vector<uint8_t> CloneInfo() { return {}; }
    // Languages of the language index: their count, the name shown for one, the one in use, and a
    // new choice (stored; it takes effect as the application decides).
    virtual int32_t LanguageCount() { return 0; }
    virtual std::string LanguageName(int32_t index) { return {}; }
    virtual int32_t Language() { return 0; }
    virtual void SetLanguage(int32_t index) {}
};

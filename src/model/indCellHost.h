#pragma once
// What the model cell handler asks of the application for the command cells of menus, toolbar and
// tree and for the live readings: the desktop program implements it; without one those cells do
// nothing and show no state.
#include <cstdint>
#include <string>

class indCellHost {
public:
    virtual ~indCellHost() = default;
    // Runs an application command cell (activation is carriage return); argument is the cell's ':'
    // argument (the sheet text of CallSheet cells).
    virtual void RunCommand(int32_t cell, int32_t parameter, const std::string& argument) = 0;
    // Menu states of a command cell.
    virtual bool IsChecked(int32_t cell, int32_t parameter) { return false; }
    virtual bool IsDisabled(int32_t cell, int32_t parameter) { return false; }
    // Recent file entry n ("" when empty).
    virtual std::string RecentFile(int32_t n) { return {}; }
    // The text of a clone information line (CL_CloneInfo_ cells) from the radio's last answer; "" when
    // no radio has answered or the line is not known.
    virtual std::string CloneInfoText(int32_t cell) { return {}; }
    // Byte of the last A/D readout for reading index (VIN, TEMPS, LVIN, SD, SMTR, T1, T2, REF, BAL,
    // DEV, CTCS, Sql, TXLVA, RXLVA); -1 when nothing was read.
    virtual int32_t AdReading(int32_t index) { return -1; }
};

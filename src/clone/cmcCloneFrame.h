#pragma once
// The bytes of the clone protocol: frame delimiters, addresses, frame commands, the single-byte
// answers of a write, and the model commands' sub-commands and values that the clone manager and
// the simulated radio use. A frame is FE FE, to address, from address, command, payload, FD.
#include <cstdint>

namespace cmcCloneFrame {

constexpr uint8_t kPreamble = 0xFE; // starts a frame; also sent in runs before one
constexpr uint8_t kEnd = 0xFD;
constexpr uint8_t kRadio = 0xEE;    // address of the radio
constexpr uint8_t kComputer = 0xEF; // address of the computer

// Frame commands.
constexpr uint8_t kInfoRequest = 0xE0;
constexpr uint8_t kInfoReply = 0xE1;
constexpr uint8_t kReadRequest = 0xE2;
constexpr uint8_t kWriteRequest = 0xE3;
constexpr uint8_t kData = 0xE4;
constexpr uint8_t kEndFrame = 0xE5;
constexpr uint8_t kWriteResult = 0xE6;
constexpr uint8_t kModelCommand = 0xE8;

constexpr uint8_t kWriteResultOk = 0x00; // the write result frame's one byte after success

// Single bytes the radio sends during a write.
constexpr uint8_t kContinue = 0xFB; // go on with the data frames
constexpr uint8_t kRefuse = 0xFA;   // the write is refused

// Sub-commands of the model command frame.
constexpr uint8_t kSubSpeed = 0x01;         // switch the line speed; value kSpeedHigh or kSpeedLow
constexpr uint8_t kSubAdjustStart = 0x02;   // value 1 enters the adjustment state, 0 leaves it
constexpr uint8_t kSubMeasure = 0x03;       // reads one A/D channel (the value); the sweep reads 2
constexpr uint8_t kSubSweepSingle = 0x13;   // sweep setting without a target
constexpr uint8_t kSubSweepTarget1 = 0x14;  // sweep setting of target 1
constexpr uint8_t kSubSweepSelect = 0x40;   // selects the setting of targets 2 to 5
constexpr uint8_t kSubSweepSelected = 0x41; // the value of the selected setting
constexpr uint8_t kSubCloneMode = 0x55;     // enter clone mode; value kCloneModeWrite or kCloneModeRead
constexpr uint8_t kSubPassword = 0x99;      // the clone password block
constexpr uint8_t kListEnd = 0xFF;          // ends a list of model commands (never sent)

// Value characters of the model commands the clone manager sends.
constexpr uint8_t kSpeedHigh[2] = {0x30, 0x39}; // sent at 9,600 baud: the radio goes on at 38,400
constexpr uint8_t kSpeedLow[2] = {0x32, 0x37};  // sent at 38,400 baud: the radio returns to 9,600
constexpr uint8_t kCloneModeRead[2] = {0x30, 0x30};
constexpr uint8_t kCloneModeWrite[2] = {0x30, 0x31};

// The signature that opens the payload of every end frame.
constexpr const char kSignature[] = "Zorv Inc.";
constexpr int kSignatureLen = 9;

} // namespace cmcCloneFrame

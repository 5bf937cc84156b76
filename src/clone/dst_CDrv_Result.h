#pragma once
// The outcome of one clone operation: mode, clone result code, the radio's model codes and clone
// information, the image read or written, and which addresses arrived in data frames.
#include "clone/cmcBuff.h"
#include "clone/cmcCloneState.h"
#include "clone/cmcSerialDevice.h"
#include "core/cmcEeprom.h"

#include <cstdint>
#include <string>

struct dst_CDrv_Result {
    cmcCloneMode mode = cmcCloneMode::None;
    int32_t status = 2; // clone result code; the port error until the operation sets another
    int32_t modelCode = 0;
    int32_t extraCode = 0;
    cmcBuff information; // clone information block: the reply bytes after the 4 code bytes
    cmcEeprom image;
    cmcBuff receivedMap; // bit (a % 8) of byte (a / 8) for every address received
    // What the result code alone does not tell a user who has to act on it:
    cmcPortFailure portFailure = cmcPortFailure::None; // why the port did not open (code 2)
    std::string portHolder;                            // the program holding a busy port, when known
    bool dataSent = false;       // a write's first data frame has left: the radio's memory is no longer whole
    bool passwordLikely = false; // a protected radio went quiet after its clone password was sent
};

// Clone result codes.
enum : int32_t {
    kCloneOk = 0,
    kClonePortOpen = 2,
    kCloneEcho = 4,
    kCloneTimeout = 5,
    kCloneFormat = 6,
    kCloneEndCount = 7,
    kCloneIncomplete = 8,
    kCloneOutside = 9,
    kCloneWriteResult = 10,
    kCloneModel = 11,
    kCloneInformation = 12, // the clone information names a memory end this model's image cannot hold
    kCloneDataVersion = 14, // the radio's data version is newer than this program reads
    kCloneDataCheck = 15,   // the data read fails the strict data check
    kCloneNewerData = 16,   // the data read is refused as made for a newer data version
    kCloneWriteFailed = 17,
    kCloneCancelled = 18, // the user stopped the operation
};

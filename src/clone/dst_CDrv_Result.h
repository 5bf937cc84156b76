#pragma once
// The outcome of one clone operation: mode, clone result code, the radio's model codes and clone
// information, the image read or written, and which addresses arrived in data frames.
#include "clone/cmcBuff.h"
#include "clone/cmcCloneState.h"
#include "core/cmcEeprom.h"

#include <cstdint>

struct dst_CDrv_Result {
    cmcCloneMode mode = cmcCloneMode::None;
    int32_t status = 2; // clone result code; the port error until the operation sets another
    int32_t modelCode = 0;
    int32_t extraCode = 0;
    cmcBuff information; // clone information block: the reply bytes after the 4 code bytes
    cmcEeprom image;
    cmcBuff receivedMap; // bit (a % 8) of byte (a / 8) for every address received
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
};

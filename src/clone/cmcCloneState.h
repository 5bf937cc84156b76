#pragma once
// The clone drivers' operation modes and the states of their step machine. The command driver runs
// the states up to WaitWriteResult and the two final ones; the model clone driver adds the model
// states. The numbers are the order the steps have always had and never change.
#include <cstdint>

enum class cmcCloneMode : int32_t {
    None = 0,
    Info = 1,        // clone information
    Read = 2,        // clone read
    Write = 3,       // clone write
    Command = 4,     // one model command
    CommandList = 5, // a list of model commands
    Sweep = 7,       // the model's sweep
    Repeated = 8,    // one model command sent 20 times per transmission
};

enum class cmcCloneState : int32_t {
    Idle = 0,
    Start = 2,
    CommandText = 3,       // one piece of the command text per step
    OpenPort = 4,          // reopen the port with the operation's settings, then the echo test
    SendInfoRequest = 5,   // E0
    WaitInfoReply = 6,     // E1
    SendReadRequest = 7,   // E2
    ReceiveData = 8,       // E4 data frames up to the E5 end frame
    SendWriteRequest = 9,  // E3
    WaitWriteAck = 10,     // 0xFB before the first data frame
    SendDataFrames = 11,   // E4 data frames
    WaitPauseAnswer = 12,  // 0xFB at a pause of the write
    SendEndFrame = 13,     // E5
    WaitWriteResult = 14,  // E6
    SweepHalfStep = 15,    // the sweep's next setting command or measurement request
    NextListEntry = 16,    // the command list's next entry
    SendModelCommand = 18, // E8
    WaitModelAnswer = 19,  // the radio's E8 answer
    ModelDelay = 20,       // the pause between list entries and sweep steps
    SweepBookkeeping = 21, // keep the reading, step the sweep value
    Finish = 22,           // let queued bytes leave
    Complete = 23,         // close the port and report the result
};

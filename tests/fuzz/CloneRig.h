#pragma once
// The clone commands of the program (information, read, write with their checks) against a radio
// whose answers come from a script: the fake serial device of the clone tests on the virtual clock.
// The clone fuzz target plays its input as the script; the seed generator records the simulated
// radio's answers into the same form.
//
// A script is one setup byte, then one chunk per write of the program, in order: a length byte L
// and L bytes (L from 0xF0 on: ((L - 0xF0) << 8 | next byte) bytes). Each chunk is the radio's answer
// to that write; once the chunks run out the radio says nothing more.
#include "app/indCloneCommands.h"
#include "clone/FakeSerial.h"
#include "core/cmcVirtualLoop.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace fuzz {

struct CloneSetup {
    enum Op { Info = 0, Read = 1, Write = 2 };
    Op op = Info;
    bool high = false;         // the ComSpeedHigh setting
    bool password = false;     // the clone password dialog is answered with a password
    bool maker = false;        // maker mode (a write covers the whole memory)
    int modelType = 0;         // the working image a write sends: that type's initial data
    uint32_t replyDelayMs = 0; // answers arrive this much later

    uint8_t Encode() const;
    static CloneSetup Decode(uint8_t b);
};

// Appends one chunk to a script.
void AppendChunk(std::vector<uint8_t>& script, const std::vector<uint8_t>& bytes);

// Answers one write of the program (the bytes and the line speed they went at).
using Responder = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& written, int32_t baud)>;

struct CloneOutcome {
    int32_t code = 0;   // the command's outcome: clone result code or indCloneCommands' outcome
    int32_t writes = 0; // writes of the program
    uint32_t elapsedMs = 0;
};

// Runs one command to its end against the responder. A command that does not end within the step
// caps (virtual time, loop rounds, writes) is a finding.
CloneOutcome RunClone(const CloneSetup& setup, const Responder& responder);

// Plays a script (setup byte and chunks) as the radio.
CloneOutcome PlayScript(const uint8_t* data, size_t size);

} // namespace fuzz

#pragma once
// The serial device under a port, as an interface: the POSIX tty in the programs, a scripted device
// in tests. Every call returns at once; nothing here waits for the line.
#include <cstdint>
#include <string>

// Line settings applied by cmcComm::Configure.
struct cmcLineSettings {
    int32_t baud = 9600;
    int32_t byteSize = 8;
    bool parityCheck = false;
    int32_t stopBits = 0;   // 0 one, 1 one and a half, 2 two
    int32_t rtsControl = 1; // 0 disabled (low), 1 enabled (high), 2 handshake, 3 toggle
    int32_t xonLimit = 16000;
    int32_t xoffLimit = 24000;
    int32_t writeMsPerByte = 10; // write time-out multiplier
    int32_t writeConstantMs = 3000;
};

// Why a device did not open, as far as the system tells.
enum class cmcPortFailure : int32_t {
    None = 0,
    Other,      // any other reason (not a serial device, settings refused...)
    Permission, // this user may not open it
    Busy,       // another program holds it
    Missing,    // no such device: unplugged, or a wrong path
    NotSerial,  // it opened but is no serial device (a file, a disk...)
};

class cmcSerialDevice {
public:
    virtual ~cmcSerialDevice() = default;

    // Opens the device exclusively for reading and writing. False when it cannot be opened.
    virtual bool Open(const std::string& path) = 0;
    // After a failed Open: why, and for a busy device the program holding it ("minicom, process
    // 1234") when that can be told; empty otherwise.
    virtual cmcPortFailure OpenFailure() const { return cmcPortFailure::Other; }
    virtual std::string OpenHolder() const { return {}; }
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // Discards both directions' queued bytes.
    virtual bool Purge() = 0;
    // Raw binary transfer with the given line settings; DTR low.
    virtual bool Configure(const cmcLineSettings& settings) = 0;
    // Reads at most max bytes that have already arrived; -1 on failure.
    virtual int32_t Read(uint8_t* destination, int32_t max) = 0;
    // Writes up to n bytes and returns how many were accepted; -1 on failure.
    virtual int32_t Write(const uint8_t* source, int32_t n) = 0;
    // Bytes waiting in the receive and the send queue; -1 on failure.
    virtual int32_t InputCount() = 0;
    virtual int32_t OutputCount() = 0;
    // A descriptor that becomes readable when bytes arrive, for loops that watch descriptors; -1 when
    // the device has none (callers then poll on their timers).
    virtual int PollFd() const { return -1; }
};

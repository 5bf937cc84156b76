#pragma once
// The radio side of the clone protocol without any input or output: bytes that arrive at a line
// speed go in, the radio's answers come out. The simulated radio and the clone tests share it.
#include "core/cmcEeprom.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class RadioSimEngine {
public:
    enum class Fault {
        None,
        DropFrame,     // a data frame of a read is not sent (nor counted)
        BadChecksum,   // a data frame of a read carries a wrong checksum
        LowerCaseHex,  // a data frame of a read is written in lower-case hexadecimal
        WrongEndCount, // the end frame of a read counts one frame too many
        Silence,       // after N data frames the radio says nothing more (a pulled cable)
        RefuseWrite,   // a write request is answered with 0xFA
        WriteResult,   // a write ends with a failed write result
        WrongModel,    // the clone information carries another model code
        DataVersion2,  // the clone information carries data version 2
        Unplug,        // after N data frames the simulator's process ends (a pulled USB cable)
        CorruptWrite,  // the first byte of data frame N of a write is stored inverted; the frame and
                       // the write are acknowledged as good
    };

    struct Options {
        int32_t modelCode = 0x3329;
        int32_t extraCode = 0x0000;
        std::string password;         // non-empty: protected
        bool readUnprotected = false; // protection does not apply to reading
        bool echo = false;
        uint8_t revision = 0x10; // firmware revision, two nibbles
        uint8_t trunkLevel = 16;
        uint8_t dataVersion = 1;
        std::string serial = "0000001A2B3C";
        int32_t endAddress = 0xFF7F;
        bool wide = false;
        Fault fault = Fault::None;
        int32_t faultFrame = 100; // the data frame the fault hits (from 0)
        // The A/D readings of channels 0 to 7 in the adjustment state (battery, RSSI, sweep
        // reading, temperature, transmit power, reflected power, squelch, modulation).
        std::vector<uint8_t> adValues = {0xB4, 0x5A, 0x80, 0x6E, 0xC8, 0x0C, 0x40, 0x96};
    };

    // Offsets in the clone information block.
    static constexpr int kInfoSize = 127;
    static constexpr int kInfoRevision = 32;
    static constexpr int kInfoTrunkLevel = 34;
    static constexpr int kInfoDataVersion = 35;
    static constexpr int kInfoSerial = 37;
    static constexpr int kInfoFlags = 53;
    static constexpr int kInfoEnd4 = 56;
    static constexpr int kInfoWide = 101;
    static constexpr int kInfoEnd8 = 102;

    RadioSimEngine(const Options& options, const cmcEeprom& image);

    // Bytes received at a line speed; the radio's answer is appended to out.
    void Receive(const uint8_t* bytes, int32_t n, int32_t baud, std::vector<uint8_t>& out);

    // The speed the radio listens at: 9,600 or 38,400 baud.
    int32_t ListenBaud() const { return m_listenBaud; }
    // The radio's memory (65,408 bytes); a successful write replaces it.
    const cmcEeprom& Image() const { return m_image; }
    // Called after each finished operation with its kind ('I', 'R' or 'W') and success.
    void SetOperationHandler(std::function<void(char kind, bool ok)> handler) {
        m_onOperation = std::move(handler);
    }
    // Receives one line per frame the radio takes in (for --verbose).
    void SetLog(std::function<void(const std::string&)> log) { m_log = std::move(log); }
    // Whether the radio has stopped answering (the silence fault struck).
    bool Silent() const { return m_silent; }
    // Whether the unplug fault struck: the simulator ends once the bytes before it have left.
    bool Unplugged() const { return m_unplugged; }
    std::vector<uint8_t> InformationBlock() const;
    // Whether the adjustment start command put the radio into its adjustment state, where it answers
    // A/D requests.
    bool Adjusting() const { return m_adjusting; }

private:
    void Frame(const std::vector<uint8_t>& f, std::vector<uint8_t>& out);
    void SendRead(std::vector<uint8_t>& out);
    void WriteFrame(const std::vector<uint8_t>& f, std::vector<uint8_t>& out);
    void EndWrite(const std::vector<uint8_t>& f, std::vector<uint8_t>& out);
    bool Allowed(bool reading) const;
    void Finish(char kind, bool ok);

    Options m_options;
    cmcEeprom m_image;
    cmcEeprom m_incoming;
    int32_t m_listenBaud = 9600;
    bool m_frameOpen = false;
    std::vector<uint8_t> m_frame;
    int m_selected = -1; // 0 read, 1 write (E8 55)
    bool m_passwordOk = false;
    bool m_adjusting = false;
    bool m_writing = false;
    int32_t m_writeFrames = 0;
    bool m_silent = false;
    bool m_unplugged = false;
    std::function<void(char, bool)> m_onOperation;
    std::function<void(const std::string&)> m_log;
};

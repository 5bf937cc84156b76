#pragma once
// The simulated radio on a pseudo-terminal: moves bytes between the terminal and the protocol engine,
// at the line speed the program set on the terminal, optionally no faster than that speed allows.
#include "RadioSimEngine.h"

#include "core/cmcPollLoop.h"

#include <deque>
#include <string>

class RadioSim {
public:
    struct Options {
        RadioSimEngine::Options radio;
        std::string imagePath;
        std::string savePath;
        std::string linkPath;
        std::string statsPath;
        bool pace = false;
        bool once = false;
        bool verbose = false;
    };

    RadioSim(const Options& options, const cmcEeprom& image);
    ~RadioSim();

    // Opens the pseudo-terminal and the link; false with a message on standard error.
    bool Open();
    const std::string& SlavePath() const { return m_slavePath; }
    // Serves until stop is set (a signal) or, with --once, one read or write is done.
    void Run(const volatile int& stop);

private:
    void Tick();
    void Drain();
    void Consume(int32_t maxBytes);
    void Flush(int32_t maxBytes);
    int32_t LineBaud() const;
    void Operation(char kind, bool ok);
    // Appends a line "<event> wire_seconds S bytes_in N bytes_out M" to the stats file.
    void WriteStats(const char* event) const;

    Options m_options;
    RadioSimEngine m_engine;
    cmcPollLoop m_loop;
    int m_master = -1;
    int m_slave = -1; // held open so the terminal survives the program closing and reopening it
    std::string m_slavePath;
    std::deque<std::pair<uint8_t, int32_t>> m_in; // received bytes with the speed they came at
    std::deque<uint8_t> m_out;
    double m_inCredit = 0;
    double m_outCredit = 0;
    uint32_t m_lastTick = 0;
    bool m_done = false;
    uint32_t m_doneAt = 0;
    double m_wireSeconds = 0;
    long m_bytesIn = 0;
    long m_bytesOut = 0;
    char m_pendingStats = 0; // an operation whose answer is still leaving
};

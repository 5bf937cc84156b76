#pragma once
// The audit log of fleet writes: a CSV table that grows by one row per radio written, with the time,
// the port, the radio's serial number and firmware, the result and the backup file, so that a dealer
// can show later which radio got what and when.
#include <ctime>
#include <string>

class indAuditLog {
public:
    struct Entry {
        std::time_t when = 0;
        std::string port;
        std::string serial;
        std::string firmware;
        int code = 0;
        std::string text;
        std::string backup;
    };

    // $XDG_DATA_HOME/Ostrel/fleet-log.csv, under the same data folder as the write backups.
    static std::string DefaultPath();
    // "2026-12-11T04:30:05Z": the time in UTC, as ISO 8601 writes it.
    static std::string TimeText(std::time_t when);
    // Appends the entry as one row; a file that is new or empty gets the header line first. The
    // folder is made when missing. False with a message when the file cannot be written.
    static bool Append(const std::string& path, const Entry& entry, std::string& error);
};

#pragma once
// Comma separated tables as spreadsheets read and write them: records written with RFC 4180 quoting
// (UTF-8, CR LF line ends), and read with quoted fields, embedded separators and line breaks, a UTF-8
// byte order mark and the semicolon some spreadsheets separate with (told from the header line).
#include <string>
#include <string_view>
#include <vector>

class cmcCsv {
public:
    using Record = std::vector<std::string>;

    // One record with its line end. A field is quoted when it holds a separator, a quote, a line
    // break or blanks at either end, its quotes doubled.
    static std::string Write(const Record& record);

    // Parses a whole file's text into records (the header first), fields exactly as written (blanks
    // kept); blank lines are skipped. False, with a message saying what is wrong, on malformed text.
    static bool Read(std::string_view text, std::vector<Record>& records, std::string& error);

    // Writes records as a whole file, replacing it only once every byte is written; false when the
    // file cannot be written.
    static bool WriteFile(const std::string& path, const std::vector<Record>& records);
    // Reads a whole file; false when it cannot be read.
    static bool ReadFile(const std::string& path, std::string& text);

    // The separator of a table: ';' when its first line holds more semicolons than commas outside
    // quotes, else ','.
    static char Separator(std::string_view text);
};

#pragma once
// A text overlay table: the sections of an overlay file (or of in-memory lines) looked up by key.
// Sections are indexed lazily as lookups need them; a missing key is a fatal configuration error.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex {
public:
    // A physical line longer than this is read as several lines of at most this many bytes.
    static constexpr size_t kMaxLine = 8191;
    // Most recently read lines kept by file offset.
    static constexpr size_t kCacheLines = 64;
    // The header key that ends every overlay; nothing after it is indexed.
    static constexpr std::string_view kEndKey = "End_Of_Ovl";

    cmcGTex();
    ~cmcGTex();
    cmcGTex(const cmcGTex&) = delete;
    cmcGTex& operator=(const cmcGTex&) = delete;

    // Drops index, cache and any open file and makes fileName the source. The file is opened at the
    // first lookup; a file that cannot be opened makes every lookup fail.
    void OpenFile(std::string fileName);
    // Makes lines (without line ends, ending with a "#End_Of_Ovl" header) the source. Only on a table
    // without a source; returns false otherwise.
    bool AttachLines(std::vector<std::string> lines);

    // Line n (from 0) of the section key, without its line end. Past the section's last line come the
    // lines that follow in the source (end mark, next header, ...). A missing key or line is fatal.
    std::string GetLine(std::string_view key, int n);
    // Line 0 of the section key.
    std::string GetText(std::string_view key) { return GetLine(key, 0); }
    // The section's lines up to its end mark (or the next header, or the end of the source), joined
    // with line feeds. Empty when the section's first line already starts with '#'.
    std::string GetJoinedText(std::string_view key);
    // The number of lines before the first line starting with '#' (or the end of the source), at most
    // limit. Used for lists such as the languages.
    int CountListLines(std::string_view key, int limit);

    // Whether the section key exists; indexes as far as needed but is never fatal.
    bool HasKey(std::string_view key);

    // Every section key in file order (the whole source gets indexed); for checks and tools.
    std::vector<std::string> AllKeys();

    const std::string& FileName() const { return m_fileName; }

    // A table whose sections stand in for the keys this one lacks (a language file that leaves
    // texts untranslated reads them from the first language). Not owned; null for none. A key that
    // neither holds is still fatal.
    void SetFallback(cmcGTex* fallback) { m_fallback = fallback == this ? nullptr : fallback; }

private:
    struct State;
    [[noreturn]] static void Fail(std::string_view key);
    std::optional<std::string> ReadSectionLine(std::string_view key, int n);

    std::string m_fileName;
    std::unique_ptr<State> m_state;
    cmcGTex* m_fallback = nullptr;
};

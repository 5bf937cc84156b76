#include "core/cmcGTex.h"

#include "core/cmcFatal.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <list>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Bytes read from the file at a time. Every line fits in it, so one refill serves many reads.
constexpr size_t kBlockSize = 64 * 1024;

enum class Source { None, Lines, File };

struct Section {
    std::string key;
    int64_t bodyStart;
    // Where the next sequential read of this section continues: line number and its read position.
    int cursorLine;
    int64_t cursorPos;
};

struct CachedLine {
    int64_t offset;
    int64_t length;
    std::string text;
};

// One line of the source: its text without the line end, and the read position after it.
struct RawLine {
    std::string text;
    int64_t next;
};

// Overlays may come with CR LF line ends; the key and the text never include the CR.
void dropCarriageReturn(std::string& text) {
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
}

} // namespace

struct cmcGTex::State {
    Source source = Source::None;
    bool opened = false;
    std::string fileName;
    int fd = -1;
    std::vector<std::string> lines;

    // A window of the file, so that line reads and seeks rarely reach the system.
    std::vector<char> block;
    int64_t blockStart = 0;
    bool blockAtEnd = false;

    int64_t scanPos = 0;
    bool scanActive = false;

    // Sections in discovery order; the map finds the first section of each key without walking them.
    std::deque<Section> sections;
    std::unordered_map<std::string_view, Section*> byKey;

    // Most recently used first.
    std::list<CachedLine> cache;
    std::unordered_map<int64_t, std::list<CachedLine>::iterator> cacheByOffset;

    ~State() { CloseFile(); }

    void CloseFile() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // Opens the source at the first lookup.
    void Open() {
        if (opened)
            return;
        opened = true;
        scanPos = 0;
        scanActive = false;
        if (source == Source::Lines) {
            scanActive = true;
        } else if (source == Source::File && !fileName.empty()) {
            // Non-blocking so that a name that turns out to be a pipe or device cannot hang the open;
            // only regular files are read.
            fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            struct stat st {};
            if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)))
                CloseFile();
            scanActive = fd >= 0;
        }
    }

    // Makes the block hold the bytes from pos on (up to a whole line, or to the end of the file).
    bool FillBlock(int64_t pos) {
        const int64_t blockEnd = blockStart + static_cast<int64_t>(block.size());
        if (pos >= blockStart && (blockAtEnd ? pos <= blockEnd : pos + int64_t(kMaxLine) + 1 <= blockEnd))
            return true;
        block.resize(kBlockSize);
        size_t got = 0;
        while (got < kBlockSize) {
            ssize_t n = ::pread(fd, block.data() + got, kBlockSize - got, static_cast<off_t>(pos + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                block.clear();
                blockStart = 0;
                blockAtEnd = false;
                return false;
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        block.resize(got);
        blockStart = pos;
        blockAtEnd = got < kBlockSize;
        return true;
    }

    // Reads the line at pos without the cache. None at the end of the source or on a read error.
    std::optional<RawLine> ReadRaw(int64_t pos) {
        if (source == Source::Lines) {
            if (pos < 0 || pos >= static_cast<int64_t>(lines.size()))
                return std::nullopt;
            const std::string& line = lines[static_cast<size_t>(pos)];
            RawLine raw{line.substr(0, line.find('\n')), pos + 1};
            dropCarriageReturn(raw.text);
            return raw;
        }
        if (fd < 0 || pos < 0 || !FillBlock(pos))
            return std::nullopt;
        const size_t at = static_cast<size_t>(pos - blockStart);
        if (at >= block.size())
            return std::nullopt;
        const size_t avail = std::min(block.size() - at, kMaxLine + 1);
        const char* start = block.data() + at;
        const void* lf = std::memchr(start, '\n', avail);
        RawLine raw;
        if (lf) {
            const size_t len = static_cast<size_t>(static_cast<const char*>(lf) - start);
            raw.text.assign(start, len);
            raw.next = pos + static_cast<int64_t>(len) + 1;
        } else {
            // No line end within reach: a longer line is read in pieces, the last line may lack one.
            const size_t len = std::min(avail, kMaxLine);
            raw.text.assign(start, len);
            raw.next = pos + static_cast<int64_t>(len);
        }
        dropCarriageReturn(raw.text);
        return raw;
    }

    std::optional<RawLine> ReadCached(int64_t pos) {
        if (source != Source::File)
            return ReadRaw(pos);
        if (auto hit = cacheByOffset.find(pos); hit != cacheByOffset.end()) {
            cache.splice(cache.begin(), cache, hit->second);
            return RawLine{hit->second->text, pos + hit->second->length};
        }
        std::optional<RawLine> raw = ReadRaw(pos);
        if (!raw)
            return std::nullopt;
        if (cache.size() >= kCacheLines) {
            cacheByOffset.erase(cache.back().offset);
            cache.pop_back();
        }
        cache.push_front(CachedLine{pos, raw->next - pos, raw->text});
        cacheByOffset[pos] = cache.begin();
        return raw;
    }

    // Reads the line at the scan position; a header becomes a new section. Returns the section added,
    // or nullptr (also when the scan has just ended).
    Section* ScanStep() {
        std::optional<RawLine> raw = ReadRaw(scanPos);
        if (!raw) {
            scanActive = false;
            return nullptr;
        }
        scanPos = raw->next;
        // A lone '#' is an end mark, not a header.
        if (raw->text.size() < 2 || raw->text[0] != '#')
            return nullptr;
        Section& section = sections.emplace_back(Section{raw->text.substr(1), raw->next, 0, raw->next});
        byKey.emplace(section.key, &section);
        if (section.key == kEndKey)
            scanActive = false;
        return &section;
    }

    Section* Find(std::string_view key) {
        Open();
        if (auto found = byKey.find(key); found != byKey.end())
            return found->second;
        while (scanActive) {
            Section* added = ScanStep();
            if (added && added->key == key)
                return added;
        }
        return nullptr;
    }

    std::optional<std::string> ReadLine(Section& section, int n) {
        if (n < 0)
            return std::nullopt;
        int line = section.cursorLine;
        int64_t pos = section.cursorPos;
        if (n < line) {
            line = 0;
            pos = section.bodyStart;
        }
        for (;;) {
            std::optional<RawLine> raw = ReadCached(pos);
            if (!raw)
                return std::nullopt;
            if (line == n) {
                section.cursorLine = n + 1;
                section.cursorPos = raw->next;
                return std::move(raw->text);
            }
            ++line;
            pos = raw->next;
        }
    }
};

cmcGTex::cmcGTex() : m_state(std::make_unique<State>()) {}

cmcGTex::~cmcGTex() = default;

void cmcGTex::OpenFile(std::string fileName) {
    m_fileName = std::move(fileName);
    m_state = std::make_unique<State>();
    m_state->source = Source::File;
    m_state->fileName = m_fileName;
}

bool cmcGTex::AttachLines(std::vector<std::string> lines) {
    if (m_state->source != Source::None)
        return false;
    m_state->source = Source::Lines;
    m_state->lines = std::move(lines);
    return true;
}

void cmcGTex::Fail(std::string_view key) {
    cmcFatal("GTEX Error !\nThe index '" + std::string(key) + "' was not found.");
}

std::optional<std::string> cmcGTex::ReadSectionLine(std::string_view key, int n) {
    Section* section = m_state->Find(key);
    if (!section)
        Fail(key);
    return m_state->ReadLine(*section, n);
}

std::string cmcGTex::GetLine(std::string_view key, int n) {
    std::optional<std::string> line = ReadSectionLine(key, n);
    if (!line)
        Fail(key);
    return std::move(*line);
}

std::string cmcGTex::GetJoinedText(std::string_view key) {
    std::string joined;
    for (int n = 0;; ++n) {
        // The end of the source also ends the text: the last section of a file may lack an end mark.
        std::optional<std::string> line = ReadSectionLine(key, n);
        if (!line || (!line->empty() && (*line)[0] == '#'))
            break;
        if (n > 0)
            joined += '\n';
        joined += *line;
    }
    return joined;
}

int cmcGTex::CountListLines(std::string_view key, int limit) {
    int count = 0;
    while (count < limit) {
        std::optional<std::string> line = ReadSectionLine(key, count);
        if (!line || (!line->empty() && (*line)[0] == '#'))
            break;
        ++count;
    }
    return count;
}

bool cmcGTex::HasKey(std::string_view key) {
    return m_state->Find(key) != nullptr;
}

std::vector<std::string> cmcGTex::AllKeys() {
    m_state->Open();
    while (m_state->scanActive)
        m_state->ScanStep();
    std::vector<std::string> keys;
    keys.reserve(m_state->sections.size());
    for (const Section& section : m_state->sections)
        keys.push_back(section.key);
    return keys;
}

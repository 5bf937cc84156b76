#include "core/cmcGTex.h"

#include "core/cmcFatal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Bytes read from the file at a time. Every line fits in it, so one refill serves many reads.
constexpr size_t kBlockSize = 64 * 1024;

constexpr size_t kCacheWays = 4;
constexpr size_t kCacheSets = cmcGTex::kCacheLines / kCacheWays;
static_assert(kCacheSets * kCacheWays == cmcGTex::kCacheLines);

enum class Source { None, Lines, File };

struct Section {
    std::string key;
    int64_t bodyStart;
    // Where the next sequential read of this section continues: line number and its read position.
    int cursorLine;
    int64_t cursorPos;
};

// One line of the source: its text without the line end (valid until the next read), and the read
// position after it.
struct LineView {
    std::string_view text;
    int64_t next;
};

// Overlays may come with CR LF line ends; the key and the text never include the CR.
std::string_view withoutCarriageReturn(std::string_view text) {
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
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

    // The most recently read lines by file offset: sets of kCacheWays lines chosen by the offset,
    // least recently used line of its set replaced. Offsets and use stamps sit in their own arrays so
    // that a lookup touches little memory; a slot keeps its text's storage when it is reused.
    std::array<int64_t, kCacheLines> cacheOffset = MakeEmptyOffsets();
    std::array<int64_t, kCacheLines> cacheLength{};
    std::array<uint64_t, kCacheLines> cacheLastUse{};
    std::array<std::string, kCacheLines> cacheText;
    uint64_t useClock = 0;

    static std::array<int64_t, kCacheLines> MakeEmptyOffsets() {
        std::array<int64_t, kCacheLines> offsets;
        offsets.fill(-1);
        return offsets;
    }

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
    std::optional<LineView> ReadRaw(int64_t pos) {
        if (source == Source::Lines) {
            if (pos < 0 || pos >= static_cast<int64_t>(lines.size()))
                return std::nullopt;
            std::string_view line = lines[static_cast<size_t>(pos)];
            return LineView{withoutCarriageReturn(line.substr(0, line.find('\n'))), pos + 1};
        }
        if (fd < 0 || pos < 0 || !FillBlock(pos))
            return std::nullopt;
        const size_t at = static_cast<size_t>(pos - blockStart);
        if (at >= block.size())
            return std::nullopt;
        const size_t avail = std::min(block.size() - at, kMaxLine + 1);
        const char* start = block.data() + at;
        if (const void* lf = std::memchr(start, '\n', avail)) {
            const size_t len = static_cast<size_t>(static_cast<const char*>(lf) - start);
            return LineView{withoutCarriageReturn({start, len}), pos + static_cast<int64_t>(len) + 1};
        }
        // No line end within reach: a longer line is read in pieces, the last line may lack one.
        const size_t len = std::min(avail, kMaxLine);
        return LineView{withoutCarriageReturn({start, len}), pos + static_cast<int64_t>(len)};
    }

    std::optional<LineView> ReadCached(int64_t pos) {
        if (source != Source::File)
            return ReadRaw(pos);
        // Neighbouring lines have nearby offsets: mix the bits before choosing the set.
        const uint64_t mixed = static_cast<uint64_t>(pos) * 0x9E3779B97F4A7C15ull;
        const size_t first = static_cast<size_t>(mixed >> 32) % kCacheSets * kCacheWays;
        size_t oldest = first;
        for (size_t i = first; i < first + kCacheWays; ++i) {
            if (cacheOffset[i] == pos) {
                cacheLastUse[i] = ++useClock;
                return LineView{cacheText[i], pos + cacheLength[i]};
            }
            if (cacheLastUse[i] < cacheLastUse[oldest])
                oldest = i;
        }
        std::optional<LineView> raw = ReadRaw(pos);
        if (!raw)
            return std::nullopt;
        cacheOffset[oldest] = pos;
        cacheLength[oldest] = raw->next - pos;
        cacheLastUse[oldest] = ++useClock;
        cacheText[oldest].assign(raw->text);
        return LineView{cacheText[oldest], raw->next};
    }

    // Reads the line at the scan position; a header becomes a new section. Returns the section added,
    // or nullptr (also when the scan has just ended).
    Section* ScanStep() {
        std::optional<LineView> raw = ReadRaw(scanPos);
        if (!raw) {
            scanActive = false;
            return nullptr;
        }
        scanPos = raw->next;
        // A lone '#' is an end mark, not a header.
        if (raw->text.size() < 2 || raw->text[0] != '#')
            return nullptr;
        Section& section =
            sections.emplace_back(Section{std::string(raw->text.substr(1)), raw->next, 0, raw->next});
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
            std::optional<LineView> raw = ReadCached(pos);
            if (!raw)
                return std::nullopt;
            if (line == n) {
                section.cursorLine = n + 1;
                section.cursorPos = raw->next;
                return std::string(raw->text);
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
    if (!section && m_fallback)
        return m_fallback->ReadSectionLine(key, n);
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
    return m_state->Find(key) != nullptr || (m_fallback && m_fallback->HasKey(key));
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

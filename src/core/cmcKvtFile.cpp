#include "core/cmcKvtFile.h"

#include "core/cmcAtomicFile.h"
#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kKeyComment[] = "Comment=";
const char kKeyMapRev[] = "MapRev=";
const char kKeyAdrBit[] = "AdrBit=";

// No line the reader cares about is longer than this; longer ones are kept cut and flagged, so a file
// of any size is read in bounded memory and a long line is still one line.
constexpr size_t kLineKeep = 1024;

// Reads a file line by line. The line end (LF or CR LF) is removed; the last line may lack it.
class LineReader {
public:
    explicit LineReader(int fd) : m_fd(fd) {}

    // False at the end of the file or on a read error (see Failed).
    bool Next(std::string& line, bool& tooLong) {
        line.clear();
        tooLong = false;
        bool any = false;
        for (;;) {
            if (m_pos == m_end && !Fill())
                break;
            any = true;
            const char* start = m_buffer + m_pos;
            const char* lf = static_cast<const char*>(std::memchr(start, '\n', m_end - m_pos));
            size_t count = lf ? static_cast<size_t>(lf - start) : m_end - m_pos;
            size_t room = kLineKeep + 1 - std::min(line.size(), kLineKeep + 1); // one extra for CR
            line.append(start, std::min(count, room));
            if (count > room)
                tooLong = true;
            m_pos += count;
            if (lf) {
                ++m_pos;
                break;
            }
        }
        if (!any)
            return false;
        if (!line.empty() && line.back() == '\r' && !tooLong)
            line.pop_back();
        if (line.size() > kLineKeep) {
            line.resize(kLineKeep);
            tooLong = true;
        }
        return true;
    }

    bool Failed() const { return m_failed; }

private:
    bool Fill() {
        for (;;) {
            ssize_t n = ::read(m_fd, m_buffer, sizeof m_buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                m_failed = true;
            m_pos = 0;
            m_end = n > 0 ? static_cast<size_t>(n) : 0;
            return n > 0;
        }
    }

    int m_fd;
    char m_buffer[16384];
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_failed = false;
};

// Opens a regular file for reading without blocking on FIFOs or devices; -1 when it cannot.
int openRegular(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

using FileError = cmcKvtFile::FileError;

bool startsWith(const std::string& line, size_t at, const char* key) {
    size_t n = std::strlen(key);
    return line.size() >= at + n && line.compare(at, n, key) == 0;
}

// Decimal number as the key lines hold it: leading blanks and a sign allowed, digits up to the first
// other character, none giving 0. Saturates instead of overflowing.
int32_t parseDecimal(const std::string& text, size_t at) {
    size_t i = at;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
    value = negative ? -value : std::min<int64_t>(value, INT32_MAX);
    return static_cast<int32_t>(value);
}

void setBit(std::vector<uint8_t>& map, int64_t address) {
    map[static_cast<size_t>(address / 8)] |= static_cast<uint8_t>(1u << (address % 8));
}

} // namespace

void cmcKvtFile::Attach(cmcEeprom* image) {
    if (image == nullptr)
        return;
    m_image = image;
    int32_t size = image->GetSize();
    m_firstAddress = 0;
    m_lastAddress = std::max(size - 1, 0);
    size_t mapLength = static_cast<size_t>((std::max(size, 0) + 7) / 8);
    m_requiredMap.assign(mapLength, 0);
    m_loadedMap.assign(mapLength, 0);
    for (int32_t a = 0; a < size; ++a)
        setBit(m_requiredMap, a);
}

FileError cmcKvtFile::Save(const std::string& path, const cmcRange* ranges) {
    cmcAtomicFile file(path);
    if (!file.Open()) {
        Report(FileError::Open);
        return FileError::Open;
    }

    std::string out;
    out.reserve(1 << 16);
    char field[64];
    std::snprintf(field, sizeof field, "%04X%04X\r\n", static_cast<unsigned>(m_modelCode & 0xFFFF),
                  static_cast<unsigned>(m_extraCode & 0xFFFF));
    out += field;
    // A line end inside the comment would turn the rest of it into lines of their own.
    std::string comment = m_comment;
    std::replace(comment.begin(), comment.end(), '\r', ' ');
    std::replace(comment.begin(), comment.end(), '\n', ' ');
    out += "#";
    out += kKeyComment;
    out += comment;
    out += "\r\n";
    std::snprintf(field, sizeof field, "#%s%d\r\n#%s%d\r\n", kKeyMapRev, m_mapRev, kKeyAdrBit, m_adrBit);
    out += field;

    bool written = true;
    for (const cmcRange* r = ranges; r != nullptr && m_image != nullptr && written; ++r) {
        if (r->IsEnd() || !m_image->IsValidAddress(r->first) || !m_image->IsValidAddress(r->last))
            break;
        for (int32_t d = r->first; d <= r->last && written;) {
            int32_t n = m_bytesPerLine - d % m_bytesPerLine;
            if (d + n - 1 > r->last)
                n = r->last - d + 1;
            uint32_t address = static_cast<uint32_t>(d);
            if (m_adrBit == 32)
                std::snprintf(field, sizeof field, "%08X%02X", address, static_cast<unsigned>(n));
            else if (m_adrBit == 24)
                std::snprintf(field, sizeof field, "%06X%02X", address & 0xFFFFFF, static_cast<unsigned>(n));
            else
                std::snprintf(field, sizeof field, "%04X%02X", address & 0xFFFF, static_cast<unsigned>(n));
            out += field;
            for (int32_t j = 0; j < n; ++j)
                cmcText::AppendHexByte(out, m_image->GetByte(d + j));
            out += "\r\n";
            d += n;
            if (out.size() >= 60000) {
                written = file.Write(out.data(), out.size());
                out.clear();
            }
        }
    }
    if (written)
        written = file.Write(out.data(), out.size());
    FileError code = written && file.Commit() ? FileError::Ok : FileError::Access;
    Report(code);
    return code;
}

FileError cmcKvtFile::Load(const std::string& path, const cmcRange* ranges) {
    cmcEeprom backup;
    if (m_image != nullptr)
        backup.Assign(*m_image);
    std::fill(m_loadedMap.begin(), m_loadedMap.end(), 0);
    FileError code = ReadFile(path, ranges);
    if (code != FileError::Ok && m_image != nullptr)
        m_image->Assign(backup);
    Report(code);
    return code;
}

FileError cmcKvtFile::ReadFile(const std::string& path, const cmcRange* ranges) {
    int fd = openRegular(path);
    if (fd < 0)
        return FileError::Open;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    LineReader reader(fd);
    std::string line;
    bool tooLong = false;

    // Header: the model and extra codes as four digits each. Only 0 to 9 are accepted, read as
    // hexadecimal digits, as files have always been read.
    if (!reader.Next(line, tooLong))
        return reader.Failed() ? FileError::Open : FileError::Format;
    if (tooLong || line.size() != 8 ||
        !std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return FileError::Format;
    int32_t model = 0, extra = 0;
    for (int i = 0; i < 4; ++i) {
        model = model * 16 + (line[i] - '0');
        extra = extra * 16 + (line[4 + i] - '0');
    }
    if (m_modelCheck) {
        FileError refused = FileError::Model;
        if (!m_modelCheck(model, extra, refused))
            return refused;
    } else if (model != m_modelCode) {
        return FileError::Model;
    } else if (extra != m_extraCode) {
        return FileError::Extra;
    }

    m_mapRev = -1;
    bool mapRevChecked = false;
    while (reader.Next(line, tooLong)) {
        if (!line.empty() && line[0] == '#') {
            if (startsWith(line, 1, kKeyMapRev)) {
                m_mapRev = parseDecimal(line, 1 + std::strlen(kKeyMapRev));
            } else if (startsWith(line, 1, kKeyAdrBit)) {
                m_adrBit = parseDecimal(line, 1 + std::strlen(kKeyAdrBit));
                if (m_adrBit != 16 && m_adrBit != 24 && m_adrBit != 32)
                    return FileError::Format;
            }
            continue;
        }
        if (!mapRevChecked) {
            if (!m_mapRevCheck || !m_mapRevCheck(m_mapRev))
                return FileError::MapRev;
            mapRevChecked = true;
        }
        FileError code = ParseDataLine(line, tooLong);
        if (code != FileError::Ok)
            return code;
    }
    if (reader.Failed())
        return FileError::Open;
    return ranges != nullptr ? CheckCoverage(ranges) : FileError::Ok;
}

FileError cmcKvtFile::ParseDataLine(const std::string& line, bool tooLong) {
    const size_t w = m_adrBit == 32 ? 8 : m_adrBit == 24 ? 6 : 4;
    const size_t length = line.size();
    if (tooLong || length < w + 4 || length > w + 512)
        return FileError::Format;
    if (!std::all_of(line.begin(), line.end(), [](char c) { return cmcText::HexDigitValue(c).has_value(); }))
        return FileError::Format;
    // Every character is a digit from here on.
    const int64_t address = *cmcText::HexNumber(std::string_view(line).substr(0, w));
    const int32_t count = *cmcText::HexByte(line[w], line[w + 1]);
    if (length - w != static_cast<size_t>(2 * count + 2))
        return FileError::Format;
    const int64_t size = m_image != nullptr ? m_image->GetSize() : 0;
    if (address + count > size) // count is at least 1 here: an empty line body fails the length test
        return FileError::Data;
    for (int32_t j = 0; j < count; ++j) {
        size_t at = w + 2 + 2 * static_cast<size_t>(j);
        m_image->SetByte(static_cast<int32_t>(address + j), *cmcText::HexByte(line[at], line[at + 1]));
    }
    if ((address + count - 1) / 8 < static_cast<int64_t>(m_loadedMap.size()))
        for (int32_t j = 0; j < count; ++j)
            setBit(m_loadedMap, address + j);
    return FileError::Ok;
}

void cmcKvtFile::MarkRanges(const cmcRange* ranges, std::vector<uint8_t>& map) const {
    for (const cmcRange* r = ranges; r != nullptr; ++r) {
        if (r->IsEnd() || !m_image->IsValidAddress(r->first) || !m_image->IsValidAddress(r->last))
            break;
        for (int32_t a = r->first; a <= r->last; ++a)
            setBit(map, a);
    }
}

FileError cmcKvtFile::CheckCoverage(const cmcRange* ranges) {
    if (ranges == nullptr || m_image == nullptr)
        return FileError::Coverage;
    std::fill(m_requiredMap.begin(), m_requiredMap.end(), 0);
    MarkRanges(ranges, m_requiredMap);
    if (m_loadedMap == m_requiredMap)
        return FileError::Ok;
    // A byte supplied outside the required ranges outweighs any byte missing.
    for (size_t i = 0; i < m_loadedMap.size(); ++i)
        if (m_loadedMap[i] & ~m_requiredMap[i])
            return FileError::Data;
    return FileError::Coverage;
}

void cmcKvtFile::Report(FileError error) const {
    if (m_tex != nullptr && m_box != nullptr)
        ShowFileError(error, *m_tex, *m_box);
}

const char* cmcKvtFile::FileErrorKey(FileError error) {
    const int code = Code(error);
    static const char* const keys[] = {
        nullptr,
        "GI_Mess_FileErr_FileOpen",
        "GI_Mess_FileErr_FileAccess",
        "GI_Mess_FileErr_Model",
        "GI_Mess_FileErr_Extra",
        "GI_Mess_FileErr_MapRev",
        "GI_Mess_FileErr_Format",
        "GI_Mess_FileErr_Coverage",
        "GI_Mess_FileErr_Data",
        "GI_Mess_FileErr_Newer",
    };
    return code >= 1 && code <= 9 ? keys[code] : nullptr;
}

std::string cmcKvtFile::FileErrorText(FileError error, cmcGTex& tex) {
    const char* key = FileErrorKey(error);
    if (key == nullptr)
        return {};
    return tex.GetJoinedText("GI_Mess_FileErr_Headline") + "\n\n" + tex.GetJoinedText(key);
}

void cmcKvtFile::ShowFileError(FileError error, cmcGTex& tex, cmcMessageBox& box) {
    std::string text = FileErrorText(error, tex);
    if (text.empty())
        return;
    box.Show(text, tex.GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Warning,
             cmcMessageBox::Buttons::Ok);
}

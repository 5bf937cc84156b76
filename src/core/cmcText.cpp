#include "core/cmcText.h"

#include "core/cmcFatal.h"

namespace cmcText {

std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    auto next = values.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

std::optional<uint8_t> HexDigitValue(char c, HexLetters letters) {
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint8_t>(c - 'A' + 10);
    if (letters == HexLetters::AnyCase && c >= 'a' && c <= 'f')
        return static_cast<uint8_t>(c - 'a' + 10);
    return std::nullopt;
}

std::optional<uint8_t> HexByte(char high, char low, HexLetters letters) {
    std::optional<uint8_t> h = HexDigitValue(high, letters);
    std::optional<uint8_t> l = HexDigitValue(low, letters);
    if (!h || !l)
        return std::nullopt;
    return static_cast<uint8_t>(*h << 4 | *l);
}

std::optional<uint32_t> HexNumber(std::string_view digits, HexLetters letters) {
    uint32_t value = 0;
    for (char c : digits) {
        std::optional<uint8_t> d = HexDigitValue(c, letters);
        if (!d)
            return std::nullopt;
        value = value << 4 | *d;
    }
    return value;
}

char HexDigitChar(unsigned value) {
    return kHexDigits[value & 0xF];
}

void AppendHexByte(std::string& out, uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

std::optional<std::string> FieldOf(std::string_view text, char separator, int n) {
    if (n < 0)
        return std::nullopt;
    size_t start = 0;
    for (int field = 0; field < n; ++field) {
        size_t at = text.find(separator, start);
        if (at == std::string_view::npos)
            return std::nullopt;
        start = at + 1;
    }
    size_t end = text.find(separator, start);
    return std::string(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::optional<std::string> PartBefore(std::string_view text, std::string_view separators, int n) {
    if (n < 0)
        return std::nullopt;
    size_t start = 0;
    for (int part = 0; part < n; ++part) {
        size_t at = text.find_first_of(separators, start);
        if (at == std::string_view::npos)
            return std::nullopt;
        start = at + 1;
    }
    size_t end = text.find_first_of(separators, start);
    return std::string(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

void TrimBlanks(std::string& text) {
    size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    text.erase(end);
    text.erase(0, SkipBlanks(text));
}

void RemoveBlanks(std::string& text) {
    std::erase_if(text, isBlank);
}

std::string CopyText(const char* text) {
    return text ? std::string(text) : std::string();
}

std::string CopyPrefix(const char* text, size_t n) {
    if (!text)
        return {};
    std::string_view view(text);
    if (view.size() <= n)
        return std::string(view);
    // Back off over continuation bytes so that the cut falls on a character boundary.
    size_t cut = n;
    while (cut > 0 && (static_cast<uint8_t>(view[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(view.substr(0, cut));
}

std::string DoubleAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

std::vector<uint8_t> HexToBytes(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(text.size() / 2 + 1);
    bool high = true;
    for (char c : text) {
        std::optional<uint8_t> v = HexDigitValue(c);
        if (!v)
            continue;
        if (high)
            out.push_back(static_cast<uint8_t>(*v << 4));
        else
            out.back() = static_cast<uint8_t>(out.back() | *v);
        high = !high;
    }
    return out;
}

std::string BytesToHex(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes)
        AppendHexByte(out, b);
    return out;
}

std::string BytesToHex(std::string_view bytes) {
    return BytesToHex(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string HexToChars(std::string_view text) {
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        std::optional<uint8_t> byte = HexByte(text[i], text[i + 1]);
        if (!byte)
            break;
        out += static_cast<char>(*byte);
    }
    return out;
}

bool IsPrintableChar(int code) {
    return code >= 32 && code <= 126;
}

uint8_t Nibble(std::span<const uint8_t> bytes, size_t i) {
    if (i / 2 >= bytes.size())
        cmcFatal("Nibble index out of range.");
    uint8_t b = bytes[i / 2];
    return i % 2 == 0 ? static_cast<uint8_t>(b >> 4) : static_cast<uint8_t>(b & 0xF);
}

void SetNibble(std::span<uint8_t> bytes, size_t i, uint8_t digit) {
    if (i / 2 >= bytes.size())
        cmcFatal("Nibble index out of range.");
    uint8_t& b = bytes[i / 2];
    digit &= 0xF;
    b = i % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | digit << 4) : static_cast<uint8_t>((b & 0xF0) | digit);
}

} // namespace cmcText

#include "cells/cmcCellObj.h"

#include "cells/cmcCellColors.h"
#include "cells/cmcCellIds.h"
#include "core/cmcFatal.h"
#include "core/cmcGTex.h"

#include <limits>

namespace {

// Named attribute sets may use further sets; deeper nesting than this can only be a loop.
constexpr int kMaxSetDepth = 32;
// Parent chains are a cell and its basic cell; a longer walk can only be a loop.
constexpr int kMaxParents = 64;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimmedBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal number as the overlay writes it: leading blanks, an optional sign, digits; anything after
// them is ignored and no digits read as 0. Saturates at the 32-bit limits.
int32_t ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > (int64_t{1} << 32))
            value = int64_t{1} << 32;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t Clamp32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// p per cent of current, truncated toward zero; 0 becomes 1.
int32_t Percent(int32_t current, int32_t p) {
    const int32_t v = Clamp32(static_cast<int64_t>(current) * p / 100);
    return v == 0 ? 1 : v;
}

struct NamedValue {
    std::string_view name;
    int32_t value;
};

constexpr NamedValue kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

constexpr NamedValue kStyles[] = {
    {"fsBold", cmcCellFont::fsBold},
    {"fsItalic", cmcCellFont::fsItalic},
    {"fsUnderline", cmcCellFont::fsUnderline},
    {"fsStrikeOut", cmcCellFont::fsStrikeOut},
};

constexpr NamedValue kPitches[] = {
    {"fpDefault", cmcCellFont::fpDefault},
    {"fpVariable", cmcCellFont::fpVariable},
    {"fpFixed", cmcCellFont::fpFixed},
};

template <size_t N> const NamedValue* FindNamed(const NamedValue (&table)[N], std::string_view name) {
    for (const NamedValue& entry : table)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// Position of the first ch at or after from that no backslash makes ordinary; the text's size when
// there is none. Most texts hold no backslash, so a plain search usually settles it.
size_t FindUnescaped(std::string_view text, size_t from, char ch) {
    if (from >= text.size())
        return text.size();
    size_t end = std::min(text.find(ch, from), text.size());
    if (text.substr(from, end - from).find('\\') == std::string_view::npos)
        return end;
    for (end = from; end < text.size() && text[end] != ch;)
        end += text[end] == '\\' ? 2 : 1;
    return std::min(end, text.size());
}

// Detaches the counters when a parse ends, also when a fatal error unwinds it in tests.
class CounterAttachment {
public:
    CounterAttachment(cmcCellObj::Counters*& slot, cmcCellObj::Counters* counters) : m_slot(slot) {
        m_slot = counters;
    }
    ~CounterAttachment() { m_slot = nullptr; }
    CounterAttachment(const CounterAttachment&) = delete;
    CounterAttachment& operator=(const CounterAttachment&) = delete;

private:
    cmcCellObj::Counters*& m_slot;
};

} // namespace

std::string_view cmcCellObj::ParseCell(std::string_view row, cmcGTex& tex, Counters* counters,
                                       const cmcCellObj* parentCell, bool skip) {
    const size_t end = FindUnescaped(row, 0, '|');
    const std::string_view text = row.substr(0, end);
    const std::string_view rest = end < row.size() ? row.substr(end + 1) : std::string_view();

    parent = parentCell == this ? nullptr : parentCell;
    ResetCell();
    if (skip)
        return rest;

    CounterAttachment attach(m_counters, counters);
    // The usual cell text is one brace group followed by the display text; only texts with several
    // groups, or display text on both sides of a group, need the pieces joined.
    const size_t open = text.find('{');
    const size_t close = open == std::string_view::npos ? open : text.find('}', open + 1);
    const bool simple = open == std::string_view::npos ||
                        (open == 0 && (close == std::string_view::npos ||
                                       text.find('{', close + 1) == std::string_view::npos));
    if (simple) {
        if (open == std::string_view::npos) {
            ParseDisplayText(text);
        } else {
            const std::string_view attributes =
                text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            ParseAttributes(attributes, tex, 0);
            ParseDisplayText(close == std::string_view::npos ? std::string_view() : text.substr(close + 1));
        }
        return rest;
    }
    std::string attributes;
    std::string display;
    bool inBraces = false;
    for (char c : text) {
        if (!inBraces && c == '{')
            inBraces = true;
        else if (inBraces && c == '}')
            inBraces = false;
        else
            (inBraces ? attributes : display).push_back(c);
    }
    ParseAttributes(attributes, tex, 0);
    ParseDisplayText(display);
    return rest;
}

void cmcCellObj::ResetCell() {
    cell = cmcCellIds::kNoCell;
    argument.reset();
    imageIndex = -1;
    layoutFlags = 0;
    markFlags = 0;
    moreFlags = 0;
    color = cmcCellColors::clWindow;
    font.reset();
    popupMenu.clear();
    displayText.clear();
    if (parent && parent != this) {
        category = parent->category;
        cell = parent->cell;
        parameter = parent->parameter;
        argument = parent->argument;
        imageIndex = parent->imageIndex;
        layoutFlags = parent->layoutFlags;
        markFlags = parent->markFlags;
        moreFlags = parent->moreFlags;
        color = parent->color;
        displayText = parent->displayText;
    }
}

std::string_view cmcCellObj::PopupMenuName() const {
    const cmcCellObj* c = this;
    for (int i = 0; c && i < kMaxParents; ++i, c = c->parent)
        if (!c->popupMenu.empty())
            return c->popupMenu;
    return {};
}

bool cmcCellObj::StateFlag(int d) const {
    if (d >= 0 && d <= 3)
        return (markFlags >> (4 + d)) & 1;
    if (d >= 4 && d <= 8)
        return (moreFlags >> (d - 4)) & 1;
    return false;
}

void cmcCellObj::SetStateFlag(int d, bool on) {
    uint8_t* bits = nullptr;
    uint8_t mask = 0;
    if (d >= 0 && d <= 3) {
        bits = &markFlags;
        mask = static_cast<uint8_t>(1u << (4 + d));
    } else if (d >= 4 && d <= 8) {
        bits = &moreFlags;
        mask = static_cast<uint8_t>(1u << (d - 4));
    } else {
        return;
    }
    *bits = on ? (*bits | mask) : (*bits & ~mask);
}

void cmcCellObj::ClearMenuState() {
    for (int d = 0; d <= 4; ++d)
        SetStateFlag(d, false);
}

void cmcCellObj::ParseAttributes(std::string_view text, cmcGTex& tex, int depth) {
    bool negate = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool neg = negate;
        negate = false;
        auto setBit = [neg](uint8_t& bits, uint8_t mask) {
            bits = neg ? static_cast<uint8_t>(bits & ~mask) : static_cast<uint8_t>(bits | mask);
        };
        auto setHAlign = [this](int a) { layoutFlags = (layoutFlags & ~kHAlignMask) | a; };
        auto setVAlign = [this](int a) { layoutFlags = (layoutFlags & ~kVAlignMask) | (a << 2); };
        switch (c) {
        case '\\':
            ++i;
            break;
        case '(': {
            const size_t j = FindUnescaped(text, i + 1, ')');
            ParseProperty(text.substr(i + 1, j - i - 1), tex, depth);
            i = j;
            break;
        }
        case '!':
            negate = true;
            break;
        case '<':
            setHAlign(0);
            break;
        case '^':
            setHAlign(1);
            break;
        case '>':
            setHAlign(2);
            break;
        case '~':
            setVAlign(0);
            break;
        case '-':
            setVAlign(1);
            break;
        case '_':
            setVAlign(2);
            break;
        case 'W':
            setBit(layoutFlags, kWiden);
            break;
        case 'H':
            setBit(layoutFlags, kHeighten);
            break;
        case '+':
            setBit(layoutFlags, kJoined);
            break;
        case 'B':
            setBit(layoutFlags, kBottomRule);
            break;
        case 'S':
            setBit(markFlags, kSelectable);
            break;
        case 'T':
            setBit(markFlags, kTail);
            break;
        case 'X':
            markFlags = (markFlags & ~kRuleMask) | (neg ? 0 : 1);
            break;
        case 'Q':
            markFlags = (markFlags & ~kRuleMask) | (neg ? 0 : 2);
            break;
        default:
            break;
        }
    }
}

void cmcCellObj::ParseProperty(std::string_view prop, cmcGTex& tex, int depth) {
    if (StartsWith(prop, "$")) {
        const std::string key = "CellModel_" + std::string(prop.substr(1));
        if (depth >= kMaxSetDepth)
            cmcFatal("Named attribute sets nest too deep (a set uses itself?).\n'" + key + "'");
        const std::string set = tex.GetText(key);
        ParseAttributes(set, tex, depth + 1);
    } else if (StartsWith(prop, "Color=")) {
        uint32_t value = 0;
        if (cmcCellColors::ByName(prop.substr(6), value))
            color = value;
    } else if (StartsWith(prop, "Font=")) {
        if (!font)
            font = parent && parent->font ? *parent->font : cmcCellFont();
        ParseFont(prop.substr(5));
    } else if (StartsWith(prop, "%")) {
        ParseBinding(prop.substr(1));
    } else if (StartsWith(prop, "@ch")) {
        int32_t& counter = Counter(prop);
        std::string_view rest = prop.substr(4);
        if (StartsWith(rest, "++")) {
            counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
        } else {
            rest = TrimmedBlanks(rest);
            if (StartsWith(rest, "="))
                counter = ParseDecimal(rest.substr(1));
        }
    } else if (StartsWith(prop, "ImageIndex=")) {
        imageIndex = ParseDecimal(prop.substr(11));
    } else if (StartsWith(prop, "PopupMenu=")) {
        popupMenu = prop.substr(10);
    } else if (StartsWith(prop, "Flag")) {
        if (prop.size() == 7 && prop[4] >= '0' && prop[4] <= '8' && prop[5] == '=' &&
            (prop[6] == '0' || prop[6] == '1'))
            SetStateFlag(prop[4] - '0', prop[6] == '1');
    }
}

void cmcCellObj::ParseBinding(std::string_view prop) {
    // A '.' without a backslash before it ends the category name.
    for (size_t k = 0; k < prop.size(); ++k) {
        if (prop[k] == '.' && (k == 0 || prop[k - 1] != '\\')) {
            category = cmcCellIds::CategoryByName(prop.substr(0, k));
            prop.remove_prefix(k + 1);
            break;
        }
    }
    const size_t nameEnd = std::min(prop.find_first_of("[:"), prop.size());
    cell = cmcCellIds::CellByName(prop.substr(0, nameEnd));
    prop.remove_prefix(nameEnd);
    if (StartsWith(prop, "[")) {
        const size_t close = std::min(prop.find(']'), prop.size());
        const std::string_view value = prop.substr(1, close - 1);
        parameter = StartsWith(value, "@ch") ? Counter(value) : ParseDecimal(value);
        prop.remove_prefix(std::min(close + 1, prop.size()));
    }
    if (StartsWith(prop, ":")) {
        std::string arg;
        for (size_t k = 1; k < prop.size(); ++k) {
            if (prop[k] == '\\' && k + 1 < prop.size())
                ++k;
            arg.push_back(prop[k]);
        }
        argument = std::move(arg);
    }
}

void cmcCellObj::ParseFont(std::string_view fields) {
    cmcCellFont& f = *font;
    for (int index = 0; index < 7; ++index) {
        const size_t comma = std::min(fields.find(','), fields.size());
        const std::string_view field = fields.substr(0, comma);
        switch (index) {
        case 0:
            if (const NamedValue* cs = FindNamed(kCharsets, TrimmedBlanks(field)))
                f.charset = cs->value;
            break;
        case 1: {
            std::string_view face = field;
            while (!face.empty() && face.front() == ' ')
                face.remove_prefix(1);
            if (!face.empty())
                f.face = face;
            break;
        }
        case 2: {
            uint32_t value = 0;
            if (!field.empty() && cmcCellColors::ByName(field, value))
                f.color = value;
            break;
        }
        case 3:
        case 4: {
            const std::string_view v = TrimmedBlanks(field);
            if (v.empty())
                break;
            const bool isHeight = index == 3;
            const int32_t current = isHeight ? f.height : f.size;
            int32_t target = 0;
            if (StartsWith(v, "%"))
                target = Percent(current, ParseDecimal(v.substr(1)));
            else
                target = ParseDecimal(v);
            if (target == 0)
                break;
            if (isHeight)
                f.SetHeight(target);
            else
                f.SetSize(target);
            break;
        }
        case 5: {
            bool first = true;
            std::string_view names = field;
            while (true) {
                const size_t plus = std::min(names.find('+'), names.size());
                if (const NamedValue* s = FindNamed(kStyles, TrimmedBlanks(names.substr(0, plus)))) {
                    if (first)
                        f.styles = 0;
                    first = false;
                    f.styles |= static_cast<uint8_t>(s->value);
                }
                if (plus >= names.size())
                    break;
                names.remove_prefix(plus + 1);
            }
            break;
        }
        case 6:
            if (const NamedValue* p = FindNamed(kPitches, TrimmedBlanks(field)))
                f.pitch = static_cast<uint8_t>(p->value);
            break;
        }
        if (comma >= fields.size())
            break;
        fields.remove_prefix(comma + 1);
    }
}

void cmcCellObj::ParseDisplayText(std::string_view text) {
    auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);

    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out.push_back(c);
            continue;
        }
        const char n = text[++i];
        if (n == 'n' || n == 'N') {
            out.push_back('\n');
        } else if (n == '_') {
            out.push_back(' ');
        } else if (n == '(' && text.find(')', i) != std::string_view::npos) {
            // \(@chd) or \(@chd+k): a counter value, at most six characters of it.
            const size_t close = text.find(')', i);
            std::string ref;
            for (char r : text.substr(i + 1, close - i - 1))
                if (!IsBlank(r))
                    ref.push_back(r);
            int64_t value = Counter(ref);
            const std::string_view tail = std::string_view(ref).substr(4);
            if (StartsWith(tail, "+"))
                value += ParseDecimal(tail.substr(1));
            out += std::to_string(value).substr(0, 6);
            i = close;
        } else {
            out.push_back(n);
        }
    }
    displayText = std::move(out);
}

int32_t& cmcCellObj::Counter(std::string_view ref) const {
    // "@ch", exactly one digit, then anything but a digit.
    if (!m_counters || ref.size() < 4 || !StartsWith(ref, "@ch") || !IsDigit(ref[3]) ||
        (ref.size() > 4 && IsDigit(ref[4])))
        cmcFatal("Ch No. Error");
    return (*m_counters)[ref[3] - '0'];
}

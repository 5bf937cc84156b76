// Every overlay key the program's code names must be defined by the shipped overlays: a missing key
// stops the program at the moment it is first asked for, so this catches it before a user does.
#include "core/cmcGTex.h"
#include "core/cmcTextTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The repository: OSTREL_SOURCE_DIR when the test runner sets it, else the folder this test lives in.
std::string SourceDir() {
    if (const char* dir = std::getenv("OSTREL_SOURCE_DIR"); dir && *dir)
        return dir;
    const std::string self = __FILE__;
    return self.substr(0, self.rfind("/tests/"));
}

struct Literal {
    std::string text;
    std::string where; // file:line
};

// The string literals of a C++ source (raw strings included), outside comments and character
// literals. Good enough for our own code; it is not a full C++ lexer.
std::vector<Literal> StringLiterals(const std::string& src, const std::string& name) {
    std::vector<Literal> out;
    int line = 1;
    size_t i = 0;
    auto count = [&](size_t from, size_t to) {
        line += static_cast<int>(std::count(src.begin() + from, src.begin() + to, '\n'));
    };
    while (i < src.size()) {
        char c = src[i];
        if (c == '/' && i + 1 < src.size() && src[i + 1] == '/') {
            size_t end = src.find('\n', i);
            i = end == std::string::npos ? src.size() : end;
        } else if (c == '/' && i + 1 < src.size() && src[i + 1] == '*') {
            size_t end = src.find("*/", i + 2);
            end = end == std::string::npos ? src.size() : end + 2;
            count(i, end);
            i = end;
        } else if (c == 'R' && i + 1 < src.size() && src[i + 1] == '"' &&
                   (i == 0 || !(std::isalnum(static_cast<unsigned char>(src[i - 1])) || src[i - 1] == '_'))) {
            size_t open = src.find('(', i + 2);
            if (open == std::string::npos)
                break;
            std::string close = ")" + src.substr(i + 2, open - i - 2) + "\"";
            size_t end = src.find(close, open);
            end = end == std::string::npos ? src.size() : end;
            out.push_back({src.substr(open + 1, end - open - 1), name + ":" + std::to_string(line)});
            end = std::min(src.size(), end + close.size());
            count(i, end);
            i = end;
        } else if (c == '"' || c == '\'') {
            std::string text;
            size_t j = i + 1;
            while (j < src.size() && src[j] != c && src[j] != '\n') {
                if (src[j] == '\\' && j + 1 < src.size())
                    text += src[j++];
                text += src[j++];
            }
            if (c == '"')
                out.push_back({text, name + ":" + std::to_string(line)});
            i = j + 1;
        } else {
            if (c == '\n')
                ++line;
            ++i;
        }
    }
    return out;
}

bool IsKeyChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The overlay key a literal names, and whether it is only the front of keys the code completes (a
// literal ending in "_", or a format such as "GI_Mess_X_%d"). None for literals that are no key.
std::optional<std::pair<std::string, bool>> KeyOf(const std::string& literal) {
    if (literal.rfind("GI_", 0) != 0)
        return std::nullopt;
    size_t end = 0;
    while (end < literal.size() && IsKeyChar(literal[end]))
        ++end;
    if (end == literal.size())
        return std::make_pair(literal, literal.back() == '_');
    if (literal[end] == '%')
        return std::make_pair(literal.substr(0, end), true);
    return std::nullopt;
}

// The table that serves a key when the program runs.
enum class Table { Text, Languages, Help };
Table TableOf(const std::string& key) {
    if (key == "GI_Sys_Language")
        return Table::Languages;
    if (key == "GI_AppItem_Topic_ID" || key == "GI_AppItem_Key_Assign_Topic_ID" ||
        key == "GI_AppItem_Context_ID")
        return Table::Help;
    return Table::Text;
}

} // namespace

TEST(OverlayKeys, LiteralsAreFoundInCode) {
    const std::string src = "// \"GI_InComment\"\n"
                            "f(\"GI_A\", 'x', \"no key\");\n"
                            "/* \"GI_Block\"\n*/ g(\"GI_B_\"); h(\"GI_C_%d\", R\"(GI_Raw)\");\n"
                            "s = \"esc\\\"GI_X\";\n";
    std::vector<std::string> keys;
    for (const Literal& l : StringLiterals(src, "x.cpp"))
        if (auto key = KeyOf(l.text))
            keys.push_back(key->first + (key->second ? "*" : "") + "@" + l.where);
    EXPECT_EQ(keys, (std::vector<std::string>{"GI_A@x.cpp:2", "GI_B_*@x.cpp:4", "GI_C_*@x.cpp:4",
                                              "GI_Raw@x.cpp:4"}));
}

TEST(OverlayKeys, EveryKeyTheCodeNamesIsShipped) {
    const fs::path root(SourceDir());

    // key -> (is prefix, first place it is used)
    std::map<std::string, std::pair<bool, std::string>> wanted;
    for (const char* folder : {"src", "tools"}) {
        if (!fs::exists(root / folder))
            continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            const std::string rel = fs::relative(entry.path(), root).string();
            for (const Literal& literal : StringLiterals(text.str(), rel))
                if (auto key = KeyOf(literal.text))
                    wanted.emplace(key->first, std::make_pair(key->second, literal.where));
        }
    }
    ASSERT_FALSE(wanted.empty());

    cmcTextTables tables;
    tables.Load((root / "data").string(), 0);
    std::map<Table, std::set<std::string>> keys;
    for (auto& [table, gtex] : {std::pair<Table, cmcGTex*>{Table::Text, &tables.Text()},
                                {Table::Languages, &tables.Languages()},
                                {Table::Help, &tables.Help()}}) {
        std::vector<std::string> all = gtex->AllKeys();
        keys[table].insert(all.begin(), all.end());
    }

    std::string missing;
    for (const auto& [key, use] : wanted) {
        const std::set<std::string>& defined = keys[TableOf(key)];
        bool found;
        if (use.first) {
            auto next = defined.lower_bound(key);
            found = next != defined.end() && next->rfind(key, 0) == 0;
        } else {
            // Menu, tree and sheet names stand for their sections (name_BasicCell, name_Body, ...).
            found = defined.count(key) != 0;
            for (const char* part : {"_Style", "_BasicCell", "_Cells", "_Body"})
                found = found || defined.count(key + part) != 0;
        }
        if (!found)
            missing += "\n  " + key + (use.first ? "... (prefix)" : "") + "  used at " + use.second;
    }
    EXPECT_TRUE(missing.empty()) << "Overlay keys named in the code but missing from the shipped overlays "
                                    "(ENG.OVL unless noted in the test):"
                                 << missing;
}

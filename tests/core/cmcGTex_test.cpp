#include "core/cmcGTex.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

namespace {

std::string missing(const std::string& key) {
    return "GTEX Error !\nThe index '" + key + "' was not found.";
}

// A table reading the given file text from a temporary folder.
struct FileTable {
    TempDir dir;
    cmcGTex table;
    explicit FileTable(const std::string& text) {
        WriteFileText(dir.File("T.OVL"), text);
        table.OpenFile(dir.File("T.OVL"));
    }
};

const char* kSmall = "notes before the first key\n"
                     "#A\n"
                     "x\n"
                     "y\n"
                     "#\n"
                     "#B\n"
                     "b0\n"
                     "\n"
                     "b2\n"
                     "#\n"
                     "#C \n"
                     "with blank\n"
                     "#A\n"
                     "second A\n"
                     "#End_Of_Ovl\n"
                     "#Hidden\n"
                     "never indexed\n";

} // namespace

TEST(cmcGTex, ReadsSectionsLinesAndWhatFollows) {
    FileTable f(kSmall);
    cmcGTex& t = f.table;
    EXPECT_EQ(t.GetText("A"), "x");
    EXPECT_EQ(t.GetLine("A", 1), "y");
    EXPECT_EQ(t.GetLine("A", 2), "#");
    EXPECT_EQ(t.GetLine("A", 3), "#B");
    EXPECT_EQ(t.GetLine("A", 4), "b0");
    EXPECT_EQ(t.GetJoinedText("A"), "x\ny");
    EXPECT_EQ(t.GetJoinedText("B"), "b0\n\nb2");
    // Backwards restarts at the body start; forwards continues from the cursor.
    EXPECT_EQ(t.GetLine("B", 2), "b2");
    EXPECT_EQ(t.GetLine("B", 0), "b0");
    EXPECT_EQ(t.GetLine("B", 1), "");
    // A trailing space is part of the key; the first of two equal keys wins.
    EXPECT_EQ(t.GetText("C "), "with blank");
    EXPECT_EQ(t.GetText("A"), "x");
    EXPECT_EQ(t.GetText("End_Of_Ovl"), "#Hidden");
    EXPECT_EQ(t.GetJoinedText("End_Of_Ovl"), "");
    EXPECT_EQ(t.CountListLines("A", 255), 2);
    EXPECT_EQ(t.CountListLines("A", 1), 1);
    EXPECT_EQ(t.AllKeys(), (std::vector<std::string>{"A", "B", "C ", "A", "End_Of_Ovl"}));
    EXPECT_TRUE(t.HasKey("B"));
    EXPECT_FALSE(t.HasKey("Hidden"));
}

TEST(cmcGTex, MissingKeysAndLinesAreFatal) {
    FileTable f(kSmall);
    cmcGTex& t = f.table;
    const std::pair<std::string, std::function<void()>> cases[] = {
        {"C", [&] { t.GetText("C"); }},
        {"", [&] { t.GetText(""); }},
        {"a", [&] { t.GetText("a"); }},
        {"Hidden", [&] { t.GetText("Hidden"); }},
        {"Hidden", [&] { t.GetJoinedText("Hidden"); }},
        {"B", [&] { t.GetLine("B", -1); }},
        // Line 3 of the last section is the last line of the file; line 4 lies beyond it.
        {"End_Of_Ovl", [&] { t.GetLine("End_Of_Ovl", 2); }},
    };
    for (const auto& [key, call] : cases)
        EXPECT_EQ(FatalText(call), missing(key)) << key;
    EXPECT_EQ(t.GetLine("End_Of_Ovl", 1), "never indexed");
    // The table still works after a failed lookup.
    EXPECT_EQ(t.GetText("B"), "b0");
}

TEST(cmcGTex, SourcesThatCannotBeReadFailEveryLookup) {
    TempDir dir;
    // A pipe in place of the file must not hang the open.
    ASSERT_EQ(mkfifo(dir.File("pipe.OVL").c_str(), 0600), 0);
    cmcGTex none;
    EXPECT_EQ(FatalText([&] { none.GetText("GI_Sys_AppTitle"); }), missing("GI_Sys_AppTitle"));
    for (const std::string& name :
         {std::string(), dir.File("absent.OVL"), dir.Path() + "/", dir.File("pipe.OVL")}) {
        cmcGTex t;
        t.OpenFile(name);
        EXPECT_FALSE(t.HasKey("GI_Sys_AppTitle")) << name;
        EXPECT_EQ(FatalText([&] { t.GetText("GI_Sys_AppTitle"); }), missing("GI_Sys_AppTitle")) << name;
    }
}

TEST(cmcGTex, FileFormDetails) {
    // CR LF line ends, a file without End_Of_Ovl whose last line has no line end, and a line longer
    // than the longest line, which is read in pieces.
    const std::string longLine(cmcGTex::kMaxLine + 10, 'L');
    FileTable f("#Win\r\none\r\n#\r\n#Long\n" + longLine + "\nafter\n#Last\nl0\nl1");
    cmcGTex& t = f.table;
    EXPECT_EQ(t.GetText("Win"), "one");
    EXPECT_EQ(t.GetJoinedText("Win"), "one");
    EXPECT_EQ(t.GetLine("Win", 1), "#");
    EXPECT_EQ(t.GetLine("Long", 0), longLine.substr(0, cmcGTex::kMaxLine));
    EXPECT_EQ(t.GetLine("Long", 1), longLine.substr(cmcGTex::kMaxLine));
    EXPECT_EQ(t.GetLine("Long", 2), "after");
    EXPECT_EQ(t.GetLine("Last", 1), "l1");
    // The last section ends with the file: the joined text stops there instead of failing.
    EXPECT_EQ(t.GetJoinedText("Last"), "l0\nl1");
    EXPECT_EQ(t.CountListLines("Last", 255), 2);
    EXPECT_EQ(FatalText([&] { t.GetLine("Last", 2); }), missing("Last"));
    EXPECT_EQ(FatalText([&] { t.GetText("Other"); }), missing("Other"));
}

TEST(cmcGTex, OpenFileStartsAfresh) {
    TempDir dir;
    WriteFileText(dir.File("1.OVL"), "#K\none\n#");
    WriteFileText(dir.File("2.OVL"), "#K\ntwo\n#");
    cmcGTex t;
    t.OpenFile(dir.File("1.OVL"));
    EXPECT_EQ(t.GetText("K"), "one");
    t.OpenFile(dir.File("2.OVL"));
    EXPECT_EQ(t.FileName(), dir.File("2.OVL"));
    EXPECT_EQ(t.GetText("K"), "two");
    EXPECT_FALSE(t.AttachLines({"#K", "three", "#End_Of_Ovl"}));
}

TEST(cmcGTex, InMemoryLines) {
    cmcGTex t;
    const std::vector<std::string> lines = {
        "#GI_Sheet_FBitsR_Style",
        "(FixedCols=1)(FixedRows=1)",
        "#GI_PMenu_NoItem_Body",
        "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}",
        "#",
        "#CellModel_iQp",
        "(%CT_Null.CL_Misc_QuarterPillar)\nignored after the line feed",
        "#End_Of_Ovl",
        "#After",
    };
    ASSERT_TRUE(t.AttachLines(lines));
    EXPECT_FALSE(t.AttachLines(lines));
    EXPECT_EQ(t.GetText("GI_Sheet_FBitsR_Style"), "(FixedCols=1)(FixedRows=1)");
    EXPECT_EQ(t.GetLine("GI_Sheet_FBitsR_Style", 1), "#GI_PMenu_NoItem_Body");
    EXPECT_EQ(t.GetJoinedText("GI_PMenu_NoItem_Body"), "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}");
    EXPECT_EQ(t.GetText("CellModel_iQp"), "(%CT_Null.CL_Misc_QuarterPillar)");
    EXPECT_EQ(FatalText([&] { t.GetText("After"); }), missing("After"));
    EXPECT_EQ(FatalText([&] { t.GetLine("End_Of_Ovl", 1); }), missing("End_Of_Ovl"));

    // Lines without the end key end the scan at the end of the array.
    cmcGTex open;
    open.AttachLines({"#K", "v"});
    EXPECT_EQ(open.GetText("K"), "v");
    EXPECT_FALSE(open.HasKey("Z"));
}

// Random reads across a file larger than the read window and with far more lines than the line
// cache holds: every answer must match the file.
TEST(cmcGTex, RandomReadsMatchTheFile) {
    std::mt19937 rng(7);
    std::vector<std::string> all;                         // every physical line of the file
    std::vector<std::pair<std::string, size_t>> sections; // key and index of its first body line
    for (int s = 0; s < 400; ++s) {
        std::string key = "GI_Test_" + std::to_string(s);
        all.push_back("#" + key);
        sections.emplace_back(key, all.size());
        int count = static_cast<int>(rng() % 12);
        for (int i = 0; i < count; ++i)
            all.push_back(std::string(rng() % 400, static_cast<char>('a' + rng() % 26)));
        all.push_back("#");
    }
    all.push_back("#End_Of_Ovl");
    std::string text;
    for (const std::string& line : all)
        text += line + "\n";
    ASSERT_GT(text.size(), 3u * 64 * 1024);
    FileTable f(text);
    for (int i = 0; i < 5000; ++i) {
        const auto& [key, first] = sections[rng() % sections.size()];
        size_t n = rng() % 15;
        if (first + n >= all.size())
            continue;
        ASSERT_EQ(f.table.GetLine(key, static_cast<int>(n)), all[first + n]) << key << " line " << n;
    }
}

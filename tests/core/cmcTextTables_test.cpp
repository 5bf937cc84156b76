#include "core/cmcTextTables.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The repository: OSTREL_SOURCE_DIR when the test runner sets it, else the folder this test lives in.
std::string SourceDir() {
    if (const char* dir = std::getenv("OSTREL_SOURCE_DIR"); dir && *dir)
        return dir;
    const std::string self = __FILE__;
    return self.substr(0, self.rfind("/tests/"));
}

// A program folder with a language index listing the given lines, and two languages' overlays.
struct AppFolder {
    TempDir dir;
    explicit AppFolder(const std::string& languageLines) {
        WriteFileText(dir.File("ZV7104K.OVL"), "#GI_Sys_Language\n" + languageLines + "#\n#End_Of_Ovl\n");
        WriteFileText(dir.File("ENG.OVL"), "#GI_Sys_AppTitle\nOstrel\n#\n#GI_Sys_MyHelpOvl\nENGH.OVL\n#\n");
        WriteFileText(dir.File("DEU.OVL"),
                      "#GI_Sys_AppTitle\nOstrel DE\n#\n#GI_Sys_MyHelpOvl\nDEUH.OVL\n#\n");
        WriteFileText(dir.File("ENGH.OVL"), "#GI_AppItem_Context_ID\nen\n#\n");
        WriteFileText(dir.File("DEUH.OVL"), "#GI_AppItem_Context_ID\nde\n#\n");
    }
};

} // namespace

TEST(cmcTextTables, ChoosesTheLanguageAndItsHelp) {
    AppFolder app("English\tENG.OVL\nDeutsch\tDEU.OVL\nBroken\n");
    cmcTextTables tables;
    EXPECT_EQ(tables.Load(app.dir.Path(), 1), 1);
    EXPECT_EQ(tables.LanguageCount(), 3);
    EXPECT_EQ(tables.LanguageName(0), "English");
    EXPECT_EQ(tables.LanguageName(1), "Deutsch");
    EXPECT_EQ(tables.Text().GetText("GI_Sys_AppTitle"), "Ostrel DE");
    EXPECT_EQ(tables.Help().GetText("GI_AppItem_Context_ID"), "de");

    // A stored index beyond the list (or below it) falls back to the first language.
    for (int stored : {3, 7, -1}) {
        EXPECT_EQ(tables.OpenLanguage(stored), 0) << stored;
        EXPECT_EQ(tables.Text().GetText("GI_Sys_AppTitle"), "Ostrel");
        EXPECT_EQ(tables.Help().GetText("GI_AppItem_Context_ID"), "en");
    }

    // A language line without a file name: the failure names the key that was asked for.
    EXPECT_EQ(FatalText([&] { tables.OpenLanguage(2); }),
              "GTEX Error !\nThe index 'GI_Sys_MyHelpOvl' was not found.");
}

// A language that leaves a key out reads the first language's text; a key neither holds stays fatal.
TEST(cmcTextTables, AKeyTheLanguageLacksReadsTheFirstLanguage) {
    AppFolder app("English\tENG.OVL\nDeutsch\tDEU.OVL\n");
    WriteFileText(app.dir.File("ENG.OVL"), "#GI_Sys_AppTitle\nOstrel\n#\n#GI_Sys_MyHelpOvl\nENGH.OVL\n#\n"
                                           "#GI_Only_English\nline 0\nline 1\n#\n");
    cmcTextTables tables;
    ASSERT_EQ(tables.Load(app.dir.Path(), 1), 1);
    EXPECT_EQ(tables.Text().GetText("GI_Sys_AppTitle"), "Ostrel DE");
    EXPECT_TRUE(tables.Text().HasKey("GI_Only_English"));
    EXPECT_EQ(tables.Text().GetJoinedText("GI_Only_English"), "line 0\nline 1");
    EXPECT_FALSE(tables.Text().HasKey("GI_Nowhere"));
    EXPECT_EQ(FatalText([&] { tables.Text().GetText("GI_Nowhere"); }),
              "GTEX Error !\nThe index 'GI_Nowhere' was not found.");
    // The first language itself has nothing to fall back on.
    ASSERT_EQ(tables.OpenLanguage(0), 0);
    EXPECT_EQ(tables.Text().GetText("GI_Only_English"), "line 0");
    ASSERT_EQ(tables.OpenLanguage(1), 1);
    EXPECT_EQ(tables.Text().GetText("GI_Only_English"), "line 0");
}

TEST(cmcTextTables, CountsAtMost255Languages) {
    std::string lines;
    for (int i = 0; i < 300; ++i)
        lines += "L" + std::to_string(i) + "\tENG.OVL\n";
    AppFolder app(lines);
    cmcTextTables tables;
    EXPECT_EQ(tables.Load(app.dir.Path() + "/", 254), 254);
    EXPECT_EQ(tables.LanguageCount(), 255);
    EXPECT_EQ(tables.OpenLanguage(255), 0);
}

TEST(cmcTextTables, MissingLanguageIndexIsFatal) {
    TempDir empty;
    cmcTextTables tables;
    EXPECT_EQ(FatalText([&] { tables.Load(empty.Path(), 0); }),
              "GTEX Error !\nThe index 'GI_Sys_Language' was not found.");
}

// The overlays the program ships open the way the program opens them.
TEST(cmcTextTables, ShippedOverlaysLoad) {
    cmcTextTables tables;
    EXPECT_EQ(tables.Load(SourceDir() + "/data", 0), 0);
    EXPECT_GE(tables.LanguageCount(), 1);
    EXPECT_EQ(tables.LanguageName(0), "English");
    EXPECT_EQ(tables.Text().GetText("GI_Sys_AppTitle"), "Ostrel");
    // The second language translates the menus and the Common sheet and reads the rest in English.
    ASSERT_GE(tables.LanguageCount(), 2);
    EXPECT_EQ(tables.OpenLanguage(1), 1);
    EXPECT_EQ(tables.LanguageName(1), "Deutsch");
    EXPECT_EQ(tables.Text().GetLine("GI_Menu_Main_Body", 0), "+&Datei");
    EXPECT_EQ(tables.Text().GetText("GI_Sheet_Common_Style"), "(TitleString=Allgemein)(ColSizing)");
    EXPECT_EQ(tables.Text().GetText("GI_Sheet_SetMode_Style"), "(TitleString=Set mode)(ColSizing)");
    for (const char* key : {"GI_AppItem_Topic_ID", "GI_AppItem_Key_Assign_Topic_ID", "GI_AppItem_Context_ID"})
        EXPECT_TRUE(tables.Help().HasKey(key)) << key;
}

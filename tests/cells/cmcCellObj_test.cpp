#include "cells/cmcCellObj.h"

#include "cells/cmcCellNumber.h"
#include "core/cmcGTex.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// The named attribute sets the program ships, plus two that only tests use.
std::vector<std::string> Overlay() {
    return {
        "#CellModel_Basic",
        "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
        "#CellModel_iChI",
        "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
        "#CellModel_eWh",
        "S<_WHB",
        "#CellModel_iQp",
        "(%CT_Null.CL_Misc_QuarterPillar)",
        "#CellModel_Nested",
        "($eWh)(Color=clRed)",
        "#CellModel_Loop",
        "B($Loop)",
        "#End_Of_Ovl",
    };
}

struct CellObj : ::testing::Test {
    cmcGTex tex;
    cmcCellObj::Counters counters{};
    cmcCellObj cell;
    CellObj() { tex.AttachLines(Overlay()); }

    std::string_view Parse(std::string_view row, const cmcCellObj* parent = nullptr) {
        return cell.ParseCell(row, tex, &counters, parent, false);
    }
    std::string Fatal(std::string_view row, cmcCellObj::Counters* c) {
        return FatalText([&] { cell.ParseCell(row, tex, c, nullptr, false); });
    }
};

// What a parsed cell should hold; unset fields are not checked.
struct Expect {
    const char* text;
    std::optional<std::string> display{};
    std::optional<uint32_t> color{};
    std::optional<uint8_t> layout{};
    std::optional<uint8_t> mark{};
    std::optional<uint8_t> more{};
    std::optional<int32_t> image{};
};

void Check(const cmcCellObj& c, const Expect& e) {
    SCOPED_TRACE(e.text);
    if (e.display) {
        EXPECT_EQ(c.GetDisplayText(), *e.display);
    }
    if (e.color) {
        EXPECT_EQ(c.color, *e.color);
    }
    if (e.layout) {
        EXPECT_EQ(c.layoutFlags, *e.layout);
    }
    if (e.mark) {
        EXPECT_EQ(c.markFlags, *e.mark);
    }
    if (e.more) {
        EXPECT_EQ(c.moreFlags, *e.more);
    }
    if (e.image) {
        EXPECT_EQ(c.imageIndex, *e.image);
    }
}

} // namespace

// Flags and their negation, with no parent.
TEST_F(CellObj, FlagCharacters) {
    const Expect cases[] = {
        {"{<~}", "", {}, 0x00, 0x00},
        {"{^-}", "", {}, 0x05, 0x00},
        {"{>_}", "", {}, 0x0A, 0x00},
        {"{WH+B}", "", {}, 0xF0, 0x00},
        {"{ST}", "", {}, 0x00, 0x0C},
        {"{X}", "", {}, 0x00, 0x01},
        {"{XQ}", "", {}, 0x00, 0x02},   // the later rule wins
        {"{QX!Q}", "", {}, 0x00, 0x00}, // !Q (or !X) clears the rule
        {"{B!B}", "", {}, 0x00, 0x00},
        {"{!! B}", "", {}, 0x80, 0x00}, // a negation lasts one character, blanks included
        {"{!\\BB}", "", {}, 0x80, 0x00},
        {"{zy 7}x", "x", {}, 0x00, 0x00}, // unknown characters are ignored
        {"{B}a{S}b", "ab", {}, 0x80, 0x04},
        {"{(Color=clRed)B}Ch", "Ch", 0x0000FFu, 0x80, 0x00},
    };
    for (const Expect& e : cases) {
        Parse(e.text);
        Check(cell, e);
    }
}

// Flags start from the parent's; negation clears an inherited flag but not an alignment.
TEST_F(CellObj, FlagsOverParent) {
    cmcCellObj parent;
    Parse("{>B X S}");
    parent = cell;
    const Expect cases[] = {
        {"{!B}", "", {}, 0x02, 0x05}, {"{!<}", "", {}, 0x80, 0x05}, {"{!Q}", "", {}, 0x82, 0x04},
        {"{!S}", "", {}, 0x82, 0x01}, {"{}", "", {}, 0x82, 0x05},
    };
    for (const Expect& e : cases) {
        Parse(e.text, &parent);
        Check(cell, e);
    }
}

TEST_F(CellObj, DisplayText) {
    counters[0] = 4;
    counters[3] = 1234567;
    counters[4] = -42;
    const Expect cases[] = {
        {"{(Color=clRed)B}Ch\\(@ch0+1)", "Ch5", 0x0000FFu, 0x80},
        {"Ch\\( @ch0 +\t10 )", "Ch14"},
        {"\\(@ch3)", "123456"}, // at most six characters of the number
        {"\\(@ch4)", "-42"},
        {"   ", ""},
        {" \t a b \r", "a b"},
        {"a\\nb\\Nc", "a\nb\nc"},
        {"\\_x\\_", " x "},
        {"\\\\ \\q", "\\ q"},
        {"a\\{b}c", "ac"},              // there is no escape for a brace
        {"open \\(@ch0", "open (@ch0"}, // a reference without its ')' stays text
        {"Ünïcödé \\é", "Ünïcödé é"},
        {"end\\", "end\\"},
    };
    for (const Expect& e : cases) {
        Parse(e.text);
        Check(cell, e);
    }
}

TEST_F(CellObj, CuttingCellsOffARow) {
    struct Case {
        const char* row;
        const char* display;
        const char* rest;
    };
    const Case cases[] = {
        {"A\\|B|rest", "A|B", "rest"},
        {"A|", "A", ""},
        {"A", "A", ""},
        {"|B|C", "", "B|C"},
        {"{(%CL_Null:x\\|y)}T|next", "T", "next"},
        {"tail\\", "tail\\", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.row), c.rest) << c.row;
        EXPECT_EQ(cell.GetDisplayText(), c.display) << c.row;
    }
    // Skipping only resets the cell (from its parent) and still cuts the row.
    cmcCellObj parent;
    Parse("{B(%CT_Mch.CL_Mch_No[3]:p)}P");
    parent = cell;
    EXPECT_EQ(cell.ParseCell("{S(ImageIndex=9)}X|rest", tex, &counters, &parent, true), "rest");
    EXPECT_EQ(cell.markFlags, 0);
    EXPECT_EQ(cell.imageIndex, -1);
    EXPECT_EQ(cell.layoutFlags, 0x80);
    EXPECT_EQ(cell.cell, CL_Mch_No);
}

TEST_F(CellObj, BehaviourBinding) {
    struct Case {
        const char* text;
        int32_t category;
        int32_t cellNo;
        int32_t parameter;
        std::optional<std::string> argument;
    };
    counters[3] = 9;
    const Case cases[] = {
        {"{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}", 1, CL_PMenu_Edit, 0, "Enter"},
        {"{(%CT_PopupMenu.)}", 1, 1754, 0, std::nullopt},
        {"{(%CT_Null.CL_Misc_QuarterPillar)}", 0, CL_Misc_QuarterPillar, 0, std::nullopt},
        {"{(%Flex0[5]:On)}", 47, Flex0, 5, "On"},
        {"{(%Flex0[-3])}", 47, Flex0, -3, std::nullopt},
        {"{(%Flex0[@ch3]:x)}", 47, Flex0, 9, "x"},
        {"{(%Flex0[5]:)}", 47, Flex0, 5, ""},
        {"{(%CL_Mch_FreqR:a\\.b)}", 47, CL_Mch_FreqR, 0, "a.b"},
        {"{(%CT_Mch.CL_Mch_FreqR:a.b\\\\c\\))}", 2, CL_Mch_FreqR, 0, "a.b\\c)"},
        {"{(%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1)}", 47, CL_Check_Mch, 0,
         "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1"},
        {"{(%)}", 47, 1754, 0, std::nullopt},
        {"{(%.)}", 47, 1754, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        cell = cmcCellObj(); // a reset keeps category and parameter, so each case starts afresh
        Parse(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(cell.category, c.category);
        EXPECT_EQ(cell.cell, c.cellNo);
        EXPECT_EQ(cell.parameter, c.parameter);
        EXPECT_EQ(cell.argument, c.argument);
    }
}

TEST_F(CellObj, ConfigurationErrorsAreFatal) {
    struct Case {
        const char* text;
        bool withCounters;
        const char* message;
    };
    const Case cases[] = {
        {"{(%CL_Mch_FreqR:a.b)}", true, "Cannot use the specified category.\n'CL_Mch_FreqR:a'"},
        {"{(%CL_Nope)}", true, "Cannot use the specified cell.\n'CL_Nope'"},
        {"{(%CT_Nope.CL_Null)}", true, "Cannot use the specified category.\n'CT_Nope'"},
        {"\\(@ch12)", true, "Ch No. Error"},
        {"\\(@chx)", true, "Ch No. Error"},
        {"\\(ch0)", true, "Ch No. Error"},
        {"{(@ch++)}", true, "Ch No. Error"},
        {"{(%Flex0[@ch10])}", true, "Ch No. Error"},
        {"\\(@ch0)", false, "Ch No. Error"},
        {"{(@ch0++)}", false, "Ch No. Error"},
        {"{(%Flex0[@ch0])}", false, "Ch No. Error"},
        {"{($Nope)}", true, "GTEX Error !\nThe index 'CellModel_Nope' was not found."},
        {"{($Loop)}", true, "Named attribute sets nest too deep (a set uses itself?).\n'CellModel_Loop'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Fatal(c.text, c.withCounters ? &counters : nullptr), c.message) << c.text;
}

TEST_F(CellObj, CountersLiveAcrossCells) {
    std::string_view row = "{(@ch1++)}\\(@ch1)|{(@ch1++)(@ch2 = 7)}\\(@ch1)/\\(@ch2)|{(@ch2=-3)}\\(@ch2+1)|";
    std::vector<std::string> shown;
    while (!row.empty()) {
        row = Parse(row);
        shown.push_back(cell.GetDisplayText());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "2/7", "-2"}));
    EXPECT_EQ(counters[1], 2);
    EXPECT_EQ(counters[2], -3);
}

TEST_F(CellObj, Properties) {
    cmcCellObj parent;
    Parse("{(ImageIndex=7)(Flag2=1)(Flag6=1)}");
    parent = cell;
    ASSERT_EQ(parent.markFlags, 0x40);
    ASSERT_EQ(parent.moreFlags, 0x04);
    const Expect cases[] = {
        {"{(ImageIndex=3)}", "", {}, {}, 0x40, 0x04, 3},
        {"{}", "", {}, {}, 0x40, 0x04, 7}, // inherited
        {"{(Flag0=1)(Flag2=0)}", "", {}, {}, 0x10, 0x04},
        {"{(Flag3=1)(Flag4=1)(Flag8=1)(Flag6=0)}", "", {}, {}, 0xC0, 0x11},
        // Malformed Flag properties change nothing.
        {"{(Flag9=1)(Flag1=2)(Flag1 =1)(Flag1=1x)(Flag=1)(Flag10=1)}", "", {}, {}, 0x40, 0x04},
        {"{(Color=clHightlightText)}", "", 0x8000000Eu},
        {"{(Color=clHighlightText)}", "", 0x80000005u}, // not a known name: unchanged
        {"{(Color=clRed)(Color= clBlue)}", "", 0x0000FFu},
        {"{(Color=clBtnHighlight)}", "", 0x80000014u},
        {"{(Color=clTeal)}", "", 0x808000u},
        {"{(Colour=clRed)(Nonsense)}", "", 0x80000005u},
    };
    for (const Expect& e : cases) {
        Parse(e.text, &parent);
        Check(cell, e);
    }
    // A menu refresh clears Flag0 to Flag4 and keeps the others.
    Parse("{(Flag0=1)(Flag3=1)(Flag4=1)(Flag5=1)(Flag8=1)S}");
    cell.ClearMenuState();
    EXPECT_EQ(cell.markFlags, cmcCellObj::kSelectable);
    EXPECT_EQ(cell.moreFlags, 0x12);
}

TEST_F(CellObj, NamedAttributeSets) {
    Parse("{($Basic)}");
    EXPECT_EQ(cell.layoutFlags, 0x04); // left, middle
    EXPECT_EQ(cell.color, 0x80000005u);
    ASSERT_TRUE(cell.font);
    EXPECT_EQ(cell.font->charset, 1);
    EXPECT_EQ(cell.font->color, 0x80000008u);
    EXPECT_EQ(cell.font->height, -17);
    EXPECT_EQ(cell.PopupMenuName(), "GI_PMenu_Edit");

    Parse("{($iChI)}");
    EXPECT_EQ(cell.layoutFlags, 0x35); // centre, middle, W, H
    EXPECT_EQ(cell.color, 0x808080u);
    ASSERT_TRUE(cell.font);
    EXPECT_EQ(cell.font->color, 0xFFFFFFu);
    EXPECT_EQ(cell.font->styles, cmcCellFont::fsBold);

    Parse("{($eWh)}");
    EXPECT_EQ(cell.layoutFlags, 0xB8); // left, bottom, W, H, B
    EXPECT_EQ(cell.markFlags, cmcCellObj::kSelectable);

    Parse("{($iQp)}");
    EXPECT_EQ(cell.category, 0);
    EXPECT_EQ(cell.cell, CL_Misc_QuarterPillar);

    // A set refines earlier attributes and is refined by later ones.
    Parse("{>($Nested)(Color=clLime)}");
    EXPECT_EQ(cell.layoutFlags, 0xB8);
    EXPECT_EQ(cell.color, 0x00FF00u);
}

TEST_F(CellObj, SaturatedFontNumbersStayNegatable) {
    for (const char* text :
         {"{(Font=,,,-99999999999,,,)}", "{(Font=,,,99999999999,,,)}", "{(Font=,,,,99999999999,,)}",
          "{(Font=,,,,-99999999999,,)}", "{(Font=,,,-99999999999,,,)(Font=,,,%200,,,)}"}) {
        SCOPED_TRACE(text);
        Parse(text);
        ASSERT_TRUE(cell.font);
        EXPECT_NE(cell.font->height, INT32_MIN);
        EXPECT_NE(cell.font->size, INT32_MIN);
    }
}

TEST_F(CellObj, Fonts) {
    cmcCellObj parent;
    Parse("{(Font=DEFAULT_CHARSET, Face,clNavy,-20,,fsItalic,fpVariable)}");
    parent = cell;
    ASSERT_TRUE(parent.font);
    cmcCellFont start = *parent.font;
    EXPECT_EQ(start.face, "Face");
    EXPECT_EQ(start.size, 15);

    struct Case {
        const char* text;
        cmcCellFont (*expect)(cmcCellFont);
    };
    const Case cases[] = {
        {"{(Font=,,,%150,,,)}", [](cmcCellFont f) { return f.SetHeight(-30), f; }},
        {"{(Font=,,,0,,,)}", [](cmcCellFont f) { return f; }},
        {"{(Font=)}", [](cmcCellFont f) { return f; }},
        {"{(Font=,,,,%50,,)}", [](cmcCellFont f) { return f.SetSize(7), f; }},
        {"{(Font=,,,,12,,)}", [](cmcCellFont f) { return f.SetSize(12), f; }},
        {"{(Font=,,,%1,,,)}", [](cmcCellFont f) { return f.SetHeight(1), f; }}, // 0 becomes 1
        {"{(Font=\tSHIFTJIS_CHARSET ,  Mono,clRed,,,,fpFixed)}",
         [](cmcCellFont f) {
             f.charset = 128, f.face = "Mono", f.color = 0x0000FF, f.pitch = cmcCellFont::fpFixed;
             return f;
         }},
        {"{(Font=NO_CHARSET,,clNope,,,fsNope,fpNope)}", [](cmcCellFont f) { return f; }},
        {"{(Font=,,,,,fsBold+fsUnderline,)}",
         [](cmcCellFont f) { return f.styles = cmcCellFont::fsBold | cmcCellFont::fsUnderline, f; }},
        {"{(Font=,,,,,fsNope+fsStrikeOut,)}",
         [](cmcCellFont f) { return f.styles = cmcCellFont::fsStrikeOut, f; }},
        {"{(Font=,,,-10,,,)(Font=,,,%200,,,)}", [](cmcCellFont f) { return f.SetHeight(-20), f; }},
    };
    for (const Case& c : cases) {
        Parse(c.text, &parent);
        ASSERT_TRUE(cell.font) << c.text;
        EXPECT_EQ(*cell.font, c.expect(start)) << c.text;
    }

    // Without a font of its own the cell reads the basic cell's; a parent without a font gives the
    // default font as the starting point.
    Parse("{}", &parent);
    EXPECT_FALSE(cell.font);
    Parse("{(Font=,,,%200,,,)}");
    ASSERT_TRUE(cell.font);
    EXPECT_EQ(cell.font->height, cmcCellFont().height * 2);
}

TEST_F(CellObj, InheritanceFromTheBasicCell) {
    cmcCellObj basic;
    Parse("{($Basic)(%CT_Mch.CL_Mch_No[4]:arg)(ImageIndex=2)B}Basic text");
    basic = cell;

    Parse("{S}own", &basic);
    EXPECT_EQ(cell.category, 2);
    EXPECT_EQ(cell.cell, CL_Mch_No);
    EXPECT_EQ(cell.parameter, 4);
    EXPECT_EQ(cell.argument, "arg");
    EXPECT_EQ(cell.imageIndex, 2);
    EXPECT_EQ(cell.layoutFlags, 0x84);
    EXPECT_EQ(cell.GetDisplayText(), "own");
    EXPECT_FALSE(cell.font);
    EXPECT_TRUE(cell.popupMenu.empty());
    EXPECT_EQ(cell.PopupMenuName(), "GI_PMenu_Edit"); // found on the parent

    Parse("", &basic); // never shows the parent's text
    EXPECT_EQ(cell.GetDisplayText(), "");
    Parse("{(%CL_Mch_FreqR:own)(PopupMenu=GI_PMenu_NoItem)}", &basic);
    EXPECT_EQ(cell.category, 2);
    EXPECT_EQ(cell.cell, CL_Mch_FreqR);
    EXPECT_EQ(cell.parameter, 4);
    EXPECT_EQ(cell.argument, "own");
    EXPECT_EQ(cell.PopupMenuName(), "GI_PMenu_NoItem");

    // Without a parent, category and parameter survive a reset; everything else returns to defaults.
    cell.ResetCell();
    cell.parent = nullptr;
    cell.ResetCell();
    EXPECT_EQ(cell.category, 2);
    EXPECT_EQ(cell.parameter, 4);
    EXPECT_EQ(cell.cell, 1754);
    EXPECT_FALSE(cell.argument);
    EXPECT_EQ(cell.imageIndex, -1);
    EXPECT_EQ(cell.color, 0x80000005u);
    EXPECT_EQ(cell.PopupMenuName(), "");
}

TEST_F(CellObj, CopiesAreDeep) {
    Parse("{($Basic)(%Flex0[1]:On)(Flag5=1)}Shown");
    cmcCellObj copy;
    copy.CopyCell(cell);
    Parse("{(Font=,,,-40,,,)(%Flex0[2]:Off)}Other");
    EXPECT_EQ(copy.GetDisplayText(), "Shown");
    EXPECT_EQ(copy.argument, "On");
    EXPECT_EQ(copy.parameter, 1);
    EXPECT_TRUE(copy.StateFlag(5));
    ASSERT_TRUE(copy.font);
    EXPECT_EQ(copy.font->height, -17);
    EXPECT_EQ(copy.PopupMenuName(), "GI_PMenu_Edit");
}

// The shipped overlay defines the sets that sheets and the bit-field editor name, with the same
// meaning as the fixture's copies above.
TEST_F(CellObj, ShippedSetsMatch) {
    const char* dataDir = std::getenv("OSTREL_DATA_DIR");
    ASSERT_NE(dataDir, nullptr);
    cmcGTex shipped;
    shipped.OpenFile(std::string(dataDir) + "/ENG.OVL");
    for (const char* name : {"Basic", "iChI", "eWh", "iQp"}) {
        const std::string text = std::string("{($") + name + ")}x";
        cmcCellObj expected;
        expected.ParseCell(text, tex, nullptr, nullptr);
        cmcCellObj got;
        got.ParseCell(text, shipped, nullptr, nullptr);
        SCOPED_TRACE(name);
        EXPECT_EQ(got.layoutFlags, expected.layoutFlags);
        EXPECT_EQ(got.markFlags, expected.markFlags);
        EXPECT_EQ(got.color, expected.color);
        EXPECT_EQ(got.font, expected.font);
        EXPECT_EQ(got.popupMenu, expected.popupMenu);
        EXPECT_EQ(got.category, expected.category);
        EXPECT_EQ(got.cell, expected.cell);
    }
}

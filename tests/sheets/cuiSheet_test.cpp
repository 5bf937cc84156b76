// Sheet building from overlay text: style keys, row keywords, loops, repeat rows, fitted sizes,
// stored column widths and the row events of list sheets.
#include "sheets/cuiSheet.h"

#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "core/cmcMemorySettings.h"
#include "model/indLayout.h"
#include "model/indRptList.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheetText.h"
#include "sheets/iuiSh_Mch.h"
#include "sheets/iuiSheet.h"
#include "sheets/iuiSheetFactory.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// An overlay with one sheet "GI_Sheet_T" of the given style and cell lines.
struct Fixture {
    cmcGTex tex;
    cmcEeprom work;
    cmcFixedCanvas canvas;
    cmcMemorySettings settings;
    cuiSheetEnv env;

    Fixture(const std::string& style, std::vector<std::string> cells, std::vector<std::string> more = {}) {
        std::vector<std::string> lines = {"#CellModel_iChI",
                                          "^-WH(Color=clGray)",
                                          "#",
                                          "#CellModel_eWh",
                                          "S<_WHB",
                                          "#",
                                          "#GI_Sheet_T_Style",
                                          style,
                                          "#",
                                          "#GI_Sheet_T_BasicCell",
                                          "{(Font=,,,-10,,,)}",
                                          "#",
                                          "#GI_Sheet_T_Cells"};
        for (auto& c : cells)
            lines.push_back(c);
        lines.push_back("#");
        for (auto& m : more)
            lines.push_back(m);
        lines.push_back("#End_Of_Ovl");
        tex.AttachLines(lines);
        work.SetSize(indLayout::kWorkSize);
        env.texts = &tex;
        env.work = &work;
        env.canvas = &canvas;
    }
    std::unique_ptr<cuiSheet> Build(const std::string& text = "GI_Sheet_T") {
        return iuiSheetFactory::Build(env, text);
    }
};

std::vector<int32_t> Lines(const cuiSheet& s) {
    std::vector<int32_t> out;
    for (int32_t r = 0; r < s.RowCount(); ++r)
        out.push_back(s.Row(r).line);
    return out;
}

TEST(cuiSheetText, SplitsClassKeyAndKind) {
    const auto t = cuiSheetText::Split("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3");
    EXPECT_EQ(t.className, "St_ChBank");
    EXPECT_EQ(t.overlayKey, "GI_Sheet_Mch_Lmr");
    EXPECT_EQ(t.kind, "Bank 3");
    const auto plain = cuiSheetText::Split("GI_Sheet_X]a[b");
    EXPECT_EQ(plain.className, "");
    EXPECT_EQ(plain.overlayKey, "GI_Sheet_X]a[b");
    EXPECT_EQ(plain.KindLetter(), 0);
}

TEST(cuiSheet, FixedCountsLeaveOneScrollingColumnAndRow) {
    Fixture one("(FixedCols=1)(FixedRows=1)", {"A"});
    auto s = one.Build();
    EXPECT_EQ(s->FixedCols(), 1);
    EXPECT_EQ(s->GridFixedCols(), 0);
    EXPECT_EQ(s->GridFixedRows(), 0);
    Fixture two("(FixedCols=1)(FixedRows=1)", {"A", "B"});
    auto t = two.Build();
    EXPECT_EQ(t->GridFixedCols(), 0);
    EXPECT_EQ(t->GridFixedRows(), 1);
}

TEST(cuiSheet, StyleKeys) {
    struct Case {
        const char* style;
        bool titled;
        int32_t multi;
    } cases[] = {
        {"(TitleString=)", false, 0},     {"(TitleString=Banks)(MultiSelect=Line)", true, 2},
        {"(MultiSelect=cell)", false, 0}, {"(MultiSelect=Cell)", false, 1},
        {"(MultiSelect)", false, 0},
    };
    for (const Case& c : cases) {
        Fixture f(c.style, {"A"});
        auto s = f.Build();
        EXPECT_EQ(s->TitleText().has_value(), c.titled) << c.style;
        EXPECT_EQ(s->MultiSelectMode(), c.multi) << c.style;
    }
    Fixture f("junk (NoPrintX)(NoPrint)(FixedRows)(PrintFontRatio=80)(TitleColor=clRed)(ColSizing)", {"A"});
    auto s = f.Build();
    EXPECT_TRUE(s->NoPrint());
    EXPECT_FALSE(s->IsPrintable());
    EXPECT_EQ(s->FixedRows(), 0);
    EXPECT_EQ(s->PrintFontRatio(), 80);
    EXPECT_EQ(s->TitleColor(), 0x0000FFu);
    EXPECT_TRUE(s->ColSizing());
}

TEST(cuiSheet, CellCountsOfARow) {
    Fixture f("", {"A|B|C", "A|B|C|D|", "|A|", "A||"});
    auto s = f.Build();
    EXPECT_EQ(s->ColCount(), 4);
    EXPECT_EQ(s->Cell(0, 2).GetDisplayText(), "");
    EXPECT_EQ(s->Cell(1, 2).GetDisplayText(), "A");
}

TEST(cuiSheet, FiveLineLoopRepeatsOneLineWithRisingParameters) {
    Fixture f("", {"|{($iChI)}Head", ":(LoopFrom 3)", "|{(%CT_Mch.CL_Mch_FreqR[5])}x", ":(End)"});
    auto s = f.Build();
    EXPECT_EQ(s->ColCount(), 2);
    EXPECT_EQ(Lines(*s), (std::vector<int32_t>{0, 2, 2, 2}));
    for (int32_t r = 1; r <= 3; ++r) {
        EXPECT_EQ(s->Cell(1, r).parameter, 4 + r);
        EXPECT_EQ(s->Cell(1, r).GetDisplayText(), "x");
    }
    EXPECT_EQ(s->RowHeight(3), s->RowHeight(1));
}

TEST(cuiSheet, ALoopRowWithASaturatedParameterKeepsItsLargestValue) {
    Fixture f("", {":(LoopFrom 3)", "|{(%CT_Mch.CL_Mch_FreqR[99999999999])}x", ":(End)"});
    auto s = f.Build();
    for (int32_t r = 0; r < 3; ++r)
        EXPECT_EQ(s->Cell(1, r).parameter, INT32_MAX);
}

TEST(cuiSheet, SkipsAndLoopCounts) {
    struct Case {
        std::vector<std::string> cells;
        std::vector<int32_t> lines;
    } cases[] = {
        // Never 2 skips the next two lines, control rows included.
        {{":(Never 2)", ":(LoopFrom 5)", "A", "B"}, {3}},
        {{":(LoopFrom 0)", "A", ":(End)", "B"}, {1, 3}},
        {{":(LoopFrom)", "A", ":(End)", "B"}, {1, 3}},
        {{":(LoopFrom 2)(SelectOFF)", "A", "B", ":(LoopTo)"}, {1, 2, 1, 2}},
        {{":(Only_Pmr 1)", "P", ":(Only_Lmr 1)", "L", ":(Only_NFont 1)", "N", ":(Only_TFont 1)", "T"},
         {3, 5}},
        // An empty list keeps its body once and still ends, so the next loop works.
        {{":(TG List)", "A", ":(End)", ":(LoopFrom 2)", "B", ":(End)"}, {1, 4, 4}},
    };
    for (const Case& c : cases) {
        Fixture f("", c.cells);
        auto s = f.Build();
        EXPECT_EQ(Lines(*s), c.lines) << c.cells[0];
    }
}

TEST(cuiSheet, SelectFlagFollowsControlRows) {
    Fixture f("(MultiSelect=Line)", {"{S}H", ":(SelectOFF)", "{S}A", ":(SelectON)", "{S}B"});
    auto s = f.Build();
    EXPECT_TRUE(s->CellAt(0, 0).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_FALSE(s->CellAt(0, 1).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_TRUE(s->CellAt(0, 2).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_EQ(s->FirstSelectableRow(), 0);
}

TEST(cuiSheet, TalkGroupLoopFollowsTheList) {
    for (int count : {1, 5}) {
        Fixture f("", {"H", ":(TG List)", "{(%CT_Nxdn_Tg.CL_Nxdn_Grp_Id_Dec[0])}", ":(End)"});
        indLayout::Put16(f.work.Data(), indLayout::kCount34, count);
        auto s = f.Build();
        EXPECT_EQ(s->RowCount(), 1 + count);
        EXPECT_EQ(s->Cell(0, count).parameter, count - 1);
    }
}

TEST(cuiSheet, OnlyMakerOnCommonSheets) {
    for (bool maker : {false, true}) {
        Fixture f("", {":(Only_Maker 1)", "M", "A"});
        f.env.makerMode = maker;
        EXPECT_EQ(f.Build("[St_Common]GI_Sheet_T")->RowCount(), maker ? 2 : 1);
        // A plain sheet does not know the keyword and keeps the row.
        EXPECT_EQ(f.Build("GI_Sheet_T")->RowCount(), 2);
    }
}

TEST(cuiSheet, ConfigurationErrorsAreFatal) {
    Fixture f("", {":(SelectOFF)"});
    EXPECT_EQ(FatalText([&] { f.Build(); }), "Illegal Cell assign");
    Fixture g("", {"A|B"});
    auto s = g.Build();
    EXPECT_EQ(FatalText([&] { s->CellAt(2, 0); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s->CellAt(0, 1); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s->CellAt(-1, 0); }), "Illegal Cell selection");
}

TEST(cuiSheet, FittedSizesComeFromTheMeasuringCanvas) {
    // Font height -10: a line is 12 pixels high, a character 8 pixels wide on the fixed canvas.
    Fixture f("", {"{W}ABCD|{H}one\\ntwo|x"});
    auto s = f.Build();
    EXPECT_EQ(s->ColWidth(0), 4 * 8 + 8);
    EXPECT_EQ(s->ColWidth(1), 1);
    EXPECT_EQ(s->RowHeight(0), 2 * 12 + 2);
    EXPECT_EQ(s->ColWidth(2), 1);
    f.env.canvas = nullptr;
    EXPECT_EQ(f.Build()->ColWidth(0), 1);
}

TEST(cuiSheet, StoredColumnWidths) {
    const std::vector<std::string> reg = {"#GI_CellWidthRegList", "GI_Sheet_Other:Other", "GI_Sheet_T:Tee",
                                          "#"};
    Fixture f("(FixedRows=1)", {"{W}Head|{W}H2|{W}H3", "{SW}a|b|{S}c"}, reg);
    f.env.settings = &f.settings;
    auto s = f.Build();
    EXPECT_EQ(s->WidthStoreName(), "Tee");
    // Only the columns selectable in the first row below the fixed rows are kept.
    EXPECT_TRUE(f.settings.ReadInt("Display/Tee/colwidth", "0").has_value());
    EXPECT_FALSE(f.settings.ReadInt("Display/Tee/colwidth", "1").has_value());
    f.settings.WriteInt("Display/Tee/colwidth", "0", 77);
    f.settings.WriteInt("Display/Tee/colwidth", "2", 99999);
    f.settings.WriteInt("Display/Other/colwidth", "0", 5);
    auto t = f.Build();
    EXPECT_EQ(t->ColWidth(0), 77);
    EXPECT_EQ(t->ColWidth(2), cuiSheet::kMaxRestoredWidth);
    // A pending reset forgets every listed sheet's widths and stores the fitted ones.
    auto u = iuiSheetFactory::Create(f.env, "GI_Sheet_T");
    u->SetPendingWidthReset(true);
    u->Show();
    EXPECT_FALSE(f.settings.ReadInt("Display/Other/colwidth", "0").has_value());
    EXPECT_EQ(f.settings.ReadInt("Display/Tee/colwidth", "0"), u->FittedWidth(0));
    EXPECT_EQ(u->ColWidth(0), u->FittedWidth(0));
    // A sheet without a list line keeps nothing.
    Fixture g("", {"{S}a"}, {"#GI_CellWidthRegList", "#"});
    g.env.settings = &g.settings;
    g.Build();
    EXPECT_TRUE(g.settings.All().empty());
}

TEST(cuiSheet, PrintingScalesAndLimitsStoredWidths) {
    const std::vector<std::string> reg = {"#GI_CellWidthRegList", "GI_Sheet_T:Tee", "#"};
    Fixture f("", {"{SW}abc"}, reg);
    f.env.settings = &f.settings;
    f.settings.WriteInt("Display/Tee/colwidth", "0", 10);
    auto s = iuiSheetFactory::Create(f.env, "GI_Sheet_T");
    s->SetPrinter(600, 96);
    s->Show();
    // Fitted on the printer: scale 6, so 3 characters + 8 x 6.
    EXPECT_EQ(s->FittedWidth(0), 3 * 8 + 48);
    EXPECT_LE(s->ColWidth(0), s->FittedWidth(0));
    EXPECT_GT(s->ColWidth(0), 10);
    EXPECT_EQ(f.settings.ReadInt("Display/Tee/colwidth", "0"), 10); // printing never stores
}

TEST(iuiSh_Mch, EditableListsKeepABlankRowAndGrowInPlace) {
    Fixture f("(FixedRows=1)(MultiSelect=Line)",
              {"{($iChI)}No.", ":(LoopFrom)", "{($eWh)(%CT_Nxdn_Tg.CL_Nxdn_Grp_Id_Dec[@ch0])}", ":(LoopTo)"});
    indLayout::Put16(f.work.Data(), indLayout::kCount34, 3);
    auto s = f.Build("GI_Sheet_T,Q");
    auto* list = dynamic_cast<iuiSh_Mch*>(s.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(s->RowCount(), 1 + 3 + 1);
    EXPECT_EQ(s->TableRows(), 510);
    EXPECT_TRUE(s->CellAt(0, 3).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_FALSE(s->CellAt(0, 4).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_EQ(s->Cell(0, 4).parameter, 3);
    EXPECT_EQ(s->Cell(0, 100).parameter, 99); // spare rows are built
    s->AddRows(2);
    EXPECT_EQ(s->RowCount(), 7);
    EXPECT_TRUE(s->CellAt(0, 5).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    EXPECT_FALSE(s->CellAt(0, 6).flags & cuiSheet::CellEntry::kMultiSelectAllowed);
    s->RemoveRows(10); // never below the header and the blank row
    EXPECT_EQ(s->RowCount(), 2);
    // Printing shows the entries only.
    auto p = iuiSheetFactory::Create(f.env, "GI_Sheet_T,Q");
    p->SetPrinter(96, 96);
    p->Show();
    EXPECT_EQ(p->RowCount(), 1 + 3);
}

TEST(iuiSh_Mch, CountedListWithoutEntriesSkipsItsRow) {
    Fixture f("", {"H", ":(LoopFrom)", "{(%CT_Null.CL_Language_Text[@ch0])}", ":(End)", "T"},
              {"#GI_Sys_Language", "#"});
    f.env.languages = &f.tex;
    auto s = f.Build("[St_Mch]GI_Sheet_T,Y");
    EXPECT_EQ(Lines(*s), (std::vector<int32_t>{0, 4}));
}

TEST(iuiSheet, WindowSheetsKeepNoColumnWidths) {
    const std::vector<std::string> reg = {"#GI_CellWidthRegList", "GI_Sheet_T:Tee", "GI_Sheet_U:You", "#"};
    Fixture f("", {"{SW}abc"}, reg);
    f.env.settings = &f.settings;
    f.settings.WriteInt("Display/Tee/colwidth", "0", 200);
    f.settings.WriteInt("Display/You/colwidth", "0", 50);
    {
        iuiSheet window(f.env, "GI_Sheet_T");
        window.SetPendingWidthReset(true);
        window.Show();
        EXPECT_EQ(window.ColWidth(0), 3 * 8 + 8); // the stored 200 is not restored
        window.SetColWidth(0, 123);
    }
    // Neither saved when the sheet goes, nor reset for the other sheets.
    EXPECT_EQ(f.settings.ReadInt("Display/Tee/colwidth", "0"), 200);
    EXPECT_EQ(f.settings.ReadInt("Display/You/colwidth", "0"), 50);
}

TEST(iuiSheet, WithUsableMarksTheTitleOnlyWhileMarkingIsOn) {
    const std::vector<std::string> texts = {"#GI_AppInd_chSheet_Usable_Title", "(usable)",           "#",
                                            "#GI_AppInd_chSheet_Usable_Font",  ",,clBlue,,,fsBold,", "#"};
    Fixture f("(TitleString=Channel)(WithUsable)", {"a"}, texts);
    iuiSheet off(f.env, "GI_Sheet_T");
    off.Show();
    EXPECT_EQ(off.Title(), "Channel");
    EXPECT_FALSE(off.TitleFont().has_value());
    f.env.usableMarking = true;
    iuiSheet on(f.env, "GI_Sheet_T");
    on.Show();
    EXPECT_EQ(on.Title(), "Channel (usable)");
    ASSERT_TRUE(on.TitleFont().has_value());
    // A plain sheet does not know the key.
    EXPECT_EQ(f.Build()->Title(), "Channel");
}

TEST(iuiSh_Mch, RepeaterSheetShowsItsGroupOfTheList) {
    Fixture f("(FixedRows=1)",
              {"{($iChI)}No.", ":(LoopFrom)", "{($eWh)(%CT_Rpt.CL_Rpt_FreqR[@ch0])}", ":(LoopTo)"});
    uint8_t* w = f.work.Data();
    const uint8_t sizes[8] = {3, 0, 4, 2, 0, 0, 0, 0};
    for (int g = 0; g < 8; ++g)
        w[indRptList::kRptSizes + g] = sizes[g];
    struct Case {
        const char* kind;
        int32_t first, count;
    };
    for (const Case& c :
         {Case{"R 9,0", 0, 3}, Case{"R 9,1", 3, 0}, Case{"R 9,2", 3, 4}, Case{"R 9,3", 7, 2}}) {
        auto s = f.Build(std::string("GI_Sheet_T,") + c.kind);
        auto* list = dynamic_cast<iuiSh_Mch*>(s.get());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->FirstEntry(), c.first) << c.kind;
        EXPECT_EQ(list->EntryCount(), c.count) << c.kind;
        EXPECT_EQ(s->RowCount(), 1 + c.count + 1) << c.kind; // entries and the blank row
        EXPECT_EQ(s->Cell(0, 1).parameter, c.first) << c.kind;
    }
    // Damaged sizes never reach past the list's 160 entries.
    w[indRptList::kRptSizes + 0] = 150;
    w[indRptList::kRptSizes + 1] = 200;
    indRptList list(f.work, indRptList::kRepeaters);
    EXPECT_EQ(list.FirstOf(1), 150);
    EXPECT_EQ(list.GroupSize(1), 10);
    EXPECT_EQ(list.FirstOf(2), 160);
    EXPECT_EQ(list.GroupSize(2), 0);
}

} // namespace

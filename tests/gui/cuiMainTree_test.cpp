// The main window's live parts on the shipped overlays and initial data: the navigation tree follows
// bank names, bank contents and the warning check; sheets reopen where they were left and keep the
// column widths the user set; the language switch; the clone comment in a saved file.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiTreeSheets.h"

#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr int kWaitMs = 2000;

struct TreeFixture : MainWindowFixture {
    TempDir dir;
    std::string savePath;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool, const std::string&, const std::string&) { return savePath; };
        StartWindow(s);
    }
    std::string BankNode(int bank) { return "[St_ChBank]GI_Sheet_Mch_Lmr,Bank " + std::to_string(bank); }
    int Channels(int bank) { return indLayout::GroupCount(window->Current().Data(), bank); }
    // The first bank with (or without) channels.
    int FirstBank(bool withChannels) {
        for (int b = 0; b < indLayout::kGroups; ++b)
            if ((Channels(b) > 0) == withChannels)
                return b;
        return -1;
    }
    // The open sheet's first cell with this cell number and parameter; false when it has none.
    bool FindCell(int32_t cell, int32_t parameter, int& col, int& row) {
        cuiSheet& sheet = window->SheetView()->Sheet();
        for (row = 0; row < sheet.RowCount(); ++row)
            for (col = 0; col < sheet.ColCount(); ++col)
                if (sheet.Cell(col, row).cell == cell && sheet.Cell(col, row).parameter == parameter)
                    return true;
        return false;
    }
    // Types a text into a cell of the open sheet, as the in-place editor commits it.
    void Enter(int32_t cell, int32_t parameter, const std::string& text) {
        int col = 0, row = 0;
        ASSERT_TRUE(FindCell(cell, parameter, col, row)) << cell;
        window->SheetView()->ExecuteCell(col, row, cmcCellCapsule::kKeyReturn, 0, &text);
    }
    QString MenuTitles() {
        QStringList titles;
        for (QAction* a : window->menuBar()->actions())
            titles << a->text();
        return titles.join(QLatin1Char(' '));
    }
};

TEST_F(TreeFixture, BankNodesFollowTheirNamesAndChannels) {
    const int used = FirstBank(true);
    const int empty = FirstBank(false);
    ASSERT_GE(used, 0);
    ASSERT_GE(empty, 0);
    QTreeWidgetItem* node = window->TreeNode(BankNode(used));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(0).toStdString(),
              iuiTreeSheets::BankCaption(window->Current().Data(), used, "Bank"));
    EXPECT_EQ(cuiMain::ImageOf(node), 5); // an ordinary bank with channels
    EXPECT_EQ(window->TreeNode(BankNode(empty)), nullptr);

    // A rename on the bank operation sheet reaches the tree once the typing has paused.
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_BankOp_Lmr"));
    Enter(CL_Mch_BankText, used, "ALPHA");
    EXPECT_TRUE(window->WarningCheckPending());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->TreeNode(BankNode(used))->text(0) == "ALPHA"; }, kWaitMs));
    // A name of blanks only shows the overlay's caption and the bank's number.
    Enter(CL_Mch_BankText, used, "   ");
    const QString unnamed = QString("Bank %1").arg(used + 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->TreeNode(BankNode(used))->text(0) == unnamed; }, kWaitMs));
    // A SmarTrunk bank carries the SmarTrunk icon.
    int col = 0, row = 0;
    ASSERT_TRUE(FindCell(CL_Mch_SmarTrunk, used, col, row));
    window->SheetView()->ExecuteCell(col, row, cmcCellCapsule::kKeySpace, 0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return cuiMain::ImageOf(window->TreeNode(BankNode(used))) == 7; }, kWaitMs));

    // The first channel of a bank gives it a node; the sheet open stays open.
    ASSERT_TRUE(window->Handler()->AddChannels(empty, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->TreeNode(BankNode(empty)) != nullptr; }, kWaitMs));
    EXPECT_EQ(window->OpenSheetText(), "GI_Sheet_BankOp_Lmr");
    EXPECT_EQ(window->Tree()->currentItem(), window->TreeNode("GI_Sheet_BankOp_Lmr"));
    // Its last channel going takes the node away; while its sheet is open the next node opens.
    ASSERT_TRUE(window->SelectTreeNode(BankNode(empty)));
    window->Handler()->RemoveChannels(empty, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->TreeNode(BankNode(empty)) == nullptr; }, kWaitMs));
    EXPECT_NE(window->OpenSheetText(), BankNode(empty));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->SheetView() != nullptr; }, kWaitMs));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(TreeFixture, AWarningMarkFollowsTheEditThatMakesItAndTheOneThatMendsIt) {
    const int bank = FirstBank(true);
    ASSERT_GE(bank, 0);
    const int channel = indLayout::GroupStart(window->Current().Data(), bank);
    ASSERT_TRUE(window->SelectTreeNode(BankNode(bank)));
    int col = 0, row = 0;
    ASSERT_TRUE(FindCell(CL_Mch_WNM, channel, col, row));
    indCellHandler& handler = *window->Handler();
    EXPECT_EQ(cuiMain::MarkOf(window->TreeNode(BankNode(bank))), cuiMain::TreeMark::None);
    // Space steps the bandwidth through its choices; some of them need an option the data lacks.
    auto stepUntil = [&](bool warned) {
        for (int i = 0; i < 8 && handler.WarningOf(CT_Mch, CL_Mch_WNM, channel) != warned; ++i)
            window->SheetView()->ExecuteCell(col, row, cmcCellCapsule::kKeySpace, 0);
        return handler.WarningOf(CT_Mch, CL_Mch_WNM, channel) == warned;
    };
    ASSERT_TRUE(stepUntil(true));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cuiMain::MarkOf(window->TreeNode(BankNode(bank))) == cuiMain::TreeMark::Warning; },
        kWaitMs));
    // A collapsed branch shows the mark of the node it hides.
    QTreeWidgetItem* top = window->TreeNode("GI_Sheet_Memory_CH_Top");
    ASSERT_NE(top, nullptr);
    top->setExpanded(false);
    EXPECT_EQ(cuiMain::MarkOf(top), cuiMain::TreeMark::Warning);
    top->setExpanded(true);
    EXPECT_EQ(cuiMain::MarkOf(top), cuiMain::TreeMark::None);

    ASSERT_TRUE(stepUntil(false));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cuiMain::MarkOf(window->TreeNode(BankNode(bank))) == cuiMain::TreeMark::None; },
        kWaitMs));
}

TEST_F(TreeFixture, ASheetReopensWhereItWasLeft) {
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_KeyDisp"));
    cuiSheetView* view = window->SheetView();
    const int first = view->Grid().Row();
    // Far down the sheet, so that it has scrolled.
    view->MoveBy(0, 1000);
    const int row = view->Grid().Row(), col = view->Grid().Col(), top = view->Grid().TopRow();
    ASSERT_GT(row, first);
    ASSERT_GT(top, 0);
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_KeyDisp"));
    view = window->SheetView();
    EXPECT_EQ(view->Grid().Row(), row);
    EXPECT_EQ(view->Grid().Col(), col);
    EXPECT_EQ(view->Grid().TopRow(), top);
}

TEST_F(TreeFixture, LanguageSwitchTranslatesMenusTreeAndCommonSheet) {
    ASSERT_TRUE(window->SelectTreeNode("[St_Common]GI_Sheet_Common"));
    ASSERT_GE(tables.LanguageCount(), 2);
    // Language... is a menu bar entry that opens the language window.
    const QList<QAction*> language = window->CommandActions("CL_Menu_Lang");
    ASSERT_EQ(language.size(), 1);
    EXPECT_EQ(language[0]->menu(), nullptr);
    EXPECT_TRUE(window->menuBar()->actions().contains(language[0]));
    window->ApplyLanguage(1);
    EXPECT_EQ(env.language, 1);
    EXPECT_TRUE(MenuTitles().contains("&Datei")) << MenuTitles().toStdString();
    EXPECT_FALSE(MenuTitles().contains("&File"));
    // The sheet open reopens in the new language.
    ASSERT_NE(window->SheetView(), nullptr);
    EXPECT_EQ(window->OpenSheetText(), "[St_Common]GI_Sheet_Common");
    EXPECT_EQ(window->SheetView()->TitleBar()->text(), "Allgemein");
    int col = 0, row = 0;
    ASSERT_TRUE(FindCell(CL_Comm_CloneComment1, 0, col, row));
    EXPECT_EQ(window->SheetView()->Sheet().Cell(0, row).displayText, "Klonkommentar 1");
    EXPECT_TRUE(window->Tree()->topLevelItem(0)->text(0).startsWith(QString::fromUtf8("Funkgerät")));
    // A sheet the language leaves untranslated reads English.
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    EXPECT_EQ(window->SheetView()->TitleBar()->text(), "Set mode");

    window->ApplyLanguage(0);
    EXPECT_TRUE(MenuTitles().contains("&File"));
    EXPECT_EQ(window->OpenSheetText(), "GI_Sheet_SetMode");

    // The language sheet of the tree chooses as well: Enter on a language's row.
    const std::string languages = "[St_Mch]GI_Sheet_LanguageSel,Y";
    ASSERT_TRUE(window->SelectTreeNode(languages));
    ASSERT_TRUE(FindCell(CL_Language_Text, 1, col, row));
    window->SheetView()->ExecuteCell(col, row, cmcCellCapsule::kKeyReturn, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return MenuTitles().contains("&Datei"); }, kWaitMs));
    EXPECT_EQ(env.language, 1);
    EXPECT_EQ(window->OpenSheetText(), languages);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(TreeFixture, SaveWritesTheCloneCommentsIntoTheFile) {
    ASSERT_TRUE(window->SelectTreeNode("[St_Common]GI_Sheet_Common"));
    Enter(CL_Comm_CloneComment1, 0, "Site 4");
    Enter(CL_Comm_CloneComment2, 0, "spare");
    savePath = dir.File("comment.ocd");
    ASSERT_TRUE(window->SaveCurrent());
    const std::string text = ReadFileText(savePath);
    const size_t line = text.find("\r\n") + 2;
    EXPECT_EQ(text.substr(line, text.find("\r\n", line) - line), "#Comment=Site 4spare");
}

} // namespace

// Column widths are the user's: a narrowed column stays narrow when its sheet opens again, in this
// session and the next.
TEST(cuiMainColumns, ANarrowedColumnStaysNarrow) {
    cmcMemorySettings store;
    auto run = [&](const std::function<void(cuiMain&)>& body) {
        RunWindowSession(store, [&](indEnviron&, cuiMain& window) { body(window); });
    };
    const std::string sheet = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
    int col = -1, wide = 0;
    run([&](cuiMain& window) {
        ASSERT_TRUE(window.SelectTreeNode(sheet));
        cuiGrid& grid = window.SheetView()->Grid();
        for (int c = grid.FixedCols(); c < grid.ColCount() && col < 0; ++c)
            if (grid.ColWidth(c) > 60 && window.SheetView()->Selectable(c, grid.FixedRows()))
                col = c;
        ASSERT_GE(col, 0);
        wide = grid.ColWidth(col);
        // The user drags the column's border: the grid reports the new widths.
        grid.SetColWidth(col, 30);
        grid.onColWidthsChanged();
        ASSERT_TRUE(window.SelectTreeNode("GI_Sheet_SetMode"));
        ASSERT_TRUE(window.SelectTreeNode(sheet));
        EXPECT_EQ(window.SheetView()->Grid().ColWidth(col), 30);
    });
    ASSERT_GE(col, 0);
    run([&](cuiMain& window) {
        ASSERT_TRUE(window.SelectTreeNode(sheet));
        EXPECT_EQ(window.SheetView()->Grid().ColWidth(col), 30);
        // Wider again, and so it stays.
        cuiGrid& grid = window.SheetView()->Grid();
        grid.SetColWidth(col, wide + 20);
        grid.onColWidthsChanged();
    });
    run([&](cuiMain& window) {
        ASSERT_TRUE(window.SelectTreeNode(sheet));
        EXPECT_EQ(window.SheetView()->Grid().ColWidth(col), wide + 20);
    });
}

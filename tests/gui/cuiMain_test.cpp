// The main window on the shipped overlay and initial data: start-up, a sheet opened from the tree
// and worked with the keyboard, and the file commands with their prompts.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "platform/cuiQtLoop.h"
#include "sheets/cuiSheet.h"
#include "support/TestSupport.h"

#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct MainFixture : MainWindowFixture {
    TempDir dir;
    std::deque<std::string> paths; // answers of the file dialogs; "" cancels
    std::vector<bool> dialogs;     // true for a save dialog

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool save, const std::string&, const std::string&) {
            dialogs.push_back(save);
            std::string p = paths.empty() ? std::string() : paths.front();
            if (!paths.empty())
                paths.pop_front();
            return p;
        };
        StartWindow(s);
    }
    // Changes one byte of the radio data the way an edit would.
    void Edit() {
        cmcEeprom& w = window->Current();
        w.SetByte(0x0200, static_cast<uint8_t>(w.GetByte(0x0200) ^ 0x01));
    }
};

TEST_F(MainFixture, StartsWithTheInitialDataMenuToolbarAndTree) {
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(window->Path(), "");
    EXPECT_TRUE(window->windowTitle().startsWith("Untitled - "));
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_TRUE(menus.contains("&File"));
    EXPECT_TRUE(menus.contains("&Help"));
    ASSERT_NE(window->Tree(), nullptr);
    ASSERT_GT(window->Tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(window->Tree()->topLevelItem(0)->text(0).endsWith("(LMR)"));
    // The periodic step opens the first sheet of the tree.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->SheetView() != nullptr; }, 2000));
    ASSERT_NE(window->SheetView(), nullptr);
    EXPECT_FALSE(window->OpenSheetText().empty());
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(MainFixture, TreeNodeOpensItsSheetAndTheCursorSitsOnASelectableCell) {
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    ASSERT_NE(window->SheetView(), nullptr);
    EXPECT_EQ(window->OpenSheetText(), "GI_Sheet_SetMode");
    cuiSheetView& view = *window->SheetView();
    cuiGrid& grid = view.Grid();
    EXPECT_EQ(grid.ColCount(), view.Sheet().ColCount());
    EXPECT_EQ(grid.RowCount(), view.Sheet().RowCount());
    ASSERT_TRUE(view.Selectable(grid.Col(), grid.Row()));
    // Down moves to the next selectable cell; the cursor never rests on a non-selectable one.
    int row = grid.Row();
    view.MoveBy(0, 1);
    EXPECT_GT(grid.Row(), row);
    EXPECT_TRUE(view.Selectable(grid.Col(), grid.Row()));
    view.MoveBy(0, -100);
    EXPECT_EQ(grid.Row(), row);
    // A sheet text the overlay does not define opens nothing and does not end the program.
    EXPECT_FALSE(window->OpenSheet("GI_Sheet_NotThere"));
    EXPECT_EQ(window->SheetView(), nullptr);
}

TEST_F(MainFixture, AnEditInASheetSurvivesSaveAndReopen) {
    std::string path = dir.File("saved.ocd");
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    cuiSheetView& view = *window->SheetView();
    cmcEeprom before = window->Current();
    // Space steps a choice cell to its next value.
    view.ExecuteCell(view.Grid().Col(), view.Grid().Row(), cmcCellCapsule::kKeySpace, 0);
    ASSERT_TRUE(window->Modified());
    EXPECT_TRUE(window->windowTitle().contains("*"));
    paths.push_back(path);
    ASSERT_TRUE(window->SaveCurrent()); // no path yet: Save As
    EXPECT_EQ(dialogs, std::vector<bool>{true});
    EXPECT_EQ(window->Path(), path);
    EXPECT_FALSE(window->Modified());
    EXPECT_TRUE(std::filesystem::exists(path));
    cmcEeprom saved = window->Current();

    window->New();
    EXPECT_EQ(window->Path(), "");
    EXPECT_TRUE(window->Current() == before);
    ASSERT_TRUE(window->OpenFile(path));
    EXPECT_TRUE(window->Current() == saved);
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(env.recent.DisplayText(0, ""), path);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(MainFixture, ChangedDataIsOfferedForSavingBeforeItIsReplaced) {
    std::string path = dir.File("a.ocd");
    paths.push_back(path);
    ASSERT_TRUE(window->SaveAs());
    Edit();
    // Cancel keeps everything; the prompt names the file.
    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    window->New();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("'a.ocd'"), std::string::npos);
    EXPECT_EQ(box.shown[0].buttons, cmcMessageBox::Buttons::YesNoCancel);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->Path(), path);
    // Reopening the open file offers Save As; cancelling the dialog cancels the open.
    box.answers.push_back(cmcMessageBox::Answer::Yes);
    EXPECT_FALSE(window->OpenFile(path));
    EXPECT_EQ(box.shown.back().text, tables.Text().GetJoinedText("GI_Mess_Confirm_WriteAnother"));
    EXPECT_TRUE(window->Modified());
    // No drops the changes.
    box.answers.push_back(cmcMessageBox::Answer::No);
    window->New();
    EXPECT_FALSE(window->Modified());
}

TEST_F(MainFixture, FileErrorsLeaveTheDataAsItWas) {
    std::string bad = dir.File("bad.ocd");
    WriteFileText(bad, "not a clone data file\n");
    Edit();
    box.answers.push_back(cmcMessageBox::Answer::No);
    uint8_t before = window->Current().GetByte(0x0200);
    EXPECT_FALSE(window->OpenFile(bad));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_NE(box.shown[1].icon, cmcMessageBox::Icon::Information);
    EXPECT_EQ(window->Current().GetByte(0x0200), before);
    EXPECT_FALSE(window->OpenFile(dir.File("missing.ocd")));
    EXPECT_EQ(box.shown.size(), 3u);
    // Saving into a folder that does not exist fails with a message and keeps the data modified.
    EXPECT_FALSE(window->Save(dir.File("no/such/folder/x.ocd")));
    EXPECT_EQ(box.shown.size(), 4u);
    EXPECT_TRUE(window->Modified());
}

} // namespace

namespace {

TEST(cuiMainStart, AWindowStoredOffTheWorkAreaKeeps16PixelsOnIt) {
    cmcMemorySettings store;
    indEnviron env{store, nullptr, 1024, 768};
    env.windowLeft = -5000;
    env.windowTop = -300;
    env.windowWidth = 400;
    env.windowHeight = 300;
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cuiQtLoop loop;
    cmcEvMan events{loop};
    ScriptedMessageBox box;
    cuiMain::Services s;
    s.env = &env;
    s.tables = &tables;
    s.events = &events;
    s.box = &box;
    cuiMain window(s);
    window.Start();
    QRect area = QApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.pos().x(), area.left() - 400 + 16);
    EXPECT_EQ(window.pos().y(), area.top());
    EXPECT_EQ(window.size(), QSize(400, 300));
}

} // namespace

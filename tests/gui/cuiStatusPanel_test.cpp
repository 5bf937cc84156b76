// The main window's status bar panels, the hidden maker and factory adjust modes, and Help
// Contents with an injected opener (no browser is started).
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "app/indEnviron.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "core/cmcAppDir.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiMain.h"
#include "gui/cuiStatusPanel.h"
#include "platform/cuiQtLoop.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

struct StatusFixture : MainWindowFixture {
    std::vector<std::string> helpOpened;
    bool helpResult = true;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.openHelp = [this](const std::string& path) {
            helpOpened.push_back(path);
            return helpResult;
        };
        StartWindow(s);
        window->resize(800, 500);
    }
    bool RunCommand(const char* name) {
        cmcCellObj cell;
        cell.cell = cmcCellIds::CellByName(name);
        return window->ExecuteCommandCell(cell);
    }
};

TEST_F(StatusFixture, TheFirstPanelShowsTheStatusTextInItsColours) {
    events.SendText(cmcEv::StatusText, 0x0000FF, 0xFFFFFF, "Copied.");
    cuiStatusPanel& panel = *window->StatusPanel();
    EXPECT_EQ(panel.Text(), "Copied.");
    EXPECT_EQ(panel.TextColor(), 0x0000FFu);
    QImage image = panel.grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() / 2), QColor(Qt::white)); // its background
    // A sender that gives no colours gets the usual ones, never text in its background colour.
    events.SendText(cmcEv::StatusText, 0, 0, "Pasted.");
    EXPECT_NE(panel.TextColor(), panel.BackColor());
    EXPECT_EQ(window->StatusText(), "Pasted.");
}

TEST_F(StatusFixture, MakerModeAsksFirstThenAddsItsPanelAndTreeBranches) {
    EXPECT_EQ(window->MakerPanel(), nullptr);
    const int nodes = [&] {
        int n = 0;
        for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it)
            ++n;
        return n;
    }();
    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    window->ApplyCommandLine({"ostrel", "/RESERVE"});
    EXPECT_FALSE(window->MakerMode());
    EXPECT_FALSE(window->Clone().MakerMode());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);

    box.answers.push_back(cmcMessageBox::Answer::Ok);
    window->ApplyCommandLine({"ostrel", "/reserve"});
    ASSERT_TRUE(window->MakerMode());
    EXPECT_TRUE(window->Clone().MakerMode()); // its writes start at address 0, after the maker caution
    ASSERT_NE(window->MakerPanel(), nullptr);
    EXPECT_EQ(window->MakerPanel()->Text(), "Maker mode");
    EXPECT_GT(window->MakerPanel()->width(),
              window->MakerPanel()->fontMetrics().horizontalAdvance("Maker mode"));
    QImage image = window->MakerPanel()->grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 128)); // navy
    int after = 0;
    for (QTreeWidgetItemIterator it(window->Tree()); *it; ++it)
        ++after;
    EXPECT_GE(after, nodes);
    // Once on, it stays on without asking again.
    window->EnterMakerMode();
    EXPECT_EQ(box.shown.size(), 2u);

    box.answers.push_back(cmcMessageBox::Answer::Ok);
    window->ApplyCommandLine({"ostrel", "/factory_adj"});
    EXPECT_TRUE(window->FactoryMode());
}

TEST_F(StatusFixture, HelpContentsOpensTheHelpFileBesideTheProgram) {
    ASSERT_TRUE(RunCommand("CL_Help_Contents"));
    ASSERT_EQ(helpOpened.size(), 1u);
    EXPECT_EQ(helpOpened[0], cmcAppFile("Ostrel.html"));
    EXPECT_TRUE(box.shown.empty());

    // A browser that cannot be started: the program's own help window shows the file.
    helpResult = false;
    RunCommand("CL_Help_Contents");
    EXPECT_TRUE(box.shown.empty());
    ASSERT_NE(window->HelpViewer(), nullptr);
    EXPECT_TRUE(window->HelpViewer()->isVisible());
}

TEST_F(StatusFixture, TypingTheMakerKeysOnTheWindowAsksForMakerMode) {
    env.makerKeys = "mkr";
    QWidget* tree = window->Tree();
    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    QTest::keyClicks(tree, "mxmkr"); // a wrong key restarts the sequence
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_FALSE(window->MakerMode());
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClicks(tree, "mkr");
    EXPECT_TRUE(window->MakerMode());
    EXPECT_EQ(box.shown.size(), 2u);
}

} // namespace

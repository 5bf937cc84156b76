// The standard keys of the desktop program on the shipped overlay and initial data: the file, print
// and help commands from anywhere in the main window, the row keys of a bank sheet, the cell keys
// (copy and paste through the system clipboard, F2), and the keys the cell editor keeps for itself.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct ShortcutFixture : MainWindowFixture {
    TempDir dir;
    std::string askedPath; // what the file dialogs answer
    int dialogs = 0;       // file dialogs shown
    int printerSetups = 0; // printing dialogs shown (each answered Cancel)
    std::vector<std::string> helpOpened;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool, const std::string&, const std::string&) {
            ++dialogs;
            return askedPath;
        };
        s.setupPrinter = [this](QPrinter&) {
            ++printerSetups;
            return false;
        };
        s.openHelp = [this](const std::string& path) {
            helpOpened.push_back(path);
            return true;
        };
        StartWindow(s);
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->OpenSheet(kBank));
        Grid().setFocus();
        ASSERT_GT(Channels(), 3);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    QLineEdit* Editor() { return Grid().viewport()->findChild<QLineEdit*>(); }
    int Channels() { return indLayout::GroupCount(window->Current().Data(), 0); }
    std::string Frequency(int n) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName("CT_Mch");
        cell.cell = cmcCellIds::CellByName("CL_Mch_FreqR");
        cell.parameter = n;
        return window->Handler()->CellText(cell, 0);
    }
    void OnFrequencyOf(int n) {
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), n));
        Grid().setFocus();
    }
    // The pop-up entry of a row command, prepared for the current cell.
    QAction* PopupEntry(const char* command) {
        View().PreparePopup(true);
        const int32_t cell = cmcCellIds::CellByName(command);
        for (QAction* a : View().PopupMenu()->actions()) {
            const auto* c = static_cast<const cmcCellObj*>(a->data().value<void*>());
            if (c && c->cell == cell) {
                return a;
            }
        }
        return nullptr;
    }
};

TEST_F(ShortcutFixture, MenuAndPopUpEntriesShowTheirKeysAndOnlyTheMenuEntryCarriesThem) {
    struct Case {
        const char* command;
        QKeySequence keys;
    };
    const Case menu[] = {
        {"CL_Menu_File_New", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"CL_Menu_File_Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"CL_Menu_File_Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"CL_Menu_File_SaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"CL_Menu_File_Print_Current", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"CL_Help_Contents", QKeySequence(Qt::Key_F1)},
    };
    for (const Case& c : menu) {
        // A key on two actions (the menu entry and its toolbar button) would be ambiguous and do
        // nothing: exactly one action has it.
        int carrying = 0;
        for (QAction* a : window->CommandActions(c.command)) {
            if (a->shortcut() == c.keys) {
                ++carrying;
            }
        }
        EXPECT_EQ(carrying, 1) << c.command;
    }
    OnFrequencyOf(1);
    const Case popup[] = {
        {"CL_PMenu_Edit", QKeySequence(Qt::Key_F2)},
        {"CL_PMenu_Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"CL_PMenu_Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"CL_PMenu_Insert", QKeySequence(Qt::Key_Insert)},
        {"CL_PMenu_Delete", QKeySequence(Qt::Key_Delete)},
        {"CL_PMenu_CarryUp", QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {"CL_PMenu_CarryDown", QKeySequence(Qt::CTRL | Qt::Key_Down)},
        {"CL_PMenu_Help", QKeySequence(Qt::Key_F1)},
    };
    for (const Case& c : popup) {
        QAction* entry = PopupEntry(c.command);
        ASSERT_NE(entry, nullptr) << c.command;
        EXPECT_EQ(entry->shortcut(), c.keys) << c.command;
        EXPECT_TRUE(entry->isShortcutVisibleInContextMenu()) << c.command;
    }
}

TEST_F(ShortcutFixture, EachKeyRunsItsCommand) {
    struct Case {
        const char* name;
        std::function<void()> before;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> check;
    };
    const std::string saved = dir.File("keys.dat");
    int channels = 0;
    std::string f0, f1;
    const Case cases[] = {
        {"Ctrl+S saves to the chosen file", [&] { askedPath = saved; }, Qt::Key_S, Qt::ControlModifier,
         [&] {
             EXPECT_TRUE(std::filesystem::exists(saved));
             EXPECT_EQ(window->Path(), saved);
             EXPECT_FALSE(window->Modified());
         }},
        {"Ctrl+Shift+S asks for a file again",
         [&] {
             dialogs = 0;
             askedPath.clear();
         },
         Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, [&] { EXPECT_EQ(dialogs, 1); }},
        {"Ctrl+O opens the chosen file", [&] { askedPath = saved; }, Qt::Key_O, Qt::ControlModifier,
         [&] { EXPECT_EQ(window->Path(), saved); }},
        {"Ctrl+N starts on the initial data", nullptr, Qt::Key_N, Qt::ControlModifier,
         [&] { EXPECT_EQ(window->Path(), ""); }},
        {"Ctrl+P prints the current sheet", [&] { ASSERT_TRUE(window->OpenSheet(kBank)); }, Qt::Key_P,
         Qt::ControlModifier, [&] { EXPECT_EQ(printerSetups, 1); }},
        {"F1 opens the help", nullptr, Qt::Key_F1, Qt::NoModifier, [&] { EXPECT_EQ(helpOpened.size(), 1u); }},
        {"Ins inserts a channel before the current one",
         [&] {
             ASSERT_TRUE(window->OpenSheet(kBank));
             channels = Channels();
             f1 = Frequency(1);
             OnFrequencyOf(1);
         },
         Qt::Key_Insert, Qt::NoModifier,
         [&] {
             EXPECT_EQ(Channels(), channels + 1);
             EXPECT_EQ(Frequency(2), f1);
         }},
        {"Del deletes it after the confirmation",
         [&] {
             OnFrequencyOf(1);
             box.answers.push_back(cmcMessageBox::Answer::Ok);
         },
         Qt::Key_Delete, Qt::NoModifier,
         [&] {
             EXPECT_EQ(Channels(), channels);
             EXPECT_EQ(Frequency(1), f1);
         }},
        {"Ctrl+Up carries a channel up",
         [&] {
             f0 = Frequency(0);
             OnFrequencyOf(1);
         },
         Qt::Key_Up, Qt::ControlModifier,
         [&] {
             EXPECT_EQ(Frequency(0), f1);
             EXPECT_EQ(Frequency(1), f0);
         }},
        {"Ctrl+Down carries it back down", [&] { OnFrequencyOf(0); }, Qt::Key_Down, Qt::ControlModifier,
         [&] {
             EXPECT_EQ(Frequency(0), f0);
             EXPECT_EQ(Frequency(1), f1);
         }},
        {"F2 opens the editor on the cell's text", [&] { OnFrequencyOf(0); }, Qt::Key_F2, Qt::NoModifier,
         [&] {
             ASSERT_TRUE(View().EditorVisible());
             EXPECT_EQ(Editor()->text().toStdString(), f0);
             View().CloseEditor(false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.shown.clear();
        // A command that replaced the data closed the sheet.
        if (!window->SheetView()) {
            ASSERT_TRUE(window->OpenSheet(kBank));
        }
        if (c.before) {
            c.before();
        }
        Grid().setFocus();
        QTest::keyClick(&Grid(), c.key, c.modifiers);
        c.check();
    }
}

TEST_F(ShortcutFixture, CtrlCAndCtrlVCopyAndPasteSelectedRows) {
    const std::string f0 = Frequency(0), f1 = Frequency(1);
    ASSERT_NE(f0, Frequency(2));
    QGuiApplication::clipboard()->setText(QStringLiteral("123.4"));
    OnFrequencyOf(0);
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&Grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(window->StatusText(), "Copied.");
    // The last copy wins: older clipboard text is not typed into a cell by the next Ctrl+V.
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());

    // On a single cell the copied rows paste from its row on.
    OnFrequencyOf(2);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Frequency(2), f0);
    EXPECT_EQ(Frequency(3), f1);

    // Onto selected rows, from the current row of the selection on.
    OnFrequencyOf(2);
    QTest::keyClick(&Grid(), Qt::Key_Up, Qt::ShiftModifier);
    ASSERT_TRUE(View().HasRange());
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Frequency(1), f0);
    EXPECT_EQ(Frequency(2), f1);

    // Ctrl+X copies the selected rows, then clears them once confirmed; they paste back.
    box.shown.clear();
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_NE(Frequency(1), f0);
    EXPECT_NE(Frequency(2), f1);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Frequency(1), f0);
    EXPECT_EQ(Frequency(2), f1);
}

TEST_F(ShortcutFixture, OnOneCellCtrlCAndCtrlVGoThroughTheSystemClipboard) {
    OnFrequencyOf(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("unchanged"));
    QTest::keyClick(&Grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), Frequency(0));
    EXPECT_FALSE(View().EditorVisible()); // Ctrl+C types no character into the cell

    // Pasted text is entered as typed text is: the cell's own checks and format apply.
    OnFrequencyOf(1);
    QGuiApplication::clipboard()->setText(QStringLiteral(" 446.2\nsecond line"));
    QTest::keyClick(&Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Frequency(1), "446.200000");
    EXPECT_TRUE(window->Modified());
}

TEST_F(ShortcutFixture, KeysOfADisabledCommandDoNothing) {
    // The blank row after the last channel has nothing to delete or carry.
    const int channels = Channels();
    OnFrequencyOf(channels);
    ASSERT_FALSE(PopupEntry("CL_PMenu_Delete")->isEnabled());
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    QTest::keyClick(&Grid(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(Channels(), channels);
    EXPECT_FALSE(window->Modified());
}

TEST_F(ShortcutFixture, TheCellEditorKeepsItsEditingKeys) {
    const int channels = Channels();
    const std::string f0 = Frequency(0);
    OnFrequencyOf(0);
    QTest::keyClick(&Grid(), Qt::Key_F2);
    ASSERT_TRUE(View().EditorVisible());
    QLineEdit* editor = Editor();
    editor->setFocus();
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), f0);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_TRUE(editor->text().isEmpty()); // Del deleted the selected text, not the channel
    QTest::keyClick(editor, Qt::Key_Insert);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text().toStdString(), f0);
    EXPECT_TRUE(View().EditorVisible());
    EXPECT_EQ(Channels(), channels);
    EXPECT_TRUE(box.shown.empty());

    // Ctrl+S from the editor saves what it holds.
    editor->setText(QStringLiteral("446.3"));
    askedPath = dir.File("edit.dat");
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::exists(askedPath));
    EXPECT_EQ(Frequency(0), "446.300000");
}

} // namespace

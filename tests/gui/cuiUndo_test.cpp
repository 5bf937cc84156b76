// Undo and Redo in the main window, driven as a user does on the shipped overlay and initial data:
// typed cells, row commands, saving, the Edit menu's entries, and the in-place editor's own keys.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiBitEditor.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiMchWindow.h"
#include "gui/cuiRptWindow.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiUndoCommands.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indRptList.h"
#include "sheets/cuiSheet.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct UndoFixture : MainWindowFixture {
    TempDir dir;
    std::string askedPath;

    void SetUp() override {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool, const std::string&, const std::string&) { return askedPath; };
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
    bool TitleMarked() { return window->windowTitle().contains(QStringLiteral(" *")); }
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
    // Types text into the current cell as a user does: the first key opens the editor, Enter commits.
    void Type(const QString& text) {
        QTest::keyClicks(&Grid(), text.left(1));
        ASSERT_TRUE(View().EditorVisible());
        QTest::keyClicks(Editor(), text.mid(1));
        QTest::keyClick(Editor(), Qt::Key_Return);
        ASSERT_FALSE(View().EditorVisible());
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        if (window->SheetView())
            Grid().setFocus();
        QTest::keyClick(window->SheetView() ? static_cast<QWidget*>(&Grid()) : window.get(), key, modifiers);
    }
    std::string UndoText() {
        EditMenu();
        return window->UndoCommands().UndoAction()->text().toStdString();
    }
    // Types into the current cell of another sheet view (a secondary window's).
    static void TypeInto(cuiSheetView& view, const QString& text) {
        view.Grid().setFocus();
        QTest::keyClicks(&view.Grid(), text.left(1));
        auto* editor = view.Grid().viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor && view.EditorVisible());
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // The Edit menu as it is about to show.
    QMenu* EditMenu() {
        const int32_t top = cmcCellIds::CellByName("CL_Menu_Edit_Top");
        for (QAction* a : window->menuBar()->actions()) {
            const auto* cell = static_cast<const cmcCellObj*>(a->data().value<void*>());
            if (a->menu() && cell && cell->cell == top) {
                emit a->menu()->aboutToShow();
                return a->menu();
            }
        }
        return nullptr;
    }
};

TEST_F(UndoFixture, CtrlZTakesATypedFrequencyBackAndTheRedoKeysMakeItAgain) {
    const std::string f0 = Frequency(0);
    OnFrequencyOf(0);
    Type(QStringLiteral("446.1"));
    ASSERT_EQ(Frequency(0), "446.100000");
    ASSERT_TRUE(TitleMarked());

    Key(Qt::Key_Z);
    EXPECT_EQ(Frequency(0), f0);
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(TitleMarked());

    struct Redo {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Redo& redo : {Redo{"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
                             Redo{"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier}}) {
        SCOPED_TRACE(redo.name);
        Key(redo.key, redo.modifiers);
        EXPECT_EQ(Frequency(0), "446.100000");
        EXPECT_TRUE(TitleMarked());
        Key(Qt::Key_Z);
        EXPECT_EQ(Frequency(0), f0);
    }
}

TEST_F(UndoFixture, AChannelTypedOnTheBlankRowGoesWithOneUndo) {
    const int channels = Channels();
    const int rows = Grid().RowCount();
    OnFrequencyOf(channels); // the blank row after the last channel
    Type(QStringLiteral("446.2"));
    ASSERT_EQ(Channels(), channels + 1);
    ASSERT_EQ(Frequency(channels), "446.200000");

    Key(Qt::Key_Z);
    EXPECT_EQ(Channels(), channels);
    EXPECT_EQ(Grid().RowCount(), rows); // the sheet lost the row again
    EXPECT_FALSE(window->Modified());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Channels(), channels + 1);
    EXPECT_EQ(Frequency(channels), "446.200000");
}

TEST_F(UndoFixture, DeletedRowsComeBackWithOneUndo) {
    const int channels = Channels();
    const int rows = Grid().RowCount();
    const std::string f1 = Frequency(1), f2 = Frequency(2), f3 = Frequency(3);
    OnFrequencyOf(1);
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(View().HasRange());
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    ASSERT_EQ(Channels(), channels - 2);
    ASSERT_EQ(Frequency(1), f3);

    Key(Qt::Key_Z);
    EXPECT_EQ(Channels(), channels);
    EXPECT_EQ(Frequency(1), f1);
    EXPECT_EQ(Frequency(2), f2);
    EXPECT_EQ(Frequency(3), f3);
    EXPECT_EQ(Grid().RowCount(), rows);
    EXPECT_FALSE(window->Modified());

    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Channels(), channels - 2);
    EXPECT_EQ(Frequency(1), f3);
}

TEST_F(UndoFixture, EachRowCommandIsOneStepThatUndoTakesBackByteForByte) {
    struct Case {
        const char* undo; // the Undo entry after the command
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int at;          // the first channel of the rows selected
        int rows;        // rows selected
        int answers;     // confirmations answered OK
        bool typedFirst; // channel 1 is edited first (Cut clears rows to the data as loaded)
    };
    const Case cases[] = {
        {"&Undo Insert rows", Qt::Key_Insert, Qt::NoModifier, 1, 2, 0, false},
        {"&Undo Move rows up", Qt::Key_Up, Qt::ControlModifier, 1, 2, 0, false},
        {"&Undo Move rows down", Qt::Key_Down, Qt::ControlModifier, 1, 1, 0, false},
        {"&Undo Cut rows", Qt::Key_X, Qt::ControlModifier, 1, 2, 1, true},
        // The cut rows (the edited channel 1 and channel 2) onto channels 3 and 4.
        {"&Undo Paste", Qt::Key_V, Qt::ControlModifier, 3, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.undo);
        if (c.typedFirst) {
            OnFrequencyOf(1);
            Type(QStringLiteral("446.1"));
        }
        const cmcEeprom before = window->Current();
        const size_t steps = window->UndoCommands().History().UndoCount();
        OnFrequencyOf(c.at);
        for (int r = 1; r < c.rows; ++r)
            QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
        for (int i = 0; i < c.answers; ++i)
            box.answers.push_back(cmcMessageBox::Answer::Ok);
        QTest::keyClick(&Grid(), c.key, c.modifiers);
        ASSERT_FALSE(window->Current() == before);
        EXPECT_EQ(UndoText(), c.undo);
        Key(Qt::Key_Z);
        EXPECT_TRUE(window->Current() == before);
        EXPECT_EQ(window->UndoCommands().History().UndoCount(), steps);
        EXPECT_EQ(window->Modified(), steps > 0);
    }
}

TEST_F(UndoFixture, UnsavedFollowsUndoAndRedoAroundASave) {
    OnFrequencyOf(0);
    Type(QStringLiteral("446.1"));
    OnFrequencyOf(1);
    Type(QStringLiteral("446.2"));
    askedPath = dir.File("undo.ocd");
    Key(Qt::Key_S);
    ASSERT_EQ(window->Path(), askedPath);
    ASSERT_FALSE(window->Modified());

    Key(Qt::Key_Z);
    EXPECT_NE(Frequency(1), "446.200000");
    EXPECT_EQ(Frequency(0), "446.100000");
    EXPECT_TRUE(window->Modified());
    EXPECT_TRUE(TitleMarked());
    Key(Qt::Key_Y);
    EXPECT_EQ(Frequency(1), "446.200000");
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(TitleMarked());
}

TEST_F(UndoFixture, TheEditMenuNamesTheStepsAndNewDataStartsANewHistory) {
    QMenu* edit = EditMenu();
    ASSERT_NE(edit, nullptr);
    ASSERT_GE(edit->actions().size(), 3);
    QAction* undo = edit->actions()[0];
    QAction* redo = edit->actions()[1];
    EXPECT_TRUE(edit->actions()[2]->isSeparator());
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo");
    EXPECT_FALSE(redo->isEnabled());

    OnFrequencyOf(0);
    Type(QStringLiteral("446.1"));
    OnFrequencyOf(1);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    EditMenu();
    EXPECT_EQ(undo->text(), "&Undo Delete rows");
    EXPECT_TRUE(undo->isEnabled());
    Key(Qt::Key_Z);
    EditMenu();
    EXPECT_EQ(undo->text(), "&Undo Edit RX frequency (MHz)");
    EXPECT_EQ(redo->text(), "&Redo Delete rows");
    EXPECT_TRUE(redo->isEnabled());
    // The sheet's own entries follow Undo and Redo.
    EXPECT_GT(edit->actions().size(), 3);

    // New data (changes not saved: No) has nothing to undo.
    box.answers.push_back(cmcMessageBox::Answer::No);
    Key(Qt::Key_N);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo");
}

TEST_F(UndoFixture, TheRepeaterWindowsOkIsOneStep) {
    constexpr int kRptBank = 1;
    // Bank 2 becomes a conventional repeater bank.
    window->Current().Data()[indLayout::kBankF1] |= uint8_t(0x80 >> kRptBank);
    window->MarkUnmodified();
    auto size = [this] { return indRptList(window->Current(), indRptList::kRepeaters).GroupSize(kRptBank); };
    const int32_t before = size();
    ASSERT_TRUE(window->OpenSheet("GI_Sheet_BankOp_Lmr"));
    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_Rpt"), kRptBank));
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window->RepeaterWindow() && window->RepeaterWindow()->isVisible(); }, 2000));
    cuiSheetView& list = *window->RepeaterWindow()->View();
    for (const char* frequency : {"450.5", "451.5"}) {
        const int32_t entry =
            indRptList(window->Current(), indRptList::kRepeaters).FirstOf(kRptBank) + size();
        // The entry's blank row after the last repeater comes with the next turn of the loop.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return list.MoveToCell(-1, cmcCellIds::CellByName("CL_Rpt_FreqR"), entry); }, 1000));
        TypeInto(list, QString::fromLatin1(frequency));
    }
    ASSERT_EQ(size(), before + 2);
    QTest::keyClick(&list.Grid(), Qt::Key_Return, Qt::ControlModifier); // OK
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->RepeaterWindow() == nullptr; }, 2000));
    EXPECT_EQ(UndoText(), "&Undo Repeater settings");

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Key(Qt::Key_Z);
    EXPECT_EQ(size(), before);
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(window->UndoCommands().History().CanUndo());
}

TEST_F(UndoFixture, AnEditInTheChannelWindowIsAStepNamedAfterItsSetting) {
    const std::string f0 = Frequency(0);
    window->OpenChannelWindow(0);
    ASSERT_NE(window->ChannelWindow(), nullptr);
    cuiSheetView& channel = *window->ChannelWindow()->View();
    ASSERT_TRUE(channel.MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_FreqR"), 0));
    TypeInto(channel, QStringLiteral("446.3"));
    ASSERT_EQ(Frequency(0), "446.300000");
    EXPECT_EQ(UndoText(), "&Undo Edit RX frequency (MHz)");

    ASSERT_TRUE(window->UndoStep());
    EXPECT_EQ(Frequency(0), f0);
    // The window shows the channel as it is again.
    cuiSheetView& shown = *window->ChannelWindow()->View();
    const cmcCellObj& cell = shown.Sheet().Cell(shown.Grid().Col(), shown.Grid().Row());
    EXPECT_EQ(window->Handler()->CellText(cell, 0), f0);
}

TEST_F(UndoFixture, AChoiceFromAListIsAStepNamedAfterItsSetting) {
    ASSERT_TRUE(window->SelectTreeNode("[St_Common]GI_Sheet_Common"));
    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Comm_Ctcss_RxAfFilt"), 0));
    auto shown = [this] {
        return window->Handler()->CellText(View().Sheet().Cell(Grid().Col(), Grid().Row()), 0);
    };
    const std::string before = shown();
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Return);
    ASSERT_NE(window->CellWindows()->List(), nullptr);
    cuiGrid& list = window->CellWindows()->List()->View().Grid();
    QTest::keyClick(&list, Qt::Key_Right);
    QTest::keyClick(&list, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CellWindows()->List() == nullptr; }, 1000));
    ASSERT_NE(shown(), before);
    EXPECT_EQ(UndoText(), "&Undo Edit RX AF filter");
    EXPECT_EQ(window->UndoCommands().History().UndoCount(), 1u);

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Key(Qt::Key_Z);
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(window->Modified());
}

TEST_F(UndoFixture, AnEditorWindowsOkIsAStepNamedAfterItsColumn) {
    ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName("CL_Mch_Scan"), 0));
    auto shown = [this] {
        return window->Handler()->CellText(View().Sheet().Cell(Grid().Col(), Grid().Row()), 0);
    };
    const std::string before = shown();
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Return);
    auto* bits = qobject_cast<cuiBitEditor*>(window->CellWindows()->Editor());
    ASSERT_NE(bits, nullptr);
    cuiGrid& ticks = bits->View().Grid();
    QTest::keyClick(&ticks, Qt::Key_Space);
    QTest::keyClick(&ticks, Qt::Key_Tab);
    QTest::keyClick(&ticks, Qt::Key_Space);
    QTest::keyClick(&ticks, Qt::Key_Return); // OK
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CellWindows()->Editor() == nullptr; }, 1000));
    ASSERT_NE(shown(), before);
    EXPECT_EQ(UndoText(), "&Undo Edit Scan list");
    EXPECT_EQ(window->UndoCommands().History().UndoCount(), 1u);

    ASSERT_TRUE(window->UndoStep());
    EXPECT_EQ(shown(), before);
}

TEST_F(UndoFixture, TheKeysInTheCellEditorTakeBackTypingNotTheData) {
    // A step to undo (channel 0) and one to redo (channel 2).
    const std::string f2 = Frequency(2);
    OnFrequencyOf(0);
    Type(QStringLiteral("446.1"));
    OnFrequencyOf(2);
    Type(QStringLiteral("446.2"));
    Key(Qt::Key_Z);
    ASSERT_EQ(Frequency(2), f2);

    OnFrequencyOf(1);
    QTest::keyClick(&Grid(), Qt::Key_F2);
    ASSERT_TRUE(View().EditorVisible());
    QLineEdit* editor = Editor();
    const QString before = editor->text();
    editor->end(false);
    QTest::keyClicks(editor, QStringLiteral("9"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), before); // the typing went
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->text(), before + "9"); // and came back
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(View().EditorVisible());
    EXPECT_EQ(Frequency(0), "446.100000");
    EXPECT_EQ(Frequency(2), f2);

    QTest::keyClick(editor, Qt::Key_Escape);
    Key(Qt::Key_Z);
    EXPECT_NE(Frequency(0), "446.100000");
}

} // namespace

// Find and replace in the main window, by keyboard only, on the shipped overlay and initial data:
// Ctrl+F, a text and Enter open the sheet of the match with the cursor on its cell, F3 and Shift+F3 go
// on round the matches, and Ctrl+H's Replace all is one undo step that Ctrl+Z takes back.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiFindCommands.h"
#include "gui/cuiFindDialog.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiUndoCommands.h"
#include "model/indCellHandler.h"
#include "sheets/cuiSheet.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
const char* const kCommon = "[St_Common]GI_Sheet_Common";

struct FindFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    cuiFindDialog* Dialog() { return window->Find().Dialog(); }
    // A key where the focus is, as a user presses it.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // A button's or option's Alt key: it clicks when the button comes up again, a moment later.
    static void Alt(Qt::Key key) {
        Press(key, Qt::AltModifier);
        QTest::qWait(250);
    }
    // Replaces what the focused field holds with text.
    static void Enter(const QString& text) {
        Press(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    std::string Name(int channel) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName("CT_Mch");
        cell.cell = cmcCellIds::CellByName("CL_Mch_Text");
        cell.parameter = channel;
        return window->Handler()->CellText(cell, 0);
    }
    // The text of the cell under the cursor.
    std::string Current() {
        return window->Handler()->CellText(View().Sheet().Cell(Grid().Col(), Grid().Row()), 0);
    }
    void OpenFrom(const char* sheet) {
        ASSERT_TRUE(window->OpenSheet(sheet));
        Grid().setFocus();
    }
    // Waits until the window has the keys (a window shown is activated on a later turn of the loop).
    static bool Active(QWidget* w) {
        return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
    }
    void OpenDialog(Qt::Key key) {
        Press(key, Qt::ControlModifier);
        ASSERT_TRUE(Dialog() && Dialog()->isVisible());
        ASSERT_TRUE(Active(Dialog()));
    }
};

TEST_F(FindFixture, EnterOpensTheSheetAtTheMatchAndF3GoesRoundTheMatches) {
    OpenFrom(kCommon);
    OpenDialog(Qt::Key_F);
    EXPECT_EQ(QApplication::focusWidget(), Dialog()->FindField());
    Enter("ch 3");
    Press(Qt::Key_Return);
    ASSERT_EQ(window->OpenSheetText(), kBank);
    EXPECT_EQ(Current(), "CH 3");
    EXPECT_EQ(window->StatusText().toStdString(), "Match 1 of 1: BANK 1, row 3 (1-  3), 'Name'");
    EXPECT_TRUE(Dialog()->isVisible()) << "the find window stays open";

    // The open sheet only: the channel names, from the cursor on, round to the first and back.
    Alt(Qt::Key_T);
    ASSERT_FALSE(Dialog()->AllSheets());
    Alt(Qt::Key_I);
    Enter("CH");
    Press(Qt::Key_Return);
    EXPECT_EQ(Current(), "CH 4");
    EXPECT_EQ(window->StatusText().toStdString(), "Match 4 of 4: BANK 1, row 4 (1-  4), 'Name'");
    Press(Qt::Key_F3);
    EXPECT_EQ(Current(), "CH 1");
    Press(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Current(), "CH 4");

    // Whole cell: "CH" alone is in no cell; the cursor stays.
    Alt(Qt::Key_H);
    ASSERT_TRUE(Dialog()->WholeCell());
    Press(Qt::Key_Return);
    EXPECT_EQ(Current(), "CH 4");
    EXPECT_EQ(window->StatusText().toStdString(), "No cell shows 'CH'");

    Press(Qt::Key_Escape);
    EXPECT_FALSE(Dialog()->isVisible());
    // F3 in the window finds on with the text the window was left with.
    ASSERT_TRUE(Active(window.get()));
    Grid().setFocus();
    Press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(Active(Dialog()));
    Alt(Qt::Key_H);
    Press(Qt::Key_Escape);
    ASSERT_TRUE(Active(window.get()));
    Grid().setFocus();
    Press(Qt::Key_F3);
    EXPECT_EQ(Current(), "CH 1");
}

TEST_F(FindFixture, ReplaceAllIsOneUndoStepThatCtrlZTakesBack) {
    OpenFrom(kBank);
    const cmcEeprom before = window->Current();
    OpenDialog(Qt::Key_H);
    EXPECT_EQ(QApplication::focusWidget(), Dialog()->ReplaceField());
    Enter("Kan");
    Alt(Qt::Key_I);
    Enter("ch ");
    Alt(Qt::Key_L); // Replace all
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_EQ(Name(channel), "Kan" + std::to_string(channel + 1)) << channel;
    // Setting names hold "ch " too (Squelch level): fixed texts, passed over.
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(window->StatusText().toStdString(), "4 cell(s) replaced");
    EXPECT_EQ(window->UndoCommands().History().UndoCount(), 1u);

    Press(Qt::Key_Escape);
    ASSERT_TRUE(Active(window.get()));
    Grid().setFocus();
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Name(2), "CH 3");
    EXPECT_TRUE(window->Current() == before) << "undo restores the data byte for byte";
}

TEST_F(FindFixture, ReplaceChangesTheMatchUnderTheCursorThenMovesOn) {
    OpenFrom(kBank);
    OpenDialog(Qt::Key_H);
    Enter("NEW 2");
    Alt(Qt::Key_I);
    Enter("ch 2");
    Press(Qt::Key_Return); // the cursor goes to the match
    ASSERT_EQ(Current(), "CH 2");
    Alt(Qt::Key_R);
    EXPECT_EQ(Name(1), "NEW 2");
    EXPECT_EQ(Name(2), "CH 3");
    EXPECT_EQ(window->UndoCommands().History().UndoCount(), 1u);
    EXPECT_EQ(window->StatusText().toStdString(), "No cell shows 'ch 2'");

    // A name too long for the radio is refused and listed; nothing changes, no step is added.
    Enter("CH 3");
    Press(Qt::Key_Return);
    ASSERT_EQ(Current(), "CH 3");
    Alt(Qt::Key_W);
    Enter("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Alt(Qt::Key_L);
    EXPECT_EQ(Name(2), "CH 3");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(
        box.shown[0].text.find(
            "BANK 1, row 3, 'Name': 'ABCDEFGHIJKLMNOPQRSTUVWXYZ' refused: Too long: at most 8 characters"),
        std::string::npos)
        << box.shown[0].text;
    EXPECT_EQ(window->UndoCommands().History().UndoCount(), 1u);
    EXPECT_EQ(window->StatusText().toStdString(), "0 cell(s) replaced");
}

TEST_F(FindFixture, TheEditMenuShowsTheEntriesWithTheirKeys) {
    OpenFrom(kBank);
    QMenu* edit = nullptr;
    const int32_t top = cmcCellIds::CellByName("CL_Menu_Edit_Top");
    for (QAction* a : window->menuBar()->actions()) {
        const auto* cell = static_cast<const cmcCellObj*>(a->data().value<void*>());
        if (a->menu() && cell && cell->cell == top)
            edit = a->menu();
    }
    ASSERT_TRUE(edit);
    emit edit->aboutToShow();
    QStringList entries;
    for (QAction* a : edit->actions())
        if (!a->shortcut().isEmpty())
            entries << a->text() + QLatin1Char('=') + a->shortcut().toString();
    for (const char* entry :
         {"&Find...=Ctrl+F", "Find &next=F3", "Find &previous=Shift+F3", "R&eplace...=Ctrl+H"})
        EXPECT_TRUE(entries.contains(QString::fromUtf8(entry)))
            << entry << "\n"
            << entries.join(QLatin1Char('\n')).toStdString();
}

} // namespace

// The memory channel window and the repeater setting window on the shipped overlay and initial data:
// the channel window follows the bank sheet and moves it, stops at the bank's ends, edits through the
// cell handler, keeps its place across a restart and is used without the mouse; the repeater window
// opens from a bank's repeater cell and keeps or discards its changes.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMchWindow.h"
#include "gui/cuiRptWindow.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indRptList.h"
#include "sheets/cuiSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using L = indLayout;

const char* const kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
const char* const kBankOp = "GI_Sheet_BankOp_Lmr";

int32_t Cell(const char* name) {
    return cmcCellIds::CellByName(name);
}

// The channel the current cell of a sheet view belongs to (its parameter).
int32_t CurrentParameter(cuiSheetView& view) {
    return view.Sheet().Cell(view.Grid().Col(), view.Grid().Row()).parameter;
}

struct ChannelWindowFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(1000, 700);
        ASSERT_TRUE(window->OpenSheet(kBank0));
        ASSERT_GT(Channels(), 3);
    }
    cuiSheetView& Sheet() { return *window->SheetView(); }
    cuiMchWindow* Channel() { return window->ChannelWindow(); }
    int Channels() { return L::GroupCount(window->Current().Data(), 0); }
    void ToggleView() {
        QList<QAction*> entries = window->CommandActions("CL_Menu_View_MchWin");
        ASSERT_FALSE(entries.isEmpty());
        entries.front()->trigger();
    }
    std::string Text(int32_t category, const char* cell, int32_t parameter) {
        cmcCellObj o;
        o.category = category;
        o.cell = Cell(cell);
        o.parameter = parameter;
        return window->Handler()->CellText(o, 0);
    }
};

TEST_F(ChannelWindowFixture, FollowsTheBankSheetsRowAndMovesIt) {
    ToggleView();
    ASSERT_NE(Channel(), nullptr);
    EXPECT_TRUE(window->CommandActions("CL_Menu_View_MchWin").front()->isChecked());
    EXPECT_TRUE(Channel()->isVisible());
    EXPECT_FALSE(Channel()->isFloating()); // docked beside the sheet unless kept floating
    EXPECT_EQ(Channel()->SheetKeyShown(), "GI_Sheet_Mch_Win_dPMR_CONV_LMR");
    ASSERT_TRUE(Sheet().MoveToCell(-1, Cell("CL_Mch_FreqR"), 0));
    Sheet().Grid().setFocus();

    QTest::keyClick(&Sheet().Grid(), Qt::Key_Down);
    QTest::keyClick(&Sheet().Grid(), Qt::Key_Down);
    EXPECT_EQ(Channel()->Channel(), 2);
    // The window's own number cell names the channel it shows.
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch_Win"), "CL_MchWin_No", 0),
              Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_No", 2));

    Channel()->NextButton()->click();
    EXPECT_EQ(Channel()->Channel(), 3);
    EXPECT_EQ(CurrentParameter(Sheet()), 3);
    Channel()->PreviousButton()->click();
    Channel()->PreviousButton()->click();
    EXPECT_EQ(Channel()->Channel(), 1);
    EXPECT_EQ(CurrentParameter(Sheet()), 1);

    ToggleView();
    QApplication::processEvents();
    EXPECT_EQ(Channel(), nullptr);
    EXPECT_EQ(env.mchViewOn, 0);
    EXPECT_FALSE(window->CommandActions("CL_Menu_View_MchWin").front()->isChecked());
}

TEST_F(ChannelWindowFixture, TheRowsPopUpEntryOpensTheWindowOnThatChannel) {
    ASSERT_TRUE(Sheet().MoveToCell(-1, Cell("CL_Mch_FreqR"), 3));
    Sheet().PreparePopup(true);
    QAction* entry = nullptr;
    for (QAction* a : Sheet().PopupMenu()->actions()) {
        if (a->text() == QStringLiteral("&Memory channel window")) {
            entry = a;
        }
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());
    entry->trigger();
    ASSERT_NE(Channel(), nullptr);
    EXPECT_EQ(Channel()->Channel(), 3);
    EXPECT_EQ(env.mchViewOn, 1);
}

TEST_F(ChannelWindowFixture, AnotherModelTypeBringsItsOwnSheetAndTheFirstChannel) {
    ToggleView();
    ASSERT_NE(Channel(), nullptr);
    Channel()->FollowChannel(2);
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    window->ChangeModel(1, true);
    ASSERT_NE(Channel(), nullptr);
    EXPECT_EQ(Channel()->SheetKeyShown(), "GI_Sheet_Mch_Win_dPMR_CONV_PMR");
    EXPECT_EQ(Channel()->Channel(), 0);
}

TEST_F(ChannelWindowFixture, NextReachesTheBlankRowAndStopsThereAsPreviousStopsAtTheFirst) {
    ToggleView();
    ASSERT_NE(Channel(), nullptr);
    const int n = Channels();
    ASSERT_TRUE(Sheet().MoveToCell(-1, Cell("CL_Mch_FreqR"), n - 1));
    Channel()->FollowChannel(n - 1);

    EXPECT_TRUE(Channel()->Next());
    EXPECT_EQ(Channel()->Channel(), n);
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch_Win"), "CL_MchWin_No", 0), "New");
    EXPECT_FALSE(Channel()->Next());
    EXPECT_EQ(Channel()->Channel(), n);
    EXPECT_EQ(Channels(), n); // showing the blank row adds no channel

    // The user goes back to the first channel: the sheet reopens there, and the steps count from it.
    ASSERT_TRUE(Sheet().MoveToCell(-1, Cell("CL_Mch_FreqR"), 0));
    Channel()->FollowChannel(0);
    EXPECT_FALSE(Channel()->Previous());
    EXPECT_EQ(Channel()->Channel(), 0);

    // Steps made while no bank sheet is open move the bank sheet's row once it opens. The window waits
    // hidden beside other sheets.
    ASSERT_TRUE(window->OpenSheet(kBankOp));
    EXPECT_FALSE(Channel()->isVisible());
    EXPECT_TRUE(Channel()->Next());
    EXPECT_TRUE(Channel()->Next());
    ASSERT_TRUE(window->OpenSheet(kBank0));
    EXPECT_EQ(CurrentParameter(Sheet()), 2);
    EXPECT_EQ(Channel()->Channel(), 2);
    EXPECT_EQ(Channel()->TakePendingSteps(), 0);
    EXPECT_TRUE(Channel()->isVisible());
}

TEST_F(ChannelWindowFixture, AnEditInTheWindowShowsInTheSheetAndSurvivesASave) {
    TempDir dir;
    ToggleView();
    ASSERT_NE(Channel(), nullptr);
    Channel()->FollowChannel(1);
    cuiSheetView& view = *Channel()->View();
    ASSERT_TRUE(view.MoveToCell(-1, Cell("CL_Mch_FreqR"), 1));
    view.Grid().setFocus();
    QTest::keyClick(&view.Grid(), Qt::Key_4);
    auto* editor = view.Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "46.2");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(view.EditorVisible());
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", 1), "446.200000");
    EXPECT_TRUE(window->Modified());

    // Edits elsewhere are untouched: the channel before keeps its frequency.
    const std::string other = Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", 0);
    const std::string path = dir.File("edited.ocd");
    ASSERT_TRUE(window->Save(path));
    window->New();
    EXPECT_NE(Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", 1), "446.200000");
    ASSERT_TRUE(window->OpenFile(path));
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", 1), "446.200000");
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", 0), other);
}

TEST_F(ChannelWindowFixture, WithoutTheMouseFromTheViewMenuToEscape) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 2000));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M); // &Memory channel window
    ASSERT_TRUE(QTest::qWaitFor([this] { return Channel() != nullptr; }, 2000));
    const int32_t start = Channel()->Channel();
    EXPECT_TRUE(Channel()->View()->Grid().hasFocus()); // opened from the menu, it takes the keys

    // Ctrl+Page Down and Ctrl+Page Up step through the channels (Alt+N and Alt+R are the buttons'
    // mnemonics where the platform shows them).
    Channel()->View()->Grid().setFocus();
    QTest::keyClick(&Channel()->View()->Grid(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Channel()->Channel(), start + 1);
    QTest::keyClick(&Channel()->View()->Grid(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Channel()->Channel(), start);
    // Arrow keys move within the window's rows, not the channel.
    const int row = Channel()->View()->Grid().Row();
    QTest::keyClick(&Channel()->View()->Grid(), Qt::Key_Down);
    EXPECT_GT(Channel()->View()->Grid().Row(), row);
    EXPECT_EQ(Channel()->Channel(), start);

    QTest::keyClick(&Channel()->View()->Grid(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Channel() == nullptr; }, 2000));
    EXPECT_EQ(env.mchViewOn, 0);
    EXPECT_TRUE(Sheet().Grid().hasFocus()); // and gives them back to the sheet
}

// Two program runs over one settings store: the floating window comes back where it was left.
TEST(ChannelWindowPlacement, IsKeptAcrossARestart) {
    cmcMemorySettings store;
    const QRect placed(130, 90, 420, 480);
    auto run = [&](const std::function<void(indEnviron&, cuiMain&)>& body) {
        RunWindowSession(store, [&](indEnviron& env, cuiMain& window) {
            ASSERT_TRUE(window.OpenSheet(kBank0));
            body(env, window);
        });
    };
    run([&](indEnviron& env, cuiMain& window) {
        window.ToggleChannelWindow();
        ASSERT_NE(window.ChannelWindow(), nullptr);
        window.ChannelWindow()->setFloating(true);
        window.ChannelWindow()->setGeometry(placed);
        EXPECT_EQ(env.floatingCheck, 1);
        window.ChannelWindow()->KeepFloating()->setChecked(true);
    });
    run([&](indEnviron& env, cuiMain& window) {
        // The view was on when the program ended: the window opens with the bank sheet.
        EXPECT_EQ(env.mchViewOn, 1);
        ASSERT_NE(window.ChannelWindow(), nullptr);
        EXPECT_TRUE(window.ChannelWindow()->isFloating());
        EXPECT_EQ(window.ChannelWindow()->geometry(), placed);
        EXPECT_TRUE(window.ChannelWindow()->KeepFloating()->isChecked());
        EXPECT_EQ(window.ChannelWindow()->allowedAreas(), Qt::NoDockWidgetArea);
    });
}

struct RepeaterWindowFixture : MainWindowFixture {
    static constexpr int kBank = 1;
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(1000, 700);
        // Bank 2 becomes a conventional repeater bank.
        window->Current().Data()[L::kBankF1] |= uint8_t(0x80 >> kBank);
        window->MarkUnmodified();
        ASSERT_TRUE(window->OpenSheet(kBankOp));
    }
    cuiRptWindow* Repeaters() { return window->RepeaterWindow(); }
    int32_t Size() {
        indRptList list(window->Current(), indRptList::kRepeaters);
        return list.GroupSize(kBank);
    }
    // Enter on the bank's repeater cell.
    void OpenFromCell() {
        cuiSheetView& view = *window->SheetView();
        ASSERT_TRUE(view.MoveToCell(-1, Cell("CL_Mch_Rpt"), kBank));
        view.Grid().setFocus();
        QTest::keyClick(&view.Grid(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([this] { return Repeaters() && Repeaters()->isVisible(); }, 2000));
        EXPECT_FALSE(view.EditorVisible()); // Enter opened the list, not the number editor
        // The cursor waits where typing makes or changes a repeater.
        cuiSheetView& list = *Repeaters()->View();
        EXPECT_EQ(list.Sheet().Cell(list.Grid().Col(), list.Grid().Row()).cell, Cell("CL_Rpt_FreqR"));
        EXPECT_TRUE(list.Grid().hasFocus());
    }
    // Types a receive frequency into the list's blank row: a new repeater of the bank.
    void AddRepeater(const char* rest) {
        cuiSheetView& view = *Repeaters()->View();
        ASSERT_TRUE(view.MoveToCell(-1, Cell("CL_Rpt_FreqR"),
                                    indRptList(window->Current(), 22).FirstOf(kBank) + Size()));
        view.Grid().setFocus();
        QTest::keyClick(&view.Grid(), Qt::Key_4);
        auto* editor = view.Grid().viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, rest);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

TEST_F(RepeaterWindowFixture, CancelAsksAndDiscardsWhileOkKeeps) {
    const cmcEeprom before = window->Current();
    const int32_t size = Size();
    OpenFromCell();
    EXPECT_EQ(Repeaters()->Group(), kBank);
    EXPECT_EQ(Repeaters()->RecordKind(), indRptList::kRepeaters);
    EXPECT_EQ(QApplication::activeModalWidget(), Repeaters());

    // Cancel without a change closes at once.
    Repeaters()->CancelButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Repeaters() == nullptr; }, 2000));
    EXPECT_TRUE(box.shown.empty());

    OpenFromCell();
    AddRepeater("50.5");
    ASSERT_EQ(Size(), size + 1);
    // Cancel in the question returns to the list with the change; OK there restores the data.
    box.answers = {cmcMessageBox::Answer::Cancel, cmcMessageBox::Answer::Ok};
    Repeaters()->CancelButton()->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("repeater list has been changed"), std::string::npos);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);
    ASSERT_NE(Repeaters(), nullptr);
    EXPECT_EQ(Size(), size + 1);
    QTest::keyClick(&Repeaters()->View()->Grid(), Qt::Key_Escape); // Escape is Cancel
    ASSERT_TRUE(QTest::qWaitFor([this] { return Repeaters() == nullptr; }, 2000));
    EXPECT_EQ(box.shown.size(), 2u);
    EXPECT_TRUE(window->Current() == before);
    EXPECT_FALSE(window->Modified());

    // OK keeps the change without asking. Every cell of the new entry shows a value of its own.
    OpenFromCell();
    AddRepeater("50.5");
    cuiSheet& sheet = Repeaters()->View()->Sheet();
    for (int32_t r = 0; r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            if (sheet.Cell(c, r).HasCell()) {
                EXPECT_EQ(window->Handler()->CellText(sheet.Cell(c, r), 0).find("*Yet*"), std::string::npos)
                    << cmcCellIds::CellName(sheet.Cell(c, r).cell);
            }
        }
    }
    QTest::keyClick(&Repeaters()->View()->Grid(), Qt::Key_Return, Qt::ControlModifier); // OK
    ASSERT_TRUE(QTest::qWaitFor([this] { return Repeaters() == nullptr; }, 2000));
    EXPECT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(Size(), size + 1);
    EXPECT_TRUE(window->Modified());
}

TEST_F(RepeaterWindowFixture, OnlyRepeaterAndTrunkingBanksOpenTheList) {
    // An ordinary bank's cell keeps its number editor on Enter.
    cuiSheetView& view = *window->SheetView();
    ASSERT_TRUE(view.MoveToCell(-1, Cell("CL_Mch_Rpt"), 0));
    view.Grid().setFocus();
    QTest::keyClick(&view.Grid(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Repeaters(), nullptr);
    EXPECT_TRUE(view.EditorVisible());
    view.CloseEditor(false);

    // A trunking bank opens the trunking repeater list.
    window->Current().Data()[L::kBankF3] |= uint8_t(0x80 >> 3);
    ASSERT_TRUE(window->OpenRepeaterWindow(3));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Repeaters() != nullptr; }, 2000));
    EXPECT_EQ(Repeaters()->RecordKind(), indRptList::kTrunkRepeaters);
    EXPECT_EQ(Repeaters()->View()->Sheet().OverlayKey(), "GI_Sheet_RptSetWin_VORN");
    Repeaters()->OkButton()->click();
}

} // namespace
namespace {

// With channels in the next bank, the number after a bank's last channel is that bank's first: the
// window's blank row stays this bank's new row, and nothing of the next bank shows or changes there.
TEST_F(ChannelWindowFixture, TheBlankRowBelongsToTheBankShownWhenTheNextBankHasChannels) {
    ASSERT_TRUE(window->Handler()->AddChannels(1, 2));
    ASSERT_TRUE(window->OpenSheet(kBank0));
    const int n = Channels();
    const int32_t win = cmcCellIds::CategoryByName("CT_Mch_Win");
    ToggleView();
    ASSERT_NE(Channel(), nullptr);
    // The window starts on the sheet's first row; a step from another channel takes the sheet along.
    Channel()->FollowChannel(n - 1);
    ASSERT_TRUE(Channel()->Next());
    EXPECT_EQ(Channel()->Channel(), n);
    EXPECT_EQ(CurrentParameter(Sheet()), n);
    EXPECT_EQ(Text(win, "CL_MchWin_No", 0), "New");
    EXPECT_EQ(Text(win, "CL_Mch_FreqR", 0), "");
    // Typing there adds a channel to this bank, not a change to the next bank's first.
    const std::string nextFirst = Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", n);
    cuiSheetView& view = *Channel()->View();
    ASSERT_TRUE(view.MoveToCell(-1, Cell("CL_Mch_FreqR"), n));
    view.Grid().setFocus();
    QTest::keyClick(&view.Grid(), Qt::Key_4);
    auto* editor = view.Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "46.3");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Channels(), n + 1);
    EXPECT_EQ(Text(win, "CL_Mch_FreqR", 0), "446.300000");
    EXPECT_EQ(L::GroupCount(window->Current().Data(), 1), 2);
    EXPECT_EQ(Text(cmcCellIds::CategoryByName("CT_Mch"), "CL_Mch_FreqR", n + 1), nextFirst);
}

} // namespace

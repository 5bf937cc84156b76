// The editor windows cells open, driven from real cells of the shipped sheets with the keyboard: the
// bit-field editor of a channel's scan lists, the display-text editor of a scan list's name, the
// character editor of a user character and a data list of dPMR IDs. Each answers its cell, Escape
// drops the edit, leaving the window answers it. Text typed into the grid's editor survives the
// commands that save, write or replace the data.
#include "MainWindowFixture.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcSegChar.h"
#include "clone/cmcPortDiscovery.h"
#include "core/cmcEv.h"
#include "core/cmcGTex.h"
#include "gui/cuiBitEditor.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiCharEditor.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiTextEditor.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "sheets/cuiSheet.h"
#include "support/CliRunner.h"
#include "support/RadioSimProcess.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct EditorsFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    // Opens a sheet and puts the cursor, and the focus, on a cell of it.
    void On(const std::string& sheet, const char* cell, int32_t parameter = 0) {
        ASSERT_TRUE(window->OpenSheet(sheet)) << sheet;
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName(cell), parameter)) << cell;
        Grid().setFocus();
    }
    std::string Shown() {
        return window->Handler()->CellText(View().Sheet().Cell(Grid().Col(), Grid().Row()), 0);
    }
    QWidget* Editor() { return window->CellWindows()->Editor(); }
    template <class T> T* Open() {
        QTest::keyClick(&Grid(), Qt::Key_Return);
        return qobject_cast<T*>(Editor());
    }
    // Waits until the editor window is gone (closed windows are deleted later).
    bool Closed() {
        return QTest::qWaitFor([&] { return Editor() == nullptr; }, 1000);
    }
    void Key(QWidget* on, Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(on, key);
        }
    }
    uint32_t UserCharacter(int n) {
        const uint8_t* at =
            window->Current().Data() + indLayout::SlotAddress(indTable::kUserCharacters) + 2 * n;
        return (uint32_t(at[0]) << 8) | at[1];
    }
};

TEST_F(EditorsFixture, TheBitEditorTogglesByKeyboardAndAnswersTheScanListsOfTheChannel) {
    On(kBank, "CL_Mch_Scan");
    const std::string before = Shown();
    ASSERT_EQ(before.substr(0, 3), "___");
    auto* bits = Open<cuiBitEditor>();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits->Positions(), 17);
    cuiGrid& ticks = bits->View().Grid();
    EXPECT_TRUE(ticks.hasFocus());
    // The window stands below the cell.
    const cmcCanvas::Rect cell = Grid().CellRect(Grid().Col(), Grid().Row());
    EXPECT_GE(bits->geometry().top(), Grid().viewport()->mapToGlobal(QPoint(0, cell.bottom)).y() - 1);

    Key(&ticks, Qt::Key_Space); // list 1
    Key(&ticks, Qt::Key_Tab, 2);
    Key(&ticks, Qt::Key_Space); // list 3
    Key(&ticks, Qt::Key_Z);     // the label's key: list 17
    // A click switches a tick, another switches it back.
    const cmcCanvas::Rect second = ticks.CellRect(3, 1);
    const QPoint at((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    QTest::mouseClick(ticks.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(bits->Tick(2));
    QTest::mouseClick(ticks.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(bits->Tick(1));
    EXPECT_FALSE(bits->Tick(2));
    EXPECT_TRUE(bits->Tick(3));
    EXPECT_TRUE(bits->Tick(17));
    Key(&ticks, Qt::Key_Return);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown(), "1_3_____________Z\n");
    EXPECT_TRUE(window->Modified());
}

TEST_F(EditorsFixture, TheBitEditorDropsItsEditOnEscapeAndAnswersWhenItLosesTheFocus) {
    On(kBank, "CL_Mch_Scan");
    const std::string before = Shown();
    auto* bits = Open<cuiBitEditor>();
    ASSERT_NE(bits, nullptr);
    Key(&bits->View().Grid(), Qt::Key_Space);
    Key(&bits->View().Grid(), Qt::Key_Escape);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown(), before);
    EXPECT_FALSE(window->Modified());

    // A click elsewhere closes the pop-up window: what it holds is answered.
    bits = Open<cuiBitEditor>();
    ASSERT_NE(bits, nullptr);
    Key(&bits->View().Grid(), Qt::Key_Space);
    bits->close();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown().substr(0, 2), "1_");
}

TEST_F(EditorsFixture, AnEditorWithoutRoomBelowItsCellOpensAboveItWithinTheWorkArea) {
    On("GI_Sheet_ScanList", "CL_ScanList_Text", 3);
    const cmcCanvas::Rect r = Grid().CellRect(Grid().Col(), Grid().Row());
    const QPoint top = Grid().viewport()->mapToGlobal(QPoint(r.left, r.top));
    const QPoint bottom = Grid().viewport()->mapToGlobal(QPoint(r.left, r.bottom));
    window->CellWindows()->workArea = [&] { return QRect(0, 0, top.x() + 120, bottom.y() + 10); };
    auto* text = Open<cuiTextEditor>();
    ASSERT_NE(text, nullptr);
    const QRect placed(text->pos(), text->size()); // where the window was put
    const QRect work = window->CellWindows()->workArea();
    if (placed.height() <= top.y()) {
        EXPECT_LE(placed.bottom(), top.y()); // above the cell
    } else {
        EXPECT_EQ(placed.bottom(), work.bottom()); // no room above either: on the work area's bottom
    }
    EXPECT_LE(placed.right(), work.right());
    EXPECT_GE(placed.left(), work.left());
    text->Cancel();
}

TEST_F(EditorsFixture, TheBitEditorLabelsEveryStyle) {
    struct Case {
        int32_t style, first, last;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {cuiBitEditor::kLabelHex, 9, 12, {"9", "A", "B", "C"}},
        {cuiBitEditor::kLabelDecimal, 9, 11, {"9", "0", "11"}},
        {cuiBitEditor::kLabelNumeric, 16, 17, {"16", "Z"}},
        {cuiBitEditor::kLabelAlphanumeric, 9, 11, {"9", "A", "B"}},
        {cuiBitEditor::kLabelAlphanumeric, 17, 17, {"Z"}},
        {cuiBitEditor::kLabelLetters, 1, 3, {"A", "B", "C"}},
        {cuiBitEditor::kLabelSentences, 1, 5, {"RMC", "GGA", "GLL", "GSA", "VTG"}},
        {cuiBitEditor::kLabelDownwards, 1, 8, {"B7", "B6", "B5", "B4", "B3", "B2", "B1", "B0"}},
        {0, 1, 2, {"1", "2"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> shown;
        for (int32_t p = c.first; p <= c.last; ++p) {
            shown.push_back(cuiBitEditor::Label(p, c.first, c.last, c.style));
        }
        EXPECT_EQ(shown, c.labels) << "style " << c.style;
    }
    // The sheet shows them over the ticks, one column apart.
    On(kBank, "CL_Mch_Scan");
    cmcCellCapsule capsule;
    capsule.onGrid = true;
    capsule.ownerControl = &Grid();
    capsule.cell = &View().Sheet().Cell(Grid().Col(), Grid().Row());
    window->CellWindows()->OpenBits(&capsule, 0, 1, 8, cuiBitEditor::kLabelDownwards, "");
    auto* bits = qobject_cast<cuiBitEditor*>(Editor());
    ASSERT_NE(bits, nullptr);
    cuiSheet& sheet = bits->View().Sheet();
    ASSERT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.Cell(1, 0).displayText, "B7");
    EXPECT_EQ(sheet.Cell(15, 0).displayText, "B0");
    EXPECT_EQ(sheet.Cell(1, 1).cell, cmcCellIds::CellByName("CL_FBits"));
    EXPECT_EQ(sheet.Cell(15, 1).parameter, 8);
    bits->Cancel();
}

TEST_F(EditorsFixture, WithSentenceLabelsAFourthTickDisablesOkAndNothingIsAnswered) {
    On(kBank, "CL_Mch_Scan");
    cmcCellCapsule capsule;
    capsule.onGrid = true;
    capsule.ownerControl = &Grid();
    capsule.cell = &View().Sheet().Cell(Grid().Col(), Grid().Row());
    window->CellWindows()->OpenBits(&capsule, 0b11100, 1, 5, cuiBitEditor::kLabelSentences, "");
    auto* bits = qobject_cast<cuiBitEditor*>(Editor());
    ASSERT_NE(bits, nullptr);
    EXPECT_TRUE(bits->OkButton()->isEnabled());
    cuiGrid& ticks = bits->View().Grid();
    Key(&ticks, Qt::Key_Tab, 3);
    Key(&ticks, Qt::Key_Space);
    EXPECT_FALSE(bits->OkButton()->isEnabled());
    Key(&ticks, Qt::Key_Return); // refused: stays open
    EXPECT_EQ(Editor(), bits);
    EXPECT_FALSE(bits->Answered());
    Key(&ticks, Qt::Key_Space);
    EXPECT_TRUE(bits->OkButton()->isEnabled());
    bits->Cancel();
}

TEST_F(EditorsFixture, TheTextEditorComposesAScanListNameFromTypingAndTheCharacterList) {
    On("GI_Sheet_ScanList", "CL_ScanList_Text");
    auto* text = Open<cuiTextEditor>();
    ASSERT_NE(text, nullptr);
    QLineEdit& memo = text->Memo();
    EXPECT_TRUE(memo.hasFocus());
    QTest::keyClicks(&memo, "AB");
    // Tab goes to the character list, which starts on the space; Right steps to "!".
    Key(&memo, Qt::Key_Tab);
    cuiGrid& list = text->List().Grid();
    ASSERT_TRUE(list.hasFocus());
    Key(&list, Qt::Key_Right);
    Key(&list, Qt::Key_Space); // puts "!" in
    EXPECT_EQ(memo.text(), "AB!");
    QTest::keyClick(&list, 'C'); // a typed character goes in, and typing goes on in the text
    EXPECT_TRUE(memo.hasFocus());
    EXPECT_EQ(memo.text(), "AB!C");
    // The field holds eight characters: more are refused as they are typed.
    QTest::keyClicks(&memo, "DEFGHIJ");
    EXPECT_EQ(memo.text(), "AB!CDEFG");
    EXPECT_NE(QToolTip::text().toStdString().find("at most 8 characters"), std::string::npos)
        << QToolTip::text().toStdString();
    Key(&memo, Qt::Key_Return);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown(), "AB!CDEFG");
    EXPECT_TRUE(window->Modified());
}

TEST_F(EditorsFixture, TheTextEditorPutsUserCharactersInAndEscapeInTheTextDropsTheEdit) {
    On("GI_Sheet_ScanList", "CL_ScanList_Text");
    auto* text = Open<cuiTextEditor>();
    ASSERT_NE(text, nullptr);
    text->Memo().clear();
    // A double click on the first user character puts it in and gives the text the focus again.
    cuiSheetView& list = text->List();
    ASSERT_TRUE(list.MoveToCell(-1, 1, 16));
    list.Grid().SetRow(list.Grid().Row()); // scrolled into view
    list.Grid().setFocus();
    const cmcCanvas::Rect r = list.Grid().CellRect(list.Grid().Col(), list.Grid().Row());
    const QPoint at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QTest::mouseDClick(list.Grid().viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(text->Memo().text(), "%10");
    EXPECT_TRUE(text->Memo().hasFocus());
    // Escape and Backspace in the list go back to the text; Escape there drops the edit.
    list.Grid().setFocus();
    Key(&list.Grid(), Qt::Key_Escape);
    EXPECT_TRUE(text->Memo().hasFocus());
    Key(&text->Memo(), Qt::Key_Escape);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown(), "");
    EXPECT_FALSE(window->Modified());
}

TEST_F(EditorsFixture, TheCharacterEditorSwitchesSegmentsByKeyboardAndMouse) {
    On("GI_Sheet_Common_CEdit", "CL_CEdit", 2);
    ASSERT_EQ(UserCharacter(2), 0u);
    auto* chars = Open<cuiCharEditor>();
    ASSERT_NE(chars, nullptr);
    QWidget* box = chars->Box();
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->hasFocus(); }, 1000));
    Key(box, Qt::Key_Space); // the first segment: the highest bit
    Key(box, Qt::Key_Right);
    Key(box, Qt::Key_Space);
    EXPECT_EQ(chars->Pattern(), 0xC000u);
    // A click inside the upper right segment (the third) switches it; one in the gap between
    // segments changes nothing.
    const QPointF inside = chars->ToBox(38, 20);
    QTest::mouseClick(box, Qt::LeftButton, {}, inside.toPoint());
    EXPECT_EQ(chars->Pattern(), 0xE000u);
    QTest::mouseClick(box, Qt::LeftButton, {}, chars->ToBox(25, 20).toPoint());
    EXPECT_EQ(chars->Pattern(), 0xE000u);
    Key(box, Qt::Key_Return);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(UserCharacter(2), 0xE000u);

    chars = Open<cuiCharEditor>();
    ASSERT_NE(chars, nullptr);
    EXPECT_EQ(chars->Pattern(), 0xE000u);
    Key(chars->Box(), Qt::Key_Space);
    Key(chars->Box(), Qt::Key_Escape);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(UserCharacter(2), 0xE000u);
}

TEST(SegmentGeometry, TheOverlayDrawsSixteenSwitchableSegmentsAndFixedOnesNeverSwitch) {
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cmcSegChar shipped = cmcSegChar::FromTexts(tables.Text());
    ASSERT_EQ(shipped.Segments().size(), 16u);
    EXPECT_EQ(shipped.BitOf(0), 0x8000u);
    EXPECT_EQ(shipped.BitOf(15), 0x0001u);
    for (const auto& s : shipped.Segments()) {
        EXPECT_FALSE(s.fixed);
    }

    // Comments and "0" lines name no segment; a negative count is a fixed part that a point in it
    // does not choose.
    cmcGTex texts;
    texts.AttachLines({"#GI_PCG_Seg_Data", "// a frame and one bar", "0", "-1|(0,0)(10,0)(0,10)",
                       "2|(0,20)(10,20)(10,30)|(0,20)(10,30)(0,30)", "bad|(1,1)", "#",
                       "#" + std::string(cmcGTex::kEndKey)});
    cmcSegChar set = cmcSegChar::FromTexts(texts);
    ASSERT_EQ(set.Segments().size(), 2u);
    EXPECT_TRUE(set.Segments()[0].fixed);
    EXPECT_EQ(set.SegmentAt(2, 2), -1);
    EXPECT_EQ(set.SegmentAt(5, 25), 1);
    EXPECT_EQ(set.SegmentAt(10, 20), 1); // on an edge
    EXPECT_EQ(set.SegmentAt(20, 25), -1);
    EXPECT_EQ(set.MaxY(), 30);
    cmcTextCodecs::Segment one;
    EXPECT_FALSE(cmcSegChar::ParseSegment("2|(0,0)(1,0)(0,1)", one)); // one triangle short
}

TEST_F(EditorsFixture, ADataListOffersTheIdsInUseAndPickingOneStoresIt) {
    // Three dPMR IDs in use.
    datCh::SetEntriesInUse(window->Current().Data(), datCh::kKindDpmrIndId, 3);
    On("GI_Sheet_Dpmr_Stun", "CL_Dpmr_Stun_StunID");
    EXPECT_EQ(Shown().substr(0, 2), "1:");
    QTest::keyClick(&Grid(), Qt::Key_Return);
    cuiFlector* list = window->CellWindows()->List();
    ASSERT_NE(list, nullptr);
    cuiSheetView& entries = list->View();
    int offered = 0;
    for (int r = 0; r < entries.Sheet().RowCount(); ++r) {
        for (int c = 0; c < entries.Sheet().ColCount(); ++c) {
            offered += entries.Selectable(c, r) ? 1 : 0;
        }
    }
    EXPECT_EQ(offered, 3);
    // The entries are one a row: Down reaches the second.
    QTest::keyClick(&entries.Grid(), Qt::Key_Down);
    QTest::keyClick(&entries.Grid(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->CellWindows()->List() == nullptr; }, 1000));
    EXPECT_EQ(Shown().substr(0, 2), "2:");
    EXPECT_TRUE(window->Modified());
}

// Text typed into the grid's editor, not yet committed, when a command runs.
struct Command {
    const char* name;
    std::function<void(EditorsFixture& f, const std::string& file)> run;
    bool asksToSave; // the committed edit makes the data modified: the command asks first
};

struct CommitFixture : EditorsFixture, testing::WithParamInterface<Command> {
    TempDir dir;
    std::string Frequency(int n) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName("CT_Mch");
        cell.cell = cmcCellIds::CellByName("CL_Mch_FreqR");
        cell.parameter = n;
        return window->Handler()->CellText(cell, 0);
    }
};

TEST_P(CommitFixture, TypedTextSurvivesTheCommand) {
    const Command& command = GetParam();
    On(kBank, "CL_Mch_FreqR", 0);
    QTest::keyClick(&Grid(), Qt::Key_4);
    ASSERT_TRUE(View().EditorVisible());
    QTest::keyClicks(Grid().viewport()->findChild<QLineEdit*>(), "46.1");
    ASSERT_FALSE(window->Modified());
    box.answers.push_back(cmcMessageBox::Answer::Cancel); // a save-changes question keeps the data
    command.run(*this, dir.File("saved.ocd"));
    EXPECT_EQ(Frequency(0), "446.100000");
    EXPECT_EQ(box.shown.size(), command.asksToSave ? 1u : 0u);
    box.answers.clear();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommitFixture,
    testing::Values(
        Command{"Save",
                [](EditorsFixture& f, const std::string& file) {
                    ASSERT_TRUE(f.window->Save(file));
                    cmcEeprom saved;
                    saved.SetSize(cmcEeprom::kWorkSize);
                    ASSERT_EQ(indDataFile::Load(file, saved), cmcKvtFile::FileError::Ok);
                    indModel model(nullptr, nullptr, indModel::Settings{});
                    model.Convert(saved, 0);
                    datCh ch(&saved);
                    ch.Decode(indModel::kChannelKind, 0);
                    EXPECT_EQ(ch.rxFrequency, 446100000);
                    EXPECT_FALSE(f.window->Modified());
                },
                false},
        Command{"New", [](EditorsFixture& f, const std::string&) { f.window->New(); }, true},
        Command{"CloneRead", [](EditorsFixture& f, const std::string&) { f.window->CloneRead(); }, true},
        Command{"Close", [](EditorsFixture& f, const std::string&) { EXPECT_FALSE(f.window->close()); },
                true},
        Command{"Open",
                [](EditorsFixture& f, const std::string&) {
                    EXPECT_FALSE(f.window->OpenFile(CliBinDir() + "/Initial_LMR.ocd"));
                },
                true},
        Command{"SheetChange",
                [](EditorsFixture& f, const std::string&) {
                    ASSERT_TRUE(f.window->OpenSheet("[St_Common]GI_Sheet_Common"));
                    EXPECT_TRUE(f.window->Modified());
                },
                false},
        Command{"CommitEvent",
                [](EditorsFixture& f, const std::string&) {
                    f.events.Send(cmcEv::CommitEdit);
                    EXPECT_TRUE(f.window->Modified());
                },
                false}),
    [](const testing::TestParamInfo<Command>& info) { return std::string(info.param.name); });

TEST_F(EditorsFixture, LeavingTheGridsEditorCommitsItsTextButAMenuOverItDoesNot) {
    On(kBank, "CL_Mch_FreqR", 1);
    QTest::keyClick(&Grid(), Qt::Key_4);
    auto* editor = Grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "46.2");
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(editor, &popup);
    EXPECT_TRUE(View().EditorVisible());
    QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason); // a click on the tree
    QApplication::sendEvent(editor, &leave);
    EXPECT_FALSE(View().EditorVisible());
    EXPECT_TRUE(window->Modified());
}

TEST_F(EditorsFixture, AnOpenEditorWindowAnswersBeforeTheDataIsSaved) {
    TempDir dir;
    On(kBank, "CL_Mch_Scan");
    auto* bits = Open<cuiBitEditor>();
    ASSERT_NE(bits, nullptr);
    Key(&bits->View().Grid(), Qt::Key_Space);
    ASSERT_TRUE(window->Save(dir.File("bits.ocd")));
    EXPECT_FALSE(window->Modified()); // the answer came before the save, not after it
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Shown().substr(0, 2), "1_");
}

} // namespace

namespace {

// Clone write against the simulated radio over a pseudo-terminal.
struct CloneCommitFixture : EditorsFixture {
    TempDir dir;
    void SetUp() override {
        cuiMain::Services s = WindowServices();
        env.comSpeedHigh = 1;
        env.backupBeforeWrite = 0; // the edit reaching the radio is the point, not the backup read
        s.warningCheck = [] { return 0; };
        StartWindow(s);
        window->resize(900, 600);
    }
};

TEST_F(CloneCommitFixture, TypedTextReachesTheRadioOnCloneWrite) {
    const std::string written = dir.File("written.ocd");
    RadioSimProcess sim(dir.File("radio"), dir.File("sim.log"), {"--save", written});
    ASSERT_TRUE(sim.Ready());
    env.comPort = cmcPortMap::kMaxPort;
    env.comDevice = sim.Port();
    On(kBank, "CL_Mch_FreqR", 0);
    QTest::keyClick(&Grid(), Qt::Key_4);
    QTest::keyClicks(Grid().viewport()->findChild<QLineEdit*>(), "46.1");
    box.answers = {cmcMessageBox::Answer::Ok, cmcMessageBox::Answer::Ok};
    window->CloneWrite();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Clone().IsBusy(); }, 60000));
    EXPECT_EQ(window->Clone().LastOutcome(), 0) << (box.shown.empty() ? "" : box.shown.back().text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(written); }, 5000));
    cmcEeprom radio;
    radio.SetSize(cmcEeprom::kWorkSize);
    ASSERT_EQ(indDataFile::Load(written, radio), cmcKvtFile::FileError::Ok);
    indModel model(nullptr, nullptr, indModel::Settings{});
    model.Convert(radio, 0);
    datCh ch(&radio);
    ch.Decode(indModel::kChannelKind, 0);
    EXPECT_EQ(ch.rxFrequency, 446100000);
}

} // namespace

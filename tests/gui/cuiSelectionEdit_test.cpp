// Several cells of one channel column edited at once in the main window, as a user does it: the
// selection by keys, mouse and header, a typed value, a step, Fill down and Fill series going to each
// selected cell, the cells that refuse listed with their row, and one Ctrl+Z taking it all back.
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "sheets/cuiSheet.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";

struct SelectionFixture : MainWindowFixture {
    void SetUp() override {
        StartWindow(WindowServices());
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->OpenSheet(kBank));
        ASSERT_EQ(indLayout::GroupCount(window->Current().Data(), 0), 4);
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    QLineEdit* Editor() { return Grid().viewport()->findChild<QLineEdit*>(); }
    void On(const char* cell, int channel) {
        ASSERT_TRUE(View().MoveToCell(-1, cmcCellIds::CellByName(cell), channel));
        Grid().SetLeftCol(Grid().Col()); // the column in view, for the mouse
        Grid().setFocus();
    }
    // Shift+Down three times: the current channel and the three below it.
    void SelectFourDown(const char* cell) {
        On(cell, 0);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
        ASSERT_EQ(View().SelectedRows(Grid().Col()).size(), 4u);
    }
    void Type(const QString& text) {
        QTest::keyClicks(&Grid(), text.left(1));
        ASSERT_TRUE(Editor() && View().EditorVisible());
        QTest::keyClicks(Editor(), text.mid(1));
        QTest::keyClick(Editor(), Qt::Key_Return);
        ASSERT_FALSE(View().EditorVisible());
    }
    std::string Shown(const char* name, int channel) {
        cmcCellObj cell;
        cell.category = cmcCellIds::CategoryByName("CT_Mch");
        cell.cell = cmcCellIds::CellByName(name);
        cell.parameter = channel;
        return window->Handler()->CellText(cell, 0);
    }
    std::vector<std::string> Column(const char* name) {
        std::vector<std::string> texts;
        for (int n = 0; n < 4; ++n)
            texts.push_back(Shown(name, n));
        return texts;
    }
    // The centre of the cell of a channel in the current column.
    QPoint CellPoint(int channel) {
        for (int r = Grid().FixedRows(); r < Grid().RowCount(); ++r)
            if (View().Sheet().Cell(Grid().Col(), r).parameter == channel) {
                const cmcCanvas::Rect rect = Grid().CellRect(Grid().Col(), r);
                return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            }
        ADD_FAILURE() << "no row for channel " << channel;
        return {};
    }
};

TEST_F(SelectionFixture, ATypedValueGoesToEverySelectedChannelAsOneUndoStep) {
    const std::vector<std::string> before = Column("CL_Mch_FreqR");
    SelectFourDown("CL_Mch_FreqR");
    Type(QStringLiteral("446.1"));
    EXPECT_EQ(Column("CL_Mch_FreqR"), std::vector<std::string>(4, "446.100000"));
    EXPECT_TRUE(box.shown.empty());

    QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Column("CL_Mch_FreqR"), before);
}

TEST_F(SelectionFixture, AChoiceFromTheListGoesToEverySelectedChannelAsOneUndoStep) {
    const std::vector<std::string> before = Column("CL_Mch_RfPo");
    ASSERT_EQ(before, std::vector<std::string>(4, before[0]));
    SelectFourDown("CL_Mch_RfPo");
    // Enter opens the current cell's list (its entries side by side); the next entry is chosen.
    QTest::keyClick(&Grid(), Qt::Key_Return);
    cuiFlector* list = window->CellWindows()->List();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(&list->View().Grid(), Qt::Key_Right);
    QTest::keyClick(&list->View().Grid(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CellWindows()->List() == nullptr; }, 1000));
    const std::vector<std::string> after = Column("CL_Mch_RfPo");
    EXPECT_NE(after[0], before[0]);
    EXPECT_EQ(after, std::vector<std::string>(4, after[0]));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Column("CL_Mch_RfPo"), before);
}

TEST_F(SelectionFixture, ASeriesFillsTheSelectionAndListsTheChannelsThatRefuse) {
    const std::vector<std::string> before = Column("CL_Mch_FreqR");
    SelectFourDown("CL_Mch_FreqR");
    // The last two frequencies lie above the radio's band.
    WhenModal([](QWidget* w) { return w->objectName() == "fillSeries"; },
              [](QWidget* w) {
                  w->findChild<QLineEdit*>("start")->setText("799.985");
                  w->findChild<QLineEdit*>("step")->setText("12.5");
                  static_cast<QDialog*>(w)->accept();
              });
    QTest::keyClick(&Grid(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Column("CL_Mch_FreqR"),
              (std::vector<std::string>{"799.985000", "799.997500", before[2], before[3]}));
    ASSERT_EQ(box.shown.size(), 1u);
    const std::string& listed = box.shown[0].text;
    EXPECT_NE(listed.find("2 of 4"), std::string::npos) << listed;
    // Each refused channel by its number and the band it left.
    for (int channel : {2, 3}) {
        const std::string line = Shown("CL_Mch_No", channel) + ": Out of the radio's band";
        EXPECT_NE(listed.find(line), std::string::npos) << line << " in " << listed;
    }
    EXPECT_EQ(listed.find(Shown("CL_Mch_No", 1) + ":"), std::string::npos) << listed;
    EXPECT_TRUE(window->StatusText().contains("2 of 4")) << window->StatusText().toStdString();

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Column("CL_Mch_FreqR"), before);
}

TEST_F(SelectionFixture, AMouseSelectionStepsEachCellOnceAndCtrlClickLeavesGaps) {
    On("CL_Mch_RfPo", 0);
    const std::vector<std::string> before = Column("CL_Mch_RfPo");
    // Drag from channel 1 to channel 2, then Ctrl+click channel 4 (its third row left out).
    QWidget* viewport = Grid().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(0));
    QTest::mouseMove(viewport, CellPoint(1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(1));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CellPoint(3));
    ASSERT_EQ(View().SelectedRows(Grid().Col()).size(), 3u);

    QTest::keyClick(&Grid(), Qt::Key_Space);
    const std::vector<std::string> after = Column("CL_Mch_RfPo");
    EXPECT_NE(after[0], before[0]);
    EXPECT_EQ(after[1], after[0]);
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[3], after[0]);

    // Ctrl+click on a selected cell takes it out again.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CellPoint(1));
    EXPECT_EQ(View().SelectedRows(Grid().Col()).size(), 2u);
}

TEST_F(SelectionFixture, CtrlDFillsTheHeaderSelectedColumnDown) {
    On("CL_Mch_FreqR", 0);
    Type(QStringLiteral("446.1"));
    // Shift+click on the column's header selects all its channels; a plain click would sort.
    const cmcCanvas::Rect header = Grid().CellRect(Grid().Col(), 0);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint((header.left + header.right) / 2, (header.top + header.bottom) / 2));
    ASSERT_EQ(View().SelectedRows(Grid().Col()).size(), 4u);
    QTest::keyClick(&Grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Column("CL_Mch_FreqR"), std::vector<std::string>(4, "446.100000"));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(SelectionFixture, RowCommandsOnACtrlSelectionNeverTouchRowsLeftOut) {
    const std::vector<std::string> f = Column("CL_Mch_FreqR");
    struct Case {
        int current, clicked;
        std::vector<std::string> left; // the frequencies of the channels after Delete
    };
    // A gap: the row left out stays, and so does the other selected one (only the current row goes).
    // Rows side by side: both go, as after Shift+Down.
    for (const Case& c : {Case{0, 2, {f[0], f[1], f[3]}}, Case{2, 1, {f[0], f[3]}}}) {
        SCOPED_TRACE(c.clicked);
        On("CL_Mch_FreqR", c.current);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::ControlModifier, CellPoint(c.clicked));
        ASSERT_EQ(View().SelectedRows(Grid().Col()).size(), 2u);
        box.answers.push_back(cmcMessageBox::Answer::Ok);
        QTest::keyClick(&Grid(), Qt::Key_Delete);
        std::vector<std::string> left;
        for (int n = 0; n < indLayout::GroupCount(window->Current().Data(), 0); ++n)
            left.push_back(Shown("CL_Mch_FreqR", n));
        EXPECT_EQ(left, c.left);
        QTest::keyClick(&Grid(), Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(Column("CL_Mch_FreqR"), f);
    }
}

} // namespace

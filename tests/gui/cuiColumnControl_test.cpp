// Choosing the columns a bank sheet shows from its header pop-up, on the shipped overlay and initial
// data: a column hidden by keyboard stays hidden when the sheet opens again and in the next session,
// its data untouched; hiding the unused columns keeps every column some channel sets; the printed
// sheet leaves hidden columns out; a plain header click still sorts.
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "core/cmcEeprom.h"
#include "gui/cuiColumnControl.h"
#include "gui/cuiGrid.h"
#include "gui/cuiPreview.h"
#include "gui/cuiPrintCommands.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetSort.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kBank0 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
constexpr const char* kBank1 = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1";

// Runs act on the pop-up menu once it shows.
void WhenPopup(std::function<void(QMenu*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            act(menu);
        }
    });
    timer->start();
}

std::string PdfText(const std::string& pdf) {
    std::string out;
    FILE* pipe = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    return pclose(pipe) == 0 ? out : std::string();
}

struct ColumnFixture : MainWindowFixture {
    TempDir dir;
    std::string pdf;

    void SetUp() override {
        pdf = dir.File("bank.pdf");
        cuiMain::Services s = WindowServices();
        s.setupPrinter = [this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return true;
        };
        StartWindow(s);
        window->resize(900, 600);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->SelectTreeNode(kBank0));
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
    int Column(cuiMain& w, const char* header) {
        return iuiSheetSort::ColumnOf(w.SheetView()->Sheet(), w.Handler(), header);
    }
    int Column(const char* header) { return Column(*window, header); }
    // The header pop-up's entries, in order.
    QMenu* Menu() { return View().Columns().BuildMenu(); }
    QAction* Entry(QMenu* menu, const std::string& text) {
        for (QAction* a : menu->actions())
            if (a->text().toStdString() == text)
                return a;
        return nullptr;
    }
    std::string Printed() {
        WhenModal([](QWidget* w) { return qobject_cast<cuiPreview*>(w) != nullptr; },
                  [](QWidget* w) { static_cast<cuiPreview*>(w)->Button(cuiPreview::Tool::Print)->click(); });
        window->Print().PrintCurrent();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Print().IsBusy(); }, 20000));
        EXPECT_EQ(window->OpenSheetText(), kBank0);
        return PdfText(pdf);
    }
};

TEST_F(ColumnFixture, AColumnHiddenByKeyboardStaysHiddenAndItsDataStays) {
    const int name = Column("Name");
    const int freq = Column("RX frequency (MHz)");
    ASSERT_GE(name, 0);
    ASSERT_GE(freq, 0);
    const int width = View().Sheet().ColWidth(freq);
    const cmcEeprom before = window->Current();

    // Ctrl+menu key opens the header pop-up; the arrow keys walk to the column's entry, Return unticks it.
    QMenu* probe = Menu();
    const int index = static_cast<int>(probe->actions().indexOf(Entry(probe, "RX frequency (MHz)")));
    delete probe;
    ASSERT_GE(index, 0);
    bool opened = false;
    WhenPopup([&](QMenu* menu) {
        opened = true;
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Menu, Qt::ControlModifier);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(Grid().ColHidden(freq));
    EXPECT_EQ(Grid().ColWidth(freq), 0);
    EXPECT_FALSE(Grid().ColHidden(name));
    EXPECT_TRUE(window->Current() == before);
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(Grid().CellRect(freq, 0).Width(), 0) << "nothing is painted for it";

    // Keyboard moves pass over it both ways.
    View().MoveTo(freq - 1, Grid().FixedRows());
    ASSERT_EQ(Grid().Col(), freq - 1);
    QTest::keyClick(&Grid(), Qt::Key_Right);
    EXPECT_GT(Grid().Col(), freq);
    QTest::keyClick(&Grid(), Qt::Key_Left);
    EXPECT_EQ(Grid().Col(), freq - 1);

    // Per sheet: the other bank's sheet shares the layout name and keeps it too; the width stays.
    ASSERT_TRUE(window->OpenSheet("[St_Common]GI_Sheet_Common"));
    ASSERT_TRUE(window->OpenSheet(kBank1));
    EXPECT_TRUE(Grid().ColHidden(freq));
    ASSERT_TRUE(window->OpenSheet(kBank0));
    EXPECT_TRUE(Grid().ColHidden(freq));
    EXPECT_EQ(View().Sheet().ColWidth(freq), width) << "the stored width is kept while hidden";
    window.reset();
    bool checked = false;
    RunWindowSession(store, [&](indEnviron&, cuiMain& w) {
        ASSERT_TRUE(w.OpenSheet(kBank0));
        cuiSheetView& view = *w.SheetView();
        EXPECT_TRUE(view.Grid().ColHidden(freq));
        view.Columns().ShowAll();
        EXPECT_FALSE(view.Grid().ColHidden(freq));
        EXPECT_EQ(view.Grid().ColWidth(freq), width);
        checked = true;
    });
    EXPECT_TRUE(checked);
}

TEST_F(ColumnFixture, HidingUnusedColumnsKeepsEveryColumnThatSetsSomething) {
    QMenu* menu = Menu();
    QAction* hide = Entry(menu, "Hide columns unused by this data");
    ASSERT_NE(hide, nullptr);
    ASSERT_NE(Entry(menu, "Show all columns"), nullptr);
    const std::vector<int> unused = View().Columns().UnusedColumns();
    ASSERT_FALSE(unused.empty());
    hide->trigger();
    delete menu;
    for (int c : unused)
        EXPECT_TRUE(Grid().ColHidden(c)) << c;
    // The initial bank's channels differ in frequency and name; fixed columns never hide.
    EXPECT_FALSE(Grid().ColHidden(Column("RX frequency (MHz)")));
    EXPECT_FALSE(Grid().ColHidden(Column("Name")));
    // A value every channel shares is still a value in use; a feature off on every channel is not.
    EXPECT_FALSE(Grid().ColHidden(Column("TX frequency (MHz)")));
    EXPECT_FALSE(Grid().ColHidden(Column("RF power")));
    EXPECT_TRUE(Grid().ColHidden(Column("Compander")));
    for (int c = 0; c < Grid().FixedCols(); ++c)
        EXPECT_FALSE(Grid().ColHidden(c));
    EXPECT_TRUE(View().Columns().UnusedColumns().empty());
    EXPECT_TRUE(View().Selectable(Grid().Col(), Grid().Row())) << "the cursor left a hidden column";

    menu = Menu();
    Entry(menu, "Show all columns")->trigger();
    delete menu;
    for (int c = 0; c < Grid().ColCount(); ++c)
        EXPECT_FALSE(Grid().ColHidden(c)) << c;
}

TEST_F(ColumnFixture, ThePrintedSheetLeavesHiddenColumnsOutAndAHeaderClickStillSorts) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const int freq = Column("RX frequency (MHz)");
    ASSERT_GE(freq, 0);
    View().Columns().SetHidden(freq, true);
    // A click on a shown header sorts the bank by it (descending on the second click).
    const int name = Column("Name");
    ASSERT_GE(name, 0);
    const cuiGrid::Rect r = Grid().CellRect(name, 0);
    const QPoint mid((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, mid);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, mid);
    EXPECT_TRUE(window->Modified());
    View().Columns().SetHidden(freq, false);
    const std::string shown = Printed();
    ASSERT_NE(shown.find("RX frequency"), std::string::npos) << shown.substr(0, 2000);
    View().Columns().SetHidden(freq, true);
    const std::string hidden = Printed();
    EXPECT_EQ(hidden.find("RX frequency"), std::string::npos) << hidden.substr(0, 2000);
    EXPECT_NE(hidden.find("Name"), std::string::npos);

    // A moved column prints in its new place: Name before the frequency on the heading line.
    View().Columns().SetHidden(freq, false);
    ASSERT_TRUE(View().Sheet().StoreColumnMove(name, freq));
    ASSERT_TRUE(window->OpenSheet(kBank0));
    const std::string moved = Printed();
    auto column = [&](const std::string& text, const std::string& word) {
        const size_t at = text.find(word);
        return at == std::string::npos ? std::string::npos : at - text.rfind('\n', at);
    };
    const std::string original = shown;
    EXPECT_GT(column(original, "Name"), column(original, "RX frequency"));
    EXPECT_LT(column(moved, "Name"), column(moved, "RX frequency")) << moved.substr(0, 1500);
}

TEST_F(ColumnFixture, AHeaderDraggedSidewaysMovesItsColumnAndTheOrderIsKept) {
    const int freq = Column("RX frequency (MHz)");
    const int name = Column("Name");
    ASSERT_GE(freq, 0);
    ASSERT_GT(name, freq);
    ASSERT_TRUE(View().Sheet().ColumnMovable(name));
    const cmcEeprom before = window->Current();
    auto middle = [this](int col) {
        const cuiGrid::Rect r = Grid().CellRect(col, 0);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    // Name onto the frequency's place: the frequency and what stood between follow it.
    QWidget* viewport = Grid().viewport();
    const QPoint from = middle(name), to = middle(freq);
    ASSERT_TRUE(View().Sheet().ColumnMovable(freq));
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 4; ++i) {
        const QPoint at = from + (to - from) * i / 4;
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    ASSERT_TRUE(store.ReadText("Display/MchLmr/colorder", "order"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Column("Name") == freq; }, 2000)) << "the sheet is built again";
    EXPECT_EQ(Column("Name"), freq);
    EXPECT_EQ(Column("RX frequency (MHz)"), freq + 1);
    EXPECT_EQ(View().Sheet().OriginColumn(freq), name);
    EXPECT_FALSE(window->Modified()) << "no sort, no data change";
    EXPECT_TRUE(window->Current() == before);

    // Hiding and widths follow the moved column; the order is kept for the next session.
    View().Columns().SetHidden(Column("Name"), true);
    window.reset();
    bool checked = false;
    RunWindowSession(store, [&](indEnviron&, cuiMain& w) {
        ASSERT_TRUE(w.OpenSheet(kBank0));
        EXPECT_EQ(Column(w, "RX frequency (MHz)"), freq + 1);
        EXPECT_TRUE(w.SheetView()->Grid().ColHidden(freq));
        checked = true;
    });
    EXPECT_TRUE(checked);
}

} // namespace

// What a user of the desktop program notices first: the About window, the help (in the desktop's
// browser or the built-in window), the toolbar's icons, the window's size and maximised state from one
// start to the next, the question when another model type would replace unsaved changes, channel
// names in a widened column, and column headers at the largest font size.
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "cells/cmcCellIds.h"
#include "core/cmcMemorySettings.h"
#include "gui/cuiAboutDialog.h"
#include "gui/cuiGrid.h"
#include "gui/cuiHelpViewer.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const char* const kLmrBank = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
const char* const kPmrBank = "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0";

struct cuiPolish : MainWindowFixture {
    TempDir dir;
    std::string askedPath;    // what the file dialogs answer
    bool browserOpens = true; // whether the desktop's browser takes the help file
    std::vector<std::string> inBrowser;
    cuiMain::Services Services() {
        cuiMain::Services s = WindowServices();
        s.askPath = [this](bool, const std::string&, const std::string&) { return askedPath; };
        s.openHelp = [this](const std::string& path) {
            inBrowser.push_back(path);
            return browserOpens;
        };
        s.version = "9.8.7";
        s.buildDate = "2031-01-02";
        return s;
    }
    cuiSheetView& View() { return *window->SheetView(); }
    cuiGrid& Grid() { return View().Grid(); }
};

// ---- About ----

TEST_F(cuiPolish, AboutShowsVersionBuildDayAndLicenceAndClosesWithEscapeOrEnter) {
    StartWindow(Services());
    QList<QAction*> about = window->CommandActions("CL_Help_About");
    ASSERT_FALSE(about.isEmpty());
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        QString shown;
        bool closed = false;
        WhenModal([](QWidget* w) { return qobject_cast<cuiAboutDialog*>(w) != nullptr; },
                  [&](QWidget* w) {
                      shown = static_cast<cuiAboutDialog*>(w)->Text();
                      QTest::keyClick(w, key);
                      closed = !w->isVisible();
                  });
        about[0]->trigger(); // modal: returns once the window has closed
        EXPECT_TRUE(closed) << key;
        EXPECT_TRUE(shown.contains("9.8.7")) << shown.toStdString();
        EXPECT_TRUE(shown.contains("2031-01-02"));
        EXPECT_TRUE(shown.contains("GNU General Public License, version 3"));
        EXPECT_TRUE(shown.contains(QString::fromStdString(cmcAppFile("LICENSE"))));
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(cmcAppFile("LICENSE")));
    EXPECT_TRUE(box.shown.empty());
}

// ---- Help ----

TEST_F(cuiPolish, HelpWithoutABrowserOpensInTheBuiltInWindowOnce) {
    browserOpens = false;
    StartWindow(Services());
    window->OpenHelp();
    ASSERT_EQ(inBrowser.size(), 1u); // the browser was asked first
    cuiHelpViewer* viewer = window->HelpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Browser()->source(), QUrl::fromLocalFile(QString::fromStdString(inBrowser[0])));
    EXPECT_FALSE(viewer->Browser()->toPlainText().isEmpty());
    // Again: the same window, not a second one.
    window->OpenHelp();
    EXPECT_EQ(window->HelpViewer(), viewer);
    EXPECT_EQ(window->findChildren<cuiHelpViewer*>().size(), 1);
    EXPECT_TRUE(box.shown.empty());
    // Escape in the page closes the window.
    QTest::keyClick(viewer->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(cuiPolish, HelpInTheBrowserOpensNoWindowAndAMissingFileIsNamed) {
    StartWindow(Services());
    window->OpenHelp();
    EXPECT_EQ(inBrowser.size(), 1u);
    EXPECT_EQ(window->HelpViewer(), nullptr);

    const std::string missing = dir.File("no-such-help.html");
    window->OpenHelpFile(missing);
    EXPECT_EQ(inBrowser.size(), 1u); // nothing to open
    EXPECT_EQ(window->HelpViewer(), nullptr);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find(missing), std::string::npos) << box.shown[0].text;
    EXPECT_NE(box.shown[0].text.find("help file"), std::string::npos);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
}

// ---- toolbar icons ----

TEST_F(cuiPolish, EveryToolbarCommandShowsAnIconOfItsOwnThatIsNoRedCross) {
    StartWindow(Services());
    auto* bar = window->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    std::vector<std::pair<QString, QImage>> seen;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        const QImage image = action->icon().pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
        int ink = 0, red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() < 128)
                    continue;
                ++ink;
                red += c.red() > 150 && c.green() < 90 && c.blue() < 90;
            }
        EXPECT_GT(ink, 24) << action->text().toStdString() << " shows nothing";
        EXPECT_LT(red * 5, ink) << action->text().toStdString() << " is mostly red";
        for (const auto& [text, other] : seen)
            EXPECT_NE(image, other) << action->text().toStdString() << " looks like " << text.toStdString();
        seen.emplace_back(action->text(), image);
    }
    EXPECT_GE(seen.size(), 9u);
}

// ---- window size and state ----

TEST(cuiPolishWindow, TheFirstStartIsRoomyAndCentredAndALaterOneKeepsTheStoredBounds) {
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    cmcMemorySettings store;
    auto session = [&](const std::function<void(cuiMain&)>& body) {
        indEnviron env{store, nullptr, area.width(), area.height()};
        env.modelType = 0;
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
        s.loop = &loop;
        cuiMain window(s);
        window.Start();
        window.show();
        body(window);
        box.answers.push_back(cmcMessageBox::Answer::No);
        window.close();
    };
    const QSize first(std::min(1100, area.width() * 9 / 10), std::min(720, area.height() * 9 / 10));
    session([&](cuiMain& window) {
        EXPECT_EQ(window.geometry().size(), first);
        EXPECT_EQ(window.geometry().center().x(), area.center().x());
        EXPECT_LE(std::abs(window.geometry().center().y() - area.center().y()), 1);
        window.setGeometry(area.left() + 10, area.top() + 20, 500, 400);
    });
    session([&](cuiMain& window) {
        EXPECT_EQ(window.geometry(), QRect(area.left() + 10, area.top() + 20, 500, 400));
    });
}

TEST(cuiPolishWindow, AWindowClosedMaximisedStartsMaximisedAndReturnsToItsBounds) {
    cmcMemorySettings store;
    QRect normal;
    RunWindowSession(store, [&](indEnviron&, cuiMain& window) {
        normal = window.geometry();
        window.showMaximized();
        EXPECT_TRUE(window.isMaximized());
    });
    RunWindowSession(store, [&](indEnviron&, cuiMain& window) {
        EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
        window.showNormal();
        EXPECT_EQ(window.geometry(), normal);
    });
    RunWindowSession(store, [&](indEnviron&, cuiMain& window) { EXPECT_FALSE(window.isMaximized()); });
}

// ---- changing the model type ----

TEST_F(cuiPolish, ChangingTheModelTypeOffersToSaveUnsavedChanges) {
    struct Case {
        const char* name;
        bool hasFile;
        cmcMessageBox::Answer answer;
        bool saveAsCancelled;
        bool changes;   // the model type changes (and the data is the new type's, unmodified)
        bool fileSaved; // the changes were written first
    };
    const Case cases[] = {
        {"Yes saves to the file", true, cmcMessageBox::Answer::Yes, false, true, true},
        {"Yes without a file asks Save As", false, cmcMessageBox::Answer::Yes, false, true, true},
        {"a cancelled Save As keeps everything", false, cmcMessageBox::Answer::Yes, true, false, false},
        {"No discards", true, cmcMessageBox::Answer::No, false, true, false},
        {"Cancel keeps everything", true, cmcMessageBox::Answer::Cancel, false, false, false},
    };
    StartWindow(Services());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.answers = {cmcMessageBox::Answer::No}; // a change left from the case before goes
        window->ChangeModel(0, false);
        window->New();
        const std::string file = dir.File(std::string(c.name) + ".ocd");
        if (c.hasFile) {
            ASSERT_TRUE(window->Save(file));
        }
        std::filesystem::remove(file);
        askedPath = c.saveAsCancelled ? std::string() : file;
        window->MarkModified();
        box.shown.clear();
        box.answers = {c.answer};
        window->ChangeModel(1, true);
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].buttons, cmcMessageBox::Buttons::YesNoCancel);
        EXPECT_EQ(window->ModelType(), c.changes ? 1 : 0);
        EXPECT_EQ(window->Modified(), !c.changes);
        EXPECT_EQ(std::filesystem::exists(file), c.fileSaved);
    }
    // Without unsaved changes it asks as before: OK or Cancel.
    box.answers = {cmcMessageBox::Answer::No};
    window->ChangeModel(0, false);
    window->New();
    box.shown.clear();
    box.answers = {cmcMessageBox::Answer::Ok};
    window->ChangeModel(1, true);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].buttons, cmcMessageBox::Buttons::OkCancel);
    EXPECT_EQ(window->ModelType(), 1);
}

// ---- cell painting ----

// The columns of a cell's ink (dark pixels) inside the cell rectangle, rules left out: {first, last}.
std::pair<int, int> InkColumns(cuiGrid& grid, int col, int row) {
    const QImage image = grid.viewport()->grab().toImage();
    const cuiGrid::Rect r = grid.CellRect(col, row);
    int first = -1, last = -1;
    for (int x = r.left; x < r.right - 2; ++x)
        for (int y = r.top + 1; y < r.bottom - 2; ++y)
            if (qGray(image.pixel(x, y)) < 110) {
                if (first < 0)
                    first = x - r.left;
                last = x - r.left;
                break;
            }
    return {first, last};
}

TEST_F(cuiPolish, AChannelNameInAWidenedColumnStaysNormalTextAtTheLeft) {
    cuiMain::Services s = Services();
    env.modelType = 1; // the PMR data names its channels
    StartWindow(s);
    ASSERT_TRUE(window->OpenSheet(kPmrBank));
    window->resize(1200, 700);
    QApplication::processEvents();
    const int row = Grid().FixedRows() + 1;
    int nameCol = -1;
    for (int c = 0; c < View().Sheet().ColCount(); ++c)
        if (View().Sheet().CellAt(c, row).cell.cell == cmcCellIds::CellByName("CL_Mch_Text"))
            nameCol = c;
    ASSERT_GE(nameCol, 0);
    Grid().SetLeftCol(std::max(nameCol - 1, Grid().FixedCols()));
    const auto narrow = InkColumns(Grid(), nameCol, row);
    ASSERT_GE(narrow.first, 0) << "the name shows nothing";

    const int wide = Grid().ColWidth(nameCol) * 3;
    View().Sheet().SetColWidth(nameCol, wide);
    Grid().SetColWidth(nameCol, wide);
    const auto widened = InkColumns(Grid(), nameCol, row);
    EXPECT_EQ(widened, narrow) << "the letters moved apart in the wider column";
    EXPECT_LE(widened.first, 6);
}

// ---- headers at the largest font ----

TEST_F(cuiPolish, HeadersFitAtTheLargestFontAfterWidthsWereStoredAtTheNormalOne) {
    StartWindow(Services());
    ASSERT_TRUE(window->OpenSheet(kLmrBank));
    std::vector<int> normal;
    for (int c = 0; c < Grid().ColCount(); ++c)
        normal.push_back(Grid().ColWidth(c));
    window->CommandActions("CL_Menu_View_FontSize", 150)[0]->trigger();
    ASSERT_TRUE(window->OpenSheet(kLmrBank));
    const cuiSheet& sheet = View().Sheet();
    int grown = 0;
    for (int c = 0; c < Grid().ColCount(); ++c) {
        grown += normal[static_cast<size_t>(c)] > 0 && normal[static_cast<size_t>(c)] < sheet.FittedWidth(c);
        EXPECT_TRUE(Grid().ColWidth(c) == 0 || Grid().ColWidth(c) >= sheet.FittedWidth(c))
            << "column " << c << " is " << Grid().ColWidth(c) << " wide, its header needs "
            << sheet.FittedWidth(c);
    }
    EXPECT_GT(grown, 0) << "the stored widths were never too narrow: nothing tested";
}

} // namespace

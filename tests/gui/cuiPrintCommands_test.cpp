// The print commands of the main window on the shipped overlay and initial data, printing into a
// PDF file: the preview's pages are the printed pages, the printing dialog cancels a list, the
// menu states, the failure message, and the whole flow from the keyboard.
#include "MainWindowFixture.h"
#include "WhenModal.h"
#include "app/cmcInstanceLock.h"
#include "gui/cuiPreview.h"
#include "gui/cuiPrintCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool IsPreview(QWidget* w) {
    return qobject_cast<cuiPreview*>(w) != nullptr;
}

// The pages of a PDF file as pdfinfo counts them; -1 when it cannot read it.
int PdfPages(const std::string& path) {
    const std::string command = "pdfinfo '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    int pages = -1;
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
        std::sscanf(line, "Pages: %d", &pages);
    }
    return pclose(pipe) == 0 ? pages : -1;
}

bool HavePdfInfo() {
    return std::system("pdfinfo -v >/dev/null 2>&1") == 0;
}

struct PrintFixture : MainWindowFixture {
    TempDir dir;
    std::string pdf;
    int setups = 0;
    bool acceptSetup = true;

    void SetUp() override {
        pdf = dir.File("sheets.pdf");
        cuiMain::Services s = WindowServices();
        s.setupPrinter = [this](QPrinter& printer) {
            ++setups;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return acceptSetup;
        };
        StartWindow(s);
    }
    cuiPrintCommands& Print() { return window->Print(); }
    QAction* Action(const char* cell) {
        const QList<QAction*> actions = window->CommandActions(cell);
        return actions.isEmpty() ? nullptr : actions.front();
    }
    bool WaitDone() {
        return QTest::qWaitFor([&] { return !Print().IsBusy(); }, 20000);
    }
};

TEST_F(PrintFixture, PrintFromThePreviewWritesThePagesItShowsAtTheFontSizeSet) {
    if (!HavePdfInfo()) {
        GTEST_SKIP() << "pdfinfo is not installed";
    }
    ASSERT_TRUE(window->SelectTreeNode("[St_Common]GI_Sheet_Common"));
    int before = 0;
    int after = 0;
    WhenModal(IsPreview, [&](QWidget* w) {
        auto* preview = static_cast<cuiPreview*>(w);
        before = preview->PageCount();
        WhenModal([w](QWidget* s) { return s != w && s->windowTitle() == "Setting"; },
                  [](QWidget* setting) {
                      setting->findChild<QComboBox*>()->setCurrentIndex(4);
                      for (QPushButton* b : setting->findChildren<QPushButton*>()) {
                          if (b->text() == "OK") {
                              b->click();
                          }
                      }
                  });
        preview->OpenSetting();
        after = preview->PageCount();
        preview->Button(cuiPreview::Tool::Print)->click();
    });
    Print().PrintCurrent();
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(setups, 1);
    ASSERT_GT(before, 0);
    EXPECT_GE(after, before);
    EXPECT_EQ(env.printerFontSize, 12);
    EXPECT_EQ(Print().LastState(), cuiPrintJob::State::Finished);
    EXPECT_EQ(PdfPages(pdf), after);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_FALSE(window->Modified()); // printing reads the data, never changes it
    EXPECT_TRUE(window->menuBar()->isEnabled());
}

TEST_F(PrintFixture, CancelInThePrintingDialogStopsTheListAndEndsTheDocument) {
    if (!HavePdfInfo()) {
        GTEST_SKIP() << "pdfinfo is not installed";
    }
    int total = 0;
    WhenModal(IsPreview, [&](QWidget* w) {
        total = static_cast<cuiPreview*>(w)->PageCount();
        static_cast<cuiPreview*>(w)->Button(cuiPreview::Tool::Print)->click();
    });
    Print().PrintAll();
    ASSERT_TRUE(Print().IsBusy());
    ASSERT_NE(Print().PrintingDialog(), nullptr);
    EXPECT_TRUE(Print().PrintingDialog()->isVisible());
    EXPECT_FALSE(window->menuBar()->isEnabled());
    // While it prints the window takes no commands and does not close.
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Print().Job() && Print().Job()->PagesPrinted() > 0; }, 20000));
    Print().CancelButton()->click();
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(Print().LastState(), cuiPrintJob::State::Cancelled);
    EXPECT_EQ(Print().PrintingDialog(), nullptr);
    EXPECT_TRUE(window->menuBar()->isEnabled());
    const int printed = PdfPages(pdf);
    EXPECT_GT(printed, 0); // a complete document of the pages printed before Cancel
    EXPECT_LT(printed, total);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(PrintFixture, PrintCurrentIsDisabledOnASheetThatDoesNotPrint) {
    ASSERT_NE(Action("CL_Menu_File_Print_Current"), nullptr);
    ASSERT_NE(Action("CL_Menu_File_Print_All"), nullptr);
    struct Case {
        const char* sheet;
        bool enabled;
    };
    for (Case c : {Case{"GI_Sheet_CloneInfo", false}, Case{"GI_Sheet_SetMode", true}}) {
        // The toolbar button follows the sheet as soon as it opens, not only when a menu shows.
        ASSERT_TRUE(window->SelectTreeNode(c.sheet)) << c.sheet;
        for (QAction* a : window->CommandActions("CL_Menu_File_Print_Current")) {
            EXPECT_EQ(a->isEnabled(), c.enabled) << c.sheet;
        }
        EXPECT_TRUE(Action("CL_Menu_File_Print_All")->isEnabled()) << c.sheet;
    }
}

TEST_F(PrintFixture, CancelledSetupOrPreviewPrintsNothing) {
    acceptSetup = false;
    Print().PrintAll();
    EXPECT_EQ(setups, 1);
    EXPECT_FALSE(Print().IsBusy());

    acceptSetup = true;
    WhenModal(IsPreview, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Print().PrintAll();
    EXPECT_FALSE(Print().IsBusy());
    EXPECT_EQ(Print().LastState(), cuiPrintJob::State::Ready);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(PrintFixture, AFileThatCannotBeWrittenEndsInTheFailureMessage) {
    pdf = dir.File("no such folder/sheets.pdf");
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    WhenModal(IsPreview,
              [](QWidget* w) { static_cast<cuiPreview*>(w)->Button(cuiPreview::Tool::Print)->click(); });
    Print().PrintCurrent();
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(Print().LastState(), cuiPrintJob::State::Failed);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, tables.Text().GetJoinedText("GI_Sys_Printer_Failed"));
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_TRUE(window->menuBar()->isEnabled());
}

TEST_F(PrintFixture, KeyboardOnlyOpensThePreviewFromTheFileMenuAndEscapeClosesIt) {
    ASSERT_TRUE(window->SelectTreeNode("GI_Sheet_SetMode"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    bool previewed = false;
    WhenModal(IsPreview, [&](QWidget* w) {
        previewed = true;
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 2000));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P); // &Print current sheet...
    ASSERT_TRUE(QTest::qWaitFor([&] { return previewed && !Print().IsBusy(); }, 5000));
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(Print().LastState(), cuiPrintJob::State::Ready);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace

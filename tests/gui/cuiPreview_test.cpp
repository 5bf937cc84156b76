// The print preview on pages a test draws: page navigation by buttons, the page box and the keys,
// the zoom that turns the arrow keys into scrolling, the font size setting and the two ways out.
#include "WhenModal.h"
#include "core/cmcAppDir.h"
#include "core/cmcTextTables.h"
#include "gui/cuiPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Tool = cuiPreview::Tool;

struct PreviewFixture : testing::Test {
    cmcTextTables tables;
    QPrinter printer{QPrinter::HighResolution};
    int pages = 3;
    int draws = 0;
    std::unique_ptr<cuiPreview> preview;

    void SetUp() override {
        tables.Load(cmcAppDir(), 0);
        printer.setOutputFormat(QPrinter::PdfFormat);
    }
    void Open(int fontSize = 10) {
        preview =
            std::make_unique<cuiPreview>(nullptr, printer, tables.Text(), fontSize, [this](QPrinter& p) {
                ++draws;
                QPainter painter(&p);
                for (int i = 0; i < pages; ++i) {
                    if (i > 0) {
                        p.newPage();
                    }
                    painter.drawText(100, 100, QString::number(i + 1));
                }
            });
        preview->Render();
        preview->show();
        preview->GoToPage(0);
    }
    bool Enabled(Tool tool) { return preview->Button(tool)->isEnabled(); }
    void Key(int key) { QTest::keyClick(preview->PageBox(), static_cast<Qt::Key>(key)); }
};

TEST_F(PreviewFixture, OnePageDisablesAllFourNavigationButtons) {
    pages = 1;
    Open();
    ASSERT_EQ(preview->PageCount(), 1);
    for (Tool tool : {Tool::TopPage, Tool::PreviousPage, Tool::NextPage, Tool::LastPage}) {
        EXPECT_FALSE(Enabled(tool));
    }
    EXPECT_EQ(preview->PageBox()->text(), "1");
    EXPECT_EQ(preview->PageLabel()->text(), " / 1");
    EXPECT_EQ(preview->StatusPanel()->text(), " 1 / 1");
    EXPECT_EQ(preview->Button(Tool::NextPage)->toolTip(), "Next Page");
}

TEST_F(PreviewFixture, ButtonsKeysAndThePageBoxTurnPagesWithinTheDocument) {
    Open();
    ASSERT_EQ(preview->PageCount(), 3);
    EXPECT_FALSE(Enabled(Tool::TopPage));
    EXPECT_FALSE(Enabled(Tool::PreviousPage));
    EXPECT_TRUE(Enabled(Tool::NextPage));
    EXPECT_TRUE(Enabled(Tool::LastPage));

    // A page number past the end shows the last page.
    preview->PageBox()->clear();
    QTest::keyClicks(preview->PageBox(), "99");
    Key(Qt::Key_Return);
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(preview->PageBox()->text(), "3");
    EXPECT_EQ(preview->StatusPanel()->text(), " 3 / 3");
    EXPECT_TRUE(Enabled(Tool::TopPage));
    EXPECT_FALSE(Enabled(Tool::NextPage));
    EXPECT_FALSE(Enabled(Tool::LastPage));

    struct Step {
        int key;
        int page;
    };
    for (Step step : {Step{Qt::Key_PageDown, 2}, Step{Qt::Key_PageUp, 1}, Step{Qt::Key_Up, 0},
                      Step{Qt::Key_Up, 0}, Step{Qt::Key_Down, 1}}) {
        Key(step.key);
        EXPECT_EQ(preview->CurrentPage(), step.page) << "key " << step.key;
    }
    preview->Button(Tool::LastPage)->click();
    EXPECT_EQ(preview->CurrentPage(), 2);
    preview->Button(Tool::TopPage)->click();
    EXPECT_EQ(preview->CurrentPage(), 0);

    // Letters never reach the box; digits do. A box that holds no number shows the page again.
    preview->PageBox()->clear();
    QTest::keyClicks(preview->PageBox(), "a2b");
    EXPECT_EQ(preview->PageBox()->text(), "2");
    preview->PageBox()->setText("!");
    Key(Qt::Key_Return);
    EXPECT_EQ(preview->CurrentPage(), 0);
    EXPECT_EQ(preview->PageBox()->text(), "1");
}

TEST_F(PreviewFixture, ZoomedTheArrowKeysScrollThePageInsteadOfTurningIt) {
    Open();
    preview->resize(500, 400);
    // Space presses the focused button: the key filter keeps it.
    QToolButton* zoom = preview->Button(Tool::Zoom);
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Space);
    ASSERT_TRUE(preview->Zoomed());
    EXPECT_EQ(preview->View()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    QScrollBar* bar = preview->View()->findChild<QGraphicsView*>()->verticalScrollBar();
    const int before = bar->value();
    Key(Qt::Key_Down);
    EXPECT_EQ(preview->CurrentPage(), 0);
    EXPECT_GT(bar->value(), before);
    // Page Down still turns the page.
    Key(Qt::Key_PageDown);
    EXPECT_EQ(preview->CurrentPage(), 1);

    preview->Button(Tool::Zoom)->click();
    EXPECT_FALSE(preview->Zoomed());
    Key(Qt::Key_Down);
    EXPECT_EQ(preview->CurrentPage(), 2);
}

TEST_F(PreviewFixture, SettingSetsThePrinterFontSizeAndLaysThePagesOutAgain) {
    Open(9);
    int told = 0;
    preview->onFontSize = [&](int points) {
        told = points;
        pages = 4; // a larger font needs more pages
    };
    preview->GoToPage(2);
    const int drawsBefore = draws;
    auto isSetting = [&](QWidget* w) { return w != preview.get() && w->windowTitle() == "Setting"; };

    // Cancel changes nothing.
    WhenModal(isSetting, [](QWidget* dialog) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == "Cancel") {
                b->click();
            }
        }
    });
    preview->OpenSetting();
    EXPECT_EQ(told, 0);
    EXPECT_EQ(preview->FontSize(), 9);

    int shownIndex = -1;
    WhenModal(isSetting, [&](QWidget* dialog) {
        auto* sizes = dialog->findChild<QComboBox*>();
        shownIndex = sizes->currentIndex();
        ASSERT_EQ(sizes->count(), 5);
        sizes->setCurrentIndex(sizes->findText("5"));
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == "OK") {
                b->click();
            }
        }
    });
    preview->OpenSetting();
    EXPECT_EQ(shownIndex, 1); // 9 points
    EXPECT_EQ(told, 12);
    EXPECT_EQ(preview->FontSize(), 12);
    EXPECT_GT(draws, drawsBefore);
    EXPECT_EQ(preview->PageCount(), 4);
    EXPECT_EQ(preview->CurrentPage(), 0);
    EXPECT_EQ(preview->PageLabel()->text(), " / 4");
}

TEST_F(PreviewFixture, PrintDecidesToPrintAndEscapeOnlyCloses) {
    Open();
    preview->hide(); // Run shows it modally
    struct Case {
        const char* name;
        std::function<void(QWidget*)> act;
        cuiPreview::Decision decision;
    };
    const Case cases[] = {
        {"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, cuiPreview::Decision::Close},
        {"Alt+P", [](QWidget* w) { QTest::keyClick(w, Qt::Key_P, Qt::AltModifier); },
         cuiPreview::Decision::Print},
        {"Print button", [this](QWidget*) { preview->Button(Tool::Print)->click(); },
         cuiPreview::Decision::Print},
    };
    for (const Case& c : cases) {
        // A key that did nothing must not leave the test waiting.
        bool stuck = false;
        QTimer rescue;
        rescue.setSingleShot(true);
        QObject::connect(&rescue, &QTimer::timeout, [&] {
            stuck = true;
            preview->reject();
        });
        WhenModal([&](QWidget* w) { return w == preview.get(); },
                  [&](QWidget* w) {
                      w->activateWindow();
                      EXPECT_TRUE(QTest::qWaitForWindowActive(w)) << c.name;
                      c.act(w);
                      rescue.start(2000);
                  });
        EXPECT_EQ(preview->Run(), c.decision) << c.name;
        EXPECT_FALSE(stuck) << c.name;
    }
}

} // namespace

// The "Cloning" window: shown over a disabled main window, filling its cells with the bytes
// transferred, refusing to be closed, and giving the main window back when hidden.
#include "gui/cuiCloneProgress.h"

#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int HighlightedCells(cuiCloneProgress& window) {
    QImage image = window.grab().toImage();
    QColor highlight = window.palette().color(QPalette::Highlight);
    int cell = (cuiCloneProgress::kAreaWidth + 1) / cuiCloneProgress::kCells;
    int n = 0;
    for (int i = 0; i < cuiCloneProgress::kCells; ++i)
        n += image.pixelColor(16 + i * cell + cell / 2, 16) == highlight ? 1 : 0;
    return n;
}

TEST(cuiCloneProgress, FillsWithTheTransferAndHoldsTheMainWindow) {
    QMainWindow main;
    main.setCentralWidget(new QWidget);
    main.resize(400, 300);
    main.show();
    cuiCloneProgress progress(&main);
    EXPECT_EQ(progress.windowTitle(), "Cloning");
    progress.ShowProgress(65408);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.MainWindowEnabled());
    EXPECT_FALSE(main.centralWidget()->isEnabled());
    // A message about the clone, owned by the main window, can still be answered.
    QDialog message(&main);
    EXPECT_TRUE(message.isEnabled());
    EXPECT_TRUE(progress.isEnabled());
    EXPECT_EQ(HighlightedCells(progress), 0);
    progress.UpdateProgress(65408 / 2, 65408);
    EXPECT_EQ(HighlightedCells(progress), indCloneProgress::FilledCells(65408 / 2, 65408));
    EXPECT_EQ(HighlightedCells(progress), 16);
    progress.UpdateProgress(65408, 65408);
    EXPECT_EQ(HighlightedCells(progress), 32);
    EXPECT_FALSE(progress.close()); // the user cannot close it
    EXPECT_TRUE(progress.isVisible());
    progress.HideProgress();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(progress.MainWindowEnabled());
    EXPECT_TRUE(main.centralWidget()->isEnabled());
}

} // namespace

#pragma once
// The "Cloning" window the clone manager shows while a read or write runs: 32 cells filling with the
// bytes transferred, above the main window, whose contents stay disabled meanwhile. It cannot be closed.
#include "clone/indCloneProgress.h"

#include <QDialog>

class cuiCloneProgress : public QDialog, public indCloneProgress {
    Q_OBJECT
public:
    static constexpr int kCells = 32;
    static constexpr int kAreaWidth = 256;
    static constexpr int kAreaHeight = 16;

    // mainWindow: the window disabled while cloning and centred on (may be null).
    explicit cuiCloneProgress(QWidget* mainWindow);

    void SetMainWindowEnabled(bool enabled) override;
    void ShowProgress(int32_t total) override;
    void UpdateProgress(int32_t transferred, int32_t total) override;
    void HideProgress() override;

    // Whether the main window's contents take input.
    bool MainWindowEnabled() const;
    int32_t Transferred() const { return m_transferred; }
    int32_t Total() const { return m_total; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnableMain(bool enabled);

    QWidget* m_main;
    int32_t m_transferred = 0;
    int32_t m_total = 0;
};

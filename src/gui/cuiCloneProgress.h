#pragma once
// The "Cloning" window the clone manager shows while a read or write runs: what it does, 32 cells
// filling with the bytes transferred, the bytes, rate, elapsed time and time left, the port and speed,
// and a Cancel button (Escape) that stops the operation. The main window's contents stay disabled
// meanwhile; the window cannot be closed otherwise.
#include "clone/cmcTransferRate.h"
#include "clone/indCloneProgress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

class cuiCloneProgress : public QDialog, public indCloneProgress {
    Q_OBJECT
public:
    static constexpr int kCells = 32;
    static constexpr int kAreaWidth = 256;
    static constexpr int kAreaHeight = 16;

    // mainWindow: the window disabled while cloning and centred on (may be null).
    explicit cuiCloneProgress(QWidget* mainWindow);

    // What Cancel and Escape call (the clone manager's Cancel); unset: the button does nothing.
    void SetCancelHandler(std::function<void()> cancel) { m_cancel = std::move(cancel); }
    // The millisecond clock of the elapsed time and time left; unset: the steady clock.
    void SetClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }

    void SetMainWindowEnabled(bool enabled) override;
    void DescribeOperation(cmcCloneMode mode, const std::string& device, int32_t baud) override;
    void ShowProgress(int32_t total) override;
    void UpdateProgress(int32_t transferred, int32_t total) override;
    void HideProgress() override;

    // Whether the main window's contents take input.
    bool MainWindowEnabled() const;
    int32_t Transferred() const { return m_transferred; }
    int32_t Total() const { return m_total; }
    QString OperationText() const;
    QString TransferText() const;
    QString PortText() const;
    QPushButton* CancelButton() const { return m_cancelButton; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnableMain(bool enabled);
    void RequestCancel();
    int64_t Now() const;

    QWidget* m_main;
    QLabel* m_operation;
    QLabel* m_transfer;
    QLabel* m_port;
    QPushButton* m_cancelButton;
    std::function<void()> m_cancel;
    std::function<int64_t()> m_clock;
    cmcTransferRate m_rate;
    int32_t m_transferred = 0;
    int32_t m_total = 0;
};

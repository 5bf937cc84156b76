#pragma once
// The print commands of the main window: Print current sheet and Print all sheets. A print runs the
// printer setup dialog, the preview and then the printing itself, one sheet per timer step behind a
// printing dialog whose Cancel button stops it; the main window takes no input meanwhile.
#include "core/cmcMessageBox.h"
#include "print/cuiPrintJob.h"
#include "print/cuiPrintList.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPrinter;
class QPushButton;
class QTimer;
class cmcEvMan;
class cmcGTex;
class cuiMain;
class cuiPreview;
class cuiPrinter;
class cuiQtPrintDevice;
class indEnviron;

class cuiPrintCommands : public QObject {
    Q_OBJECT
public:
    struct Services {
        indEnviron* env = nullptr; // printer font size
        cmcGTex* texts = nullptr;
        cmcMessageBox* box = nullptr;
        cmcEvMan* events = nullptr;
        // The printer setup dialog; true to go on. Unset: the Qt print dialog. Tests script it.
        std::function<bool(QPrinter& printer)> setupPrinter;
        // Called when a print has ended (the commands' states change).
        std::function<void()> finished;
    };

    cuiPrintCommands(cuiMain& window, Services services);
    ~cuiPrintCommands() override;

    // Print current sheet (the summary for the LMR bank operation sheet) and Print all sheets.
    void PrintCurrent();
    void PrintAll();
    // Whether Print current sheet has something to print.
    bool CanPrintCurrent();
    // A print is being previewed or printed.
    bool IsBusy() const { return m_busy; }

    // The printer the next print uses (kept between prints, as the setup dialog left it).
    QPrinter& Printer() { return *m_printer; }
    // While they exist: the preview and the printing dialog, its Cancel button, the running job.
    cuiPreview* Preview() const { return m_preview; }
    QDialog* PrintingDialog() const { return m_dialog; }
    QPushButton* CancelButton() const { return m_cancel; }
    const cuiPrintJob* Job() const { return m_job.get(); }
    // How the last print ended; Ready when it never reached the printing.
    cuiPrintJob::State LastState() const { return m_lastState; }

private:
    void Print(cuiPrintList list);
    void CommitEdits();
    std::unique_ptr<cuiPrinter> MakePrinter();
    bool SetupPrinter();
    void ShowPrintingDialog(int sheets);
    void Step();
    void Finish(cuiPrintJob::State state);
    void EnableWindow(bool enabled);
    void Message(const std::string& key, cmcMessageBox::Icon icon);
    iuiTreeSheets::Modes Modes() const;

    cuiMain& m_window;
    Services m_s;
    std::unique_ptr<QPrinter> m_printer;
    QString m_defaultPdf; // the PDF file offered when no printer is installed
    std::unique_ptr<cuiPrinter> m_sheetPrinter;
    std::unique_ptr<cuiQtPrintDevice> m_device;
    std::unique_ptr<cuiPrintJob> m_job;
    cuiPreview* m_preview = nullptr;
    QPointer<QDialog> m_dialog;
    QLabel* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_timer = nullptr;
    size_t m_sheetsDone = 0;
    bool m_busy = false;
    cuiPrintJob::State m_lastState = cuiPrintJob::State::Ready;
};

#include "gui/cuiPrintCommands.h"

#include "app/indEnviron.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "gui/cuiMain.h"
#include "gui/cuiPreview.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "platform/cuiQtPrintDevice.h"
#include "print/cuiPrinter.h"
#include "sheets/cuiSheet.h"

#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// One sheet of a list prints per step; between steps the window answers the Cancel button.
constexpr int kStepMs = 50;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The printing dialog: it stays until the job has ended. Escape and the window's close ask for the
// same as its Cancel button.
class PrintingWindow : public QDialog {
public:
    PrintingWindow(QWidget* parent, std::function<void()> cancel)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          m_cancel(std::move(cancel)) {}
    void reject() override { m_cancel(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        m_cancel();
    }

private:
    std::function<void()> m_cancel;
};

// "Sheet %d of %d" with the two numbers.
QString Progress(const std::string& format, size_t sheet, size_t sheets) {
    QString text = Q(format);
    for (size_t value : {sheet, sheets}) {
        const qsizetype at = text.indexOf(QStringLiteral("%d"));
        if (at >= 0) {
            text.replace(at, 2, QString::number(value));
        }
    }
    return text;
}

} // namespace

cuiPrintCommands::cuiPrintCommands(cuiMain& window, Services services)
    : m_window(window), m_s(std::move(services)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_timer = new QTimer(this);
    m_timer->setInterval(kStepMs);
    connect(m_timer, &QTimer::timeout, this, [this] { Step(); });
}

cuiPrintCommands::~cuiPrintCommands() {
    m_timer->stop();
    // A document still open is ended before its device goes.
    m_job.reset();
    m_device.reset();
    delete m_dialog;
}

iuiTreeSheets::Modes cuiPrintCommands::Modes() const {
    iuiTreeSheets::Modes modes;
    modes.modelType = m_window.ModelType();
    modes.maker = m_window.MakerMode();
    return modes;
}

std::unique_ptr<cuiPrinter> cuiPrintCommands::MakePrinter() {
    cuiPrinter::Services services;
    services.texts = m_s.texts;
    services.sheetEnv = [this] { return m_window.SheetEnv(); };
    services.handler = m_window.Handler();
    services.screenDpi = std::max(1, m_window.logicalDpiY());
    services.fontSize = m_s.env->printerFontSize;
    services.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    return std::make_unique<cuiPrinter>(std::move(services));
}

void cuiPrintCommands::PrintCurrent() {
    if (m_busy || m_window.OpenSheetText().empty()) {
        return;
    }
    CommitEdits();
    Print(cuiPrintList::Current(m_window.OpenSheetText(), *m_s.texts, m_window.Current(), Modes()));
}

void cuiPrintCommands::PrintAll() {
    if (m_busy) {
        return;
    }
    CommitEdits();
    Print(cuiPrintList::AllSheets(*m_s.texts, m_window.Current(), Modes()));
}

bool cuiPrintCommands::CanPrintCurrent() {
    const std::string& text = m_window.OpenSheetText();
    if (m_busy || text.empty() || !m_window.SheetView()) {
        return false;
    }
    const cuiPrintList list = cuiPrintList::Current(text, *m_s.texts, m_window.Current(), Modes());
    // The open sheet alone: it answers for itself, as its print copy would (the menu state is asked on
    // every command refresh, and building a copy of a full bank for it is work thrown away).
    if (list.sheets.size() == 1 && list.sheets.front() == text) {
        return m_window.SheetView()->Sheet().IsPrintable();
    }
    std::unique_ptr<cuiPrinter> printer = MakePrinter();
    cuiQtPrintDevice device(*m_printer);
    cuiPrinter::Target target = printer->MakeTarget(device, list.repeaterPrint);
    return std::any_of(list.sheets.begin(), list.sheets.end(),
                       [&](const std::string& sheet) { return printer->IsPrintable(target, sheet); });
}

// Edits in progress are taken, and the open sheet's column widths stored: print copies lay their
// columns out from the stored widths.
void cuiPrintCommands::CommitEdits() {
    m_window.CommitEdits();
    if (cuiSheetView* view = m_window.SheetView()) {
        view->Sheet().SaveColumnWidths();
    }
}

bool cuiPrintCommands::SetupPrinter() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Without an installed printer the pages can still go into a PDF file.
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        if (!m_printer->isValid()) {
            Message("GI_Sys_Printer_NoPrinter", cmcMessageBox::Icon::Error);
            return false;
        }
        // The file is named after the data file, beside it, until the user picks another name.
        if (m_printer->outputFileName().isEmpty() || m_printer->outputFileName() == m_defaultPdf) {
            const QString folder =
                m_s.env->currentDirectory.empty() ? QDir::homePath() : Q(m_s.env->currentDirectory);
            const QString name = m_window.Path().empty() ? QStringLiteral("Untitled")
                                                         : QFileInfo(Q(m_window.Path())).completeBaseName();
            m_defaultPdf = QDir(folder).filePath(name + QStringLiteral(".pdf"));
            m_printer->setOutputFileName(m_defaultPdf);
        }
    }
    if (m_s.setupPrinter) {
        return m_s.setupPrinter(*m_printer);
    }
    QPrintDialog dialog(m_printer.get(), &m_window);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // Every page of the preview prints: a page range would not be honoured.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_printer->setPrintRange(QPrinter::AllPages);
    return accepted;
}

void cuiPrintCommands::Print(cuiPrintList list) {
    if (m_busy) {
        return;
    }
    m_busy = true;
    m_lastState = cuiPrintJob::State::Ready;
    if (!SetupPrinter()) {
        Finish(cuiPrintJob::State::Ready);
        return;
    }
    if (m_s.events) {
        m_s.events->Send(cmcEv::RaiseFloatingWindows);
    }
    m_sheetPrinter = MakePrinter();
    EnableWindow(false);

    cuiPreview::Decision decision = cuiPreview::Decision::Close;
    bool empty = false;
    {
        // Each layout of the preview is a fresh document on the preview's printer.
        cuiPreview preview(&m_window, *m_printer, *m_s.texts, m_sheetPrinter->FontSize(),
                           [this, &list](QPrinter& printer) {
                               cuiQtPrintDevice device(printer);
                               cuiPrintJob job(*m_sheetPrinter, device, list);
                               job.Run();
                           });
        preview.onFontSize = [this](int points) {
            m_s.env->printerFontSize = points;
            m_sheetPrinter->SetFontSize(points);
        };
        m_preview = &preview;
        preview.Render();
        empty = preview.PageCount() == 0;
        if (!empty) {
            decision = preview.Run();
        }
        m_preview = nullptr;
    }
    if (empty) {
        Finish(cuiPrintJob::State::Empty);
        return;
    }
    if (decision != cuiPreview::Decision::Print) {
        Finish(cuiPrintJob::State::Ready);
        return;
    }
    m_device = std::make_unique<cuiQtPrintDevice>(*m_printer);
    m_job = std::make_unique<cuiPrintJob>(*m_sheetPrinter, *m_device, std::move(list));
    if (m_job->Begin() != cuiPrintJob::State::Printing) {
        Finish(m_job->GetState());
        return;
    }
    ShowPrintingDialog(static_cast<int>(m_job->List().sheets.size()));
    m_sheetsDone = 0;
    m_timer->start();
}

void cuiPrintCommands::ShowPrintingDialog(int sheets) {
    cmcGTex& tex = *m_s.texts;
    auto* dialog = new PrintingWindow(&m_window, [this] {
        if (m_job) {
            m_job->Cancel();
        }
        if (m_cancel) {
            m_cancel->setEnabled(false);
        }
    });
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setWindowTitle(Q(tex.GetLine("GI_Sys_Printer_PrintingDialog", 0)));
    dialog->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(dialog);
    auto* label = new QLabel(Q(tex.GetLine("GI_Sys_Printer_PrintingDialog", 1)), dialog);
    label->setAlignment(Qt::AlignCenter);
    m_progress = new QLabel(
        Progress(tex.GetLine("GI_Sys_Printer_Progress", 0), 1, static_cast<size_t>(sheets)), dialog);
    m_progress->setAlignment(Qt::AlignCenter);
    m_cancel = new QPushButton(Q(tex.GetLine("GI_Sys_Printer_PrintingDialog", 2)), dialog);
    m_cancel->setDefault(true);
    const int labelWidth = label->sizeHint().width();
    m_cancel->setFixedWidth(labelWidth * 6 / 5);
    connect(m_cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    dialog->setMinimumWidth(2 * labelWidth);
    dialog->adjustSize();
    dialog->move(m_window.geometry().center() - dialog->rect().center());
    m_dialog = dialog;
    dialog->show();
    m_cancel->setFocus();
}

void cuiPrintCommands::Step() {
    if (!m_job) {
        m_timer->stop();
        return;
    }
    const cuiPrintJob::State state = m_job->Step();
    ++m_sheetsDone;
    if (state != cuiPrintJob::State::Printing) {
        Finish(state);
        return;
    }
    if (m_progress) {
        const size_t sheets = m_job->List().sheets.size();
        m_progress->setText(Progress(m_s.texts->GetLine("GI_Sys_Printer_Progress", 0),
                                     std::min(m_sheetsDone + 1, sheets), sheets));
    }
}

void cuiPrintCommands::Finish(cuiPrintJob::State state) {
    m_timer->stop();
    m_lastState = state;
    if (m_dialog) {
        m_dialog->hide();
        m_dialog->deleteLater();
    }
    m_dialog = nullptr;
    m_progress = nullptr;
    m_cancel = nullptr;
    // The job goes before its device, the device (which ends an open document) before the printer.
    m_job.reset();
    m_device.reset();
    m_sheetPrinter.reset();
    EnableWindow(true);
    m_window.activateWindow();
    m_busy = false;
    if (state == cuiPrintJob::State::Failed) {
        Message("GI_Sys_Printer_Failed", cmcMessageBox::Icon::Error);
    } else if (state == cuiPrintJob::State::Empty) {
        Message("GI_Print_NothingToPrint", cmcMessageBox::Icon::Information);
    }
    if (m_s.finished) {
        m_s.finished();
    }
}

// The main window's contents, not the window: disabling a window disables the windows it owns, and
// the preview and the printing dialog must stay usable.
void cuiPrintCommands::EnableWindow(bool enabled) {
    for (QObject* child : m_window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow()) {
            widget->setEnabled(enabled);
        }
    }
}

void cuiPrintCommands::Message(const std::string& key, cmcMessageBox::Icon icon) {
    m_s.box->Show(m_s.texts->GetJoinedText(key), m_s.texts->GetLine("GI_Sys_AppTitle", 0), icon,
                  cmcMessageBox::Buttons::Ok);
}

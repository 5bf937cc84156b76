#include "PrintPdf.h"

#include "core/cmcAtomicFile.h"
#include "core/cmcGTex.h"
#include "gui/cuiMain.h"
#include "model/indCellHandler.h"
#include "platform/cuiQtPrintDevice.h"
#include "print/cuiPrintJob.h"
#include "print/cuiPrintList.h"
#include "print/cuiPrinter.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/cuiSheetText.h"

#include <QBuffer>
#include <QDate>
#include <QPageSize>
#include <QPdfWriter>
#include <cstdio>

namespace {

constexpr int kPdfDpi = 600;
// Stored column widths were taken on a screen of this many pixels per inch.
constexpr int kScreenDpi = 96;

bool Defined(cmcGTex& tex, const std::string& sheetText) {
    const std::string key = cuiSheetText::Split(sheetText).overlayKey;
    return !key.empty() && tex.HasKey(key + "_Cells") && tex.HasKey(key + "_Style") &&
           tex.HasKey(key + "_BasicCell");
}

} // namespace

int PrintPdf(cuiMain& window, int fontSize, const std::string& sheet, const std::string& out) {
    const cuiSheetEnv env = window.SheetEnv();
    cmcGTex& tex = *env.texts;
    iuiTreeSheets::Modes modes;
    modes.modelType = window.ModelType();
    modes.maker = window.MakerMode();
    if (!sheet.empty() && !Defined(tex, sheet)) {
        std::fprintf(stderr, "ostrel: no sheet '%s'; give a sheet text as the navigation tree names it\n",
                     sheet.c_str());
        return 1;
    }
    // The target is checked before anything is printed, and replaced only by a complete file.
    cmcAtomicFile file(out);
    if (!file.Open()) {
        std::fprintf(stderr, "ostrel: cannot write %s; give a file name in a folder you may write to\n",
                     out.c_str());
        return 1;
    }
    const cuiPrintList list = sheet.empty() ? cuiPrintList::AllSheets(tex, window.Current(), modes)
                                            : cuiPrintList::Current(sheet, tex, window.Current(), modes);

    cuiPrinter::Services services;
    services.texts = &tex;
    services.sheetEnv = [&window] { return window.SheetEnv(); };
    services.handler = window.Handler();
    services.screenDpi = kScreenDpi;
    services.fontSize = fontSize;
    services.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    cuiPrinter printer(services);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    cuiPrintJob::State state;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kPdfDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setCreator(QString::fromStdString(tex.GetLine("GI_Sys_AppTitleRev", 0)));
        cuiQtPrintDevice device(writer);
        cuiPrintJob job(printer, device, list);
        state = job.Run();
    }
    switch (state) {
    case cuiPrintJob::State::Finished:
        break;
    case cuiPrintJob::State::Empty:
        if (sheet.empty())
            std::fprintf(stderr, "ostrel: no sheet of the data prints; %s not written\n", out.c_str());
        else
            std::fprintf(stderr,
                         "ostrel: sheet '%s' does not print (a no-print sheet, or a bank without channels); "
                         "%s not written\n",
                         sheet.c_str(), out.c_str());
        return 1;
    default:
        std::fprintf(stderr, "ostrel: printing failed; %s not written\n", out.c_str());
        return 1;
    }
    const QByteArray& bytes = pdf.data();
    if (!file.Write(bytes.constData(), static_cast<size_t>(bytes.size())) || !file.Commit()) {
        std::fprintf(stderr, "ostrel: cannot write %s (is the disk full?); it was left as it was\n",
                     out.c_str());
        return 1;
    }
    return 0;
}

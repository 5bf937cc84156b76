// Printing every sheet Print all prints, of the LMR initial data with all 128 channels in bank 0, into
// a PDF in memory (A4, 600 dots per inch, on the offscreen platform): counting and recording the
// pages, then printing them. The baseline, measured in the same run, is building the same sheets and
// asking the cell handler for every cell's display text once; the goal is at most 3 times that.
#include "../BankBench.h"
#include "cells/cmcCellCapsule.h"
#include "platform/cuiQtMeasureCanvas.h"
#include "platform/cuiQtPrintDevice.h"
#include "print/cuiPrintJob.h"
#include "print/cuiPrintList.h"
#include "print/cuiPrinter.h"
#include "sheets/iuiSheetFactory.h"

#include <QApplication>
#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {
// Thread CPU time: the machine's other work does not count, the ratio stays comparable.
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
};

double Ms(double start) {
    return Clock::now() - start;
}
} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    cuiQtMeasureCanvas measure;
    BankBench bench(&measure);
    const cuiPrintList list = cuiPrintList::AllSheets(bench.tables.Text(), bench.work, {0, false, false});

    cuiPrinter::Services services;
    services.texts = &bench.tables.Text();
    services.sheetEnv = [&bench] { return bench.env; };
    services.handler = bench.handler.get();
    services.date = "2026-01-01";
    cuiPrinter printer(services);

    double buildBest = 1e9, printBest = 1e9;
    size_t cells = 0;
    int pages = 0;
    qint64 bytes = 0;
    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        cells = 0;
        for (const std::string& text : list.sheets) {
            auto sheet = iuiSheetFactory::Build(bench.env, text);
            for (int32_t r = 0; r < sheet->RowCount(); ++r) {
                for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                    cmcCellObj cell = sheet->Cell(c, r);
                    if (!cell.HasCell())
                        continue;
                    cmcCellCapsule capsule;
                    capsule.cell = &cell;
                    bench.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
                    ++cells;
                }
            }
        }
        buildBest = std::min(buildBest, Ms(start));

        start = Clock::now();
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            cuiQtPrintDevice device(writer);
            cuiPrintJob job(printer, device, list);
            if (job.Run() != cuiPrintJob::State::Finished) {
                std::fprintf(stderr, "bench_print: printing failed\n");
                return 1;
            }
            pages = job.PagesPrinted();
        }
        printBest = std::min(printBest, Ms(start));
        bytes = pdf.size();
    }
    std::printf(
        "print_all_sheets_pdf_lmr_full_bank: %.1f ms CPU for %d pages, %lld bytes (%.2f of building the %zu "
        "sheets' %zu cell texts in %.1f ms, goal <= 3)\n",
        printBest, pages, static_cast<long long>(bytes), printBest / buildBest, list.sheets.size(), cells,
        buildBest);
    return 0;
}

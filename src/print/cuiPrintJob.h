#pragma once
// Printing a list of sheets as one document, one sheet per step, so that the desktop program's
// timer keeps the window responsive and a Cancel button can stop it between pages. The headless
// program runs the steps in a loop. Begin counts (and records) every page first, so the footer can
// say "page N / M" and a preview knows the pages.
#include "print/cuiPrintList.h"
#include "print/cuiPrintPage.h"
#include "print/cuiPrinter.h"

#include <cstdint>
#include <vector>

class cmcPrintDevice;

class cuiPrintJob {
public:
    enum class State {
        Ready,     // Begin not yet called
        Printing,  // more sheets to print: call Step again
        Finished,  // every page printed and the document ended
        Cancelled, // Cancel stopped it; the document was still ended
        Empty,     // no sheet of the list prints: nothing was begun
        Failed,    // the device could not begin, print or end the document
    };

    cuiPrintJob(cuiPrinter& printer, cmcPrintDevice& device, cuiPrintList list);

    // Counts and records the pages of every sheet. Printing when there is something to print,
    // else Empty.
    State Begin();
    // Prints the next sheet (beginning the document first); ends the document after the last one
    // or once cancelled.
    State Step();
    // Begin, then Step until done.
    State Run();
    // Stops the job: the sheet being printed skips its remaining pages, the others print nothing.
    void Cancel() { m_target.cancel = true; }

    State GetState() const { return m_state; }
    // The pages Begin laid out, in print order.
    const std::vector<cuiPrintPage>& Pages() const { return m_pages; }
    int32_t PagesPrinted() const { return m_target.pageNumber; }
    const cuiPrintList& List() const { return m_list; }

private:
    State End();

    cuiPrinter& m_printer;
    cmcPrintDevice& m_device;
    cuiPrintList m_list;
    cuiPrinter::Target m_target;
    std::vector<cuiPrintPage> m_pages;
    std::vector<cuiPrinter::Copy> m_copies; // the print copies counting built, one per sheet
    size_t m_position = 0;
    bool m_begun = false;
    State m_state = State::Ready;
};

#include "print/cuiPrintJob.h"

#include "print/cmcPrintDevice.h"

#include <utility>

cuiPrintJob::cuiPrintJob(cuiPrinter& printer, cmcPrintDevice& device, cuiPrintList list)
    : m_printer(printer), m_device(device), m_list(std::move(list)),
      m_target(printer.MakeTarget(device, m_list.repeaterPrint)) {}

cuiPrintJob::State cuiPrintJob::Begin() {
    m_pages.clear();
    m_copies.clear();
    m_copies.resize(m_list.sheets.size());
    int32_t total = 0;
    for (size_t i = 0; i < m_list.sheets.size(); ++i) {
        total += m_printer.PrintSheet(m_target, m_list.sheets[i], cuiPrinter::Mode::Record, &m_pages,
                                      &m_copies[i]);
    }
    m_target.pageTotal = total;
    m_position = 0;
    m_state = total > 0 ? State::Printing : State::Empty;
    return m_state;
}

cuiPrintJob::State cuiPrintJob::Step() {
    if (m_state != State::Printing) {
        return m_state;
    }
    if (!m_begun) {
        if (!m_device.BeginDocument()) {
            m_state = State::Failed;
            return m_state;
        }
        m_begun = true;
    }
    if (m_position < m_list.sheets.size() && !m_target.cancel && !m_target.failed) {
        m_printer.PrintSheet(m_target, m_list.sheets[m_position], cuiPrinter::Mode::Print, nullptr,
                             &m_copies[m_position]);
        m_copies[m_position] = {}; // printed: its memory goes now
        ++m_position;
    }
    if (m_position < m_list.sheets.size() && !m_target.cancel && !m_target.failed) {
        return m_state;
    }
    return End();
}

cuiPrintJob::State cuiPrintJob::End() {
    m_copies.clear();
    const bool ended = m_device.EndDocument();
    if (m_target.failed || !ended) {
        m_state = State::Failed;
    } else if (m_target.cancel) {
        m_state = State::Cancelled;
    } else {
        m_state = State::Finished;
    }
    return m_state;
}

cuiPrintJob::State cuiPrintJob::Run() {
    if (m_state == State::Ready) {
        Begin();
    }
    while (m_state == State::Printing) {
        Step();
    }
    return m_state;
}

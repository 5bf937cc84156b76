#include "platform/cuiQtPrintDevice.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPrinter>

cuiQtPrintDevice::cuiQtPrintDevice(QPagedPaintDevice& device)
    : m_device(device), m_scratch(1, 1, QImage::Format_RGB32) {
    // The printer places everything itself from the paper's top left corner.
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
    } else {
        device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
    m_scratchPainter.begin(&m_scratch);
    m_scratchCanvas = std::make_unique<cuiQtCanvas>(m_scratchPainter);
}

cuiQtPrintDevice::~cuiQtPrintDevice() {
    m_canvas.reset();
    if (m_painter.isActive()) {
        m_painter.end();
    }
    m_scratchCanvas.reset();
    m_scratchPainter.end();
}

int32_t cuiQtPrintDevice::PageWidth() const {
    return m_device.width();
}

int32_t cuiQtPrintDevice::PageHeight() const {
    return m_device.height();
}

int32_t cuiQtPrintDevice::DotsPerInch() const {
    return m_device.logicalDpiY();
}

bool cuiQtPrintDevice::BeginDocument() {
    if (m_painter.isActive() || !m_painter.begin(&m_device)) {
        return false;
    }
    m_canvas = std::make_unique<cuiQtCanvas>(m_painter);
    return true;
}

bool cuiQtPrintDevice::NewPage() {
    return m_painter.isActive() && m_device.newPage();
}

bool cuiQtPrintDevice::EndDocument() {
    if (!m_painter.isActive()) {
        return false;
    }
    m_canvas.reset();
    return m_painter.end();
}

cmcFontCanvas& cuiQtPrintDevice::Canvas() {
    if (m_canvas) {
        return *m_canvas;
    }
    return *m_scratchCanvas;
}

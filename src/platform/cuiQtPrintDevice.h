#pragma once
// The print device over a Qt paged paint device: a QPrinter (a real printer, or the one a print
// preview widget hands out) or a QPdfWriter. Pages use the whole sheet of paper; the canvas is the
// program's Qt canvas on a painter over the device. The device must outlive this object.
#include "platform/cuiQtCanvas.h"
#include "print/cmcPrintDevice.h"

#include <QImage>
#include <QPainter>
#include <memory>

class QPagedPaintDevice;

class cuiQtPrintDevice : public cmcPrintDevice {
public:
    explicit cuiQtPrintDevice(QPagedPaintDevice& device);
    ~cuiQtPrintDevice() override;

    int32_t PageWidth() const override;
    int32_t PageHeight() const override;
    int32_t DotsPerInch() const override;
    bool BeginDocument() override;
    bool NewPage() override;
    bool EndDocument() override;
    cmcFontCanvas& Canvas() override;

private:
    QPagedPaintDevice& m_device;
    // Texts are measured on a scratch image until the document begins: fonts are sized in dots, so
    // their metrics do not depend on the device.
    QImage m_scratch;
    QPainter m_scratchPainter;
    std::unique_ptr<cuiQtCanvas> m_scratchCanvas;
    QPainter m_painter;
    std::unique_ptr<cuiQtCanvas> m_canvas;
};

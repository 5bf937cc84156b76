#include "gui/cuiCloneInfoWindow.h"

#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

cuiCloneInfoWindow::cuiCloneInfoWindow(QWidget* parent, std::unique_ptr<cuiSheet> sheet,
                                       cmcCellHandler* handler, const QString& lines,
                                       const QString& closeText)
    : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    if (sheet) {
        setWindowTitle(QString::fromStdString(sheet->Title()));
        m_view = new cuiSheetView(std::move(sheet), handler, this);
        m_view->FitValueColumns();
        layout->addWidget(m_view, 1);
    }
    m_lines = new QLabel(lines, this);
    m_lines->setTextFormat(Qt::PlainText);
    m_lines->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lines);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(closeText, QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // Wide enough for the whole sheet, as far as the screen allows.
    if (m_view) {
        const cuiGrid& grid = m_view->Grid();
        const int title = m_view->TitleBar() ? m_view->TitleBar()->sizeHint().height() : 0;
        const int extra = title + m_lines->sizeHint().height() + buttons->sizeHint().height() + 60;
        resize(std::min(grid.GridWidth() + 40, 900), std::min(grid.GridHeight() + extra, 800));
    }
}

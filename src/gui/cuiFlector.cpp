#include "gui/cuiFlector.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/datCh.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetFactory.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

cuiFlector::cuiFlector(QWidget* owner, const cuiSheetEnv& env, cmcCellHandler* handler,
                       const cmcCellCapsule& opener, const std::string& listName, int32_t startCell,
                       int32_t startParameter, const indFlector::DataList* data)
    : QFrame(owner, Qt::Popup), m_model(*env.texts, listName, startCell, startParameter) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    cuiSheetEnv listEnv = env;
    listEnv.texts = &m_model.SheetTexts();
    listEnv.settings = nullptr; // list windows keep no column widths
    std::unique_ptr<cuiSheet> sheet;
    if (data) {
        // The data list's own sheet; only the choice cells of the entries there are can be picked
        // (an empty list offers its first entry, as the cell takes it).
        const int32_t entries =
            std::max(env.work ? datCh::EntriesInUse(env.work->Data(), data->kind) : 0, int32_t(1));
        cuiSheetEnv dataEnv = env;
        dataEnv.settings = nullptr;
        dataEnv.events = nullptr; // it is not the open sheet: row events are not its own
        sheet = iuiSheetFactory::Create(dataEnv, data->sheetText, startCell, startParameter);
        sheet->SetPopupMode(true);
        sheet->Show();
        for (int r = 0; r < sheet->RowCount(); ++r) {
            for (int c = 0; c < sheet->ColCount(); ++c) {
                cmcCellObj& cell = sheet->Cell(c, r);
                if (cell.cell != data->choiceCell || cell.parameter >= entries) {
                    cell.markFlags &= ~cmcCellObj::kSelectable;
                }
            }
        }
    } else {
        sheet = iuiSheetFactory::Create(listEnv, listName, startCell, startParameter);
        sheet->SetPopupMode(true);
        sheet->Show();
    }
    m_view = new cuiSheetView(std::move(sheet), handler, this);
    m_view->SetOpener(opener);
    if (data) {
        m_view->FitValueColumns(); // IDs and names are the radio's, longer than the heading
    }
    m_view->onChosen = [this] { close(); };
    layout->addWidget(m_view);
    cuiGrid& grid = m_view->Grid();
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.installEventFilter(this);
    m_view->MoveToCell(-1, startCell, startParameter);

    if (owner) {
        auto* ownerGrid = qobject_cast<cuiGrid*>(owner);
        QWidget* area = ownerGrid ? ownerGrid->viewport() : owner;
        const cmcCellCapsule::Rect& r = opener.cellRect;
        m_cell = QRect(area->mapToGlobal(QPoint(r.left, r.top)), QSize(r.right - r.left, r.bottom - r.top));
    }
}

cuiFlector::~cuiFlector() {
    // The sheet reads the list's private overlay until it is gone.
    delete m_view;
}

void cuiFlector::Open(const QRect& workArea) {
    // The window shows the whole list; one larger than the work area scrolls within it.
    const int frame = 2 * (lineWidth() + 2);
    int width = frame, height = frame;
    cuiGrid& grid = m_view->Grid();
    for (int c = 0; c < grid.ColCount(); ++c) {
        width += grid.ColWidth(c);
    }
    for (int r = 0; r < grid.RowCount(); ++r) {
        height += grid.RowHeight(r);
    }
    if (QLabel* title = m_view->TitleBar()) {
        height += title->sizeHint().height();
    }
    if (width > workArea.width() || height > workArea.height()) {
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        width = std::min(width + grid.verticalScrollBar()->sizeHint().width(), workArea.width());
        height = std::min(height + grid.horizontalScrollBar()->sizeHint().height(), workArea.height());
    }
    // The work area bounds the window, whatever the scroll area would like.
    grid.setMinimumSize(1, 1);
    m_view->setMinimumSize(1, 1);
    resize(width, height);
    indFlector::Rect cell{m_cell.left(), m_cell.top(), m_cell.left() + m_cell.width(),
                          m_cell.top() + m_cell.height()};
    indFlector::Rect work{workArea.left(), workArea.top(), workArea.left() + workArea.width(),
                          workArea.top() + workArea.height()};
    indFlector::Point at = indFlector::Place(cell, width, height, work);
    move(at.x, at.y);
    show();
    grid.SetLeftCol(grid.FixedCols());
    grid.SetTopRow(grid.FixedRows());
    int col = grid.Col(), row = grid.Row();
    grid.SetCol(col); // scrolls the current entry into view
    grid.SetRow(row);
    grid.setFocus();
}

bool cuiFlector::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

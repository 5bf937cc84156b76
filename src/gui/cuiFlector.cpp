#include "gui/cuiFlector.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetFactory.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

cuiFlector::cuiFlector(QWidget* owner, const cuiSheetEnv& env, cmcCellHandler* handler,
                       const cmcCellCapsule& opener, const std::string& listName, int32_t startCell,
                       int32_t startParameter, const indFlector::DataList* data)
    : QFrame(owner, Qt::Popup), m_cells(handler, data),
      m_model(*env.texts, listName, startCell, startParameter,
              data ? indFlector::DataEntries(env.work, *data) : -1) {
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
    std::unique_ptr<cuiSheet> sheet = iuiSheetFactory::Create(listEnv, listName, startCell, startParameter);
    sheet->SetPopupMode(true);
    sheet->Show();
    m_view =
        new cuiSheetView(std::move(sheet), data ? static_cast<cmcCellHandler*>(&m_cells) : handler, this);
    m_view->SetOpener(opener);
    if (data)
        m_view->FitValueColumns(); // entries show more than their numbers
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

cuiFlector::DataCells::DataCells(cmcCellHandler* model, const indFlector::DataList* data)
    : m_model(model), m_data(data) {
    if (data) {
        m_category = cmcCellIds::CategoryByName(data->category);
        m_idCell = cmcCellIds::CellByName(data->idCell);
        m_nameCell = cmcCellIds::CellByName(data->nameCell);
    }
}

std::string cuiFlector::DataCells::Text(int32_t category, int32_t cell, int32_t parameter) {
    cmcCellObj object;
    object.category = category;
    object.cell = cell;
    object.parameter = parameter;
    cmcCellCapsule capsule;
    capsule.cell = &object;
    m_model->CallCell(capsule, kNotifyDraw);
    return capsule.displayText;
}

int32_t cuiFlector::DataCells::CallCell(cmcCellCapsule& capsule, int32_t notify) {
    if (!m_model)
        return kResultNone;
    const int32_t result = m_model->CallCell(capsule, notify);
    if (notify == kNotifyDraw && m_data && capsule.cell && capsule.cell->cell == m_data->choiceCell) {
        // The entry's number as the list shows it, then what the entry holds.
        const int32_t n = capsule.cell->parameter;
        std::string id = Text(m_category, m_idCell, n);
        std::string name = Text(m_category, m_nameCell, n);
        std::string text = capsule.displayText + ":  " + id;
        if (!name.empty())
            text += "  " + name;
        capsule.displayText = text;
    }
    return result;
}

void cuiFlector::Open(const QRect& workArea) {
    // The window shows the whole list; one larger than the work area scrolls within it.
    const int frame = 2 * (lineWidth() + 2);
    int width = frame, height = frame;
    cuiGrid& grid = m_view->Grid();
    for (int c = 0; c < grid.ColCount(); ++c)
        width += grid.ColWidth(c);
    for (int r = 0; r < grid.RowCount(); ++r)
        height += grid.RowHeight(r);
    if (QLabel* title = m_view->TitleBar())
        height += title->sizeHint().height();
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

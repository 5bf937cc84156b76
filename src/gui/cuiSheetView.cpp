#include "gui/cuiSheetView.h"

#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "gui/cuiGrid.h"
#include "platform/cuiQtCanvas.h"
#include "platform/cuiQtColors.h"
#include "sheets/cuiSheet.h"

#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kPageRows = 10;

// Keys of the in-place editor: Enter, Up and Down commit, Escape drops the edit.
class EditorKeys : public QObject {
public:
    EditorKeys(cuiSheetView* view) : QObject(view), m_view(view) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            m_view->CloseEditor(false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_view->CloseEditor(true);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            m_view->CloseEditor(true);
            m_view->MoveBy(0, key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        default:
            return false;
        }
    }

private:
    cuiSheetView* m_view;
};

} // namespace

cuiSheetView::cuiSheetView(std::unique_ptr<cuiSheet> sheet, cmcCellHandler* handler, QWidget* parent)
    : QWidget(parent), m_sheet(std::move(sheet)), m_handler(handler) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    std::string title = m_sheet->Title();
    if (!title.empty()) {
        m_title = new QLabel(QString::fromStdString(title), this);
        m_title->setTextFormat(Qt::PlainText);
        m_title->setFrameShape(QFrame::Panel);
        m_title->setFrameShadow(QFrame::Sunken);
        m_title->setLineWidth(2);
        m_title->setAutoFillBackground(true);
        QPalette pal = m_title->palette();
        pal.setColor(QPalette::Window, cuiQtColors::ToQColor(m_sheet->TitleColor()));
        m_title->setPalette(pal);
        if (m_sheet->TitleFont())
            m_title->setFont(cuiQtColors::ToQFont(*m_sheet->TitleFont()));
        m_title->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(m_title);
    }
    m_grid = new cuiGrid(this);
    layout->addWidget(m_grid, 1);

    const cmcCellObj& basic = m_sheet->BasicCell();
    m_grid->SetColor(basic.color);
    if (basic.font)
        m_grid->setFont(cuiQtColors::ToQFont(*basic.font));
    m_grid->SetDefaultSizes(1, 1);
    m_grid->SetCounts(m_sheet->ColCount(), m_sheet->RowCount());
    for (int c = 0; c < m_sheet->ColCount(); ++c)
        m_grid->SetColWidth(c, m_sheet->ColWidth(c));
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        m_grid->SetRowHeight(r, m_sheet->RowHeight(r));
    m_grid->SetFixed(m_sheet->GridFixedCols(), m_sheet->GridFixedRows());
    m_grid->SetColSizing(m_sheet->ColSizing());

    m_grid->onSelectCell = [this](int c, int r, bool& allow) {
        // While the engine sets the column of a move, the cell on the old row need not be selectable.
        allow = m_building || m_guard || Selectable(c, r);
        if (allow && !m_building && !m_guard)
            CloseEditor(true);
    };
    m_grid->onDrawCell = [this](cuiQtCanvas& canvas, int c, int r, const cmcCanvas::Rect& rect, int) {
        m_painted = true;
        m_painter.Paint(*this, canvas, c, r, rect);
    };
    m_grid->onKeyDown = [this](int& key, int shift) { KeyDown(key, shift); };
    m_grid->onKeyPress = [this](char32_t& ch) {
        if (ch >= 0x100 && ch != 0)
            return; // the cells take single-byte characters
        ExecuteCell(m_grid->Col(), m_grid->Row(), static_cast<int32_t>(ch), 0);
        ch = 0;
    };
    m_grid->onDblClick = [this] {
        ExecuteCell(m_grid->Col(), m_grid->Row(), cmcCellCapsule::kKeyActivate, 0);
    };
    m_grid->onColWidthsChanged = [this] {
        for (int c = 0; c < m_sheet->ColCount(); ++c)
            m_sheet->SetColWidth(c, m_grid->ColWidth(c));
    };

    // The cursor settles on a selectable cell near the top left.
    m_grid->MoveCurrent(0, 0);
    m_building = false;
    MoveBy(0, 1);
    MoveBy(0, -1);
    MoveBy(1, 0);
    MoveBy(-1, 0);
    if (!Selectable(m_grid->Col(), m_grid->Row()))
        m_grid->setEnabled(false);
}

cuiSheetView::~cuiSheetView() = default;

// ---- painter source ----

bool cuiSheetView::Ready() const {
    return !m_building && m_sheet->ColCount() > 0;
}
int cuiSheetView::ColCount() const {
    return m_sheet->ColCount();
}
int cuiSheetView::RowCount() const {
    return m_sheet->RowCount();
}
int cuiSheetView::ColWidth(int col) const {
    return m_grid->ColWidth(col);
}
int cuiSheetView::RowHeight(int row) const {
    return m_grid->RowHeight(row);
}
int cuiSheetView::FixedCols() const {
    return m_grid->FixedCols();
}
const cmcCellObj& cuiSheetView::Cell(int col, int row) const {
    return m_sheet->CellAt(col, row).cell;
}
uint8_t cuiSheetView::CellBits(int col, int row) const {
    return m_sheet->CellAt(col, row).flags;
}
const cmcCellObj& cuiSheetView::BasicCell() const {
    return m_sheet->BasicCell();
}
bool cuiSheetView::IsCurrent(int col, int row) const {
    return col == m_grid->Col() && row == m_grid->Row();
}
int cuiSheetView::CurrentRow() const {
    return m_grid->Row();
}
bool cuiSheetView::GridFocused() const {
    return m_grid->hasFocus();
}
bool cuiSheetView::PopupMode() const {
    return m_sheet->PopupMode();
}
bool cuiSheetView::SelectLineColoring() const {
    return m_sheet->ColorSelectLine();
}

bool cuiSheetView::CallHandler(cmcCellCapsule& capsule) {
    if (!m_handler)
        return false;
    capsule.sheet = nullptr;
    m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return true;
}

void cuiSheetView::DrawImage(cmcCanvas& canvas, int x, int y, int index) {
    // Marks drawn as small shapes until the program has its image list.
    auto& qt = static_cast<cuiQtCanvas&>(canvas);
    QPainter& p = qt.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRectF box(x, y, 15, 15);
    if (index == cuiCellPainter::kImageError) {
        p.setPen(QPen(QColor(200, 0, 0), 3));
        p.drawLine(box.topLeft() + QPointF(3, 3), box.bottomRight() - QPointF(3, 3));
        p.drawLine(box.topRight() + QPointF(-3, 3), box.bottomLeft() + QPointF(3, -3));
    } else {
        QPolygonF tri;
        tri << QPointF(x + 7.5, y + 1) << QPointF(x + 14, y + 14) << QPointF(x + 1, y + 14);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 210, 0));
        p.drawPolygon(tri);
        p.drawLine(QPointF(x + 7.5, y + 5), QPointF(x + 7.5, y + 10));
        p.drawPoint(QPointF(x + 7.5, y + 12));
    }
    p.restore();
}

// ---- cursor ----

bool cuiSheetView::Selectable(int col, int row) const {
    if (col < 0 || row < 0 || col >= m_sheet->ColCount() || row >= m_sheet->RowCount())
        return false;
    if (m_grid->ColWidth(col) < 1 || m_grid->RowHeight(row) < 1)
        return false;
    return m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kSelectable;
}

// One step of a keyboard move: straight along the direction, then the nearest selectable cell of
// the next columns (rows) to the keyboard position.
bool cuiSheetView::StepSearch(int& col, int& row, int dx, int dy) const {
    const int cols = m_sheet->ColCount(), rows = m_sheet->RowCount();
    for (int c = col + dx, r = row + dy; c >= 0 && r >= 0 && c < cols && r < rows; c += dx, r += dy)
        if (Selectable(c, r)) {
            col = c;
            row = r;
            return true;
        }
    if (m_sheet->PopupMode())
        return false;
    if (dx != 0) {
        for (int c = col + dx; c >= 0 && c < cols; c += dx) {
            int best = -1;
            for (int r = 0; r < rows; ++r)
                if (Selectable(c, r) && (best < 0 || std::abs(r - m_keyRow) < std::abs(best - m_keyRow)))
                    best = r;
            if (best >= 0) {
                col = c;
                row = best;
                return true;
            }
        }
    } else {
        for (int r = row + dy; r >= 0 && r < rows; r += dy) {
            int best = -1;
            for (int c = 0; c < cols; ++c)
                if (Selectable(c, r) && (best < 0 || std::abs(c - m_keyCol) < std::abs(best - m_keyCol)))
                    best = c;
            if (best >= 0) {
                col = best;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void cuiSheetView::MoveBy(int dx, int dy) {
    if (dx != 0)
        dy = 0;
    int col = m_grid->Col(), row = m_grid->Row();
    int steps = std::max(std::abs(dx), std::abs(dy));
    int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0, sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    for (int i = 0; i < steps; ++i) {
        if (!StepSearch(col, row, sx, sy))
            break;
        m_keyCol = col;
        m_keyRow = row;
    }
    MoveTo(col, row);
    if (col <= m_sheet->FirstSelectableCol())
        m_grid->SetLeftCol(m_grid->FixedCols());
    if (row <= m_sheet->FirstSelectableRow())
        m_grid->SetTopRow(m_grid->FixedRows());
}

void cuiSheetView::MoveTo(int col, int row) {
    if (col == m_grid->Col() && row == m_grid->Row())
        return;
    m_guard = true;
    m_grid->SetCol(col);
    m_guard = false;
    m_grid->SetRow(row);
}

bool cuiSheetView::MoveToCell(int32_t category, int32_t cell, int32_t parameter) {
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        for (int c = 0; c < m_sheet->ColCount(); ++c) {
            const cmcCellObj& o = m_sheet->CellAt(c, r).cell;
            if (Selectable(c, r) && o.category == category && o.cell == cell && o.parameter == parameter) {
                m_grid->MoveCurrent(c, r);
                return true;
            }
        }
    return false;
}

void cuiSheetView::KeyDown(int& key, int shift) {
    CloseEditor(true);
    int col = m_grid->Col(), row = m_grid->Row();
    switch (key) {
    case cuiGrid::kVkPrior:
        MoveBy(0, -kPageRows);
        break;
    case cuiGrid::kVkNext:
        MoveBy(0, kPageRows);
        break;
    case cuiGrid::kVkHome:
    case cuiGrid::kVkEnd:
        break;
    case cuiGrid::kVkLeft:
    case cuiGrid::kVkRight:
        MoveBy(key == cuiGrid::kVkLeft ? -1 : 1, 0);
        if (m_grid->Col() == col && m_grid->Row() == row)
            ExecuteCell(col, row,
                        key == cuiGrid::kVkLeft ? cmcCellCapsule::kKeyLeft : cmcCellCapsule::kKeyRight, 0);
        break;
    case cuiGrid::kVkUp:
    case cuiGrid::kVkDown:
        if ((shift & (cuiGrid::kCtrl | cuiGrid::kShift | cuiGrid::kAlt)) != cuiGrid::kCtrl)
            MoveBy(0, key == cuiGrid::kVkUp ? -1 : 1);
        break;
    default:
        if (key >= cuiGrid::kVkF1 && key <= cuiGrid::kVkF12) {
            ExecuteCell(col, row, key * 256, 0);
            break;
        }
        return; // to the grid
    }
    key = 0;
}

void cuiSheetView::DoubleClick() {
    QPoint p = m_grid->viewport()->mapFromGlobal(QCursor::pos());
    int col, row;
    bool hit = m_grid->CellAtPoint(p.x(), p.y(), col, row);
    if (m_sheet->ColSizing()) {
        constexpr int kEdge = 4;
        if (hit && row < m_grid->FixedRows() && col >= m_grid->FixedCols()) {
            cmcCanvas::Rect r = m_grid->CellRect(col, row);
            if (p.x() - r.left <= kEdge) {
                for (int c = col - 1; c >= m_grid->FixedCols(); --c)
                    if (m_grid->ColWidth(c) > 0) {
                        FitColumn(c);
                        break;
                    }
                return;
            }
            if (r.right - p.x() <= kEdge) {
                FitColumn(col);
                return;
            }
        } else if (!hit) {
            for (int c = m_sheet->ColCount() - 1; c >= m_grid->FixedCols(); --c)
                if (m_grid->ColWidth(c) > 0) {
                    if (std::abs(m_grid->CellRect(c, 0).right - p.x()) <= kEdge)
                        FitColumn(c);
                    break;
                }
        }
    }
    if (!hit)
        return;
    while (col > 0 && (m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kTail))
        --col;
    if (col == m_grid->Col() && row == m_grid->Row())
        ExecuteCell(col, row, cmcCellCapsule::kKeyActivate, 0);
}

void cuiSheetView::FitColumn(int col) {
    if (col < 0 || col >= m_sheet->ColCount())
        return;
    int width = 0;
    const cmcCellObj& basic = m_sheet->BasicCell();
    for (int r = 0; r < m_sheet->RowCount(); ++r) {
        const cmcCellObj& cell = m_sheet->CellAt(col, r).cell;
        std::string text;
        if (r < m_grid->FixedRows()) {
            if (col + 1 < m_sheet->ColCount() &&
                (m_sheet->CellAt(col + 1, r).cell.layoutFlags & cmcCellObj::kJoined))
                continue;
            text = cell.displayText;
        } else if (m_handler && cell.HasCell()) {
            FillCapsule(m_capsule, col, r);
            m_handler->CallCell(m_capsule, cmcCellHandler::kNotifyDraw);
            text = m_capsule.displayText;
        } else {
            text = cell.displayText;
        }
        QFont font = cell.font    ? cuiQtColors::ToQFont(*cell.font)
                     : basic.font ? cuiQtColors::ToQFont(*basic.font)
                                  : m_grid->font();
        QFontMetrics fm(font);
        int w = 0;
        for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n')))
            w = std::max(w, fm.horizontalAdvance(line));
        width = std::max(width, w + 8);
    }
    m_grid->SetColWidth(col, width);
    m_sheet->SetColWidth(col, width);
}

// ---- actions ----

void cuiSheetView::FillCapsule(cmcCellCapsule& capsule, int col, int row) {
    capsule.ResetCapsule();
    capsule.ownerControl = m_grid;
    capsule.grid = m_grid;
    capsule.cell = &m_sheet->CellAt(col, row).cell;
    cmcCanvas::Rect r = m_grid->CellRect(col, row);
    capsule.cellRect = {r.left, r.top, r.right, r.bottom};
    capsule.refresh = &cuiSheetView::Refresh;
    capsule.refreshContext = this;
    capsule.restartEdit = &cuiSheetView::RestartEdit;
    capsule.restartEditContext = this;
    if (col == m_grid->Col() && row == m_grid->Row())
        capsule.stateBits |= cmcCellCapsule::kStateCurrent;
}

void cuiSheetView::ExecuteCell(int col, int row, int32_t key, int32_t command, const std::string* text) {
    if (!m_handler || !Selectable(col, row))
        return;
    // A redirect key repeats the action on the cell the handler moved to; a bound keeps a faulty
    // handler from looping forever.
    for (int round = 0; round < 1000; ++round) {
        FillCapsule(m_capsule, col, row);
        m_capsule.key = key;
        m_capsule.command = command;
        if (text) {
            m_capsule.enteredText = *text;
            m_capsule.editState = cmcCellCapsule::kEditEntered;
            m_capsule.key = 0;
        }
        int32_t result = m_handler->CallCell(m_capsule, cmcCellHandler::kNotifyAction);
        if (m_capsule.redirect.on &&
            MoveToCell(m_capsule.redirect.category, m_capsule.redirect.cell, m_capsule.redirect.parameter)) {
            col = m_grid->Col();
            row = m_grid->Row();
        }
        if (result == cmcCellHandler::kResultEdit)
            OpenEditor(col, row, m_capsule.displayText, m_capsule.selStart, m_capsule.selLength);
        m_grid->InvalidateGrid();
        if (!m_capsule.redirect.key)
            break;
        key = m_capsule.redirect.key;
        text = nullptr;
    }
}

void cuiSheetView::Refresh(void* context, cmcCellCapsule&, uint8_t) {
    // The visible cells are few; repainting them all keeps every related cell right.
    static_cast<cuiSheetView*>(context)->m_grid->InvalidateGrid();
}

void cuiSheetView::RestartEdit(void* context, cmcCellCapsule& capsule, int32_t flag) {
    auto* view = static_cast<cuiSheetView*>(context);
    int col = view->m_grid->Col(), row = view->m_grid->Row();
    if (flag == 0 && capsule.cell == &view->m_sheet->CellAt(col, row).cell)
        view->OpenEditor(col, row, capsule.displayText, capsule.selStart, capsule.selLength);
}

// ---- in-place editor ----

bool cuiSheetView::EditorVisible() const {
    return m_editor && m_editor->isVisible();
}

void cuiSheetView::OpenEditor(int col, int row, const std::string& text, int selStart, int selLength) {
    cmcCanvas::Rect r = m_grid->CellRect(col, row);
    if (r.Width() < 1 || r.Height() < 1)
        return;
    if (!m_editor) {
        m_editor = new QLineEdit(m_grid->viewport());
        m_editor->setFrame(false);
        m_editor->setMaxLength(1024);
        m_editor->installEventFilter(new EditorKeys(this));
    }
    const cmcCellObj& cell = m_sheet->CellAt(col, row).cell;
    const cmcCellObj& basic = m_sheet->BasicCell();
    if (cell.font)
        m_editor->setFont(cuiQtColors::ToQFont(*cell.font));
    else if (basic.font)
        m_editor->setFont(cuiQtColors::ToQFont(*basic.font));
    m_editor->setGeometry(r.left, r.top, r.Width(), r.Height());
    m_editor->setText(QString::fromStdString(text));
    m_editor->setSelection(selStart, selLength);
    m_editCol = col;
    m_editRow = row;
    m_editor->show();
    m_editor->setFocus();
    m_grid->InvalidateGrid();
}

void cuiSheetView::CloseEditor(bool commit) {
    if (!EditorVisible())
        return;
    std::string text = m_editor->text().toStdString();
    m_editor->hide();
    m_grid->setFocus();
    if (commit)
        ExecuteCell(m_editCol, m_editRow, cmcCellCapsule::kKeyReturn, 0, &text);
    m_grid->InvalidateGrid();
}

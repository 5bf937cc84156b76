#include "gui/cuiTextEditor.h"

#include "cells/cmcCanvas.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecText.h"
#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "platform/cuiQtCanvas.h"
#include "sheets/cuiSheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

namespace {

constexpr const char* kList = "GI_Sheet_Sel_Text";
constexpr int32_t kMemoLimit = 1024;

bool Shows(int32_t code) {
    return (code >= 32 && code <= 126) || (code >= 16 && code <= 31);
}

} // namespace

int32_t cuiTextEditor::Length(const std::string& text) {
    const std::vector<uint8_t> bytes = cmcTextCodecs::DecodeDisplayText(text, kMemoLimit, true);
    return static_cast<int32_t>(std::count_if(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; }));
}

cuiTextEditor::cuiTextEditor(QWidget* owner, const cmcCellCapsule& opener, const cuiSheetEnv& env,
                             cmcCellHandler* handler, cmcSegChar segments, const Setup& setup)
    : cuiEditorWindow(owner, opener, env.texts), m_setup(setup), m_texts(env.texts),
      m_segments(std::move(segments)), m_cells(*this, handler) {
    m_setup.maxLength = std::clamp(setup.maxLength, 1, kMemoLimit);
    if (setup.userPatterns) {
        std::memcpy(m_patterns.data(), setup.userPatterns, m_patterns.size());
        m_hasPatterns = true;
    }
    m_setup.userPatterns = nullptr; // the copy is used: the cell's data may change while it is open
    m_perRow = (m_setup.wide || m_setup.maxLength > 8) ? 25 : 8;
    m_rows = (m_setup.maxLength + m_perRow - 1) / m_perRow;

    m_memo = new QLineEdit(this);
    m_memo->setMaxLength(kMemoLimit);
    if (owner) {
        m_memo->setFont(owner->font());
    }
    m_memo->setText(QString::fromStdString(setup.text));
    m_lastGood = m_memo->text();
    if (setup.selectAll) {
        m_memo->selectAll();
    } else {
        m_memo->setCursorPosition(int(m_memo->text().size()));
    }
    Client()->addWidget(m_memo);
    WatchKeys(m_memo);
    connect(m_memo, &QLineEdit::textChanged, this, &cuiTextEditor::TextChanged);
    connect(m_memo, &QLineEdit::returnPressed, this, &cuiEditorWindow::Confirm);

    m_preview = new QWidget(this);
    const int place = QFontMetrics(m_memo->font()).height() * 3 / 2;
    m_preview->setFixedHeight(place * m_rows + 2);
    m_preview->installEventFilter(this);
    Client()->addWidget(m_preview);

    cuiSheetEnv listEnv;
    listEnv.texts = env.texts;
    listEnv.canvas = env.canvas;
    listEnv.fontRatio = env.fontRatio;
    auto sheet = std::make_unique<cuiSheet>(listEnv, kList);
    sheet->Show();
    m_list = new cuiSheetView(std::move(sheet), &m_cells, this);
    cuiGrid& grid = m_list->Grid();
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int bar = grid.verticalScrollBar()->sizeHint().width();
    grid.setFixedSize(grid.GridWidth() + bar + 2 * grid.frameWidth(),
                      grid.GridHeight() * 5 / 8 + 2 * grid.frameWidth());
    Client()->addWidget(m_list);
    grid.installEventFilter(this);
    WatchKeys(&grid);
    m_memo->setFocus();
}

cuiTextEditor::~cuiTextEditor() {
    // Cleared first: the list's events during its deletion pass through this window's filter.
    delete std::exchange(m_list, nullptr);
}

std::string cuiTextEditor::Result() const {
    return m_memo->text().toStdString();
}

cmcTextCodecs::Glyphs cuiTextEditor::Glyphs() const {
    cmcTextCodecs::Glyphs glyphs;
    glyphs.segments = m_segments.Segments();
    glyphs.userPatterns = m_hasPatterns ? m_patterns.data() : nullptr;
    return glyphs;
}

void cuiTextEditor::TextChanged() {
    // A text longer than the display field would be cut when stored: it is refused as it is typed.
    if (Length(m_memo->text().toStdString()) > m_setup.maxLength) {
        const int caret = std::min<int>(m_memo->cursorPosition(), int(m_lastGood.size()));
        const QSignalBlocker block(m_memo);
        m_memo->setText(m_lastGood);
        m_memo->setCursorPosition(caret);
        QApplication::beep();
        if (m_texts)
            QToolTip::showText(
                m_memo->mapToGlobal(QPoint(0, m_memo->height())),
                QString::fromStdString(cmcCodecText::Fill(m_texts->GetJoinedText("GI_AppMess_Refuse_Length"),
                                                          {std::to_string(m_setup.maxLength)})),
                m_memo);
        return;
    }
    m_lastGood = m_memo->text();
    m_preview->update();
}

void cuiTextEditor::InsertCharacter(int32_t code) {
    if (!Shows(code)) {
        return;
    }
    const uint8_t byte = static_cast<uint8_t>(code);
    m_memo->insert(
        QString::fromStdString(cmcTextCodecs::EncodeDisplayText(std::span<const uint8_t>(&byte, 1))));
}

void cuiTextEditor::PaintPreview() {
    QPainter p(m_preview);
    const QRect r = m_preview->rect();
    p.fillRect(r, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setFont(m_memo->font());
    cuiQtCanvas canvas(p);
    canvas.SetFontColor(0x000000);
    const std::vector<uint8_t> bytes =
        cmcTextCodecs::DecodeDisplayText(m_memo->text().toStdString(), size_t(m_setup.maxLength), false);
    // Whole rows of places, so that the characters stand where the display puts them.
    std::vector<uint8_t> shown(size_t(m_perRow * m_rows), ' ');
    std::copy(bytes.begin(), bytes.end(), shown.begin());
    cmcCanvas::Rect area{1, 1, r.width() - 1, r.height() - 1};
    cmcTextCodecs::PaintDisplayText(canvas, area, shown, m_setup.maxLength, m_perRow, Glyphs());
}

bool cuiTextEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_preview && event->type() == QEvent::Paint) {
        PaintPreview();
        return true;
    }
    if (m_list && watched == &m_list->Grid() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Backspace) {
            m_memo->setFocus();
            return true;
        }
    }
    return cuiEditorWindow::eventFilter(watched, event);
}

int32_t cuiTextEditor::Cells::CallCell(cmcCellCapsule& capsule, int32_t notify) {
    cmcCellObj* cell = capsule.cell;
    if (!cell || cell->cell != Flex0) {
        return m_model ? m_model->CallCell(capsule, notify) : kResultNone;
    }
    const int32_t code = cell->parameter;
    if (notify == kNotifyDraw) {
        capsule.displayText.clear();
        if (auto* canvas = dynamic_cast<cmcCanvas*>(capsule.canvas)) {
            const uint8_t byte = static_cast<uint8_t>(code);
            const cmcCellCapsule::Rect& r = capsule.cellRect;
            cmcTextCodecs::PaintDisplayText(*canvas, {r.left, r.top, r.right, r.bottom},
                                            std::span<const uint8_t>(&byte, 1), 1, 1, m_editor.Glyphs());
        }
        return kResultNone;
    }
    const int32_t key = capsule.key;
    if (key == cmcCellCapsule::kKeySpace || key == cmcCellCapsule::kKeyActivate) {
        m_editor.InsertCharacter(code);
        if (key == cmcCellCapsule::kKeyActivate) {
            m_editor.m_memo->setFocus();
        }
        return kResultNone;
    }
    if (key == cmcCellCapsule::kKeyReturn) {
        m_editor.Confirm();
        return kResultNone;
    }
    if (key > ' ' && key < 127) {
        // A character typed on the list goes into the text, where typing goes on.
        m_editor.InsertCharacter(key);
        m_editor.m_memo->setFocus();
    }
    return kResultNone;
}

#include "gui/cuiBitEditor.h"

#include "cells/cmcCanvas.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <array>
#include <cstdio>
#include <utility>

namespace {

constexpr const char* kSheet = "GI_Sheet_FBitsR";
constexpr std::array<const char*, 5> kSentences = {"RMC", "GGA", "GLL", "GSA", "VTG"};
constexpr int32_t kMostSentences = 3;

// The named cell sets of the editor's sheet, as the main overlay defines them.
struct NamedSet {
    const char* key;
    const char* fallback;
};
constexpr std::array<NamedSet, 4> kSets = {{
    {"CellModel_iChI", "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)"},
    {"CellModel_eWh", "S<_WHB"},
    {"CellModel_iQp", "(%CT_Null.CL_Misc_QuarterPillar)"},
    {"CellModel_Basic",
     "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)"},
}};

} // namespace

std::string cuiBitEditor::Label(int32_t p, int32_t first, int32_t last, int32_t style) {
    (void)first;
    char text[16];
    switch (style) {
    case kLabelHex:
        std::snprintf(text, sizeof text, "%X", unsigned(p));
        return text;
    case kLabelDecimal:
        return p == 10 ? "0" : std::to_string(p);
    case kLabelNumeric:
        return p == 10 ? "0" : p == 17 ? "Z" : std::to_string(p);
    case kLabelAlphanumeric:
        if (p >= 0 && p <= 9) {
            return std::to_string(p);
        }
        if (p == 17) {
            return "Z";
        }
        return std::string(1, static_cast<char>(p + 55));
    case kLabelLetters:
        return std::string(1, static_cast<char>(p + 64));
    case kLabelSentences:
        return p >= 1 && p <= 5 ? kSentences[size_t(p - 1)] : std::to_string(p);
    case kLabelDownwards:
        return "B" + std::to_string(last - p);
    default:
        return std::to_string(p);
    }
}

std::vector<std::string> cuiBitEditor::SheetLines(const Setup& s, cmcGTex* main) {
    // A heading row with a label over every tick and empty cells between, and a row of ticks parted
    // by quarter pillars.
    std::string heading, ticks;
    const int32_t n = s.last - s.first + 1;
    for (int32_t p = s.first; p <= s.last; ++p) {
        heading += "|{($iChI)}" + Label(p, s.first, s.last, s.labelStyle) + "|";
    }
    for (int32_t k = 1; k <= n; ++k) {
        if (k > 1) {
            ticks += "{($iQp)}";
        }
        ticks += "|{($eWh)^(%CT_Null.CL_FBits[" + std::to_string(k) + "])}9|";
    }
    std::vector<std::string> lines = {
        "#" + std::string(kSheet) + "_Style",
        "(FixedCols=1)(FixedRows=1)(NoPrint)",
        "#" + std::string(kSheet) + "_BasicCell",
        "{($Basic)(PopupMenu=GI_PMenu_NoItem)}",
        "#" + std::string(kSheet) + "_Cells",
        heading,
        ticks,
        "#",
    };
    for (const NamedSet& set : kSets) {
        lines.push_back("#" + std::string(set.key));
        lines.push_back(main && main->HasKey(set.key) ? main->GetText(set.key) : set.fallback);
    }
    const std::vector<std::string> menus = {
        "#GI_PMenu_NoItem_BasicCell",
        "{($Basic)}",
        "#GI_PMenu_NoItem_Body",
        "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}",
        "#",
        "#" + std::string(cmcGTex::kEndKey),
    };
    lines.insert(lines.end(), menus.begin(), menus.end());
    return lines;
}

cuiBitEditor::cuiBitEditor(QWidget* owner, const cmcCellCapsule& opener, const cuiSheetEnv& env,
                           cmcCellHandler* handler, const Setup& setup)
    : cuiEditorWindow(owner, opener, env.texts), m_setup(setup), m_cells(*this, handler) {
    const int32_t n = Positions();
    m_value = static_cast<uint32_t>(setup.value) & (n >= 32 ? 0xFFFFFFFFu : (1u << n) - 1);
    m_texts = std::make_unique<cmcGTex>();
    m_texts->AttachLines(SheetLines(setup, env.texts));

    if (!setup.title.empty()) {
        auto* title = new QLabel(QString::fromStdString(setup.title), this);
        title->setTextFormat(Qt::PlainText);
        Client()->addWidget(title);
    }
    cuiSheetEnv sheetEnv;
    sheetEnv.texts = m_texts.get();
    sheetEnv.canvas = env.canvas;
    sheetEnv.fontRatio = env.fontRatio;
    auto sheet = std::make_unique<cuiSheet>(sheetEnv, kSheet);
    sheet->Show();
    m_view = new cuiSheetView(std::move(sheet), &m_cells, this);
    cuiGrid& grid = m_view->Grid();
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setFrameShape(QFrame::NoFrame);
    // The grid shows the whole sheet.
    grid.setFixedSize(grid.GridWidth(), grid.GridHeight());
    m_view->setFixedSize(grid.GridWidth(), grid.GridHeight());
    Client()->addWidget(m_view, 0, Qt::AlignHCenter);
    WatchKeys(&grid);
    grid.viewport()->installEventFilter(this);
    m_view->MoveToCell(-1, CL_FBits, 1);
    setFocusProxy(&grid);
    grid.setFocus();
}

cuiBitEditor::~cuiBitEditor() {
    // The sheet reads the private overlay until it is gone. The pointer is cleared first: deleting
    // the view sends its focus events through this window's filter, which must not reach a view that
    // is half destroyed.
    delete std::exchange(m_view, nullptr);
}

bool cuiBitEditor::eventFilter(QObject* watched, QEvent* event) {
    // A click on a tick switches it, as on a tick box.
    if (m_view && watched == m_view->Grid().viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        int col = -1, row = -1;
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && m_view->Grid().CellAtPoint(at.x(), at.y(), col, row)) {
            const cmcCellObj& cell = m_view->Sheet().Cell(col, row);
            if (cell.cell == CL_FBits) {
                Toggle(cell.parameter);
            }
        }
    }
    return cuiEditorWindow::eventFilter(watched, event);
}

bool cuiBitEditor::Tick(int32_t k) const {
    const int32_t n = Positions();
    return k >= 1 && k <= n && ((m_value >> (n - k)) & 1u);
}

void cuiBitEditor::Toggle(int32_t k) {
    const int32_t n = Positions();
    if (k < 1 || k > n) {
        return;
    }
    m_value ^= 1u << (n - k);
    m_view->Grid().InvalidateGrid();
    UpdateOk();
}

int32_t cuiBitEditor::SetCount() const {
    int32_t count = 0;
    for (int32_t k = 1; k <= Positions(); ++k) {
        count += Tick(k) ? 1 : 0;
    }
    return count;
}

bool cuiBitEditor::TooMany() const {
    return m_setup.labelStyle == kLabelSentences && SetCount() > kMostSentences;
}

bool cuiBitEditor::Acceptable() const {
    return !TooMany();
}

std::string cuiBitEditor::Result() const {
    return std::to_string(m_value);
}

void cuiBitEditor::DrawTick(cmcCellCapsule& capsule) const {
    auto* canvas = dynamic_cast<cmcCanvas*>(capsule.canvas);
    if (!canvas) {
        return;
    }
    // A tick filling 70 % of the cell's square, centred, in the font colour.
    const cmcCellCapsule::Rect& r = capsule.cellRect;
    const int32_t w = r.right - r.left, h = r.bottom - r.top;
    const int32_t d = std::min(w, h);
    const double m = 0.7 * d;
    const int32_t ox = r.left + static_cast<int32_t>(((w - d) + 0.3 * d) / 2);
    const int32_t oy = r.top + static_cast<int32_t>(((h - d) + 0.3 * d) / 2);
    auto at = [&](double x, double y) {
        return cmcCanvas::Point{ox + static_cast<int32_t>(x), oy + static_cast<int32_t>(y)};
    };
    const std::array<cmcCanvas::Point, 6> points = {at(0, 0.4 * m),  at(0, 0.6 * m),  at(0.4 * m, m),
                                                    at(m, 0.35 * m), at(m, 0.15 * m), at(0.4 * m, 0.7 * m)};
    const uint32_t color = canvas->FontColor();
    const uint32_t brush = canvas->BrushColor();
    const cmcCanvas::BrushStyle style = canvas->GetBrushStyle();
    canvas->SetPen(color, 1);
    canvas->SetBrush(color, cmcCanvas::BrushStyle::Solid);
    canvas->Polygon(points);
    canvas->SetBrush(brush, style);
}

int32_t cuiBitEditor::Cells::CallCell(cmcCellCapsule& capsule, int32_t notify) {
    cmcCellObj* cell = capsule.cell;
    if (!cell || cell->cell != CL_FBits) {
        return m_model ? m_model->CallCell(capsule, notify) : kResultNone;
    }
    const int32_t k = cell->parameter;
    if (notify == kNotifyDraw) {
        capsule.displayText.clear();
        if (m_editor.Tick(k)) {
            if (m_editor.m_setup.markStyle == kMarkLetter) {
                capsule.displayText = "o";
            } else {
                m_editor.DrawTick(capsule);
            }
        }
        if (m_editor.TooMany()) {
            capsule.stateBits |= cmcCellCapsule::kStateError;
        }
        return kResultNone;
    }
    const int32_t key = capsule.key;
    if (key == cmcCellCapsule::kKeySpace) {
        m_editor.Toggle(k);
        return kResultRefresh;
    }
    if (key == cmcCellCapsule::kKeyActivate) {
        return kResultNone; // a double click: its first press switched the tick already
    }
    if (key == cmcCellCapsule::kKeyReturn) {
        m_editor.Confirm();
        return kResultNone;
    }
    // The key of a label toggles its position, as on the cell itself.
    if (key > ' ' && key < 127) {
        const char typed = static_cast<char>(key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key);
        for (int32_t p = m_editor.m_setup.first; p <= m_editor.m_setup.last; ++p) {
            const std::string label =
                Label(p, m_editor.m_setup.first, m_editor.m_setup.last, m_editor.m_setup.labelStyle);
            if (label.size() == 1 && label[0] == typed) {
                m_editor.Toggle(p - m_editor.m_setup.first + 1);
                m_editor.m_view->MoveToCell(-1, CL_FBits, p - m_editor.m_setup.first + 1);
                return kResultRefresh;
            }
        }
    }
    return kResultNone;
}

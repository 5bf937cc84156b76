#include "gui/cuiCharEditor.h"

#include "core/cmcGTex.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kBox = 200;
constexpr double kDrawn = 180.0;

} // namespace

cuiCharEditor::cuiCharEditor(QWidget* owner, const cmcCellCapsule& opener, cmcGTex* texts,
                             cmcSegChar segments, uint32_t pattern)
    : QDialog(owner ? owner->window() : nullptr), m_segments(std::move(segments)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    m_opener.CopyCapsule(opener);
    m_opener.groupIndex = opener.groupIndex;
    const size_t n = m_segments.Segments().size();
    // Without a geometry nothing can be switched: the pattern goes back as it came.
    m_pattern = n == 0 ? pattern : pattern & (n >= 32 ? 0xFFFFFFFFu : (1u << n) - 1);
    if (texts && texts->HasKey("GI_AppInd_CharacterEditorCaption")) {
        setWindowTitle(QString::fromStdString(texts->GetText("GI_AppInd_CharacterEditorCaption")));
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    m_box = new QWidget(this);
    m_box->setFixedSize(kBox, kBox);
    m_box->setFocusPolicy(Qt::StrongFocus);
    m_box->installEventFilter(this);
    layout->addWidget(m_box);
    auto* right = new QVBoxLayout;
    right->addStretch(1);
    const bool named = texts && texts->HasKey("GI_AppInd_Button_OkCancel");
    auto* ok = new QPushButton(named ? QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 0))
                                     : QStringLiteral("OK"),
                               this);
    auto* cancel =
        new QPushButton(named ? QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 1))
                              : QStringLiteral("Cancel"),
                        this);
    ok->setFixedWidth(84);
    cancel->setFixedWidth(84);
    ok->setDefault(true);
    right->addWidget(ok);
    right->addSpacing(4);
    right->addWidget(cancel);
    layout->addLayout(right);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] {
        if (onAnswer) {
            onAnswer(m_opener, std::to_string(m_pattern));
        }
    });
    for (size_t i = 0; i < n && m_current < 0; ++i) {
        if (!m_segments.Segments()[i].fixed) {
            m_current = static_cast<int32_t>(i);
        }
    }
    m_box->setFocus();
}

cuiCharEditor::~cuiCharEditor() = default;

double cuiCharEditor::Factor() const {
    const double w = m_segments.MaxX() - m_segments.MinX();
    const double h = m_segments.MaxY() - m_segments.MinY();
    if (w <= 0 || h <= 0) {
        return 1.0;
    }
    return std::min(kDrawn / w, kDrawn / h);
}

// The character is centred in the box; the taller side spans it less the margins.
double cuiCharEditor::Left() const {
    return (kBox - (m_segments.MaxX() - m_segments.MinX()) * Factor()) / 2;
}

double cuiCharEditor::Top() const {
    return (kBox - (m_segments.MaxY() - m_segments.MinY()) * Factor()) / 2;
}

QPointF cuiCharEditor::ToBox(double x, double y) const {
    const double f = Factor();
    return QPointF(int((x - m_segments.MinX()) * f + Left()), int((y - m_segments.MinY()) * f + Top()));
}

QPointF cuiCharEditor::FromBox(double px, double py) const {
    const double f = Factor();
    return QPointF(int((px - Left()) / f + m_segments.MinX()), int((py - Top()) / f + m_segments.MinY()));
}

void cuiCharEditor::ToggleSegment(int32_t i) {
    const auto& segments = m_segments.Segments();
    if (i < 0 || static_cast<size_t>(i) >= segments.size() || segments[size_t(i)].fixed) {
        return;
    }
    m_pattern ^= m_segments.BitOf(size_t(i));
    m_box->update();
}

void cuiCharEditor::Step(int dir) {
    const auto& segments = m_segments.Segments();
    const int n = static_cast<int>(segments.size());
    for (int s = 1; s <= n; ++s) {
        const int i = ((m_current + dir * s) % n + n) % n;
        if (!segments[size_t(i)].fixed) {
            m_current = i;
            break;
        }
    }
    m_box->update();
}

QPainterPath cuiCharEditor::Outline(size_t i) const {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const auto& t : m_segments.Segments()[i].triangles) {
        QPolygonF poly;
        for (const cmcCanvas::Point& q : t) {
            poly << ToBox(q.x, q.y);
        }
        poly << poly.front();
        path.addPolygon(poly);
    }
    return path.simplified();
}

void cuiCharEditor::Paint() {
    QPainter p(m_box);
    p.fillRect(m_box->rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto& segments = m_segments.Segments();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (size_t i = 0; i < segments.size(); ++i) {
        if (segments[i].fixed) {
            continue;
        }
        // A segment is drawn as one shape: the outline of its triangles together.
        const bool on = (m_pattern & m_segments.BitOf(i)) != 0;
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(on ? Qt::black : Qt::white);
        p.drawPath(Outline(i));
    }
    // The keyboard's segment is outlined in the highlight colour while the box has the focus.
    if (m_box->hasFocus() && m_current >= 0) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(Outline(size_t(m_current)));
    }
    p.setPen(Qt::gray);
    p.setBrush(Qt::NoBrush);
    p.drawRect(m_box->rect().adjusted(0, 0, -1, -1));
}

bool cuiCharEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Paint:
        Paint();
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        m_box->update();
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        const QPointF at = FromBox(mouse->position().x(), mouse->position().y());
        const int32_t i = m_segments.SegmentAt(at.x(), at.y());
        if (i >= 0) {
            m_current = i;
            ToggleSegment(i);
        }
        m_box->setFocus();
        return true;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            Step(-1);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Step(1);
            return true;
        case Qt::Key_Space:
            ToggleSegment(m_current);
            return true;
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

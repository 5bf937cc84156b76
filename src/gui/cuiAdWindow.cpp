#include "gui/cuiAdWindow.h"

#include "core/cmcGTex.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

cuiAdWindow::cuiAdWindow(QWidget* parent, cmcGTex& tex) : QDialog(parent, Qt::Tool) {
    setWindowTitle(Q(tex.GetLine("GI_AdWindow_Caption", 0)));
    auto* layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({Q(tex.GetLine("GI_AdWindow_Columns", 0)),
                             Q(tex.GetLine("GI_AdWindow_Columns", 1)),
                             Q(tex.GetLine("GI_AdWindow_Columns", 2))});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int i = 0; i < cuiAdCommands::kChannels; ++i) {
        std::string name = tex.GetLine("GI_AdWindow_Channels", i);
        if (name.empty() || name[0] == '#') {
            name = "A/D " + std::to_string(i);
        }
        auto* row = new QTreeWidgetItem(m_list);
        row->setText(0, Q(name));
        row->setTextAlignment(1, Qt::AlignRight);
        row->setTextAlignment(2, Qt::AlignRight);
    }
    layout->addWidget(m_list);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);
    ShowValues({});
    resize(320, 280);
}

void cuiAdWindow::ShowValues(const Values& values) {
    for (int i = 0; i < cuiAdCommands::kChannels; ++i) {
        QTreeWidgetItem* row = m_list->topLevelItem(i);
        const std::optional<uint8_t>& v = values[static_cast<size_t>(i)];
        row->setText(1, v ? QString::number(*v) : QStringLiteral("-"));
        row->setText(2, v ? QStringLiteral("%1").arg(*v, 2, 16, QLatin1Char('0')).toUpper()
                          : QStringLiteral("-"));
    }
}

void cuiAdWindow::SetNote(const std::string& text) {
    m_note->setText(Q(text));
}

QString cuiAdWindow::NoteText() const {
    return m_note->text();
}

QString cuiAdWindow::ValueText(int channel) const {
    const QTreeWidgetItem* row = m_list->topLevelItem(channel);
    return row ? row->text(1) : QString();
}

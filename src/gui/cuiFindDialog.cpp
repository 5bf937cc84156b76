#include "gui/cuiFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

enum Line { kTitle, kFind, kWith, kWhole, kAll, kThis, kNext, kReplace, kReplaceAll, kClose };

} // namespace

cuiFindDialog::cuiFindDialog(QWidget* parent, const std::vector<std::string>& texts) : QDialog(parent) {
    setModal(false);
    m_find = new QLineEdit(this);
    m_replace = new QLineEdit(this);
    auto* fields = new QFormLayout;
    m_findLabel = new QLabel(this);
    m_withLabel = new QLabel(this);
    m_findLabel->setBuddy(m_find);
    m_withLabel->setBuddy(m_replace);
    fields->addRow(m_findLabel, m_find);
    fields->addRow(m_withLabel, m_replace);

    m_whole = new QCheckBox(this);
    m_all = new QRadioButton(this);
    m_this = new QRadioButton(this);
    m_all->setChecked(true);
    auto* options = new QHBoxLayout;
    options->addWidget(m_whole);
    options->addStretch();
    options->addWidget(m_all);
    options->addWidget(m_this);

    auto* buttons = new QDialogButtonBox(this);
    m_next = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_replaceOne = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_replaceAll = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    // Enter finds the next match wherever the focus is in the window; Escape closes it.
    for (QPushButton* b : {m_replaceOne, m_replaceAll, m_close})
        b->setAutoDefault(false);
    m_next->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (onFindNext)
            onFindNext();
    });
    connect(m_replaceOne, &QPushButton::clicked, this, [this] {
        if (onReplace)
            onReplace();
    });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] {
        if (onReplaceAll)
            onReplaceAll();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(options);
    layout->addWidget(buttons);
    SetTexts(texts);
}

void cuiFindDialog::SetTexts(const std::vector<std::string>& texts) {
    auto text = [&](int line) {
        return size_t(line) < texts.size() ? QString::fromStdString(texts[size_t(line)]) : QString();
    };
    setWindowTitle(text(kTitle));
    m_findLabel->setText(text(kFind));
    m_withLabel->setText(text(kWith));
    m_whole->setText(text(kWhole));
    m_all->setText(text(kAll));
    m_this->setText(text(kThis));
    m_next->setText(text(kNext));
    m_replaceOne->setText(text(kReplace));
    m_replaceAll->setText(text(kReplaceAll));
    m_close->setText(text(kClose));
}

std::string cuiFindDialog::FindText() const {
    return m_find->text().toStdString();
}

std::string cuiFindDialog::ReplaceText() const {
    return m_replace->text().toStdString();
}

bool cuiFindDialog::WholeCell() const {
    return m_whole->isChecked();
}

bool cuiFindDialog::AllSheets() const {
    return m_all->isChecked();
}

void cuiFindDialog::Present(bool replace) {
    show();
    raise();
    activateWindow();
    QLineEdit* field = replace ? m_replace : m_find;
    field->setFocus();
    field->selectAll();
}

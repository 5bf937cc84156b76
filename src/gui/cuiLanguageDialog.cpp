#include "gui/cuiLanguageDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

cuiLanguageDialog::cuiLanguageDialog(QWidget* parent, const QString& title,
                                     const std::vector<std::string>& names, int current)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    for (const std::string& name : names)
        m_list->addItem(QString::fromStdString(name));
    if (current >= 0 && current < m_list->count())
        m_list->setCurrentRow(current);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
}

int cuiLanguageDialog::Chosen() const {
    return m_list->currentRow();
}

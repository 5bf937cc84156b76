#include "gui/cuiPasswordDialog.h"

#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

cuiPasswordDialog::cuiPasswordDialog(QWidget* parent, cmcGTex& tex, cmcMessageBox& box)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_tex(tex), m_box(box) {
    setWindowTitle(Q(tex.GetLine("GI_AppInd_Opt_ClonePwd_Caption", 0)));
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(Q(tex.GetJoinedText("GI_AppInd_Opt_ClonePwd_Notice")), this);
    layout->addWidget(notice);
    m_entry = new QLineEdit(this);
    m_entry->setEchoMode(QLineEdit::Password);
    m_entry->setMaxLength(kMaxLength);
    // A password is typed key by key: no input method composes it.
    m_entry->setAttribute(Qt::WA_InputMethodEnabled, false);
    layout->addWidget(m_entry);
    auto* buttons = new QDialogButtonBox(this);
    m_ok =
        buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_ClonePwd_Buttons", 0)), QDialogButtonBox::AcceptRole);
    buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_ClonePwd_Buttons", 1)), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &cuiPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &cuiPasswordDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_entry->setFocus();
}

std::string cuiPasswordDialog::Password() const {
    return m_entry->text().toStdString();
}

void cuiPasswordDialog::accept() {
    std::string text = Password();
    if (text.empty() || text.size() > static_cast<size_t>(kMaxLength)) {
        m_box.Show(m_tex.GetJoinedText("GI_AppInd_Opt_ClonePwd_OutofRange"),
                   m_tex.GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Error,
                   cmcMessageBox::Buttons::Ok);
        m_entry->setFocus();
        return;
    }
    QDialog::accept();
}

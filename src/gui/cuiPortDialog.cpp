#include "gui/cuiPortDialog.h"

#include "app/indEnviron.h"
#include "clone/cmcPortDiscovery.h"
#include "clone/cmcPortMap.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The widest device text the list is sized for.
constexpr const char* kSample = "1: Zorv USB-to-Serial Comm. Port (COM1)WW";

// A list that rebuilds its entries each time it drops down, so a cable plugged in meanwhile shows.
class RefreshingCombo : public QComboBox {
public:
    RefreshingCombo(QWidget* parent, std::function<void()> refresh)
        : QComboBox(parent), m_refresh(std::move(refresh)) {}
    void showPopup() override {
        m_refresh();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_refresh;
};

} // namespace

cuiPortDialog::cuiPortDialog(QWidget* parent, int form, indEnviron& env, cmcGTex& tex, cmcMessageBox& box,
                             const cmcPortDiscovery& discovery)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_form(form), m_env(env),
      m_tex(tex), m_box(box), m_discovery(discovery) {
    setWindowTitle(Q(tex.GetLine("GI_AppInd_Opt_ComSel_Caption", 0)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Q(tex.GetJoinedText("GI_AppInd_Opt_ComSel_Notice")), this));
    const QString current = QString::number(env.comPort);
    m_device = new QLabel(this);
    if (form == 0) {
        m_entry = new QLineEdit(current, this);
        m_entry->setMaxLength(4);
        m_entry->selectAll();
        layout->addWidget(m_entry);
        connect(m_entry, &QLineEdit::textChanged, this, [this] { ShowDevice(); });
    } else {
        m_list = new RefreshingCombo(this, [this] { RefreshList(); });
        m_list->setEditable(form == 1);
        if (form == 1) {
            m_list->lineEdit()->setMaxLength(4);
            connect(m_list, &QComboBox::editTextChanged, this, [this] { ShowDevice(); });
        } else {
            m_list->setMinimumWidth(
                QFontMetrics(m_list->font()).horizontalAdvance(QString::fromLatin1(kSample)) +
                style()->pixelMetric(QStyle::PM_ScrollBarExtent));
            connect(m_list, &QComboBox::currentIndexChanged, this, [this] { ShowDevice(); });
        }
        RefreshList();
        if (form == 1)
            m_list->setEditText(current);
        layout->addWidget(m_list);
    }
    layout->addWidget(m_device);
    auto* buttons = new QDialogButtonBox(this);
    m_ok =
        buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_ComSel_Buttons", 0)), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(Q(tex.GetLine("GI_AppInd_Opt_ComSel_Buttons", 1)), QDialogButtonBox::RejectRole);
    const int buttonWidth =
        QFontMetrics(font()).horizontalAdvance(Q(tex.GetLine("GI_AppInd_Opt_ComSel_SizeOfButtons", 0))) + 16;
    m_ok->setMinimumWidth(buttonWidth);
    cancel->setMinimumWidth(buttonWidth);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &cuiPortDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &cuiPortDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowDevice();
}

void cuiPortDialog::RefreshList() {
    if (!m_list)
        return;
    QStringList items;
    if (m_form == 1) {
        for (int port : m_discovery.ListRegisteredPorts())
            items << QString::number(port);
    } else {
        for (const std::string& text : m_discovery.ListPortDevices(m_discovery.ListPresentPorts()))
            items << Q(text);
    }
    // The number shown stays shown; items are replaced only when they changed.
    const QString shown = m_form == 1 ? m_list->currentText() : QString();
    const int number = m_form == 1 ? 0 : cmcPortDiscovery::PortNumberOf(m_list->currentText().toStdString());
    QStringList old;
    for (int i = 0; i < m_list->count(); ++i)
        old << m_list->itemText(i);
    if (old != items) {
        QSignalBlocker block(m_list);
        m_list->clear();
        m_list->addItems(items);
    }
    if (m_form == 1) {
        m_list->setEditText(shown);
        return;
    }
    const int want = number > 0 ? number : m_env.comPort;
    int select = -1;
    for (int i = 0; i < m_list->count(); ++i)
        if (cmcPortDiscovery::PortNumberOf(m_list->itemText(i).toStdString()) == want)
            select = i;
    m_list->setCurrentIndex(select);
    // The drop-down is as wide as its widest entry.
    int widest = 0;
    for (int i = 0; i < m_list->count(); ++i)
        widest = std::max(widest, QFontMetrics(m_list->font()).horizontalAdvance(m_list->itemText(i) + "WW"));
    if (m_list->count() > m_list->maxVisibleItems())
        widest += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_list->view()->setMinimumWidth(widest);
}

std::string cuiPortDialog::Text() const {
    if (m_entry)
        return m_entry->text().toStdString();
    return m_list ? m_list->currentText().toStdString() : std::string();
}

// Beneath the entry: the device the number stands for, so a user can tell which cable it is.
void cuiPortDialog::ShowDevice() {
    int number = 0;
    bool ok = m_form == 2 ? (number = cmcPortDiscovery::PortNumberOf(Text())) > 0
                          : cmcPortDiscovery::ParsePortNumber(Text(), number);
    if (m_form == 2 && Text().empty()) {
        m_device->clear(); // no port device present: the empty list says it
        return;
    }
    std::string path;
    if (ok && number == m_env.comPort && number > 4 && !m_env.comDevice.empty())
        path = m_env.comDevice;
    else if (ok)
        path = cmcPortMap().DevicePath(number);
    if (path.empty()) {
        m_device->setText(Q(m_tex.GetLine("GI_AppInd_Opt_ComSel_Device", 1)));
        return;
    }
    QString line = Q(m_tex.GetLine("GI_AppInd_Opt_ComSel_Device", 0));
    line.replace(QStringLiteral("%s"), Q(path));
    m_device->setText(line);
}

void cuiPortDialog::accept() {
    int number = 0;
    bool ok = false;
    if (m_form == 2) {
        number = cmcPortDiscovery::PortNumberOf(Text());
        ok = number >= 1 && number <= cmcPortMap::kMaxPort;
    } else {
        ok = cmcPortDiscovery::ParsePortNumber(Text(), number);
    }
    if (!ok) {
        m_box.Show(m_tex.GetJoinedText("GI_AppInd_Opt_ComSel_OutofRange"),
                   m_tex.GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Error,
                   cmcMessageBox::Buttons::Ok);
        if (m_entry)
            m_entry->setFocus();
        else
            m_list->setFocus();
        return;
    }
    // A number above 4 names its device; keeping the current number keeps the device given for it
    // (a cable given by path on the command line).
    if (number > 4 && (number != m_env.comPort || m_env.comDevice.empty() || m_form == 2))
        m_env.comDevice = cmcPortMap().DevicePath(number);
    m_env.comPort = number;
    QDialog::accept();
}

#include "gui/cuiPortDialog.h"

#include "app/indEnviron.h"
#include "clone/cmcPortDiscovery.h"
#include "clone/cmcPortMap.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>
#include <initializer_list>
#include <optional>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The widest device line the list is sized for.
constexpr const char* kSample =
    "Zorv USB-to-Serial Comm. Port (0403:6001, serial A12B3C4D) \u2014 /dev/ttyUSB10WW";

// A device path as a user may type it: absolute, without control characters.
bool UsablePath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return false;
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

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
    layout->addWidget(new QLabel(
        Q(tex.GetJoinedText(form == 2 ? "GI_AppInd_Opt_ComDev_Notice" : "GI_AppInd_Opt_ComSel_Notice")),
        this));
    const QString current = QString::number(env.comPort);
    m_device = new QLabel(this);
    if (form == 0) {
        m_entry = new QLineEdit(current, this);
        m_entry->setMaxLength(4);
        m_entry->selectAll();
        layout->addWidget(m_entry);
        connect(m_entry, &QLineEdit::textChanged, this, [this] { ShowDevice(); });
    } else if (form == 1) {
        m_list = new RefreshingCombo(this, [this] { RefreshList(); });
        m_list->setEditable(true);
        m_list->lineEdit()->setMaxLength(4);
        connect(m_list, &QComboBox::editTextChanged, this, [this] { ShowDevice(); });
        RefreshList();
        m_list->setEditText(current);
        layout->addWidget(m_list);
    } else {
        BuildDeviceForm(layout);
    }
    layout->addWidget(m_device);
    m_device->setVisible(form != 2);
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
    if (form == 2) {
        cancel->setAutoDefault(false);
        m_devices->setFocus();
    } else {
        ShowDevice();
    }
}

void cuiPortDialog::RefreshList() {
    if (m_form == 2) {
        RefreshDevices();
        return;
    }
    if (!m_list)
        return;
    QStringList items;
    for (int port : m_discovery.ListRegisteredPorts())
        items << QString::number(port);
    // The number shown stays shown; items are replaced only when they changed.
    const QString shown = m_list->currentText();
    QStringList old;
    for (int i = 0; i < m_list->count(); ++i)
        old << m_list->itemText(i);
    if (old != items) {
        QSignalBlocker block(m_list);
        m_list->clear();
        m_list->addItems(items);
    }
    m_list->setEditText(shown);
}

std::string cuiPortDialog::Text() const {
    if (m_entry)
        return m_entry->text().toStdString();
    return m_list ? m_list->currentText().toStdString() : std::string();
}

// Beneath the entry: the device the number stands for, so a user can tell which cable it is.
void cuiPortDialog::ShowDevice() {
    int number = 0;
    const bool ok = cmcPortDiscovery::ParsePortNumber(Text(), number);
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
    if (m_form == 2) {
        AcceptDevice();
        return;
    }
    int number = 0;
    if (!cmcPortDiscovery::ParsePortNumber(Text(), number)) {
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
    if (number > 4 && (number != m_env.comPort || m_env.comDevice.empty()))
        m_env.comDevice = cmcPortMap().DevicePath(number);
    m_env.comPort = number;
    QDialog::accept();
}

std::string cuiPortDialog::CurrentDevice(const indEnviron& env) {
    return cmcPortMap::FromSettings(env.comPort, env.comDevice).DevicePath(env.comPort);
}

// The device form: the list of choices, the details of the one chosen, the path field.
void cuiPortDialog::BuildDeviceForm(QLayout* layout) {
    m_devices = new QListWidget(this);
    m_devices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_devices->setMinimumWidth(QFontMetrics(m_devices->font()).horizontalAdvance(QString(kSample)) +
                               style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_devices->setMinimumHeight(m_devices->fontMetrics().height() * 8);
    layout->addWidget(m_devices);
    // Refresh sits under the list it rebuilds.
    auto* refreshRow = new QHBoxLayout;
    m_refresh = new QPushButton(Q(m_tex.GetLine("GI_AppInd_Opt_ComDev_Refresh", 0)), this);
    m_refresh->setAutoDefault(false);
    connect(m_refresh, &QPushButton::clicked, this, [this] { RefreshList(); });
    refreshRow->addStretch(1);
    refreshRow->addWidget(m_refresh);
    static_cast<QBoxLayout*>(layout)->addLayout(refreshRow);
    m_details = new QLabel(this);
    m_details->setTextFormat(Qt::PlainText);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_details->setMinimumHeight(m_details->fontMetrics().height() * 8);
    m_details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_details);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(Q(m_tex.GetLine("GI_AppInd_Opt_ComDev_Path", 0)), this);
    m_path = new QLineEdit(this);
    label->setBuddy(m_path);
    row->addWidget(label);
    row->addWidget(m_path, 1);
    static_cast<QBoxLayout*>(layout)->addLayout(row);

    // Choosing an entry puts what it stores into the field; typing selects the entry it names.
    connect(m_devices, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(m_choices.size())) {
            m_path->setText(Q(m_choices[index].stored));
            ShowChoice();
        }
    });
    connect(m_path, &QLineEdit::textEdited, this, [this](const QString& text) {
        QSignalBlocker block(m_devices);
        m_devices->setCurrentRow(ChoiceOf(text.trimmed().toStdString()));
        ShowChoice();
    });
    connect(m_devices, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    m_initial = CurrentDevice(m_env);
    m_path->setText(Q(m_initial));
    RefreshDevices();
}

// The entry a path names: the one that stores it, else the device it is, or links to, now.
int cuiPortDialog::ChoiceOf(const std::string& path) const {
    if (path.empty())
        return -1;
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i].stored == path)
            return static_cast<int>(i);
    std::optional<cmcPortDevice> now = m_discovery.Describe(path);
    for (size_t i = 0; i < m_choices.size(); ++i) {
        const Choice& c = m_choices[i];
        if (c.present &&
            (c.device.path == path || c.device.byId == path || (now && now->path == c.device.path)))
            return static_cast<int>(i);
    }
    return -1;
}

void cuiPortDialog::RefreshDevices() {
    const std::string shown = m_path->text().trimmed().toStdString();
    m_choices.clear();
    for (cmcPortDevice& device : m_discovery.ListDevices()) {
        Choice c;
        c.stored = device.StableName();
        c.device = std::move(device);
        c.present = true;
        m_choices.push_back(std::move(c));
    }
    // The device in use and the typed paths stay choices when they are not present: a cable that is
    // unplugged shows as absent instead of being replaced by another.
    auto addPath = [this](const std::string& path, bool typed) {
        if (path.empty() || ChoiceOf(path) >= 0)
            return;
        Choice c;
        c.stored = path;
        c.typed = typed;
        std::optional<cmcPortDevice> now = m_discovery.Describe(path);
        c.present = now.has_value();
        if (now)
            c.device = *now;
        else
            c.device.path = path;
        m_choices.push_back(std::move(c));
    };
    addPath(m_initial, false);
    for (const std::string& path : m_env.typedDevices)
        addPath(path, true);
    for (const std::string& path : m_env.typedDevices) {
        int at = ChoiceOf(path);
        if (at >= 0 && m_choices[at].stored == path)
            m_choices[at].typed = true;
    }
    const int inUse = ChoiceOf(m_initial);
    if (inUse >= 0)
        m_choices[inUse].inUse = true;

    QSignalBlocker block(m_devices);
    m_devices->clear();
    for (const Choice& c : m_choices) {
        auto* item = new QListWidgetItem(ChoiceLine(c), m_devices);
        if (c.inUse) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        if (!c.present)
            item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    }
    m_devices->setCurrentRow(ChoiceOf(shown));
    ShowChoice();
}

QString cuiPortDialog::ChoiceLine(const Choice& c) const {
    std::string line;
    if (!c.present) {
        line = c.stored;
    } else {
        std::string about;
        std::string usb = c.device.UsbId();
        std::string serial =
            c.device.serial.empty()
                ? std::string()
                : cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Item", 2), {c.device.serial});
        about = usb.empty() || serial.empty() ? usb + serial : usb + ", " + serial;
        if (about.empty())
            about = c.device.driver;
        line = about.empty() ? cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Item", 1),
                                               {c.device.ShortName(), c.device.path})
                             : cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Item", 0),
                                               {c.device.ShortName(), about, c.device.path});
    }
    if (!c.present)
        line = cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Item", 4), {line});
    if (c.inUse)
        line = cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Item", 3), {line});
    return Q(line);
}

QString cuiPortDialog::DetailText(const Choice& c) const {
    auto line = [this](int n, const std::string& value) {
        return cmcText::FillIn(m_tex.GetLine("GI_AppInd_Opt_ComDev_Details", n), {value});
    };
    std::vector<std::string> lines;
    const cmcPortDevice& d = c.device;
    lines.push_back(line(0, d.path));
    if (!d.byId.empty())
        lines.push_back(line(1, d.byId));
    else if (c.stored != d.path)
        lines.push_back(line(1, c.stored));
    if (!d.product.empty())
        lines.push_back(line(2, d.ShortName()));
    if (!d.UsbId().empty())
        lines.push_back(line(3, d.UsbId()));
    if (!d.serial.empty())
        lines.push_back(line(4, d.serial));
    if (!d.driver.empty())
        lines.push_back(line(5, d.driver));
    if (!c.present)
        lines.push_back(m_tex.GetLine("GI_AppInd_Opt_ComDev_Details", 6));
    else if (!d.UsbId().empty() && d.byId.empty())
        lines.push_back(m_tex.GetLine("GI_AppInd_Opt_ComDev_Details", 7));
    if (c.inUse)
        lines.push_back(m_tex.GetLine("GI_AppInd_Opt_ComDev_Details", 8));
    std::string text;
    for (const std::string& l : lines)
        text += (text.empty() ? "" : "\n") + l;
    return Q(text);
}

// Beneath the list: everything known of the entry chosen, or of the path typed.
void cuiPortDialog::ShowChoice() {
    const int row = m_devices->currentRow();
    if (row >= 0 && row < static_cast<int>(m_choices.size())) {
        m_details->setText(DetailText(m_choices[row]));
        return;
    }
    const std::string typed = m_path->text().trimmed().toStdString();
    if (typed.empty()) {
        m_details->setText(m_choices.empty() ? Q(m_tex.GetJoinedText("GI_AppInd_Opt_ComDev_None"))
                                             : QString());
        return;
    }
    Choice c;
    c.stored = typed;
    std::optional<cmcPortDevice> now = m_discovery.Describe(typed);
    c.present = now.has_value();
    if (now)
        c.device = *now;
    else
        c.device.path = typed;
    m_details->setText(DetailText(c));
}

// OK on the device form: the path field is what is stored. A device with a stable link is stored by
// it, so the same cable is found after re-plugging; a typed path is stored as typed and kept.
void cuiPortDialog::AcceptDevice() {
    const std::string text = m_path->text().trimmed().toStdString();
    if (!UsablePath(text)) {
        m_box.Show(m_tex.GetJoinedText("GI_AppInd_Opt_ComDev_BadPath"), m_tex.GetLine("GI_Sys_AppTitle", 0),
                   cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
        m_path->setFocus();
        return;
    }
    if (text != m_initial) {
        int at = -1;
        for (size_t i = 0; i < m_choices.size(); ++i)
            if (m_choices[i].stored == text)
                at = static_cast<int>(i);
        // The number follows the node the path stands for now (a family's own number, else the last).
        std::optional<cmcPortDevice> now = m_discovery.Describe(text);
        std::string node = now ? now->name : (text.rfind("/dev/", 0) == 0 ? text.substr(5) : std::string());
        m_env.comPort = cmcPortMap::NumberOfPath(node);
        m_env.comDevice = text;
        if (at < 0 || m_choices[at].typed)
            m_env.AddTypedDevice(text);
    }
    QDialog::accept();
}

#include "gui/cuiFleetWindow.h"

#include "app/indAuditLog.h"
#include "app/indBackupStore.h"
#include "app/indEnviron.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "clone/cmcPosixSerial.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

enum Column { kPort, kSerial, kBytes, kState, kResult, kColumns };

} // namespace

cuiFleetWindow::cuiFleetWindow(QWidget* parent, Services services)
    : QDialog(parent), m_s(std::move(services)) {
    setWindowTitle(Q(Line("GI_Fleet_Title", 0)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Q(Line("GI_Fleet_Ports", 0)), this));
    m_ports = new QListWidget(this);
    m_ports->setObjectName(QStringLiteral("fleetPorts"));
    layout->addWidget(m_ports);

    auto* valuesRow = new QHBoxLayout;
    valuesRow->addWidget(new QLabel(Q(Line("GI_Fleet_Values", 0)), this));
    m_values = new QLineEdit(this);
    m_values->setObjectName(QStringLiteral("fleetValues"));
    valuesRow->addWidget(m_values, 1);
    auto* choose = new QPushButton(Q(Line("GI_Fleet_Values", 1)), this);
    valuesRow->addWidget(choose);
    layout->addLayout(valuesRow);

    // Protected radios take the password given here: none can be asked on its own while the
    // others run.
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(new QLabel(Q(Line("GI_Fleet_Password", 0)), this));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("fleetPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    if (m_s.env)
        m_password->setText(Q(m_s.env->sessionClonePassword));
    passwordRow->addWidget(m_password, 1);
    layout->addLayout(passwordRow);
    connect(choose, &QPushButton::clicked, this, [this] {
        const std::string path = m_s.askValuesPath
                                     ? m_s.askValuesPath()
                                     : QFileDialog::getOpenFileName(this, QString(), m_values->text(),
                                                                    QStringLiteral("CSV (*.csv);;* (*)"))
                                           .toStdString();
        if (!path.empty())
            m_values->setText(Q(path));
    });

    m_rows = new QTableWidget(0, kColumns, this);
    m_rows->setObjectName(QStringLiteral("fleetRows"));
    QStringList headers;
    for (int c = 0; c < kColumns; ++c)
        headers << Q(Line("GI_Fleet_Columns", c));
    m_rows->setHorizontalHeaderLabels(headers);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    // Ports, serial numbers and counts are shown whole; the result takes the rest (and its tooltip).
    for (int c = kPort; c < kResult; ++c)
        m_rows->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_rows->verticalHeader()->hide();
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_rows, 1);
    m_summary = new QLabel(this);
    layout->addWidget(m_summary);

    auto* buttons = new QHBoxLayout;
    auto* refresh = new QPushButton(Q(Line("GI_Fleet_Buttons", 3)), this);
    auto* add = new QPushButton(Q(Line("GI_Fleet_Buttons", 4)), this);
    m_start = new QPushButton(Q(Line("GI_Fleet_Buttons", 0)), this);
    m_cancel = new QPushButton(Q(Line("GI_Fleet_Buttons", 1)), this);
    m_close = new QPushButton(Q(Line("GI_Fleet_Buttons", 2)), this);
    buttons->addWidget(refresh);
    buttons->addWidget(add);
    buttons->addStretch(1);
    for (QPushButton* b : {m_start, m_cancel, m_close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(refresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(add, &QPushButton::clicked, this, [this] { AddDevice(); });
    connect(m_start, &QPushButton::clicked, this, [this] { Start(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
    resize(720, 480);
    Refresh();
    UpdateButtons();
}

cuiFleetWindow::~cuiFleetWindow() {
    // Radios still running are stopped; their ends no longer reach the widgets.
    if (m_fleet) {
        m_ended = true;
        m_fleet->Cancel();
        m_fleet.reset();
    }
}

QAction* cuiFleetWindow::AddToCloneMenu(QMenuBar* bar, const QString& text, std::function<void()> open) {
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        // The entries carry the cells they run; the last clone write entry is followed by this one.
        QAction* lastWrite = nullptr;
        for (QAction* action : menu->actions()) {
            auto* cell = static_cast<const cmcCellObj*>(action->data().value<void*>());
            if (cell && cell->cell == CL_Menu_Clone_Write)
                lastWrite = action;
        }
        if (!lastWrite)
            continue;
        const QList<QAction*> actions = menu->actions();
        const int at = static_cast<int>(actions.indexOf(lastWrite));
        QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
        auto* entry = new QAction(text, menu);
        entry->setObjectName(QStringLiteral("fleetWrite"));
        QObject::connect(entry, &QAction::triggered, menu, [open] { open(); });
        menu->insertAction(before, entry);
        return entry;
    }
    return nullptr;
}

std::string cuiFleetWindow::Line(const char* key, int line) const {
    return m_s.tex ? m_s.tex->GetLine(key, line) : std::string();
}

void cuiFleetWindow::Refresh() {
    std::vector<std::string> ticked;
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->checkState() == Qt::Checked)
            ticked.push_back(m_ports->item(i)->data(Qt::UserRole).toString().toStdString());
    m_ports->clear();
    std::vector<std::string> listed; // stable names and device paths already offered
    auto offer = [&](const cmcPortDevice& device, const std::string& path) {
        auto* item = new QListWidgetItem(Q(device.ShortName() + " (" + path + ")"), m_ports);
        item->setData(Qt::UserRole, Q(path));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool was = std::find(ticked.begin(), ticked.end(), path) != ticked.end();
        item->setCheckState(was ? Qt::Checked : Qt::Unchecked);
        listed.push_back(path);
        listed.push_back(device.path);
    };
    if (m_s.listDevices)
        for (const cmcPortDevice& device : m_s.listDevices())
            offer(device, device.StableName());
    // Paths typed by hand (an adapter the discovery does not see, a pseudo-terminal), while there.
    std::vector<std::string> typed = m_added;
    if (m_s.env)
        typed.insert(typed.end(), m_s.env->typedDevices.begin(), m_s.env->typedDevices.end());
    for (const std::string& path : typed) {
        if (std::find(listed.begin(), listed.end(), path) != listed.end())
            continue;
        if (std::optional<cmcPortDevice> device = Describe(path))
            offer(*device, path);
    }
}

std::optional<cmcPortDevice> cuiFleetWindow::Describe(const std::string& path) const {
    if (m_s.describe)
        return m_s.describe(path);
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec))
        return std::nullopt;
    cmcPortDevice device;
    device.path = path;
    return device;
}

bool cuiFleetWindow::AddDevice() {
    std::string path = m_s.askDevicePath ? m_s.askDevicePath()
                                         : QInputDialog::getText(this, Q(Line("GI_Fleet_Title", 0)),
                                                                 Q(Line("GI_Fleet_AddDevice", 0)))
                                               .toStdString();
    cmcText::TrimBlanks(path);
    if (path.empty())
        return false;
    const std::optional<cmcPortDevice> device = path[0] == '/' ? Describe(path) : std::nullopt;
    if (!device) {
        if (m_s.box)
            m_s.box->Show(cmcText::FillIn(m_s.tex->GetJoinedText("GI_Fleet_NoDevice"), {path}),
                          Line("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
        return false;
    }
    if (m_s.env)
        m_s.env->AddTypedDevice(path); // offered again next time, here and in the port dialog
    else if (std::find(m_added.begin(), m_added.end(), path) == m_added.end())
        m_added.push_back(path);
    Refresh();
    // The port list may already offer the device under its stable name: that entry is ticked then.
    const std::string stable = device->StableName();
    for (int i = 0; i < m_ports->count(); ++i) {
        const std::string offered = m_ports->item(i)->data(Qt::UserRole).toString().toStdString();
        if (offered == path || offered == stable)
            m_ports->item(i)->setCheckState(Qt::Checked);
    }
    return true;
}

bool cuiFleetWindow::SetTicked(const std::string& path, bool ticked) {
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->data(Qt::UserRole).toString().toStdString() == path) {
            m_ports->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
            return true;
        }
    return false;
}

void cuiFleetWindow::SetValuesPath(const std::string& path) {
    m_values->setText(Q(path));
}

void cuiFleetWindow::SetPassword(const std::string& password) {
    m_password->setText(Q(password));
}

bool cuiFleetWindow::Running() const {
    return !m_ended;
}

bool cuiFleetWindow::Start() {
    if (Running())
        return false;
    auto show = [this](const std::string& text, cmcMessageBox::Icon icon, cmcMessageBox::Buttons buttons) {
        return m_s.box ? m_s.box->Show(text, Line("GI_Sys_AppTitle", 0), icon, buttons)
                       : cmcMessageBox::Answer::Ok;
    };
    std::vector<std::string> ports;
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->checkState() == Qt::Checked)
            ports.push_back(m_ports->item(i)->data(Qt::UserRole).toString().toStdString());
    if (ports.empty()) {
        show(m_s.tex->GetJoinedText("GI_Fleet_NoPorts"), cmcMessageBox::Icon::Warning,
             cmcMessageBox::Buttons::Ok);
        return false;
    }
    indFleetValues values;
    const std::string valuesPath = m_values->text().trimmed().toStdString();
    if (!valuesPath.empty()) {
        std::string error;
        if (!values.Load(valuesPath, error)) {
            show(cmcText::FillIn(m_s.tex->GetJoinedText("GI_Fleet_ValuesFailed"), {error}),
                 cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
            return false;
        }
    }
    // The radios run side by side: the write is confirmed once for all of them.
    const cmcEeprom working = m_s.working ? m_s.working() : cmcEeprom();
    for (const char* key : indFleetWrite::Confirmations(working))
        if (show(m_s.tex->GetJoinedText(key), cmcMessageBox::Icon::Warning,
                 cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok)
            return false;

    indFleetWrite::Options options;
    if (m_s.env) {
        options.high = m_s.env->comSpeedHigh != 0;
        options.backupFolder = m_s.env->backupBeforeWrite ? indBackupStore::DefaultFolder() : std::string();
    }
    options.password = m_password->text().toStdString();
    // As a single write from the window, every radio is read back after its write.
    options.verify = true;
    options.warningCheck = m_s.warningCheck;
    options.logPath = m_s.logPath.empty() ? indAuditLog::DefaultPath() : m_s.logPath;
    options.changed = [this](size_t radio) {
        if (m_ended)
            return;
        ShowRadio(radio);
        if (m_fleet && m_fleet->Finished())
            Ended();
    };
    indCloneMan::DeviceFactory devices = m_s.devices ? m_s.devices : [] {
        return std::unique_ptr<cmcSerialDevice>(std::make_unique<cmcPosixSerial>());
    };
    m_fleet.reset();
    m_fleet = std::make_unique<indFleetWrite>(*m_s.loop, devices, *m_s.tex, options);
    for (const std::string& port : ports)
        m_fleet->AddPort(port);
    m_fleet->SetValues(values);
    m_rows->setRowCount(static_cast<int>(ports.size()));
    for (int r = 0; r < m_rows->rowCount(); ++r)
        for (int c = 0; c < kColumns; ++c)
            m_rows->setItem(r, c, new QTableWidgetItem);
    m_summary->clear();
    m_ended = false;
    UpdateButtons();
    m_fleet->Start(working, m_s.initial, m_s.modelType);
    return true;
}

void cuiFleetWindow::ShowRadio(size_t radio) {
    const indFleetWrite::Status& s = m_fleet->RadioStatus(radio);
    const int row = static_cast<int>(radio);
    if (row >= m_rows->rowCount())
        return;
    m_rows->item(row, kPort)->setText(Q(s.port));
    m_rows->item(row, kSerial)->setText(Q(s.serial));
    m_rows->item(row, kBytes)
        ->setText(s.total > 0 ? QStringLiteral("%1 / %2").arg(s.transferred).arg(s.total) : QString());
    m_rows->item(row, kState)->setText(Q(Line("GI_Fleet_States", static_cast<int>(s.state))));
    const QString result = Q(s.text);
    if (m_rows->item(row, kResult)->text() != result) {
        m_rows->item(row, kResult)->setText(result);
        m_rows->resizeRowToContents(row); // a failure's whole reason, wrapped
    }
    m_rows->item(row, kResult)->setToolTip(Q(s.backup.empty() ? s.text : s.text + "\n" + s.backup));
}

void cuiFleetWindow::Ended() {
    m_ended = true;
    size_t good = 0;
    for (size_t i = 0; i < m_fleet->Count(); ++i)
        if (m_fleet->RadioStatus(i).state == indFleetWrite::State::Succeeded)
            ++good;
    m_summary->setText(Q(cmcText::FillIn(Line("GI_Fleet_Summary", 0),
                                         {std::to_string(good), std::to_string(m_fleet->Count() - good)})));
    UpdateButtons();
    if (!m_fleet->LogError().empty() && m_s.box)
        m_s.box->Show(cmcText::FillIn(m_s.tex->GetJoinedText("GI_Fleet_LogFailed"), {m_fleet->LogError()}),
                      Line("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
}

void cuiFleetWindow::Cancel() {
    if (m_fleet && Running())
        m_fleet->Cancel();
}

void cuiFleetWindow::UpdateButtons() {
    m_start->setEnabled(!Running());
    m_cancel->setEnabled(Running());
    m_close->setEnabled(!Running());
}

void cuiFleetWindow::reject() {
    // The window stays while radios are written: Cancel stops them first.
    if (Running())
        return;
    QDialog::reject();
}

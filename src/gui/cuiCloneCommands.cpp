#include "gui/cuiCloneCommands.h"

#include "app/indBackupStore.h"
#include "app/indEnviron.h"
#include "cells/cmcCellNumber.h"
#include "clone/cmcPortMap.h"
#include "clone/cmcPosixSerial.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"
#include "gui/cuiCloneProgress.h"
#include "gui/cuiPasswordDialog.h"
#include "model/indInfoCells.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QUrl>
#include <cstdio>

namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// Overlay lines carry their value as "%s"; it is filled in by hand, never by printf.
std::string Fill(const std::string& line, const std::string& value) {
    return line.find("%s") == std::string::npos ? line + " " + value : cmcText::FillIn(line, {value});
}

// The radio's 12 serial characters, unprintable bytes shown as '?'.
std::string Serial(const uint8_t* info) {
    std::string serial(reinterpret_cast<const char*>(info + indCloneCommands::kInfoSerial), 12);
    for (char& ch : serial)
        if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7E)
            ch = '?';
    return serial;
}

} // namespace

cuiCloneCommands::cuiCloneCommands(const Services& services)
    : m_s(services), m_progress(std::make_unique<cuiCloneProgress>(services.window)) {
    m_man = std::make_unique<indCloneMan>(
        *m_s.loop, [] { return std::make_unique<cmcPosixSerial>(); }, m_s.tex, m_s.box, m_progress.get());
    m_commands = std::make_unique<indCloneCommands>(*m_man, *m_s.model, m_s.tex, m_s.box);
    m_progress->SetCancelHandler([this] { m_man->Cancel(); });
    m_commands->SetPasswordDialog([this] { return AskPassword(); });
    m_commands->SetWarningCheck([this] { return m_s.warningCheck ? m_s.warningCheck() : 0; });
}

cuiCloneCommands::~cuiCloneCommands() {
    // The commands hold callbacks into the manager; the manager hides the progress window.
    m_commands.reset();
    m_man.reset();
}

bool cuiCloneCommands::IsBusy() const {
    return m_running || m_man->IsBusy();
}

// The port number, its device and the speed are read at every start: the menu may have changed them.
void cuiCloneCommands::ApplyPort() {
    indEnviron& env = *m_s.env;
    cmcPortMap map;
    if (env.comPort > 4 && !env.comDevice.empty())
        map.SetDevicePath(env.comPort, env.comDevice);
    m_man->SetPortMap(map);
    m_man->SetComPort(env.comPort);
    m_man->SetComSpeedHigh(env.comSpeedHigh != 0);
}

bool cuiCloneCommands::AskPassword() {
    std::string password;
    bool confirmed = false;
    if (m_s.askPassword) {
        confirmed = m_s.askPassword(password);
    } else {
        cuiPasswordDialog dialog(m_s.window, *m_s.tex, *m_s.box);
        // One radio after another takes the same password: the one of this session is offered.
        dialog.Entry()->setText(QString::fromStdString(m_s.env->sessionClonePassword));
        dialog.Entry()->selectAll();
        confirmed = dialog.exec() == QDialog::Accepted;
        password = dialog.Password();
    }
    if (m_s.events)
        m_s.events->Send(cmcEv::RaiseFloatingWindows);
    if (!confirmed || password.empty())
        return false;
    m_s.env->sessionClonePassword = password.substr(0, cuiPasswordDialog::kMaxLength);
    m_man->SetClonePassword(m_s.env->sessionClonePassword);
    return true;
}

bool cuiCloneCommands::Read(std::function<void(const cmcEeprom& radio)> done) {
    if (IsBusy())
        return false;
    ApplyPort();
    m_running = true;
    bool started = m_commands->StartRead([this, done](int32_t outcome, dst_CDrv_Result* r) {
        m_running = false;
        if (outcome == 0 && r && done)
            done(r->image);
        Ended(outcome);
    });
    if (!started)
        m_running = false;
    return started;
}

bool cuiCloneCommands::Write(const cmcEeprom& working, std::function<void()> done) {
    if (IsBusy())
        return false;
    ApplyPort();
    m_commands->SetBackupFolder(m_s.env->backupBeforeWrite ? indBackupStore::DefaultFolder() : std::string());
    m_commands->SetVerify(true);
    m_running = true;
    bool started = m_commands->StartWrite(working, [this, done](int32_t outcome, dst_CDrv_Result*) {
        m_running = false;
        if (outcome == 0 && done)
            done();
        Ended(outcome);
    });
    if (!started)
        m_running = false;
    return started;
}

void cuiCloneCommands::ShowBackupsFolder() {
    const std::string folder = indBackupStore::DefaultFolder();
    bool opened = indBackupStore::MakeFolder(folder);
    if (opened && m_s.openFolder)
        opened = m_s.openFolder(folder);
    else if (opened)
        opened = QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
    if (!opened)
        m_s.box->Show(Fill(m_s.tex->GetJoinedText("GI_Mess_Backup_Folder"), folder),
                      m_s.tex->GetLine("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Information,
                      cmcMessageBox::Buttons::Ok);
}

bool cuiCloneCommands::Info() {
    if (IsBusy())
        return false;
    ApplyPort();
    m_running = true;
    bool started = m_commands->StartInfo([this](int32_t outcome, dst_CDrv_Result*) {
        m_running = false;
        if (outcome == 0 && m_s.showInfo)
            m_s.showInfo();
        else if (outcome == 0)
            m_s.box->Show(InfoText(), m_s.tex->GetLine("GI_Sys_AppTitle", 0),
                          cmcMessageBox::Icon::Information, cmcMessageBox::Buttons::Ok);
        Ended(outcome);
    });
    if (!started)
        m_running = false;
    return started;
}

bool cuiCloneCommands::QuietInfo(bool quiet, std::function<void(int32_t status)> done) {
    if (IsBusy()) {
        return false;
    }
    ApplyPort();
    if (quiet) {
        m_man->SuppressNextMessage();
    }
    m_running = true;
    bool started = m_commands->StartInfo([this, done](int32_t outcome, dst_CDrv_Result*) {
        m_running = false;
        if (done) {
            done(outcome);
        }
        Ended(outcome);
    });
    if (!started) {
        m_running = false;
    }
    return started;
}

bool cuiCloneCommands::ModelCommand(int32_t subCommand, int32_t value, uint8_t* answer,
                                    std::function<void(int32_t status)> done) {
    return RunModel(
        [&] { m_man->ModelDriver().SetModelCommand(subCommand, value, answer); },
        [this](indCloneMan::Done finished) { return m_man->StartModelCommand(std::move(finished)); },
        std::move(done));
}

bool cuiCloneCommands::ModelList(const std::vector<imcCloneDrv::Entry>& entries,
                                 std::function<void(int32_t status)> done) {
    std::vector<imcCloneDrv::Entry> list = entries;
    list.push_back(imcCloneDrv::Entry{}); // the end entry
    return RunModel([&] { m_man->ModelDriver().SetModelCommandList(list.data()); },
                    [this](indCloneMan::Done finished) { return m_man->StartModelList(std::move(finished)); },
                    std::move(done));
}

bool cuiCloneCommands::RunModel(const std::function<void()>& prepare,
                                const std::function<bool(indCloneMan::Done)>& start,
                                std::function<void(int32_t status)> done) {
    if (IsBusy()) {
        return false;
    }
    ApplyPort();
    m_man->SetModelCodes(indCloneCommands::kModelCode, 0);
    prepare();
    m_running = true;
    const bool started = start([this, done = std::move(done)](dst_CDrv_Result& r) {
        m_running = false;
        if (done) {
            done(r.status);
        }
        Ended(r.status);
    });
    if (!started) {
        m_running = false;
    }
    return started;
}

// The outcome is recorded last: a test waiting for the end sees the data already taken over.
void cuiCloneCommands::Ended(int32_t outcome) {
    m_lastOutcome = outcome;
    if (m_s.finished)
        m_s.finished();
}

std::vector<uint8_t> cuiCloneCommands::InfoBytes() const {
    if (m_commands->RadioModelCode() == 0)
        return {}; // no radio has answered yet
    const auto& info = m_commands->Info();
    return std::vector<uint8_t>(info.begin(), info.end());
}

std::string cuiCloneCommands::InfoText() const {
    const auto& info = m_commands->Info();
    const uint8_t* b = info.data();
    using C = indCloneCommands;
    // The serial number as the radio's label and the clone information sheet show it, else as sent.
    std::string serial = indInfoCells::EsnText(InfoBytes());
    if (serial.empty())
        serial = Serial(b);
    const uint8_t flags = b[C::kInfoFlags];
    const int protection = !(flags & 0x08) ? 0 : (flags & 0x10) ? 1 : 2;
    const std::string values[] = {
        Hex(static_cast<unsigned>(m_commands->RadioModelCode()), 4),
        std::to_string(b[C::kInfoRevision] >> 4) + "." + std::to_string(b[C::kInfoRevision] & 0x0F),
        serial,
        m_s.tex->GetLine("GI_AppInd_CloneInfo_Password", protection),
        std::to_string(b[C::kInfoDataVersion]),
        std::to_string(b[C::kInfoTrunkLevel]),
        Hex(static_cast<unsigned>(C::EndAddress(b)), 4),
    };
    std::string text;
    for (size_t i = 0; i < std::size(values); ++i) {
        if (i)
            text += "\n";
        text += Fill(m_s.tex->GetLine("GI_AppInd_CloneInfo_Lines", static_cast<int>(i)), values[i]);
    }
    return text;
}

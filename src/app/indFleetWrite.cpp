#include "app/indFleetWrite.h"

#include "app/indAuditLog.h"
#include "app/indScratchData.h"
#include "cells/cmcCellNames.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "model/indInfoCells.h"
#include "sheets/iuiCellTyping.h"

#include <cstdio>

namespace {

// A radio's messages: kept as its result text and passed on, never waited on. Confirmations are
// answered yes, as the fleet was confirmed as a whole.
class FleetBox : public cmcMessageBox {
public:
    std::function<void(const std::string&)> shown;
    std::string last; // the last error or warning

    Answer Show(const std::string& text, const std::string&, Icon icon, Buttons buttons) override {
        if (buttons == Buttons::Ok) {
            if (icon != Icon::Information)
                last = text;
            if (shown)
                shown(text);
            return Answer::Ok;
        }
        return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
};

// A radio's progress: bytes done and in all, handed on to the fleet's display.
class FleetProgress : public indCloneProgress {
public:
    std::function<void(int32_t, int32_t)> update;

    void ShowProgress(int32_t total) override { update(0, total); }
    void UpdateProgress(int32_t transferred, int32_t total) override { update(transferred, total); }
};

std::string Firmware(const std::array<uint8_t, indCloneCommands::kInfoSize>& info) {
    const uint8_t revision = info[indCloneCommands::kInfoRevision];
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", revision >> 4, revision & 0x0F);
    return text;
}

std::string RawSerial(const std::array<uint8_t, indCloneCommands::kInfoSize>& info) {
    std::string serial(reinterpret_cast<const char*>(info.data() + indCloneCommands::kInfoSerial), 12);
    for (char& c : serial)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '?';
    return serial;
}

} // namespace

struct indFleetWrite::Radio {
    size_t index = 0;
    Status status;
    FleetBox box;
    FleetProgress progress;
    std::unique_ptr<indCloneMan> man;
    std::unique_ptr<indModel> model;
    std::unique_ptr<indCloneCommands> commands;
    cmcEeprom working; // this radio's copy, with its own values
};

int indFleetWrite::ResultCode(int32_t outcome) {
    switch (outcome) {
    case indCloneCommands::kCancelled:
        return kCodeCancelled;
    case indCloneCommands::kNoChannelInUse:
        return kCodeNoChannel;
    case indCloneCommands::kDataErrors:
        return kCodeDataErrors;
    case indCloneCommands::kNotReadyTrunk:
        return kCodeNotReadyTrunk;
    case indCloneCommands::kBackupFailed:
        return kCodeBackupFailed;
    case indCloneCommands::kVerifyFailed:
        return kCodeVerifyFailed;
    case kValuesRefused:
        return kCodeValuesRefused;
    case indCloneCommands::kBusy:
        return kCodeBusy;
    default:
        return outcome;
    }
}

std::vector<const char*> indFleetWrite::Confirmations(const cmcEeprom& working) {
    std::vector<const char*> keys;
    if (working.GetSize() > indCloneCommands::kClonePasswordAt &&
        working.GetByte(indCloneCommands::kClonePasswordAt) != 0)
        keys.push_back("GI_Mess_Confirm_CloneWriteClonePass");
    keys.push_back("GI_Mess_Confirm_CloneWrite");
    return keys;
}

indFleetWrite::indFleetWrite(cmcLoop& loop, indCloneMan::DeviceFactory devices, cmcGTex& tex, Options options)
    : m_loop(loop), m_devices(std::move(devices)), m_tex(tex), m_options(std::move(options)) {}

indFleetWrite::~indFleetWrite() {
    // A radio still running is stopped before its manager goes; its completion finds the fleet whole.
    Cancel();
}

void indFleetWrite::AddPort(const std::string& device) {
    auto radio = std::make_unique<Radio>();
    radio->index = m_radios.size();
    radio->status.port = device;
    m_radios.push_back(std::move(radio));
}

const indFleetWrite::Status& indFleetWrite::RadioStatus(size_t radio) const {
    return m_radios.at(radio)->status;
}

void indFleetWrite::Start(const cmcEeprom& working, const cmcEeprom& initial, int modelType) {
    m_working = working;
    m_initial = initial;
    m_modelType = modelType;
    const bool haveSettings = m_tex.HasKey("GI_AppUnitIdMax") && m_tex.HasKey("GI_Sys_LockoutNewerData");
    const indModel::Settings settings = haveSettings ? indModel::ReadSettings(m_tex) : indModel::Settings{};
    for (auto& owned : m_radios) {
        Radio& radio = *owned;
        radio.box.shown = [this, &radio](const std::string& text) {
            if (m_options.message)
                m_options.message(radio.index, text);
        };
        radio.progress.update = [this, &radio](int32_t transferred, int32_t total) {
            radio.status.transferred = transferred;
            radio.status.total = total;
            if (radio.status.serial.empty())
                NoteInfo(radio); // the write asked the radio first: its row shows whom it writes
            // The count starts again for each of the write's reads and its frames: the state says which.
            using Step = indCloneCommands::WriteStage;
            if (radio.status.state == State::Writing || radio.status.state == State::BackingUp ||
                radio.status.state == State::ReadingBack) {
                const Step step = radio.commands->CurrentWriteStage();
                radio.status.state = step == Step::BackingUp     ? State::BackingUp
                                     : step == Step::ReadingBack ? State::ReadingBack
                                                                 : State::Writing;
            }
            Changed(radio);
        };
        // Each radio has a clone manager of its own, on a port number of its own.
        radio.man = std::make_unique<indCloneMan>(m_loop, m_devices, &m_tex, &radio.box, &radio.progress);
        constexpr int kPort = 5;
        cmcPortMap map;
        map.SetDevicePath(kPort, radio.status.port);
        radio.man->SetPortMap(map);
        radio.man->SetComPort(kPort);
        radio.man->SetComSpeedHigh(m_options.high);
        radio.model = std::make_unique<indModel>(nullptr, &radio.box, settings);
        radio.model->SetDefaults(&m_initial);
        radio.commands = std::make_unique<indCloneCommands>(*radio.man, *radio.model, &m_tex, &radio.box);
        radio.commands->SetBackupFolder(m_options.backupFolder);
        radio.commands->SetVerify(m_options.verify);
        radio.commands->SetPasswordDialog([this, &radio] {
            // No radio can be asked on its own while the others run: the password comes with the fleet.
            if (m_options.password.empty()) {
                radio.box.last = m_tex.GetJoinedText("GI_Fleet_NeedPassword");
                return false;
            }
            radio.man->SetClonePassword(m_options.password);
            return true;
        });
        radio.commands->SetWarningCheck([this, &radio] {
            return m_options.warningCheck ? m_options.warningCheck(radio.working, m_modelType) : 0;
        });
    }
    for (auto& owned : m_radios) {
        Radio& radio = *owned;
        radio.status.state = State::Asking;
        Changed(radio);
        if (m_values.Empty()) {
            Begin(radio, m_working);
            continue;
        }
        // The radio's serial number picks its row: it is asked for before anything is written.
        if (!radio.commands->StartInfo(
                [this, &radio](int32_t outcome, dst_CDrv_Result*) { InfoDone(radio, outcome); }))
            End(radio, indCloneCommands::kBusy);
    }
}

void indFleetWrite::InfoDone(Radio& radio, int32_t outcome) {
    if (outcome != 0) {
        End(radio, outcome);
        return;
    }
    NoteInfo(radio);
    const auto& info = radio.commands->Info();
    const indFleetValues::Row* row = m_values.Find(radio.status.serial, RawSerial(info));
    if (!row) {
        Begin(radio, m_working);
        return;
    }
    indScratchData scratch(m_tex, nullptr, &radio.box);
    scratch.SetWorking(m_working, m_modelType);
    const std::vector<indFleetValues::Column>& columns = m_values.Columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        const iuiCellTyping::Outcome typed =
            iuiCellTyping::Type(scratch.Handler(), scratch.Codecs(), nullptr, columns[i].cell, row->texts[i]);
        if (!typed.accepted) {
            radio.box.last = columns[i].address + ": '" + row->texts[i] + "' " + typed.Refusal();
            End(radio, kValuesRefused);
            return;
        }
    }
    // What the cells said while they took their values is no result of the write.
    radio.box.last.clear();
    Begin(radio, scratch.Work());
}

void indFleetWrite::NoteInfo(Radio& radio) {
    const auto& info = radio.commands->Info();
    if (info[0] == 0)
        return; // no answer yet
    radio.status.serial = indInfoCells::EsnText(std::vector<uint8_t>(info.begin(), info.end()));
    radio.status.firmware = Firmware(info);
}

void indFleetWrite::Begin(Radio& radio, const cmcEeprom& working) {
    radio.working = working;
    radio.status.state = State::Writing;
    Changed(radio);
    if (!radio.commands->StartWrite(
            radio.working, [this, &radio](int32_t outcome, dst_CDrv_Result*) { End(radio, outcome); }))
        End(radio, indCloneCommands::kBusy);
}

void indFleetWrite::End(Radio& radio, int32_t outcome) {
    if (radio.status.state == State::Succeeded || radio.status.state == State::Failed)
        return;
    Status& s = radio.status;
    NoteInfo(radio);
    s.outcome = outcome;
    s.code = ResultCode(outcome);
    s.backup = radio.commands->BackupPath();
    s.state = outcome == 0 ? State::Succeeded : State::Failed;
    if (outcome == 0)
        s.text = m_tex.GetLine("GI_Mess_CloneWrite_Succeeded", 0);
    else if (!radio.box.last.empty())
        s.text = radio.box.last;
    else if (outcome > 0)
        s.text = radio.man->CloneErrorText(outcome);
    else
        s.text = m_tex.GetLine("GI_Mess_Fleet_NotWritten", 0);
    for (char& c : s.text)
        if (c == '\n')
            c = ' ';
    if (!m_options.logPath.empty()) {
        indAuditLog::Entry entry{std::time(nullptr), s.port, s.serial, s.firmware, s.code, s.text, s.backup};
        std::string error;
        if (!indAuditLog::Append(m_options.logPath, entry, error) && m_logError.empty())
            m_logError = error;
    }
    Changed(radio);
}

void indFleetWrite::Changed(Radio& radio) {
    if (m_options.changed)
        m_options.changed(radio.index);
}

void indFleetWrite::Cancel() {
    for (auto& radio : m_radios)
        if (radio->man && radio->man->IsBusy())
            radio->man->Cancel();
}

bool indFleetWrite::Finished() const {
    for (const auto& radio : m_radios)
        if (radio->status.state != State::Succeeded && radio->status.state != State::Failed)
            return false;
    return true;
}

int indFleetWrite::ExitCode() const {
    if (m_radios.size() == 1)
        return m_radios[0]->status.code;
    for (const auto& radio : m_radios)
        if (radio->status.state != State::Succeeded)
            return kCodeSomeFailed;
    return 0;
}

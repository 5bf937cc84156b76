#include "clone/indCloneMan.h"

#include "clone/cmcCloneFrame.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The overlay's head text of code 2 carries the port number as its one "%d". It is filled in by hand:
// an overlay text is never handed to printf.
std::string FillPortNumber(const std::string& format, int32_t port) {
    std::string out;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            char c = format[i + 1];
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (!filled && (c == 'd' || c == 'i' || c == 'u')) {
                out += std::to_string(port);
                filled = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

const char* kLowSpeed = "9600,N,8,1";
const char* kHighSpeed = "38400,N,8,1";
// The clone information's flags byte: bit 3 says the radio has a clone password.
constexpr int32_t kInfoFlagsAt = 53;

using namespace cmcCloneFrame;

// A model command frame as command text, up to its sub-command: "EEEF E8 %04X%04X %02X" with the
// model code and the extra code 0.
std::string ModelCommandHead(unsigned model, uint8_t subCommand) {
    return Format("%02X%02X %02X %04X%04X %02X", kRadio, kComputer, kModelCommand, model, 0u, subCommand);
}

// The rest of a model command frame after its sub-command: the two value characters and the end.
std::string ModelCommandTail(const uint8_t (&value)[2]) {
    return Format(" %02X%02X %02X", value[0], value[1], kEnd);
}

// The speed switch: the port reopened with settings, 20 preamble bytes, the speed command.
std::string SpeedFrameText(const char* settings, unsigned model, const uint8_t (&value)[2]) {
    std::string text = Format("(%s)", settings);
    for (int i = 0; i < 20; ++i)
        text += Format("%02X", kPreamble);
    return text + " " + ModelCommandHead(model, kSubSpeed) + ModelCommandTail(value);
}

std::string FramePrefix() {
    return Format("%02X%02X ", kPreamble, kPreamble);
}

} // namespace

indCloneMan::indCloneMan(cmcLoop& loop, const DeviceFactory& devices, cmcGTex* tex, cmcMessageBox* box,
                         indCloneProgress* progress)
    : m_tex(tex), m_box(box), m_progress(progress), m_drv(std::make_unique<cmcCloneDrv>(loop, devices())),
      m_model(std::make_unique<imcCloneDrv>(loop, devices(), m_adjust)),
      m_progressTask(cmcTask::Create(loop)) {
    m_progressTask->Bind([this](cmcTask*) { ProgressStep(); });
}

indCloneMan::~indCloneMan() {
    m_progressTask.reset();
    if (m_progressShown && m_progress)
        m_progress->HideProgress();
}

void indCloneMan::SetModelCodes(int32_t model, int32_t extra) {
    m_drv->SetModelCodes(model, extra);
    m_model->SetModelCodes(model, extra);
}

void indCloneMan::SetPortMap(const cmcPortMap& map) {
    m_portMap = map;
    m_drv->SetPortMap(map);
    m_model->SetPortMap(map);
}

void indCloneMan::SetClonePassword(const std::string& password) {
    m_password = password.substr(0, 16);
    m_passwordNext = !m_password.empty();
}

std::string indCloneMan::CommandText(int32_t modelCode, bool high, bool write, const std::string* password) {
    const unsigned m = static_cast<unsigned>(modelCode) & 0xFFFF;
    std::string text = SpeedFrameText(kHighSpeed, m, kSpeedLow);
    text += Format("(%s)", kLowSpeed);
    if (password && !password->empty()) {
        unsigned sum = 0;
        for (unsigned char c : *password)
            sum += c;
        std::string block =
            Format("%02X%02X", static_cast<unsigned>(password->size()), (256 - sum % 256) % 256);
        for (unsigned char c : *password)
            block += Format("%02X", c);
        text += FramePrefix() + ModelCommandHead(m, kSubPassword) + " " + block + Format(" %02X", kEnd);
    }
    text += FramePrefix() + ModelCommandHead(m, kSubCloneMode) +
            ModelCommandTail(write ? kCloneModeWrite : kCloneModeRead);
    text += high ? SpeedFrameText(kLowSpeed, m, kSpeedHigh) : SpeedFrameText(kHighSpeed, m, kSpeedLow);
    return text;
}

void indCloneMan::Prepare(bool high, bool write) {
    const std::string* password = m_passwordNext ? &m_password : nullptr;
    m_drv->SetCommandText(CommandText(m_drv->ModelCode(), high, write, password));
    m_drv->SetPort(m_comPort, high ? kHighSpeed : kLowSpeed);
    m_drv->SetPreamble(high ? 48 : 12);
    m_drv->SetDataPreamble(0, 0);
    m_radioSpeed = high ? 1 : 0;
    m_drv->SetEchoMode(false);
    m_drv->SetCountInEndFrame(true);
    m_drv->SetWaitWriteAck(true);
    m_drv->SetPauseWindow(128, 0);
    m_drv->SetTimeout(1000);
}

void indCloneMan::PrepareModel(bool high) {
    imcCloneDrv& d = *m_model;
    if (m_adjust.request19200) {
        d.SetPort(m_comPort, "19200,N,8,1");
        d.SetPreamble(0);
        d.SetDataPreamble(0, 0);
        d.SetCommandText("");
        m_radioSpeed = -1;
        m_adjust.request19200 = false;
    } else if (m_radioSpeed != (high ? 1 : 0)) {
        const unsigned m = static_cast<unsigned>(m_drv->ModelCode()) & 0xFFFF;
        if (high) {
            d.SetCommandText(SpeedFrameText(kLowSpeed, m, kSpeedHigh));
            d.SetPort(m_comPort, kHighSpeed);
        } else {
            d.SetCommandText(SpeedFrameText(kHighSpeed, m, kSpeedLow));
            d.SetPort(m_comPort, kLowSpeed);
        }
        d.SetPreamble(0);
        d.SetDataPreamble(0, 0);
        m_radioSpeed = high ? 1 : 0;
    }
    d.SetCountInEndFrame(true);
}

bool indCloneMan::StartInfo(Done done) {
    if (m_drv->IsBusy())
        return false;
    m_operation = cmcCloneMode::Info;
    m_done = std::move(done);
    m_passwordSentNow = false;
    bool passwordNext = m_passwordNext;
    m_passwordNext = false; // the information operation never sends it
    Prepare(false, false);
    m_passwordNext = passwordNext;
    m_drv->SetRtsControl(1);
    if (m_progress)
        m_progress->SetMainWindowEnabled(false);
    m_drv->SetEchoTest(true);
    return m_drv->StartInfo([this](dst_CDrv_Result& r) { Completion(r); });
}

bool indCloneMan::StartRead(const cmcRange* ranges, Done done) {
    if (m_drv->IsBusy())
        return false;
    m_totalBytes = 0;
    for (const cmcRange* r = ranges; r && !r->IsEnd(); ++r)
        m_totalBytes += r->last - r->first + 1;
    m_operation = cmcCloneMode::Read;
    m_done = std::move(done);
    m_passwordSentNow = m_passwordNext;
    Prepare(m_speedHigh, false);
    m_drv->SetRtsControl(1);
    m_passwordNext = false;
    m_drv->SetEchoTest(true);
    m_drv->StartRead(ranges, [this](dst_CDrv_Result& r) { Completion(r); });
    ShowProgress();
    m_progressTask->SetInterval(30);
    return true;
}

bool indCloneMan::StartWrite(const cmcEeprom& image, const cmcRange* ranges, Done done) {
    if (m_drv->IsBusy())
        return false;
    m_totalBytes = 0;
    for (const cmcRange* r = ranges; r && !r->IsEnd(); ++r)
        m_totalBytes += r->last - r->first + 1;
    m_operation = cmcCloneMode::Write;
    m_done = std::move(done);
    m_passwordSentNow = m_passwordNext;
    Prepare(m_speedHigh, true);
    m_drv->SetRtsControl(1);
    m_passwordNext = false;
    m_drv->SetEchoTest(true);
    m_drv->SetAckTimeout(5000);
    m_drv->SetTimeout(2000);
    m_drv->StartWrite(image, ranges, [this](dst_CDrv_Result& r) { Completion(r); });
    ShowProgress();
    m_progressTask->SetInterval(30);
    return true;
}

bool indCloneMan::StartModelCommand(Done done) {
    if (m_model->IsBusy())
        return false;
    m_operation = cmcCloneMode::Command;
    m_done = std::move(done);
    bool repeated = m_adjust.request19200;
    PrepareModel(m_adjust.target != 7);
    m_model->SetEchoMode(m_modelEchoPreset);
    if (m_progress)
        m_progress->SetMainWindowEnabled(false);
    m_model->SetEchoTest(false);
    auto cb = [this](dst_CDrv_Result& r) { Completion(r); };
    return repeated ? m_model->StartRepeated(cb) : m_model->StartCommand(cb);
}

bool indCloneMan::StartModelSweep(Done done) {
    if (m_drv->IsBusy() || m_model->IsBusy())
        return false;
    m_operation = cmcCloneMode::Command;
    m_done = std::move(done);
    PrepareModel(true);
    m_model->SetEchoMode(m_modelEchoPreset);
    if (m_progress)
        m_progress->SetMainWindowEnabled(false);
    m_model->SetEchoTest(false);
    return m_model->StartSweep([this](dst_CDrv_Result& r) { Completion(r); });
}

bool indCloneMan::StartModelList(Done done) {
    if (m_drv->IsBusy() || m_model->IsBusy())
        return false;
    m_operation = cmcCloneMode::Command;
    m_done = std::move(done);
    PrepareModel(true);
    m_model->SetEchoMode(false);
    if (m_progress)
        m_progress->SetMainWindowEnabled(false);
    m_model->SetEchoTest(true);
    return m_model->StartCommandList([this](dst_CDrv_Result& r) { Completion(r); });
}

void indCloneMan::ShowProgress() {
    if (!m_progress) {
        return;
    }
    const int32_t baud = m_speedHigh ? 38400 : 9600;
    m_progress->DescribeOperation(m_operation, m_portMap.DevicePath(m_comPort), baud);
    m_progress->ShowProgress(m_totalBytes);
    m_progressShown = true;
}

bool indCloneMan::Cancel() {
    if (m_drv->IsBusy()) {
        return m_drv->Cancel();
    }
    return m_model->Cancel();
}

void indCloneMan::NotePasswordCause(dst_CDrv_Result& result) const {
    if (!m_passwordSentNow || !m_radioProtected) {
        return;
    }
    // A protected radio answers nothing, or refuses the write, when the password is wrong. Once its
    // data flows, a silence is the line's fault again.
    const bool quiet = result.status == kCloneTimeout ||
                       (result.status == kCloneFormat && result.mode == cmcCloneMode::Write);
    result.passwordLikely = quiet && !result.dataSent && m_drv->DataFrames() == 0;
}

void indCloneMan::ProgressStep() {
    if (m_progress && m_progressShown)
        m_progress->UpdateProgress(m_drv->DataBytes(), m_totalBytes);
    if (!m_drv->IsBusy())
        m_progressTask->SetInterval(-1);
}

void indCloneMan::Completion(dst_CDrv_Result& result) {
    if (m_operation == cmcCloneMode::Info) {
        if (m_infoHandler)
            m_infoHandler(result);
        else
            result.status = kCloneModel;
        if (result.status == kCloneOk) {
            m_radioProtected = result.information.GetLength() > kInfoFlagsAt &&
                               (*result.information.At(kInfoFlagsAt) & 0x08) != 0;
        }
    } else if (m_operation == cmcCloneMode::Read) {
        if (m_readHandler)
            m_readHandler(result);
        else
            result.status = kCloneIncomplete;
    }
    NotePasswordCause(result);
    m_passwordSentNow = false;
    if (!m_suppressNext && result.status != 0) {
        std::string text = CloneErrorText(result);
        if (m_box && !text.empty()) {
            std::string caption = m_tex ? m_tex->GetLine("GI_Sys_AppTitle", 0) : std::string();
            // A cancel is the user's own decision: a warning, not an error.
            const auto icon =
                result.status == kCloneCancelled ? cmcMessageBox::Icon::Warning : cmcMessageBox::Icon::Error;
            m_box->Show(text, caption, icon, cmcMessageBox::Buttons::Ok);
        }
    } else if (result.status != 0) {
        CloneErrorText(result.status); // the radio speed state follows the code even when silent
    }
    m_suppressNext = false;
    if (m_progress) {
        m_progress->SetMainWindowEnabled(true);
        if (m_progressShown && result.mode != cmcCloneMode::CommandList) {
            m_progress->UpdateProgress(m_drv->DataBytes(), m_totalBytes);
            m_progress->HideProgress();
            m_progressShown = false;
        }
    }
    int32_t status = result.status;
    if (m_done) {
        Done done = std::move(m_done);
        m_done = nullptr;
        done(result);
    }
    if (status != 0)
        m_adjust.adjustMode = 0;
}

std::string indCloneMan::CloneErrorText(int32_t code) {
    dst_CDrv_Result result;
    result.status = code;
    return CloneErrorText(result);
}

std::string indCloneMan::CloneErrorText(const dst_CDrv_Result& result) {
    const int32_t code = result.status;
    if (code == 0)
        return {};
    if (code != kCloneWriteResult && code != kCloneModel && code != 12 && code != 13 &&
        code != kCloneDataVersion && code != kCloneNewerData)
        m_radioSpeed = -1;
    if (!m_tex)
        return {};
    std::string text = CloneErrorText(result, m_comPort, *m_tex);
    std::string device = code == kClonePortOpen ? m_portMap.DevicePath(m_comPort) : std::string();
    if (!device.empty())
        text.insert(std::min(text.find('\n'), text.size()), " (" + device + ")");
    return text;
}

std::string indCloneMan::CloneErrorText(int32_t code, int32_t port, cmcGTex& tex) {
    dst_CDrv_Result result;
    result.status = code;
    return CloneErrorText(result, port, tex);
}

namespace {

// An overlay text that names more than the code does; empty when this overlay lacks it.
std::string Extra(cmcGTex& tex, const char* key, int line = -1) {
    if (!tex.HasKey(key)) {
        return {};
    }
    return line < 0 ? tex.GetJoinedText(key) : tex.GetLine(key, line);
}

// Why the port did not open, in words that say what to do.
std::string PortText(const dst_CDrv_Result& result, cmcGTex& tex) {
    switch (result.portFailure) {
    case cmcPortFailure::Permission:
        return Extra(tex, "GI_Mess_CloneErr_PortPermission");
    case cmcPortFailure::Missing:
        return Extra(tex, "GI_Mess_CloneErr_PortMissing");
    case cmcPortFailure::NotSerial:
        return Extra(tex, "GI_Mess_CloneErr_PortNotSerial");
    case cmcPortFailure::Busy: {
        if (result.portHolder.empty()) {
            return Extra(tex, "GI_Mess_CloneErr_PortBusy");
        }
        return cmcText::FillIn(Extra(tex, "GI_Mess_CloneErr_PortBusyBy"), {result.portHolder});
    }
    default:
        return {};
    }
}

// What a cancel leaves behind: nothing read; a radio untouched; a radio holding part of the data.
std::string CancelText(const dst_CDrv_Result& result, cmcGTex& tex) {
    if (result.mode != cmcCloneMode::Write) {
        return Extra(tex, "GI_Mess_CloneErr_Cancelled", 0);
    }
    return Extra(tex, "GI_Mess_CloneErr_Cancelled", result.dataSent ? 2 : 1);
}

} // namespace

std::string indCloneMan::CloneErrorText(const dst_CDrv_Result& result, int32_t port, cmcGTex& tex) {
    const int32_t code = result.status;
    if (code == 0)
        return {};
    std::vector<int> checks;
    switch (code) {
    case kCloneWriteResult:
        checks = {0, 2, 3};
        break;
    case kCloneModel:
    case 12:
        checks = {0, 1, 2, 3, 4, 5};
        break;
    case 13:
        checks = {6, 7};
        break;
    case kCloneDataVersion:
        checks = {0, 4, 5};
        break;
    case kCloneNewerData:
    case kCloneCancelled:
        break;
    default:
        checks = {0, 1, 2, 3};
        break;
    }
    // A cause the result names replaces the general checks; a half-written radio comes first, as
    // it is what the user has to put right whatever else went wrong.
    std::string cause;
    if (code == kCloneCancelled) {
        cause = CancelText(result, tex);
    } else if (code == kClonePortOpen) {
        cause = PortText(result, tex);
    } else if (result.passwordLikely) {
        cause = Extra(tex, "GI_Mess_CloneErr_Password");
    }
    if (!cause.empty()) {
        checks.clear();
    }
    const bool halfWritten = result.mode == cmcCloneMode::Write && result.dataSent && code != kCloneCancelled;
    std::string head = tex.GetLine("GI_Mess_CloneErr_Head", code);
    std::string text = code == kClonePortOpen ? FillPortNumber(head, port) : head;
    std::string halfText = halfWritten ? Extra(tex, "GI_Mess_CloneErr_HalfWritten") : std::string();
    for (const std::string* part : {&halfText, &cause}) {
        if (!part->empty()) {
            text += "\n\n" + *part;
        }
    }
    if (!checks.empty())
        text += "\n";
    for (int c : checks)
        text += "\n" + tex.GetLine("GI_Mess_CloneErr_Check", c);
    return text;
}

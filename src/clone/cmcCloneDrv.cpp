#include "clone/cmcCloneDrv.h"

#include "clone/cmcCloneFrame.h"
#include "core/cmcText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using namespace cmcCloneFrame;
using S = cmcCloneState;

bool IsDecimalPair(uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

} // namespace

cmcCloneDrv::cmcCloneDrv(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device)
    : m_loop(loop), m_comm(std::make_unique<cmcComm>(loop, std::move(device))),
      m_stepTask(cmcTask::Create(loop)), m_timeout(loop) {
    m_stepTask->Bind([this](cmcTask*) { StepTask(false); });
}

cmcCloneDrv::~cmcCloneDrv() {
    m_stepTask.reset();
    UnwatchPort();
    m_comm->Close();
}

void cmcCloneDrv::SetModelCodes(int32_t model, int32_t extra) {
    m_modelCode = model;
    m_extraCode = extra;
}

void cmcCloneDrv::SetPort(int32_t port, const std::string& settings) {
    m_port = port;
    m_settings = settings;
}

void cmcCloneDrv::SetDataPreamble(int32_t later, int32_t first) {
    m_dataPreamble = later;
    m_dataPreambleFirst = first;
}

void cmcCloneDrv::SetPauseWindow(int32_t period, int32_t phase) {
    if (period > 0)
        m_pausePeriod = period;
    if (phase > 0)
        m_pausePhase = phase;
}

void cmcCloneDrv::SetTimeout(int32_t ms) {
    if (ms > 0)
        m_timeoutDefault = ms;
}

void cmcCloneDrv::SetAckTimeout(int32_t ms) {
    if (ms > 0)
        m_timeoutAck = ms;
}

void cmcCloneDrv::SetResultTimeout(int32_t ms) {
    if (ms > 0)
        m_timeoutResult = ms;
}

bool cmcCloneDrv::Begin(cmcCloneMode mode, int32_t periodMs, Done done) {
    if (IsBusy())
        return false;
    m_done = std::move(done);
    m_mode = mode;
    m_result = std::make_unique<dst_CDrv_Result>();
    m_result->mode = mode;
    m_result->status = kClonePortOpen;
    m_result->modelCode = m_modelCode;
    m_result->extraCode = m_extraCode;
    m_result->image.SetSize(m_imageSize);
    m_wireBytes = 0;
    m_frames = 0;
    m_dataBytes = 0;
    m_firstDataFrame = true;
    m_frameOpen = false;
    m_cancelled = false;
    m_holding = false;
    m_reopen = {};
    m_state = S::Start;
    m_stepPeriod = periodMs;
    m_stepTask->SetInterval(periodMs);
    return true;
}

bool cmcCloneDrv::StartInfo(Done done) {
    return Begin(cmcCloneMode::Info, 10, std::move(done));
}

static std::vector<cmcRange> CopyRanges(const cmcRange* ranges) {
    std::vector<cmcRange> out;
    if (ranges) {
        for (const cmcRange* r = ranges; !r->IsEnd(); ++r)
            out.push_back(*r);
    }
    out.push_back(kRangeListEnd);
    return out;
}

bool cmcCloneDrv::StartRead(const cmcRange* ranges, Done done) {
    if (IsBusy())
        return false;
    m_ranges = ranges ? CopyRanges(ranges) : std::vector<cmcRange>();
    return Begin(cmcCloneMode::Read, 10, std::move(done));
}

bool cmcCloneDrv::StartWrite(const cmcEeprom& image, const cmcRange* ranges, Done done) {
    if (IsBusy())
        return false;
    m_ranges = CopyRanges(ranges);
    m_rangeIndex = 0;
    m_address = m_ranges[0].first;
    if (!Begin(cmcCloneMode::Write, 10, std::move(done)))
        return false;
    m_result->image.Assign(image);
    return true;
}

cmcCloneState cmcCloneDrv::NextModelState(cmcCloneState, bool&) {
    return S::Idle;
}

cmcCloneState cmcCloneDrv::FirstModelState(cmcCloneMode) {
    return S::SendInfoRequest;
}

void cmcCloneDrv::StepTask(bool arrival) {
    if (m_inStep)
        return; // a completion callback that runs a nested loop must not step the driver again
    if (m_holding) {
        // A hold ends on its own timer; an arrival meanwhile waits for it.
        const int32_t left = static_cast<int32_t>(m_holdUntil - m_loop.NowMs());
        if (left > 0) {
            if (!arrival)
                m_stepTask->SetInterval(left);
            return;
        }
        m_holding = false;
        m_stepTask->SetInterval(m_stepPeriod);
    }
    m_inStep = true;
    if (m_state != S::Idle) {
        // A state reached that has nothing to wait for (sending a request or the end frame, opening
        // the port, finishing with nothing queued) runs at once instead of on the next tick.
        cmcCloneState before;
        do {
            before = m_state;
            Step();
        } while (m_state != before && RunsAtOnce(m_state) && !m_cancelled && !m_comm->WriteFailed());
    }
    if (m_state != S::Idle && m_cancelled) {
        m_comm->Discard();
        Status() = kCloneCancelled;
        m_state = S::Complete;
    } else if (m_state != S::Idle && m_comm->WriteFailed()) {
        Status() = kCloneWriteFailed;
        m_state = S::Complete;
    }
    if (m_state == S::Complete) {
        m_inStep = false;
        Complete(); // may start the next operation; touches nothing afterwards
        return;
    }
    if (m_state == S::Idle)
        m_stepTask->SetInterval(-1);
    if (!arrival && !m_holding)
        UpdatePortWatch(); // after an arrival the watch comes back with the next tick
    m_inStep = false;
}

void cmcCloneDrv::Hold(uint32_t ms) {
    m_holding = true;
    m_holdUntil = m_loop.NowMs() + ms;
    UnwatchPort();
    m_stepTask->SetInterval(static_cast<int>(ms));
}

bool cmcCloneDrv::Cancel() {
    if (!IsBusy()) {
        return false;
    }
    if (m_inStep) {
        m_cancelled = true; // a step waiting in a nested loop ends it when it returns
        return true;
    }
    m_comm->Discard();
    Status() = kCloneCancelled;
    Complete();
    return true;
}

void cmcCloneDrv::PortOpenFailed() {
    Status() = kClonePortOpen;
    m_result->portFailure = m_comm->OpenFailure();
    m_result->portHolder = m_comm->OpenHolder();
}

bool cmcCloneDrv::RunsAtOnce(cmcCloneState state) {
    switch (state) {
    case S::CommandText:
    case S::OpenPort:
    case S::SendInfoRequest:
    case S::SendReadRequest:
    case S::SendWriteRequest:
    case S::SendEndFrame:
    case S::Finish:
        return true;
    default:
        return false;
    }
}

void cmcCloneDrv::PortReadable() {
    // One step per arrival; the watch comes back with the next timer step. So a port that stays
    // readable without giving bytes (a hang-up) costs at most one extra step per tick.
    UnwatchPort();
    if (m_state != S::Idle)
        StepTask(true);
}

void cmcCloneDrv::UpdatePortWatch() {
    // The states that wait for the radio: the information reply, the read's frames, the write's
    // acknowledge and pause answers, the write result, and the echo of sent bytes. The write's
    // pauses are where this matters: the line idles from the radio's 0xFB until the next frames.
    bool waiting = m_state == S::WaitInfoReply || m_state == S::ReceiveData || m_state == S::WaitWriteAck ||
                   m_state == S::WaitPauseAnswer || m_state == S::WaitWriteResult ||
                   (m_echoMode && m_echo.GetLength() > 0 && m_state != S::Idle && m_state != S::Finish);
    int fd = waiting ? m_comm->PollFd() : -1;
    if (fd == m_watchedFd)
        return;
    UnwatchPort();
    if (fd >= 0 && m_loop.WatchFd(fd, [this] { PortReadable(); }))
        m_watchedFd = fd;
}

void cmcCloneDrv::UnwatchPort() {
    if (m_watchedFd < 0)
        return;
    m_loop.UnwatchFd(m_watchedFd);
    m_watchedFd = -1;
}

void cmcCloneDrv::Complete() {
    UnwatchPort();
    m_comm->Close();
    m_state = S::Idle;
    m_holding = false;
    m_reopen = {};
    m_stepTask->SetInterval(-1);
    std::unique_ptr<dst_CDrv_Result> result = std::move(m_result);
    Done done = std::move(m_done);
    m_done = nullptr;
    m_receive.Clear();
    m_frame.Clear();
    m_echo.Clear();
    m_frameOpen = false;
    if (done)
        done(*result);
}

void cmcCloneDrv::Step() {
    cmcCloneState next = m_state; // every path below sets the next state
    bool progress = true;
    bool expired = m_timeout.Remaining() == 0;
    bool actionRuns = true;

    if (m_port != m_prevPort) {
        m_prevPort = m_port;
        m_echoMode = false;
    }

    if (m_echoMode && m_state != S::Finish && m_echo.GetLength() > 0) {
        ReadIntoReceive();
        progress = false;
        bool differs = false;
        while (m_receive.GetLength() > 0 && m_echo.GetLength() > 0) {
            if (*m_receive.Data() != *m_echo.Data()) {
                Status() = kCloneEcho;
                differs = true;
                break;
            }
            m_receive.Drop(1);
            m_echo.Drop(1);
            progress = true;
        }
        if (m_echo.GetLength() == 0)
            m_echo.Clear();
        bool wait = m_state == S::SendDataFrames ? m_echo.GetLength() > 128 : m_echo.GetLength() > 0;
        if (wait) {
            next = m_state; // a difference then ends the operation by time-out, with status 4
            actionRuns = false;
        } else if (differs) {
            next = S::Finish;
            actionRuns = false;
        }
    } else if (!m_echoMode) {
        m_echo.SetLength(0);
    }

    if (actionRuns)
        next = RunState(m_state, progress);

    if (next != m_state)
        progress = true;
    if (progress) {
        int32_t ms = m_timeoutDefault;
        if (next == S::CommandText && !m_commandText.empty())
            ms = m_timeoutText;
        else if (next == S::WaitInfoReply)
            ms = m_timeoutInfo;
        else if (next == S::WaitWriteAck)
            ms = m_timeoutAck;
        else if (next == S::WaitWriteResult)
            ms = m_timeoutResult;
        m_timeout.Start(static_cast<uint32_t>(ms));
    } else if (expired) {
        if (m_state == S::Finish) {
            next = S::Complete; // bytes that cannot leave do not hold the result back
        } else {
            // A format error seen while waiting (a model answer from another model) stays the cause.
            if (Status() != kCloneFormat)
                Status() = (m_echoMode && m_echo.GetLength() > 0) ? kCloneEcho : kCloneTimeout;
            next = S::Finish;
        }
        m_timeout.Start(static_cast<uint32_t>(m_timeoutDefault));
    }

    if (m_receive.GetLength() > 4096)
        m_receive.Compact();
    if (m_echo.GetLength() > 4096)
        m_echo.Compact();
    m_state = next;
}

cmcCloneState cmcCloneDrv::RunState(cmcCloneState state, bool& progress) {
    const uint8_t codes[4] = {uint8_t(m_modelCode >> 8), uint8_t(m_modelCode), uint8_t(m_extraCode >> 8),
                              uint8_t(m_extraCode)};
    switch (state) {
    case S::Idle:
        return S::Idle;
    case S::Start:
        return S::CommandText;
    case S::CommandText:
        if (!m_commandText.empty()) {
            switch (RunCommandPiece()) {
            case PieceOutcome::Failed:
                m_commandText.clear();
                PortOpenFailed();
                return S::Finish;
            case PieceOutcome::Held:
                return S::CommandText; // the hold bounds the wait: it counts as progress
            case PieceOutcome::Done:
                break;
            }
        }
        if (!m_commandText.empty())
            return S::CommandText;
        if (m_comm->PendingCount() > 0) {
            progress = false;
            return S::CommandText;
        }
        return S::OpenPort;
    case S::OpenPort: {
        // The command text's last bytes (the speed switch) must reach the radio before the line
        // changes, as before every reopen inside the command text.
        switch (Reopen(m_settings, m_echoTest)) {
        case PieceOutcome::Failed:
            PortOpenFailed();
            return S::Finish;
        case PieceOutcome::Held:
            return S::OpenPort;
        case PieceOutcome::Done:
            break;
        }
        switch (m_mode) {
        case cmcCloneMode::Info:
            return S::SendInfoRequest;
        case cmcCloneMode::Read:
            return S::SendReadRequest;
        case cmcCloneMode::Write:
            return S::SendWriteRequest;
        default:
            return FirstModelState(m_mode);
        }
    }
    case S::SendInfoRequest:
        SendCommandFrame(kInfoRequest, codes, 4, m_preamble);
        ClearFrame();
        return S::WaitInfoReply;
    case S::WaitInfoReply:
        return WaitInformation(progress);
    case S::SendReadRequest:
        SendCommandFrame(kReadRequest, codes, 4, m_preamble);
        ClearFrame();
        return S::ReceiveData;
    case S::ReceiveData:
        return Receive(progress);
    case S::SendWriteRequest:
        SendCommandFrame(kWriteRequest, codes, 4, m_preamble);
        ClearFrame();
        return m_waitAck ? S::WaitWriteAck : S::SendDataFrames;
    case S::WaitWriteAck:
    case S::WaitPauseAnswer: {
        cmcCloneState next = WaitContinue(progress);
        if (next == S::SendDataFrames) {
            // Keep the line busy: the frames after a pause leave in the step that saw 0xFB.
            bool more = true;
            return SendDataFrames(more);
        }
        return next;
    }
    case S::SendDataFrames:
        return SendDataFrames(progress);
    case S::SendEndFrame: {
        std::string payload = kSignature;
        if (m_countInEnd) {
            char count[3];
            std::snprintf(count, sizeof count, "%02X", m_frames & 0xFF);
            payload += count;
        }
        SendCommandFrame(kEndFrame, reinterpret_cast<const uint8_t*>(payload.data()),
                         static_cast<int32_t>(payload.size()), 0);
        ClearFrame();
        return S::WaitWriteResult;
    }
    case S::WaitWriteResult:
        return WaitWriteResult(progress);
    case S::Finish:
        if (m_comm->PendingCount() > 0) {
            progress = false;
            return S::Finish;
        }
        return S::Complete;
    case S::Complete:
        return S::Complete;
    default:
        return NextModelState(state, progress);
    }
}

cmcCloneDrv::PieceOutcome cmcCloneDrv::RunCommandPiece() {
    const std::string& text = m_commandText;
    if (text[0] == '(') {
        size_t close = text.find(')');
        std::string settings = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        PieceOutcome outcome = Reopen(settings, false);
        if (outcome != PieceOutcome::Held)
            m_commandText.erase(0, close == std::string::npos ? text.size() : close + 1);
        return outcome;
    }
    size_t open = text.find('(');
    std::string piece = text.substr(0, open);
    m_commandText.erase(0, open == std::string::npos ? text.size() : open);
    SendHexText(piece);
    return PieceOutcome::Done;
}

void cmcCloneDrv::SendHexText(const std::string& text) {
    std::vector<uint8_t> bytes = cmcText::HexToBytes(text);
    if (!bytes.empty())
        SendBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void cmcCloneDrv::SendBytes(const uint8_t* bytes, int32_t n) {
    if (n <= 0)
        return;
    m_comm->Send(bytes, n);
    if (m_echoMode)
        m_echo.AppendBytes(bytes, n);
    m_wireBytes += n;
}

void cmcCloneDrv::ReadAway() {
    uint8_t chunk[256];
    int32_t total = 0;
    while (total < 65535) {
        int32_t n = m_comm->Read(chunk, std::min<int32_t>(256, 65535 - total));
        if (n <= 0)
            break;
        total += n;
    }
    m_receive.SetLength(0);
}

cmcCloneDrv::PieceOutcome cmcCloneDrv::Reopen(const std::string& settings, bool echoTest) {
    using P = ReopenPhase;
    for (;;) {
        switch (m_reopen.phase) {
        case P::None:
            m_reopen = {};
            m_reopen.phase = P::Drain;
            m_reopen.drainStart = m_loop.NowMs();
            m_reopen.drainLimit = std::max(kSentBytesLimitMs, m_comm->LineBusyMs() + kSentBytesMarginMs);
            break;
        case P::Drain:
            if (uint32_t wait = SentBytesWait(); wait > 0) {
                Hold(wait);
                return PieceOutcome::Held;
            }
            m_comm->Close();
            if (!m_comm->Open(m_port, settings)) {
                m_reopen = {};
                return PieceOutcome::Failed;
            }
            m_reopen.phase = P::Settle;
            Hold(kSettleMs);
            return PieceOutcome::Held;
        case P::Settle:
            ReadAway();
            if (!echoTest) {
                m_reopen = {};
                return PieceOutcome::Done;
            }
            m_echoMode = false;
            m_reopen.phase = P::EchoQuiet;
            break;
        case P::EchoQuiet:
        case P::EchoListen:
        case P::EchoPause:
            if (EchoTestPhase()) {
                m_reopen = {};
                return PieceOutcome::Done;
            }
            if (m_holding)
                return PieceOutcome::Held;
            break;
        }
    }
}

uint32_t cmcCloneDrv::SentBytesWait() {
    // A reopen purges both queues and may change the speed, and a pseudo-terminal's far end takes
    // bytes at the speed of the moment it reads them: so the bytes already written must be on the
    // wire first. That is when the device's queue is empty and the line has had the time the bytes
    // need at its speed; then a short margin lets the far end take the last byte. A port without
    // written bytes has nothing to wait for, and a queue that does not drain holds the operation no
    // longer than a fixed wait would (or than the line needs for the bytes, when that is longer).
    if (!m_comm->IsOpen() || !m_comm->HasWritten())
        return 0;
    const uint32_t used = m_loop.NowMs() - m_reopen.drainStart;
    if (used >= m_reopen.drainLimit)
        return 0;
    if (m_comm->SendQueueLength() > 0)
        m_comm->PushQueued();
    uint32_t wait;
    if (m_comm->PendingCount() > 0)
        wait = std::max<uint32_t>(m_comm->LineBusyMs(), 1);
    else if (uint32_t busy = m_comm->LineBusyMs(); busy > 0)
        wait = busy;
    else if (uint32_t idle = m_comm->LineIdleMs(); idle < kSentBytesMarginMs)
        wait = kSentBytesMarginMs - idle;
    else
        return 0;
    return std::min(wait, m_reopen.drainLimit - used);
}

bool cmcCloneDrv::EchoTestPhase() {
    // Up to two probes of four preambles: all four back means the line echoes what is sent, none
    // back means it does not, and two partial answers mean something echoes.
    using P = ReopenPhase;
    uint8_t chunk[256];
    switch (m_reopen.phase) {
    case P::EchoQuiet:
        // Read away what arrives, for up to the window, until the line is quiet; then probe.
        if (m_reopen.echoWaited < kEchoWindowMs && m_comm->Read(chunk, sizeof chunk) > 0) {
            m_reopen.echoWaited += kEchoStepMs;
            Hold(kEchoStepMs);
            return false;
        }
        {
            const uint8_t probe[4] = {kPreamble, kPreamble, kPreamble, kPreamble};
            m_comm->Send(probe, 4);
            m_wireBytes += 4;
        }
        m_reopen.echoBack = 0;
        m_reopen.echoWaited = 0;
        m_reopen.phase = P::EchoListen;
        return false;
    case P::EchoListen: {
        int32_t n;
        while ((n = m_comm->Read(chunk, sizeof chunk)) > 0) {
            for (int32_t i = 0; i < n; ++i)
                if (chunk[i] == kPreamble)
                    ++m_reopen.echoBack;
        }
        if (m_reopen.echoBack >= 4) {
            m_echoMode = true;
            return true;
        }
        if (m_reopen.echoWaited < kEchoWindowMs) {
            m_reopen.echoWaited += kEchoStepMs;
            Hold(kEchoStepMs);
            return false;
        }
        if (m_reopen.echoBack == 0)
            return true;
        if (m_reopen.echoAttempt > 0) {
            m_echoMode = true; // two partial answers: something echoes
            return true;
        }
        // The port has just been opened and read away after its settle time, so the first probe
        // needed no quiet time of its own; a second one lets the first one's answers die away.
        m_reopen.echoAttempt = 1;
        m_reopen.phase = P::EchoPause;
        Hold(kEchoPauseMs);
        return false;
    }
    case P::EchoPause:
        m_reopen.echoWaited = 0;
        m_reopen.phase = P::EchoQuiet;
        return false;
    default:
        return true;
    }
}

void cmcCloneDrv::SendCommandFrame(uint8_t command, const uint8_t* payload, int32_t n, int32_t preamble) {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(preamble, 0)), kPreamble);
    bytes.insert(bytes.end(), {kPreamble, kPreamble, kRadio, kComputer, command});
    bytes.insert(bytes.end(), payload, payload + n);
    bytes.push_back(kEnd);
    SendBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void cmcCloneDrv::ReadIntoReceive() {
    uint8_t chunk[256];
    int32_t n = m_comm->Read(chunk, sizeof chunk);
    if (n > 0)
        m_receive.AppendBytes(chunk, n);
}

void cmcCloneDrv::ClearFrame() {
    m_frame.SetLength(0);
    m_frameOpen = false;
}

int32_t cmcCloneDrv::NextFrame() {
    const int32_t maxLength = m_wide ? 526 : 522;
    int32_t used = 0;
    int32_t result = 0;
    const uint8_t* bytes = m_receive.Data();
    int32_t length = m_receive.GetLength();
    while (used < length && result == 0) {
        uint8_t b = bytes[used++];
        if (b == kPreamble) {
            m_frame.SetLength(0);
            m_frame.AppendByte(b);
            m_frameOpen = true;
        } else if (!m_frameOpen) {
            continue;
        } else if (b == kEnd) {
            m_frameBytes.assign(m_frame.Data(), m_frame.Data() + m_frame.GetLength());
            m_frame.SetLength(0);
            m_frameOpen = false;
            result = 1;
        } else {
            m_frame.AppendByte(b);
            if (m_frame.GetLength() > maxLength) {
                m_frame.SetLength(0);
                m_frameOpen = false;
                result = -1;
            }
        }
    }
    m_receive.Drop(used);
    return result;
}

cmcCloneState cmcCloneDrv::WaitInformation(bool& progress) {
    ReadIntoReceive();
    bool got = false;
    std::vector<uint8_t> last;
    int32_t r;
    while ((r = NextFrame()) != 0) {
        got = true;
        if (r > 0)
            last = m_frameBytes;
        else
            last.clear(); // too long: counts as a malformed frame
    }
    if (!got) {
        progress = false;
        return S::WaitInfoReply;
    }
    if (last.size() >= 8 && last[0] == kPreamble && last[1] == kComputer && last[2] == kRadio &&
        last[3] == kInfoReply) {
        bool decimal = IsDecimalPair(last[4]) && IsDecimalPair(last[5]) && IsDecimalPair(last[6]) &&
                       IsDecimalPair(last[7]);
        if (!decimal) {
            Status() = kCloneFormat;
            return S::Finish;
        }
        m_result->modelCode = last[4] << 8 | last[5];
        m_result->extraCode = last[6] << 8 | last[7];
        m_result->information.SetBytes(last.data() + 8, static_cast<int32_t>(last.size() - 8));
        if (m_modelCode == 0)
            m_modelCode = m_result->modelCode;
        Status() = kCloneOk;
        return S::Finish;
    }
    Status() = kCloneFormat;
    return S::Finish;
}

cmcCloneState cmcCloneDrv::Receive(bool& progress) {
    ReadIntoReceive();
    progress = false;
    int32_t r;
    while ((r = NextFrame()) != 0) {
        int32_t status = r < 0 ? kCloneFormat : -1;
        if (r > 0) {
            const std::vector<uint8_t>& f = m_frameBytes;
            const size_t minLength = m_wide ? 14 : 12;
            if (f.size() < minLength || f[0] != kPreamble || f[1] != kComputer || f[2] != kRadio)
                status = kCloneFormat;
            else if (f[3] == kData)
                status = CheckDataFrame();
            else if (f[3] == kEndFrame)
                status = CheckEndFrame();
            else
                status = kCloneFormat;
        }
        if (status == -1) {
            ++m_frames;
            progress = true;
            continue;
        }
        if (status == kCloneOk)
            status = CheckCoverage();
        Status() = status;
        return S::Finish;
    }
    return S::ReceiveData;
}

// Returns -1 for a good data frame, otherwise the error status.
int32_t cmcCloneDrv::CheckDataFrame() {
    const std::vector<uint8_t>& f = m_frameBytes;
    size_t chars = f.size() - 4;
    if (chars % 2 != 0)
        return kCloneFormat;
    std::vector<uint8_t> decoded(chars / 2);
    for (size_t i = 0; i < decoded.size(); ++i) {
        std::optional<uint8_t> byte = cmcText::HexByte(
            static_cast<char>(f[4 + 2 * i]), static_cast<char>(f[5 + 2 * i]), cmcText::HexLetters::UpperCase);
        if (!byte)
            return kCloneFormat;
        decoded[i] = *byte;
    }
    const size_t addrBytes = m_wide ? 4 : 2;
    if (decoded.size() < addrBytes + 2)
        return kCloneFormat;
    int32_t n = decoded[addrBytes];
    if (decoded.size() != static_cast<size_t>(n) + addrBytes + 2)
        return kCloneFormat;
    unsigned sum = 0;
    for (uint8_t b : decoded)
        sum += b;
    if (sum % 256 != 0)
        return kCloneFormat;
    int64_t address = 0;
    for (size_t i = 0; i < addrBytes; ++i)
        address = address << 8 | decoded[i];
    const cmcEeprom& image = m_result->image;
    if (address < 0 || address + n > image.GetSize() || address + n > m_imageSize)
        return kCloneOutside;
    auto a = static_cast<int32_t>(address);
    if (n > 0 && !m_result->image.WriteBlock(a, decoded.data() + addrBytes + 1, n))
        return kCloneOutside;
    cmcBuff& map = m_result->receivedMap;
    for (int32_t i = 0; i < n; ++i) {
        int32_t bit = a + i;
        if (map.GetLength() <= bit / 8)
            map.SetLength(bit / 8 + 1);
        map.Data()[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    m_dataBytes += n;
    return -1;
}

int32_t cmcCloneDrv::CheckEndFrame() {
    const std::vector<uint8_t>& f = m_frameBytes;
    size_t chars = f.size() - 4;
    size_t expected = kSignatureLen + (m_countInEnd ? 2 : 0);
    if (chars != expected || std::memcmp(f.data() + 4, kSignature, kSignatureLen) != 0)
        return kCloneFormat;
    if (m_countInEnd) {
        char count[3];
        std::snprintf(count, sizeof count, "%02X", m_frames & 0xFF);
        if (f[13] != static_cast<uint8_t>(count[0]) || f[14] != static_cast<uint8_t>(count[1]))
            return kCloneEndCount;
    }
    return kCloneOk;
}

int32_t cmcCloneDrv::CheckCoverage() const {
    if (m_ranges.empty())
        return kCloneOk;
    std::vector<uint8_t> want;
    for (const cmcRange& r : m_ranges) {
        if (r.IsEnd())
            break;
        for (int32_t a = std::max(r.first, 0); a <= r.last; ++a) {
            if (want.size() <= static_cast<size_t>(a / 8))
                want.resize(static_cast<size_t>(a / 8) + 1, 0);
            want[static_cast<size_t>(a / 8)] |= static_cast<uint8_t>(1u << (a % 8));
        }
    }
    const cmcBuff& got = m_result->receivedMap;
    if (static_cast<size_t>(got.GetLength()) > want.size())
        return kCloneOutside;
    bool missing = false;
    for (size_t i = 0; i < want.size(); ++i) {
        uint8_t g = i < static_cast<size_t>(got.GetLength()) ? got.Data()[i] : 0;
        if (g & ~want[i])
            return kCloneOutside;
        if (g != want[i])
            missing = true;
    }
    return missing ? kCloneIncomplete : kCloneOk;
}

std::string cmcCloneDrv::DataFramePayload(int32_t address, const uint8_t* data, int32_t n, bool wide) {
    char head[16];
    if (wide)
        std::snprintf(head, sizeof head, "%08X%02X", static_cast<uint32_t>(address), n & 0xFF);
    else
        std::snprintf(head, sizeof head, "%04X%02X", static_cast<uint32_t>(address) & 0xFFFF, n & 0xFF);
    std::string out = head;
    auto u = static_cast<uint32_t>(address);
    unsigned sum = (u >> 24) + ((u >> 16) & 0xFF) + ((u >> 8) & 0xFF) + (u & 0xFF) + static_cast<unsigned>(n);
    for (int32_t i = 0; i < n; ++i) {
        cmcText::AppendHexByte(out, data[i]);
        sum += data[i];
    }
    cmcText::AppendHexByte(out, static_cast<uint8_t>((256 - sum % 256) % 256));
    return out;
}

void cmcCloneDrv::BuildDataFrame() {
    const cmcRange& r = m_ranges[m_rangeIndex];
    int32_t a = m_address;
    int32_t n = m_bytesPerFrame - a % m_bytesPerFrame;
    n = std::min(n, r.last - a + 1);
    uint8_t data[16] = {};
    const cmcEeprom& image = m_result->image;
    for (int32_t i = 0; i < n; ++i)
        data[i] = image.IsValidAddress(a + i) ? image.GetByte(a + i) : 0;
    int32_t pre = m_firstDataFrame ? m_dataPreambleFirst : m_dataPreamble;
    m_firstDataFrame = false;
    m_frame.AppendFill(kPreamble, std::max(pre, 0));
    const uint8_t head[5] = {kPreamble, kPreamble, kRadio, kComputer, kData};
    m_frame.AppendBytes(head, 5);
    std::string payload = DataFramePayload(a, data, n, m_wide);
    m_frame.AppendBytes(reinterpret_cast<const uint8_t*>(payload.data()),
                        static_cast<int32_t>(payload.size()));
    m_frame.AppendByte(kEnd);
    ++m_frames;
    m_address += n;
    m_dataBytes += n;
}

void cmcCloneDrv::SendHeldFrames() {
    if (m_frame.GetLength() == 0)
        return;
    SendBytes(m_frame.Data(), m_frame.GetLength());
    m_frame.SetLength(0);
    m_result->dataSent = true;
}

cmcCloneState cmcCloneDrv::SendDataFrames(bool& progress) {
    progress = false;
    if (m_ranges.empty())
        m_ranges.push_back(kRangeListEnd);
    for (int i = 0; i < 8; ++i) {
        if (m_ranges[m_rangeIndex].IsEnd()) {
            // Frames held back at the end of the list still have to leave.
            if (m_frame.GetLength() > 0 && m_comm->PendingCount() <= 4 * m_frame.GetLength()) {
                SendHeldFrames();
                progress = true;
            }
            if (m_comm->PendingCount() == 0 && m_frame.GetLength() == 0)
                return S::SendEndFrame;
            return S::SendDataFrames;
        }
        if (m_address > m_ranges[m_rangeIndex].last) {
            // The next range (or the end of the list) is taken up in this step, not the next.
            ++m_rangeIndex;
            m_address = m_ranges[m_rangeIndex].first;
            continue;
        }
        BuildDataFrame();
        bool hold = m_frame.GetLength() == 0 || m_comm->PendingCount() > 4 * m_frame.GetLength();
        if (!hold) {
            SendHeldFrames();
            progress = true;
        }
        const cmcRange& r = m_ranges[m_rangeIndex];
        if (m_pausePeriod > 0 && !r.IsEnd() && m_address != r.first &&
            m_address % m_pausePeriod == m_pausePhase) {
            // The radio answers a pause only after it has every byte up to it: nothing stays held.
            if (m_frame.GetLength() > 0) {
                SendHeldFrames();
                progress = true;
            }
            return S::WaitPauseAnswer;
        }
        if (hold)
            return S::SendDataFrames;
    }
    return S::SendDataFrames;
}

cmcCloneState cmcCloneDrv::WaitContinue(bool& progress) {
    ReadIntoReceive();
    while (m_receive.GetLength() > 0) {
        int32_t b = m_receive.PopFront();
        if (b == kContinue)
            return S::SendDataFrames;
        if (b == kRefuse) {
            Status() = kCloneFormat;
            return S::Finish;
        }
    }
    progress = false;
    return m_state;
}

cmcCloneState cmcCloneDrv::WaitWriteResult(bool& progress) {
    ReadIntoReceive();
    bool got = false;
    bool ok = false;
    int32_t r;
    while ((r = NextFrame()) != 0) {
        got = true;
        const std::vector<uint8_t>& f = m_frameBytes;
        ok = r > 0 && f.size() == 5 && f[0] == kPreamble && f[1] == kComputer && f[2] == kRadio &&
             f[3] == kWriteResult && f[4] == kWriteResultOk;
    }
    if (!got) {
        progress = false;
        return S::WaitWriteResult;
    }
    Status() = ok ? kCloneOk : kCloneWriteResult;
    return S::Finish;
}

#pragma once
// The clone command driver: runs one clone operation (information, read or write) with the radio over
// a serial port as a state machine stepped by a timer task (and at once when the radio's answer
// arrives, where the loop can watch the port), and reports the outcome once.
#include "clone/cmcCloneState.h"
#include "clone/cmcComm.h"
#include "clone/dst_CDrv_Result.h"
#include "core/cmcRange.h"
#include "core/cmcTick.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class cmcCloneDrv {
public:
    // Receives the result record; the record is destroyed when the callback returns.
    using Done = std::function<void(dst_CDrv_Result& result)>;

    cmcCloneDrv(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device);
    virtual ~cmcCloneDrv();
    cmcCloneDrv(const cmcCloneDrv&) = delete;
    cmcCloneDrv& operator=(const cmcCloneDrv&) = delete;

    void SetModelCodes(int32_t model, int32_t extra);
    void SetPort(int32_t port, const std::string& settings);
    void SetPortMap(const cmcPortMap& map) { m_comm->SetPortMap(map); }
    void SetImageSize(int32_t size) { m_imageSize = size; }
    void SetPreamble(int32_t n) { m_preamble = n; }
    void SetDataPreamble(int32_t later, int32_t first);
    void SetDataPreamble(int32_t n) { SetDataPreamble(n, n); }
    void SetCommandText(const std::string& text) { m_commandText = text; }
    void SetCountInEndFrame(bool on) { m_countInEnd = on; }
    void SetEchoMode(bool on) { m_echoMode = on; }
    void SetEchoTest(bool on) { m_echoTest = on; }
    void SetWideAddress(bool on) { m_wide = on; }
    void SetWaitWriteAck(bool on) { m_waitAck = on; }
    void SetPauseWindow(int32_t period, int32_t phase);
    void SetTimeout(int32_t ms);
    void SetAckTimeout(int32_t ms);
    void SetResultTimeout(int32_t ms);
    void SetRtsControl(int32_t mode) { m_comm->SetRtsControl(mode); }

    bool IsBusy() const { return m_state != cmcCloneState::Idle; }
    bool StartInfo(Done done);
    bool StartRead(const cmcRange* ranges, Done done);
    bool StartWrite(const cmcEeprom& image, const cmcRange* ranges, Done done);
    // Stops the running operation: what is still queued for the radio is dropped, the port is closed
    // and the operation completes with kCloneCancelled. False when nothing runs.
    bool Cancel();

    int32_t ModelCode() const { return m_modelCode; }
    int32_t ExtraCode() const { return m_extraCode; }
    bool EchoMode() const { return m_echoMode; }
    cmcCloneState State() const { return m_state; }
    cmcCloneMode Mode() const { return m_mode; }
    const std::string& PortSettings() const { return m_settings; }
    const std::string& CommandText() const { return m_commandText; }
    int32_t Preamble() const { return m_preamble; }
    int32_t WireBytes() const { return m_wireBytes; }
    int32_t DataFrames() const { return m_frames; }
    int32_t DataBytes() const { return m_dataBytes; }
    int32_t DefaultTimeout() const { return m_timeoutDefault; }
    int32_t AckTimeout() const { return m_timeoutAck; }
    bool WaitWriteAck() const { return m_waitAck; }
    bool CountInEndFrame() const { return m_countInEnd; }
    int32_t PausePeriod() const { return m_pausePeriod; }

    // The address and count fields of a data frame, its data and its checksum, as characters
    // ("%04X%02X...").
    static std::string DataFramePayload(int32_t address, const uint8_t* data, int32_t n, bool wide);

protected:
    // States this class does not know; returns the next state (Idle ends without a callback).
    virtual cmcCloneState NextModelState(cmcCloneState state, bool& progress);
    // First exchange state of a model mode.
    virtual cmcCloneState FirstModelState(cmcCloneMode mode);

    // Starts an operation of the given mode with the given step period.
    bool Begin(cmcCloneMode mode, int32_t periodMs, Done done);
    // Sends bytes, recording them for the echo check.
    void SendBytes(const uint8_t* bytes, int32_t n);
    // Sends bytes given as hexadecimal digits (other characters ignored).
    void SendHexText(const std::string& text);
    // Reads what has arrived (up to 256 bytes) onto the receive buffer.
    void ReadIntoReceive();
    // Assembles frames from the receive buffer. Returns 1 with a complete frame in m_frame, -1 for a
    // frame that grew too long (discarded), 0 when the received bytes are used up.
    int32_t NextFrame();
    void ClearFrame();
    int32_t& Status() { return m_result->status; }
    // Status 2 with the reason the port gave.
    void PortOpenFailed();

    cmcLoop& m_loop;
    std::unique_ptr<cmcComm> m_comm;
    int32_t m_modelCode = 0;
    int32_t m_extraCode = 0;
    int32_t m_preamble = 0;
    cmcCloneMode m_mode = cmcCloneMode::None;
    bool m_echoMode = false;
    cmcBuff m_receive;
    cmcBuff m_frame;
    cmcBuff m_echo;
    std::vector<uint8_t> m_frameBytes; // the last complete frame, from its 0xFE to before 0xFD
    std::string m_commandText;
    cmcCloneState m_state = cmcCloneState::Idle;
    cmcTask::Ptr m_stepTask;

private:
    // One step of the operation; arrival tells a step run for arrived bytes from a timer step.
    void StepTask(bool arrival);
    // States whose action needs no wait: they follow the step that reached them at once.
    static bool RunsAtOnce(cmcCloneState state);
    // Runs a step for bytes that just arrived, instead of waiting for the next tick.
    void PortReadable();
    // Watches the port while the state waits for the radio; otherwise stops watching.
    void UpdatePortWatch();
    void UnwatchPort();
    void Step();
    void Complete();
    cmcCloneState RunState(cmcCloneState state, bool& progress);
    // Runs the command text's next piece: bytes to send, or a reopen with other settings.
    // Held while a reopen waits; Failed when the port does not open again.
    enum class PieceOutcome : uint8_t { Done, Held, Failed };
    PieceOutcome RunCommandPiece();
    // Reopens the port with the given settings, in phases: the bytes written so far leave, the port
    // closes and opens, the line settles, and (when asked) the echo test runs. Every wait holds the
    // step on a timer instead of sleeping, so the loop serves other ports' operations and the window
    // meanwhile. Called again after each hold until it is Done (or Failed: the port did not open).
    PieceOutcome Reopen(const std::string& settings, bool echoTest);
    // Milliseconds the bytes written so far still need before the line may change; 0 when they
    // have reached the far end or the wait has used up its limit.
    uint32_t SentBytesWait();
    // One phase of the echo test; true when the test has its answer.
    bool EchoTestPhase();
    // Steps again in ms milliseconds, with the state unchanged, instead of on the next tick.
    void Hold(uint32_t ms);
    void ReadAway();
    void SendCommandFrame(uint8_t command, const uint8_t* payload, int32_t n, int32_t preamble);
    cmcCloneState WaitInformation(bool& progress);
    cmcCloneState Receive(bool& progress);
    int32_t CheckDataFrame();
    int32_t CheckEndFrame();
    int32_t CheckCoverage() const;
    cmcCloneState SendDataFrames(bool& progress);
    void BuildDataFrame();
    void SendHeldFrames();
    cmcCloneState WaitContinue(bool& progress);
    cmcCloneState WaitWriteResult(bool& progress);

    int32_t m_imageSize = 0;
    int32_t m_port = 1;
    int32_t m_prevPort = 1;
    std::string m_settings = "9600,n,8,1";
    int32_t m_dataPreamble = 0;
    int32_t m_dataPreambleFirst = 0;
    bool m_countInEnd = true;
    bool m_echoTest = true;
    bool m_wide = false;
    bool m_waitAck = false;
    int32_t m_pausePeriod = 0;
    int32_t m_pausePhase = 0;
    bool m_frameOpen = false;
    int32_t m_wireBytes = 0;
    int32_t m_frames = 0;
    int32_t m_dataBytes = 0;
    int32_t m_bytesPerFrame = 16;
    bool m_firstDataFrame = true;
    std::vector<cmcRange> m_ranges; // copied, with its end pair
    size_t m_rangeIndex = 0;
    int32_t m_address = 0;
    int m_watchedFd = -1;
    int32_t m_stepPeriod = 10;
    bool m_holding = false;
    uint32_t m_holdUntil = 0;

    enum class ReopenPhase : uint8_t { None, Drain, Settle, EchoQuiet, EchoListen, EchoPause };
    struct ReopenProgress {
        ReopenPhase phase = ReopenPhase::None;
        uint32_t drainStart = 0;
        uint32_t drainLimit = 0;
        int32_t echoAttempt = 0; // 0 for the first probe, 1 for the second
        int32_t echoWaited = 0;  // ms of the current read-away or listen
        int32_t echoBack = 0;    // probe bytes that came back
    };
    ReopenProgress m_reopen;

    bool m_inStep = false;
    bool m_cancelled = false; // Cancel arrived while a step ran: the step completes the operation
    std::unique_ptr<dst_CDrv_Result> m_result;
    Done m_done;
    cmcTick m_timeout;
    int32_t m_timeoutDefault = 1000;
    int32_t m_timeoutText = 1000;
    int32_t m_timeoutResult = 2000;
    int32_t m_timeoutInfo = 1000;
    int32_t m_timeoutAck = 1000;

    // The margin after the last written byte has left before the line may change, and the longest
    // that wait may take when the device's queue does not drain (unless the bytes need longer).
    static constexpr uint32_t kSentBytesMarginMs = 50;
    static constexpr uint32_t kSentBytesLimitMs = 300;
    // How long a reopened line settles before what arrived is read away; the echo test's step,
    // its longest read-away and listen, and its pause before a second probe.
    static constexpr uint32_t kSettleMs = 100;
    static constexpr int32_t kEchoStepMs = 10;
    static constexpr int32_t kEchoWindowMs = 100;
    static constexpr uint32_t kEchoPauseMs = 100;
};

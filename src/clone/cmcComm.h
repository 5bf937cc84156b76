#pragma once
// One serial port: opened by port number with a settings text such as "9600,N,8,1", raw binary
// transfer, writes through a send queue that a timer task drains in chunks, reads that never wait.
#include "clone/cmcBuff.h"
#include "clone/cmcPortMap.h"
#include "clone/cmcSerialDevice.h"
#include "core/cmcTask.h"

#include <memory>
#include <string>

class cmcComm {
public:
    cmcComm(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device);
    ~cmcComm();
    cmcComm(const cmcComm&) = delete;
    cmcComm& operator=(const cmcComm&) = delete;

    // Where port numbers lead (copied).
    void SetPortMap(const cmcPortMap& map) { m_portMap = map; }

    bool Open(int32_t port, const std::string& settings);
    // Why the last Open failed (None after a good one), and who holds a busy device when known.
    cmcPortFailure OpenFailure() const { return m_openFailure; }
    const std::string& OpenHolder() const { return m_openHolder; }
    void Close();
    // Drops every byte not yet on the wire, ours and the device's, so nothing more reaches the radio.
    void Discard();
    bool IsOpen() const { return m_device->IsOpen(); }
    bool Configure();
    // Queues the bytes and sends at once what the line takes; the rest leaves on the pump's ticks.
    void Send(const uint8_t* bytes, int32_t count);
    // Reads at most max bytes that have already arrived; 0 when none, on failure or when closed.
    int32_t Read(uint8_t* destination, int32_t max);
    int32_t InputCount();
    int32_t OutputCount();
    // Bytes not yet on the wire: the device's send queue plus ours.
    int32_t PendingCount();
    // Hands the device what its send queue takes now, as the pump's next tick would.
    void PushQueued() { Pump(); }
    // Whether any byte was written to the device since it was opened.
    bool HasWritten() const { return m_wroteSinceOpen; }
    // Milliseconds until the bytes written so far can have left at the line speed (0 when they
    // have), and milliseconds since they left (0 while they are still leaving). The device may send
    // no faster than the line, so these bound what its own queue counts do not show (a hardware FIFO,
    // an adapter's buffer).
    uint32_t LineBusyMs() const;
    uint32_t LineIdleMs() const;
    // Bits one byte takes on the line: start bit, data bits, stop bits.
    int32_t BitsPerByte() const { return 1 + m_byteSize + (m_stopBits == 0 ? 1 : 2); }
    // The open device's descriptor for watching arrivals; -1 when closed or when it has none.
    int PollFd() const { return IsOpen() ? m_device->PollFd() : -1; }
    bool SetRtsControl(int32_t mode);
    int32_t WriteFailed() const { return m_writeFailed; }

    int32_t Port() const { return m_port; }
    int32_t Baud() const { return m_baud; }
    int32_t ByteSize() const { return m_byteSize; }
    bool ParityCheck() const { return m_parityCheck; }
    int32_t StopBits() const { return m_stopBits; }
    int32_t SendQueueLength() const { return m_sendQueue.GetLength(); }

    // Parses a settings text into the line members (baud, parity check, data bits, stop bits).
    void ApplySettingsText(const std::string& settings);

private:
    void Pump();
    // Counts bytes the device accepted against the time the line needs for them.
    void NoteWritten(int32_t n);
    // Microseconds the written bytes still need on the line (negative: how long the line is idle).
    int64_t LineLeftUs() const;

    cmcLoop& m_loop;
    std::unique_ptr<cmcSerialDevice> m_device;
    cmcPortMap m_portMap;
    int32_t m_port = 0;
    int32_t m_writeFailed = 0;
    cmcPortFailure m_openFailure = cmcPortFailure::None;
    std::string m_openHolder;
    int32_t m_inQueueSize = 32000;
    int32_t m_outQueueSize = 1024;
    cmcBuff m_sendQueue;
    int32_t m_baud = 9600;
    bool m_parityCheck = false;
    int32_t m_rtsControl = 1;
    int32_t m_byteSize = 8;
    int32_t m_stopBits = 0;
    cmcTask::Ptr m_pump;
    bool m_wroteSinceOpen = false;
    uint32_t m_lineMarkMs = 0; // when m_lineLeftUs was measured
    int64_t m_lineLeftUs = 0;  // line time the written bytes still needed at m_lineMarkMs
};

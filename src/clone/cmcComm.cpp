#include "clone/cmcComm.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

cmcComm::cmcComm(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device)
    : m_loop(loop), m_device(std::move(device)), m_pump(cmcTask::Create(loop)) {
    m_pump->Bind([this](cmcTask*) { Pump(); });
}

cmcComm::~cmcComm() {
    Close();
}

void cmcComm::ApplySettingsText(const std::string& settings) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = settings.find(',', start);
        fields.push_back(
            settings.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    // Missing fields keep their current values.
    if (fields.size() > 0)
        m_baud = static_cast<int32_t>(std::strtol(fields[0].c_str(), nullptr, 10));
    if (fields.size() > 1) {
        char p = fields[1].empty() ? 'N' : fields[1][0];
        m_parityCheck = p == 'M' || p == 'm' || p == 'O' || p == 'o';
    }
    if (fields.size() > 2)
        m_byteSize = std::clamp(static_cast<int32_t>(std::strtol(fields[2].c_str(), nullptr, 10)), 4, 8);
    if (fields.size() > 3)
        m_stopBits = fields[3] == "1.5" ? 1 : fields[3] == "2" ? 2 : 0;
}

bool cmcComm::Open(int32_t port, const std::string& settings) {
    m_openFailure = cmcPortFailure::None;
    m_openHolder.clear();
    if (IsOpen()) {
        return false;
    }
    m_port = port;
    m_writeFailed = 0;
    m_wroteSinceOpen = false;
    m_lineLeftUs = 0;
    ApplySettingsText(settings);
    const std::string path = m_portMap.DevicePath(port);
    if (path.empty()) {
        m_openFailure = cmcPortFailure::Missing; // the number leads to no device
        return false;
    }
    if (!m_device->Open(path)) {
        m_openFailure = m_device->OpenFailure();
        m_openHolder = m_device->OpenHolder();
        return false;
    }
    if (!m_device->Purge()) {
        m_openFailure = cmcPortFailure::Other;
        return false; // the device stays open until Close
    }
    if (!Configure()) {
        m_openFailure = cmcPortFailure::Other;
        Close();
        return false;
    }
    return true;
}

void cmcComm::Discard() {
    m_pump->SetInterval(-1);
    m_sendQueue.SetLength(0);
    if (m_device->IsOpen()) {
        m_device->Purge();
    }
}

void cmcComm::Close() {
    m_pump->SetInterval(-1);
    if (m_device->IsOpen())
        m_device->Close();
    m_sendQueue.SetLength(0);
    m_writeFailed = 0;
    m_wroteSinceOpen = false;
    m_lineLeftUs = 0;
}

bool cmcComm::Configure() {
    if (!IsOpen())
        return false;
    cmcLineSettings s;
    s.baud = m_baud;
    s.byteSize = m_byteSize;
    s.parityCheck = m_parityCheck;
    s.stopBits = m_stopBits;
    s.rtsControl = m_rtsControl;
    s.xonLimit = m_inQueueSize / 2;
    s.xoffLimit = m_inQueueSize * 3 / 4;
    s.writeMsPerByte = m_baud > 0 ? 100000 / m_baud : 0;
    s.writeConstantMs = 3000;
    return m_device->Configure(s);
}

void cmcComm::Send(const uint8_t* bytes, int32_t count) {
    if (!IsOpen())
        return;
    m_pump->SetInterval(-1);
    m_sendQueue.AppendBytes(bytes, count);
    m_pump->SetInterval(1);
    Pump();
}

void cmcComm::Pump() {
    if (!IsOpen()) {
        m_pump->SetInterval(-1);
        return;
    }
    int32_t n = std::min(m_sendQueue.GetLength(), m_outQueueSize);
    if (OutputCount() > 0) {
        m_pump->SetInterval(10);
        return;
    }
    int32_t accepted = n > 0 ? m_device->Write(m_sendQueue.Data(), n) : 0;
    if (accepted > 0)
        NoteWritten(accepted);
    if (accepted < n) {
        m_writeFailed = 1;
        m_pump->SetInterval(-1);
        return;
    }
    if (m_sendQueue.GetLength() > n) {
        m_sendQueue.Drop(n);
        if (m_sendQueue.GetCapacity() > 4 * m_outQueueSize && m_sendQueue.GetLength() < m_outQueueSize)
            m_sendQueue.Compact();
        m_pump->SetInterval(10);
    } else {
        m_sendQueue.SetLength(0);
        m_pump->SetInterval(-1);
    }
}

int32_t cmcComm::Read(uint8_t* destination, int32_t max) {
    if (!IsOpen() || max <= 0)
        return 0;
    int32_t waiting = m_device->InputCount();
    if (waiting <= 0)
        return 0;
    int32_t n = m_device->Read(destination, std::min(waiting, max));
    return n > 0 ? n : 0;
}

int32_t cmcComm::InputCount() {
    if (!IsOpen())
        return 0;
    int32_t n = m_device->InputCount();
    return n > 0 ? n : 0;
}

int32_t cmcComm::OutputCount() {
    if (!IsOpen())
        return 0;
    int32_t n = m_device->OutputCount();
    return n > 0 ? n : 0;
}

int32_t cmcComm::PendingCount() {
    return OutputCount() + m_sendQueue.GetLength();
}

int64_t cmcComm::LineLeftUs() const {
    uint32_t since = m_loop.NowMs() - m_lineMarkMs; // modulo 2^32
    return m_lineLeftUs - static_cast<int64_t>(since) * 1000;
}

void cmcComm::NoteWritten(int32_t n) {
    // The new bytes follow those still on their way; an idle line starts them now.
    int64_t left = m_wroteSinceOpen ? std::max<int64_t>(LineLeftUs(), 0) : 0;
    int64_t needUs = m_baud > 0 ? int64_t{1000000} * BitsPerByte() * n / m_baud : 0;
    m_lineMarkMs = m_loop.NowMs();
    m_lineLeftUs = left + needUs;
    m_wroteSinceOpen = true;
}

uint32_t cmcComm::LineBusyMs() const {
    if (!m_wroteSinceOpen)
        return 0;
    int64_t left = LineLeftUs();
    return left > 0 ? static_cast<uint32_t>((left + 999) / 1000) : 0;
}

uint32_t cmcComm::LineIdleMs() const {
    if (!m_wroteSinceOpen)
        return 0;
    int64_t left = LineLeftUs();
    // Saturates after about 24 days of idle line instead of wrapping.
    return left < 0 ? static_cast<uint32_t>(std::min<int64_t>(-left / 1000, INT32_MAX)) : 0;
}

bool cmcComm::SetRtsControl(int32_t mode) {
    m_rtsControl = mode;
    return Configure();
}

#include "RadioSimEngine.h"

#include "clone/cmcCloneFrame.h"
#include "core/cmcText.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

using namespace cmcCloneFrame;

void AppendText(std::vector<uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
}

std::string HexText(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
}

} // namespace

RadioSimEngine::RadioSimEngine(const Options& options, const cmcEeprom& image)
    : m_options(options), m_image(image) {
    if (m_image.GetSize() != cmcEeprom::kRadioSize) {
        cmcEeprom sized;
        sized.SetSize(cmcEeprom::kRadioSize);
        int32_t n = std::min(image.GetSize(), cmcEeprom::kRadioSize);
        if (n > 0)
            sized.WriteBlock(0, image.Data(), n);
        m_image = sized;
    }
}

std::vector<uint8_t> RadioSimEngine::InformationBlock() const {
    std::vector<uint8_t> b(kInfoSize, 0x00);
    b[0] = kInfoSize;
    b[kInfoRevision] = m_options.revision;
    b[kInfoTrunkLevel] = m_options.trunkLevel;
    b[kInfoDataVersion] = m_options.fault == Fault::DataVersion2 ? 2 : m_options.dataVersion;
    std::string serial = (m_options.serial + "000000000000").substr(0, 12);
    std::memcpy(&b[kInfoSerial], serial.data(), 12);
    uint8_t flags = 0;
    if (!m_options.password.empty())
        flags |= 0x08;
    if (m_options.readUnprotected)
        flags |= 0x10;
    b[kInfoFlags] = flags;
    std::string end4 = HexText(static_cast<unsigned>(m_options.endAddress) & 0xFFFF, 4);
    std::memcpy(&b[kInfoEnd4], end4.data(), 4);
    b[kInfoWide] = m_options.wide ? 0x40 : 0x00;
    std::string end8 = HexText(static_cast<unsigned>(m_options.endAddress), 8);
    std::memcpy(&b[kInfoEnd8], end8.data(), 8);
    return b;
}

void RadioSimEngine::Receive(const uint8_t* bytes, int32_t n, int32_t baud, std::vector<uint8_t>& out) {
    if (m_options.echo)
        out.insert(out.end(), bytes, bytes + n); // the cable itself returns every byte
    if (m_silent || m_unplugged)
        return;
    if (baud != m_listenBaud) {
        m_frameOpen = false; // at the wrong speed the radio sees noise
        return;
    }
    for (int32_t i = 0; i < n; ++i) {
        uint8_t b = bytes[i];
        if (b == kPreamble) {
            m_frame.assign(1, b);
            m_frameOpen = true;
        } else if (!m_frameOpen) {
            continue;
        } else if (b == kEnd) {
            m_frameOpen = false;
            Frame(m_frame, out);
            if (m_silent || m_unplugged)
                return;
        } else if (m_frame.size() < 1100) {
            m_frame.push_back(b);
        } else {
            m_frameOpen = false;
        }
    }
}

bool RadioSimEngine::Allowed(bool reading) const {
    if (m_options.password.empty() || m_passwordOk)
        return true;
    return reading && m_options.readUnprotected;
}

void RadioSimEngine::Finish(char kind, bool ok) {
    if (m_onOperation)
        m_onOperation(kind, ok);
}

void RadioSimEngine::Frame(const std::vector<uint8_t>& f, std::vector<uint8_t>& out) {
    if (f.size() < 4 || f[1] != kRadio || f[2] != kComputer)
        return;
    const uint8_t cmd = f[3];
    if (m_log && cmd != kData) {
        char line[96];
        std::snprintf(line, sizeof line, "frame %02X%s%02X, %zu bytes, listening at %d", cmd,
                      cmd == kModelCommand ? " " : "", cmd == kModelCommand && f.size() > 8 ? f[8] : 0,
                      f.size(), m_listenBaud);
        m_log(line);
    }
    auto codesMatch = [&]() { return f.size() >= 8 && (f[4] << 8 | f[5]) == (m_options.modelCode & 0xFFFF); };
    switch (cmd) {
    case kModelCommand: {
        if (!codesMatch() || f.size() < 9)
            return;
        uint8_t sub = f[8];
        auto valueIs = [&](const uint8_t(&value)[2]) { return f[9] == value[0] && f[10] == value[1]; };
        if (sub == kSubSpeed && f.size() >= 11) {
            if (m_listenBaud == 9600 && valueIs(kSpeedHigh))
                m_listenBaud = 38400;
            else if (m_listenBaud == 38400 && valueIs(kSpeedLow))
                m_listenBaud = 9600;
        } else if (sub == kSubCloneMode && f.size() >= 11) {
            m_selected = f[10] == kCloneModeWrite[1] ? 1 : 0; // the radio looks at the second character only
            m_writing = false;
        } else if (sub == kSubAdjustStart && f.size() >= 11) {
            m_adjusting = f[10] == '1';
            if (m_log) {
                m_log(m_adjusting ? "adjustment state entered" : "adjustment state left");
            }
        } else if (sub == kSubMeasure && f.size() >= 11) {
            // Outside the adjustment state the radio does not answer an A/D request.
            std::optional<uint8_t> channel = cmcText::HexByte(
                static_cast<char>(f[9]), static_cast<char>(f[10]), cmcText::HexLetters::UpperCase);
            if (!m_adjusting || !channel) {
                return;
            }
            const uint8_t value = *channel < m_options.adValues.size() ? m_options.adValues[*channel] : 0;
            std::vector<uint8_t> reply(f.begin(), f.begin() + 9);
            reply.insert(reply.begin(), kPreamble);
            reply[2] = kComputer;
            reply[3] = kRadio;
            AppendText(reply, HexText(value, 2));
            reply.push_back(kEnd);
            out.insert(out.end(), reply.begin(), reply.end());
        } else if (sub == kSubPassword) {
            // Password block as hexadecimal bytes: length, checksum, characters.
            m_passwordOk = false;
            if (f.size() < 11)
                return;
            size_t len = f[9];
            if (f.size() != 11 + len)
                return;
            unsigned sum = 0;
            for (size_t i = 0; i < len; ++i)
                sum += f[11 + i];
            std::string given(f.begin() + 11, f.end());
            m_passwordOk = ((256 - sum % 256) % 256) == f[10] && given == m_options.password;
        }
        return;
    }
    case kInfoRequest: {
        if (!codesMatch())
            return;
        int32_t model = m_options.fault == Fault::WrongModel ? 0x3328 : m_options.modelCode;
        std::vector<uint8_t> reply = {kPreamble,
                                      kPreamble,
                                      kComputer,
                                      kRadio,
                                      kInfoReply,
                                      uint8_t(model >> 8),
                                      uint8_t(model),
                                      uint8_t(m_options.extraCode >> 8),
                                      uint8_t(m_options.extraCode)};
        std::vector<uint8_t> info = InformationBlock();
        reply.insert(reply.end(), info.begin(), info.end());
        reply.push_back(kEnd);
        out.insert(out.end(), reply.begin(), reply.end());
        Finish('I', true);
        return;
    }
    case kReadRequest:
        if (!codesMatch() || m_selected != 0 || !Allowed(true))
            return; // a refused read gets no answer
        SendRead(out);
        return;
    case kWriteRequest:
        if (!codesMatch())
            return;
        if (m_selected != 1 || !Allowed(false) || m_options.fault == Fault::RefuseWrite) {
            out.push_back(kRefuse);
            Finish('W', false);
            return;
        }
        m_writing = true;
        m_writeFrames = 0;
        m_incoming = m_image;
        out.push_back(kContinue);
        return;
    case kData:
        if (m_writing)
            WriteFrame(f, out);
        return;
    case kEndFrame:
        if (m_writing)
            EndWrite(f, out);
        return;
    default:
        return;
    }
}

void RadioSimEngine::SendRead(std::vector<uint8_t>& out) {
    const bool wide = m_options.wide;
    int32_t last = (m_options.endAddress & ~0x0F) + 15;
    if (last >= m_image.GetSize())
        last = m_image.GetSize() - 1;
    int32_t sent = 0;
    int32_t index = 0;
    for (int32_t a = 0; a <= last; ++index) {
        int32_t n = std::min<int32_t>(16 - a % 16, last - a + 1);
        if (m_options.fault == Fault::Silence && index == m_options.faultFrame) {
            m_silent = true;
            return;
        }
        if (m_options.fault == Fault::Unplug && index == m_options.faultFrame) {
            m_unplugged = true;
            return;
        }
        if (!(m_options.fault == Fault::DropFrame && index == m_options.faultFrame)) {
            std::string payload =
                wide ? HexText(static_cast<unsigned>(a), 8) : HexText(static_cast<unsigned>(a), 4);
            payload += HexText(static_cast<unsigned>(n), 2);
            unsigned sum = ((a >> 24) & 0xFF) + ((a >> 16) & 0xFF) + ((a >> 8) & 0xFF) + (a & 0xFF) + n;
            for (int32_t i = 0; i < n; ++i) {
                uint8_t b = m_image.GetByte(a + i);
                payload += HexText(b, 2);
                sum += b;
            }
            unsigned check = (256 - sum % 256) % 256;
            if (m_options.fault == Fault::BadChecksum && index == m_options.faultFrame)
                check = (check + 1) & 0xFF;
            payload += HexText(check, 2);
            if (m_options.fault == Fault::LowerCaseHex && index == m_options.faultFrame) {
                for (char& c : payload)
                    if (c >= 'A' && c <= 'F')
                        c = static_cast<char>(c - 'A' + 'a');
                if (payload.find_first_of("abcdef") == std::string::npos)
                    payload[payload.size() - 1] = 'a',
                                             payload[payload.size() - 2] = 'a'; // no letter: force one
            }
            out.insert(out.end(), {kPreamble, kPreamble, kComputer, kRadio, kData});
            AppendText(out, payload);
            out.push_back(kEnd);
            ++sent;
        }
        a += n;
    }
    int32_t count = sent + (m_options.fault == Fault::WrongEndCount ? 1 : 0);
    out.insert(out.end(), {kPreamble, kPreamble, kComputer, kRadio, kEndFrame});
    AppendText(out, kSignature);
    AppendText(out, HexText(static_cast<unsigned>(count) & 0xFF, 2));
    out.push_back(kEnd);
    Finish('R', true);
}

void RadioSimEngine::WriteFrame(const std::vector<uint8_t>& f, std::vector<uint8_t>& out) {
    if (m_options.fault == Fault::Silence && m_writeFrames == m_options.faultFrame) {
        m_silent = true;
        return;
    }
    if (m_options.fault == Fault::Unplug && m_writeFrames == m_options.faultFrame) {
        m_unplugged = true;
        return;
    }
    const size_t addrBytes = m_options.wide ? 4 : 2;
    size_t chars = f.size() - 4;
    std::vector<uint8_t> d;
    bool ok = chars % 2 == 0;
    for (size_t i = 0; ok && i < chars / 2; ++i) {
        std::optional<uint8_t> byte = cmcText::HexByte(
            static_cast<char>(f[4 + 2 * i]), static_cast<char>(f[5 + 2 * i]), cmcText::HexLetters::UpperCase);
        ok = byte.has_value();
        d.push_back(byte.value_or(0));
    }
    ok = ok && d.size() >= addrBytes + 2 && d.size() == d[addrBytes] + addrBytes + 2;
    unsigned sum = 0;
    for (uint8_t b : d)
        sum += b;
    ok = ok && sum % 256 == 0;
    if (!ok) {
        m_writing = false; // a broken frame ends the write; the end frame then goes unanswered
        Finish('W', false);
        return;
    }
    int32_t a = 0;
    for (size_t i = 0; i < addrBytes; ++i)
        a = a << 8 | d[i];
    int32_t n = d[addrBytes];
    if (a < 0 || a + n > m_incoming.GetSize()) {
        m_writing = false;
        Finish('W', false);
        return;
    }
    if (m_options.fault == Fault::CorruptWrite && m_writeFrames == m_options.faultFrame && n > 0)
        d[addrBytes + 1] ^= 0xFF; // after the checksum: the radio itself stores the byte wrongly
    m_incoming.WriteBlock(a, d.data() + addrBytes + 1, n);
    ++m_writeFrames;
    if ((a + n) % 128 == 0)
        out.push_back(kContinue);
}

void RadioSimEngine::EndWrite(const std::vector<uint8_t>& f, std::vector<uint8_t>& out) {
    m_writing = false;
    std::string expected = std::string(kSignature) + HexText(static_cast<unsigned>(m_writeFrames) & 0xFF, 2);
    bool ok =
        f.size() == 4 + expected.size() && std::memcmp(f.data() + 4, expected.data(), expected.size()) == 0;
    if (m_options.fault == Fault::WriteResult)
        ok = false;
    out.insert(out.end(), {kPreamble, kPreamble, kComputer, kRadio, kWriteResult,
                           uint8_t(ok ? kWriteResultOk : 0x01), kEnd});
    if (ok)
        m_image = m_incoming;
    Finish('W', ok);
}

#include "clone/imcCloneDrv.h"

#include <cstdio>

imcCloneDrv::imcCloneDrv(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device, imcAdjust& adjust)
    : cmcCloneDrv(loop, std::move(device)), m_adjust(adjust), m_delay(loop) {}

void imcCloneDrv::SetModelCommand(int32_t subCommand, int32_t value, uint8_t* answer) {
    m_subCommand = subCommand;
    m_value1 = value;
    m_answer = answer;
    m_double = false;
    m_commandPending = true;
}

void imcCloneDrv::SetModelCommandList(const Entry* entries) {
    m_list.clear();
    for (int i = 0; entries && i < 49; ++i) {
        m_list.push_back(entries[i]);
        if (entries[i].subCommand == 0xFF)
            break;
    }
    if (m_list.empty() || m_list.back().subCommand != 0xFF)
        m_list.push_back(Entry{});
    m_listPos = 0;
    m_commandPending = true;
}

bool imcCloneDrv::StartCommand(Done done) {
    return Begin(4, 4, std::move(done));
}

bool imcCloneDrv::StartCommandList(Done done) {
    if (IsBusy())
        return false;
    m_listPos = 0;
    if (m_list.empty())
        m_list.push_back(Entry{});
    return Begin(5, 10, std::move(done));
}

bool imcCloneDrv::StartSweep(Done done) {
    if (IsBusy())
        return false;
    m_sweepReading = 0;
    m_sweepValue = m_adjust.coarseSweep ? 10 : 0;
    m_sweepMeasure = false;
    return Begin(7, 10, std::move(done));
}

bool imcCloneDrv::StartRepeated(Done done) {
    return Begin(8, m_adjust.adjustMode == 8 ? 250 : 4, std::move(done));
}

int32_t imcCloneDrv::FirstModelState(int32_t mode) {
    switch (mode) {
    case 4:
    case 8:
        return 18;
    case 5:
        return 16;
    case 7:
        return 15;
    default:
        return 5;
    }
}

std::string imcCloneDrv::CommandFrameText(int32_t subCommand, int32_t value) const {
    static const char kHex[] = "0123456789ABCDEF";
    char text[64];
    std::snprintf(text, sizeof text, "FEFE EE EF E8 %04X %04X %02X %02X %02X FD",
                  static_cast<unsigned>(m_modelCode & 0xFFFF), static_cast<unsigned>(m_extraCode & 0xFFFF),
                  static_cast<unsigned>(subCommand & 0xFF), static_cast<unsigned>(kHex[(value >> 4) & 0x0F]),
                  static_cast<unsigned>(kHex[value & 0x0F]));
    return text;
}

int32_t imcCloneDrv::NextModelState(int32_t state, bool& progress) {
    int32_t next = state;
    bool again = true;
    for (int guard = 0; again && guard < 8; ++guard) {
        again = false;
        next = RunModelState(next, progress, again);
    }
    return next;
}

int32_t imcCloneDrv::RunModelState(int32_t state, bool& progress, bool& again) {
    switch (state) {
    case 15: {
        m_double = false;
        if (m_sweepMeasure) {
            m_subCommand = 3;
            m_value1 = 2;
            m_answer = &m_sweepReading;
        } else {
            int32_t t = m_adjust.Target();
            m_answer = nullptr;
            if (t == 1) {
                m_subCommand = 0x14;
                m_value1 = m_sweepValue;
            } else if (t >= 2 && t <= 5) {
                static const int32_t kSelect[6] = {0, 0, 8, 10, 9, 11};
                m_double = true;
                m_subCommand = 0x40;
                m_value1 = kSelect[t];
                m_subCommand2 = 0x41;
                m_value2 = m_sweepValue;
            } else {
                m_subCommand = 0x13;
                m_value1 = m_sweepValue;
            }
        }
        m_sweepMeasure = !m_sweepMeasure;
        again = true;
        return 18;
    }
    case 16: {
        const Entry& e = m_list[m_listPos];
        if (e.subCommand == 0xFF) {
            Status() = kCloneOk;
            return 22;
        }
        m_subCommand = e.subCommand;
        m_value1 = e.value ? *e.value : 0;
        m_answer = e.answer;
        ++m_listPos;
        return 18;
    }
    case 18: {
        std::string text(static_cast<size_t>(m_preamble) * 2, 'F');
        for (int32_t i = 0; i < m_preamble; ++i)
            text[static_cast<size_t>(2 * i + 1)] = 'E';
        std::string frame = CommandFrameText(m_subCommand, m_value1);
        if (m_mode == 7 && m_double) {
            text += frame + CommandFrameText(m_subCommand2, m_value2);
        } else if (m_mode == 8) {
            for (int i = 0; i < 20; ++i)
                text += frame;
        } else {
            text += frame;
        }
        SendHexText(text);
        ClearFrame();
        m_commandPending = false;
        if (!m_answer) {
            if (m_mode == 7 || m_mode == 5) {
                m_delay.Start(m_mode == 7 ? 30 : 50);
                return 20;
            }
            Status() = kCloneOk;
            return 22;
        }
        return 19;
    }
    case 19: {
        ReadIntoReceive();
        bool got = false;
        int32_t r;
        int32_t next = 19;
        while ((r = NextFrame()) != 0) {
            got = true;
            const std::vector<uint8_t>& f = m_frameBytes;
            bool match = r > 0 && f.size() > 10 && f[0] == 0xFE && f[1] == 0xEF && f[2] == 0xEE &&
                         f[3] == 0xE8 && (f[4] << 8 | f[5]) == (m_modelCode & 0xFFFF);
            if (!match) {
                Status() = kCloneFormat;
                continue;
            }
            auto hex = [](uint8_t c) {
                return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            };
            int hi = hex(f[9]);
            int lo = f.size() > 10 ? hex(f[10]) : -1;
            if (hi < 0 || lo < 0) {
                Status() = kCloneFormat;
                continue;
            }
            if (m_answer)
                *m_answer = static_cast<uint8_t>(hi << 4 | lo);
            if (m_mode == 7) {
                again = true;
                next = 21;
            } else if (m_mode == 5) {
                next = 16;
            } else {
                Status() = kCloneOk;
                next = 22;
            }
            break;
        }
        if (!got || next == 19)
            progress = false;
        return next;
    }
    case 20:
        if (m_delay.Remaining() > 0) {
            progress = false;
            return 20;
        }
        if (m_mode == 7) {
            again = true;
            return 15;
        }
        return 16;
    case 21: {
        int32_t t = m_adjust.Target();
        imcAdjust::SweepRow& row = m_adjust.sweep[t];
        if (m_sweepReading >= row.highest) {
            row.last = m_sweepValue;
            if (m_sweepReading > row.highest) {
                row.best = m_sweepValue;
                row.highest = m_sweepReading;
            }
        }
        static const int32_t kPosition[6] = {4, 5, 8, 10, 9, 11};
        m_adjust.table1[kPosition[t]] = static_cast<uint8_t>(m_sweepValue);
        m_adjust.table2[kPosition[t]] = static_cast<uint8_t>(m_sweepValue);
        if (m_refresh)
            m_refresh();
        m_sweepValue += m_adjust.coarseSweep ? 2 : 1;
        if (m_sweepValue > (m_adjust.coarseSweep ? 150 : 255)) {
            Status() = kCloneOk;
            return 22;
        }
        again = true;
        return 15;
    }
    default:
        return 0;
    }
}

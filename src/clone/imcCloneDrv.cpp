#include "clone/imcCloneDrv.h"

#include "core/cmcText.h"

#include <cstdio>

namespace {

using namespace cmcCloneFrame;
using S = cmcCloneState;
using M = cmcCloneMode;

} // namespace

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
        if (entries[i].subCommand == kListEnd)
            break;
    }
    if (m_list.empty() || m_list.back().subCommand != kListEnd)
        m_list.push_back(Entry{});
    m_listPos = 0;
    m_commandPending = true;
}

bool imcCloneDrv::StartCommand(Done done) {
    return Begin(M::Command, 4, std::move(done));
}

bool imcCloneDrv::StartCommandList(Done done) {
    if (IsBusy())
        return false;
    m_listPos = 0;
    if (m_list.empty())
        m_list.push_back(Entry{});
    return Begin(M::CommandList, 10, std::move(done));
}

bool imcCloneDrv::StartSweep(Done done) {
    if (IsBusy())
        return false;
    m_sweepReading = 0;
    m_sweepValue = m_adjust.coarseSweep ? 10 : 0;
    m_sweepMeasure = false;
    return Begin(M::Sweep, 10, std::move(done));
}

bool imcCloneDrv::StartRepeated(Done done) {
    return Begin(M::Repeated, m_adjust.adjustMode == 8 ? 250 : 4, std::move(done));
}

cmcCloneState imcCloneDrv::FirstModelState(cmcCloneMode mode) {
    switch (mode) {
    case M::Command:
    case M::Repeated:
        return S::SendModelCommand;
    case M::CommandList:
        return S::NextListEntry;
    case M::Sweep:
        return S::SweepHalfStep;
    default:
        return S::SendInfoRequest;
    }
}

std::string imcCloneDrv::CommandFrameText(int32_t subCommand, int32_t value) const {
    char text[64];
    std::snprintf(text, sizeof text, "%02X%02X %02X %02X %02X %04X %04X %02X %02X %02X %02X", kPreamble,
                  kPreamble, kRadio, kComputer, kModelCommand, static_cast<unsigned>(m_modelCode & 0xFFFF),
                  static_cast<unsigned>(m_extraCode & 0xFFFF), static_cast<unsigned>(subCommand & 0xFF),
                  static_cast<unsigned>(cmcText::HexDigitChar(static_cast<unsigned>(value) >> 4)),
                  static_cast<unsigned>(cmcText::HexDigitChar(static_cast<unsigned>(value))), kEnd);
    return text;
}

cmcCloneState imcCloneDrv::NextModelState(cmcCloneState state, bool& progress) {
    cmcCloneState next = state;
    bool again = true;
    for (int guard = 0; again && guard < 8; ++guard) {
        again = false;
        next = RunModelState(next, progress, again);
    }
    return next;
}

cmcCloneState imcCloneDrv::RunModelState(cmcCloneState state, bool& progress, bool& again) {
    switch (state) {
    case S::SweepHalfStep: {
        m_double = false;
        if (m_sweepMeasure) {
            m_subCommand = kSubMeasure;
            m_value1 = 2;
            m_answer = &m_sweepReading;
        } else {
            int32_t t = m_adjust.Target();
            m_answer = nullptr;
            if (t == 1) {
                m_subCommand = kSubSweepTarget1;
                m_value1 = m_sweepValue;
            } else if (t >= 2 && t <= 5) {
                static const int32_t kSelect[6] = {0, 0, 8, 10, 9, 11};
                m_double = true;
                m_subCommand = kSubSweepSelect;
                m_value1 = kSelect[t];
                m_subCommand2 = kSubSweepSelected;
                m_value2 = m_sweepValue;
            } else {
                m_subCommand = kSubSweepSingle;
                m_value1 = m_sweepValue;
            }
        }
        m_sweepMeasure = !m_sweepMeasure;
        again = true;
        return S::SendModelCommand;
    }
    case S::NextListEntry: {
        const Entry& e = m_list[m_listPos];
        if (e.subCommand == kListEnd) {
            Status() = kCloneOk;
            return S::Finish;
        }
        m_subCommand = e.subCommand;
        m_value1 = e.value ? *e.value : 0;
        m_answer = e.answer;
        ++m_listPos;
        return S::SendModelCommand;
    }
    case S::SendModelCommand: {
        std::string text;
        for (int32_t i = 0; i < m_preamble; ++i)
            cmcText::AppendHexByte(text, kPreamble);
        std::string frame = CommandFrameText(m_subCommand, m_value1);
        if (m_mode == M::Sweep && m_double) {
            text += frame + CommandFrameText(m_subCommand2, m_value2);
        } else if (m_mode == M::Repeated) {
            for (int i = 0; i < 20; ++i)
                text += frame;
        } else {
            text += frame;
        }
        SendHexText(text);
        ClearFrame();
        m_commandPending = false;
        if (!m_answer) {
            if (m_mode == M::Sweep || m_mode == M::CommandList) {
                m_delay.Start(m_mode == M::Sweep ? 30 : 50);
                return S::ModelDelay;
            }
            Status() = kCloneOk;
            return S::Finish;
        }
        return S::WaitModelAnswer;
    }
    case S::WaitModelAnswer: {
        ReadIntoReceive();
        bool got = false;
        int32_t r;
        cmcCloneState next = S::WaitModelAnswer;
        while ((r = NextFrame()) != 0) {
            got = true;
            const std::vector<uint8_t>& f = m_frameBytes;
            bool match = r > 0 && f.size() > 10 && f[0] == kPreamble && f[1] == kComputer && f[2] == kRadio &&
                         f[3] == kModelCommand && (f[4] << 8 | f[5]) == (m_modelCode & 0xFFFF);
            if (!match) {
                Status() = kCloneFormat;
                continue;
            }
            // A matching frame is longer than 10 bytes: the answer's two characters are at 9 and 10.
            std::optional<uint8_t> answer = cmcText::HexByte(
                static_cast<char>(f[9]), static_cast<char>(f[10]), cmcText::HexLetters::UpperCase);
            if (!answer) {
                Status() = kCloneFormat;
                continue;
            }
            if (m_answer)
                *m_answer = *answer;
            if (m_mode == M::Sweep) {
                again = true;
                next = S::SweepBookkeeping;
            } else if (m_mode == M::CommandList) {
                next = S::NextListEntry;
            } else {
                Status() = kCloneOk;
                next = S::Finish;
            }
            break;
        }
        if (!got || next == S::WaitModelAnswer)
            progress = false;
        return next;
    }
    case S::ModelDelay:
        if (m_delay.Remaining() > 0) {
            progress = false;
            return S::ModelDelay;
        }
        if (m_mode == M::Sweep) {
            again = true;
            return S::SweepHalfStep;
        }
        return S::NextListEntry;
    case S::SweepBookkeeping: {
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
            return S::Finish;
        }
        again = true;
        return S::SweepHalfStep;
    }
    default:
        return S::Idle;
    }
}

#pragma once
// The model clone driver: the model's maintenance exchanges on top of the clone command driver:
// single model commands (0xE8) with an optional one-byte answer, command lists, a repeated command,
// and a sweep that keeps the setting at which the radio's reading is highest.
#include "clone/cmcCloneDrv.h"
#include "clone/cmcCloneFrame.h"
#include "clone/imcAdjust.h"

#include <functional>
#include <vector>

class imcCloneDrv : public cmcCloneDrv {
public:
    struct Entry {
        int32_t subCommand = cmcCloneFrame::kListEnd; // ends a list
        const uint8_t* value = nullptr;
        uint8_t* answer = nullptr;
    };

    imcCloneDrv(cmcLoop& loop, std::unique_ptr<cmcSerialDevice> device, imcAdjust& adjust);

    void SetModelCommand(int32_t subCommand, int32_t value, uint8_t* answer);
    // Copies the entries up to and including the end entry (at most 49).
    void SetModelCommandList(const Entry* entries);
    bool IsCommandPending() const { return m_commandPending; }
    // Called when the sweep has written a new value into the adjustment tables (display refresh).
    void SetRefreshHandler(std::function<void()> refresh) { m_refresh = std::move(refresh); }

    bool StartCommand(Done done);
    bool StartCommandList(Done done);
    bool StartSweep(Done done);
    bool StartRepeated(Done done);

    // The frame text of one model command: "FEFE EE EF E8 %04X %04X %02X %02X %02X FD".
    std::string CommandFrameText(int32_t subCommand, int32_t value) const;

protected:
    cmcCloneState NextModelState(cmcCloneState state, bool& progress) override;
    cmcCloneState FirstModelState(cmcCloneMode mode) override;

private:
    cmcCloneState RunModelState(cmcCloneState state, bool& progress, bool& again);

    imcAdjust& m_adjust;
    bool m_commandPending = false;
    cmcTick m_delay;
    int32_t m_subCommand = 0;
    int32_t m_value1 = 0;
    int32_t m_value2 = 0;
    int32_t m_subCommand2 = 0;
    uint8_t* m_answer = nullptr;
    int32_t m_sweepValue = 0;
    uint8_t m_sweepReading = 0;
    bool m_double = false;
    bool m_sweepMeasure = false; // the sweep's next half-step is the measurement request
    std::vector<Entry> m_list;
    size_t m_listPos = 0;
    std::function<void()> m_refresh;
};

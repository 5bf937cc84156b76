#pragma once
// What the clone manager shows while it works: the main window disabled, the "Cloning" progress of
// transferred and total bytes. The desktop program draws a window, the command line a bar.
#include "clone/cmcCloneState.h"

#include <cstdint>
#include <string>

class indCloneProgress {
public:
    virtual ~indCloneProgress() = default;

    virtual void SetMainWindowEnabled(bool enabled) {}
    // Before ShowProgress: which operation runs, on which device and at what line speed.
    virtual void DescribeOperation(cmcCloneMode mode, const std::string& device, int32_t baud) {}
    // A read or write starts; total is the sum of the sizes of its ranges.
    virtual void ShowProgress(int32_t total) {}
    // Every 30 ms while the read or write runs.
    virtual void UpdateProgress(int32_t transferred, int32_t total) {}
    virtual void HideProgress() {}

    // The number of the 32 progress cells to fill, as the window draws them.
    static int32_t FilledCells(int32_t transferred, int32_t total) {
        if (total <= 0)
            return 0;
        int64_t cells = static_cast<int64_t>(transferred) * 33 / total;
        return static_cast<int32_t>(cells > 32 ? 32 : cells < 0 ? 0 : cells);
    }
};

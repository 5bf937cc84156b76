#pragma once
// The command host of the desktop program with its secondary windows: the memory channel window (the
// pop-up command and the View menu's check mark) and the repeater setting window a bank's repeater
// cell opens.
#include "gui/cuiCommandHost.h"

#include <functional>

class cuiWindowHost : public cuiCommandHost {
public:
    using cuiCommandHost::cuiCommandHost;

    bool IsChecked(int32_t cell, int32_t parameter) override;
    bool ShowChannelWindow(int32_t channel) override;
    bool ShowRepeaterWindow(int32_t group) override;

    // Whether the memory channel view is on (the View menu entry's check mark).
    std::function<bool()> channelViewOn;
    // Whether the A/D view is on (View A/D's check mark).
    std::function<bool()> adViewOn;
    // Open the windows; false when they cannot open now.
    std::function<bool(int32_t channel)> showChannelWindow;
    std::function<bool(int32_t group)> showRepeaterWindow;
};

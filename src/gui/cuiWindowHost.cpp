#include "gui/cuiWindowHost.h"

#include "cells/cmcCellNumber.h"

bool cuiWindowHost::IsChecked(int32_t cell, int32_t parameter) {
    if (cell == CL_Menu_View_MchWin) {
        return channelViewOn && channelViewOn();
    }
    if (cell == CL_Menu_View_Ad) {
        return adViewOn && adViewOn();
    }
    return cuiCommandHost::IsChecked(cell, parameter);
}

bool cuiWindowHost::ShowChannelWindow(int32_t channel) {
    return showChannelWindow && showChannelWindow(channel);
}

bool cuiWindowHost::ShowRepeaterWindow(int32_t group) {
    return showRepeaterWindow && showRepeaterWindow(group);
}

#pragma once
// A mark plus a channel in one cell (the priority and transmit channels of a scan list): the mark
// comes from a choice list, and one mark value means "this memory channel", whose reference is then
// shown and picked bank first, channel second.
#include "cells/cmcChoiceCodecs.h"

#include <cstdint>
#include <functional>
#include <string_view>

class cmcCodecEnv;
struct cmcCodecIo;

class cmcMarkChannelCodec {
public:
    // The mark value that stands for a specific channel.
    static constexpr int32_t kChannelMark = 5;

    // Edits mark and channel (0..127, 128 none). Without the channel mark the cell behaves as a
    // choice of markList; with it, the channel reference is shown and space and backspace step the
    // channel. Carriage return opens markList; choosing its channel entry opens the bank list, and
    // the channel chosen there sets the channel mark. skip(channel) as for channel references.
    static bool Edit(cmcCodecIo& io, cmcCodecEnv& env, int32_t& mark, int32_t& channel,
                     std::string_view markList, const cmcChoiceCodecs::ChannelLists& lists = {},
                     const std::function<bool(int32_t)>& skip = {});
};

#include "cells/cmcMarkChannelCodec.h"

#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"

using C = cmcChoiceCodecs;

bool cmcMarkChannelCodec::Edit(cmcCodecIo& io, cmcCodecEnv& env, int32_t& mark, int32_t& channel,
                               std::string_view markList, const C::ChannelLists& lists,
                               const std::function<bool(int32_t)>& skip) {
    const int32_t k = io.Key();
    if (io.linked) {
        if (io.Chose(C::kFlex0)) {
            if (io.chosenParam != kChannelMark) {
                mark = io.chosenParam;
                return true;
            }
            // The channel entry: pick the channel, bank first.
            env.pendingBank = -1;
            if (cmcCellWindows* windows = env.Windows())
                windows->OpenList(io.capsule, lists.bankList, lists.bankCell, [&] {
                    const int32_t bank = lists.banks.BankOf(channel);
                    return bank >= 0 ? bank : 8;
                }());
            io.result = cmcCodecIo::kResultRefresh;
            return false;
        }
        int32_t picked = channel;
        if (!C::EditChannelRef(io, env, picked, lists, skip))
            return false;
        // A bank answer of "none" leaves the mark as it was.
        if (picked >= 0 && picked < C::kNoChannel) {
            channel = picked;
            mark = kChannelMark;
        }
        return true;
    }
    if (mark != kChannelMark)
        return C::EditChoice(io, env, mark, markList, C::kFlex0);
    // The channel mark: the reference shows and steps; carriage return offers the marks again.
    cmcCodecIo view = io;
    if (k == cmcCodecIo::kKeyReturn)
        view.key = 0;
    const bool changed = C::EditChannelRef(view, env, channel, lists, skip);
    io.displayText = view.displayText;
    io.selStart = view.selStart;
    io.selLength = view.selLength;
    if (k == cmcCodecIo::kKeyReturn) {
        if (cmcCellWindows* windows = env.Windows())
            windows->OpenList(io.capsule, markList, C::kFlex0, mark);
        io.result = cmcCodecIo::kResultRefresh;
    }
    return changed;
}

#pragma once
// The memory channel cells of the model cell handler (channel records, the bank channel counts):
// their values, lists, grey and dashes conventions, warnings and errors, and channel creation.
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcToneCodec.h"
#include "model/datCh.h"

#include <cstdint>

struct indCellCall;

class indMchCells {
public:
    // Runs the cell's behaviour when it is a memory channel or bank count cell; false otherwise.
    static bool Handle(indCellCall& call, int32_t& result);
    // The cell numbers Handle can take: this family's entries in the cell registry.
    static bool Serves(int32_t cell);
    // Whether the call is on a channel row past the last slot, where Handle takes every cell number.
    static bool ServesWholeRow(const indCellCall& call);

    // The bank the call's channel row belongs to: the handler's shown bank when set, else the bank
    // holding the channel (the last bank with channels for a row past every bank).
    static int BankOf(const indCellCall& call);
    // Whether channel n is one of the channels of BankOf(call).
    static bool IsInBank(const indCellCall& call, int32_t n);
    // The bytes a channel cell keeps outside the channel's own tables (the group bank IDs and flags of
    // the channel's C slot, table 44); false for cells stored with the channel.
    static bool StorageOf(int32_t cell, int32_t channel, int32_t& offset, int32_t& size);
    // Where the banks' channels lie in working image w, for channel references.
    static cmcChoiceCodecs::BankLayout BankLayoutOf(const uint8_t* w);
    // A stored tone as the tone codec sees it, and back.
    static cmcToneCodec::Tone ToCodec(const datCh::Tone& t);
    static datCh::Tone FromCodec(const cmcToneCodec::Tone& c);
};

#include "model/indRangeCells.h"

#include "cells/cmcCellNumber.h"
#include "cells/cmcDigitCodecs.h"
#include "cells/cmcNumberCodecs.h"
#include "model/datQirsAdr.h"
#include "model/indCellCall.h"
#include "model/indLayout.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

namespace {

using L = indLayout;
using Io = cmcCodecIo;

// Table 25: the first group address (the boundary datQirsAdr keeps), then the common and the killer
// address, each 0..4095.
constexpr int32_t kMskCommonAt = L::At(indTable::kMskAddress, 2);
constexpr int32_t kMskKillerAt = L::At(indTable::kMskAddress, 4);
constexpr int32_t kMskLast = 4095;
// The first dPMR group ID, seven packed decimal digits (table 104); individual IDs lie below it.
constexpr int32_t kDpmrBoundaryAt = L::At(indTable::kDpmrOptions, 4);

std::string NoEdit(long value, const char* format) {
    char text[40];
    const int n = std::snprintf(text, sizeof text, format, value);
    return std::string(text, n > 0 ? size_t(n) : 0);
}

void Finish(indCellCall& call, bool changed, int32_t& result) {
    if (changed) {
        call.wrote = true;
        result = Io::kResultRefresh;
    }
    if (call.io.result != Io::kResultNone)
        result = call.io.result;
}

long BcdValue(const uint8_t* packed) {
    long v = 0;
    for (char c : cmcDigitCodecs::BcdIdText(std::span<const uint8_t>(packed, 4), 7))
        v = v * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    return v;
}

} // namespace

bool indRangeCells::StorageOf(int32_t cell, int32_t& offset, int32_t& size) {
    switch (cell) {
    case CL_Msk_AdrRange_Individual:
    case CL_Msk_AdrRange_Group:
    case CL_Msk_AdrRange_Common:
    case CL_Msk_AdrRange_Killer:
        offset = kMskCommonAt - 2; // the boundary, then the common and the killer address
        size = 6;
        return true;
    case CL_Dpmr_IdRange_Individual:
    case CL_Dpmr_IdRange_Group:
        offset = kDpmrBoundaryAt;
        size = 4;
        return true;
    default:
        return false;
    }
}

bool indRangeCells::Handle(indCellCall& call, int32_t& result) {
    const int32_t c = call.cell;
    if (c != CL_Msk_AdrRange_Individual && c != CL_Msk_AdrRange_Group && c != CL_Msk_AdrRange_Common &&
        c != CL_Msk_AdrRange_Killer && c != CL_Dpmr_IdRange_Individual && c != CL_Dpmr_IdRange_Group)
        return false;
    const int32_t end = call.parameter;
    if (end < 0 || end > 1) {
        call.io.displayText.clear();
        return true;
    }
    uint8_t* w = call.W();
    switch (c) {
    case CL_Msk_AdrRange_Individual:
    case CL_Msk_AdrRange_Group: {
        datQirsAdr ranges(&call.work);
        const int32_t n = ranges.N();
        if (c == CL_Msk_AdrRange_Individual) {
            call.io.Show(end == 0 ? "0000 (No Edit)" : NoEdit(std::max(n - 1, 0), "%ld (No Edit)"));
            return true;
        }
        if (end == 1) {
            call.io.Show("4095 (No Edit)");
            return true;
        }
        // The group range starts at the boundary; at least one individual address stays.
        int32_t v = n;
        const bool changed = cmcNumberCodecs::EditNumber(call.io, v, 4, 1, kMskLast, false);
        if (changed)
            ranges.Store(uint16_t(v));
        Finish(call, changed, result);
        return true;
    }
    case CL_Msk_AdrRange_Common:
    case CL_Msk_AdrRange_Killer: {
        const int32_t at = c == CL_Msk_AdrRange_Common ? kMskCommonAt : kMskKillerAt;
        int32_t v = L::Get16(w, at) & 0x0FFF;
        const bool changed = cmcNumberCodecs::EditNumber(call.io, v, 4, 0, kMskLast, false);
        if (changed)
            L::Put16(w, at, uint32_t(v));
        Finish(call, changed, result);
        return true;
    }
    default: {
        uint8_t* boundary = w + kDpmrBoundaryAt;
        if (c == CL_Dpmr_IdRange_Individual) {
            call.io.Show(end == 0 ? "0000001 (No Edit)"
                                  : NoEdit(std::max(BcdValue(boundary) - 1, 1L), "%ld (No Edit)"));
            return true;
        }
        if (end == 1) {
            call.io.Show("9999999 (No Edit)");
            return true;
        }
        const bool changed = cmcDigitCodecs::EditBcdId(call.io, std::span<uint8_t>(boundary, 4), 7, "0000002",
                                                       "9999999", true);
        Finish(call, changed, result);
        return true;
    }
    }
}

bool indRangeCells::Serves(int32_t c) {
    return c == CL_Msk_AdrRange_Individual || c == CL_Msk_AdrRange_Group || c == CL_Msk_AdrRange_Common ||
           c == CL_Msk_AdrRange_Killer || c == CL_Dpmr_IdRange_Individual || c == CL_Dpmr_IdRange_Group;
}

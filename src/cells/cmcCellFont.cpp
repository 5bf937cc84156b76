#include "cells/cmcCellFont.h"

#include <algorithm>
#include <cstdint>

namespace {

// A number kept within -INT32_MAX..INT32_MAX, so that it can always be negated. Font numbers come
// from overlay texts, where a percentage of a percentage or a huge size saturates.
int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -INT32_MAX, INT32_MAX));
}

// a * b / c rounded to the nearest integer, halves away from zero.
int32_t MulDivRound(int64_t a, int64_t b, int64_t c) {
    const int64_t p = a * b;
    const int64_t half = c / 2;
    return Saturate(p >= 0 ? (p + half) / c : (p - half) / c);
}

} // namespace

void cmcCellFont::SetHeight(int32_t h) {
    height = Saturate(h);
    // A negative height is the character height; a positive one includes the internal leading,
    // which the size cannot tell, so it is taken as the character height too.
    size = MulDivRound(height < 0 ? -height : height, 72, kPixelsPerInch);
}

void cmcCellFont::SetSize(int32_t points) {
    size = Saturate(points);
    height = -MulDivRound(size, kPixelsPerInch, 72);
}

#include "cells/cmcCellFont.h"

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int32_t MulDivRound(int64_t a, int64_t b, int64_t c) {
    const int64_t p = a * b;
    const int64_t half = c / 2;
    return static_cast<int32_t>(p >= 0 ? (p + half) / c : (p - half) / c);
}

} // namespace

void cmcCellFont::SetHeight(int32_t h) {
    height = h;
    // A negative height is the character height; a positive one includes the internal leading,
    // which the size cannot tell, so it is taken as the character height too.
    size = MulDivRound(h < 0 ? -h : h, 72, kPixelsPerInch);
}

void cmcCellFont::SetSize(int32_t points) {
    size = points;
    height = -MulDivRound(points, kPixelsPerInch, 72);
}

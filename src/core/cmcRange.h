#pragma once
// Range list: the address ranges a data-file or clone operation covers, as an array of inclusive
// {first, last} pairs ended by the first pair whose last is below its first ({1, 0} by habit).
#include <cstdint>

struct cmcRange {
    int32_t first;
    int32_t last;

    // True for the pair that ends a range list.
    constexpr bool IsEnd() const { return last < first; }
};

// The pair that ends every range list of this program.
inline constexpr cmcRange kRangeListEnd = {1, 0};

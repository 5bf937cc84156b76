#pragma once
// One answer handed back to the sender of an answered event: a value, a pointer-sized item and an
// optional copy of bytes (for example a cell record).
#include <cstdint>
#include <vector>

struct cmcEvAns {
    int32_t value = 0;
    intptr_t pointer = 0;
    std::vector<uint8_t> data;

    int32_t DataLength() const { return static_cast<int32_t>(data.size()); }
};

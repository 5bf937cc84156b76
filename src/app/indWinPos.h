#pragma once
// The remembered placement of one secondary window, kept by the environment object under the
// window's name.
#include <array>
#include <cstdint>
#include <string>

struct indWinPos {
    std::string name;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    // Used by the window that owns the entry (grid position); -1 when unknown. Not stored.
    std::array<int32_t, 4> extra{-1, -1, -1, -1};
    int32_t windowState = 0;
    int32_t open = 0; // not stored
};

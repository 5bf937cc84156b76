#pragma once
// One numbered event as listeners see it: its type, how it was delivered, two parameters and an
// optional copy of the poster's bytes. The event manager owns every record from its posting on.
#include <cstdint>
#include <string_view>
#include <vector>

struct cmcEvRec {
    enum Mode : int32_t { Queued = 0, Immediate = 1, Answered = 2 };

    int32_t type = 0;
    int32_t mode = Queued;
    // An object pointer or an integer, meaning per event.
    intptr_t p1 = 0;
    intptr_t p2 = 0;
    // Copy of the bytes given by the poster; a text carries its terminating zero.
    std::vector<uint8_t> data;

    int32_t DataLength() const { return static_cast<int32_t>(data.size()); }

    // The text carried in data, up to its terminating zero (data without one is taken whole).
    std::string_view Text() const;

    template <class T> T* P1As() const { return reinterpret_cast<T*>(p1); }
    template <class T> T* P2As() const { return reinterpret_cast<T*>(p2); }
};

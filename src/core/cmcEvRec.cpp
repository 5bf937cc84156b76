#include "core/cmcEvRec.h"

#include <cstring>

std::string_view cmcEvRec::Text() const {
    if (data.empty())
        return {};
    const char* chars = reinterpret_cast<const char*>(data.data());
    const void* zero = std::memchr(chars, 0, data.size());
    size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - chars) : data.size();
    return std::string_view(chars, length);
}

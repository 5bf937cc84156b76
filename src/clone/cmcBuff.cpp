#include "clone/cmcBuff.h"

#include "core/cmcFatal.h"

#include <algorithm>
#include <cstring>

cmcBuff::cmcBuff() {
    Clear();
}

cmcBuff::cmcBuff(const cmcBuff& other) {
    Clear();
    Assign(other);
}

cmcBuff& cmcBuff::operator=(const cmcBuff& other) {
    if (this != &other)
        Assign(other);
    return *this;
}

void cmcBuff::Reallocate(int32_t capacity) {
    capacity = std::max(capacity, 1);
    auto block = std::make_unique<uint8_t[]>(static_cast<size_t>(capacity));
    int32_t keep = std::min(m_length, capacity);
    if (keep > 0)
        std::memcpy(block.get(), m_head, static_cast<size_t>(keep));
    std::memset(block.get() + keep, m_fill, static_cast<size_t>(capacity - keep));
    m_alloc = std::move(block);
    m_head = m_alloc.get();
    m_capacity = capacity;
}

int32_t cmcBuff::SetLength(int32_t n) {
    n = std::max(n, 0);
    if (n > m_capacity)
        Reallocate(n + m_length / 4);
    m_length = n;
    return n;
}

uint8_t* cmcBuff::At(int32_t i) {
    if (i < 0 || i >= m_length)
        cmcFatal("Out of cmcBuff element !");
    return m_head + i;
}

const uint8_t* cmcBuff::At(int32_t i) const {
    if (i < 0 || i >= m_length)
        cmcFatal("Out of cmcBuff element !");
    return m_head + i;
}

void cmcBuff::Assign(const cmcBuff& other) {
    SetBytes(other.Data(), other.GetLength());
}

void cmcBuff::Append(const cmcBuff& other) {
    if (&other == this) {
        cmcBuff copy(other);
        AppendBytes(copy.Data(), copy.GetLength());
        return;
    }
    AppendBytes(other.Data(), other.GetLength());
}

void cmcBuff::AppendByte(uint8_t b) {
    int32_t at = m_length;
    SetLength(at + 1);
    m_head[at] = b;
}

void cmcBuff::SetBytes(const uint8_t* bytes, int32_t n) {
    SetLength(n);
    if (n > 0)
        std::memmove(m_head, bytes, static_cast<size_t>(n));
}

void cmcBuff::AppendBytes(const uint8_t* bytes, int32_t n) {
    if (n <= 0)
        return;
    int32_t at = m_length;
    SetLength(at + n);
    std::memcpy(m_head + at, bytes, static_cast<size_t>(n));
}

void cmcBuff::AppendFill(uint8_t value, int32_t n) {
    if (n <= 0)
        return;
    int32_t at = m_length;
    SetLength(at + n);
    std::memset(m_head + at, value, static_cast<size_t>(n));
}

int32_t cmcBuff::PopFront() {
    if (m_length <= 0)
        return -1;
    int32_t b = *m_head;
    ++m_head;
    --m_length;
    --m_capacity;
    if (m_head - m_alloc.get() > 4096)
        Compact();
    return b;
}

void cmcBuff::Drop(int32_t n) {
    n = std::min(std::max(n, 0), m_length);
    m_head += n;
    m_length -= n;
    m_capacity -= n;
    if (m_head - m_alloc.get() > 4096)
        Compact();
}

void cmcBuff::Compact() {
    Reallocate(m_length);
}

void cmcBuff::Clear() {
    m_alloc = std::make_unique<uint8_t[]>(1);
    m_alloc[0] = 0;
    m_head = m_alloc.get();
    m_length = 0;
    m_capacity = 1;
    m_fill = 0;
}

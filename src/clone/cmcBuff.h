#pragma once
// A growable byte buffer with cheap removal from the front: command texts, frames under
// construction, received bytes and the serial port's send queue.
#include <cstdint>
#include <memory>

class cmcBuff {
public:
    cmcBuff();
    cmcBuff(const cmcBuff& other);
    cmcBuff& operator=(const cmcBuff& other);
    ~cmcBuff() = default;

    // Length becomes n; growing past the capacity reallocates n + length / 4 bytes and fills the new
    // space with the fill byte. Negative n counts as 0.
    int32_t SetLength(int32_t n);
    int32_t GetLength() const { return m_length; }
    int32_t GetCapacity() const { return m_capacity; }
    uint8_t* Data() { return m_head; }
    const uint8_t* Data() const { return m_head; }
    // Byte i; i outside the valid bytes is a fatal programming error.
    uint8_t* At(int32_t i);
    const uint8_t* At(int32_t i) const;

    void Assign(const cmcBuff& other);
    void Append(const cmcBuff& other);
    void AppendByte(uint8_t b);
    void SetBytes(const uint8_t* bytes, int32_t n);
    void AppendBytes(const uint8_t* bytes, int32_t n);
    void AppendFill(uint8_t value, int32_t n);
    // Removes and returns the first byte (0 to 255), or -1 when empty.
    int32_t PopFront();
    // Removes the first n bytes (all when n exceeds the length).
    void Drop(int32_t n);
    // Reallocates exactly max(length, 1) bytes with the valid bytes at the start.
    void Compact();
    void Clear();

private:
    void Reallocate(int32_t capacity);

    std::unique_ptr<uint8_t[]> m_alloc;
    uint8_t* m_head = nullptr;
    int32_t m_length = 0;
    int32_t m_capacity = 0;
    uint8_t m_fill = 0;
};

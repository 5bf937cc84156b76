#pragma once
// The radio memory image: a flat, owned byte array standing for the radio's clone memory or for the
// working image derived from it. No knowledge of the memory map, no change tracking.
#include <cstdint>
#include <memory>

class cmcEeprom {
public:
    // Radio clone memory: addresses 0x0000 to 0xFF7F.
    static constexpr int32_t kRadioSize = 65408;
    // Working image (editing layout); every image the main object creates has this size.
    static constexpr int32_t kWorkSize = 0x2092F;

    cmcEeprom() = default;
    cmcEeprom(const cmcEeprom& other) { Assign(other); }
    cmcEeprom& operator=(const cmcEeprom& other) {
        if (this != &other)
            Assign(other);
        return *this;
    }
    cmcEeprom(cmcEeprom&&) noexcept = default;
    cmcEeprom& operator=(cmcEeprom&&) noexcept = default;

    // Reallocates when count differs; whenever count > 0 every byte is then 0x00. count <= 0 empties.
    void SetSize(int32_t count);
    int32_t GetSize() const { return m_size; }
    bool IsValidAddress(int32_t address) const { return address >= 0 && address < m_size; }
    void Fill(uint8_t value);

    // Out-of-range addresses are a fatal programming error: callers check IsValidAddress first.
    void SetByte(int32_t address, uint8_t value);
    uint8_t GetByte(int32_t address) const;

    // All or nothing: copies only when the whole block lies inside the image; returns whether it did.
    bool WriteBlock(int32_t address, const uint8_t* source, int32_t count);
    bool ReadBlock(int32_t address, uint8_t* destination, int32_t count) const;

    void Assign(const cmcEeprom& other);
    bool Equals(const cmcEeprom& other) const;
    bool operator==(const cmcEeprom& other) const { return Equals(other); }

    // The storage itself, for the conversion code and the cell engine (they stay inside GetSize()).
    uint8_t* Data() { return m_data.get(); }
    const uint8_t* Data() const { return m_data.get(); }

private:
    bool BlockInside(int32_t address, int32_t count) const;

    int32_t m_size = 0;
    std::unique_ptr<uint8_t[]> m_data;
};

#include "core/cmcEeprom.h"

#include "core/cmcFatal.h"

#include <cstring>

void cmcEeprom::SetSize(int32_t count) {
    if (count != m_size) {
        m_data.reset();
        m_size = 0;
        if (count > 0) {
            m_data = std::make_unique<uint8_t[]>(static_cast<size_t>(count));
            m_size = count;
        }
    }
    if (count > 0)
        std::memset(m_data.get(), 0, static_cast<size_t>(m_size));
}

void cmcEeprom::Fill(uint8_t value) {
    if (m_size > 0)
        std::memset(m_data.get(), value, static_cast<size_t>(m_size));
}

void cmcEeprom::SetByte(int32_t address, uint8_t value) {
    if (!IsValidAddress(address))
        cmcFatal("Out of EEPROM image address (SetByte).");
    m_data[static_cast<size_t>(address)] = value;
}

uint8_t cmcEeprom::GetByte(int32_t address) const {
    if (!IsValidAddress(address))
        cmcFatal("Out of EEPROM image address (GetByte).");
    return m_data[static_cast<size_t>(address)];
}

bool cmcEeprom::BlockInside(int32_t address, int32_t count) const {
    return address >= 0 && address < m_size && count > 0 && static_cast<int64_t>(address) + count <= m_size;
}

bool cmcEeprom::WriteBlock(int32_t address, const uint8_t* source, int32_t count) {
    if (!BlockInside(address, count))
        return false;
    std::memcpy(m_data.get() + address, source, static_cast<size_t>(count));
    return true;
}

bool cmcEeprom::ReadBlock(int32_t address, uint8_t* destination, int32_t count) const {
    if (!BlockInside(address, count))
        return false;
    std::memcpy(destination, m_data.get() + address, static_cast<size_t>(count));
    return true;
}

void cmcEeprom::Assign(const cmcEeprom& other) {
    if (this == &other)
        return;
    SetSize(other.m_size);
    if (m_size > 0)
        std::memcpy(m_data.get(), other.m_data.get(), static_cast<size_t>(m_size));
}

bool cmcEeprom::Equals(const cmcEeprom& other) const {
    if (m_size != other.m_size)
        return false;
    return m_size == 0 || std::memcmp(m_data.get(), other.m_data.get(), static_cast<size_t>(m_size)) == 0;
}

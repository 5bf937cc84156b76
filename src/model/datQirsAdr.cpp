#include "model/datQirsAdr.h"

#include "core/cmcEeprom.h"
#include "model/indLayout.h"

namespace {
bool Usable(const cmcEeprom* image) {
    return image && image->Data() && image->GetSize() > datQirsAdr::kValueAt + 1;
}
} // namespace

datQirsAdr::datQirsAdr(cmcEeprom* image) : m_image(image) {
    if (Usable(m_image))
        m_n = indLayout::Get16(m_image->Data(), kValueAt);
    Reset();
}

void datQirsAdr::Store(uint16_t n) {
    m_n = n;
    if (Usable(m_image))
        indLayout::Put16(m_image->Data(), kValueAt, n);
    Reset();
}

void datQirsAdr::Reset() {
    const int32_t n = m_n;
    int i = 0;
    auto set = [&](int32_t lo, int32_t hi) {
        m_ranges[i].minimum = lo;
        m_ranges[i].maximum = hi;
        ++i;
    };
    set(0, 0);
    set(0, 4095);
    set(n, 4095);
    set(4095, 4095);
    set(0, 4095);
    set(0, n - 1);
    set(0, n - 1);
    for (int k = 0; k < 7; ++k)
        set(n, 4095);
    for (int k = 0; k < 32; ++k)
        set(0, 4095);
}

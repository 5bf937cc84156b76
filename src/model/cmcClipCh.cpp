#include "model/cmcClipCh.h"

#include "model/indRowKinds.h"

#include <algorithm>

void cmcClipCh::Clear() {
    m_entries.clear();
    m_raw.clear();
    m_kind = 0;
    m_first = 0;
    m_count = 0;
}

void cmcClipCh::Copy(cmcEeprom* image, int kind, int first, int count) {
    Clear();
    if (count < 0) {
        count = 0;
    }
    m_kind = kind;
    m_first = first;
    m_count = count;
    if (indRowKinds::IsRaw(kind)) {
        // Lists without a decoded record travel as their bytes.
        m_raw.resize(std::size_t(count));
        for (int i = 0; i < count; ++i) {
            for (std::span<uint8_t> area : indRowKinds::RawAreas(*image, kind, first + i)) {
                m_raw[std::size_t(i)].insert(m_raw[std::size_t(i)].end(), area.begin(), area.end());
            }
        }
        return;
    }
    m_entries.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        CopyEntry(image, kind, first + i, m_entries[std::size_t(i)]);
    }
}

void cmcClipCh::CopyEntry(cmcEeprom* image, int kind, int index, datCh& record) {
    record.Bind(image);
    record.Decode(kind, index);
}

void cmcClipCh::Paste(cmcEeprom* image, int kind, int first, int count) {
    if (!CanPaste(kind)) {
        return;
    }
    if (indRowKinds::IsRaw(kind)) {
        for (int i = 0; i < m_count && i < count; ++i) {
            const std::vector<uint8_t>& bytes = m_raw[std::size_t(i)];
            std::size_t at = 0;
            for (std::span<uint8_t> area : indRowKinds::RawAreas(*image, kind, first + i)) {
                const std::size_t n = std::min(area.size(), bytes.size() - std::min(at, bytes.size()));
                std::copy_n(bytes.begin() + std::ptrdiff_t(at), n, area.begin());
                at += area.size();
            }
        }
        return;
    }
    for (int i = 0; i < m_count && i < count; ++i) {
        PasteEntry(image, kind, first + i, m_entries[std::size_t(i)]);
    }
}

void cmcClipCh::PasteEntry(cmcEeprom* image, int kind, int index, datCh& record) {
    record.Bind(image);
    record.Encode(kind, index);
}

#include "model/cmcClipCh.h"

void cmcClipCh::Clear() {
    m_entries.clear();
    m_kind = 0;
    m_first = 0;
    m_count = 0;
}

void cmcClipCh::Copy(cmcEeprom* image, int kind, int first, int count) {
    Clear();
    if (count < 0)
        count = 0;
    m_kind = kind;
    m_first = first;
    m_count = count;
    m_entries.resize(std::size_t(count));
    for (int i = 0; i < count; ++i)
        CopyEntry(image, kind, first + i, m_entries[std::size_t(i)]);
}

void cmcClipCh::CopyEntry(cmcEeprom* image, int kind, int index, datCh& record) {
    record.Bind(image);
    record.Decode(kind, index);
}

void cmcClipCh::Paste(cmcEeprom* image, int kind, int first, int count) {
    if (!CanPaste(kind))
        return;
    for (int i = 0; i < m_count && i < count; ++i)
        PasteEntry(image, kind, first + i, m_entries[std::size_t(i)]);
}

void cmcClipCh::PasteEntry(cmcEeprom* image, int kind, int index, datCh& record) {
    record.Bind(image);
    record.Encode(kind, index);
}

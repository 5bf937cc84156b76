#pragma once
// The channel clipboard: a copied run of consecutive list entries as decoded records, pasted into
// the same kind of list in the same or another working image.
#include "model/datCh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class cmcEeprom;

class cmcClipCh {
public:
    cmcClipCh() = default;
    virtual ~cmcClipCh() = default;
    cmcClipCh(const cmcClipCh&) = delete;
    cmcClipCh& operator=(const cmcClipCh&) = delete;

    virtual void Clear();
    virtual void Copy(cmcEeprom* image, int kind, int first, int count);
    virtual void CopyEntry(cmcEeprom* image, int kind, int index, datCh& record);
    virtual bool CanPaste(int kind) const { return m_kind != 0 && m_kind == kind; }
    virtual void Paste(cmcEeprom* image, int kind, int first, int count);
    virtual void PasteEntry(cmcEeprom* image, int kind, int index, datCh& record);

    int Kind() const { return m_kind; }
    int First() const { return m_first; }
    int Count() const { return m_count; }
    // The decoded entry i (kinds with a record).
    const datCh& Entry(int i) const { return m_entries[std::size_t(i)]; }

private:
    std::vector<datCh> m_entries;
    std::vector<std::vector<uint8_t>> m_raw; // the bytes of entries of kinds without a record
    int m_kind = 0;
    int m_first = 0;
    int m_count = 0;
};

#include "model/datClipCh.h"

void datClipCh::PasteEntry(cmcEeprom* image, int kind, int index, datCh& record) {
    m_scratch.Bind(image);
    m_scratch.Decode(kind, index);
    if (m_keepTargetMarks) {
        record.marks = m_scratch.marks;
        record.status = m_scratch.status;
    } else {
        // The group marks belong to the target position; the channel-number marks travel along.
        record.marks = uint8_t((record.marks & ~0x38) | (m_scratch.marks & 0x38));
    }
    cmcClipCh::PasteEntry(image, kind, index, record);
}

void datClipCh::PasteKeepingMarks(cmcEeprom* image, int kind, int first, int count) {
    m_keepTargetMarks = true;
    Paste(image, kind, first, count);
    m_keepTargetMarks = false;
}

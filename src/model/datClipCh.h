#pragma once
// The application clipboard: decides which of the target's channel marks survive a paste.
#include "model/cmcClipCh.h"

class datClipCh : public cmcClipCh {
public:
    void PasteEntry(cmcEeprom* image, int kind, int index, datCh& record) override;
    // Paste, with every target keeping its own marks.
    void PasteKeepingMarks(cmcEeprom* image, int kind, int first, int count);

private:
    bool m_keepTargetMarks = false;
    datCh m_scratch;
};

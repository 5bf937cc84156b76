#pragma once
// The pop-up row commands of the memory channel sheets: copy, paste, clear, insert and delete of one
// channel row or of the selected rows, with their confirmations, limits and status texts. The
// command leaves in the capsule the rows to select afterwards and the cell to move to.
#include <cstdint>

class cmcCellCapsule;
class cmcClipCh;
class cmcEeprom;
class cmcEvMan;
class cmcGTex;
class cmcMessageBox;
class indCellHandler;

class indRowCommands {
public:
    // Range flag bit the command sets when it leaves rows to select (rangeFirst..rangeLast).
    static constexpr uint8_t kRangeToSelect = 0x02;

    struct Services {
        cmcEeprom* work = nullptr;            // the working image the sheets edit
        const cmcEeprom* reference = nullptr; // the data last read or opened (Clear restores it)
        const cmcEeprom* defaults = nullptr;  // the initial data (freed positions take it)
        cmcClipCh* clip = nullptr;            // the channel clipboard
        indCellHandler* handler = nullptr;    // the memory room check
        cmcMessageBox* box = nullptr;
        cmcGTex* texts = nullptr;
        cmcEvMan* events = nullptr; // status texts and the list events
        int32_t modelFamily = 0;
    };

    explicit indRowCommands(const Services& services) : m_s(services) {}

    // Whether command (a CL_PMenu_ cell number) can act on the row of the capsule's cell. bank is the
    // bank the sheet shows (-1: the bank of the row's channel).
    bool Applies(int32_t command, const cmcCellCapsule& capsule, int32_t bank = -1) const;
    // Runs command on the capsule's row, or on the rows of its range (range flag bit 0). False when
    // the command does not belong here; true when it was handled (done, refused or cancelled).
    bool Run(int32_t command, cmcCellCapsule& capsule, int32_t bank = -1);

private:
    struct Rows {
        int kind = 0;  // record kind of the channels
        int bank = 0;  // the bank shown
        int first = 0; // first and last channel index of the bank (last = first - 1 when empty)
        int last = 0;
        int index = 0; // the row's channel (may be the new row after the last)
        int low = 0;   // the rows acted on
        int high = 0;
    };
    bool RowsOf(const cmcCellCapsule& capsule, int32_t bank, Rows& rows) const;
    bool Confirm(const char* key);
    void Error(const char* key);
    void Status(const char* key);
    bool Blank(int kind, int index) const;
    void Select(cmcCellCapsule& capsule, int first, int last);

    void Copy(cmcCellCapsule& capsule, const Rows& rows);
    void Paste(cmcCellCapsule& capsule, const Rows& rows);
    void Clear(cmcCellCapsule& capsule, const Rows& rows);
    void Insert(cmcCellCapsule& capsule, const Rows& rows);
    void Delete(cmcCellCapsule& capsule, const Rows& rows);

    Services m_s;
};

#pragma once
// The pop-up row commands of the list sheets (memory channels of a bank, scan lists, bank operation,
// ID, talk group, repeater, alias and status lists): copy, paste, carry up and down, clear, insert and
// delete of one row or of the selected rows, with their confirmations, limits and status texts. The
// command leaves in the capsule the rows to select afterwards and the cell to move to. The window and
// the command line run the same commands.
#include <cstdint>
#include <vector>

class cmcCellCapsule;
class cmcClipCh;
class cmcEeprom;
class cmcEvMan;
class cmcGTex;
class cmcMessageBox;
class indCellHandler;
struct indRowKind;

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

    // How a command ended.
    enum class Result {
        NotHere,   // not a row command, or not a row of a list
        Done,      // carried out
        Refused,   // a limit or rule stopped it (its message was shown); nothing or part was done
        Cancelled, // a confirmation was answered Cancel; nothing changed
        Nothing,   // nothing to do (no rows in the list, nothing to copy, nothing to move past)
    };

    explicit indRowCommands(const Services& services) : m_s(services) {}

    // Whether command (a CL_PMenu_ cell number) can act on the row of the capsule's cell. group is
    // the bank (or repeater group) the sheet shows, -1: the group of the row's entry.
    bool Applies(int32_t command, const cmcCellCapsule& capsule, int32_t group = -1) const;
    // Runs command on the capsule's row, or on the rows of its range (range flag bit 0).
    Result Execute(int32_t command, cmcCellCapsule& capsule, int32_t group = -1);
    // As Execute; false when the command does not belong here, true when it was handled.
    bool Run(int32_t command, cmcCellCapsule& capsule, int32_t group = -1) {
        return Execute(command, capsule, group) != Result::NotHere;
    }

    // The overlay key of the last command's refusal when it showed no message box (a status text
    // only), else null.
    const char* QuietRefusal() const { return m_quietRefusal; }

    // The record kind the row commands give a cell category (0: the category has none).
    int32_t KindOfCategory(int32_t category) const;

    // Sorting the list whose rows show category: group is the bank or repeater group shown (lists
    // without groups ignore it). SortEntries gives the list's first entry and, for each of its
    // entries, whether it is empty (a channel not in use, an entry of a fixed list that still holds
    // the initial data's entry); false when the category shows no list or the list's rows do not
    // move (the banks carry their channels).
    bool SortEntries(int32_t category, int32_t group, int32_t& first, std::vector<bool>& empty) const;
    // Puts the list's entries in a new order in one change: entry first + i goes to first + order[i],
    // and every reference to a moved entry follows it. order holds one position for each entry of
    // the list. Nothing when order keeps every entry in place or is not a reordering of the entries;
    // Refused (with its status text) when the data does not save the list's entries.
    Result Sort(int32_t category, int32_t group, const std::vector<int32_t>& order);

private:
    struct Rows {
        const indRowKind* list = nullptr;
        int kind = 0;  // record kind of the entries
        int group = 0; // the bank or repeater group shown (0 for lists without groups)
        int first = 0; // first and last entry of the list shown (last = first - 1 when empty)
        int last = 0;
        int index = 0; // the row's entry (may be the blank row after the last)
        int low = 0;   // the rows acted on
        int high = 0;
        int category = 0;
        int cell = 0;
        bool InList(int n) const { return n >= first && n <= last; }
    };
    bool RowsOf(const cmcCellCapsule& capsule, int32_t group, Rows& rows) const;
    // The list of a category for a sort: kind, group, first and last.
    bool SortRows(int32_t category, int32_t group, Rows& rows) const;
    bool Confirm(const char* key);
    void Error(const char* key);
    void Status(const char* key);
    bool Blank(const Rows& rows, int index) const;
    void Select(cmcCellCapsule& capsule, int first, int last);
    void Pack();
    void Post(int32_t event, intptr_t p1 = 0, intptr_t p2 = 0);
    int BankArgument(const Rows& rows) const;

    Result Copy(cmcCellCapsule& capsule, const Rows& rows);
    Result Paste(cmcCellCapsule& capsule, const Rows& rows);
    Result Carry(cmcCellCapsule& capsule, const Rows& rows, int direction);
    Result Clear(cmcCellCapsule& capsule, const Rows& rows);
    Result Insert(cmcCellCapsule& capsule, const Rows& rows);
    Result Delete(cmcCellCapsule& capsule, const Rows& rows);
    // Inserts count entries at position at; the number inserted (an overflow shows its message).
    int InsertEntries(const Rows& rows, int at, int count);

    Services m_s;
    const char* m_quietRefusal = nullptr;
};

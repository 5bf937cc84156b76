#pragma once
// The sheet of the memory channels of one bank: a loop row per channel plus a blank row to append
// one, spare rows up to 138, and the columns the bank's kind does not use hidden.
#include "sheets/cuiSheet.h"

struct cmcEvRec;

class iuiSh_ChBank : public cuiSheet {
public:
    static constexpr int32_t kTableRows = 138;

    iuiSh_ChBank(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell = 0,
                 int32_t startParameter = 0);
    ~iuiSh_ChBank() override;

    void SetKind(std::string_view kind) override;
    void Show() override;
    void ApplyRowKeyword(std::string_view keyword) override;
    void CreateCells(const std::string& cellsKey) override;
    void RowHook(int32_t row) override;
    std::string Title() override;
    bool IsPrintable() override;
    void AddRows(int32_t count) override;
    void RemoveRows(int32_t count) override;

    int32_t Bank() const { return m_bank; }
    int32_t EntryCount() const { return m_entryCount; }
    int32_t FirstEntry() const { return m_firstEntry; }
    int32_t LoopMark() const { return m_loopMark; }
    // Rows the grid moves down after showing (the memory channel window's pending bank row).
    int32_t PendingOffset() const { return m_pendingOffset; }
    // The title bar text with the channels still free (event 46).
    std::string LiveTitle();
    bool SmarTrunk() const;
    // The bank a sheet shows, -1 for a sheet of no bank. The cell handler is told it while the sheet
    // is open (indCellHandler::shownBank): the blank row after a bank's last channel has the next
    // bank's first channel as its record number, yet it is a new row of the bank shown.
    static int32_t BankShown(const cuiSheet& sheet);
    // Whether a cell number is hidden on banks of the given hide set (0 A, 1 B, 2 C, 3 ordinary).
    static bool Hidden(int hideSet, int32_t cell);

private:
    static void OnEvent(void* context, const cmcEvRec& event);
    std::string BankName() const;

    int32_t m_loopMark = -1;
    int32_t m_bank = 0;
    int32_t m_entryCount = 0;
    int32_t m_firstEntry = 0;
    int32_t m_pendingOffset = 0;
};

#pragma once
// The sheet of one list (ID lists, talk groups, repeaters, aliases, languages): a loop row per entry,
// for editable lists a blank row to append one, and spare rows up to 138 or 510.
#include "sheets/cuiSheet.h"

#include <cstdint>

struct cmcEvRec;

class iuiSh_Mch : public cuiSheet {
public:
    iuiSh_Mch(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell = 0,
              int32_t startParameter = 0);
    ~iuiSh_Mch() override;

    void SetKind(std::string_view kind) override;
    void ApplyRowKeyword(std::string_view keyword) override;
    void CreateCells(const std::string& cellsKey) override;
    void RowHook(int32_t row) override;
    std::string Title() override;
    void AddRows(int32_t count) override;
    void RemoveRows(int32_t count) override;

    // Kind letters of the lists that grow and shrink by the row events.
    static bool EditableList(char letter);
    // Kind letters whose sheets keep 510 rows (the others 138).
    static bool LongList(char letter);
    // Record kind of the list a kind letter shows (0 for none).
    static int32_t RecordKindOf(char letter);

    char Letter() const { return m_letter; }
    int32_t EntryCount() const { return m_entryCount; }
    int32_t FirstEntry() const { return m_firstEntry; }
    int32_t ShownGroup() const { return m_shownGroup; }
    int32_t LoopMark() const { return m_loopMark; }
    // The list record kind a repeater sheet (kind R) edits: 22 or 27.
    int32_t RepeaterKind() const { return m_repeaterKind; }
    // The sheet opened from a cell (list windows): shows that cell's parameter.
    void SetShownGroup(int32_t group) { m_shownGroup = group; }

private:
    static void OnEvent(void* context, const cmcEvRec& event);

    char m_letter = 0;
    int32_t m_loopMark = -1;
    int32_t m_bank = 0;
    int32_t m_entryCount = 0;
    int32_t m_firstEntry = 0;
    int32_t m_shownGroup = 0;
    int32_t m_repeaterKind = 22;
};

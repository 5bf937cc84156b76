#pragma once
// Removing and inserting list entries in the working image: every reference to a moved entry is
// renumbered, the entries move, and the freed position takes the initial data's entry.
#include <cstdint>

class cmcEeprom;

class indListEdit {
public:
    static constexpr int kNoBank = -1;

    indListEdit(cmcEeprom& work, const cmcEeprom* defaults);

    // Removes entry a of a list of count entries (count - 1 is freed). False when a or count are not
    // a valid position of the kind's list; then nothing changes. The caller packs afterwards.
    bool DeleteEntry(int kind, int a, int count, int bank = kNoBank);
    // Opens position b in a list that holds count entries afterwards (entries b..count-2 move up and
    // the references to them follow; at the end, b = count - 1, no reference changes).
    bool InsertEntry(int kind, int b, int count, int bank = kNoBank);

private:
    void AdjustReferences(int kind, int position, bool deletion);
    void Move(int kind, int from, int to, int bank);
    void FillFromDefaults(int kind, int position);

    cmcEeprom& m_work;
    const cmcEeprom* m_defaults;
};

#pragma once
// Removing and inserting list entries in the working image: every reference to a moved entry is
// renumbered, the entries move, and the freed position takes the initial data's entry.
#include <cstdint>
#include <functional>
#include <vector>

class cmcEeprom;

class indListEdit {
public:
    static constexpr int kNoBank = -1;
    // What a reference to an entry becomes when entries move: the new index, or kGone when the entry
    // it names is removed (the reference then becomes 0).
    static constexpr int kGone = -1;
    using Renumber = std::function<int(int)>;
    // The renumbering of a block [low, high] moving by direction (+1 down, -1 up) past its neighbour.
    static Renumber BlockMove(int low, int high, int direction);

    indListEdit(cmcEeprom& work, const cmcEeprom* defaults);

    // Removes entry a of a list of count entries (count - 1 is freed). False when a or count are not
    // a valid position of the kind's list; then nothing changes. The caller packs afterwards.
    bool DeleteEntry(int kind, int a, int count, int bank = kNoBank);
    // Opens position b in a list that holds count entries afterwards (entries b..count-2 move up and
    // the references to them follow; at the end, b = count - 1, no reference changes).
    bool InsertEntry(int kind, int b, int count, int bank = kNoBank);

    // Moves the entries low..high one place up (direction -1) or down (+1); the neighbour they pass
    // takes the freed end, and every reference to the moved entries follows them. False when the
    // block or its neighbour is not an entry of the kind's list; then nothing changes.
    // bank: the channels' bank, or the repeater group the entries belong to.
    bool MoveBlock(int kind, int low, int high, int direction, int bank = kNoBank);
    // Puts the entries first..first + order.size() - 1 in a new order: entry first + i goes to
    // first + order[i], and every reference to them follows, each renumbered once. False when order
    // is not a reordering of those entries or they are not entries of the kind's list; then nothing
    // changes. bank as for MoveBlock.
    bool Permute(int kind, int first, const std::vector<int>& order, int bank = kNoBank);

private:
    // group: the bank of a removed channel, or the repeater group edited (kNoBank for none).
    void AdjustReferences(int kind, const Renumber& map, int group = kNoBank);
    void Move(int kind, int from, int to, int bank);
    void FillFromDefaults(int kind, int position);

    cmcEeprom& m_work;
    const cmcEeprom* m_defaults;
};

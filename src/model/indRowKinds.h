#pragma once
// What the row commands know of each list they edit: which record kind a row cell's category
// shows, how the list is counted and bounded, whether it grows and shrinks, its largest counts, its
// insert and delete events, and where the entries of the lists that have no decoded record live.
#include <cstdint>
#include <span>
#include <vector>

class cmcEeprom;

struct indRowKind {
    // How the entries of the list are counted.
    enum class Count {
        Channels, // the memory channels, bank after bank (kinds 1 and 2)
        Groups,   // repeaters, group after group by bank (kinds 22 and 27)
        InUse,    // the list's own count of entries in use (ID, talk group and alias lists)
        Fixed,    // every entry of the table always exists (scan lists, banks, dPMR status)
    };
    // What a delete must leave behind.
    enum class Keep {
        Nothing,
        OneEntry,      // at least one entry (ID and talk group lists)
        OneOfEachType, // one individual and one group entry (dPMR ID list)
        Priority,      // no priority channel may go (memory channels)
    };

    int32_t kind = 0;
    Count count = Count::Fixed;
    Keep keep = Keep::Nothing;
    int32_t capacity = 0; // largest count for insert (in all)
    int32_t perGroup = 0; // largest count per group, 0 for none
    int32_t insertEvent = 0;
    int32_t deleteEvent = 0;

    // Insert and delete apply (the list grows and shrinks).
    bool Resizable() const { return count != Count::Fixed; }
    // The list's rows end in a blank row that adds an entry.
    bool HasBlankRow() const { return Resizable(); }
};

class indRowKinds {
public:
    // The row-command properties of a record kind; null for a kind without row commands.
    static const indRowKind* Of(int32_t kind);
    // The record kind the rows of a cell category show (channels by model family); 0 for none.
    static int32_t KindOfCategory(int32_t category, int32_t modelFamily);

    // For the kinds without a decoded record (bank operation settings, dPMR status list): the
    // working-image byte areas of entry index, empty for other kinds or an index out of range.
    static std::vector<std::span<uint8_t>> RawAreas(cmcEeprom& image, int32_t kind, int32_t index);
    static bool IsRaw(int32_t kind);

    // Entries of the list in use (channels in all, repeaters in all, the list's count, the capacity).
    static int32_t Total(const cmcEeprom& work, const indRowKind& kind);
    // Entries of group in use (the bank's channels or repeaters; the total for ungrouped lists).
    static int32_t GroupSize(const cmcEeprom& work, const indRowKind& kind, int group);
    // The first entry of group (0 for ungrouped lists).
    static int32_t GroupFirst(const cmcEeprom& work, const indRowKind& kind, int group);
    // The group holding entry index, or -1 (0 for ungrouped lists).
    static int GroupOf(const cmcEeprom& work, const indRowKind& kind, int32_t index);
    // Sets the size of group (for ungrouped lists the list's count).
    static void SetGroupSize(cmcEeprom& work, const indRowKind& kind, int group, int32_t size);
    static bool Grouped(const indRowKind& kind) {
        return kind.count == indRowKind::Count::Channels || kind.count == indRowKind::Count::Groups;
    }
};

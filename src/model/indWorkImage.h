#pragma once
// Converts the working image between the radio's packed tables (0x0000-0xFF7F) and the fixed slots
// above them, and answers whether new entries still fit into the radio's memory.
#include <cstdint>
#include <vector>

class cmcEeprom;
class cmcMessageBox;

class indWorkImage {
public:
    struct Table {
        int64_t offset = 0; // image offset of the first entry (may lie anywhere in hostile data)
        int count = 0;
        int size = 0;
    };

    // work: the image being converted (at least the working-image size, else nothing happens).
    // defaults: the model type's initial image (channel slots beyond the radio's are filled from it;
    // may be null: zeros). box: where a broken directory is reported (may be null).
    indWorkImage(cmcEeprom& work, const cmcEeprom* defaults, cmcMessageBox* box = nullptr);

    // Packed -> fixed slots, then PackTables with the radio flag off.
    void ExpandTables();
    // What packing ended with: done, no working image to pack, the tables (or the directory and the
    // signature after them) did not fit into radio memory, a table identifier came twice.
    enum class PackResult { Ok, NoImage, MemoryFull, DuplicateTable };
    // Which tables beyond this model's own packing order go into the packed memory: those the data
    // already holds (a radio or file of a related variant), or every table that has a slot (new data,
    // which then holds the whole radio; later packings carry them as held tables).
    enum class Carry { Held, Every };
    // Fixed slots -> packed. On an error the packed memory stays as far as it was built.
    PackResult PackTables(bool radio, Carry carry = Carry::Held);
    // Copies the packed directories into their working copies; tells whether either is present.
    bool CopyDirectories();
    bool FindTable(int id, Table& out) const;
    // Whether n more entries of a list kind (2 and 4 for channels of group) fit into radio memory.
    bool FitsInMemory(int listKind, int n, int group) const;

    // Where the packed data starts (radio address of image offset 0x0200); 0 without header fields.
    static uint32_t DataStart(const uint8_t* w);
    // Group counts: a running sum above 128 sets that group's count to 0.
    static void ClampGroupCounts(uint8_t* w);
    // Whether the byte at a working-image offset survives packing, and so a save or a clone write: it
    // lies in the slot of a table this model packs, or of a table the data holds (which packing
    // carries through). Bytes outside every slot, and slots of tables neither packed nor held, do not.
    // Entries past the count the table is saved with (a carried list, table 101) are not kept.
    static bool Keeps(const uint8_t* w, int32_t offset);
    // Whether every byte of [offset, offset + size) is kept.
    static bool KeepsRange(const uint8_t* w, int32_t offset, int32_t size);
    // Whether the table whose slot holds the byte at offset is saved at all, whatever its entry count:
    // the test for a list's blank row, whose new entry raises the count.
    static bool HoldsTableAt(const uint8_t* w, int32_t offset);

private:
    struct Carried {
        int id;
        int count;
    };
    static std::vector<Carried> CarriedTables(const uint8_t* w, Carry carry);
    bool Usable() const;
    bool Place(int id, int32_t from, int size, int count, int32_t& offset, int& entries);

    cmcEeprom& m_work;
    const cmcEeprom* m_defaults;
    cmcMessageBox* m_box;
};

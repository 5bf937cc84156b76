#pragma once
// The windows a cell opens next to itself when a value is picked or composed rather than typed: choice
// lists, the bit-field editor, the display-text editor, the character editor and the password dialog.
// The desktop program implements them; they answer the opening cell through a copy of its capsule.
#include <cstdint>
#include <string>
#include <string_view>

class cmcCellCapsule;

class cmcCellWindows {
public:
    virtual ~cmcCellWindows() = default;

    // Choice list window showing the list section listName + "_Cells"; the entry of choiceCell whose
    // parameter is value is the current one. opener is the capsule of the cell that asked (may be
    // null where no capsule exists, e.g. in tests).
    virtual void OpenList(const cmcCellCapsule* opener, std::string_view listName, int32_t choiceCell,
                          int32_t value) = 0;

    // Choice list built from a data list (ID lists, talk groups), shown by the model's list sheet of
    // kind mode (a one-letter text). Without a model sheet it is the plain list window.
    virtual void OpenModelList(const cmcCellCapsule* opener, std::string_view listName, int32_t choiceCell,
                               int32_t value, std::string_view mode) {
        (void)mode;
        OpenList(opener, listName, choiceCell, value);
    }

    // Bit-field editor over positions first..last of value; labelStyle and title as the cell gives them.
    virtual void OpenBits(const cmcCellCapsule* opener, int32_t value, int32_t first, int32_t last,
                          int32_t labelStyle, std::string_view title) = 0;

    // Editor of a text shown on the radio's display. text is already escaped for editing ("%%", "%1F");
    // userGlyphs holds the 16 user-defined character patterns (two bytes each, high byte first) or is
    // null; wide selects the 25-per-row preview.
    virtual void OpenDisplayText(const cmcCellCapsule* opener, std::string_view text, bool selectAll,
                                 int32_t maxLength, const uint8_t* userGlyphs, bool wide) = 0;

    // Editor of one user-defined display character's segment pattern.
    virtual void OpenCharEditor(const cmcCellCapsule* opener, int32_t pattern) = 0;

    // Modal read/write password dialog. Returns true and the entered text when it is confirmed.
    virtual bool AskPassword(const cmcCellCapsule* opener, std::string& password) = 0;
};

#pragma once
// One codec call as a value codec sees it: what the user did on the cell (key, entered text, chosen
// list entry) and what the codec answers (display text, selection, handler result). The cell handler
// fills it from the cell capsule and copies the answer back.
#include "cells/cmcCanvas.h"
#include "cells/cmcCellCapsule.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class cmcCodecEnv;

struct cmcCodecIo {
    // Key codes as cells receive them: the capsule's, named here for the codecs.
    static constexpr int32_t kKeyBackspace = cmcCellCapsule::kKeyBackspace;
    static constexpr int32_t kKeyReturn = cmcCellCapsule::kKeyReturn;
    static constexpr int32_t kKeySpace = cmcCellCapsule::kKeySpace;
    static constexpr int32_t kKeyActivate = cmcCellCapsule::kKeyActivate; // double click: carriage return
    static constexpr int32_t kKeyLeft = cmcCellCapsule::kKeyLeft;
    static constexpr int32_t kKeyRight = cmcCellCapsule::kKeyRight;
    // Edit states.
    static constexpr int32_t kShow = 0;
    static constexpr int32_t kEntered = 1;
    static constexpr int32_t kChosen = 2;
    // Handler results.
    static constexpr int32_t kResultNone = 0;
    static constexpr int32_t kResultRefresh = 1;
    static constexpr int32_t kResultEdit = 2;
    // Font colours a codec sets while drawing.
    static constexpr uint32_t kGrey = 0xC0C0C0;
    static constexpr uint32_t kOlive = 0x008080;
    // Why a typed text or a choice was refused: overlay keys of the reasons; "%1", "%2" in their
    // texts take the limits.
    static constexpr std::string_view kRefuseNumber = "GI_AppMess_Refuse_Number"; // no number typed
    static constexpr std::string_view kRefuseRange = "GI_AppMess_Refuse_Range";   // %1 lowest, %2 highest
    static constexpr std::string_view kRefuseBand = "GI_AppMess_Refuse_Band";     // %1, %2 in MHz
    static constexpr std::string_view kRefuseRaster = "GI_AppMess_Refuse_Raster"; // %1, %2 kHz steps
    static constexpr std::string_view kRefuseLength = "GI_AppMess_Refuse_Length"; // %1 characters
    static constexpr std::string_view kRefuseChars = "GI_AppMess_Refuse_Chars";   // %1 the characters taken
    static constexpr std::string_view kRefuseList = "GI_AppMess_Refuse_List";     // not a list entry
    static constexpr std::string_view kRefuseWildcard = "GI_AppMess_Refuse_Wildcard"; // "*" misplaced
    static constexpr std::string_view kRefuseEmptyRow = "GI_AppMess_Refuse_EmptyRow"; // row has no entry yet

    // --- in ---
    int32_t key = 0;       // only honoured with grid set
    int32_t editState = 0; // kShow, kEntered (enteredText valid), kChosen (chosen* valid)
    std::string enteredText;
    bool grid = false;   // an interactive grid: keys, editors and windows allowed
    bool linked = false; // the capsule has a link (an answer call, or a cell inside a window)
    int32_t chosenCell = 1754;
    int32_t chosenParam = 0;
    bool shift = false;                      // Shift held (adjustment cells take larger steps)
    cmcCellCanvas* canvas = nullptr;         // set while drawing: font colour for grey and olive values
    cmcCanvas* painter = nullptr;            // the same canvas where it can paint (display-text glyphs)
    cmcCanvas::Rect rect;                    // the cell's rectangle (painted codecs draw into it)
    const cmcCellCapsule* capsule = nullptr; // handed to the windows a codec opens
    cmcCodecEnv* env = nullptr;              // the overlay the refusal reasons come from

    // --- out ---
    std::string displayText;
    int32_t selStart = 0;
    int32_t selLength = 0;
    int32_t result = kResultNone;
    int32_t align = -1;       // horizontal alignment the codec asks for (0, 1, 2), -1 unchanged
    bool restartEdit = false; // reopen the in-place editor with displayText and selection
    std::string refusal;      // why the entered text or choice was refused; "" when it was not

    // The key that applies: 0 without a grid; activation reads as carriage return.
    int32_t Key() const {
        if (!grid)
            return 0;
        return key == kKeyActivate ? kKeyReturn : key;
    }
    bool Chose(int32_t cell) const { return editState == kChosen && linked && chosenCell == cell; }

    // Sets the display text with the whole text selected.
    void Show(std::string_view text) {
        displayText.assign(text);
        selStart = 0;
        selLength = static_cast<int32_t>(displayText.size());
    }
    // Opens the in-place editor with the current display text trimmed and wholly selected.
    void OpenEditorTrimmed();
    // Opens the in-place editor with text and the caret at caret (nothing selected).
    void OpenEditorAt(std::string_view text, int32_t caret);
    // Opens the in-place editor with one typed character, the caret after it.
    void OpenEditorWith(char c) { OpenEditorAt(std::string_view(&c, 1), 1); }
    // Opens the in-place editor with text, wholly selected.
    void OpenEditorSelected(std::string_view text) {
        Show(text);
        result = kResultEdit;
    }
    void SetFontColor(uint32_t color) const;
    // Refuses the entered text or choice: the reason is the overlay text of key with its placeholders
    // filled from values. Without an overlay the key and the values stand for the text.
    void Refuse(std::string_view key, std::initializer_list<std::string_view> values = {});

    // The codec's view of a capsule, and its answer written back (display text, selection, alignment,
    // refusal, restart of the in-place editor). The handler result stays in result.
    static cmcCodecIo FromCapsule(const cmcCellCapsule& capsule);
    void ToCapsule(cmcCellCapsule& capsule) const;
    // A value that does not apply to the current settings: "----" in grey; keys are ignored.
    void ShowDashes() {
        Show("----");
        SetFontColor(kGrey);
    }
};

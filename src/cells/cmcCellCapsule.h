#pragma once
// One cell in context, handed to the model's cell handler: where the cell is shown, what the user did,
// and, back from the handler, the text to show, editor selection, marks, a redirect and what to redraw.
#include <cstdint>
#include <string>

class cmcCellObj;
class cmcCellCanvas;
class cuiSheet;

class cmcCellCapsule {
public:
    // Called by the handler at the end of an action with the accumulated refresh scope bits.
    using RefreshFn = void (*)(void* context, cmcCellCapsule& capsule, uint8_t scope);
    // Called by a behaviour that wants the in-place editor reopened on this cell (flag 0) with the
    // capsule's display text and selection.
    using RestartEditFn = void (*)(void* context, cmcCellCapsule& capsule, int32_t flag);

    struct Rect {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
    };
    // Where the sheet moves its cursor after the call, and the key it handles there.
    struct Redirect {
        int32_t on = 0;
        int32_t category = 0;
        int32_t cell = 0;
        int32_t parameter = 0;
        int32_t key = 0;
    };

    // Key codes: characters as themselves; 256 activates the current cell like carriage return;
    // arrow and function keys as their virtual-key code times 256.
    static constexpr int32_t kKeyNone = 0;
    static constexpr int32_t kKeyBackspace = 8;
    static constexpr int32_t kKeyReturn = 13;
    static constexpr int32_t kKeySpace = 32;
    static constexpr int32_t kKeyActivate = 256;
    static constexpr int32_t kKeyLeft = 0x2500;
    static constexpr int32_t kKeyRight = 0x2700;
    static constexpr int32_t kKeyF1 = 0x7000;
    static constexpr int32_t kKeyF12 = 0x7B00;
    static constexpr int32_t KeyF(int n) { return kKeyF1 + (n - 1) * 0x100; }

    // State bits.
    static constexpr uint8_t kStateCurrent = 0x01;  // in: the grid's current cell
    static constexpr uint8_t kStatePrinting = 0x02; // in: drawing for the printer
    static constexpr uint8_t kStateWarning = 0x04;  // out: warning mark
    static constexpr uint8_t kStateError = 0x08;    // out: error mark

    // Mark positions.
    static constexpr int32_t kMarkAuto = 0; // left edge for right-aligned text, else after the text
    static constexpr int32_t kMarkLeft = 1;
    static constexpr int32_t kMarkAfterText = 3;

    // Edit states.
    static constexpr int32_t kEditShow = 0;    // show, or act on the key
    static constexpr int32_t kEditEntered = 1; // enteredText was committed in the in-place editor
    static constexpr int32_t kEditChosen = 2;  // a list entry was chosen; link is its capsule

    // Refresh scope bits: which visible cells to redraw relative to the acted-on cell.
    static constexpr uint8_t kScopeSelf = 0x01;       // same cell number and parameter
    static constexpr uint8_t kScopeCategory = 0x02;   // same category
    static constexpr uint8_t kScopeCell = 0x04;       // same cell number
    static constexpr uint8_t kScopeRecord = 0x08;     // same parameter (same record)
    static constexpr uint8_t kScopeNeighbours = 0x10; // same category, parameter within 1
    static constexpr uint8_t kScopeAll = 0x20;        // every cell with a cell number
    static constexpr uint8_t kScopeFromHere = 0x40;   // parameter not below the acted-on one
    static constexpr uint8_t kScopeUpToHere = 0x80;   // parameter not above the acted-on one

    // Range flag bits.
    static constexpr uint8_t kRangeBlock = 0x01; // a block of rows is selected

    cmcCellCapsule* link = nullptr; // opener's capsule, or in an answer the chosen entry's capsule
    int32_t groupIndex = 0;         // caller's extra context (e.g. the bank of a channel check)
    void* ownerControl = nullptr;   // control the cell lives in (parent of windows a behaviour opens)
    bool onGrid = false;            // on an interactive grid: off for drawing, printing and state queries
    cmcCellObj* cell = nullptr;
    cmcCellCanvas* canvas = nullptr; // set only while the cell is drawn
    void* windowOwner = nullptr;     // owner component for list and editor windows
    Rect cellRect;
    int32_t selStart = 0;
    int32_t selLength = 0;
    int32_t key = 0;
    int32_t command = 0; // cell number of the pop-up command chosen on the cell
    std::string enteredText;
    std::string displayText;
    std::string refusal; // out: why the entered text or choice was refused; "" when it was not
    uint8_t stateBits = 0;
    int32_t markPosition = 0;
    int32_t editState = 0;
    Redirect redirect;
    cuiSheet* sheet = nullptr;
    uint8_t rangeFlags = 0;
    int32_t rangeFirst = 0;
    int32_t rangeLast = 0;
    RefreshFn refresh = nullptr;
    void* refreshContext = nullptr;
    RestartEditFn restartEdit = nullptr;
    void* restartEditContext = nullptr;

    // Clears every field except the group index.
    void ResetCapsule();
    // Copies every field except the group index; of the state bits only bits 0 to 3.
    void CopyCapsule(const cmcCellCapsule& source);

    // Calls the refresh callback when it is set and scope is not 0.
    void Refresh(uint8_t scope);
    // Calls the restart-edit callback when it is set.
    void RestartEdit(int32_t flag = 0);
    // Selects the whole display text for the in-place editor.
    void SelectAll();

    // Whether a refresh with scope, acted on cell acted, redraws the visible cell visible.
    static bool ScopeSelects(uint8_t scope, const cmcCellObj& acted, const cmcCellObj& visible);
};

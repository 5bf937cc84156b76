#pragma once
// The cell call: sheets, painting, menus, toolbar, tree, the warning check and the printer hand one
// cell in a capsule to the model's handler and act on its answer.
#include <cstdint>

class cmcCellCapsule;

class cmcCellHandler {
public:
    // Notify codes.
    static constexpr int32_t kNotifyDraw = 0;   // draw or state query: never changes data
    static constexpr int32_t kNotifyAction = 1; // a key, command, entered text or list answer
    // Results.
    static constexpr int32_t kResultNone = 0;    // just show the display text
    static constexpr int32_t kResultRefresh = 1; // something changed or a window opened: refresh
    static constexpr int32_t kResultEdit = 2;    // open the in-place editor with text and selection

    virtual ~cmcCellHandler() = default;
    // Only with kNotifyAction does the handler call the capsule's refresh callback.
    virtual int32_t CallCell(cmcCellCapsule& capsule, int32_t notify) = 0;
};

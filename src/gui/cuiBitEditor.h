#pragma once
// The bit-field editor: one tick cell per bit position under a heading row of labels, on a small sheet
// of its own. A click, space or the label's key toggles a tick; Enter or OK answers the value in
// decimal, Escape or Cancel drops it.
#include "cells/cmcCellHandler.h"
#include "gui/cuiEditorWindow.h"
#include "sheets/cuiSheetEnv.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class cmcGTex;
class cuiSheetView;

class cuiBitEditor : public cuiEditorWindow {
    Q_OBJECT
public:
    // Label styles of the heading row.
    static constexpr int32_t kLabelHex = 1;
    static constexpr int32_t kLabelDecimal = 2;      // 10 shown as 0
    static constexpr int32_t kLabelNumeric = 3;      // as decimal, 17 shown as Z
    static constexpr int32_t kLabelAlphanumeric = 4; // 0-9, then letters; 17 shown as Z
    static constexpr int32_t kLabelLetters = 5;      // A for 1
    static constexpr int32_t kLabelSentences = 6;    // the positioning sentence names; at most 3 set
    static constexpr int32_t kLabelDownwards = 7;    // B followed by last - p
    // Mark styles of a set tick.
    static constexpr int32_t kMarkLetter = 0; // an "o"
    static constexpr int32_t kMarkTick = 1;   // a drawn tick mark

    struct Setup {
        int32_t value = 0;
        int32_t first = 1; // the first position holds the value's highest bit
        int32_t last = 8;
        int32_t labelStyle = kLabelDecimal;
        int32_t markStyle = kMarkTick;
        std::string title; // shown above the ticks when not empty
    };

    cuiBitEditor(QWidget* owner, const cmcCellCapsule& opener, const cuiSheetEnv& env,
                 cmcCellHandler* handler, const Setup& setup);
    ~cuiBitEditor() override;

    uint32_t Value() const { return m_value; }
    // Tick k (1 = the first position).
    bool Tick(int32_t k) const;
    void Toggle(int32_t k);
    int32_t Positions() const { return m_setup.last - m_setup.first + 1; }
    cuiSheetView& View() { return *m_view; }

    // The heading label of position p.
    static std::string Label(int32_t p, int32_t first, int32_t last, int32_t style);
    // The editor's private overlay: its sheet with a heading and a tick row, and the named cell sets
    // it uses (taken from main when it has them).
    static std::vector<std::string> SheetLines(const Setup& setup, cmcGTex* main);

protected:
    std::string Result() const override;
    bool Acceptable() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The cell handler of the editor's sheet: the tick cells are the editor's, all others the model's.
    class Cells : public cmcCellHandler {
    public:
        Cells(cuiBitEditor& editor, cmcCellHandler* model) : m_editor(editor), m_model(model) {}
        int32_t CallCell(cmcCellCapsule& capsule, int32_t notify) override;

    private:
        cuiBitEditor& m_editor;
        cmcCellHandler* m_model;
    };
    int32_t SetCount() const;
    bool TooMany() const;
    void DrawTick(cmcCellCapsule& capsule) const;

    Setup m_setup;
    uint32_t m_value = 0;
    std::unique_ptr<cmcGTex> m_texts;
    Cells m_cells;
    cuiSheetView* m_view = nullptr;
};

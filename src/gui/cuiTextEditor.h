#pragma once
// The editor of a text shown on the radio's display: a one-line text field, a preview of the text as
// the display shows it, and the list of characters the display can show (the user characters drawn
// from their segment patterns). A character is put in with space, Enter or a double click on it; Enter
// in the text or OK answers, Escape in the text or Cancel drops the edit, Escape or Backspace in the
// list goes back to the text. The text never grows beyond what the display field holds.
#include "cells/cmcCellHandler.h"
#include "cells/cmcSegChar.h"
#include "gui/cuiEditorWindow.h"
#include "sheets/cuiSheetEnv.h"

#include <array>
#include <cstdint>
#include <string>

class QLineEdit;
class cuiSheetView;

class cuiTextEditor : public cuiEditorWindow {
    Q_OBJECT
public:
    struct Setup {
        std::string text; // the editing text ("%%", "%1F" escapes)
        bool selectAll = false;
        int32_t maxLength = 8;
        const uint8_t* userPatterns = nullptr; // 16 patterns of two bytes, or null
        bool wide = false;
    };
    cuiTextEditor(QWidget* owner, const cmcCellCapsule& opener, const cuiSheetEnv& env,
                  cmcCellHandler* handler, cmcSegChar segments, const Setup& setup);
    ~cuiTextEditor() override;

    QLineEdit& Memo() { return *m_memo; }
    cuiSheetView& List() { return *m_list; }
    QWidget* Preview() { return m_preview; }
    // Puts the display character code at the caret (replacing the selection).
    void InsertCharacter(int32_t code);
    // Display characters the text holds.
    static int32_t Length(const std::string& text);

protected:
    std::string Result() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Cells : public cmcCellHandler {
    public:
        Cells(cuiTextEditor& editor, cmcCellHandler* model) : m_editor(editor), m_model(model) {}
        int32_t CallCell(cmcCellCapsule& capsule, int32_t notify) override;

    private:
        cuiTextEditor& m_editor;
        cmcCellHandler* m_model;
    };
    void PaintPreview();
    void TextChanged();
    cmcTextCodecs::Glyphs Glyphs() const;

    Setup m_setup;
    cmcGTex* m_texts = nullptr; // the refusal text
    std::array<uint8_t, 32> m_patterns{};
    bool m_hasPatterns = false;
    cmcSegChar m_segments;
    Cells m_cells;
    QLineEdit* m_memo = nullptr;
    QWidget* m_preview = nullptr;
    cuiSheetView* m_list = nullptr;
    QString m_lastGood;
    int32_t m_perRow = 8;
    int32_t m_rows = 1;
};

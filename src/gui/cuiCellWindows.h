#pragma once
// The windows cells open in the desktop program: choice lists beside the cell (those of radio data
// lists offer the entries there are), the bit-field editor, the display-text editor, the character
// editor for user characters and the password dialog. Each answers the opening cell through a copy of
// its capsule; the commit of edits makes an open editor answer.
#include "cells/cmcCellWindows.h"
#include "cells/cmcSegChar.h"
#include "sheets/cuiSheetEnv.h"

#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

class QWidget;
class cmcCellHandler;
class cmcCellObj;
class cuiFlector;
class cmcEvMan;
struct cmcEvRec;

class cuiCellWindows : public cmcCellWindows {
public:
    // Listens on env.events (when set) for the commit of edits: lists then close, editors answer.
    explicit cuiCellWindows(const cuiSheetEnv& env);
    ~cuiCellWindows() override;
    cuiCellWindows(const cuiCellWindows&) = delete;
    cuiCellWindows& operator=(const cuiCellWindows&) = delete;

    void SetHandler(cmcCellHandler* handler) { m_handler = handler; }
    // The sheets' build environment of the open sheet (its event manager stays the first one).
    void SetEnv(const cuiSheetEnv& env);
    // The work area windows are kept on; by default the screen's available area.
    std::function<QRect()> workArea;
    // Bracket the answer of a list or editor window to its opening cell: one step of the edit history.
    std::function<void(const cmcCellObj* cell)> onAnswerBegin;
    std::function<void()> onAnswerEnd;

    void OpenList(const cmcCellCapsule* opener, std::string_view listName, int32_t choiceCell,
                  int32_t value) override;
    void OpenBits(const cmcCellCapsule* opener, int32_t value, int32_t first, int32_t last,
                  int32_t labelStyle, std::string_view title) override;
    void OpenDisplayText(const cmcCellCapsule* opener, std::string_view text, bool selectAll,
                         int32_t maxLength, const uint8_t* userGlyphs, bool wide) override;
    void OpenCharEditor(const cmcCellCapsule* opener, int32_t pattern) override;
    bool AskPassword(const cmcCellCapsule* opener, std::string& password) override;

    // The open list window, if any.
    cuiFlector* List() const;
    // The open editor window (bits, display text, character), if any.
    QWidget* Editor() const { return m_editor; }
    // Closes every window without an answer.
    void CloseAll();

private:
    static void OnEvent(void* context, const cmcEvRec& event);
    // Sends text to the opening cell as the answer of an editor window.
    void Answer(const cmcCellCapsule& opener, const std::string& text);
    QWidget* Owner(const cmcCellCapsule* opener) const;
    QRect WorkArea() const;
    // The display characters' segments from the overlay, read once.
    const cmcSegChar& Segments();

    cuiSheetEnv m_env;
    cmcEvMan* m_events = nullptr;
    cmcCellHandler* m_handler = nullptr;
    QPointer<cuiFlector> m_list;
    QPointer<QWidget> m_editor;
    std::optional<cmcSegChar> m_segments;
};

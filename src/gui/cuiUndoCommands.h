#pragma once
// Undo and Redo in the desktop program: every user action (a cell edit, a row command on any number of
// rows, a paste, a window's OK, an import) becomes one step of the working image's history, named in
// the overlay's words. The Edit menu's Undo and Redo entries and their keys take steps back and make
// them again; a change that no action announced still becomes a step of its own.
#include "app/indUndoHistory.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;
class cmcEeprom;
class cmcGTex;
class cuiSheet;

class cuiUndoCommands : public QObject {
    Q_OBJECT
public:
    struct Services {
        cmcEeprom* work = nullptr; // the working image the window edits
        cmcGTex* texts = nullptr;
        // Whether an in-place cell editor is open: an action whose key opened one goes on until it
        // closes, so that a new row made by the first key and the text typed are one step.
        std::function<bool()> editing;
        // While it answers true (a clone or a print runs) no step is taken back or made again.
        std::function<bool()> busy;
        // Before a step is taken back or made again: what open editors hold is settled.
        std::function<void()> settle;
        // The data became a step's image again: the window shows it.
        std::function<void()> restored;
        // The steps or the saved point changed: the title and the commands follow.
        std::function<void()> changed;
    };
    // The names of the steps: the lines of GI_Undo_Steps.
    enum Name {
        kEdit,
        kEditNamed,
        kPaste,
        kClear,
        kDelete,
        kInsert,
        kMoveUp,
        kMoveDown,
        kCut,
        kRepeaters,
        kImport,
        kSort
    };

    // The Undo and Redo actions act in window (their keys work wherever its focus is).
    cuiUndoCommands(const Services& services, QWidget* window);

    // One user action: what it changes in the data between Begin and End becomes one step named label
    // (the step's name when the label is empty). Actions inside an action belong to the outer one.
    void Begin(const std::string& label);
    void End();
    class Action {
    public:
        Action(cuiUndoCommands& commands, const std::string& label) : m_commands(commands) {
            m_commands.Begin(label);
        }
        ~Action() { m_commands.End(); }
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        cuiUndoCommands& m_commands;
    };
    // An action is open (or waits for its in-place editor to close).
    bool Acting() const { return m_depth > 0 || m_held; }

    // Outside actions: a change of the data that no action recorded becomes a step ("Edit").
    void Sync();
    // Takes the last step back, makes the next one again; false when there is none (or an action is open).
    bool Undo();
    bool Redo();
    // A new history on the data as it is now (read, new, opened). saved: the data is what its file holds.
    void Clear(bool saved);
    // The data was saved as it is now.
    void Saved();
    bool Unsaved() const { return m_history.Unsaved(); }
    const indUndoHistory& History() const { return m_history; }

    // The name of a step; of an edit of a sheet's cell (with its column's or setting's caption); of a
    // pop-up row command (CL_PMenu_...; other commands are cell edits).
    std::string StepName(Name name);
    std::string CellEditName(const cuiSheet& sheet, int col, int row);
    std::string CommandName(int32_t command, const cuiSheet& sheet, int col, int row);

    QAction* UndoAction() { return m_undo; }
    QAction* RedoAction() { return m_redo; }
    // Puts Undo and Redo at the top of menu.
    void AddToMenu(QMenu* menu);
    // The entries' texts and states from the history.
    void UpdateActions();

private:
    void Record(const std::string& label);
    void Restore(const cmcEeprom* image);
    std::string MenuText(int line, int namedLine, const std::string& label);

    Services m_s;
    indUndoHistory m_history;
    int m_depth = 0;
    bool m_held = false; // the action ended with its editor open; its step is made when it closes
    std::string m_label; // of the action open or held
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
};

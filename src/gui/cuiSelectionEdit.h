#pragma once
// Edits of several selected cells of one column in the window: the in-place editor's text, a list
// window's choice and a space or backspace step go to every selected cell, Fill down (Ctrl+D) copies
// the top cell to the others and Fill series (Ctrl+Shift+D) counts frequencies or IDs down the
// selection. Each is one step of the edit history; the cells that refuse are listed with their row
// and reason in a message box and the status bar.
#include "sheets/iuiSelectionEdit.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class cmcCellObj;
class cmcCodecEnv;
class cmcGTex;
class cmcMessageBox;
class cuiSheetView;
class cuiUndoCommands;
class indCellHandler;

class cuiSelectionEdit : public QObject {
    Q_OBJECT
public:
    struct Services {
        indCellHandler* handler = nullptr;
        cmcCodecEnv* codecs = nullptr;
        cuiUndoCommands* undo = nullptr;
        cmcGTex* texts = nullptr;
        cmcMessageBox* box = nullptr;
        // The open sheets, the one with the focus first: Fill down and Fill series act on it, and a
        // list window's answer goes to the selection of the sheet whose current cell it answers.
        std::function<std::vector<cuiSheetView*>()> views;
    };
    // The Fill actions act in window (their keys work wherever its focus is).
    cuiSelectionEdit(const Services& services, QWidget* window);

    // Lets the view's selection take typed texts and stepping keys.
    void Wire(cuiSheetView& view);
    // The text typed into every selected cell of col; false (nothing done) unless two or more are.
    bool ApplyText(cuiSheetView& view, int col, int row, const std::string& text);
    // The key pressed once on every selected cell of the current column; false when fewer than two
    // are selected or no cell steps on it (a text cell then opens its editor as usual).
    bool ApplyKey(cuiSheetView& view, int32_t key);
    // The top selected cell's text to the other selected cells; false without such a selection.
    bool FillDown();
    // Asks for the start and the step and fills the selected cells top to bottom.
    void FillSeries();
    // The series into the selected cells of the focused sheet's current column, as the dialog's OK
    // does; false with the dialog's message in error when a field is wrong.
    bool ApplySeries(const std::string& start, const std::string& step, std::string& error);
    // A list window answers a cell, then has answered: when the cell is the current one of a
    // selection, the choice goes to the other selected cells within the same step.
    void Answering(const cmcCellObj* cell);
    void Answered();

    QAction* FillDownAction() { return m_fillDown; }
    QAction* FillSeriesAction() { return m_fillSeries; }
    // Puts the Fill entries at the end of menu.
    void AddToMenu(QMenu* menu);

private:
    std::vector<iuiSelectionEdit::Target> Targets(cuiSheetView& view, int col);
    // Refusals to the box and the status bar; none clears the status bar.
    void Report(cuiSheetView& view, const iuiSelectionEdit::Result& result, size_t cells);
    std::string RefusalText(const iuiSelectionEdit::Refusal& refusal);
    // The focused sheet when two or more cells of its current column are selected; else null, after
    // saying how to select them.
    cuiSheetView* SelectionView();
    // The texts of the series for the selected cells; false with the message that says what to type.
    bool SeriesFor(cuiSheetView& view, const std::string& start, const std::string& step,
                   std::vector<std::string>& texts, std::string& error);
    // The kind of series the current column holds and what its top selected cell shows.
    bool SeriesKind(cuiSheetView& view, iuiSelectionEdit::Series& kind, std::string& top);
    std::string Line(const char* key, int line);

    Services m_s;
    QWidget* m_window;
    QAction* m_fillDown = nullptr;
    QAction* m_fillSeries = nullptr;
    const cmcCellObj* m_answering = nullptr; // the cell a list window answers
    std::string m_shownBefore;               // what it showed before the answer
};

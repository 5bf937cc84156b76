#pragma once
// Find and replace in the main window: Edit > Find... (Ctrl+F), Find next (F3), Find previous
// (Shift+F3) and Replace... (Ctrl+H). The cells are searched by the texts they show, in the open sheet
// or in every sheet of the tree; a match opens its sheet with the cursor on the cell and the status bar
// counts it ("match 3 of 12"). Replace types the cell's text with the found part replaced, as if typed
// into the cell; Replace all does so in every match as one change of the data (one undo step). Both
// type on a scratch copy of the data and hand the result to the window; refused cells are listed.
#include "core/cmcEeprom.h"
#include "sheets/iuiSheetFind.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class cmcEvMan;
class cmcGTex;
class cmcMessageBox;
class cuiFindDialog;
class cuiMain;

class cuiFindCommands : public QObject {
    Q_OBJECT
public:
    struct Services {
        cmcGTex* texts = nullptr;
        cmcGTex* languages = nullptr;
        cmcMessageBox* box = nullptr;
        cmcEvMan* events = nullptr; // status texts; null shows none
        // The data after a replace: the window takes it over as one change named label and shows it.
        std::function<void(const cmcEeprom& after, const std::string& label)> take;
        // While it answers true (a clone or a print runs) nothing is found or replaced.
        std::function<bool()> busy;
    };

    cuiFindCommands(cuiMain& window, Services services);

    // Shows the find window (the focus in its replace field for Replace...).
    void ShowDialog(bool replace);
    // Moves to the next (or previous) match from the cursor, wrapping round; false when none.
    bool FindNext(bool backwards = false);
    // Replaces the match under the cursor, then moves to the next; only moves when the cursor is on
    // none. Replace all replaces every match; the number of cells replaced.
    bool Replace();
    int ReplaceAll();

    // Puts the entries after what menu holds.
    void AddToMenu(QMenu* menu);
    // The find window once it was shown; null before.
    cuiFindDialog* Dialog();
    // The matches of the last search, in order, and the one shown last (-1: none).
    const std::vector<iuiSheetFind::Match>& Matches() const { return m_matches; }
    int Shown() const { return m_shown; }

private:
    struct Query {
        std::string text;
        bool whole = false;
        bool all = true;
        std::string sheet; // the open sheet, when only it is searched
        bool operator==(const Query&) const = default;
    };
    Query Current();
    bool Busy() const;
    // Searches again when the query or the data changed since the last search.
    void Search(const Query& query);
    // The match the cursor is on in the open sheet; -1 when none.
    int AtCursor() const;
    void Show(int index);
    // Types the replaced texts into the cells of these matches on a scratch copy; what was replaced is
    // handed to the window as one change, what was refused is listed. The number of cells replaced.
    int ReplaceIn(const std::vector<int>& indices);
    void Status(const std::string& text);
    void Message(const std::string& text, bool error);
    std::string Line(const char* key, int line);
    // One line of the refusal list (line: GI_Find_Refusal's line).
    std::string Refusal(const iuiSheetFind::Match& m, int line, const std::string& typed,
                        const std::string& detail);

    cuiMain& m_window;
    Services m_s;
    QPointer<cuiFindDialog> m_dialog;
    QAction* m_find = nullptr;
    QAction* m_next = nullptr;
    QAction* m_previous = nullptr;
    QAction* m_replace = nullptr;

    Query m_query;
    cmcEeprom m_searched; // the data the matches were found in
    bool m_searchedOnce = false;
    std::vector<iuiSheetFind::Target> m_targets;
    std::vector<iuiSheetFind::Match> m_matches;
    int m_shown = -1;
    // Where the cursor was left on the match shown: a cell the cursor cannot stand on keeps it elsewhere.
    std::string m_shownSheet;
    int m_shownCol = -1, m_shownRow = -1;
};

#include "gui/cuiFindCommands.h"

#include "app/indScratchData.h"
#include "cells/cmcCodecText.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiFindDialog.h"
#include "gui/cuiGrid.h"
#include "gui/cuiMain.h"
#include "gui/cuiSheetView.h"
#include "sheets/iuiSheetTable.h"
#include "sheets/iuiTreeSheets.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <memory>
#include <tuple>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The lines of the menu entries (GI_Find_Menu) and of the status texts (GI_Find_Status).
enum MenuLine { kMenuFind, kMenuNext, kMenuPrevious, kMenuReplace };
enum StatusLine { kMatchOf, kNoMatch, kReplaced, kNoText };
enum RefusalLine { kStill, kReason, kFixed };
constexpr int kDialogLines = 10;

// The scratch copy's sheets as the window builds them, without the window's events and stored widths.
cuiSheetEnv ScratchEnv(cuiMain& window, indScratchData& data) {
    cuiSheetEnv env = window.SheetEnv();
    const cuiSheetEnv own = data.Side().env;
    env.work = own.work;
    env.current = own.current;
    env.canvas = own.canvas;
    env.settings = nullptr;
    env.events = nullptr;
    return env;
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

iuiSheetFind::Options OptionsOf(bool whole) {
    iuiSheetFind::Options options;
    options.wholeCell = whole;
    return options;
}

} // namespace

cuiFindCommands::cuiFindCommands(cuiMain& window, Services services)
    : QObject(&window), m_window(window), m_s(std::move(services)) {
    m_find = new QAction(this);
    m_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_next = new QAction(this);
    m_next->setShortcut(QKeySequence(Qt::Key_F3));
    m_previous = new QAction(this);
    m_previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    m_replace = new QAction(this);
    m_replace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    for (QAction* action : {m_find, m_next, m_previous, m_replace}) {
        // In the window, so that the keys act while the Edit menu is closed.
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
    }
    connect(m_find, &QAction::triggered, this, [this] { ShowDialog(false); });
    connect(m_replace, &QAction::triggered, this, [this] { ShowDialog(true); });
    connect(m_next, &QAction::triggered, this, [this] { FindNext(false); });
    connect(m_previous, &QAction::triggered, this, [this] { FindNext(true); });
}

std::string cuiFindCommands::Line(const char* key, int line) {
    return m_s.texts->GetLine(key, line);
}

void cuiFindCommands::Status(const std::string& text) {
    if (m_s.events)
        m_s.events->SendText(cmcEv::StatusText, text);
}

void cuiFindCommands::Message(const std::string& text, bool error) {
    m_s.box->Show(text, Line("GI_Sys_AppTitle", 0),
                  error ? cmcMessageBox::Icon::Error : cmcMessageBox::Icon::Information,
                  cmcMessageBox::Buttons::Ok);
}

void cuiFindCommands::AddToMenu(QMenu* menu) {
    const std::pair<QAction*, int> entries[] = {
        {m_find, kMenuFind}, {m_next, kMenuNext}, {m_previous, kMenuPrevious}, {m_replace, kMenuReplace}};
    if (!menu->isEmpty())
        menu->addSeparator();
    for (const auto& [action, line] : entries) {
        action->setText(Q(Line("GI_Find_Menu", line)));
        menu->addAction(action);
    }
}

cuiFindDialog* cuiFindCommands::Dialog() {
    return m_dialog;
}

void cuiFindCommands::ShowDialog(bool replace) {
    if (Busy())
        return;
    std::vector<std::string> texts;
    for (int i = 0; i < kDialogLines; ++i)
        texts.push_back(Line("GI_Find_Dialog", i));
    if (m_dialog) {
        m_dialog->SetTexts(texts); // the language may have changed since
    } else {
        m_dialog = new cuiFindDialog(&m_window, texts);
        m_dialog->onFindNext = [this] { FindNext(false); };
        m_dialog->onReplace = [this] { Replace(); };
        m_dialog->onReplaceAll = [this] { ReplaceAll(); };
        // Closed, the find window gives the keys back to the sheet, on the match it left.
        connect(m_dialog, &QDialog::finished, this, [this] {
            m_window.activateWindow();
            if (cuiSheetView* view = m_window.SheetView())
                view->Grid().setFocus();
        });
        // F3 and Shift+F3 go on finding while the find window has the focus.
        m_dialog->addAction(m_next);
        m_dialog->addAction(m_previous);
    }
    m_dialog->Present(replace);
}

cuiFindCommands::Query cuiFindCommands::Current() {
    Query q;
    if (m_dialog) {
        q.text = m_dialog->FindText();
        q.whole = m_dialog->WholeCell();
        q.all = m_dialog->AllSheets();
    }
    if (!q.all)
        q.sheet = m_window.OpenSheetText();
    return q;
}

void cuiFindCommands::Search(const Query& query) {
    if (m_searchedOnce && query == m_query && m_searched == m_window.Current())
        return;
    m_query = query;
    m_searched = m_window.Current();
    m_searchedOnce = true;
    m_shown = -1;
    m_matches.clear();
    m_targets.clear();
    indScratchData data(*m_s.texts, m_s.languages);
    data.SetWorking(m_window.Current(), m_window.ModelType());
    const cuiSheetEnv env = ScratchEnv(m_window, data);
    iuiTreeSheets::Modes modes;
    modes.modelType = m_window.ModelType();
    modes.maker = m_window.MakerMode();
    modes.adjust = m_window.TreeFilterLevel() > 0;
    const auto tree = iuiSheetFind::TreeTargets(iuiTreeSheets::Nodes(*m_s.texts, data.Work().Data(), modes));
    if (query.all) {
        m_targets = tree;
    } else if (!query.sheet.empty()) {
        iuiSheetFind::Target target{query.sheet, {}};
        for (const iuiSheetFind::Target& t : tree)
            if (t.sheet == query.sheet)
                target.caption = t.caption;
        m_targets.push_back(target);
    }
    m_matches = iuiSheetFind::InSheets(env, data.Handler(), data.Codecs(), m_targets, query.text,
                                       OptionsOf(query.whole));
}

int cuiFindCommands::AtCursor() const {
    cuiSheetView* view = m_window.SheetView();
    if (!view)
        return -1;
    for (size_t i = 0; i < m_matches.size(); ++i) {
        const iuiSheetFind::Match& m = m_matches[i];
        if (m.sheet == m_window.OpenSheetText() && m.sheetCol == view->Grid().Col() &&
            m.sheetRow == view->Grid().Row())
            return int(i);
    }
    return -1;
}

bool cuiFindCommands::Busy() const {
    return m_s.busy && m_s.busy();
}

bool cuiFindCommands::FindNext(bool backwards) {
    if (Busy())
        return false;
    const Query q = Current();
    if (q.text.empty()) {
        Status(Line("GI_Find_Status", kNoText));
        ShowDialog(false);
        return false;
    }
    m_window.CommitEdits();
    Search(q);
    const int n = int(m_matches.size());
    if (n == 0) {
        Status(cmcCodecText::Fill(Line("GI_Find_Status", kNoMatch), {q.text}));
        return false;
    }
    cuiSheetView* view = m_window.SheetView();
    const bool stayed = m_shown >= 0 && m_shown < n && view && m_window.OpenSheetText() == m_shownSheet &&
                        view->Grid().Col() == m_shownCol && view->Grid().Row() == m_shownRow;
    int pick = -1;
    if (stayed) {
        pick = (m_shown + (backwards ? n - 1 : 1)) % n;
    } else {
        // From the cursor: tree order of the sheets, then row, then column.
        auto sheetIndex = [this](const std::string& sheet) {
            for (size_t i = 0; i < m_targets.size(); ++i)
                if (m_targets[i].sheet == sheet)
                    return int(i);
            return -1;
        };
        const int open = view ? sheetIndex(m_window.OpenSheetText()) : -1;
        if (open >= 0) {
            const auto cursor = std::tuple(open, view->Grid().Row(), view->Grid().Col());
            for (int i = 0; i < n; ++i) {
                const iuiSheetFind::Match& m = m_matches[size_t(i)];
                const auto at = std::tuple(sheetIndex(m.sheet), m.sheetRow, m.sheetCol);
                if (!backwards && at > cursor) {
                    pick = i;
                    break;
                }
                if (backwards && at < cursor)
                    pick = i;
            }
        }
        if (pick < 0)
            pick = backwards ? n - 1 : 0;
    }
    Show(pick);
    return true;
}

void cuiFindCommands::Show(int index) {
    const iuiSheetFind::Match& m = m_matches[size_t(index)];
    if (m_window.OpenSheetText() != m.sheet && !m_window.SelectTreeNode(m.sheet))
        m_window.OpenSheet(m.sheet);
    m_shown = index;
    m_shownSheet = m_window.OpenSheetText();
    if (cuiSheetView* view = m_window.SheetView()) {
        view->MoveTo(m.sheetCol, m.sheetRow);
        m_shownCol = view->Grid().Col();
        m_shownRow = view->Grid().Row();
    }
    const std::string where = m.caption.empty() ? m.sheet : m.caption;
    const std::string row = std::to_string(m.row + 1) + (m.label.empty() ? "" : " (" + m.label + ")");
    Status(cmcCodecText::Fill(
        Line("GI_Find_Status", kMatchOf),
        {std::to_string(index + 1), std::to_string(m_matches.size()), where, row, m.header}));
}

std::string cuiFindCommands::Refusal(const iuiSheetFind::Match& m, int line, const std::string& typed,
                                     const std::string& detail) {
    const std::string where = m.caption.empty() ? m.sheet : m.caption;
    return cmcCodecText::Fill(Line("GI_Find_Refusal", line),
                              {where, std::to_string(m.row + 1), m.header, typed, OneLine(detail)});
}

bool cuiFindCommands::Replace() {
    if (Busy())
        return false;
    const Query q = Current();
    if (q.text.empty())
        return FindNext(false);
    m_window.CommitEdits();
    Search(q);
    const int at = AtCursor();
    if (at < 0)
        return FindNext(false);
    ReplaceIn({at});
    return FindNext(false);
}

int cuiFindCommands::ReplaceAll() {
    if (Busy())
        return 0;
    const Query q = Current();
    if (q.text.empty()) {
        FindNext(false);
        return 0;
    }
    m_window.CommitEdits();
    Search(q);
    if (m_matches.empty()) {
        Status(cmcCodecText::Fill(Line("GI_Find_Status", kNoMatch), {q.text}));
        return 0;
    }
    std::vector<int> all;
    for (int i = 0; i < int(m_matches.size()); ++i)
        all.push_back(i);
    return ReplaceIn(all);
}

int cuiFindCommands::ReplaceIn(const std::vector<int>& indices) {
    const std::string with = m_dialog ? m_dialog->ReplaceText() : std::string();
    const iuiSheetFind::Options options = OptionsOf(m_query.whole);
    // Cells that ask (a frequency outside the band, say) ask the technician here too.
    indScratchData data(*m_s.texts, m_s.languages, m_s.box);
    data.SetWorking(m_window.Current(), m_window.ModelType());
    const cuiSheetEnv env = ScratchEnv(m_window, data);
    std::unique_ptr<iuiSheetTable> table;
    int replaced = 0;
    std::vector<std::string> refusals;
    for (int index : indices) {
        const iuiSheetFind::Match& m = m_matches[size_t(index)];
        if (!table || table->SheetText() != m.sheet)
            table = std::make_unique<iuiSheetTable>(env, data.Handler(), data.Codecs(), m.sheet);
        // An earlier replace may have changed the sheet: the cell is found again by its header.
        const int32_t col = table->ColumnOf(m.header);
        if (col < 0 || table->Header(col) != m.header || m.row >= table->RowCount() ||
            table->IsBlankRow(m.row))
            continue;
        const std::string shown = OneLine(table->Text(m.row, col));
        if (!iuiSheetFind::Holds(shown, m_query.text, options))
            continue;
        // A fixed text (a setting's name, say) is found but never replaced; Replace all passes over it.
        if (!table->HasCell(m.row, col)) {
            if (indices.size() == 1)
                refusals.push_back(Refusal(m, kFixed, shown, ""));
            continue;
        }
        const std::string typed = iuiSheetFind::Replaced(shown, m_query.text, with, options);
        const iuiCellTyping::Outcome outcome = table->Type(m.row, col, typed);
        if (!outcome.accepted) {
            if (outcome.reason.empty())
                refusals.push_back(Refusal(m, kStill, typed, outcome.shown));
            else
                refusals.push_back(Refusal(m, kReason, typed, outcome.reason));
            continue;
        }
        if (outcome.changed) {
            ++replaced;
            table->Rebuild();
        }
    }
    table.reset();
    if (replaced > 0 && m_s.take)
        m_s.take(data.Work(), Line("GI_Find_Step", 0));
    if (!refusals.empty()) {
        std::string lines;
        constexpr size_t kListed = 20;
        for (size_t i = 0; i < refusals.size() && i < kListed; ++i)
            lines += refusals[i] + "\n";
        if (refusals.size() > kListed)
            lines += "...\n";
        Message(cmcCodecText::Fill(m_s.texts->GetJoinedText("GI_Find_Refused"),
                                   {std::to_string(replaced), std::to_string(refusals.size()), lines}),
                false);
    }
    Status(cmcCodecText::Fill(Line("GI_Find_Status", kReplaced), {std::to_string(replaced)}));
    return replaced;
}

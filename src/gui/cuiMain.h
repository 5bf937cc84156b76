#pragma once
// The main window and main object of the desktop program: the radio images, the menu, toolbar and
// navigation tree built from the overlay, the one open sheet, the status bar, the file commands
// (New, Open, Save, Save As) with their prompts, the print commands, and the clone and port commands.
#include "cells/cmcCellNumber.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiCloneInfoWindow.h"
#include "gui/cuiHelpViewer.h"
#include "model/datClipCh.h"
#include "model/indModel.h"
#include "model/indWarningCheck.h"
#include "platform/cuiQtMeasureCanvas.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class cmcCellObj;
class cmcEvMan;
class cmcLoop;
class cuiAdCommands;
class cuiAdWindow;
class cuiCloneCommands;
class cuiExchangeCommands;
class cuiFindCommands;
class cuiPrintCommands;
class QPrinter;
class cuiCommandHost;
class cmcPortDiscovery;
class cmcTextTables;
class indCellHandler;
class indEnviron;
class indRowCommands;
struct cmcEvRec;
class cuiSheetView;
class cuiCellWindows;
class cuiMchWindow;
class cuiRptWindow;
class cuiSelectionEdit;
class cuiStatusPanel;
class cuiUndoCommands;
class cuiWindowHost;
struct cuiSheetEnv;

class cuiMain : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        indEnviron* env = nullptr;
        cmcTextTables* tables = nullptr;
        cmcEvMan* events = nullptr;
        cmcMessageBox* box = nullptr;
        // The file dialogs; returns "" when cancelled. Tests script it.
        std::function<std::string(bool save, const std::string& folder, const std::string& name)> askPath;
        // The loop the clone runs on; null: the window makes its own Qt loop.
        cmcLoop* loop = nullptr;
        // The clone password dialog: true with the password when confirmed. Unset: the Qt dialog.
        std::function<bool(std::string& password)> askClonePassword;
        // The warning check before a clone write (number of errors). Unset: the check over the data.
        std::function<int()> warningCheck;
        // Where the port dialogs look for serial ports. Null: this machine's.
        const cmcPortDiscovery* ports = nullptr;
        // Opens the help file in the desktop's browser; false when it could not (the built-in help
        // window shows it then). Unset: the desktop's browser. Tests record it.
        std::function<bool(const std::string& path)> openHelp;
        // The printer setup dialog before a print; true to go on. Unset: the Qt print dialog.
        std::function<bool(QPrinter& printer)> setupPrinter;
        // The adjust-read password dialog: true with the text when confirmed. Unset: the Qt dialog.
        std::function<bool(std::string& password)> askAdjustPassword;
        // What the About window tells of the program: its version and the day it was built.
        std::string version;
        std::string buildDate;
    };

    explicit cuiMain(const Services& services);
    ~cuiMain() override;

    // Loads the initial data of the model type and builds the menu, toolbar, tree and status bar.
    void Start();

    // Commands.
    void New();
    bool OpenFile(const std::string& path);
    void OpenDialog();
    bool Save(const std::string& path);
    bool SaveAs();
    // Save, or Save As while the data has no file.
    bool SaveCurrent();
    // Asks whether to write changed data before it is replaced: Yes (saved or unchanged), No, Cancel.
    cmcMessageBox::Answer SaveChangesPrompt(bool anotherFile);
    void ChangeModel(int modelType, bool ask);
    // Runs a menu, toolbar or tree cell; false when it has no command here.
    bool ExecuteCommandCell(const cmcCellObj& cell);
    // Clone commands: read replaces the data (after the save-changes prompt), write sends it after
    // the checks and confirmations, information shows the radio's answer. Nothing while a clone runs.
    void CloneRead();
    void CloneWrite();
    // The window that writes the data into several radios at once.
    void ShowFleetWindow();
    void CloneInfo();
    // The serial port selection dialog: 0 number entry, 1 registered ports, 2 port devices.
    void ShowPortDialog(int form);
    cuiCloneCommands& Clone() { return *m_clone; }
    // Print current sheet and Print all sheets, with their preview and printing dialog.
    cuiPrintCommands& Print() { return *m_print; }
    // Export, Import and Compare: the open sheet as a CSV table, a CSV table into it, the data
    // against a file.
    cuiExchangeCommands& Exchange() { return *m_exchange; }
    // Find and replace over the cells the sheets show (Edit > Find..., Find next, Replace...).
    cuiFindCommands& Find() { return *m_find; }
    // Menu and toolbar actions of a command cell name (with the cell's value), for tests.
    QList<QAction*> CommandActions(const std::string& cellName, int parameter = -1);

    // Opens the sheet a sheet text names (closing the open one); false when the overlay lacks it.
    bool OpenSheet(const std::string& sheetText);
    void CloseSheet();
    // Commits what the in-place editor and an open editor window hold (event 21), so that no typed
    // text is lost before the data is saved, written, replaced or the sheet closes.
    void CommitEdits();
    cuiSheetView* SheetView() { return m_view; }
    const std::string& OpenSheetText() const { return m_sheetText; }
    QTreeWidget* Tree() { return m_tree; }
    // The windows cells open (choice lists, editors).
    cuiCellWindows* CellWindows() { return m_windows.get(); }
    indCellHandler* Handler() { return m_handler.get(); }
    // What a sheet build reads now (overlay, data, model type, modes, measuring canvas): for print copies.
    cuiSheetEnv SheetEnv();
    // Selects the tree node of a sheet text (which opens its sheet); false when there is none.
    bool SelectTreeNode(const std::string& sheetText);
    // The tree node of a sheet text; null when there is none.
    QTreeWidgetItem* TreeNode(const std::string& sheetText);
    // The warning or error mark a tree node shows (an error mark replaces a warning mark).
    enum class TreeMark { None, Warning, Error };
    static TreeMark MarkOf(const QTreeWidgetItem* node);
    // The node's image index (0 rig, 1 folder, 2 and 3 notes, 4 to 11 bank icons by kind).
    static int ImageOf(const QTreeWidgetItem* node);
    // The warning check over the data: its marks go on the tree. Edits run it deferred, once the
    // typing has paused; data that is replaced runs it at once.
    const indWarningCheck::Result& CheckWarnings();
    bool WarningCheckPending() const;

    // Another language: the overlays are reopened and the menus, toolbar, tree and open sheet are
    // built again in it. The language window (Language...) chooses it.
    void ApplyLanguage(int language);
    void ShowLanguageWindow();
    // The window of the last clone information read; null before one.
    cuiCloneInfoWindow* CloneInfoWindow() { return m_infoWindow; }

    // The edit history. One user action (an import, say) between BeginAction and EndAction is one step
    // named label; actions inside an action belong to it. UndoStep and RedoStep are Edit > Undo and
    // Redo: false when there is no step to take (or an action is open).
    void BeginAction(const std::string& label);
    void EndAction();
    bool UndoStep();
    bool RedoStep();
    cuiUndoCommands& UndoCommands() { return *m_undo; }
    cuiSelectionEdit& SelectionEdit() { return *m_selection; }

    const std::string& Path() const { return m_path; }
    bool Modified();
    void MarkModified();
    void MarkUnmodified();
    int ModelType() const;
    cmcEeprom& Current() { return m_current; }
    QString StatusText() const;
    cuiStatusPanel* StatusPanel() { return m_status; }
    // The maker mode panel at the right of the status bar; null outside maker mode.
    cuiStatusPanel* MakerPanel() { return m_makerPanel; }
    // The status bar panel of the serial port (its device's short name and path), the clone speed and
    // the model type, as the settings give them now.
    cuiStatusPanel* PortPanel() { return m_portPanel; }
    QString PortStatusText() const;

    // Hidden modes, each entered after its caution: maker mode (maker-only tree branches, whole-memory
    // writes) and factory adjust mode. They last until the program ends.
    void EnterMakerMode();
    void EnterFactoryMode();
    bool MakerMode() const { return m_makerMode; }
    bool FactoryMode() const { return m_factoryMode; }
    // "/reserve" enters maker mode, then "/factory_adj" factory adjust mode (case ignored).
    void ApplyCommandLine(const std::vector<std::string>& arguments);
    // Help Contents: the help file beside the program in the desktop's browser, or in the built-in
    // help window when there is no browser. A missing file is reported with its path.
    void OpenHelp();
    void OpenHelpFile(const std::string& path);
    // The built-in help window while it is open; null otherwise.
    cuiHelpViewer* HelpViewer() { return m_helpViewer; }
    // The About window (version, build day, licence); modal.
    void ShowAbout();

    // One character typed on the main window while maker mode is off: the maker key sequence.
    void MakerKey(char32_t ch);

    // The memory channel window: View > Memory channel window turns it on and off; on, it follows
    // the open bank sheet. Open shows it (on a channel, or the bank sheet's current one).
    void ToggleChannelWindow();
    void OpenChannelWindow(int32_t channel = -1);
    void CloseChannelWindow();
    cuiMchWindow* ChannelWindow();
    // The repeater setting window of a bank; it opens on the next turn of the loop. False while one
    // is open.
    bool OpenRepeaterWindow(int32_t group);
    cuiRptWindow* RepeaterWindow();

    // A/D read puts the radio into its adjustment state (behind the adjust-read lock and the
    // adjustment caution); the adjustment branches of the tree appear then. View A/D turns the A/D
    // window on and off; View A/D update reads its values again, or opens it.
    void AdRead();
    void ToggleAdView();
    void UpdateAdView();
    bool AdViewOn() const { return m_adView; }
    cuiAdWindow* AdWindow();
    cuiAdCommands& Ad() { return *m_ad; }
    // 0: the usual tree; 1: with the adjustment branches.
    int TreeFilterLevel() const { return m_treeLevel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One command cell of the menu, toolbar and tree: how its entry looks and what it runs.
    struct Command {
        cmcCellNumber cell;
        int icon;       // the entry's icon (a cuiCommandIcons kind); -1: none
        bool inMenus;   // enabled in the menu and toolbar unless the cell handler's host disables it
        bool checkable; // the entry carries the host's check mark
        // Runs the command; false when the cell gives it nothing to do. Null: nothing runs here.
        bool (*run)(cuiMain& window, const cmcCellObj& cell);
        // The cell parameter the entry answers to; kAnyParameter: every one.
        int32_t parameter = kAnyParameter;
    };
    static constexpr int32_t kAnyParameter = -1;
    // The command of a cell number and parameter (kAnyParameter: the cell's first entry); null for
    // cells that are no command here.
    static const Command* FindCommand(int32_t cell, int32_t parameter = kAnyParameter);
    // The icon kind of a cell's menu and toolbar entry (cuiCommandIcons); -1: none.
    static int CommandIcon(int32_t cell, int32_t parameter = kAnyParameter);
    QIcon EntryIcon(int kind);

    // Where a sheet was left: restored when it opens again in this session.
    struct SheetPosition {
        std::string sheetText;
        int topRow = 0;
        int leftCol = 0;
        int row = 0;
        int col = 0;
    };

    void UpdateTitle();
    // Sorts the open sheet's list by a column in one change of the data; true when the column sorts
    // it (also when it was in that order).
    bool SortColumn(int col, bool descending);
    // Rows dragged by their number onto another row of their list: one undo step.
    bool DropRows(int first, int last, int target);
    // Channels dragged onto another bank's node of the tree: to the end of that bank, one undo step.
    bool DropRowsOnTree(int first, int last, const QPoint& globalPos);
    void RebuildCommands();
    void BuildMenu();
    void BuildToolBar();
    void RebuildTree();
    // After a bank gained its first channel or lost its last: the tree again, the open sheet kept.
    void RebuildBankBranches();
    // Bank node captions and icons from the data (names and kinds change with edits).
    void RefreshBankNodes();
    void ApplyTreeMarks();
    QIcon NodeIcon(int image, TreeMark mark);
    void ScheduleWarningCheck();
    // The open bank sheet's title with the channels still free.
    void RefreshSheetTitle();
    // The cursor and scroll position the sheet had when it was last closed, else its start cell.
    void ApplyStartPosition();
    // The stored column widths of every sheet, from one font size (percent) to another: a column
    // keeps its width relative to its text, so headers fit at the larger size and a column the user
    // narrowed stays narrow.
    void RescaleStoredWidths(int from, int to);
    // The main window's bounds and maximised state from the settings, kept on the desktop work area;
    // on the first start (nothing stored yet) a roomy window centred on the screen.
    void ApplyWindowBounds();
    void ShowCloneInfo();
    void StartFromInitialData();
    void RefreshCommands();
    void PeriodicStep();
    std::string Text(const char* key);
    QIcon StyleIcon(int pixmap);
    std::string AskPath(bool save);
    void AcceptRadioData(const cmcEeprom& radio);
    static void OnEvent(void* context, const cmcEvRec& event);
    // The secondary windows: the host's window commands, the open sheet's link to the channel window,
    // and their end with the program.
    void WireWindowHost(cuiWindowHost& host);
    void WireChannelWindow();
    void EndWindows();
    void ReleaseWindow(QWidget* window);

    Services m_s;
    cmcEeprom m_current;
    cmcEeprom m_reference;
    cmcEeprom m_initial;
    cmcEeprom m_saved;
    indModel m_model;
    cmcFCache m_lists;
    cmcCodecEnv m_codecs;
    std::unique_ptr<indCellHandler> m_handler;
    std::unique_ptr<cuiCellWindows> m_windows;
    datClipCh m_clip;
    std::unique_ptr<indRowCommands> m_rows;
    bool m_rowRan = false; // the last row command was carried out (or refused with a message)
    cuiQtMeasureCanvas m_measure;
    std::deque<cmcCellObj> m_commandCells; // menu and toolbar cells, stable while the menus live
    std::deque<cmcCellObj> m_treeCells;
    std::deque<SheetPosition> m_positions;            // newest first, one per sheet text
    indWarningCheck::Result m_warnings;               // the last warning check, as the tree marks show it
    QTimer* m_warnTimer = nullptr;                    // the deferred warning check after edits
    std::map<std::pair<int, int>, QIcon> m_nodeIcons; // tree icons by image index and mark
    QPointer<cuiCloneInfoWindow> m_infoWindow;
    std::string m_path;
    bool m_modified = false;
    std::string m_sheetText;
    bool m_treeHadFocus = false;

    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_tree = nullptr;
    QWidget* m_host = nullptr;
    QVBoxLayout* m_hostLayout = nullptr;
    cuiSheetView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    cuiStatusPanel* m_status = nullptr;
    cuiStatusPanel* m_makerPanel = nullptr;
    cuiStatusPanel* m_portPanel = nullptr;
    void ShowPortStatus();
    bool m_makerMode = false;
    bool m_factoryMode = false;
    size_t m_makerPos = 0;         // characters of the maker key sequence typed so far
    QPointer<QWidget> m_keyWidget; // the last key press seen, to count a passed-on key once
    quint64 m_keyTime = 0;
    QString m_keyText;
    QTimer* m_step = nullptr;
    std::map<int, QIcon> m_icons;        // style icons by standard pixmap
    std::map<int, QIcon> m_commandIcons; // command icons by kind
    QPointer<cuiHelpViewer> m_helpViewer;

    std::unique_ptr<cmcLoop> m_ownLoop;
    std::unique_ptr<cmcPortDiscovery> m_ownPorts;
    std::unique_ptr<cuiCloneCommands> m_clone;
    std::unique_ptr<cuiCommandHost> m_commandHost;
    std::unique_ptr<cuiPrintCommands> m_print;
    std::unique_ptr<cuiExchangeCommands> m_exchange;
    // An import taken over: one change of the data (the undo step of the whole import goes here).
    void TakeImport(const cmcEeprom& before, const cmcEeprom& after);
    // Data changed on a copy (an import, a replace) taken over as one undo step named label.
    void TakeChange(const cmcEeprom& after, const std::string& label);
    cuiFindCommands* m_find = nullptr; // a child of the window
    QPointer<cuiMchWindow> m_mchWindow;
    QPointer<cuiRptWindow> m_rptWindow;
    bool m_rptOpening = false;                 // the repeater window opens on the next turn of the loop
    std::vector<QPointer<QWidget>> m_released; // closed windows not yet deleted

    // The edit history's side of the window: the views' actions become steps (named after their cells),
    // the data a step restores is shown again, and a new history starts with new data.
    void WireUndo(cuiSheetView& view);
    std::string CellEditLabel(const cmcCellObj* cell);
    void ShowRestoredData();
    bool TreeNodesChanged();
    void ResetHistory(bool saved);
    cuiUndoCommands* m_undo = nullptr;       // a child of the window
    cuiSelectionEdit* m_selection = nullptr; // edits of several selected cells; a child of the window

    void OpenAdWindow();
    void RefreshAdWindow();
    void AdjustStarted(bool afterRead);
    std::unique_ptr<cuiAdCommands> m_ad;
    QPointer<cuiAdWindow> m_adWindow;
    bool m_adView = false;
    int m_treeLevel = 0;
};

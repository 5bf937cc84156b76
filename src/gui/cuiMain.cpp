#include "gui/cuiMain.h"

#include "app/indEnviron.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecText.h"
#include "clone/cmcPortDiscovery.h"
#include "core/cmcAppDir.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcKvtFile.h"
#include "core/cmcSettingsStore.h"
#include "core/cmcText.h"
#include "core/cmcTextTables.h"
#include "gui/cuiAboutDialog.h"
#include "gui/cuiAdCommands.h"
#include "gui/cuiAdWindow.h"
#include "gui/cuiCellWindows.h"
#include "gui/cuiCloneCommands.h"
#include "gui/cuiCloneInfoWindow.h"
#include "gui/cuiColumnDrag.h"
#include "gui/cuiCommandHost.h"
#include "gui/cuiCommandIcons.h"
#include "gui/cuiExchangeCommands.h"
#include "gui/cuiFindCommands.h"
#include "gui/cuiFleetWindow.h"
#include "gui/cuiGrid.h"
#include "gui/cuiHelpViewer.h"
#include "gui/cuiLanguageDialog.h"
#include "gui/cuiMchWindow.h"
#include "gui/cuiPortDialog.h"
#include "gui/cuiPrintCommands.h"
#include "gui/cuiRowDrag.h"
#include "gui/cuiRptWindow.h"
#include "gui/cuiSelectionEdit.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiStatusPanel.h"
#include "gui/cuiUndoCommands.h"
#include "gui/cuiWindowHost.h"
#include "model/indCellHandler.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indRowCommands.h"
#include "model/indWarningCheck.h"
#include "platform/cuiQtColors.h"
#include "platform/cuiQtLoop.h"
#include "sheets/cuiSheet.h"
#include "sheets/cuiSheetText.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiSheetSort.h"
#include "sheets/iuiTreeSheets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int kStepMs = 50;
constexpr int kTreeCellRole = Qt::UserRole + 1;
constexpr int kTreeImageRole = Qt::UserRole + 2;   // the node's image index
constexpr int kTreeMarkRole = Qt::UserRole + 3;    // its warning or error mark
constexpr int kTreeBankRole = Qt::UserRole + 4;    // the bank of a bank node
constexpr int kTreeCaptionRole = Qt::UserRole + 5; // the overlay's caption of a bank node
// The warning check waits this long after the last edit, so typing is not slowed by it.
constexpr int kWarningCheckDelayMs = 250;
// Where the tree's selection delay is missing or unreadable.
constexpr int kDefaultTreeDelayMs = 200;
// The main window's bounds in the settings store, and its entry among the window placements (which
// keeps its maximised state: 0 normal, 2 maximised).
constexpr const char* kWindowGroup = "Window Position";
constexpr const char* kMainWindowName = "MainForm";
constexpr int32_t kWindowNormal = 0;
constexpr int32_t kWindowMaximised = 2;
// Columns a sheet may have whose widths are stored (the widest sheet has fewer than 100).
constexpr int kMaxStoredColumns = 256;
// The size of the first start's window, at most 90 % of the work area.
constexpr int kFirstWidth = 1100;
constexpr int kFirstHeight = 720;

std::string FileNameOf(const std::string& path) {
    return path.empty() ? std::string("Untitled") : std::filesystem::path(path).filename().string();
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

int TreePixmap(int index) {
    switch (index) {
    case 0:
    case 14:
        return QStyle::SP_ComputerIcon;
    case 1:
        return QStyle::SP_DirIcon;
    case 12:
        return QStyle::SP_MessageBoxWarning;
    case 13:
        return QStyle::SP_MessageBoxCritical;
    case 4:
    case 5:
        return QStyle::SP_DriveHDIcon; // ordinary bank
    case 6:
    case 7:
        return QStyle::SP_DriveNetIcon; // SmarTrunk bank
    case 8:
    case 9:
        return QStyle::SP_DriveCDIcon; // conventional repeater bank
    case 10:
    case 11:
        return QStyle::SP_DriveDVDIcon; // trunking bank
    default:
        return QStyle::SP_FileIcon;
    }
}

// A check location names a node's sheet: the same sheet text, or the same sheet for a node that
// shows a sheet without a kind (a check may name the kind its cell reads, "GI_Sheet_ScanList,Scan").
bool LocationNames(const std::string& location, const std::string& sheetText) {
    if (location == sheetText)
        return true;
    const cuiSheetText node = cuiSheetText::Split(sheetText);
    return node.kind.empty() && !node.overlayKey.empty() &&
           cuiSheetText::Split(location).overlayKey == node.overlayKey;
}

// The text of a "(Name=value)" group of a style line; "" without one.
std::string StyleValue(const std::string& style, const std::string& name) {
    const std::string open = "(" + name + "=";
    const size_t at = style.find(open);
    if (at == std::string::npos)
        return {};
    const size_t from = at + open.size();
    const size_t close = style.find(')', from);
    return style.substr(from, close == std::string::npos ? std::string::npos : close - from);
}

// The file dialog filter from the overlay's "name|pattern|name|pattern" text.
QString DialogFilter(const std::string& text) {
    QStringList parts = Q(text).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

// The standard keys of the menu commands; Qt shows them beside the entries. They act anywhere in
// the main window (a cell editor keeps Ctrl+C, Del and the other editing keys), only while their
// entry is enabled. The row keys (Ctrl+C, Ins, Del...) belong to the sheet's grid.
QKeySequence MenuShortcut(int32_t cell) {
    switch (cell) {
    case CL_Menu_File_New:
        return QKeySequence(Qt::CTRL | Qt::Key_N);
    case CL_Menu_File_Open:
        return QKeySequence(Qt::CTRL | Qt::Key_O);
    case CL_Menu_File_Save:
        return QKeySequence(Qt::CTRL | Qt::Key_S);
    case CL_Menu_File_SaveAs:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    case CL_Menu_File_Print_Current:
        return QKeySequence(Qt::CTRL | Qt::Key_P);
    case CL_Help_Contents:
        return QKeySequence(Qt::Key_F1);
    default:
        return {};
    }
}

} // namespace

cuiMain::cuiMain(const Services& services)
    : m_s(services), m_model(&m_initial, services.box, indModel::ReadSettings(services.tables->Text())),
      m_lists(services.tables->Text()), m_codecs(&services.tables->Text(), &m_lists, nullptr) {
    for (cmcEeprom* image : {&m_current, &m_reference, &m_initial, &m_saved})
        image->SetSize(cmcEeprom::kWorkSize);
    if (!m_s.askPath)
        m_s.askPath = [this](bool save, const std::string& folder, const std::string& name) {
            cmcGTex& tex = m_s.tables->Text();
            QString filter = DialogFilter(tex.GetLine("GI_Sys_Dialog_FOpen", 1));
            QString start = Q(folder.empty() ? name : folder + "/" + name);
            QString path = save ? QFileDialog::getSaveFileName(this, QString(), start, filter)
                                : QFileDialog::getOpenFileName(this, QString(), start, filter);
            if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty())
                path += QLatin1Char('.') + Q(tex.GetLine("GI_Sys_Dialog_FOpen", 0));
            return path.toStdString();
        };
    if (!m_s.loop) {
        m_ownLoop = std::make_unique<cuiQtLoop>();
        m_s.loop = m_ownLoop.get();
    }
    if (!m_s.ports) {
        m_ownPorts = std::make_unique<cmcPortDiscovery>();
        m_s.ports = m_ownPorts.get();
    }
    if (!m_s.openHelp)
        m_s.openHelp = &cuiHelpViewer::OpenInBrowser;
    m_s.events->Register(&cuiMain::OnEvent, this);
    // Characters typed anywhere in the window also feed the maker key sequence.
    qApp->installEventFilter(this);
}

bool cuiMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !m_makerMode && watched->isWidgetType() &&
        (watched == this || isAncestorOf(static_cast<QWidget*>(watched)))) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        // A key a widget leaves goes on to its parents: count it once.
        const bool passedOn = m_keyWidget && widget != m_keyWidget && widget->isAncestorOf(m_keyWidget) &&
                              key->timestamp() == m_keyTime && key->text() == m_keyText;
        m_keyWidget = widget;
        m_keyTime = key->timestamp();
        m_keyText = key->text();
        if (!passedOn && !m_keyText.isEmpty() && m_keyText[0].isPrint())
            MakerKey(m_keyText.toUcs4().value(0));
    }
    return QMainWindow::eventFilter(watched, event);
}

void cuiMain::MakerKey(char32_t ch) {
    if (m_makerMode)
        return;
    const std::string& keys = m_s.env->makerKeys;
    const char32_t c = QChar::toLower(ch);
    if (m_makerPos < keys.size()) {
        if (c == static_cast<unsigned char>(keys[m_makerPos]))
            ++m_makerPos;
        else
            m_makerPos = !keys.empty() && c == static_cast<unsigned char>(keys[0]) ? 1 : 0;
    }
    if (m_makerPos >= keys.size()) {
        m_makerPos = 0; // a cancelled caution starts the sequence again
        EnterMakerMode();
    }
}

cuiMain::~cuiMain() {
    qApp->removeEventFilter(this);
    m_s.events->Unregister(&cuiMain::OnEvent, this);
    EndWindows();
    CloseSheet();
    if (m_handler)
        m_handler->host = nullptr;
    // The clone goes before the window's children: its manager hides the progress window it owns.
    m_clone.reset();
    m_print.reset();
}

// The style's icons are decoded from image files: each is made once and then shared by the menu,
// toolbar and tree items that show it.
QIcon cuiMain::StyleIcon(int pixmap) {
    if (pixmap < 0)
        return {};
    auto it = m_icons.find(pixmap);
    if (it == m_icons.end())
        it =
            m_icons.emplace(pixmap, style()->standardIcon(static_cast<QStyle::StandardPixmap>(pixmap))).first;
    return it->second;
}

QIcon cuiMain::EntryIcon(int kind) {
    if (kind < 0)
        return {};
    auto it = m_commandIcons.find(kind);
    if (it == m_commandIcons.end())
        it = m_commandIcons.emplace(kind, cuiCommandIcons::Icon(kind)).first;
    return it->second;
}

std::string cuiMain::Text(const char* key) {
    return m_s.tables->Text().GetText(key);
}

int cuiMain::ModelType() const {
    return m_s.env->modelType;
}

void cuiMain::Start() {
    indEnviron& env = *m_s.env;
    if (env.modelType < 0 || env.modelType > 1)
        env.modelType = 0;
    indModel::LoadInitialData(indModel::InitialFilePath(m_s.tables->Text(), env.modelType), m_initial);
    indModel::ConvertInitial(m_initial, m_model.GetSettings());
    m_current = m_initial;
    m_reference = m_initial;

    indCellHandler::Services hs;
    hs.work = &m_current;
    hs.defaults = &m_initial;
    hs.env = &m_codecs;
    hs.box = m_s.box;
    hs.events = m_s.events;
    hs.modelFamily = env.modelType;
    m_handler = std::make_unique<indCellHandler>(hs);
    m_windows = std::make_unique<cuiCellWindows>(SheetEnv());
    m_windows->SetHandler(m_handler.get());
    m_codecs.SetWindows(m_windows.get());
    m_handler->onModified = [this] {
        if (!m_modified && !(m_current == m_saved))
            MarkModified();
        // An edit outside every action (a window no action covers) is a step of its own.
        m_undo->Sync();
        ScheduleWarningCheck();
    };
    MarkUnmodified();
    cuiUndoCommands::Services us;
    us.work = &m_current;
    us.texts = &m_s.tables->Text();
    us.editing = [this] {
        cuiSheetView* windowView = m_mchWindow ? m_mchWindow->View() : nullptr;
        return (m_view && m_view->EditorVisible()) || (windowView && windowView->EditorVisible());
    };
    us.settle = [this] {
        // Lists and editor windows are dropped; what the in-place editor holds is an edit of its own.
        if (m_windows)
            m_windows->CloseAll();
        CommitEdits();
    };
    us.busy = [this] { return (m_clone && m_clone->IsBusy()) || (m_print && m_print->IsBusy()); };
    us.restored = [this] { ShowRestoredData(); };
    us.changed = [this] {
        m_modified = m_undo->Unsaved();
        UpdateTitle();
    };
    m_undo = new cuiUndoCommands(us, this);
    cuiSelectionEdit::Services ss{m_handler.get(), &m_codecs, m_undo, &m_s.tables->Text(), m_s.box, {}};
    ss.views = [this] {
        cuiSheetView* windowView = m_mchWindow ? m_mchWindow->View() : nullptr;
        std::vector<cuiSheetView*> views = windowView && windowView->isActiveWindow()
                                               ? std::vector<cuiSheetView*>{windowView, m_view}
                                               : std::vector<cuiSheetView*>{m_view, windowView};
        std::erase(views, nullptr);
        return views;
    };
    m_selection = new cuiSelectionEdit(ss, this);
    m_windows->onAnswerBegin = [this](const cmcCellObj* cell) {
        BeginAction(CellEditLabel(cell));
        m_selection->Answering(cell);
    };
    m_windows->onAnswerEnd = [this] {
        m_selection->Answered();
        EndAction();
    };

    cuiCloneCommands::Services cs;
    cs.loop = m_s.loop;
    cs.env = m_s.env;
    cs.tex = &m_s.tables->Text();
    cs.box = m_s.box;
    cs.model = &m_model;
    cs.window = this;
    cs.askPassword = m_s.askClonePassword;
    cs.warningCheck = m_s.warningCheck;
    cs.events = m_s.events;
    cs.showInfo = [this] { ShowCloneInfo(); };
    cs.finished = [this] {
        RefreshCommands();
        // An open clone information sheet shows the new answer once the periodic step reopens it.
        if (m_sheetText.find("GI_Sheet_CloneInfo") != std::string::npos)
            CloseSheet();
    };
    if (!cs.warningCheck)
        cs.warningCheck = [this] {
            return indWarningCheck::Run(*m_handler, m_s.tables->Text(), ModelType()).ErrorCount();
        };
    m_clone = std::make_unique<cuiCloneCommands>(cs);
    m_clone->SetMakerMode(m_makerMode);
    cuiAdCommands::Services as;
    as.clone = m_clone.get();
    as.env = m_s.env;
    as.tex = &m_s.tables->Text();
    as.box = m_s.box;
    as.events = m_s.events;
    as.window = this;
    as.askPassword = m_s.askAdjustPassword;
    as.factoryMode = [this] { return m_factoryMode; };
    as.cloneRead = [this](std::function<void()> then) {
        // The read replaces the data: changes not yet saved are offered for saving first.
        if (SaveChangesPrompt(false) == cmcMessageBox::Answer::Cancel) {
            return false;
        }
        return m_clone->Read([this, then](const cmcEeprom& radio) {
            AcceptRadioData(radio);
            then();
        });
    };
    as.adjustStarted = [this](bool afterRead) { AdjustStarted(afterRead); };
    m_ad = std::make_unique<cuiAdCommands>(as);
    auto host = std::make_unique<cuiWindowHost>(
        env, m_clone.get(), [this](int32_t cell, int32_t parameter, const std::string& argument) {
            cmcCellObj command;
            command.cell = cell;
            command.parameter = parameter;
            if (!argument.empty())
                command.argument = argument;
            ExecuteCommandCell(command);
        });
    WireWindowHost(*host);
    m_commandHost = std::move(host);
    m_commandHost->SetModelType(env.modelType);
    m_commandHost->tables = m_s.tables;
    m_commandHost->openHelp = [this] { OpenHelp(); };
    // The language sheet chooses from inside a cell call of the sheet the change rebuilds: later.
    m_commandHost->setLanguage = [this](int32_t language) {
        QTimer::singleShot(0, this, [this, language] { ApplyLanguage(language); });
    };
    m_handler->host = m_commandHost.get();
    cuiPrintCommands::Services ps;
    ps.env = m_s.env;
    ps.texts = &m_s.tables->Text();
    ps.box = m_s.box;
    ps.events = m_s.events;
    ps.setupPrinter = m_s.setupPrinter;
    ps.finished = [this] { RefreshCommands(); };
    m_print = std::make_unique<cuiPrintCommands>(*this, ps);
    cuiExchangeCommands::Services xs;
    xs.texts = &m_s.tables->Text();
    xs.languages = &m_s.tables->Languages();
    xs.box = m_s.box;
    xs.events = m_s.events;
    xs.askDataPath = [this] { return m_s.askPath(false, m_s.env->currentDirectory, std::string()); };
    xs.takeImport = [this](const cmcEeprom& before, const cmcEeprom& after) { TakeImport(before, after); };
    m_exchange = std::make_unique<cuiExchangeCommands>(*this, xs);
    cuiFindCommands::Services fs;
    fs.texts = xs.texts;
    fs.languages = xs.languages;
    fs.box = m_s.box;
    fs.events = m_s.events;
    fs.take = [this](const cmcEeprom& after, const std::string& label) { TakeChange(after, label); };
    fs.busy = us.busy;
    m_find = new cuiFindCommands(*this, fs);
    m_commandHost->printDisabled = [this](int32_t cell) {
        return m_print->IsBusy() || (cell == CL_Menu_File_Print_Current && !m_print->CanPrintCurrent());
    };

    // The main window's font and colour come from its basic cell.
    cmcCellObj form;
    form.ParseCell(Text("GI_Form_Main_BasicCell"), m_s.tables->Text(), nullptr, nullptr);
    if (form.font)
        setFont(cuiQtColors::ToQFont(*form.font));

    BuildMenu();
    BuildToolBar();
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_tree = new QTreeWidget(m_splitter);
    m_tree->setHeaderHidden(true);
    // Long captions (other languages, bank names) scroll rather than being cut short.
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_tree->setMinimumWidth(8);
    m_host = new QWidget(m_splitter);
    m_hostLayout = new QVBoxLayout(m_host);
    m_hostLayout->setContentsMargins(0, 0, 0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes(
        {std::max(env.splitterPosition, 8), std::max(env.windowWidth - env.splitterPosition, 100)});
    setCentralWidget(m_splitter);
    m_status = new cuiStatusPanel(this);
    statusBar()->addWidget(m_status, 1);
    ShowPortStatus();
    m_warnTimer = new QTimer(this);
    m_warnTimer->setSingleShot(true);
    m_warnTimer->setInterval(kWarningCheckDelayMs);
    connect(m_warnTimer, &QTimer::timeout, this, [this] { CheckWarnings(); });
    // Moving through the tree with the keys opens the sheet of the node the user stays on.
    auto* treeDelay = new QTimer(this);
    treeDelay->setSingleShot(true);
    const int delay = std::atoi(Text("GI_Sys_TreeChangeDelay").c_str());
    treeDelay->setInterval(delay > 0 ? delay : kDefaultTreeDelayMs);
    connect(treeDelay, &QTimer::timeout, this, [this] {
        QTreeWidgetItem* item = m_tree->currentItem();
        std::string text = item ? item->data(0, kTreeCellRole).toString().toStdString() : std::string();
        if (!text.empty() && text != m_sheetText)
            OpenSheet(text);
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, treeDelay, [treeDelay](QTreeWidgetItem* item) {
        if (item)
            treeDelay->start();
    });
    // A collapsed branch carries the marks of the nodes it hides.
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this] { ApplyTreeMarks(); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this] { ApplyTreeMarks(); });
    RebuildTree();

    ApplyWindowBounds();

    m_step = new QTimer(this);
    connect(m_step, &QTimer::timeout, this, [this] { PeriodicStep(); });
    m_step->start(kStepMs);
    // The first step runs as soon as the loop does, so the first sheet opens without a tick's wait.
    QTimer::singleShot(0, this, [this] { PeriodicStep(); });
    UpdateTitle();
}

void cuiMain::ApplyWindowBounds() {
    indEnviron& env = *m_s.env;
    QScreen* screen = QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // Nothing stored yet: the environment's defaults are sized for a small screen. The program starts
    // roomier then, centred on the work area.
    const bool stored = env.Store().ReadInt(kWindowGroup, "Width").has_value();
    const int defaultWidth = std::min(area.width() * 9 / 10, 800);
    const int defaultHeight = std::min(area.height() * 9 / 10, 600);
    if (!stored && screen && env.windowWidth == defaultWidth && env.windowHeight == defaultHeight &&
        env.windowLeft == (area.width() - defaultWidth) / 2 &&
        env.windowTop == (area.height() - defaultHeight) * 3 / 10) {
        const QSize size(std::min(kFirstWidth, area.width() * 9 / 10),
                         std::min(kFirstHeight, area.height() * 9 / 10));
        const QRect first(area.left() + (area.width() - size.width()) / 2,
                          area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
        env.windowLeft = first.left();
        env.windowTop = first.top();
        env.windowWidth = first.width();
        env.windowHeight = first.height();
        env.splitterPosition = std::max(env.splitterPosition, first.width() / 4);
        m_splitter->setSizes({env.splitterPosition, first.width() - env.splitterPosition});
    }
    // Window bounds from the settings, kept on the desktop work area so that it can be reached.
    int left = env.windowLeft, top = env.windowTop, width = std::max(env.windowWidth, 200),
        height = std::max(env.windowHeight, 150);
    if (screen) {
        if (left > area.right() + 1 - 16)
            left = area.right() + 1 - 16;
        if (top > area.bottom() + 1 - 16)
            top = area.bottom() + 1 - 16;
        if (left + width < area.left() + 16)
            left = area.left() - width + 16;
        if (top < area.top())
            top = area.top();
    }
    // The bounds are the window's inside, as closeEvent stores them: placing the frame there instead
    // moved the window down by its title bar at every start.
    setGeometry(left, top, width, height);
    // Maximised when it was closed maximised; the bounds above are where it returns to.
    if (const indWinPos* placed = env.FindWindowPosition(kMainWindowName);
        placed && placed->windowState == kWindowMaximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// ---- menu, toolbar, tree ----

// The menus and toolbar again from the overlay (another language): the old ones go, with their cells.
void cuiMain::RebuildCommands() {
    std::vector<QMenu*> menus;
    std::function<void(QMenu*)> collect = [&](QMenu* menu) {
        menus.push_back(menu);
        for (QAction* action : menu->actions())
            if (action->menu())
                collect(action->menu());
    };
    std::vector<QAction*> leaves; // menu bar entries that are commands
    for (QAction* top : menuBar()->actions()) {
        if (top->menu())
            collect(top->menu());
        else if (top->parent() == menuBar())
            leaves.push_back(top);
    }
    menuBar()->clear();
    for (QAction* leaf : leaves)
        leaf->deleteLater();
    for (QMenu* menu : menus)
        menu->deleteLater();
    if (m_toolBar) {
        removeToolBar(m_toolBar);
        m_toolBar->deleteLater();
        m_toolBar = nullptr;
    }
    m_commandCells.clear();
    BuildMenu();
    BuildToolBar();
}

void cuiMain::BuildMenu() {
    cmcGTex& tex = m_s.tables->Text();
    cmcCellObj basic;
    basic.ParseCell(Text("GI_Menu_Main_BasicCell"), tex, nullptr, nullptr);
    menuBar()->clear();
    // Parents by depth: an entry deeper than the one before it opens a submenu under it.
    std::vector<std::pair<int, QMenu*>> stack;
    QMenu* last = nullptr;
    int lastDepth = -1;
    for (int i = 0;; ++i) {
        std::string entry = tex.GetLine("GI_Menu_Main_Body", i);
        if (!entry.empty() && entry[0] == '#')
            break;
        int depth = iuiTreeSheets::Depth(entry);
        if (depth < 0)
            continue;
        std::string body = entry.substr(entry.find('+') + 1);
        cmcCellObj& cell = m_commandCells.emplace_back();
        cell.ParseCell(body, tex, nullptr, &basic);
        if (depth > lastDepth && last)
            stack.emplace_back(depth, last);
        while (!stack.empty() && stack.back().first > depth)
            stack.pop_back();
        QMenu* parent = stack.empty() ? nullptr : stack.back().second;
        lastDepth = depth;
        if (cell.displayText == "-") {
            if (parent)
                parent->addSeparator();
            last = nullptr;
            continue;
        }
        // Every entry may become a submenu; an empty one acts as a command.
        QMenu* menu = new QMenu(Q(cell.displayText), this);
        QAction* action = parent ? parent->addMenu(menu) : menuBar()->addMenu(menu);
        action->setData(QVariant::fromValue(static_cast<void*>(&cell)));
        last = menu;
    }
    // Entries without children become plain actions.
    std::function<void(QMenu*)> settle = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            QMenu* sub = action->menu();
            if (!sub)
                continue;
            if (!sub->actions().isEmpty()) {
                settle(sub);
                continue;
            }
            auto* cell = static_cast<const cmcCellObj*>(action->data().value<void*>());
            auto* leaf = new QAction(sub->title(), menu);
            leaf->setData(action->data());
            leaf->setIcon(EntryIcon(cell ? CommandIcon(cell->cell, cell->parameter) : -1));
            leaf->setShortcut(MenuShortcut(cell ? cell->cell : cmcCellIds::kNoCell));
            connect(leaf, &QAction::triggered, this, [this, cell] {
                if (cell)
                    ExecuteCommandCell(*cell);
            });
            menu->insertAction(action, leaf);
            menu->removeAction(action);
            sub->deleteLater();
        }
    };
    for (QAction* top : menuBar()->actions())
        if (top->menu())
            settle(top->menu());
    // A menu bar entry with a command and no items (Language...) runs its command when clicked.
    for (QAction* top : menuBar()->actions()) {
        auto* cell = static_cast<const cmcCellObj*>(top->data().value<void*>());
        if (!top->menu() || !top->menu()->actions().isEmpty() || !cell || !FindCommand(cell->cell))
            continue;
        auto* leaf = new QAction(top->text(), menuBar());
        leaf->setData(top->data());
        connect(leaf, &QAction::triggered, this, [this, cell] { ExecuteCommandCell(*cell); });
        menuBar()->insertAction(top, leaf);
        menuBar()->removeAction(top);
        top->menu()->deleteLater();
    }
    for (QAction* top : menuBar()->actions())
        if (top->menu())
            connect(top->menu(), &QMenu::aboutToShow, this, [this] { RefreshCommands(); });
    // The Edit menu carries the entries of the open sheet's pop-up menu for its current cell.
    for (QAction* top : menuBar()->actions()) {
        auto* cell = static_cast<const cmcCellObj*>(top->data().value<void*>());
        if (!top->menu() || !cell || cell->cell != CL_Menu_Edit_Top)
            continue;
        QMenu* edit = top->menu();
        connect(edit, &QMenu::aboutToShow, this, [this, edit] {
            edit->clear();
            if (m_view && m_view->PopupMenu()) {
                m_view->PreparePopup(true);
                edit->addActions(m_view->PopupMenu()->actions());
            }
            if (edit->isEmpty()) {
                // No sheet menu: the disabled "no command" entry.
                cmcGTex& tex = m_s.tables->Text();
                std::string entry = tex.GetLine("GI_PMenu_NoItem_Body", 0);
                cmcCellObj none;
                none.ParseCell(std::string_view(entry).substr(entry.find('+') + 1), tex, nullptr, nullptr);
                edit->addAction(Q(none.displayText))->setEnabled(false);
            }
            m_undo->AddToMenu(edit);
            m_selection->AddToMenu(edit);
            m_find->AddToMenu(edit);
        });
    }
    cuiFleetWindow::AddToCloneMenu(menuBar(), Q(Text("GI_Fleet_Menu")), [this] { ShowFleetWindow(); });
}

void cuiMain::BuildToolBar() {
    cmcGTex& tex = m_s.tables->Text();
    cmcCellObj basic;
    basic.ParseCell(Text("GI_ToolBar_Main_BasicCell"), tex, nullptr, nullptr);
    m_toolBar = addToolBar(QStringLiteral("main"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int i = 0;; ++i) {
        std::string entry = tex.GetLine("GI_ToolBar_Main_Body", i);
        if (!entry.empty() && entry[0] == '#')
            break;
        cmcCellObj& cell = m_commandCells.emplace_back();
        cell.ParseCell(entry, tex, nullptr, &basic);
        if (cell.displayText == "-" || cell.displayText == "/") {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action =
            m_toolBar->addAction(EntryIcon(CommandIcon(cell.cell, cell.parameter)), Q(cell.displayText));
        action->setToolTip(Q(cell.displayText));
        action->setData(QVariant::fromValue(static_cast<void*>(&cell)));
        const cmcCellObj* c = &cell;
        connect(action, &QAction::triggered, this, [this, c] { ExecuteCommandCell(*c); });
    }
    m_toolBar->setVisible(m_s.env->toolbarVisible != 0);
    RefreshCommands();
}

// Commands without an implementation here are shown disabled; recent items follow the list.
void cuiMain::RefreshCommands() {
    ShowPortStatus(); // port, speed and model type change through commands, the port dialog and files
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu()) {
                walk(action->menu()->actions());
                continue;
            }
            auto* cell = static_cast<const cmcCellObj*>(action->data().value<void*>());
            if (!cell)
                continue;
            if (cell->cell == CL_Menu_File_Recent) {
                std::string caption = m_s.env->recent.MenuCaption(cell->parameter, m_s.env->currentDirectory);
                action->setEnabled(!caption.empty());
                action->setVisible(!caption.empty() || cell->parameter == 0);
                if (!caption.empty())
                    action->setText(Q(caption));
                continue;
            }
            const Command* command = FindCommand(cell->cell, cell->parameter);
            const bool known = command && command->inMenus;
            // Check marks and disabled states as the cell handler's host reports them.
            const bool checkable = known && command->checkable;
            action->setCheckable(checkable);
            if (checkable)
                action->setChecked(m_commandHost && m_commandHost->IsChecked(cell->cell, cell->parameter));
            action->setEnabled(known &&
                               !(m_commandHost && m_commandHost->IsDisabled(cell->cell, cell->parameter)));
        }
    };
    walk(menuBar()->actions());
    if (m_toolBar)
        walk(m_toolBar->actions());
}

void cuiMain::RebuildTree() {
    m_treeCells.clear();
    QSignalBlocker block(m_tree);
    m_tree->clear();
    iuiTreeSheets::Modes modes;
    modes.modelType = ModelType();
    modes.maker = m_makerMode;
    modes.adjust = m_treeLevel > 0;
    std::vector<iuiTreeSheets::Node> nodes =
        iuiTreeSheets::Nodes(m_s.tables->Text(), m_current.Data(), modes);
    std::vector<QTreeWidgetItem*> parents;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const iuiTreeSheets::Node& node = nodes[i];
        std::string caption = node.caption;
        if (i == 0)
            caption += m_s.tables->Text().GetLine("GI_AppInd_ModelTree", ModelType());
        parents.resize(static_cast<size_t>(node.depth));
        QTreeWidgetItem* item =
            parents.empty() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(parents.back());
        item->setText(0, Q(caption));
        item->setData(0, kTreeImageRole, node.imageIndex);
        item->setData(0, kTreeMarkRole, static_cast<int>(TreeMark::None));
        item->setData(0, kTreeBankRole, node.bank);
        item->setData(0, kTreeCaptionRole, Q(node.overlayCaption));
        item->setIcon(0, NodeIcon(node.imageIndex, TreeMark::None));
        item->setData(0, kTreeCellRole, Q(node.sheetText));
        parents.push_back(item);
    }
    if (m_tree->topLevelItemCount() > 0)
        m_tree->topLevelItem(0)->setExpanded(true);
    if (m_handler)
        CheckWarnings();
}

void cuiMain::RebuildBankBranches() {
    if (!m_tree)
        return;
    int position = 0; // the selected node's place in tree order
    for (QTreeWidgetItemIterator it(m_tree); *it && *it != m_tree->currentItem(); ++it)
        ++position;
    RebuildTree();
    if (QTreeWidgetItem* node = TreeNode(m_sheetText)) {
        QSignalBlocker block(m_tree);
        m_tree->setCurrentItem(node);
        return;
    }
    // The open sheet's node went (its bank has no channels left): the node now in its place.
    QTreeWidgetItemIterator it(m_tree);
    for (int i = 0; *it && i < position; ++i)
        ++it;
    if (*it && !(*it)->data(0, kTreeCellRole).toString().isEmpty())
        SelectTreeNode((*it)->data(0, kTreeCellRole).toString().toStdString());
    else
        CloseSheet(); // the periodic step opens the first sheet of the tree
}

void cuiMain::RefreshBankNodes() {
    if (!m_tree)
        return;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        QTreeWidgetItem* item = *it;
        const int bank = item->data(0, kTreeBankRole).toInt();
        if (bank < 0 || !item->data(0, kTreeBankRole).isValid())
            continue;
        const QString caption = Q(iuiTreeSheets::BankCaption(
            m_current.Data(), bank, item->data(0, kTreeCaptionRole).toString().toStdString()));
        if (item->text(0) != caption)
            item->setText(0, caption);
        const int image = iuiTreeSheets::BankImage(m_current.Data(), bank);
        if (ImageOf(item) != image) {
            item->setData(0, kTreeImageRole, image);
            item->setIcon(0, NodeIcon(image, MarkOf(item)));
        }
    }
}

cuiMain::TreeMark cuiMain::MarkOf(const QTreeWidgetItem* node) {
    return node ? static_cast<TreeMark>(node->data(0, kTreeMarkRole).toInt()) : TreeMark::None;
}

int cuiMain::ImageOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, kTreeImageRole).toInt() : -1;
}

// The node's image with the mark drawn over its lower right corner.
QIcon cuiMain::NodeIcon(int image, TreeMark mark) {
    const std::pair<int, int> key{image, static_cast<int>(mark)};
    auto it = m_nodeIcons.find(key);
    if (it != m_nodeIcons.end())
        return it->second;
    QIcon icon = StyleIcon(TreePixmap(image));
    if (mark != TreeMark::None) {
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
        QPixmap pixmap = icon.pixmap(size, size);
        QPainter painter(&pixmap);
        const int badge = (size * 2 + 2) / 3;
        StyleIcon(TreePixmap(mark == TreeMark::Error ? 13 : 12))
            .paint(&painter, QRect(size - badge, size - badge, badge, badge));
        painter.end();
        icon = QIcon(pixmap);
    }
    return m_nodeIcons.emplace(key, icon).first->second;
}

// Every node whose sheet a check names carries its mark, and so does every collapsed branch above
// it; an error mark replaces a warning mark.
void cuiMain::ApplyTreeMarks() {
    if (!m_tree)
        return;
    std::map<QTreeWidgetItem*, TreeMark> marks;
    auto mark = [&](const std::vector<indWarningCheck::Item>& items, TreeMark kind) {
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            const std::string text = (*it)->data(0, kTreeCellRole).toString().toStdString();
            if (text.empty())
                continue;
            const bool named = std::any_of(items.begin(), items.end(), [&](const indWarningCheck::Item& i) {
                return LocationNames(i.location, text);
            });
            if (!named)
                continue;
            marks[*it] = kind;
            for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
                if (!up->isExpanded())
                    marks[up] = kind;
        }
    };
    mark(m_warnings.warnings, TreeMark::Warning);
    mark(m_warnings.errors, TreeMark::Error);
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        auto found = marks.find(*it);
        const TreeMark now = found == marks.end() ? TreeMark::None : found->second;
        if (MarkOf(*it) == now)
            continue;
        (*it)->setData(0, kTreeMarkRole, static_cast<int>(now));
        (*it)->setIcon(0, NodeIcon(ImageOf(*it), now));
    }
}

const indWarningCheck::Result& cuiMain::CheckWarnings() {
    if (m_warnTimer)
        m_warnTimer->stop();
    if (m_handler) {
        m_warnings = indWarningCheck::Run(*m_handler, m_s.tables->Text(), ModelType());
        ApplyTreeMarks();
        RefreshBankNodes();
        RefreshSheetTitle();
    }
    return m_warnings;
}

bool cuiMain::WarningCheckPending() const {
    return m_warnTimer && m_warnTimer->isActive();
}

void cuiMain::ScheduleWarningCheck() {
    if (m_warnTimer)
        m_warnTimer->start(); // a later edit starts the wait again
}

void cuiMain::RefreshSheetTitle() {
    auto* bank = m_view ? dynamic_cast<iuiSh_ChBank*>(&m_view->Sheet()) : nullptr;
    if (!bank || !m_view->TitleBar())
        return;
    QLabel* title = m_view->TitleBar();
    title->setText(Q(bank->LiveTitle()));
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, cuiQtColors::ToQColor(bank->SmarTrunk() ? 0xFFFF00u : 0x00FFFFu));
    title->setPalette(palette);
}

QTreeWidgetItem* cuiMain::TreeNode(const std::string& sheetText) {
    if (!m_tree || sheetText.empty())
        return nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, kTreeCellRole).toString().toStdString() == sheetText)
            return *it;
    return nullptr;
}

bool cuiMain::SelectTreeNode(const std::string& sheetText) {
    QTreeWidgetItem* node = TreeNode(sheetText);
    if (!node)
        return false;
    m_tree->setCurrentItem(node);
    // A node chosen by the program opens at once; the selection delay is for the user's keys.
    if (sheetText != m_sheetText)
        OpenSheet(sheetText);
    return true;
}

// ---- sheets ----

bool cuiMain::OpenSheet(const std::string& sheetText) {
    CloseSheet();
    cmcGTex& tex = m_s.tables->Text();
    cuiSheetText parts = cuiSheetText::Split(sheetText);
    // A sheet the overlay does not define yet is reported, not fatal: the tree may name it early.
    if (parts.overlayKey.empty() || !tex.HasKey(parts.overlayKey + "_Cells") ||
        !tex.HasKey(parts.overlayKey + "_Style") || !tex.HasKey(parts.overlayKey + "_BasicCell")) {
        m_status->SetText(Q(sheetText));
        m_sheetText = sheetText;
        RefreshCommands();
        return false;
    }
    cuiSheetEnv env = SheetEnv();
    if (m_windows)
        m_windows->SetEnv(env);
    std::unique_ptr<cuiSheet> sheet = iuiSheetFactory::Build(env, sheetText);
    m_handler->shownBank = iuiSh_ChBank::BankShown(*sheet);
    m_view = new cuiSheetView(std::move(sheet), m_handler.get(), m_host);
    m_view->SetChoiceLists(&m_lists);
    {
        // Columns still at their overlay width grow to show their values; a width stored from an
        // earlier opening (one the user may have narrowed) stays as it is.
        cuiSheet& built = m_view->Sheet();
        std::vector<int> kept(static_cast<size_t>(built.ColCount()));
        for (int c = 0; c < built.ColCount(); ++c)
            kept[static_cast<size_t>(c)] = built.ColWidth(c) != built.FittedWidth(c) ? built.ColWidth(c) : -1;
        m_view->FitValueColumns();
        for (int c = 0; c < built.ColCount(); ++c)
            if (const int w = kept[static_cast<size_t>(c)]; w >= 0 && built.ColWidth(c) != w) {
                built.SetColWidth(c, w);
                m_view->Grid().SetColWidth(c, w);
            }
    }
    indRowCommands::Services rs;
    rs.work = &m_current;
    rs.reference = &m_reference;
    rs.defaults = &m_initial;
    rs.clip = &m_clip;
    rs.handler = m_handler.get();
    rs.box = m_s.box;
    rs.texts = &tex;
    rs.events = m_s.events;
    rs.modelFamily = ModelType();
    m_rows = std::make_unique<indRowCommands>(rs);
    auto shownBank = [this] {
        auto* bank = dynamic_cast<iuiSh_ChBank*>(&m_view->Sheet());
        return bank ? bank->Bank() : -1;
    };
    m_view->onRowCommand = [this](int32_t command, cmcCellCapsule& capsule) {
        if (command == CL_PMenu_Help) {
            OpenHelp();
            return true;
        }
        if (command == CL_PMenu_MCHWin) {
            // The handler shows the window on the row's channel (through the window host).
            m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
            return true;
        }
        // Through the cell handler, which refuses changes to rows the data cannot save and gives
        // the command to the command host, which runs it below.
        m_rowRan = false;
        m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        return m_rowRan;
    };
    m_commandHost->runRow = [this, shownBank](const indCellHost::RowCommand& row, cmcCellCapsule& capsule) {
        m_rowRan = m_rows->Run(row.command, capsule, shownBank());
        return m_rowRan;
    };
    m_view->onSortColumn = [this](int col, bool descending) { return SortColumn(col, descending); };
    (new cuiColumnDrag(*m_view))->onMoved = [this] {
        QTimer::singleShot(0, this, [this] { OpenSheet(std::string(m_sheetText)); });
    };
    auto* rowDrag = new cuiRowDrag(*m_view);
    rowDrag->onDrop = [this](int first, int last, int target) { DropRows(first, last, target); };
    rowDrag->onDropOutside = [this](int first, int last, const QPoint& at) {
        DropRowsOnTree(first, last, at);
    };
    m_view->rowCommandApplies = [this, shownBank](int32_t command, const cmcCellCapsule& capsule) {
        return command == CL_PMenu_Help ||
               (command == CL_PMenu_MCHWin && capsule.cell && capsule.cell->category == CT_Mch) ||
               m_rows->Applies(command, capsule, shownBank());
    };
    WireUndo(*m_view);
    m_hostLayout->addWidget(m_view);
    m_sheetText = sheetText;
    m_view->show();
    ApplyStartPosition();
    RefreshSheetTitle();
    if (!m_treeHadFocus && m_view->Grid().isEnabled())
        m_view->Grid().setFocus();
    WireChannelWindow();
    // The toolbar's Print button follows the sheet shown.
    RefreshCommands();
    return true;
}

cuiSheetEnv cuiMain::SheetEnv() {
    cuiSheetEnv env;
    env.texts = &m_s.tables->Text();
    env.languages = &m_s.tables->Languages();
    env.work = &m_current;
    env.current = &m_current;
    env.modelType = ModelType();
    env.fontRatio = m_s.env->fontSizePercentage;
    env.settings = &m_s.env->Store();
    env.canvas = &m_measure;
    env.events = m_s.events;
    env.makerMode = m_makerMode;
    env.mchWindowOpen = m_mchWindow != nullptr;
    return env;
}

void cuiMain::RescaleStoredWidths(int from, int to) {
    if (from <= 0 || to <= 0)
        return;
    cmcSettingsStore& store = m_s.env->Store();
    cmcGTex& tex = m_s.tables->Text();
    // Every sheet that keeps widths is listed as "overlay key:store name"; the list ends at "#".
    for (int n = 0;; ++n) {
        const std::string line = tex.GetLine("GI_CellWidthRegList", n);
        const size_t colon = line.find(':', 1);
        if (line.empty() || line[0] == '#' || colon == std::string::npos)
            return;
        const std::string group = "Display/" + line.substr(colon + 1) + "/colwidth";
        for (int c = 0; c < kMaxStoredColumns; ++c) {
            const std::string name = std::to_string(c);
            const std::optional<int32_t> width = store.ReadInt(group, name);
            // Rounded up, so that a column fitted to its header still fits it. (A damaged value is
            // kept in range here; the sheet limits what it restores.)
            if (width && *width > 0)
                store.WriteInt(group, name,
                               static_cast<int32_t>(
                                   std::min<int64_t>((int64_t{*width} * to + from - 1) / from, INT32_MAX)));
        }
    }
}

void cuiMain::ApplyStartPosition() {
    cuiSheetView& view = *m_view;
    cuiGrid& grid = view.Grid();
    auto it = std::find_if(m_positions.begin(), m_positions.end(),
                           [&](const SheetPosition& p) { return p.sheetText == m_sheetText; });
    // A position the sheet no longer has (fewer rows since) is dropped.
    if (it != m_positions.end() && it->col < grid.ColCount() && it->leftCol < grid.ColCount() &&
        it->row < grid.RowCount() && it->topRow < grid.RowCount() && it->col >= 0 && it->row >= 0) {
        if (view.Selectable(it->col, it->row)) {
            view.MoveTo(it->col, it->row);
            grid.SetLeftCol(std::max(it->leftCol, grid.FixedCols()));
            grid.SetTopRow(std::max(it->topRow, grid.FixedRows()));
        }
        return;
    }
    const cuiSheet& sheet = view.Sheet();
    if (sheet.StartCell() != 0)
        view.MoveToCell(-1, sheet.StartCell(), sheet.StartParameter());
}

void cuiMain::CloseSheet() {
    if (m_tree)
        m_treeHadFocus = m_tree->hasFocus();
    CommitEdits();
    if (m_windows)
        m_windows->CloseAll();
    if (m_view) {
        // Where the sheet was left, for its next opening in this session.
        const cuiGrid& grid = m_view->Grid();
        std::erase_if(m_positions, [&](const SheetPosition& p) { return p.sheetText == m_sheetText; });
        m_positions.push_front({m_sheetText, grid.TopRow(), grid.LeftCol(), grid.Row(), grid.Col()});
        delete m_view;
        m_view = nullptr;
    }
    // Row commands belong to the sheet that was open.
    if (m_commandHost)
        m_commandHost->runRow = nullptr;
    m_sheetText.clear();
}

void cuiMain::CommitEdits() {
    m_s.events->Send(cmcEv::CommitEdit);
    if (m_view) {
        m_view->CloseEditor(true);
    }
}

void cuiMain::PeriodicStep() {
    if (m_undo)
        m_undo->Sync();
    // A closed sheet reopens from the tree's selection; without one, the first node with a sheet.
    if (!m_sheetText.empty() || !isVisible() || !m_tree)
        return;
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item && !item->data(0, kTreeCellRole).toString().isEmpty()) {
        OpenSheet(item->data(0, kTreeCellRole).toString().toStdString());
        return;
    }
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (!(*it)->data(0, kTreeCellRole).toString().isEmpty()) {
            m_tree->setCurrentItem(*it);
            return;
        }
}

// ---- commands ----

const cuiMain::Command* cuiMain::FindCommand(int32_t cell, int32_t parameter) {
    using W = cuiMain;
    using C = const cmcCellObj&;
    using I = cuiCommandIcons;
    static constexpr Command kCommands[] = {
        {CL_Menu_File_New, I::New, true, false,
         [](W& w, C) {
             w.New();
             return true;
         }},
        {CL_Menu_File_Open, I::Open, true, false,
         [](W& w, C) {
             w.OpenDialog();
             return true;
         }},
        {CL_Menu_File_Save, I::Save, true, false,
         [](W& w, C) {
             w.SaveCurrent();
             return true;
         }},
        {CL_Menu_File_SaveAs, -1, true, false,
         [](W& w, C) {
             w.SaveAs();
             return true;
         }},
        {CL_Menu_File_Print_Current, I::Print, true, false,
         [](W& w, C) {
             w.m_print->PrintCurrent();
             return true;
         }},
        {CL_Menu_File_Print_All, -1, true, false,
         [](W& w, C) {
             w.m_print->PrintAll();
             return true;
         }},
        // Export, Import and Compare share the one command cell the model leaves free for them.
        {CL_Menu_Debug_Compare, -1, true, false,
         [](W& w, C c) {
             w.m_exchange->Run(c.parameter);
             return true;
         }},
        // Its entries follow the recent file list (RefreshCommands).
        {CL_Menu_File_Recent, -1, false, false,
         [](W& w, C c) {
             std::string path = w.m_s.env->recent.DisplayText(c.parameter, "");
             if (!path.empty())
                 w.OpenFile(path);
             return true;
         }},
        {CL_Menu_File_Exit, -1, true, false,
         [](W& w, C) {
             w.close();
             return true;
         }},
        {CL_Menu_View_MchWin, I::ChannelWindow, true, true,
         [](W& w, C) {
             w.ToggleChannelWindow();
             return true;
         }},
        {CL_Menu_View_FontSize, -1, true, true,
         [](W& w, C c) {
             // The sheet is built again at the new size by the periodic step.
             if (c.parameter >= 25 && c.parameter <= 1000 && c.parameter != w.m_s.env->fontSizePercentage) {
                 w.CloseSheet(); // keeps its widths at the old size
                 w.RescaleStoredWidths(w.m_s.env->fontSizePercentage, c.parameter);
                 w.m_s.env->fontSizePercentage = c.parameter;
                 w.m_s.events->Send(cmcEv::RelayoutMchWindow);
             }
             return true;
         }},
        {CL_Menu_View_ToolBar, -1, true, true,
         [](W& w, C) {
             w.m_s.env->toolbarVisible = w.m_s.env->toolbarVisible ? 0 : 1;
             w.m_toolBar->setVisible(w.m_s.env->toolbarVisible != 0);
             return true;
         }},
        {CL_Menu_Port_Com, -1, true, true,
         [](W& w, C c) {
             if (c.parameter >= 1 && c.parameter <= 256)
                 w.m_s.env->comPort = c.parameter;
             w.m_s.events->Send(cmcEv::RefreshCommands);
             return true;
         }},
        {CL_Menu_Port_Usb, -1, true, true,
         [](W& w, C) {
             w.ShowPortDialog(2);
             return true;
         }},
        {CL_Menu_Port_ComList0, -1, true, false,
         [](W& w, C) {
             w.ShowPortDialog(0);
             return true;
         }},
        {CL_Menu_Port_ComList1, -1, true, false,
         [](W& w, C) {
             w.ShowPortDialog(1);
             return true;
         }},
        {CL_Menu_Port_ComList2, -1, true, false,
         [](W& w, C) {
             w.ShowPortDialog(2);
             return true;
         }},
        {CL_Menu_Port_SpeedHigh, -1, true, true,
         [](W& w, C c) {
             w.m_s.env->comSpeedHigh = c.parameter ? 1 : 0;
             return true;
         }},
        {CL_Menu_Clone_Read, I::CloneRead, true, false,
         [](W& w, C) {
             w.CloneRead();
             return true;
         }},
        {CL_Menu_Clone_Write, I::CloneWrite, true, false,
         [](W& w, C) {
             w.CloneWrite();
             return true;
         },
         0},
        // Clone write's backup: the setting, and the folder the backups are kept in.
        {CL_Menu_Clone_Write, -1, true, true,
         [](W& w, C) {
             w.m_s.env->backupBeforeWrite = w.m_s.env->backupBeforeWrite ? 0 : 1;
             return true;
         },
         1},
        {CL_Menu_Clone_Write, -1, true, false,
         [](W& w, C) {
             w.m_clone->ShowBackupsFolder();
             return true;
         },
         2},
        {CL_Menu_Clone_Info, I::CloneInfo, true, false,
         [](W& w, C) {
             w.CloneInfo();
             return true;
         }},
        {CL_Menu_Ad_Read, -1, true, false,
         [](W& w, C) {
             w.AdRead();
             return true;
         }},
        {CL_Menu_View_Ad, -1, true, true,
         [](W& w, C) {
             w.ToggleAdView();
             return true;
         }},
        {CL_Menu_View_Ad_Update, -1, true, false,
         [](W& w, C) {
             w.UpdateAdView();
             return true;
         }},
        {CL_Model_Lmr, -1, true, true,
         [](W& w, C) {
             w.ChangeModel(0, true);
             return true;
         }},
        {CL_Model_Pmr, -1, true, true,
         [](W& w, C) {
             w.ChangeModel(1, true);
             return true;
         }},
        {CL_Help_About, I::About, true, false,
         [](W& w, C) {
             w.ShowAbout();
             return true;
         }},
        {CL_Help_Contents, I::Help, true, false,
         [](W& w, C) {
             w.OpenHelp();
             return true;
         }},
        {CL_Menu_Lang, -1, true, false,
         [](W& w, C) {
             w.ShowLanguageWindow();
             return true;
         }},
        // Tree and sheet cells that open a sheet.
        {CallSheet, -1, false, false,
         [](W& w, C c) {
             if (!c.argument)
                 return false;
             w.OpenSheet(*c.argument);
             return true;
         }},
    };
    for (const Command& command : kCommands)
        if (command.cell == cell && (parameter == kAnyParameter || command.parameter == kAnyParameter ||
                                     command.parameter == parameter))
            return &command;
    return nullptr;
}

int cuiMain::CommandIcon(int32_t cell, int32_t parameter) {
    const Command* command = FindCommand(cell, parameter);
    return command ? command->icon : -1;
}

void cuiMain::TakeImport(const cmcEeprom& before, const cmcEeprom& after) {
    // The import worked on a copy of this data (before); what it changed is one undo step.
    (void)before;
    TakeChange(after, m_undo->StepName(cuiUndoCommands::kImport));
}

void cuiMain::TakeChange(const cmcEeprom& after, const std::string& label) {
    const std::string sheet = m_sheetText;
    {
        cuiUndoCommands::Action step(*m_undo, label);
        m_current = after;
    }
    MarkModified();
    RebuildBankBranches();
    // The open sheet again, with the rows the import appended.
    if (!sheet.empty() && m_sheetText == sheet)
        OpenSheet(sheet);
    CheckWarnings();
    RefreshCommands();
}

bool cuiMain::ExecuteCommandCell(const cmcCellObj& cell) {
    // While a clone or a print runs the window takes no commands (a shortcut may still arrive).
    if ((m_clone && m_clone->IsBusy()) || (m_print && m_print->IsBusy()))
        return false;
    const Command* command = FindCommand(cell.cell, cell.parameter);
    if (!command || !command->run || !command->run(*this, cell))
        return false;
    RefreshCommands();
    return true;
}

cmcMessageBox::Answer cuiMain::SaveChangesPrompt(bool anotherFile) {
    CommitEdits();
    if (!Modified())
        return cmcMessageBox::Answer::Yes;
    cmcGTex& tex = m_s.tables->Text();
    std::string text;
    if (anotherFile) {
        text = tex.GetJoinedText("GI_Mess_Confirm_WriteAnother");
    } else {
        text = cmcText::FillIn(tex.GetJoinedText("GI_Mess_Confirm_WriteFile"), {FileNameOf(m_path)});
    }
    cmcMessageBox::Answer answer = m_s.box->Show(text, Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Warning,
                                                 cmcMessageBox::Buttons::YesNoCancel);
    if (answer == cmcMessageBox::Answer::Yes) {
        bool saved = (m_path.empty() || anotherFile) ? SaveAs() : Save(m_path);
        if (!saved)
            return cmcMessageBox::Answer::Cancel;
    }
    return answer;
}

void cuiMain::New() {
    if (SaveChangesPrompt(false) == cmcMessageBox::Answer::Cancel)
        return;
    StartFromInitialData();
}

// The document becomes the initial data of the current model type, unsaved and without a file.
void cuiMain::StartFromInitialData() {
    CloseSheet();
    m_current = m_initial;
    m_reference = m_initial;
    m_s.events->Send(cmcEv::MchForget);
    ResetHistory(true);
    MarkUnmodified();
    m_path.clear();
    UpdateTitle();
    RebuildTree();
}

void cuiMain::OpenDialog() {
    std::string path = AskPath(false);
    if (!path.empty())
        OpenFile(path);
}

bool cuiMain::OpenFile(const std::string& path) {
    bool same = QString::compare(Q(path), Q(m_path), Qt::CaseInsensitive) == 0 && !m_path.empty();
    if (SaveChangesPrompt(same) == cmcMessageBox::Answer::Cancel)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmcEeprom scratch;
    cmcKvtFile::FileError code = indDataFile::Open(path, scratch, &m_model);
    QApplication::restoreOverrideCursor();
    if (code != cmcKvtFile::FileError::Ok) {
        cmcKvtFile::ShowFileError(code, m_s.tables->Text(), *m_s.box);
        return false;
    }
    int type = m_model.StoredModelType(scratch);
    if (type != ModelType())
        ChangeModel(type, false);
    CloseSheet();
    m_current = m_initial;
    m_current.WriteBlock(0, scratch.Data(), cmcEeprom::kRadioSize);
    m_reference = m_current;
    m_model.Convert(m_current, 0);
    m_s.events->Send(cmcEv::MchForget);
    m_s.env->currentDirectory = FolderOf(path);
    m_path = path;
    m_s.env->recent.AddFront(path);
    ResetHistory(true);
    MarkUnmodified();
    RebuildTree();
    RefreshCommands();
    return true;
}

bool cuiMain::Save(const std::string& path) {
    CommitEdits();
    // Edits not yet in the history are steps before the save, not part of it.
    if (m_undo)
        m_undo->Sync();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The file's comment line carries the radio's two clone comments.
    const std::string comment = indDataFile::CloneComment(m_current);
    // The file holds the radio layout: pack the working tables into it first.
    if (m_model.Convert(m_current, 1)) {
        // Packing reported its failure; a half-packed image is not written over a good file.
        QApplication::restoreOverrideCursor();
        return false;
    }
    cmcKvtFile::FileError code = indDataFile::Save(path, m_current, comment);
    QApplication::restoreOverrideCursor();
    if (code != cmcKvtFile::FileError::Ok) {
        cmcKvtFile::ShowFileError(code, m_s.tables->Text(), *m_s.box);
        return false;
    }
    m_s.env->currentDirectory = FolderOf(path);
    m_path = path;
    m_s.env->recent.AddFront(path);
    MarkUnmodified();
    RefreshCommands();
    return true;
}

bool cuiMain::SaveAs() {
    std::string path = AskPath(true);
    return !path.empty() && Save(path);
}

bool cuiMain::SaveCurrent() {
    return m_path.empty() ? SaveAs() : Save(m_path);
}

std::string cuiMain::AskPath(bool save) {
    std::string name = m_path.empty() ? std::string() : FileNameOf(m_path);
    return m_s.askPath(save, m_s.env->currentDirectory, name);
}

void cuiMain::ChangeModel(int modelType, bool ask) {
    if (modelType == ModelType() || modelType < 0 || modelType > 1)
        return;
    if (ask) {
        // The change replaces the data with the other type's initial data: changes not yet saved are
        // offered for saving first (Yes saves, No discards, Cancel keeps everything).
        CommitEdits();
        if (Modified()) {
            const std::string text = cmcText::FillIn(
                m_s.tables->Text().GetJoinedText("GI_AppMess_ChangeModel_Modified"), {FileNameOf(m_path)});
            const cmcMessageBox::Answer answer =
                m_s.box->Show(text, Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Warning,
                              cmcMessageBox::Buttons::YesNoCancel);
            if (answer == cmcMessageBox::Answer::Cancel ||
                (answer == cmcMessageBox::Answer::Yes && !SaveCurrent()))
                return;
        } else if (m_s.box->Show(m_s.tables->Text().GetJoinedText("GI_AppMess_ChangeModel"),
                                 Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Warning,
                                 cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok) {
            return;
        }
    }
    m_s.env->modelType = modelType;
    indModel::LoadInitialData(indModel::InitialFilePath(m_s.tables->Text(), modelType), m_initial);
    indModel::ConvertInitial(m_initial, m_model.GetSettings());
    if (m_handler)
        m_handler->SetModelFamily(modelType);
    if (m_commandHost)
        m_commandHost->SetModelType(modelType);
    m_s.events->Send(cmcEv::MchForget);
    ShowPortStatus();
    if (ask)
        StartFromInitialData();
}

// ---- state ----

bool cuiMain::Modified() {
    if (!m_modified && !(m_current == m_saved))
        MarkModified();
    return m_modified;
}

bool cuiMain::SortColumn(int col, bool descending) {
    if (!m_view || !m_rows || !m_handler)
        return false;
    cuiUndoCommands::Action step(*m_undo, m_undo->StepName(cuiUndoCommands::kSort));
    const indRowCommands::Result result =
        iuiSheetSort::Sort(m_view->Sheet(), *m_handler, *m_rows, col, descending);
    if (result == indRowCommands::Result::Done && m_handler->onModified)
        m_handler->onModified();
    return result == indRowCommands::Result::Done || result == indRowCommands::Result::Nothing;
}

bool cuiMain::DropRows(int first, int last, int target) {
    if (!m_view || !m_rows || !m_handler)
        return false;
    cuiUndoCommands::Action step(*m_undo, m_s.tables->Text().GetLine("GI_RowDrag_Steps", 0));
    const indRowCommands::Result result = cuiRowDrag::Move(m_view->Sheet(), *m_rows, first, last, target);
    if (result == indRowCommands::Result::Done && m_handler->onModified)
        m_handler->onModified();
    return result == indRowCommands::Result::Done;
}

bool cuiMain::DropRowsOnTree(int first, int last, const QPoint& globalPos) {
    if (!m_view || !m_rows || !m_handler || !m_tree)
        return false;
    QTreeWidgetItem* item = m_tree->itemAt(m_tree->viewport()->mapFromGlobal(globalPos));
    const std::string text = item ? item->data(0, kTreeCellRole).toString().toStdString() : std::string();
    const cuiSheetText parts = cuiSheetText::Split(text);
    cmcGTex& tex = m_s.tables->Text();
    if (parts.overlayKey.empty() || !tex.HasKey(parts.overlayKey + "_Cells") ||
        !tex.HasKey(parts.overlayKey + "_Style") || !tex.HasKey(parts.overlayKey + "_BasicCell"))
        return false;
    // The bank the node shows, from a quiet build of its sheet.
    cuiSheetEnv env = SheetEnv();
    env.events = nullptr;
    env.settings = nullptr;
    const std::unique_ptr<cuiSheet> probe = iuiSheetFactory::Build(env, text);
    const int bank = probe ? iuiSh_ChBank::BankShown(*probe) : -1;
    if (bank < 0)
        return false;
    cuiUndoCommands::Action step(
        *m_undo, cmcCodecText::Fill(tex.GetLine("GI_RowDrag_Steps", 1), {item->text(0).toStdString()}));
    const indRowCommands::Result result =
        cuiRowDrag::MoveToBank(m_view->Sheet(), *m_rows, m_current, &m_initial, first, last, bank);
    if (result == indRowCommands::Result::Done && m_handler->onModified)
        m_handler->onModified();
    return result == indRowCommands::Result::Done;
}

void cuiMain::MarkModified() {
    m_modified = true;
    UpdateTitle();
}

void cuiMain::MarkUnmodified() {
    m_modified = false;
    m_saved = m_current;
    // Undo and redo tell unsaved data by the step that was saved.
    if (m_undo)
        m_undo->Saved();
    UpdateTitle();
}

void cuiMain::UpdateTitle() {
    std::string title = FileNameOf(m_path) + (m_modified ? " *" : "") + " - " + Text("GI_Sys_AppTitle");
    setWindowTitle(Q(title));
}

QString cuiMain::StatusText() const {
    return m_status ? m_status->Text() : QString();
}

void cuiMain::OpenHelp() {
    OpenHelpFile(cmcAppFile(m_s.tables->Text().GetText("GI_Sys_MyHelpFile")));
}

void cuiMain::OpenHelpFile(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) {
        const std::string text =
            cmcText::FillIn(m_s.tables->Text().GetJoinedText("GI_AppMess_HelpMissing"), {path});
        m_s.box->Show(text, Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
        return;
    }
    if (m_s.openHelp(path))
        return;
    // No browser to show it: the help's own window, one at a time.
    if (!m_helpViewer)
        m_helpViewer = new cuiHelpViewer(this, m_s.tables->Text(), path);
    else
        m_helpViewer->ShowContents();
    m_helpViewer->show();
    m_helpViewer->raise();
    m_helpViewer->activateWindow();
}

void cuiMain::ShowAbout() {
    cuiAboutDialog::Facts facts;
    facts.version = m_s.version.empty() ? QCoreApplication::applicationVersion().toStdString() : m_s.version;
    facts.buildDate = m_s.buildDate;
    const std::string license = cmcAppFile("LICENSE");
    if (std::filesystem::is_regular_file(license))
        facts.licenseFile = license;
    cuiAboutDialog about(this, m_s.tables->Text(), facts);
    about.exec();
}

void cuiMain::EnterMakerMode() {
    if (m_makerMode)
        return;
    if (m_s.box->Show(m_s.tables->Text().GetJoinedText("GI_Mess_Maker_Caution"), Text("GI_Sys_AppTitle"),
                      cmcMessageBox::Icon::Warning,
                      cmcMessageBox::Buttons::OkCancel) != cmcMessageBox::Answer::Ok)
        return;
    m_makerMode = true;
    if (m_handler)
        m_handler->makerMode = true;
    // A maker-mode write starts at address 0 and asks the maker caution first.
    if (m_clone)
        m_clone->SetMakerMode(true);
    if (m_tree)
        RebuildTree();
    // The panel is as wide as its text and two more characters.
    m_makerPanel = new cuiStatusPanel(this);
    const QString text = Q(Text("GI_StatusPanel_Maker"));
    m_makerPanel->SetText(text);
    m_makerPanel->SetColors(0xFFFFFF, 0x800000); // white on navy
    m_makerPanel->SetCentred(true);
    m_makerPanel->setFixedWidth(m_makerPanel->fontMetrics().horizontalAdvance(text) +
                                m_makerPanel->fontMetrics().horizontalAdvance(QStringLiteral("XX")));
    statusBar()->addPermanentWidget(m_makerPanel);
}

void cuiMain::EnterFactoryMode() {
    if (m_factoryMode)
        return;
    if (m_s.box->Show(m_s.tables->Text().GetJoinedText("GI_Mess_FactADJMode_Caution"),
                      Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Warning,
                      cmcMessageBox::Buttons::OkCancel) == cmcMessageBox::Answer::Ok)
        m_factoryMode = true;
}

void cuiMain::ApplyCommandLine(const std::vector<std::string>& arguments) {
    auto is = [](const std::string& a, const char* word) {
        return QString::compare(Q(a), QLatin1String(word), Qt::CaseInsensitive) == 0;
    };
    for (const std::string& a : arguments)
        if (is(a, "/reserve"))
            EnterMakerMode();
    for (const std::string& a : arguments)
        if (is(a, "/factory_adj"))
            EnterFactoryMode();
}

void cuiMain::closeEvent(QCloseEvent* event) {
    // A running clone keeps the window; so does a cancelled save-changes prompt.
    if (!isEnabled() || (m_clone && m_clone->IsBusy()) || (m_print && m_print->IsBusy()) ||
        SaveChangesPrompt(false) == cmcMessageBox::Answer::Cancel) {
        event->ignore();
        return;
    }
    indEnviron& env = *m_s.env;
    QRect r = normalGeometry();
    env.windowLeft = r.left();
    env.windowTop = r.top();
    env.windowWidth = r.width();
    env.windowHeight = r.height();
    // The maximised state goes with the secondary windows' placements, under the main window's name.
    env.SetWindowPosition(kMainWindowName, r.left(), r.top(), r.width(), r.height(), -1, -1, -1, -1,
                          isMaximized() ? kWindowMaximised : kWindowNormal, 1);
    if (m_tree)
        env.splitterPosition = m_tree->width();
    m_step->stop();
    EndWindows();
    CloseSheet();
    event->accept();
}

void cuiMain::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<cuiMain*>(context);
    // One list entry added or removed: the list sheets add or remove a row, the grid follows.
    if (cmcEv::IsListInsert(event.type) || cmcEv::IsListDelete(event.type)) {
        self->m_s.events->Send(cmcEv::IsListInsert(event.type) ? cmcEv::AddRows : cmcEv::RemoveRows, 1);
        if (self->m_view)
            self->m_view->SyncRows();
        self->ScheduleWarningCheck();
        return;
    }
    if (event.type == cmcEv::StatusText && self->m_status) {
        // A sender without colours (both the same) gets the usual ones rather than unreadable text.
        if (event.p1 != event.p2)
            self->m_status->SetColors(static_cast<uint32_t>(event.p1), static_cast<uint32_t>(event.p2));
        else
            self->m_status->SetColors(0x80000008u, 0x8000000Fu);
        self->m_status->SetText(Q(std::string(event.Text())));
    } else if (event.type == cmcEv::RefreshCommands) {
        self->RefreshCommands();
    } else if (event.type == cmcEv::BankBranchesChanged || event.type == cmcEv::RebuildBankBranches) {
        self->RebuildBankBranches();
    } else if (event.type == cmcEv::RefreshWarnMarks || event.type == cmcEv::SetBankName ||
               event.type == cmcEv::ReloadBankName) {
        self->RefreshBankNodes();
    } else if (event.type == cmcEv::RefreshSheetTitle) {
        self->RefreshSheetTitle();
    } else if (event.type == cmcEv::OpenAdWindow) {
        self->OpenAdWindow();
    } else if (event.type == cmcEv::RefreshAdValues) {
        self->RefreshAdWindow();
    }
}

// ---- clone and port commands ----

void cuiMain::CloneRead() {
    if (!m_clone || m_clone->IsBusy())
        return;
    if (SaveChangesPrompt(false) == cmcMessageBox::Answer::Cancel)
        return;
    m_clone->Read([this](const cmcEeprom& radio) { AcceptRadioData(radio); });
    RefreshCommands();
}

// The radio's memory replaces the data: on the initial data of the model type stored in it, unsaved
// and without a file.
void cuiMain::AcceptRadioData(const cmcEeprom& radio) {
    if (radio.GetSize() < cmcEeprom::kRadioSize)
        return;
    CloseSheet();
    int type = m_model.StoredModelType(radio);
    if (type != ModelType())
        ChangeModel(type, false);
    m_current = m_initial;
    m_current.WriteBlock(0, radio.Data(), cmcEeprom::kRadioSize);
    m_reference = m_current;
    m_model.Convert(m_current, 0);
    m_s.events->Send(cmcEv::MchForget);
    m_path.clear();
    ResetHistory(false);
    MarkModified();
    RebuildTree();
    m_s.events->Send(cmcEv::RebuildBankBranches);
}

void cuiMain::CloneWrite() {
    if (!m_clone || m_clone->IsBusy())
        return;
    CommitEdits();
    m_clone->Write(m_current, [this] {
        CloseSheet();
        m_s.box->Show(m_s.tables->Text().GetJoinedText("GI_Mess_CloneWrite_Succeeded"),
                      Text("GI_Sys_AppTitle"), cmcMessageBox::Icon::Information, cmcMessageBox::Buttons::Ok);
    });
    RefreshCommands();
}

void cuiMain::ShowFleetWindow() {
    CommitEdits();
    cuiFleetWindow::Services fs;
    fs.loop = m_s.loop;
    fs.tex = &m_s.tables->Text();
    fs.env = m_s.env;
    fs.box = m_s.box;
    fs.listDevices = [this] { return m_s.ports->ListDevices(); };
    fs.describe = [this](const std::string& path) { return m_s.ports->Describe(path); };
    fs.working = [this] { return m_current; };
    fs.initial = m_initial;
    fs.modelType = ModelType();
    fs.warningCheck = [this](const cmcEeprom& working, int type) {
        cmcEeprom copy = working;
        return indWarningCheck::ErrorCount(copy, &m_initial, m_s.tables->Text(), type);
    };
    auto* window = new cuiFleetWindow(this, fs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void cuiMain::CloneInfo() {
    if (!m_clone || m_clone->IsBusy())
        return;
    m_clone->Info();
    RefreshCommands();
}

void cuiMain::ShowPortDialog(int form) {
    if (m_clone && m_clone->IsBusy())
        return;
    {
        cuiPortDialog dialog(this, form, *m_s.env, m_s.tables->Text(), *m_s.box, *m_s.ports);
        dialog.exec();
    }
    m_s.events->Send(cmcEv::RaiseFloatingWindows);
    RefreshCommands();
}

QString cuiMain::PortStatusText() const {
    cmcGTex& tex = m_s.tables->Text();
    const std::string stored = cuiPortDialog::CurrentDevice(*m_s.env);
    std::optional<cmcPortDevice> device = m_s.ports->Describe(stored);
    std::string port;
    if (device)
        port = cmcText::FillIn(tex.GetLine("GI_StatusPanel_Port", 0), {device->ShortName(), device->path});
    else
        port = cmcText::FillIn(tex.GetLine("GI_StatusPanel_Port", 1),
                               {stored.empty() ? std::to_string(m_s.env->comPort) : stored});
    const std::string speed = tex.GetLine("GI_StatusPanel_Port", m_s.env->comSpeedHigh ? 2 : 3);
    const std::string model = tex.GetLine("GI_AppInd_Model", ModelType() == 1 ? 1 : 0);
    return Q(cmcText::FillIn(tex.GetLine("GI_StatusPanel_Port", 4), {port, speed, model}));
}

void cuiMain::ShowPortStatus() {
    if (!m_status)
        return;
    if (!m_portPanel) {
        m_portPanel = new cuiStatusPanel(this);
        m_portPanel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        statusBar()->addPermanentWidget(m_portPanel);
    }
    const QString text = PortStatusText();
    if (text == m_portPanel->Text())
        return;
    m_portPanel->SetText(text);
    m_portPanel->updateGeometry();
}

QList<QAction*> cuiMain::CommandActions(const std::string& cellName, int parameter) {
    QList<QAction*> found;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu()) {
                walk(action->menu()->actions());
                continue;
            }
            auto* cell = static_cast<const cmcCellObj*>(action->data().value<void*>());
            if (cell && cmcCellIds::CellName(cell->cell) == cellName &&
                (parameter < 0 || cell->parameter == parameter))
                found << action;
        }
    };
    walk(menuBar()->actions());
    if (m_toolBar)
        walk(m_toolBar->actions());
    return found;
}

// ---- clone information and language ----

void cuiMain::ShowCloneInfo() {
    if (m_infoWindow)
        m_infoWindow->deleteLater();
    cmcGTex& tex = m_s.tables->Text();
    const std::string sheetText = "GI_Sheet_CloneInfo";
    std::unique_ptr<cuiSheet> sheet;
    if (tex.HasKey(sheetText + "_Cells") && tex.HasKey(sheetText + "_Style") &&
        tex.HasKey(sheetText + "_BasicCell"))
        sheet = iuiSheetFactory::Build(SheetEnv(), sheetText);
    m_infoWindow = new cuiCloneInfoWindow(this, std::move(sheet), m_handler.get(), Q(m_clone->InfoText()),
                                          Q(tex.GetText("GI_App_About_Button")));
    if (m_infoWindow->windowTitle().isEmpty())
        m_infoWindow->setWindowTitle(Q(Text("GI_Sys_AppTitle")));
    m_infoWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_infoWindow->show();
    m_infoWindow->raise();
}

void cuiMain::ShowLanguageWindow() {
    std::vector<std::string> names;
    for (int i = 0; i < m_s.tables->LanguageCount(); ++i)
        names.push_back(m_s.tables->LanguageName(i));
    std::string title = StyleValue(Text("GI_Sheet_LanguageSel_Style"), "TitleString");
    cuiLanguageDialog dialog(this, Q(title.empty() ? Text("GI_Sys_AppTitle") : title), names,
                             m_s.env->language);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int chosen = dialog.Chosen();
    // The menu that chose it is rebuilt: after its click has returned.
    if (chosen != m_s.env->language)
        QTimer::singleShot(0, this, [this, chosen] { ApplyLanguage(chosen); });
}

void cuiMain::ApplyLanguage(int language) {
    if (language == m_s.env->language || language < 0 || language >= m_s.tables->LanguageCount())
        return;
    const std::string sheet = m_sheetText;
    CloseSheet();
    if (m_infoWindow)
        m_infoWindow->close();
    m_s.env->language = m_s.tables->OpenLanguage(language);
    // Lists and texts read from the old overlay go with it.
    m_lists.Clear();
    m_codecs.ResetTexts();
    RebuildCommands();
    RebuildTree();
    if (!sheet.empty() && !SelectTreeNode(sheet))
        OpenSheet(sheet);
    UpdateTitle();
    RefreshCommands();
}

// ---- memory channel and repeater windows ----

void cuiMain::WireWindowHost(cuiWindowHost& host) {
    host.channelViewOn = [this] { return m_s.env->mchViewOn != 0; };
    host.showChannelWindow = [this](int32_t channel) {
        OpenChannelWindow(channel);
        return m_mchWindow != nullptr;
    };
    host.showRepeaterWindow = [this](int32_t group) { return OpenRepeaterWindow(group); };
    host.adViewOn = [this] { return m_adView; };
}

cuiMchWindow* cuiMain::ChannelWindow() {
    return m_mchWindow;
}

cuiRptWindow* cuiMain::RepeaterWindow() {
    return m_rptWindow;
}

void cuiMain::ToggleChannelWindow() {
    if (m_mchWindow || m_s.env->mchViewOn) {
        CloseChannelWindow();
        return;
    }
    OpenChannelWindow();
    // Opened from the menu, the window takes the keys (Escape closes it and the sheet has them again).
    if (m_mchWindow && m_mchWindow->View()) {
        m_mchWindow->activateWindow();
        m_mchWindow->View()->Grid().setFocus();
    }
}

void cuiMain::OpenChannelWindow(int32_t channel) {
    indEnviron& env = *m_s.env;
    env.mchViewOn = 1;
    auto* bankSheet = m_view ? dynamic_cast<iuiSh_ChBank*>(&m_view->Sheet()) : nullptr;
    // The channel of the bank sheet's current row, or the first of the bank shown.
    auto sheetChannel = [this]() -> int32_t {
        const cmcCellObj& cell = m_view->Sheet().Cell(m_view->Grid().Col(), m_view->Grid().Row());
        return cell.category == CT_Mch ? cell.parameter : -1;
    };
    if (channel < 0 && bankSheet) {
        channel = sheetChannel();
    }
    const int32_t bank = bankSheet ? bankSheet->Bank() : 0;
    if (channel < 0) {
        channel = indLayout::GroupStart(m_current.Data(), bank);
    }
    if (!m_mchWindow) {
        cuiMchWindow::Services ws;
        ws.owner = this;
        ws.env = m_s.env;
        ws.texts = &m_s.tables->Text();
        ws.events = m_s.events;
        ws.handler = m_handler.get();
        ws.lists = &m_lists;
        ws.sheetEnv = [this] { return SheetEnv(); };
        ws.moveBankRow = [this](int step, int32_t channel) {
            if (!m_view || !dynamic_cast<iuiSh_ChBank*>(&m_view->Sheet())) {
                return false;
            }
            // One row per channel: the sheet goes to the window's channel, whichever row it was on.
            const cmcCellObj& cell = m_view->Sheet().Cell(m_view->Grid().Col(), m_view->Grid().Row());
            m_view->CloseEditor(true);
            m_view->MoveBy(0, cell.category == CT_Mch ? channel - cell.parameter : step);
            return true;
        };
        ws.repaintSheet = [this] {
            if (m_view) {
                m_view->Grid().InvalidateGrid();
            }
        };
        ws.closed = [this] {
            ReleaseWindow(m_mchWindow);
            m_mchWindow = nullptr;
            // The keys go back to the sheet.
            if (m_view && m_view->Grid().isEnabled()) {
                activateWindow();
                m_view->Grid().setFocus();
            }
            RefreshCommands();
        };
        ws.wireView = [this](cuiSheetView& view) { WireUndo(view); };
        m_mchWindow = new cuiMchWindow(ws, bank, channel);
        env.mchWindowOpened = 1;
        m_mchWindow->show();
    } else {
        m_mchWindow->FollowBank(bank);
        m_mchWindow->FollowChannel(channel);
        m_mchWindow->show();
    }
    RefreshCommands();
}

void cuiMain::CloseChannelWindow() {
    m_s.env->mchViewOn = 0;
    if (m_mchWindow) {
        m_mchWindow->close();
    }
    if (m_view && m_view->Grid().isEnabled()) {
        activateWindow();
        m_view->Grid().setFocus();
    }
    RefreshCommands();
}

// The bank sheet and the channel window follow each other: a new current channel cell of the sheet
// moves the window, and the window's steps move the sheet's row (moveBankRow above).
void cuiMain::WireChannelWindow() {
    if (!m_view) {
        return;
    }
    if (m_s.env->mchViewOn && !m_mchWindow) {
        OpenChannelWindow();
    }
    auto* bankSheet = dynamic_cast<iuiSh_ChBank*>(&m_view->Sheet());
    // The window shows beside bank sheets only; it waits hidden while another sheet is open.
    if (m_mchWindow) {
        m_mchWindow->setVisible(bankSheet != nullptr);
    }
    if (bankSheet && m_mchWindow && bankSheet->PendingOffset() != 0) {
        m_view->MoveBy(0, bankSheet->PendingOffset());
    }
    cuiSheetView* view = m_view;
    auto follow = [this, view](int col, int row) {
        if (!m_mchWindow || view != m_view || view->HasRange()) {
            return;
        }
        const cmcCellObj& cell = view->Sheet().Cell(col, row);
        if (cell.category == CT_Mch) {
            m_mchWindow->FollowChannel(cell.parameter);
        }
    };
    cuiGrid& grid = m_view->Grid();
    grid.onSelectCell = [inner = grid.onSelectCell, follow](int col, int row, bool& allow) {
        inner(col, row, allow);
        if (allow) {
            follow(col, row);
        }
    };
    if (bankSheet) {
        follow(grid.Col(), grid.Row());
    }
}

bool cuiMain::OpenRepeaterWindow(int32_t group) {
    if (m_rptWindow || m_rptOpening || group < 0 || group >= indLayout::kGroups) {
        return false;
    }
    cuiRptWindow::Services rs;
    rs.owner = this;
    rs.env = m_s.env;
    rs.texts = &m_s.tables->Text();
    rs.events = m_s.events;
    rs.box = m_s.box;
    rs.handler = m_handler.get();
    rs.lists = &m_lists;
    rs.work = &m_current;
    rs.sheetEnv = [this] { return SheetEnv(); };
    if (m_view) {
        rs.rowCommand = m_view->onRowCommand;
        rs.rowCommandApplies = m_view->rowCommandApplies;
    }
    rs.closed = [this, wasModified = Modified()](bool restored) {
        EndAction(); // OK: what the window changed is one step; Cancel restored the data
        ReleaseWindow(m_rptWindow);
        m_rptWindow = nullptr;
        // Discarded, the data is as it was when the window opened, and so is its modified state.
        if (restored && !wasModified) {
            MarkUnmodified();
        }
        if (m_view) {
            m_view->Grid().InvalidateGrid();
        }
        Modified();
        UpdateTitle();
        RefreshCommands();
    };
    // Built on the next turn of the loop, outside the cell call that asked for it; its copy of the data
    // is taken then.
    m_rptOpening = true;
    QTimer::singleShot(0, this, [this, rs, group] {
        m_rptOpening = false;
        BeginAction(m_undo->StepName(cuiUndoCommands::kRepeaters));
        m_rptWindow = new cuiRptWindow(rs, group);
        m_rptWindow->show();
        m_rptWindow->View()->Grid().setFocus();
    });
    return true;
}

// A window that closed itself goes on the next turn of the loop, or with the main window, before
// the handler and settings it uses.
void cuiMain::ReleaseWindow(QWidget* window) {
    if (!window) {
        return;
    }
    std::erase_if(m_released, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    m_released.push_back(window);
    window->deleteLater();
}

void cuiMain::EndWindows() {
    for (QPointer<QWidget>& window : m_released) {
        delete window.data();
    }
    m_released.clear();
    if (m_rptWindow) {
        delete m_rptWindow;
        m_rptWindow = nullptr;
    }
    if (m_mchWindow) {
        m_mchWindow->Shutdown();
        delete m_mchWindow;
        m_mchWindow = nullptr;
    }
}

// ---- A/D commands and window ----

void cuiMain::AdRead() {
    if (!m_ad) {
        return;
    }
    m_ad->Read();
    RefreshCommands();
}

void cuiMain::AdjustStarted(bool afterRead) {
    m_treeLevel = 1;
    RebuildTree();
    if (afterRead) {
        CloseSheet();
        m_s.events->Send(cmcEv::RebuildBankBranches);
    }
    // The values are read once the adjustment start command has let go of the model driver.
    if (m_adView) {
        m_s.events->Post(cmcEv::RefreshAdValues);
    }
    RefreshCommands();
}

void cuiMain::ToggleAdView() {
    if (m_adView) {
        m_adView = false;
        if (m_adWindow) {
            m_adWindow->close();
        }
    } else {
        m_adView = true;
        m_s.events->Post(cmcEv::OpenAdWindow);
    }
    m_s.events->Send(cmcEv::RefreshCommands);
}

void cuiMain::UpdateAdView() {
    if (!m_adView) {
        ToggleAdView();
        return;
    }
    m_s.events->Send(cmcEv::RefreshAdValues);
}

cuiAdWindow* cuiMain::AdWindow() {
    return m_adWindow;
}

void cuiMain::OpenAdWindow() {
    if (!m_adView) {
        return; // turned off again before the queued opening came
    }
    if (!m_adWindow) {
        m_adWindow = new cuiAdWindow(this, m_s.tables->Text());
        m_adWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the window by its frame turns the view off as the menu entry does.
        connect(m_adWindow, &QDialog::finished, this, [this] {
            m_adView = false;
            RefreshCommands();
        });
    }
    m_adWindow->show();
    m_adWindow->raise();
    RefreshAdWindow();
}

void cuiMain::RefreshAdWindow() {
    if (!m_adWindow || !m_ad) {
        return;
    }
    cmcGTex& tex = m_s.tables->Text();
    m_adWindow->ShowValues(m_ad->Values());
    if (!m_ad->Adjusting()) {
        m_adWindow->SetNote(tex.GetLine("GI_AdWindow_Notes", 0));
        return;
    }
    QPointer<cuiAdWindow> window = m_adWindow;
    const bool started = m_ad->ReadValues([this, window](int32_t status) {
        if (!window) {
            return;
        }
        window->ShowValues(m_ad->Values());
        window->SetNote(m_s.tables->Text().GetLine("GI_AdWindow_Notes", status == 0 ? 2 : 3));
    });
    m_adWindow->SetNote(tex.GetLine("GI_AdWindow_Notes", started ? 1 : 4));
    RefreshCommands();
}

// ---- edit history ----

void cuiMain::BeginAction(const std::string& label) {
    m_undo->Begin(label);
}

void cuiMain::EndAction() {
    m_undo->End();
}

bool cuiMain::UndoStep() {
    return m_undo->Undo();
}

bool cuiMain::RedoStep() {
    return m_undo->Redo();
}

void cuiMain::WireUndo(cuiSheetView& view) {
    cuiSheetView* acting = &view;
    view.onActionBegin = [this, acting](int32_t command, int col, int row) {
        BeginAction(m_undo->CommandName(command, acting->Sheet(), col, row));
    };
    view.onActionEnd = [this] { EndAction(); };
    m_selection->Wire(view);
}

// A list or editor window answers a cell of the open sheet or of the channel window.
std::string cuiMain::CellEditLabel(const cmcCellObj* cell) {
    cuiSheetView* windowView = m_mchWindow ? m_mchWindow->View() : nullptr;
    for (cuiSheetView* view : {m_view, windowView}) {
        if (!view || !cell) {
            continue;
        }
        cuiSheet& sheet = view->Sheet();
        for (int r = 0; r < sheet.RowCount(); ++r) {
            for (int c = 0; c < sheet.ColCount(); ++c) {
                if (&sheet.Cell(c, r) == cell) {
                    return m_undo->CellEditName(sheet, c, r);
                }
            }
        }
    }
    return m_undo->StepName(cuiUndoCommands::kEdit);
}

// The data is a step's image again: the tree (built again only when its nodes differ), the open sheet
// (built again, since its rows follow the lists, where it was left), the channel window, the warning
// marks and the commands show it.
void cuiMain::ShowRestoredData() {
    const std::string sheet = m_sheetText;
    if (TreeNodesChanged()) {
        RebuildBankBranches();
    } else {
        RefreshBankNodes();
    }
    if (m_view && m_sheetText == sheet) {
        CloseSheet();
        OpenSheet(sheet);
    }
    if (m_mchWindow) {
        m_mchWindow->Refresh();
    }
    ScheduleWarningCheck();
    RefreshCommands();
}

bool cuiMain::TreeNodesChanged() {
    if (!m_tree) {
        return false;
    }
    iuiTreeSheets::Modes modes;
    modes.modelType = ModelType();
    modes.maker = m_makerMode;
    modes.adjust = m_treeLevel > 0;
    const std::vector<iuiTreeSheets::Node> nodes =
        iuiTreeSheets::Nodes(m_s.tables->Text(), m_current.Data(), modes);
    QTreeWidgetItemIterator it(m_tree);
    for (const iuiTreeSheets::Node& node : nodes) {
        if (!*it || (*it)->data(0, kTreeCellRole).toString() != Q(node.sheetText)) {
            return true;
        }
        ++it;
    }
    return *it != nullptr;
}

void cuiMain::ResetHistory(bool saved) {
    if (m_undo) {
        m_undo->Clear(saved);
    }
}

#pragma once
// The memory channel window: every setting of one memory channel, one per row, in a window sheet that
// docks beside the sheet host or floats. It follows the channel of the open bank sheet, steps through
// the bank's channels itself (Next, Previous), and edits through the same cell handler as the grid.
// Its floating rectangle, dock side and grid position are kept in the settings store.
#include <QDockWidget>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QPushButton;
class QVBoxLayout;
class cmcCellHandler;
class cmcEvMan;
class cmcFCache;
class cmcGTex;
class cuiSheetView;
class indEnviron;
class indCellHandler;
struct cmcEvRec;
struct cuiSheetEnv;

class cuiMchWindow : public QDockWidget {
    Q_OBJECT
public:
    struct Services {
        QMainWindow* owner = nullptr;
        indEnviron* env = nullptr;
        cmcGTex* texts = nullptr;
        cmcEvMan* events = nullptr;
        indCellHandler* handler = nullptr;
        cmcFCache* lists = nullptr;
        // What a sheet build reads now (the window's sheet is rebuilt when the bank's kind changes).
        std::function<cuiSheetEnv()> sheetEnv;
        // The open bank sheet's row follows a step of the window to its channel; false when no bank
        // sheet is open (the step then waits for one).
        std::function<bool(int step, int32_t channel)> moveBankRow;
        // An edit in the window changed a channel: the open sheet repaints.
        std::function<void()> repaintSheet;
        // The window closed by the user (Close, the title bar's close): the owner releases it.
        std::function<void()> closed;
        // Each sheet view the window builds: the owner ties its actions to the edit history.
        std::function<void(cuiSheetView& view)> wireView;
    };
    // The four window sheets: by the model type, and for a voting bank the voting variant.
    static std::string SheetKey(int modelType, bool voting);

    cuiMchWindow(const Services& services, int32_t bank, int32_t channel);
    ~cuiMchWindow() override;

    // Next and Previous: one channel on within the bank (Next reaches the bank's blank row after its
    // last channel); false at the ends.
    bool Next();
    bool Previous();
    // Follows a bank (its first channel, when the bank changes) or a channel of it.
    void FollowBank(int32_t bank);
    void FollowChannel(int32_t channel);
    // The channel settings shown again from the data (and the sheet rebuilt if the key changed).
    void Refresh();
    void Redraw();
    // Stores the placement (floating rectangle, grid position, dock side) under the window's name.
    void StorePlacement();
    // Ends the window for a program shutdown: the placement is stored, the view stays on.
    void Shutdown();

    int32_t Bank() const { return m_bank; }
    int32_t Channel() const { return m_channel; }
    // Steps made while no bank sheet was open; taking them clears them.
    int32_t TakePendingSteps();
    const std::string& SheetKeyShown() const { return m_key; }
    // The settings store name of the window's placement (the sheet key at creation).
    const std::string& SettingsName() const { return m_settingsName; }
    cuiSheetView* View() { return m_view; }
    QPushButton* NextButton() { return m_next; }
    QPushButton* PreviousButton() { return m_previous; }
    QPushButton* CloseButton() { return m_close; }
    QCheckBox* KeepFloating() { return m_keepFloating; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::string ChosenKey() const;
    void BuildSheet();
    void Step(int delta);
    void ApplyPlacement();
    // The width that shows the whole sheet and the buttons.
    int SheetWidth() const;
    void DockSideChanged(Qt::DockWidgetArea area);
    void FloatingChanged(bool floating);
    static void OnEvent(void* context, const cmcEvRec& event);

    Services m_s;
    int32_t m_bank = 0;
    int32_t m_channel = 0;
    int32_t m_pending = 0;
    std::string m_key;
    std::string m_settingsName;
    bool m_shutdown = false;
    QWidget* m_body = nullptr;
    QVBoxLayout* m_client = nullptr;
    QPointer<cuiSheetView> m_view;
    QPushButton* m_next = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_close = nullptr;
    QCheckBox* m_keepFloating = nullptr;
    QRect m_floatRect; // the rectangle while floating, also its size when undocked again
};

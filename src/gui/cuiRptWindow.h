#pragma once
// The repeater setting window: the repeater list of one bank (conventional repeaters, or trunking
// repeaters for a trunking bank) in a list sheet, while the rest of the program waits. It works on the
// working image directly and keeps a copy of it from its opening: OK keeps the changes, Cancel and the
// window's close offer to discard them (GI_Mess_Confirm_Repeater) and restore the copy.
#include "core/cmcEeprom.h"

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

class QPushButton;
class cmcCellCapsule;
class cmcEvMan;
class cmcFCache;
class cmcGTex;
class cmcMessageBox;
class cuiSheetView;
class indCellHandler;
class indEnviron;
struct cmcEvRec;
struct cuiSheetEnv;

class cuiRptWindow : public QDialog {
    Q_OBJECT
public:
    struct Services {
        QWidget* owner = nullptr;
        indEnviron* env = nullptr;
        cmcGTex* texts = nullptr;
        cmcEvMan* events = nullptr;
        cmcMessageBox* box = nullptr;
        indCellHandler* handler = nullptr;
        cmcFCache* lists = nullptr;
        cmcEeprom* work = nullptr; // the working image the list is edited in
        std::function<cuiSheetEnv()> sheetEnv;
        // The pop-up row commands of the list (insert, delete, copy...), as the main sheet runs them.
        std::function<bool(int32_t command, cmcCellCapsule& capsule)> rowCommand;
        std::function<bool(int32_t command, const cmcCellCapsule& capsule)> rowCommandApplies;
        // The window has closed, restored true when its changes were discarded: the owner repaints,
        // and releases it.
        std::function<void(bool restored)> closed;
    };
    // The list sheet a bank's repeaters are edited in: the trunking list for trunking banks.
    static std::string SheetText(const uint8_t* work, int32_t group);

    cuiRptWindow(const Services& services, int32_t group);
    ~cuiRptWindow() override;

    int32_t Group() const { return m_group; }
    // The record kind of the list shown: 22 conventional, 27 trunking repeaters.
    int32_t RecordKind() const { return m_kind; }
    // Whether the working image differs from the copy taken at opening.
    bool Changed() const;
    cuiSheetView* View() { return m_view; }
    QPushButton* OkButton() { return m_ok; }
    QPushButton* CancelButton() { return m_cancel; }

    // OK: closes keeping the changes.
    void accept() override;
    // Cancel, Escape and the window's close: the discard check.
    void reject() override;

private:
    void Finish(int result, bool restored);
    void UpdateTitle();
    void StorePlacement();
    static void OnEvent(void* context, const cmcEvRec& event);

    Services m_s;
    int32_t m_group = 0;
    int32_t m_kind = 22;
    std::string m_settingsName;
    cmcEeprom m_snapshot;
    bool m_finished = false;
    QPointer<cuiSheetView> m_view;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

#pragma once
// The frame of the editor windows a cell opens beside itself (bit fields, display texts): a borderless
// pop-up at the cell, kept on the work area, with OK and Cancel. Escape cancels; OK, Enter, leaving the
// window (a click elsewhere) and the commit of edits answer the cell once with what the window holds.
#include "cells/cmcCellCapsule.h"

#include <QFrame>
#include <QRect>
#include <functional>
#include <string>

class QPushButton;
class QVBoxLayout;
class cmcGTex;

class cuiEditorWindow : public QFrame {
    Q_OBJECT
public:
    // owner is the grid of the opening cell; texts gives the button captions.
    cuiEditorWindow(QWidget* owner, const cmcCellCapsule& opener, cmcGTex* texts);
    ~cuiEditorWindow() override;

    // Called with the answer text when the window answers its cell.
    std::function<void(const cmcCellCapsule& opener, const std::string& text)> onAnswer;

    // Sizes the window to its content, places it at the opening cell within the work area (below the
    // cell, else above it, else with its bottom on the work area's bottom) and shows it.
    void Open(const QRect& workArea);
    // Answers with the window's content (when it may be answered) and closes.
    void Confirm();
    // Closes without an answer.
    void Cancel();
    bool Answered() const { return m_answered; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    // The opening cell in screen coordinates.
    QRect CellOnScreen() const { return m_cell; }

protected:
    // The answer text.
    virtual std::string Result() const = 0;
    // Whether the content may be answered now (OK is disabled otherwise).
    virtual bool Acceptable() const { return true; }
    // The window's content goes here, above the buttons.
    QVBoxLayout* Client() const { return m_client; }
    // Escape in child cancels the window (children eat their keys).
    void WatchKeys(QWidget* child);
    void UpdateOk();

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Answer();
    void Place(const QRect& workArea);

    cmcCellCapsule m_opener;
    QRect m_cell;
    QVBoxLayout* m_client = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
    bool m_answered = false;
};

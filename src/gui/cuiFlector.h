#pragma once
// A choice list window: the list's entries on a sheet in popup mode, beside the cell that opened it.
// Enter, a click or a double click answers that cell with the entry; Escape or a click elsewhere
// closes it without an answer.
#include "sheets/cuiSheetEnv.h"
#include "sheets/indFlector.h"

#include <QFrame>
#include <string>

class cmcCellCapsule;
class cmcCellHandler;
class cuiSheetView;

class cuiFlector : public QFrame {
    Q_OBJECT
public:
    // owner is the grid of the opening cell (the window goes with it); env is the sheets' build
    // environment (its text table is the main one). With data, the list is that radio data list's own
    // sheet: its entries in use, each with its ID and name, the entry's choice cell to pick.
    cuiFlector(QWidget* owner, const cuiSheetEnv& env, cmcCellHandler* handler, const cmcCellCapsule& opener,
               const std::string& listName, int32_t startCell, int32_t startParameter,
               const indFlector::DataList* data = nullptr);
    ~cuiFlector() override;

    cuiSheetView& View() { return *m_view; }
    const indFlector& Model() const { return m_model; }
    // Places the window beside the opening cell within the work area and shows it.
    void Open(const QRect& workArea);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    indFlector m_model;
    cuiSheetView* m_view = nullptr;
    QRect m_cell; // the opening cell in screen coordinates
};

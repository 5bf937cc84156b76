#pragma once
// A choice list window: the list's entries on a sheet in popup mode, beside the cell that opened it.
// Enter, a click or a double click answers that cell with the entry; Escape or a click elsewhere
// closes it without an answer.
#include "cells/cmcCellHandler.h"
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
    // environment (its text table is the main one). With data, the list offers the entries of that
    // radio data list, each with its ID and name.
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
    // The cell handler of a data list's sheet: an entry shows its number, ID and name; everything
    // else is the model's.
    class DataCells : public cmcCellHandler {
    public:
        DataCells(cmcCellHandler* model, const indFlector::DataList* data);
        int32_t CallCell(cmcCellCapsule& capsule, int32_t notify) override;

    private:
        std::string Text(int32_t category, int32_t cell, int32_t parameter);
        cmcCellHandler* m_model;
        const indFlector::DataList* m_data;
        int32_t m_category = 0, m_idCell = 0, m_nameCell = 0;
    };

    DataCells m_cells;
    indFlector m_model;
    cuiSheetView* m_view = nullptr;
    QRect m_cell; // the opening cell in screen coordinates
};

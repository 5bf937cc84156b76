#pragma once
// The window that shows the radio's answer to a clone information read: the clone information sheet
// (model, firmware, comments, serial number... decoded by its cells) and the clone state lines
// (password protection, data version, memory end) under it, with a button that closes it.
#include <QDialog>
#include <memory>

class QLabel;
class cmcCellHandler;
class cuiSheet;
class cuiSheetView;

class cuiCloneInfoWindow : public QDialog {
    Q_OBJECT
public:
    // sheet: the built clone information sheet, or null when the overlay defines none.
    cuiCloneInfoWindow(QWidget* parent, std::unique_ptr<cuiSheet> sheet, cmcCellHandler* handler,
                       const QString& lines, const QString& closeText);

    // Null without a sheet.
    cuiSheetView* View() { return m_view; }
    QLabel* Lines() { return m_lines; }

private:
    cuiSheetView* m_view = nullptr;
    QLabel* m_lines = nullptr;
};

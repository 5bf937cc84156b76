#pragma once
// The A/D window: the A/D values the radio reported in its adjustment state, one row per channel
// with its name, its value in decimal and in hexadecimal, and a note under the list that says where
// the values stand. It refreshes when View A/D update or an adjustment step asks.
#include "gui/cuiAdCommands.h"

#include <QDialog>

class QLabel;
class QTreeWidget;
class cmcGTex;

class cuiAdWindow : public QDialog {
    Q_OBJECT
public:
    cuiAdWindow(QWidget* parent, cmcGTex& tex);

    using Values = std::array<std::optional<uint8_t>, cuiAdCommands::kChannels>;
    // Unknown values show as "-".
    void ShowValues(const Values& values);
    void SetNote(const std::string& text);
    QString NoteText() const;
    // The decimal value text of a channel's row.
    QString ValueText(int channel) const;
    QTreeWidget* List() { return m_list; }

private:
    QTreeWidget* m_list;
    QLabel* m_note;
};

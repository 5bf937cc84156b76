#pragma once
// Message boxes of the desktop program: a topmost QMessageBox with the caption, icon and buttons the
// radio logic asks for, owned by the main window when one is set.
#include "core/cmcMessageBox.h"

class QWidget;

class cuiQtMessageBox : public cmcMessageBox {
public:
    explicit cuiQtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;

private:
    QWidget* m_parent;
};

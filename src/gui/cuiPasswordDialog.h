#pragma once
// The clone password dialog asked before a protected radio is read or written: one masked entry of at
// most 16 characters; OK with an empty entry is refused with a message and the entry keeps the focus.
#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;
class cmcGTex;
class cmcMessageBox;

class cuiPasswordDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 16;

    cuiPasswordDialog(QWidget* parent, cmcGTex& tex, cmcMessageBox& box);

    std::string Password() const;
    QLineEdit* Entry() { return m_entry; }
    QPushButton* OkButton() { return m_ok; }

public slots:
    void accept() override;

private:
    cmcGTex& m_tex;
    cmcMessageBox& m_box;
    QLineEdit* m_entry;
    QPushButton* m_ok;
};

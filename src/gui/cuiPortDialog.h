#pragma once
// The serial port selection dialog in its three forms: 0 a port number entry, 1 an editable list of
// the registered port numbers, 2 a fixed list of the present port devices with their names. OK stores
// the chosen number as ComPort (and its device as ComDevice); a number outside 1 to 256 is refused.
#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class cmcGTex;
class cmcMessageBox;
class cmcPortDiscovery;
class indEnviron;

class cuiPortDialog : public QDialog {
    Q_OBJECT
public:
    cuiPortDialog(QWidget* parent, int form, indEnviron& env, cmcGTex& tex, cmcMessageBox& box,
                  const cmcPortDiscovery& discovery);

    // The entry of form 0, or the list of forms 1 and 2.
    QLineEdit* Entry() { return m_entry; }
    QComboBox* List() { return m_list; }
    QLabel* DeviceLabel() { return m_device; }
    QPushButton* OkButton() { return m_ok; }
    // Rebuilds the list as dropping it down does.
    void RefreshList();

public slots:
    void accept() override;

private:
    std::string Text() const;
    void ShowDevice();

    int m_form;
    indEnviron& m_env;
    cmcGTex& m_tex;
    cmcMessageBox& m_box;
    const cmcPortDiscovery& m_discovery;
    QLineEdit* m_entry = nullptr;
    QComboBox* m_list = nullptr;
    QLabel* m_device = nullptr;
    QPushButton* m_ok = nullptr;
};

#pragma once
// The serial port selection dialog in its three forms: 0 a port number entry, 1 an editable list of
// the registered port numbers, 2 the list of the serial devices present, each by a line a technician
// recognises, with a field to type any device path. Forms 0 and 1 store the chosen number as ComPort
// (and its device as ComDevice); form 2 stores the device by its stable by-id link when it has one.
#include "clone/cmcPortDevice.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
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

    // The entry of form 0, or the list of form 1.
    QLineEdit* Entry() { return m_entry; }
    QComboBox* List() { return m_list; }
    QLabel* DeviceLabel() { return m_device; }
    QPushButton* OkButton() { return m_ok; }
    // Form 2: the device list, the path field (what OK stores), the details of the chosen entry.
    QListWidget* Devices() { return m_devices; }
    QLineEdit* PathEntry() { return m_path; }
    QLabel* Details() { return m_details; }
    QPushButton* RefreshButton() { return m_refresh; }
    // Rebuilds the list from the machine's ports now, keeping the choice shown.
    void RefreshList();

    // The device the settings name now ("/dev/ttyS0" for port 1, ComDevice above 4).
    static std::string CurrentDevice(const indEnviron& env);

public slots:
    void accept() override;

private:
    // One choice of form 2: a device present now, the device in use, or a typed path.
    struct Choice {
        cmcPortDevice device; // what is known of it; only the path when it is absent
        std::string stored;   // what choosing it stores
        bool present = false;
        bool inUse = false;
        bool typed = false; // one of the typed paths kept as choices
    };

    std::string Text() const;
    void ShowDevice();
    void BuildDeviceForm(QLayout* layout);
    void RefreshDevices();
    void ShowChoice();
    void AcceptDevice();
    QString ChoiceLine(const Choice& choice) const;
    QString DetailText(const Choice& choice) const;
    int ChoiceOf(const std::string& path) const;

    int m_form;
    indEnviron& m_env;
    cmcGTex& m_tex;
    cmcMessageBox& m_box;
    const cmcPortDiscovery& m_discovery;
    QLineEdit* m_entry = nullptr;
    QComboBox* m_list = nullptr;
    QLabel* m_device = nullptr;
    QPushButton* m_ok = nullptr;
    QListWidget* m_devices = nullptr;
    QLineEdit* m_path = nullptr;
    QLabel* m_details = nullptr;
    QPushButton* m_refresh = nullptr;
    std::vector<Choice> m_choices;
    std::string m_initial; // the device the settings named when the dialog opened
};

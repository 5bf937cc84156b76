#pragma once
// The window that writes the working data into several radios at once: the ports to write (ticks),
// an optional table of per-radio values, Start and Cancel, and a row per radio with its serial
// number, bytes done, state and result. Every radio's outcome goes into the audit log.
#include "app/indFleetWrite.h"
#include "clone/cmcPortDevice.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenuBar;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class cmcGTex;
class cmcLoop;
class cmcMessageBox;
class indEnviron;

class cuiFleetWindow : public QDialog {
    Q_OBJECT
public:
    struct Services {
        cmcLoop* loop = nullptr;
        cmcGTex* tex = nullptr;
        indEnviron* env = nullptr; // speed, clone password, backup setting
        cmcMessageBox* box = nullptr;
        // The serial devices to offer; asked again by Refresh.
        std::function<std::vector<cmcPortDevice>()> listDevices;
        // The data to write, in the working layout, its initial data and model type, taken at Start.
        std::function<cmcEeprom()> working;
        cmcEeprom initial;
        int modelType = 0;
        // The warning check of one radio's data; unset: none.
        std::function<int(const cmcEeprom& working, int modelType)> warningCheck;
        // Opens a device; unset: the serial port.
        indCloneMan::DeviceFactory devices;
        std::string logPath; // empty: the default audit log
        // Asks for the values table; "" when cancelled. Unset: the file dialog.
        std::function<std::string()> askValuesPath;
    };

    cuiFleetWindow(QWidget* parent, Services services);
    ~cuiFleetWindow() override;

    // Adds the entry that opens the window to the menu of the bar that holds clone write, after the
    // write entries; false when the bar has no such menu.
    static QAction* AddToCloneMenu(QMenuBar* bar, const QString& text, std::function<void()> open);

    // Lists the devices again, keeping the ticks of those still there.
    void Refresh();
    // Ticks or clears the port of a device path; false when the list has no such device.
    bool SetTicked(const std::string& path, bool ticked);
    void SetValuesPath(const std::string& path);
    // Starts the write into the ticked ports; false (with a message) when nothing started.
    bool Start();
    // Stops every radio still running.
    void Cancel();
    bool Running() const;

    QTableWidget* Rows() const { return m_rows; }
    QLabel* Summary() const { return m_summary; }

protected:
    void reject() override;

private:
    std::string Line(const char* key, int line) const;
    void ShowRadio(size_t radio);
    void Ended();
    void UpdateButtons();

    Services m_s;
    QListWidget* m_ports = nullptr;
    QLineEdit* m_values = nullptr;
    QTableWidget* m_rows = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
    std::unique_ptr<indFleetWrite> m_fleet;
    bool m_ended = true;
};

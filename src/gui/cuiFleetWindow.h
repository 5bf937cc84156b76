#pragma once
// The window that writes the working data into several radios at once: the ports to write (ticks),
// an optional table of per-radio values, Start and Cancel, and a row per radio with its serial
// number, bytes done, state and result. Every radio's outcome goes into the audit log.
#include "app/indFleetWrite.h"
#include "clone/cmcPortDevice.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
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
        // The serial devices to offer; asked again by Refresh. The device paths typed in the port
        // dialog (env) and those added in this window are offered too while they exist.
        std::function<std::vector<cmcPortDevice>()> listDevices;
        // What a device path stands for now; none when nothing is there. Unset: any existing path.
        std::function<std::optional<cmcPortDevice>(const std::string& path)> describe;
        // Asks for a device path to add; "" when cancelled. Unset: an input dialog.
        std::function<std::string()> askDevicePath;
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
    // Asks for a device path and offers it ticked; false (with a message) when there is no device.
    bool AddDevice();
    // Ticks or clears the port of a device path; false when the list has no such device.
    bool SetTicked(const std::string& path, bool ticked);
    void SetValuesPath(const std::string& path);
    // The clone password given to protected radios (starts as the session's).
    void SetPassword(const std::string& password);
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
    std::optional<cmcPortDevice> Describe(const std::string& path) const;
    void ShowRadio(size_t radio);
    void Ended();
    void UpdateButtons();

    Services m_s;
    QListWidget* m_ports = nullptr;
    QLineEdit* m_values = nullptr;
    QLineEdit* m_password = nullptr;
    std::vector<std::string> m_added; // device paths added in this window, without settings (env)
    QTableWidget* m_rows = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
    std::unique_ptr<indFleetWrite> m_fleet;
    bool m_ended = true;
};

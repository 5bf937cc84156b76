#pragma once
// The clone commands of the desktop program: clone information, read and write run through the shared
// clone commands and clone manager on the Qt loop, with the "Cloning" window, the clone password
// dialog and every message; the port, device and speed come from the settings at each start.
#include "app/indCloneCommands.h"
#include "clone/indCloneMan.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class cmcEvMan;
class cmcGTex;
class cmcLoop;
class cmcMessageBox;
class cuiCloneProgress;
class indEnviron;
class indModel;

class cuiCloneCommands {
public:
    struct Services {
        cmcLoop* loop = nullptr;
        indEnviron* env = nullptr;
        cmcGTex* tex = nullptr;
        cmcMessageBox* box = nullptr;
        indModel* model = nullptr;
        QWidget* window = nullptr; // disabled while cloning; parent of the dialogs
        // The clone password dialog: true with the password when confirmed. Unset: the Qt dialog.
        std::function<bool(std::string& password)> askPassword;
        // The warning check before a write: the number of errors.
        std::function<int()> warningCheck;
        // Called when a command has ended, whatever its outcome (the window refreshes its commands).
        std::function<void()> finished;
        cmcEvMan* events = nullptr; // null: no events are sent
        // Shows the radio's answer after a clone information read. Unset: a message box with InfoText.
        std::function<void()> showInfo;
        // Opens a folder with the desktop; false when it could not. Unset: the desktop's file manager.
        std::function<bool(const std::string& folder)> openFolder;
    };

    explicit cuiCloneCommands(const Services& services);
    ~cuiCloneCommands();
    cuiCloneCommands(const cuiCloneCommands&) = delete;
    cuiCloneCommands& operator=(const cuiCloneCommands&) = delete;

    // Each returns false when a clone operation is already running. The callbacks run only on
    // success; failures have shown their message by then.
    bool Read(std::function<void(const cmcEeprom& radio)> done);
    // Backs the radio up first when the setting says so, and reads it back after the write.
    bool Write(const cmcEeprom& working, std::function<void()> done);
    // The backup file of the last write; empty when it made none.
    const std::string& BackupPath() const { return m_commands->BackupPath(); }
    // Opens the folder of the backups (made when missing), or names it in a message when the desktop
    // cannot open it.
    void ShowBackupsFolder();
    // Shows the radio information on success (showInfo, or a box).
    bool Info();
    bool IsBusy() const;
    // The radio information alone, its error message suppressed when quiet; done(status) runs
    // whatever the outcome (0 success).
    bool QuietInfo(bool quiet, std::function<void(int32_t status)> done);
    // One model command, or a list of them (answers land where the entries point, which must live
    // until done runs), through the clone manager; done(status) runs whatever the outcome.
    bool ModelCommand(int32_t subCommand, int32_t value, uint8_t* answer,
                      std::function<void(int32_t status)> done);
    bool ModelList(const std::vector<imcCloneDrv::Entry>& entries, std::function<void(int32_t status)> done);
    // Maker mode writes from address 0 and asks the maker caution first.
    void SetMakerMode(bool on) { m_commands->SetMakerMode(on); }
    bool MakerMode() const { return m_commands->MakerMode(); }

    // The lines of the radio information box.
    std::string InfoText() const;
    // The information bytes of the last answer (the clone information sheet decodes them); empty
    // before a radio has answered.
    std::vector<uint8_t> InfoBytes() const;
    // Whether the last operation ended (for tests and the close rule).
    bool Running() const { return m_running; }
    int32_t LastOutcome() const { return m_lastOutcome; }
    cuiCloneProgress& Progress() { return *m_progress; }

private:
    // A model command or list on the port: prepare sets it up on the model driver, start runs it.
    bool RunModel(const std::function<void()>& prepare, const std::function<bool(indCloneMan::Done)>& start,
                  std::function<void(int32_t status)> done);
    void ApplyPort();
    bool AskPassword();
    void Ended(int32_t outcome);

    Services m_s;
    std::unique_ptr<cuiCloneProgress> m_progress;
    std::unique_ptr<indCloneMan> m_man;
    std::unique_ptr<indCloneCommands> m_commands;
    bool m_running = false;
    int32_t m_lastOutcome = 0;
};

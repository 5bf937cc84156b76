#pragma once
// One clone data file written into several radios at once, each on its own port: every radio has
// its own clone manager, driver and commands on the one shared loop, runs the checks of a single
// write (warning check, clone password, backup, read-back) and ends with its own result. With
// per-radio values, a radio's serial number is read first and its row typed into its own copy of
// the data. Each outcome is appended to the audit log as the radio ends.
#include "app/indCloneCommands.h"
#include "app/indFleetValues.h"
#include "clone/indCloneMan.h"
#include "core/cmcEeprom.h"
#include "model/indModel.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class cmcGTex;
class cmcLoop;

class indFleetWrite {
public:
    // Outcomes beyond those of indCloneCommands.
    enum : int32_t {
        kValuesRefused = -8, // a cell of the radio's row refused its value: nothing was written
    };
    // The stable result codes of outcomes, as the command line exits with them and the audit log
    // keeps them: clone result codes 0 to 18, then the commands' own.
    enum : int {
        kCodeCancelled = 20,
        kCodeNoChannel = 21,
        kCodeDataErrors = 22,
        kCodeNotReadyTrunk = 23,
        kCodeBackupFailed = 24,
        kCodeVerifyFailed = 25,
        kCodeSomeFailed = 26, // a fleet write where one radio or more failed
        kCodeValuesRefused = 27,
        kCodeBusy = 64,
    };
    static int ResultCode(int32_t outcome);
    // The overlay keys of the questions a single write of this data asks, in order; the fleet asks
    // them once before Start, as its radios answer their own with yes.
    static std::vector<const char*> Confirmations(const cmcEeprom& working);

    // The numbers are the lines of the states' display texts.
    enum class State { Waiting, Asking, Writing, Succeeded, Failed, BackingUp, ReadingBack };

    // What a display shows of one radio.
    struct Status {
        std::string port;
        std::string serial;   // as its label shows it, once the radio answered
        std::string firmware; // "1.0"
        State state = State::Waiting;
        int32_t transferred = 0;
        int32_t total = 0;
        int32_t outcome = 0;
        int code = 0;
        std::string text; // the result: the success message or why it failed
        std::string backup;
    };

    struct Options {
        bool high = true;
        std::string password;     // sent to a protected radio; empty: such a radio fails
        std::string backupFolder; // empty: no backup
        bool verify = false;
        // The warning check of each radio's data; returns its error count. Unset: no errors.
        std::function<int(const cmcEeprom& working, int modelType)> warningCheck;
        std::string logPath; // the audit log; empty: none
        // Every message a radio shows (an error, a warning), with the radio's index.
        std::function<void(size_t radio, const std::string& text)> message;
        // A radio's status changed (progress, state, its end).
        std::function<void(size_t radio)> changed;
    };

    // devices: opens a port's device (the serial device in use; tests may give others). tex: the
    // main text table (messages, cells). The confirmations of a write are answered yes: the caller
    // asks once for the whole fleet before Start.
    indFleetWrite(cmcLoop& loop, indCloneMan::DeviceFactory devices, cmcGTex& tex, Options options);
    ~indFleetWrite();
    indFleetWrite(const indFleetWrite&) = delete;
    indFleetWrite& operator=(const indFleetWrite&) = delete;

    void AddPort(const std::string& device);
    // Per-radio values (copied); none set: every radio gets the data as it is.
    void SetValues(const indFleetValues& values) { m_values = values; }

    // working: the data in the working layout, of the given model type; initial: that type's initial
    // data (what the radio does not store). Starts every radio.
    void Start(const cmcEeprom& working, const cmcEeprom& initial, int modelType);
    // Stops every radio still running: each ends as cancelled.
    void Cancel();
    bool Finished() const;
    // 0 when every radio succeeded; the radio's own code for a single radio; else kCodeSomeFailed.
    int ExitCode() const;

    size_t Count() const { return m_radios.size(); }
    const Status& RadioStatus(size_t radio) const;
    // A failure to append to the audit log, when one happened (the writes go on).
    const std::string& LogError() const { return m_logError; }

private:
    struct Radio;
    void Begin(Radio& radio, const cmcEeprom& working);
    void InfoDone(Radio& radio, int32_t outcome);
    // Takes the serial number and firmware from the radio's clone information, once it answered.
    void NoteInfo(Radio& radio);
    void End(Radio& radio, int32_t outcome);
    void Changed(Radio& radio);

    cmcLoop& m_loop;
    indCloneMan::DeviceFactory m_devices;
    cmcGTex& m_tex;
    Options m_options;
    indFleetValues m_values;
    cmcEeprom m_working;
    cmcEeprom m_initial;
    int m_modelType = 0;
    std::vector<std::unique_ptr<Radio>> m_radios;
    std::string m_logError;
};

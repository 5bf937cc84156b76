#pragma once
// What the clone verbs share: the radio on a device path, the clone manager and commands on a poll
// loop, messages and confirmations on the terminal, and a progress bar on standard error.
#include "Cli.h"

#include "app/indCloneCommands.h"
#include "clone/cmcTransferRate.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "core/cmcPollLoop.h"
#include "model/indModel.h"

#include <memory>
#include <string>

// Exit statuses of the clone verbs besides the clone result codes (0 to 18; 18 a cancelled operation).
constexpr int kCliCancelled = 20;     // a confirmation was declined
constexpr int kCliNoChannel = 21;     // no channel in use
constexpr int kCliDataErrors = 22;    // the data failed its checks
constexpr int kCliNotReadyTrunk = 23; // the radio is not ready for trunking data
constexpr int kCliBackupFailed = 24;  // write --backup: the radio could not be read or its data saved
constexpr int kCliVerifyFailed = 25;  // write --verify: the radio reads back otherwise, or not at all
constexpr int kCliSomeFailed = 26;    // write to several ports: one radio or more failed
constexpr int kCliValuesRefused = 27; // write --values: a cell refused the radio's value
constexpr int kCliFileError = 30;     // 30 + the file error code

// Messages go to standard error; confirmations are answered by --yes or on the terminal.
class CliMessageBox : public cmcMessageBox {
public:
    explicit CliMessageBox(bool yes) : m_yes(yes) {}
    Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;

private:
    bool m_yes;
};

// On a terminal: one line redrawn in place with the bar, bytes, rate, elapsed time and time left.
// When standard error is no terminal (a script, a log file) it stays quiet.
class CliProgressBar : public indCloneProgress {
public:
    void ShowProgress(int32_t total) override;
    void UpdateProgress(int32_t transferred, int32_t total) override;
    void HideProgress() override;

private:
    void Draw();

    bool m_shown = false;
    bool m_terminal = false;
    int64_t m_drawnAtMs = -1;
    size_t m_drawnLength = 0;
    cmcTransferRate m_rate;
};

class CliClone {
public:
    // Reads --port, --high/--low, --password and --yes; false with a message when --port is missing.
    bool Setup(const CliArgs& args, const char* verb);
    // Runs the started command until it reports; returns its outcome as an exit status.
    int Wait();
    // The exit status of an outcome (clone result code or command outcome).
    static int ExitStatus(int32_t outcome);

    cmcGTex tex;
    cmcPollLoop loop;
    std::unique_ptr<CliMessageBox> box;
    CliProgressBar progress;
    std::unique_ptr<indCloneMan> man;
    std::unique_ptr<indModel> model;
    std::unique_ptr<indCloneCommands> commands;
    std::string password;
    bool finished = false;
    int32_t outcome = 0;

    // The completion every verb hands to the commands: records the outcome; 'keep' sees the result.
    indCloneCommands::Done Completion(std::function<void(dst_CDrv_Result&)> keep = nullptr);
};

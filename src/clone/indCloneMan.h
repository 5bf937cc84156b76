#pragma once
// The clone manager: what the commands use to talk to a radio. It owns both drivers, composes the
// command text that brings the radio into clone mode at the configured speed (with the clone
// password when one was entered), shows progress, runs the result checks and the error message, and
// hands the result to the caller.
#include "clone/imcCloneDrv.h"
#include "clone/indCloneProgress.h"

#include <functional>
#include <memory>
#include <string>

class cmcGTex;
class cmcMessageBox;

class indCloneMan {
public:
    using Done = cmcCloneDrv::Done;
    using Handler = std::function<void(dst_CDrv_Result& result)>;
    using DeviceFactory = std::function<std::unique_ptr<cmcSerialDevice>()>;

    // Texts come from tex and messages go to box; either may be null (no message is shown).
    indCloneMan(cmcLoop& loop, const DeviceFactory& devices, cmcGTex* tex, cmcMessageBox* box,
                indCloneProgress* progress);
    ~indCloneMan();
    indCloneMan(const indCloneMan&) = delete;
    indCloneMan& operator=(const indCloneMan&) = delete;

    void SetModelCodes(int32_t model, int32_t extra);
    void SetImageSize(int32_t size) { m_drv->SetImageSize(size); }
    void SetWideAddress(bool on) { m_drv->SetWideAddress(on); }
    void SetInfoHandler(Handler handler) { m_infoHandler = std::move(handler); }
    void SetReadHandler(Handler handler) { m_readHandler = std::move(handler); }
    void SuppressNextMessage() { m_suppressNext = true; }
    void SetPortMap(const cmcPortMap& map);
    // The ComPort and ComSpeedHigh settings.
    void SetComPort(int32_t port) { m_comPort = port; }
    void SetComSpeedHigh(bool high) { m_speedHigh = high; }
    // The clone password dialog's result: the next read or write sends it (1 to 16 characters).
    void SetClonePassword(const std::string& password);
    bool PasswordNext() const { return m_passwordNext; }
    // The clone password last entered: a command that runs several operations on one radio sends it
    // again for each of them.
    const std::string& ClonePassword() const { return m_password; }
    // Model commands go to the model driver.
    imcCloneDrv& ModelDriver() { return *m_model; }
    imcAdjust& Adjust() { return m_adjust; }
    void SetModelEchoPreset(bool on) { m_modelEchoPreset = on; }
    int32_t RadioSpeedState() const { return m_radioSpeed; }

    bool IsBusy() const { return m_drv->IsBusy(); }
    bool StartInfo(Done done);
    bool StartRead(const cmcRange* ranges, Done done);
    bool StartWrite(const cmcEeprom& image, const cmcRange* ranges, Done done);
    bool StartModelCommand(Done done);
    bool StartModelSweep(Done done);
    bool StartModelList(Done done);
    // Stops the running clone or model operation: the port is closed and the operation completes as
    // usual, with kCloneCancelled and its message. A cancelled read hands no data on; a cancelled
    // write may leave the radio with part of the data. False when nothing runs.
    bool Cancel();

    // The clone error message of a result code; empty for 0. Sets the radio speed state to unknown
    // where the code says the radio may be left at another speed. A port that did not open is named
    // by its device path as well: port numbers alone do not tell a user which device it was.
    std::string CloneErrorText(int32_t code);
    std::string CloneErrorText(const dst_CDrv_Result& result);
    static std::string CloneErrorText(int32_t code, int32_t port, cmcGTex& tex);
    // The message of a whole result: the code's head, then what the result tells beyond the code (a
    // wrong clone password, a half-written radio, why the port did not open, a cancel) in place of
    // or before the general checks.
    static std::string CloneErrorText(const dst_CDrv_Result& result, int32_t port, cmcGTex& tex);
    // The clone command text of a preparation.
    static std::string CommandText(int32_t modelCode, bool high, bool write, const std::string* password);

    cmcCloneDrv& Driver() { return *m_drv; }
    int32_t TotalBytes() const { return m_totalBytes; }

private:
    void Prepare(bool high, bool write);
    void PrepareModel(bool high);
    void Completion(dst_CDrv_Result& result);
    void ProgressStep();
    void ShowProgress();
    // Marks a failure that a protected radio's silence after the clone password explains.
    void NotePasswordCause(dst_CDrv_Result& result) const;

    cmcGTex* m_tex;
    cmcMessageBox* m_box;
    indCloneProgress* m_progress;
    Handler m_infoHandler;
    Handler m_readHandler;
    Done m_done;
    imcAdjust m_adjust;
    std::unique_ptr<cmcCloneDrv> m_drv;
    std::unique_ptr<imcCloneDrv> m_model;
    int32_t m_totalBytes = 0;
    bool m_suppressNext = false;
    cmcCloneMode m_operation = cmcCloneMode::None; // Command for every model operation
    bool m_passwordNext = false;
    std::string m_password;
    bool m_modelEchoPreset = false;
    cmcTask::Ptr m_progressTask;
    bool m_progressShown = false;
    cmcPortMap m_portMap;
    int32_t m_comPort = 1;
    bool m_speedHigh = true;
    int32_t m_radioSpeed = -1;
    bool m_radioProtected = false;  // the last clone information said the radio has a clone password
    bool m_passwordSentNow = false; // the running read or write sent the clone password
};
